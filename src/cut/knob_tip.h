// Where a knob's tip lies, and pulling back a tip that would leave the
// picture. Both cuts draw knobs from a template stretched over an edge; the
// tip sits depth pixels across the edge's middle, on the knob's side.
#pragma once

#include <cstdint>

#include "raster/dib.h"

namespace varlo {

// The depth of a knob over the edge middle mid, whose direction is (c, sn)
// (unit length), pointing to side 1 (up for a horizontal edge, right for a
// vertical one) or the other side. A tip that would land outside the
// picture of w x h pixels is pulled back onto the line two pixels inside
// the picture's side it crosses; the answer then says so. Knobs of side 1
// can only cross the top or the right side, the others the bottom or left.
struct KnobDepth {
  double Depth = 0;
  bool PulledBack = false;
};
KnobDepth PullBackKnobTip(PointD mid, double c, double sn, double depth, int32_t side, int32_t w,
                          int32_t h);

}  // namespace varlo
