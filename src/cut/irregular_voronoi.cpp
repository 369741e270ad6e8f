#include "cut/irregular_voronoi.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "cut/irregular_delaunay.h"

namespace varlo {
namespace {

struct RawEdge {
  PointD A, B;
  int32_t Neighbour = -1;
};

bool Same(PointD a, PointD b) { return a.x == b.x && a.y == b.y; }

// Position of a point on the rectangle's outline, clockwise (y down) from
// the top-left corner.
double OutlinePosition(const JigsawRect& r, PointD p) {
  const double w = r.Right - r.Left, h = r.Bottom - r.Top;
  if (p.y == r.Top) return p.x - r.Left;
  if (p.x == r.Right) return w + (p.y - r.Top);
  if (p.y == r.Bottom) return w + h + (r.Right - p.x);
  return 2 * w + h + (r.Bottom - p.y);
}

bool OnOutline(const JigsawRect& r, PointD p) {
  return p.x == r.Left || p.x == r.Right || p.y == r.Top || p.y == r.Bottom;
}

// Direction of travel from p when going clockwise along the outline.
PointD ClockwiseFrom(const JigsawRect& r, PointD p) {
  if (p.y == r.Top && p.x < r.Right) return {1, 0};
  if (p.x == r.Right && p.y < r.Bottom) return {0, 1};
  if (p.y == r.Bottom && p.x > r.Left) return {-1, 0};
  return {0, -1};
}

struct OpenEnd {
  PointD P;
  double Position = 0;
  bool Start = false;  // the cell goes on clockwise from here
};

// Closes a cell that reaches the rectangle: every end point used by only
// one edge lies on the outline, and from each one where the cell goes on
// clockwise, the outline is followed to the next such end.
void CloseAlongRectangle(const JigsawRect& rect, const std::vector<PointI>& seeds, int32_t self,
                         std::vector<RawEdge>& edges) {
  std::vector<std::pair<PointD, int32_t>> ends;  // end point, neighbour of its edge
  for (const RawEdge& e : edges) {
    ends.push_back({e.A, e.Neighbour});
    ends.push_back({e.B, e.Neighbour});
  }
  std::vector<OpenEnd> open;
  for (size_t i = 0; i < ends.size(); ++i) {
    int32_t uses = 0;
    for (const auto& other : ends) uses += Same(other.first, ends[i].first);
    if (uses % 2 == 0 || !OnOutline(rect, ends[i].first)) continue;
    const PointD dir = ClockwiseFrom(rect, ends[i].first);
    const PointI s = seeds[static_cast<size_t>(self)], d = seeds[static_cast<size_t>(ends[i].second)];
    OpenEnd o;
    o.P = ends[i].first;
    o.Position = OutlinePosition(rect, o.P);
    o.Start = dir.x * (d.x - s.x) + dir.y * (d.y - s.y) < 0;
    open.push_back(o);
  }
  // Two ends a hair apart are one corner of the diagram, not a gap.
  for (size_t i = 0; i < open.size(); ++i) {
    for (size_t j = i + 1; j < open.size(); ++j) {
      if (std::abs(open[i].P.x - open[j].P.x) < 1e-6 && std::abs(open[i].P.y - open[j].P.y) < 1e-6) {
        open.erase(open.begin() + static_cast<ptrdiff_t>(j));
        open.erase(open.begin() + static_cast<ptrdiff_t>(i));
        --i;
        break;
      }
    }
  }
  const double w = rect.Right - rect.Left, h = rect.Bottom - rect.Top, perimeter = 2 * (w + h);
  if (perimeter <= 0) return;
  const PointD corners[4] = {{double(rect.Left), double(rect.Top)},
                             {double(rect.Right), double(rect.Top)},
                             {double(rect.Right), double(rect.Bottom)},
                             {double(rect.Left), double(rect.Bottom)}};
  const double cornerAt[4] = {0, w, w + h, 2 * w + h};
  auto ahead = [&](double from, double to) {
    double d = std::fmod(to - from, perimeter);
    return d < 0 ? d + perimeter : d;
  };
  for (const OpenEnd& a : open) {
    if (!a.Start) continue;
    const OpenEnd* b = nullptr;
    double bestGap = std::numeric_limits<double>::infinity();
    for (const OpenEnd& o : open) {
      const double gap = ahead(a.Position, o.Position);
      if (&o == &a || gap <= 0 || gap >= bestGap) continue;
      bestGap = gap;
      b = &o;
    }
    if (!b) continue;
    std::vector<std::pair<double, PointD>> path;
    for (int32_t c = 0; c < 4; ++c) {
      const double gap = ahead(a.Position, cornerAt[c]);
      if (gap > 0 && gap < bestGap) path.push_back({gap, corners[c]});
    }
    std::sort(path.begin(), path.end(), [](const auto& x, const auto& y) { return x.first < y.first; });
    PointD from = a.P;
    path.push_back({bestGap, b->P});
    for (const auto& step : path) {
      if (!Same(from, step.second)) edges.push_back({from, step.second, -1});
      from = step.second;
    }
  }
}

}  // namespace

bool ClipToJigsawRect(const JigsawRect& rect, PointD a, PointD b, bool ray, PointD& outA, PointD& outB) {
  const double dx = ray ? b.x : b.x - a.x, dy = ray ? b.y : b.y - a.y;
  const double l = rect.Left, r = rect.Right, t = rect.Top, bo = rect.Bottom;
  double t0 = 0, t1 = ray ? std::numeric_limits<double>::infinity() : 1;
  int32_t cut0 = -1, cut1 = -1;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {a.x - l, r - a.x, a.y - t, bo - a.y};
  for (int32_t i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) return false;
      continue;
    }
    const double f = q[i] / p[i];
    if (p[i] < 0) {
      if (f > t1) return false;
      if (f > t0) {
        t0 = f;
        cut0 = i;
      }
    } else {
      if (f < t0) return false;
      if (f < t1) {
        t1 = f;
        cut1 = i;
      }
    }
  }
  if (!std::isfinite(t1)) return false;
  auto snap = [&](PointD& pt, int32_t side) {
    if (side == 0) pt.x = l;
    if (side == 1) pt.x = r;
    if (side == 2) pt.y = t;
    if (side == 3) pt.y = bo;
    pt.x = std::clamp(pt.x, l, r);
    pt.y = std::clamp(pt.y, t, bo);
  };
  outA = a;
  if (cut0 >= 0) {
    outA = {a.x + t0 * dx, a.y + t0 * dy};
    snap(outA, cut0);
  }
  // An end that was not cut keeps its exact value, so that the edges
  // meeting at a corner of the diagram share it bit for bit.
  outB = ray ? PointD{a.x + t1 * dx, a.y + t1 * dy} : b;
  if (cut1 >= 0) {
    outB = {a.x + t1 * dx, a.y + t1 * dy};
    snap(outB, cut1);
  }
  return !Same(outA, outB);
}

DiagramResult BuildDiagram(const std::vector<PointI>& seeds, const JigsawRect& rect, Diagram& out,
                           bool indexed) {
  out.assign(seeds.size(), DiagramCell{});
  for (size_t s = 0; s < seeds.size(); ++s) out[s].Middle = {double(seeds[s].x), double(seeds[s].y)};
  const Triangulation tri = Triangulate(seeds, indexed);
  if (!tri.FirstEdgeFound) return DiagramResult::FirstEdgeFailed;
  if (tri.TriangleCount == 0) return DiagramResult::NoTriangles;

  std::vector<RawEdge> edges;
  for (size_t s = 0; s < seeds.size(); ++s) {
    const auto self = static_cast<int32_t>(s);
    const std::vector<DelaunayTriangle>& tris = tri.BySeed[s];
    edges.clear();
    for (size_t i = 0; i < tris.size(); ++i) {
      for (size_t j = i + 1; j < tris.size(); ++j) {
        int32_t shared = -1;
        for (int32_t x : tris[i].Seeds)
          if (x != self && std::find(tris[j].Seeds.begin(), tris[j].Seeds.end(), x) != tris[j].Seeds.end())
            shared = x;
        if (shared < 0) continue;
        RawEdge e;
        e.Neighbour = shared;
        if (ClipToJigsawRect(rect, tris[i].Centre, tris[j].Centre, false, e.A, e.B)) edges.push_back(e);
      }
    }
    // Triangle sides that no other triangle of this seed shares lie on the
    // hull: their edge runs outward from the circumcentre.
    for (size_t i = 0; i < tris.size(); ++i) {
      for (int32_t x : tris[i].Seeds) {
        if (x == self) continue;
        bool sharedSide = false;
        for (size_t j = 0; j < tris.size() && !sharedSide; ++j)
          sharedSide = j != i && std::find(tris[j].Seeds.begin(), tris[j].Seeds.end(), x) != tris[j].Seeds.end();
        if (sharedSide) continue;
        int32_t third = -1;
        for (int32_t y : tris[i].Seeds)
          if (y != self && y != x) third = y;
        const PointI ps = seeds[s], px = seeds[static_cast<size_t>(x)], pt = seeds[static_cast<size_t>(third)];
        PointD dir{-(double(px.y) - ps.y), double(px.x) - ps.x};
        if (dir.x * (pt.x - ps.x) + dir.y * (pt.y - ps.y) > 0) dir = {-dir.x, -dir.y};
        RawEdge e;
        e.Neighbour = x;
        if (ClipToJigsawRect(rect, tris[i].Centre, dir, true, e.A, e.B)) edges.push_back(e);
      }
    }
    CloseAlongRectangle(rect, seeds, self, edges);

    DiagramCell& cell = out[s];
    cell.Edges.reserve(edges.size());
    double sx = 0, sy = 0;
    for (const RawEdge& e : edges) {
      DiagramEdge d{e.A.x, e.A.y, e.B.x, e.B.y, static_cast<int16_t>(e.Neighbour)};
      if (d.Y2 < d.Y1 || (d.Y1 == d.Y2 && d.X2 < d.X1)) {
        std::swap(d.X1, d.X2);
        std::swap(d.Y1, d.Y2);
      }
      cell.Edges.push_back(d);
      sx += e.A.x + e.B.x;
      sy += e.A.y + e.B.y;
    }
    if (!edges.empty()) cell.Middle = {sx / (2.0 * edges.size()), sy / (2.0 * edges.size())};
  }
  return DiagramResult::Built;
}

}  // namespace varlo
