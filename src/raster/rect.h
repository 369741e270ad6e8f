// Rectangles with inclusive edges that carry their size.
//
// Every area the game computes with (piece boxes, dirty areas, window
// contents, clip areas) is an XRECT. Right and Bottom are inclusive, so
// Width = Right - Left + 1. The edge value -10000 means "unset": the empty
// rectangle has all four edges there and is the start value for bounding
// boxes built with RectExtend.
#pragma once

#include <cstdint>

namespace varlo {

inline constexpr int32_t kRectUnset = -10000;

struct XRECT {
  int32_t Left = kRectUnset;
  int32_t Top = kRectUnset;
  int32_t Right = kRectUnset;
  int32_t Bottom = kRectUnset;
  int32_t Width = 0;
  int32_t Height = 0;

  friend bool operator==(const XRECT&, const XRECT&) = default;
};
static_assert(sizeof(XRECT) == 24, "XRECT is six int32 values");

void RectEmpty(XRECT& r);
void RectSetLTRB(XRECT& r, int32_t left, int32_t top, int32_t right, int32_t bottom);
void RectSetXYWH(XRECT& r, int32_t left, int32_t top, int32_t width, int32_t height);
// Widens r edge by edge to take in the given edges; an unset edge of r is
// simply replaced.
void RectExtend(XRECT& r, int32_t left, int32_t top, int32_t right, int32_t bottom);
bool RectIsEmpty(const XRECT& r);
bool RectContains(const XRECT& r, int32_t x, int32_t y);
// True when a and b share at least one pixel; out (when given) receives the
// shared area, or the empty rectangle.
bool RectIntersect(const XRECT& a, const XRECT& b, XRECT* out);
void RectMoveTo(XRECT& r, int32_t left, int32_t top);
// Keeps Left/Top; the sizes follow and may become 0 or negative (a selection
// rectangle dragged up or left of its start).
void RectSetRightBottom(XRECT& r, int32_t right, int32_t bottom);
void RectGrow(XRECT& r, int32_t dx, int32_t dy, int32_t dw, int32_t dh);
void RectOffset(XRECT& r, int32_t dl, int32_t dt, int32_t dr, int32_t db);
// Clips the destination area (x, y, w, h) to clip; when the left or top edge
// moves in by d, the size shrinks by d and the source offset sx or sy grows
// by d. True when something is left.
bool ClipToRect(const XRECT& clip, int32_t& x, int32_t& y, int32_t& w, int32_t& h,
                int32_t& sx, int32_t& sy);

}  // namespace varlo
