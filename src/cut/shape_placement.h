// Shape style 3: the artistic pieces of the irregular cut.
//
// In each drawing attempt the placement settles which marked cells become
// artistic pieces (never one on the jigsaw rectangle's sides, at most one
// artistic neighbour each), draws a library drawing (drawn at random,
// turned by -30..+29 degrees, flipped where the entry allows) into each in
// the piece's colour, takes back drawings that would run into neighbouring
// pieces, and re-aims the edges of the surrounding cells onto the
// drawings' outlines, repairing edges that then cross and dropping tiny
// ones. The generator is drawn per placed drawing, cells in index order:
// entry, angle, left-right flip (when allowed), top-bottom flip (when
// allowed).
//
// With an empty library (no entries, or a file that was not a library)
// every candidate stays a plain piece and nothing is drawn from the
// generator, so the jigsaw is cut exactly as plain irregular pieces would
// be with the same seed.
#pragma once

#include <cstdint>

#include "cut/irregular_artistic.h"
#include "cut/shape_library.h"

namespace varlo {

struct ShapePlacementCounts {
  int32_t Placed = 0;    // drawings kept
  int32_t Rejected = 0;  // drawings taken back (collision with a neighbour)
  int32_t Failed = 0;    // attempts whose edge repair failed
  int32_t LastFailCode = 0;  // 100: no common artistic piece or no edge slot; 101: no outline found
};

class ShapePlacement final : public ArtisticPlacement {
 public:
  // The library must outlive the placement (it is the cut's, loaded when
  // the cut starts).
  explicit ShapePlacement(const ShapeLibrary& library) : library_(library) {}

  bool Place(IrregularAttempt& attempt) override;

  // Totals over every attempt this placement served.
  const ShapePlacementCounts& Counts() const { return counts_; }

 private:
  const ShapeLibrary& library_;
  ShapePlacementCounts counts_;
};

}  // namespace varlo
