// Moving the pieces when the play field changes size (full screen in and
// out): every group keeps its place relative to the field.
#pragma once

#include <cstdint>

namespace varlo {

struct Jigsaw;

// The shift of one group whose turned boxes span left..right, top..bottom
// (inclusive) when the field goes from w0 x h0 to w1 x h1: the centre
// scaled, rounded to the nearest with halves to even; 0 when the old size
// is empty.
void GroupShift(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t w0, int32_t h0,
                int32_t w1, int32_t h1, int32_t& dx, int32_t& dy);

// Moves the pieces of window win group by group from a w0 x h0 field into
// a w1 x h1 one.
void MoveGroupsToFieldSize(Jigsaw& jig, int32_t win, int32_t w0, int32_t h0, int32_t w1, int32_t h1);

}  // namespace varlo
