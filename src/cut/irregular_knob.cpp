#include "cut/irregular_knob.h"

#include <array>
#include <cmath>
#include <cstdlib>

#include "cut/bezier.h"
#include "cut/knob_tip.h"
#include "cut/irregular_delaunay.h"
#include "cut/level_table.h"

namespace varlo {

int32_t IrregularCutFlags(int32_t shapeStyle) {
  if (shapeStyle == 1) return kKnobDepthFollowsLength | kKnobSideFollowsDirection | kShortEdgesStraight;
  return kKnobDepthFollowsLength | kShortEdgesStraight;
}

std::vector<int32_t> FallbackTemplates(int32_t shapeStyle) {
  switch (shapeStyle) {
    case 0: return {0, 1, 10, 11};
    case 1: return {10};
    case 2: return {7, 6, 8, 9, 4, 5, 10, 11, 12};
    default: return {10, 11, 12};
  }
}

IrregularKnobContext MakeKnobContext(const JIG_P& p, DIB_P& mask, RandomGenerator& random) {
  IrregularKnobContext ctx;
  ctx.Mask = &mask;
  ctx.ImageW = p.ImageW;
  ctx.ImageH = p.ImageH;
  ctx.Rect = {p.JigsL, p.JigsT, p.JigsR, p.JigsB};
  ctx.TileS = p.TileS;
  ctx.KnobS = p.KnobS;
  ctx.Clearance = p.TileS / 10;
  ctx.Flags = IrregularCutFlags(p.ShapeStyle);
  ctx.ShapeStyle = p.ShapeStyle;
  LoadTemplateSet(ctx.Templates, TemplateSet::Irregular);
  ctx.Fallback = FallbackTemplates(p.ShapeStyle);
  ctx.Random = &random;
  return ctx;
}

bool IsStraightEdge(double length, int32_t tileS, int32_t flags) {
  return length <= 3 || ((flags & kShortEdgesStraight) && length < tileS / 3.0);
}

std::vector<int32_t> EdgeTemplates(const IrregularKnobContext& ctx, PointI a, PointI b, double length) {
  const JigsawRect& r = ctx.Rect;
  const double tile = ctx.TileS;
  switch (ctx.ShapeStyle) {
    case 0:
      if (length > 1.2 * tile) return {1};
      if (length < tile / 2) return {11};
      return {0};
    case 1:
      if (a.x == r.Left || b.x == r.Left || b.y == r.Bottom) return {4};
      if (a.x == r.Right || b.x == r.Right || a.y == r.Top) return {5};
      return {3};
    case 2: {
      auto inside = [&](PointI q) { return q.x > r.Left && q.x < r.Right && q.y > r.Top && q.y < r.Bottom; };
      if (length <= tile && inside(a) && inside(b)) return {6, 7, 8, 9};
      return {6, 8, 9};
    }
    default:
      if (length <= tile) return {0, 13, 14, 15, 10, 11, 12};
      return {0, 1, 6, 13, 14, 15};
  }
}

double DistanceToEdgeLine(PointI c, PointI a, PointI b) {
  const double ab = std::hypot(double(b.x) - a.x, double(b.y) - a.y);
  if (ab == 0) return 0;
  const double ca = std::hypot(double(a.x) - c.x, double(a.y) - c.y);
  const double cb = std::hypot(double(b.x) - c.x, double(b.y) - c.y);
  const double s = (ab + ca + cb) / 2;
  // Rounding can take the product a hair below zero for a point on the line.
  const double area = std::sqrt(std::max(0.0, s * (s - ab) * (s - ca) * (s - cb)));
  return 2 * area / ab;
}

bool PassesClearance(const IrregularKnobContext& ctx, const PointD* points, int32_t count, PointI own,
                     PointI neighbour, PointI a, PointI b, XRECT& box) {
  const JigsawRect& r = ctx.Rect;
  const int32_t cl = ctx.Clearance;
  const int32_t diagonal = RoundHalfEven(cl / 1.4142135623730951);
  const DIB_P& mask = *ctx.Mask;
  auto nearEnd = [&](int32_t x, int32_t y) {
    return (std::abs(x - a.x) <= cl && std::abs(y - a.y) <= cl) ||
           (std::abs(x - b.x) <= cl && std::abs(y - b.y) <= cl);
  };
  auto inRect = [&](int32_t x, int32_t y) { return x >= r.Left && x <= r.Right && y >= r.Top && y <= r.Bottom; };
  auto white = [&](int32_t x, int32_t y) {
    const uint8_t* p = DibPixel(mask, x, y);
    return p[0] == 255 && p[1] == 255 && p[2] == 255;
  };
  static constexpr int32_t kDirs[8][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}, {-1, -1}, {1, -1}, {-1, 1}, {1, 1}};
  std::array<int32_t, kMaxBezierSteps + 1> xs{}, ys{};
  for (int32_t s = 0; s + 3 < count; s += 3) {
    const int32_t m = SampleBezierSegment(points + s, xs.data(), ys.data());
    for (int32_t k = 0; k <= m; ++k) {
      const int32_t x = xs[static_cast<size_t>(k)], y = ys[static_cast<size_t>(k)];
      RectExtend(box, x, y, x, y);
      if (!inRect(x, y)) return false;
      if (nearEnd(x, y)) continue;
      if (k > 0) {
        const PointI prev{xs[static_cast<size_t>(k - 1)], ys[static_cast<size_t>(k - 1)]}, cur{x, y};
        if (Cross(prev, cur, own) == 0 || Cross(prev, cur, neighbour) == 0) return false;
      }
      if (!white(x, y)) return false;
      for (int32_t d = 0; d < 8; ++d) {
        const int32_t reach = d < 4 ? cl : diagonal;
        for (int32_t i = 1; i <= reach; ++i) {
          const int32_t px = x + kDirs[d][0] * i, py = y + kDirs[d][1] * i;
          if (!inRect(px, py)) break;
          if (nearEnd(px, py)) continue;
          if (!white(px, py)) return false;
        }
      }
    }
  }
  return true;
}

bool DrawEdgeKnob(IrregularKnobContext& ctx, int32_t side, int32_t slot, PointI neighbour, PointI own,
                  XRECT& curveBox, double d0, double d1, uint32_t colour, PointI a, PointI b, bool mirror) {
  const KnobTemplate& t = ctx.Templates[static_cast<size_t>(slot)];
  const double knobRoom = side == 1 ? d1 : d0;   // toward the centre the knob points at
  const double otherRoom = side == 1 ? d0 : d1;  // toward the other centre
  // Start at the upper end of a mostly vertical edge, else at the left end.
  PointI s = a, e = b;
  if (std::abs(b.x - a.x) < std::abs(b.y - a.y) ? b.y < a.y : b.x < a.x) std::swap(s, e);
  const PointI mid{(s.x + e.x) / 2, (s.y + e.y) / 2};
  const double length = std::hypot(double(e.x) - s.x, double(e.y) - s.y);
  if (length == 0) return true;
  if (t.Count < 4 || t.Width <= 0 || t.Baseline == 0) return false;
  const double c = (e.x - s.x) / length, sn = (e.y - s.y) / length;

  double depth = ctx.KnobS;
  if (ctx.Flags & kKnobDepthFollowsLength) {
    const double scale = length / t.Width;
    depth = scale * t.Baseline;
    const double reachUp = scale * t.ReachAbove, reachDown = scale * t.ReachBelow;
    // A centre on the edge's own line leaves no room for a knob either way;
    // answering "drawn" here would leave a gap in the outline.
    if (knobRoom == 0 || otherRoom == 0 || reachUp == 0 || reachDown == 0) return false;
    const bool knobTight = knobRoom < reachUp + 1, otherTight = otherRoom < reachDown + 1;
    if (knobTight && otherTight) {
      if (reachDown / otherRoom >= reachUp / knobRoom)
        depth = otherRoom * depth / reachDown - 1;
      else
        depth = knobRoom * depth / reachUp - 1;
    } else if (knobTight) {
      depth = knobRoom * depth / reachUp - 1;
    } else if (otherTight) {
      depth = otherRoom * depth / reachDown - 1;
    }
  }

  // A tip that would leave the picture is pulled back onto a line two
  // pixels inside it.
  depth = PullBackKnobTip({double(mid.x), double(mid.y)}, c, sn, depth, side, ctx.ImageW, ctx.ImageH).Depth;

  std::array<PointD, kMaxTemplatePoints> pts;
  for (int32_t i = 0; i < t.Count; ++i) {
    const PointI p = mirror ? PointI{t.Width - t.Points[static_cast<size_t>(t.Count - 1 - i)].x,
                                     t.Points[static_cast<size_t>(t.Count - 1 - i)].y}
                            : t.Points[static_cast<size_t>(i)];
    const double along = p.x * length / t.Width;
    const double across = (t.Baseline - p.y) * depth / t.Baseline;
    if (side == 1)
      pts[static_cast<size_t>(i)] = {s.x + sn * across + c * along, s.y - c * across + sn * along};
    else
      pts[static_cast<size_t>(i)] = {s.x - sn * across + c * along, s.y + c * across + sn * along};
  }
  XRECT box;
  if (!PassesClearance(ctx, pts.data(), t.Count, own, neighbour, a, b, box)) return false;
  DrawBezierChain(*ctx.Mask, pts.data(), t.Count, colour);
  DibSetPixel(*ctx.Mask, RoundHalfEven(pts[0].x), RoundHalfEven(pts[0].y), colour);
  // The pen leaves out the chain's last pixel. Where the edge ends on the
  // jigsaw rectangle's side no other outline covers it, and the fill would
  // run through that one-pixel gap into the next piece.
  const int32_t last = t.Count - 1;
  DibSetPixel(*ctx.Mask, RoundHalfEven(pts[static_cast<size_t>(last)].x), RoundHalfEven(pts[static_cast<size_t>(last)].y),
              colour);
  curveBox = box;
  return true;
}

bool DrawKnobbedEdge(IrregularKnobContext& ctx, const IrregularEdge& e, PointI own, PointI neighbour,
                     uint32_t colour, XRECT& curveBox) {
  const PointI a{RoundHalfEven(e.X1), RoundHalfEven(e.Y1)}, b{RoundHalfEven(e.X2), RoundHalfEven(e.Y2)};
  const bool steep = std::abs(a.x - b.x) < std::abs(a.y - b.y);
  const double dOwn = DistanceToEdgeLine(own, a, b), dNeighbour = DistanceToEdgeLine(neighbour, a, b);
  // Side 1 lies up of a mostly horizontal edge and right of a mostly
  // vertical one (end points ordered top to bottom).
  bool ownOnSide0;
  if (a.x == b.x) {
    ownOnSide0 = own.x < a.x;
  } else if (a.y == b.y) {
    ownOnSide0 = a.y < own.y;
  } else {
    const double ty = double(own.y - a.y) / (b.y - a.y), tx = double(own.x - a.x) / (b.x - a.x);
    ownOnSide0 = steep && a.x >= b.x ? ty < tx : ty > tx;
  }
  const double d1 = ownOnSide0 ? dNeighbour : dOwn, d0 = ownOnSide0 ? dOwn : dNeighbour;

  const bool byDirection = (ctx.Flags & kKnobSideFollowsDirection) != 0;
  const int32_t side = e.KnobSide;
  auto tryAll = [&](int32_t slot, bool mirror) {
    if (DrawEdgeKnob(ctx, side, slot, neighbour, own, curveBox, d0, d1, colour, a, b, mirror)) return true;
    if (byDirection) return false;
    return DrawEdgeKnob(ctx, side, slot, neighbour, own, curveBox, d0, d1, colour, a, b, !mirror) ||
           DrawEdgeKnob(ctx, 1 - side, slot, neighbour, own, curveBox, d0, d1, colour, a, b, mirror) ||
           DrawEdgeKnob(ctx, 1 - side, slot, neighbour, own, curveBox, d0, d1, colour, a, b, !mirror);
  };
  auto drawMirror = [&] { return byDirection ? !steep : ctx.Random->Random(2) == 1; };

  const std::vector<int32_t> own_ = EdgeTemplates(ctx, a, b, e.Length);
  const int32_t slot = own_[static_cast<size_t>(ctx.Random->Random(static_cast<int32_t>(own_.size())))];
  bool mirror = drawMirror();
  if (slot == 8) {
    const JigsawRect& r = ctx.Rect;
    if (a.x <= r.Left || b.x <= r.Left || a.y <= r.Top)
      mirror = false;
    else if (a.x >= r.Right || b.x >= r.Right || b.y >= r.Bottom)
      mirror = true;
  }
  if (tryAll(slot, mirror)) return true;
  for (int32_t fallback : ctx.Fallback)
    if (tryAll(fallback, drawMirror())) return true;
  return false;
}

}  // namespace varlo
