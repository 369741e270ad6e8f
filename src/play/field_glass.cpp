// The glass: an elliptical lens that shows the field under it magnified
// two or three times, and through which the field can be played.
#include "play/play_field.h"

namespace varlo {

namespace {
constexpr uint32_t kMagenta = 0xFF00FF;
constexpr uint32_t kRimLight = 0xF2F2F2;
constexpr uint32_t kRimDark = 0x0D0D0D;

inline void Put(uint8_t* p, uint32_t c) {
  p[0] = static_cast<uint8_t>(c >> 16);
  p[1] = static_cast<uint8_t>(c >> 8);
  p[2] = static_cast<uint8_t>(c);
}
inline uint32_t Get(const uint8_t* p) { return p[2] | (uint32_t{p[1]} << 8) | (uint32_t{p[0]} << 16); }
}  // namespace

void PlayField::MakeLensMask() {
  const int32_t cw = Min(glass_.Win.Client.Width, glass_.Mask.Width);
  const int32_t ch = Min(glass_.Win.Client.Height, glass_.Mask.Height);
  if (glass_.Mask.Width <= 0 || cw <= 0 || ch <= 0) return;
  DibFillRect(glass_.Mask, 0, 0, glass_.Mask.Width, glass_.Mask.Height, 0);
  const double a = cw / 2.0, b = ch / 2.0;
  auto inside = [&](int32_t x, int32_t y) {
    if (x < 0 || y < 0 || x >= cw || y >= ch) return false;
    const double u = (x + 0.5 - a) / a, v = (y + 0.5 - b) / b;
    return u * u + v * v <= 1.0;
  };
  for (int32_t y = 0; y < ch; ++y) {
    uint8_t* p = DibRow(glass_.Mask, y);
    for (int32_t x = 0; x < cw; ++x, p += 3) {
      if (!inside(x, y)) continue;
      const bool rim = !inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1) || !inside(x, y + 1);
      if (!rim) {
        Put(p, 0xFFFFFF);
        continue;
      }
      // Light from the top left: the upper-left half of the rim is light.
      const double u = (x + 0.5 - a) / a, v = (y + 0.5 - b) / b;
      Put(p, u + v < 0 ? kRimLight : kRimDark);
    }
  }
}

bool PlayField::InLens(int32_t x, int32_t y) const {
  if (!glass_.Win.Shown || glass_.LensA <= 0 || glass_.LensB <= 0) return false;
  const double u = (x - glass_.Win.Client.Left - glass_.LensA) / glass_.LensA;
  const double v = (y - glass_.Win.Client.Top - glass_.LensB) / glass_.LensB;
  return u * u + v * v <= 1.0;
}

void PlayField::MapThroughGlass(int32_t& x, int32_t& y) const {
  const XRECT& c = glass_.Win.Client;
  const int32_t z = glass_.Zoom;
  x = c.Left + c.Width / 2 + (x - c.Left) / z - (c.Width / 2) / z;
  y = c.Top + c.Height / 2 + (y - c.Top) / z - (c.Height / 2) / z;
}

bool PlayField::GlassRimHit(int32_t x, int32_t y) const {
  if (!glass_.Win.Shown) return false;
  for (int32_t k = 0; k < 4; ++k) {
    const XRECT& d = glass_.Win.GlassCornerDst[k];
    if (!RectContains(d, x, y)) continue;
    const XRECT& s = glass_.Win.GlassCornerSrc[k];
    if (DibGetAlpha(skins_.Glass, s.Left + x - d.Left, s.Top + y - d.Top) > 200) return true;
  }
  return false;
}

void PlayField::DrawGlass(DIB_P& target) {
  const XRECT& c = glass_.Win.Client;
  const int32_t z = glass_.Zoom;
  const int32_t cw = Min(c.Width, glass_.Img.Width), ch = Min(c.Height, glass_.Img.Height);
  if (cw > 0 && ch > 0 && glass_.Img.Width > 0) {
    const int32_t sw = cw / z, sh = ch / z;
    const int32_t left = c.Left + cw / 2 - sw / 2, top = c.Top + ch / 2 - sh / 2;
    // The field under the lens is read before the frame is drawn, so the
    // glass never magnifies its own rim.
    for (int32_t j = 0; j < ch; ++j) {
      const int32_t fy = top + j / z;
      const bool rowIn = fy >= FieldClip.Top && fy <= FieldClip.Bottom && fy < target.Height;
      const uint8_t* m = DibRow(glass_.Mask, j);
      uint8_t* o = DibRow(glass_.Img, j);
      for (int32_t i = 0; i < cw; ++i, m += 3, o += 3) {
        const uint32_t mk = Get(m);
        if (mk == 0) {
          Put(o, kMagenta);
          continue;
        }
        if (mk != 0xFFFFFF) {
          Put(o, mk);
          continue;
        }
        const int32_t fx = left + i / z;
        if (rowIn && fx >= FieldClip.Left && fx <= FieldClip.Right && fx < target.Width) {
          const uint8_t* s = DibPixel(target, fx, fy);
          o[0] = s[0];
          o[1] = s[1];
          o[2] = s[2];
        } else {
          Put(o, 0);
        }
      }
    }
  }
  DrawFrameOf(target, FieldClip, glass_.Win);
  if (cw > 0 && ch > 0) DibDrawKeyed(target, c.Left, c.Top, kMagenta, FieldClip, glass_.Img, 0, 0, cw, ch, cw, ch);
  XRECT r;
  RectIntersect(glass_.Win.Outer, FieldClip, &r);
  NoteOverlay(r);
}

}  // namespace varlo
