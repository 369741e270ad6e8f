#include "cut/bezier.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "cut/level_table.h"

namespace varlo {

void DrawPenLine(DIB_P& d, int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint32_t colour) {
  if (d.Width <= 0 || (x0 == x1 && y0 == y1)) return;
  const RGB8 c = ColorToRGB(colour);
  const int32_t dx = std::abs(x1 - x0), dy = std::abs(y1 - y0);
  const int32_t sx = x1 > x0 ? 1 : -1, sy = y1 > y0 ? 1 : -1;
  const int32_t steps = std::max(dx, dy);
  // Bresenham along the major axis; the error term is kept doubled.
  int32_t x = x0, y = y0;
  int32_t err = 0;
  const bool xMajor = dx >= dy;
  for (int32_t i = 0; i < steps; ++i) {
    if (x >= 0 && y >= 0 && x < d.Width && y < d.Height) {
      uint8_t* p = DibPixel(d, x, y);
      p[0] = c.b;
      p[1] = c.g;
      p[2] = c.r;
    }
    if (xMajor) {
      x += sx;
      err += 2 * dy;
      if (err > dx) {
        y += sy;
        err -= 2 * dx;
      }
    } else {
      y += sy;
      err += 2 * dx;
      if (err > dy) {
        x += sx;
        err -= 2 * dy;
      }
    }
  }
}

int32_t SampleBezierSegment(const PointD* seg, int32_t* xs, int32_t* ys) {
  const PointD p0 = seg[0], p1 = seg[1], p2 = seg[2], p3 = seg[3];
  const double chord = std::hypot(p3.x - p0.x, p3.y - p0.y);
  const int32_t m = std::clamp(RoundHalfEven(chord / 3.0), 1, kMaxBezierSteps);
  xs[0] = RoundHalfEven(p0.x);
  ys[0] = RoundHalfEven(p0.y);
  for (int32_t k = 1; k <= m; ++k) {
    const double t = static_cast<double>(k) / m, u = 1.0 - t;
    const double b0 = u * u * u, b1 = 3.0 * t * u * u, b2 = 3.0 * t * t * u, b3 = t * t * t;
    xs[k] = RoundHalfEven(b0 * p0.x + b1 * p1.x + b2 * p2.x + b3 * p3.x);
    ys[k] = RoundHalfEven(b0 * p0.y + b1 * p1.y + b2 * p2.y + b3 * p3.y);
  }
  return m;
}

void DrawBezierChain(DIB_P& d, const PointD* pts, int32_t count, uint32_t colour) {
  int32_t xs[kMaxBezierSteps + 1], ys[kMaxBezierSteps + 1];
  for (int32_t s = 0; s + 3 < count; s += 3) {
    const int32_t m = SampleBezierSegment(pts + s, xs, ys);
    for (int32_t k = 1; k <= m; ++k) DrawPenLine(d, xs[k - 1], ys[k - 1], xs[k], ys[k], colour);
  }
}

}  // namespace varlo
