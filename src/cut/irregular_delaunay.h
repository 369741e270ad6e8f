// The Delaunay triangulation of the seeds, built by gift wrapping.
//
// It starts from one edge of the seeds' convex hull and, edge by edge in the
// order they were found, finds the triangle on the edge's open side: the
// seed there that sees the edge under the largest angle. Each triangle is
// kept with its three seeds; its circumcentre is a corner of the Voronoi
// diagram the pieces are cut from.
//
// Both searches scan all seeds in their plain form. The indexed forms give
// the very same answers (the same seed, ties going to the lowest index) and
// are what the cut uses; the plain forms stay as the reference they are
// tested against.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "cut/knob_templates.h"
#include "raster/dib.h"

namespace varlo {

struct DelaunayTriangle {
  std::array<int32_t, 3> Seeds{};
  PointD Centre;  // circumcentre
};

struct SeedPair {
  int32_t I = -1, J = -1;
  friend bool operator==(const SeedPair&, const SeedPair&) = default;
};

// Twice the signed area of (a, b, c): which side of a->b the point c is on.
inline int64_t Cross(PointI a, PointI b, PointI c) {
  return (int64_t{b.x} - a.x) * (int64_t{c.y} - a.y) - (int64_t{b.y} - a.y) * (int64_t{c.x} - a.x);
}
inline int32_t Sign(int64_t v) { return (v > 0) - (v < 0); }

// The first pair i < j (in index order) with every other seed on one side
// of the line through them, a seed on the line counting as a side of its
// own; nothing for fewer than two seeds or when no pair qualifies.
std::optional<SeedPair> FindFirstEdgePlain(const std::vector<PointI>& seeds);
// The same pair, found from the convex hull.
std::optional<SeedPair> FindFirstEdge(const std::vector<PointI>& seeds);

// The seed on side `side` (-1 or 1, by the sign of Cross(u, v, seed)) of the
// edge u-v that sees it under the largest angle, the lowest index among
// equals; -1 when that side is empty.
int32_t FindApexPlain(const std::vector<PointI>& seeds, int32_t u, int32_t v, int32_t side);

// A bucket grid over the seeds for FindApex.
class SeedGrid {
 public:
  explicit SeedGrid(const std::vector<PointI>& seeds);
  // Same answer as FindApexPlain.
  int32_t FindApex(int32_t u, int32_t v, int32_t side) const;

 private:
  const std::vector<PointI>& seeds_;
  int32_t minX_ = 0, minY_ = 0, bucket_ = 1, cols_ = 0, rows_ = 0;
  std::vector<int32_t> start_;    // first entry of each bucket in order_
  std::vector<int32_t> order_;    // seed indices bucket by bucket, ascending within one
};

struct Triangulation {
  bool FirstEdgeFound = false;
  int32_t TriangleCount = 0;
  std::vector<std::vector<DelaunayTriangle>> BySeed;  // the triangles touching each seed
};

// Gift wrapping from the first edge. indexed = false uses the plain scans.
Triangulation Triangulate(const std::vector<PointI>& seeds, bool indexed = true);

// Circumcentre of a, b, c (which must not lie on one line).
PointD Circumcentre(PointI a, PointI b, PointI c);

}  // namespace varlo
