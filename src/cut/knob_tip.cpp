#include "cut/knob_tip.h"

#include <cmath>

#include "cut/level_table.h"

namespace varlo {

KnobDepth PullBackKnobTip(PointD mid, double c, double sn, double depth, int32_t side, int32_t w,
                          int32_t h) {
  const double sign = side == 1 ? 1.0 : -1.0;
  const double tipX = RoundHalfEven(mid.x + sign * depth * sn);
  const double tipY = RoundHalfEven(mid.y - sign * depth * c);
  KnobDepth out{depth, false};
  // The new depth is the distance from the middle to where the line towards
  // the tip meets the limit.
  auto pullBack = [&](double limit, bool onY) {
    const double along = onY ? tipY - mid.y : tipX - mid.x;
    if (along == 0) return;
    const double f = (limit - (onY ? mid.y : mid.x)) / along;
    const double nx = mid.x + (tipX - mid.x) * f, ny = mid.y + (tipY - mid.y) * f;
    out.Depth = std::hypot(nx - mid.x, ny - mid.y);
    out.PulledBack = true;
  };
  if (side == 1) {
    if (tipY < 0)
      pullBack(2, true);
    else if (tipX >= w)
      pullBack(w - 2, false);
  } else {
    if (tipY >= h)
      pullBack(h - 2, true);
    else if (tipX < 0)
      pullBack(2, false);
  }
  return out;
}

}  // namespace varlo
