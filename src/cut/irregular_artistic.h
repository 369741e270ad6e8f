// Where shape style 3 puts its artistic pieces into the irregular cut.
//
// Inside every drawing attempt, once the cells' edges are sorted, the boxes,
// neighbours and twins known, and before any knob side is drawn, the cut
// hands the attempt to the placement. It may draw drawings into the mask in
// a piece's colour, unmark cells (TILE_P::Artistic), move, add or switch off
// edges (keeping twins in step, marking moved ones as Changed and noting the
// artistic piece an end was moved onto), recompute boxes with
// SetBoxFromEdges, and draw from the generator. The cut then leaves out the
// cells still marked and every edge toward them, and fills the rest.
#pragma once

#include <cstdint>
#include <vector>

#include "cut/irregular_edges.h"
#include "raster/dib.h"
#include "jigsaw/jig_params.h"
#include "raster/random.h"

namespace varlo {

struct IrregularAttempt {
  JIG_P& Jig;
  std::vector<TILE_P>& Tiles;         // cut fields of this attempt; Artistic marks the candidates
  std::vector<IrregularCell>& Cells;  // seeds, middle points and edges of this attempt
  DIB_P& Mask;                        // white picture area, black strips, nothing drawn yet
  RandomGenerator& Random;
  int32_t Number = 1;                 // 1..3
};

class ArtisticPlacement {
 public:
  virtual ~ArtisticPlacement() = default;
  // Places the artistic pieces of one attempt; false when the placement
  // failed and the attempt has to start over.
  virtual bool Place(IrregularAttempt& attempt) = 0;
};

}  // namespace varlo
