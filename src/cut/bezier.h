// Curves and pen lines in the piece mask.
//
// Piece outlines are drawn with a one-pixel pen whose lines leave out their
// last pixel, so that the segments of a polyline meet without drawing a
// pixel twice; a chain of cubic Bezier segments is sampled into such a
// polyline.
#pragma once

#include <cstdint>

#include "raster/dib.h"

namespace varlo {

// A pen line from (x0, y0) toward (x1, y1), the end pixel left out (a line
// whose ends coincide draws nothing). Pixels outside the bitmap are skipped.
void DrawPenLine(DIB_P& d, int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint32_t colour);

// A chain of cubic segments given by 3n + 1 points in picture coordinates
// (on-curve points 0, 3, 6, ..., two control points between each pair).
// Each segment is sampled at m + 1 points, m = Rnd(|P3 - P0| / 3) kept
// within 1..150, rounded and drawn as one pen polyline; the chain's very
// last pixel is left out like every line's.
void DrawBezierChain(DIB_P& d, const PointD* points, int32_t count, uint32_t colour);

inline constexpr int32_t kMaxBezierSteps = 150;

// The m + 1 rounded points of one cubic segment (seg[0..3]) exactly as
// DrawBezierChain draws them; xs and ys need room for kMaxBezierSteps + 1
// values. Answers m.
int32_t SampleBezierSegment(const PointD* seg, int32_t* xs, int32_t* ys);

}  // namespace varlo
