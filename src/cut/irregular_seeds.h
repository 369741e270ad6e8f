// The seed points of the irregular cut: one random point in every grid cell,
// strictly inside the jigsaw rectangle and never within two pixels (in both
// x and y) of a seed up to two rows and two columns before it.
#pragma once

#include <cstdint>
#include <vector>

#include "cut/knob_templates.h"
#include "jigsaw/jig_params.h"
#include "raster/random.h"

namespace varlo {

// How close (in both x and y) two nearby seeds may come.
inline constexpr int32_t kSeedSpacing = 2;

// True when every cell leaves room for a seed (the draws could otherwise go
// on for ever): cells at least 8 pixels each way, reaching inside the
// jigsaw rectangle.
bool CellsHoldSeeds(const JIG_P& p, const std::vector<TILE_P>& cells);

// Cells in index order: x = CellX + Random(CellW) until JigsL < x < JigsR,
// then y likewise; the pair is drawn again while an earlier seed at index
// offset E x TilePX + i (E = -2, -1, 0; i = -2..2; up to the first offset
// that is not negative) lies within kSeedSpacing in both x and y.
std::vector<PointI> PlaceSeeds(const JIG_P& p, const std::vector<TILE_P>& cells, RandomGenerator& random);

}  // namespace varlo
