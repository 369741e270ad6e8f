#include "cut/knob_edge.h"

#include <cmath>
#include <cstdlib>

#include "cut/bezier.h"
#include "cut/knob_tip.h"
#include "cut/level_table.h"

namespace varlo {
namespace {

inline void PutColour(DIB_P& d, int32_t x, int32_t y, const RGB8& c) {
  if (x < 0 || y < 0 || x >= d.Width || y >= d.Height) return;
  uint8_t* p = DibPixel(d, x, y);
  p[0] = c.b;
  p[1] = c.g;
  p[2] = c.r;
}

inline uint32_t AtlasColour(const DIB_P& a, int32_t x, int32_t y) {
  const uint8_t* p = DibPixel(a, x, y);
  return MakeRGB(p[2], p[1], p[0]);
}

// Copies the outline of template `slot` for an edge of L pixels from the
// atlas: the red inner line for side 1, the dark-green outer line for side
// 0, read row by row downward and written with the rows reversed for side 1.
void CopyFromAtlas(KnobEdgeContext& ctx, int32_t slot, bool mirror, int32_t side, bool horizontal,
                   PointI s, int32_t L, uint32_t colour) {
  const DIB_P& atlas = *ctx.Atlas;
  DIB_P& mask = *ctx.Mask;
  const int32_t k = L - kAtlasMinEdge;
  const int32_t base = ctx.AtlasData.Base[k];
  const int32_t x0 = AtlasColumnX(k);
  const uint32_t line = side == 1 ? ctx.AtlasData.Red : ctx.AtlasData.Green;
  const int32_t firstRow = kAtlasBandRows * slot + (side == 1 ? 1 : 0);
  const int32_t maxRows = L / 2 + base;
  const RGB8 c = ColorToRGB(colour);
  for (int32_t r = 0; r < maxRows; ++r) {
    const int32_t sy = firstRow + r;
    if (sy >= atlas.Height) break;
    const int32_t firstX = mirror ? x0 + L - 1 : x0;
    if (AtlasColour(atlas, firstX, sy) == ctx.AtlasData.Blue) break;
    // Offset across the edge: the knob's tip row lands farthest from it.
    const int32_t across = side == 1 ? base - r : r - base;
    for (int32_t j = 0; j < L; ++j) {
      const int32_t sx = mirror ? x0 + L - 1 - j : x0 + j;
      if (AtlasColour(atlas, sx, sy) != line) continue;
      if (horizontal)
        PutColour(mask, s.x + j, s.y + across, c);
      else
        PutColour(mask, s.x + across, s.y + j, c);
    }
  }
}

}  // namespace

void DrawKnobEdge(KnobEdgeContext& ctx, int32_t mode, int32_t side, PointI a, PointI b,
                  uint32_t colour) {
  // Start at the upper end of a mostly vertical edge, else at the left end.
  const int32_t adx = std::abs(b.x - a.x), ady = std::abs(b.y - a.y);
  PointI s = a, e = b;
  if (adx < ady ? b.y < a.y : b.x < a.x) std::swap(s, e);

  const int32_t slot = ctx.Candidates[ctx.Random->Random(ctx.CandidateCount)];
  const bool mirror = ctx.Random->Random(2) == 1;
  const KnobTemplate& t = ctx.Templates[slot];

  const PointI m{(s.x + e.x) / 2, (s.y + e.y) / 2};
  const double length = std::hypot(double(e.x - s.x), double(e.y - s.y));
  if (length <= 0 || t.Count < 4 || t.Width <= 0 || t.Baseline == 0) {
    DibSetPixel(*ctx.Mask, s.x, s.y, colour);
    return;
  }
  const double c = (e.x - s.x) / length, sn = (e.y - s.y) / length;
  double depth = (mode & kKnobDepthFromLength) ? length / t.Width * t.Baseline : ctx.KnobS;

  // The knob's tip; one that would leave the picture is pulled back onto a
  // line two pixels inside it.
  const KnobDepth tip =
      PullBackKnobTip({double(m.x), double(m.y)}, c, sn, depth, side, ctx.ImageW, ctx.ImageH);
  depth = tip.Depth;
  const bool clipped = tip.PulledBack;

  const bool horizontal = s.y == e.y, vertical = s.x == e.x;
  const int32_t L = std::max(adx, ady) + 1;
  if (slot <= 5 && !clipped && (horizontal || vertical) && L >= kAtlasMinEdge &&
      L <= kAtlasMaxEdge && ctx.Atlas && ctx.AtlasData.Usable) {
    CopyFromAtlas(ctx, slot, mirror, side, horizontal, s, L, colour);
    return;
  }

  std::array<PointD, kMaxTemplatePoints> pts;
  for (int32_t i = 0; i < t.Count; ++i) {
    const PointI p = mirror ? PointI{t.Width - t.Points[t.Count - 1 - i].x, t.Points[t.Count - 1 - i].y}
                            : t.Points[i];
    const double along = p.x * length / t.Width;
    const double across = (t.Baseline - p.y) * depth / t.Baseline;
    if (side == 1)
      pts[i] = {s.x + sn * across + c * along, s.y - c * across + sn * along};
    else
      pts[i] = {s.x - sn * across + c * along, s.y + c * across + sn * along};
  }
  DrawBezierChain(*ctx.Mask, pts.data(), t.Count, colour);
  // The pen leaves out the chain's last pixel. Inside the grid the edges
  // across that corner close it, but where an edge ends on the picture's
  // side nothing else does, and the fill would run through the gap into the
  // next piece; so both end pixels are set.
  for (const PointD& end : {pts[0], pts[t.Count - 1]}) {
    const int32_t fx = RoundHalfEven(end.x), fy = RoundHalfEven(end.y);
    if (fx >= 0 && fy >= 0 && fx < ctx.Mask->Width && fy < ctx.Mask->Height)
      DibSetPixel(*ctx.Mask, fx, fy, colour);
  }
}

}  // namespace varlo
