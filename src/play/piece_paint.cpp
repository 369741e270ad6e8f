// The piece pixel rule, row by row on the raw buffers.
#include "play/piece_paint.h"

#include <cstring>


namespace varlo {

namespace {

struct Slots {
  const DIB_P* pic;
  const DIB_P* mask;
  const DIB_P* eff;  // null without an edge effect
};

// What the edge effect does at each band level 1..7: the wood colour
// (darker further out), or the share of the pixel below a shadow keeps,
// in 256ths (unsigned, so that the division by 256 is a shift).
struct EdgeTable {
  bool wood = false;
  uint8_t color[8][3] = {};
  uint32_t keep[8] = {};
};

EdgeTable MakeEdgeTable(const PieceLook& look, int32_t e) {
  EdgeTable et;
  et.wood = look.WoodStyle == 1;
  const RGB8 wood = ColorToRGB(look.WoodColor);
  const int32_t shadeStep = e > 1 ? 112 / (e - 1) : 0;
  for (int32_t k = 1; k < 8; ++k) {
    const int32_t dark = 10 * (k - 1);
    et.color[k][0] = static_cast<uint8_t>(Max(0, wood.b - dark));
    et.color[k][1] = static_cast<uint8_t>(Max(0, wood.g - dark));
    et.color[k][2] = static_cast<uint8_t>(Max(0, wood.r - dark));
    et.keep[k] = static_cast<uint32_t>(256 - Max(0, 128 - (k - 1) * shadeStep));
  }
  return et;
}

void CopyPixels(uint8_t* d, const uint8_t* p, int32_t n, uint8_t flip) {
  if (!flip) {
    std::memcpy(d, p, static_cast<size_t>(n) * 3);
    return;
  }
  for (int32_t k = 3 * n; k > 0; --k) *d++ = static_cast<uint8_t>(*p++ ^ flip);
}

void PaintEdgePixels(uint8_t* d, const uint8_t* level, int32_t n, const EdgeTable& et) {
  if (et.wood) {
    for (int32_t i = 0; i < n; ++i, d += 3) {
      const uint8_t* c = et.color[level[i]];
      d[0] = c[0];
      d[1] = c[1];
      d[2] = c[2];
    }
    return;
  }
  for (int32_t i = 0; i < n; ++i, d += 3) {
    const uint32_t keep = et.keep[level[i]];
    d[0] = static_cast<uint8_t>((d[0] * keep) >> 8);
    d[1] = static_cast<uint8_t>((d[1] * keep) >> 8);
    d[2] = static_cast<uint8_t>((d[2] * keep) >> 8);
  }
}

// Paints a piece from its paint list with the top-left of its turned box
// at (dx, dy): the same pixels as PaintArea over the box and its band.
void PaintRuns(DIB_P& target, int32_t dx, int32_t dy, const XRECT& clip, const TILE_P& t,
               const PieceRunList& list, const PieceLook& look) {
  const int32_t pieceRows = list.Rows;
  const int32_t edgeRows = list.EdgeRows;
  // Box columns [c0, c1) and rows [r0, r1] inside the clip and the target;
  // the list holds only pixels inside the mask.
  const int32_t c0 = Max(Max(clip.Left, 0) - dx, 0);
  const int32_t c1 = Min(clip.Right, target.Width - 1) - dx + 1;
  const int32_t r0 = Max(Max(clip.Top, 0) - dy, 0);
  const int32_t r1 = Min(Min(clip.Bottom, target.Height - 1) - dy, Max(pieceRows, edgeRows) - 1);
  if (c0 >= c1 || r0 > r1) return;
  const uint8_t flip = t.Sel ? 0xFF : 0;
  const EdgeTable et = edgeRows > 0 ? MakeEdgeTable(look, list.EdgeW) : EdgeTable{};
  const uint8_t* pixels = list.Pixels;
  const uint8_t* levels = list.Levels;
  for (int32_t r = r0; r <= r1; ++r) {
    uint8_t* drow = DibRow(target, dy + r) + static_cast<ptrdiff_t>(dx) * 3;
    if (r < pieceRows) {
      for (uint32_t k = list.RowStart[r], last = list.RowStart[r + 1]; k < last; ++k) {
        const PieceRun& run = list.Runs[k];
        const int32_t a = Max(run.X, c0), b = Min(run.X + run.Len, c1);
        if (a < b) CopyPixels(drow + 3 * a, pixels + 3 * (size_t{run.Data} + (a - run.X)), b - a, flip);
      }
    }
    if (r < edgeRows) {
      for (uint32_t k = list.EdgeStart[r], last = list.EdgeStart[r + 1]; k < last; ++k) {
        const PieceRun& run = list.EdgeRuns[k];
        const int32_t a = Max(run.X, c0), b = Min(run.X + run.Len, c1);
        if (a < b) PaintEdgePixels(drow + 3 * a, levels + run.Data + (a - run.X), b - a, et);
      }
    }
  }
}

// Paints the source area (sx, sy, w, h) of the piece's slots at (dx, dy).
void PaintArea(DIB_P& target, int32_t dx, int32_t dy, const XRECT& clip, const Slots& s,
               const TILE_P& t, int32_t sx, int32_t sy, int32_t w, int32_t h, const PieceLook& look,
               int32_t e) {
  if (w <= 0 || h <= 0) return;
  if (!ClipToRect(clip, dx, dy, w, h, sx, sy)) return;
  XRECT bounds;
  RectSetXYWH(bounds, 0, 0, target.Width, target.Height);
  if (!ClipToRect(bounds, dx, dy, w, h, sx, sy)) return;
  // Never read outside the mask.
  const DIB_P& mask = *s.mask;
  if (sx < 0) {
    dx -= sx;
    w += sx;
    sx = 0;
  }
  if (sy < 0) {
    dy -= sy;
    h += sy;
    sy = 0;
  }
  if (sx + w > mask.Width) w = mask.Width - sx;
  if (sy + h > mask.Height) h = mask.Height - sy;
  if (w <= 0 || h <= 0) return;

  const DIB_P& pic = *s.pic;
  const int32_t mb = mask.BytesPerPixel, pb = pic.BytesPerPixel, tb = target.BytesPerPixel;
  const uint8_t key = t.Key;
  const bool emboss = look.EmbossStyle != 0;
  const bool sel = t.Sel != 0;
  const DIB_P* eff = s.eff;
  const int32_t shift = EdgeShiftOf(t);
  const EdgeTable et = eff ? MakeEdgeTable(look, e) : EdgeTable{};
  if (!emboss && !sel && !eff && mb == 3 && pb == 3 && tb == 3) {
    // The common case, plain pieces: copy where the mask has the key.
    for (int32_t j = 0; j < h; ++j) {
      const int32_t my = sy + j;
      const int32_t cols = my < pic.Height ? Clamp(pic.Width - sx, 0, w) : 0;
      if (cols == 0) continue;
      const uint8_t* m = DibPixel(mask, sx, my);
      const uint8_t* p = DibPixel(pic, sx, my);
      uint8_t* d = DibPixel(target, dx, dy + j);
      // Runs of the piece's pixels are copied whole; rows of a piece are
      // mostly one or two long runs.
      int32_t i = 0;
      while (i < cols) {
        while (i < cols && m[3 * i] != key) ++i;
        const int32_t start = i;
        while (i < cols && m[3 * i] == key) ++i;
        if (i > start) std::memcpy(d + 3 * start, p + 3 * start, static_cast<size_t>(i - start) * 3);
      }
    }
    return;
  }
  for (int32_t j = 0; j < h; ++j) {
    const int32_t my = sy + j;
    const uint8_t* m = DibPixel(mask, sx, my);
    uint8_t* d = DibPixel(target, dx, dy + j);
    // Pixels past the picture (in the mask's margin) are never the piece's.
    const int32_t picCols = my < pic.Height ? Clamp(pic.Width - sx, 0, w) : 0;
    const uint8_t* p = picCols > 0 ? DibPixel(pic, sx, my) : nullptr;
    const uint8_t* f = eff ? EffectPixel(*eff, sx, my) : nullptr;
    for (int32_t i = 0; i < w; ++i, m += mb, d += tb) {
      if (m[0] == key && i < picCols) {
        const uint8_t* src = p + static_cast<ptrdiff_t>(i) * pb;
        int32_t b = src[0], g = src[1], r = src[2];
        if (emboss) {
          const int32_t shade = m[2] - 128;
          b = ClampByte(b + shade);
          g = ClampByte(g + shade);
          r = ClampByte(r + shade);
        }
        if (sel) {
          b ^= 0xFF;
          g ^= 0xFF;
          r ^= 0xFF;
        }
        d[0] = static_cast<uint8_t>(b);
        d[1] = static_cast<uint8_t>(g);
        d[2] = static_cast<uint8_t>(r);
      } else if (f) {
        const uint8_t level =
            static_cast<uint8_t>(EdgeLevelAt(f + static_cast<ptrdiff_t>(i) * kEffectPixelBytes, t, shift));
        if (level != 0) PaintEdgePixels(d, &level, 1, et);
      }
    }
  }
}

}  // namespace

void DrawPieceAt(DIB_P& target, const XRECT& clip, int32_t dstX, int32_t dstY, const Jigsaw& jig,
                 int32_t i, const PieceLook& look, PieceRunCache* runs) {
  if (i < 0 || i >= PieceCount(jig) || target.Width <= 0) return;
  const TILE_P& t = jig.Tiles[i];
  const int32_t r = t.Rot & 3;
  Slots s{&jig.Images[kPictureSlot + r], &jig.Images[kMaskSlot + r], nullptr};
  if (s.pic->Width <= 0 || s.mask->Width <= 0) return;
  const int32_t e = EdgeWidthFor(jig, look, r);
  if (e > 0) s.eff = &jig.Images[kEffectSlot + r];
  if (i == BorderPieceIndex(jig)) {
    // The frame is drawn as four bands, so the picture inside it is never
    // scanned.
    const int32_t iw = jig.Jig.ImageW, ih = jig.Jig.ImageH;
    struct BandArea {
      int32_t x, y, w, h;
    };
    const BandArea bands[4] = {{0, 0, iw + e, 20 + e},
                               {0, ih - 20, iw + e, 20 + e},
                               {0, 20 + e, 20 + e, ih - 40 - e},
                               {iw - 20, 20 + e, 20 + e, ih - 40 - e}};
    for (const BandArea& b : bands)
      PaintArea(target, dstX + b.x, dstY + b.y, clip, s, t, t.MapX + b.x, t.MapY + b.y, b.w, b.h,
                look, e);
    return;
  }
  if (runs && target.BytesPerPixel == 3 && s.pic->BytesPerPixel == 3) {
    if (const PieceRunList* list = runs->Get(jig, i, look)) {
      PaintRuns(target, dstX, dstY, clip, t, *list, look);
      return;
    }
  }
  PaintArea(target, dstX, dstY, clip, s, t, t.MapX, t.MapY, t.RotW + e, t.RotH + e, look, e);
}

}  // namespace varlo
