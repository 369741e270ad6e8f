#include "raster/rect.h"

namespace varlo {

namespace {
void FixSizes(XRECT& r) {
  r.Width = r.Right - r.Left + 1;
  r.Height = r.Bottom - r.Top + 1;
}
void FixEdges(XRECT& r) {
  r.Right = r.Left + r.Width - 1;
  r.Bottom = r.Top + r.Height - 1;
}
}  // namespace

void RectEmpty(XRECT& r) { r = XRECT{}; }

void RectSetLTRB(XRECT& r, int32_t left, int32_t top, int32_t right, int32_t bottom) {
  r.Left = left;
  r.Top = top;
  r.Right = right;
  r.Bottom = bottom;
  FixSizes(r);
}

void RectSetXYWH(XRECT& r, int32_t left, int32_t top, int32_t width, int32_t height) {
  r.Left = left;
  r.Top = top;
  r.Width = width;
  r.Height = height;
  FixEdges(r);
}

void RectExtend(XRECT& r, int32_t left, int32_t top, int32_t right, int32_t bottom) {
  if (r.Left == kRectUnset || left < r.Left) r.Left = left;
  if (r.Top == kRectUnset || top < r.Top) r.Top = top;
  if (r.Right == kRectUnset || right > r.Right) r.Right = right;
  if (r.Bottom == kRectUnset || bottom > r.Bottom) r.Bottom = bottom;
  FixSizes(r);
}

bool RectIsEmpty(const XRECT& r) { return r.Width == 0 || r.Height == 0; }

bool RectContains(const XRECT& r, int32_t x, int32_t y) {
  return r.Left <= x && x <= r.Right && r.Top <= y && y <= r.Bottom;
}

bool RectIntersect(const XRECT& a, const XRECT& b, XRECT* out) {
  if (out) RectEmpty(*out);
  const int32_t left = a.Left > b.Left ? a.Left : b.Left;
  const int32_t top = a.Top > b.Top ? a.Top : b.Top;
  const int32_t right = a.Right < b.Right ? a.Right : b.Right;
  const int32_t bottom = a.Bottom < b.Bottom ? a.Bottom : b.Bottom;
  // An empty operand never shares a pixel, whatever its edges say.
  if (RectIsEmpty(a) || RectIsEmpty(b) || left > right || top > bottom) return false;
  if (out) RectSetLTRB(*out, left, top, right, bottom);
  return true;
}

void RectMoveTo(XRECT& r, int32_t left, int32_t top) {
  r.Left = left;
  r.Top = top;
  FixEdges(r);
}

void RectSetRightBottom(XRECT& r, int32_t right, int32_t bottom) {
  r.Right = right;
  r.Bottom = bottom;
  FixSizes(r);
}

void RectGrow(XRECT& r, int32_t dx, int32_t dy, int32_t dw, int32_t dh) {
  r.Left += dx;
  r.Top += dy;
  r.Width += dw;
  r.Height += dh;
  FixEdges(r);
}

void RectOffset(XRECT& r, int32_t dl, int32_t dt, int32_t dr, int32_t db) {
  r.Left += dl;
  r.Top += dt;
  r.Right += dr;
  r.Bottom += db;
  FixSizes(r);
}

bool ClipToRect(const XRECT& clip, int32_t& x, int32_t& y, int32_t& w, int32_t& h,
                int32_t& sx, int32_t& sy) {
  if (x < clip.Left) {
    const int32_t d = clip.Left - x;
    x += d;
    w -= d;
    sx += d;
  }
  if (y < clip.Top) {
    const int32_t d = clip.Top - y;
    y += d;
    h -= d;
    sy += d;
  }
  // In 64 bits: a far-off area must not wrap around and look inside.
  if (int64_t{x} + w - 1 > clip.Right) w = clip.Right - x + 1;
  if (int64_t{y} + h - 1 > clip.Bottom) h = clip.Bottom - y + 1;
  return w > 0 && h > 0;
}

}  // namespace varlo
