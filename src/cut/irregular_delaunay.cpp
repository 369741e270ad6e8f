#include "cut/irregular_delaunay.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <unordered_map>

namespace varlo {
namespace {

PointD ToD(PointI p) { return {static_cast<double>(p.x), static_cast<double>(p.y)}; }

// Angles of the indexed search are compared with a bound from exact
// geometry; acos loses at most about 3e-8 near 0 and pi, far below this.
constexpr double kAngleMargin = 1e-6;

bool PairIsFirstEdge(const std::vector<PointI>& s, int32_t i, int32_t j) {
  int32_t side = 2;  // not set yet
  for (size_t k = 0; k < s.size(); ++k) {
    if (static_cast<int32_t>(k) == i || static_cast<int32_t>(k) == j) continue;
    const int32_t c = Sign(Cross(s[i], s[j], s[k]));
    if (side == 2)
      side = c;
    else if (c != side)
      return false;
  }
  return true;
}

}  // namespace

std::optional<SeedPair> FindFirstEdgePlain(const std::vector<PointI>& seeds) {
  const auto n = static_cast<int32_t>(seeds.size());
  for (int32_t i = 0; i < n; ++i)
    for (int32_t j = i + 1; j < n; ++j)
      if (PairIsFirstEdge(seeds, i, j)) return SeedPair{i, j};
  return std::nullopt;
}

std::optional<SeedPair> FindFirstEdge(const std::vector<PointI>& seeds) {
  const auto n = static_cast<int32_t>(seeds.size());
  if (n < 2) return std::nullopt;
  // All seeds on one line: every pair qualifies, the first is (0, 1).
  int32_t q = -1;
  for (int32_t k = 1; k < n && q < 0; ++k)
    if (!(seeds[k] == seeds[0])) q = k;
  bool collinear = true;
  if (q >= 0)
    for (int32_t k = 0; k < n && collinear; ++k) collinear = Cross(seeds[0], seeds[q], seeds[k]) == 0;
  if (collinear) return SeedPair{0, 1};

  // Otherwise a pair qualifies when its two seeds coincide (every seed is
  // then "on the line"), or when it is an edge of the convex hull with no
  // third seed on its line.
  std::vector<int32_t> order(static_cast<size_t>(n));
  std::iota(order.begin(), order.end(), 0);
  std::sort(order.begin(), order.end(), [&](int32_t a, int32_t b) {
    const PointI pa = seeds[a], pb = seeds[b];
    if (pa.x != pb.x) return pa.x < pb.x;
    if (pa.y != pb.y) return pa.y < pb.y;
    return a < b;
  });
  std::vector<SeedPair> candidates;
  std::vector<int32_t> unique;  // lowest index of each distinct point, in x, y order
  std::vector<uint8_t> shared;  // that point is held by more than one seed
  for (size_t r = 0; r < order.size();) {
    size_t e = r + 1;
    while (e < order.size() && seeds[order[e]] == seeds[order[r]]) ++e;
    if (e - r > 1) candidates.push_back({order[r], order[r + 1]});
    unique.push_back(order[r]);
    shared.push_back(e - r > 1);
    r = e;
  }
  // Monotone chain, points on a hull side left out.
  const size_t m = unique.size();
  std::vector<size_t> hull(2 * m);
  size_t k = 0;
  for (size_t i = 0; i < m; ++i) {
    while (k >= 2 && Cross(seeds[unique[hull[k - 2]]], seeds[unique[hull[k - 1]]], seeds[unique[i]]) <= 0) --k;
    hull[k++] = i;
  }
  for (size_t i = m - 1, t = k + 1; i-- > 0;) {
    while (k >= t && Cross(seeds[unique[hull[k - 2]]], seeds[unique[hull[k - 1]]], seeds[unique[i]]) <= 0) --k;
    hull[k++] = i;
  }
  std::vector<SeedPair> hullEdges;
  for (size_t h = 0; h + 1 < k; ++h) {
    const size_t a = hull[h], b = hull[h + 1];
    if (shared[a] || shared[b]) continue;  // the twin seed lies on the line
    hullEdges.push_back({std::min(unique[a], unique[b]), std::max(unique[a], unique[b])});
  }
  std::sort(hullEdges.begin(), hullEdges.end(),
            [](const SeedPair& a, const SeedPair& b) { return a.I != b.I ? a.I < b.I : a.J < b.J; });
  std::sort(candidates.begin(), candidates.end(),
            [](const SeedPair& a, const SeedPair& b) { return a.I != b.I ? a.I < b.I : a.J < b.J; });
  std::optional<SeedPair> best;
  if (!candidates.empty()) best = candidates.front();
  for (const SeedPair& e : hullEdges) {
    if (best && (best->I < e.I || (best->I == e.I && best->J < e.J))) break;
    bool clear = true;
    for (int32_t s = 0; s < n && clear; ++s)
      if (s != e.I && s != e.J && Cross(seeds[e.I], seeds[e.J], seeds[s]) == 0) clear = false;
    if (clear) {
      best = e;
      break;
    }
  }
  return best;
}

int32_t FindApexPlain(const std::vector<PointI>& seeds, int32_t u, int32_t v, int32_t side) {
  const PointI pu = seeds[u], pv = seeds[v];
  int32_t best = -1;
  double bestAngle = -1;
  for (size_t k = 0; k < seeds.size(); ++k) {
    if (Sign(Cross(pu, pv, seeds[k])) != side) continue;
    const double a = AngleAt(ToD(pu), ToD(seeds[k]), ToD(pv));
    if (a > bestAngle) {
      bestAngle = a;
      best = static_cast<int32_t>(k);
    }
  }
  return best;
}

SeedGrid::SeedGrid(const std::vector<PointI>& seeds) : seeds_(seeds) {
  if (seeds.empty()) return;
  int32_t maxX = seeds[0].x, maxY = seeds[0].y;
  minX_ = seeds[0].x;
  minY_ = seeds[0].y;
  for (const PointI& p : seeds) {
    minX_ = std::min(minX_, p.x);
    minY_ = std::min(minY_, p.y);
    maxX = std::max(maxX, p.x);
    maxY = std::max(maxY, p.y);
  }
  const double area = (double(maxX) - minX_ + 1) * (double(maxY) - minY_ + 1);
  bucket_ = std::max(1, static_cast<int32_t>(std::sqrt(area / static_cast<double>(seeds.size()))));
  cols_ = (maxX - minX_) / bucket_ + 1;
  rows_ = (maxY - minY_) / bucket_ + 1;
  start_.assign(static_cast<size_t>(cols_) * rows_ + 1, 0);
  std::vector<int32_t> cellOf(seeds.size());
  for (size_t k = 0; k < seeds.size(); ++k) {
    const int32_t c = (seeds[k].y - minY_) / bucket_ * cols_ + (seeds[k].x - minX_) / bucket_;
    cellOf[k] = c;
    ++start_[static_cast<size_t>(c) + 1];
  }
  for (size_t c = 1; c < start_.size(); ++c) start_[c] += start_[c - 1];
  order_.resize(seeds.size());
  std::vector<int32_t> fill(start_.begin(), start_.end() - 1);
  for (size_t k = 0; k < seeds.size(); ++k) order_[static_cast<size_t>(fill[static_cast<size_t>(cellOf[k])]++)] = static_cast<int32_t>(k);
}

int32_t SeedGrid::FindApex(int32_t u, int32_t v, int32_t side) const {
  const PointI pu = seeds_[u], pv = seeds_[v];
  const double mx = (double(pu.x) + pv.x) / 2, my = (double(pu.y) + pv.y) / 2;
  const double h = std::hypot(double(pv.x) - pu.x, double(pv.y) - pu.y) / 2;
  const int32_t bx = std::clamp(static_cast<int32_t>(std::floor((mx - minX_) / bucket_)), 0, cols_ - 1);
  const int32_t by = std::clamp(static_cast<int32_t>(std::floor((my - minY_) / bucket_)), 0, rows_ - 1);
  int32_t best = -1;
  double bestAngle = -1;

  auto scan = [&](int32_t gx, int32_t gy) {
    // A bucket wholly off the open side holds no candidate.
    const int32_t x0 = minX_ + gx * bucket_, y0 = minY_ + gy * bucket_;
    const int32_t x1 = x0 + bucket_ - 1, y1 = y0 + bucket_ - 1;
    const int64_t reach = std::max({side * Cross(pu, pv, {x0, y0}), side * Cross(pu, pv, {x1, y0}),
                                    side * Cross(pu, pv, {x0, y1}), side * Cross(pu, pv, {x1, y1})});
    if (reach <= 0) return;
    const size_t c = static_cast<size_t>(gy) * cols_ + gx;
    for (int32_t e = start_[c]; e < start_[c + 1]; ++e) {
      const int32_t k = order_[static_cast<size_t>(e)];
      if (Sign(Cross(pu, pv, seeds_[k])) != side) continue;
      const double a = AngleAt(ToD(pu), ToD(seeds_[k]), ToD(pv));
      if (a > bestAngle || (a == bestAngle && k < best)) {
        bestAngle = a;
        best = k;
      }
    }
  };

  for (int32_t r = 0;; ++r) {
    const int32_t gx0 = bx - r, gx1 = bx + r, gy0 = by - r, gy1 = by + r;
    for (int32_t gy = std::max(gy0, 0); gy <= std::min(gy1, rows_ - 1); ++gy) {
      if (gy == gy0 || gy == gy1) {
        for (int32_t gx = std::max(gx0, 0); gx <= std::min(gx1, cols_ - 1); ++gx) scan(gx, gy);
      } else {
        if (gx0 >= 0) scan(gx0, gy);
        if (gx1 < cols_ && gx1 != gx0) scan(gx1, gy);
      }
    }
    if (gx0 <= 0 && gy0 <= 0 && gx1 >= cols_ - 1 && gy1 >= rows_ - 1) break;
    if (best < 0) continue;
    // Every seed not yet looked at lies at least d from the edge's middle,
    // and no seed that far sees the edge under more than 2 atan(h / d).
    double d = std::numeric_limits<double>::infinity();
    if (gx0 > 0) d = std::min(d, mx - (minX_ + double(gx0) * bucket_ - 1));
    if (gx1 < cols_ - 1) d = std::min(d, minX_ + double(gx1 + 1) * bucket_ - mx);
    if (gy0 > 0) d = std::min(d, my - (minY_ + double(gy0) * bucket_ - 1));
    if (gy1 < rows_ - 1) d = std::min(d, minY_ + double(gy1 + 1) * bucket_ - my);
    if (d > h && 2 * std::atan(h / d) < bestAngle - kAngleMargin) break;
  }
  return best;
}

PointD Circumcentre(PointI a, PointI b, PointI c) {
  const int64_t ax = a.x, ay = a.y, bx = b.x, by = b.y, cx = c.x, cy = c.y;
  const int64_t a2 = ax * ax + ay * ay, b2 = bx * bx + by * by, c2 = cx * cx + cy * cy;
  const int64_t d = 2 * (ax * (by - cy) + bx * (cy - ay) + cx * (ay - by));
  const int64_t nx = a2 * (by - cy) + b2 * (cy - ay) + c2 * (ay - by);
  const int64_t ny = a2 * (cx - bx) + b2 * (ax - cx) + c2 * (bx - ax);
  return {static_cast<double>(nx) / static_cast<double>(d), static_cast<double>(ny) / static_cast<double>(d)};
}

namespace {

// Whether the triangles (s, p1, q1) and (s, p2, q2) overlap near their
// shared corner s, which is where two triangles of one seed can overlap.
bool WedgesOverlap(PointI s, PointI p1, PointI q1, PointI p2, PointI q2) {
  if (Cross(s, p1, q1) < 0) std::swap(p1, q1);
  if (Cross(s, p2, q2) < 0) std::swap(p2, q2);
  auto inside = [&](PointI p, PointI q, PointI r) { return Cross(s, p, r) > 0 && Cross(s, r, q) > 0; };
  auto sameWay = [&](PointI a, PointI b) {
    return Cross(s, a, b) == 0 && (int64_t{a.x} - s.x) * (b.x - s.x) + (int64_t{a.y} - s.y) * (b.y - s.y) > 0;
  };
  return inside(p1, q1, p2) || inside(p1, q1, q2) || inside(p2, q2, p1) || inside(p2, q2, q1) ||
         (sameWay(p1, p2) && sameWay(q1, q2));
}

bool SameSeeds(const std::array<int32_t, 3>& a, const std::array<int32_t, 3>& b) {
  std::array<int32_t, 3> x = a, y = b;
  std::sort(x.begin(), x.end());
  std::sort(y.begin(), y.end());
  return x == y;
}

struct WrapEdge {
  int32_t U = 0, V = 0;
  int32_t Side = 0;  // where the edge's triangle is still to be found; 0 none
};

}  // namespace

Triangulation Triangulate(const std::vector<PointI>& seeds, bool indexed) {
  Triangulation t;
  const auto n = static_cast<int32_t>(seeds.size());
  t.BySeed.resize(seeds.size());
  const std::optional<SeedPair> first = indexed ? FindFirstEdge(seeds) : FindFirstEdgePlain(seeds);
  if (!first) return t;
  t.FirstEdgeFound = true;
  int32_t firstSide = 0;
  for (int32_t k = 0; k < n; ++k) {
    if (k == first->I || k == first->J) continue;
    firstSide = Sign(Cross(seeds[first->I], seeds[first->J], seeds[k]));
    break;
  }
  const SeedGrid grid(seeds);
  std::vector<WrapEdge> edges;
  std::unordered_map<uint64_t, int32_t> known;
  auto key = [](int32_t a, int32_t b) {
    return (uint64_t(uint32_t(std::min(a, b))) << 32) | uint32_t(std::max(a, b));
  };
  auto addEdge = [&](int32_t a, int32_t b, int32_t side) {
    if (known.emplace(key(a, b), static_cast<int32_t>(edges.size())).second) edges.push_back({a, b, side});
  };
  addEdge(first->I, first->J, firstSide);

  for (size_t e = 0; e < edges.size(); ++e) {
    const WrapEdge w = edges[e];
    if (w.Side == 0) continue;
    const int32_t a = indexed ? grid.FindApex(w.U, w.V, w.Side) : FindApexPlain(seeds, w.U, w.V, w.Side);
    if (a < 0) continue;
    const std::array<int32_t, 3> tri = {w.U, w.V, a};
    bool clash = false;
    for (int32_t s : tri) {
      for (const DelaunayTriangle& old : t.BySeed[static_cast<size_t>(s)]) {
        if (SameSeeds(old.Seeds, tri)) {
          clash = true;
          break;
        }
        // The two other corners of each triangle, seen from s.
        int32_t o[2], p[2], no = 0, np = 0;
        for (int32_t x : old.Seeds)
          if (x != s) o[no++] = x;
        for (int32_t x : tri)
          if (x != s) p[np++] = x;
        if (WedgesOverlap(seeds[s], seeds[o[0]], seeds[o[1]], seeds[p[0]], seeds[p[1]])) {
          clash = true;
          break;
        }
      }
      if (clash) break;
    }
    if (clash) continue;
    DelaunayTriangle d;
    d.Seeds = tri;
    d.Centre = Circumcentre(seeds[w.U], seeds[w.V], seeds[a]);
    for (int32_t s : tri) t.BySeed[static_cast<size_t>(s)].push_back(d);
    ++t.TriangleCount;
    addEdge(w.U, a, -Sign(Cross(seeds[w.U], seeds[a], seeds[w.V])));
    addEdge(w.V, a, -Sign(Cross(seeds[w.V], seeds[a], seeds[w.U])));
  }
  return t;
}

}  // namespace varlo
