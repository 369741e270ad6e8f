#include "cut/irregular_seeds.h"

#include <algorithm>
#include <cstdlib>

namespace varlo {
namespace {

bool CrowdsEarlierSeed(const std::vector<PointI>& seeds, int32_t index, int32_t columns, PointI s) {
  for (int32_t e = -2; e <= 0; ++e) {
    for (int32_t i = -2; i <= 2; ++i) {
      const int32_t offset = e * columns + i;
      if (offset >= 0) return false;
      const int32_t other = index + offset;
      if (other < 0) continue;
      const PointI q = seeds[static_cast<size_t>(other)];
      if (std::abs(q.x - s.x) <= kSeedSpacing && std::abs(q.y - s.y) <= kSeedSpacing) return true;
    }
  }
  return false;
}

}  // namespace

bool CellsHoldSeeds(const JIG_P& p, const std::vector<TILE_P>& cells) {
  const int64_t count = int64_t{p.TilePX} * p.TilePY;
  if (count <= 0 || static_cast<int64_t>(cells.size()) < count) return false;
  for (int64_t n = 0; n < count; ++n) {
    const TILE_P& t = cells[static_cast<size_t>(n)];
    if (t.CellW < 8 || t.CellH < 8) return false;
    // Some x with JigsL < x < JigsR inside the cell, and some y likewise.
    if (std::max(t.CellX, p.JigsL + 1) > std::min(t.CellX + t.CellW - 1, p.JigsR - 1)) return false;
    if (std::max(t.CellY, p.JigsT + 1) > std::min(t.CellY + t.CellH - 1, p.JigsB - 1)) return false;
  }
  return true;
}

std::vector<PointI> PlaceSeeds(const JIG_P& p, const std::vector<TILE_P>& cells, RandomGenerator& random) {
  const int32_t count = p.TilePX * p.TilePY;
  std::vector<PointI> seeds(static_cast<size_t>(count));
  for (int32_t n = 0; n < count; ++n) {
    const TILE_P& t = cells[static_cast<size_t>(n)];
    PointI s;
    do {
      do s.x = t.CellX + random.Random(t.CellW);
      while (!(p.JigsL < s.x && s.x < p.JigsR));
      do s.y = t.CellY + random.Random(t.CellH);
      while (!(p.JigsT < s.y && s.y < p.JigsB));
    } while (CrowdsEarlierSeed(seeds, n, p.TilePX, s));
    seeds[static_cast<size_t>(n)] = s;
  }
  return seeds;
}

}  // namespace varlo
