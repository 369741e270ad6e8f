// The glass: an elliptical lens in a housing that shows the field under it
// magnified two or three times, smoothly; a press anywhere on it moves it.
#include <algorithm>
#include <vector>

#include "play/play_field.h"

namespace varlo {

namespace {
constexpr uint32_t kMagenta = 0xFF00FF;
constexpr uint32_t kRimLight = 0xF2F2F2;
constexpr uint32_t kRimDark = 0x0D0D0D;
constexpr double kHousingInset = 3.0;  // the housing's outline, in from the glass's edge

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
  // The lens stays inside the housing's outline, which lies a few pixels
  // in from the glass's edge: where the housing's corners leave gaps at
  // the middle of each side, the lens ends there too.
  const double a = cw / 2.0, b = ch / 2.0;
  const double ra = std::max(1.0, a - kHousingInset), rb = std::max(1.0, b - kHousingInset);
  auto inside = [&](int32_t x, int32_t y) {
    if (x < 0 || y < 0 || x >= cw || y >= ch) return false;
    const double u = (x + 0.5 - a) / ra, v = (y + 0.5 - b) / rb;
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
      const double u = (x + 0.5 - a) / ra, v = (y + 0.5 - b) / rb;
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

namespace {

// Taps of the n output pixels from field position first on, magnified z
// times, within lo..hi: output pixel i samples the field at
// first + (i + 0.5) / z - 0.5 between pixel centres. A pixel whose nearest
// field pixel (first + i div z) lies outside lo..hi is outside; a blend
// partner outside is the edge pixel itself.
void LensTaps(std::vector<LensTap>& taps, int32_t n, int32_t first, int32_t z, int32_t lo, int32_t hi) {
  taps.resize(static_cast<size_t>(n));
  for (int32_t i = 0; i < n; ++i) {
    LensTap& t = taps[i];
    const int32_t nearest = first + i / z;
    t.In = nearest >= lo && nearest <= hi;
    const int32_t u = first * 256 + ((2 * i + 1) * 128) / z - 128;  // 1/256 pixels
    const int32_t a = u >= 0 ? u / 256 : -((-u + 255) / 256);
    t.W = u - a * 256;
    t.A = Clamp(a, lo, hi);
    t.B = Clamp(a + 1, lo, hi);
  }
}

}  // namespace

void PlayField::DrawGlass(DIB_P& target) {
  const XRECT& c = glass_.Win.Client;
  const int32_t z = glass_.Zoom;
  const int32_t cw = Min(c.Width, glass_.Img.Width), ch = Min(c.Height, glass_.Img.Height);
  if (cw > 0 && ch > 0 && glass_.Img.Width > 0) {
    const int32_t sw = cw / z, sh = ch / z;
    const int32_t left = c.Left + cw / 2 - sw / 2, top = c.Top + ch / 2 - sh / 2;
    // The field is magnified with bilinear sampling: each lens pixel blends
    // the four field pixels around the point it shows.
    std::vector<LensTap>& cols = glass_.Cols;
    std::vector<LensTap>& rows = glass_.Rows;
    LensTaps(cols, cw, left, z, FieldClip.Left, Min(FieldClip.Right, target.Width - 1));
    LensTaps(rows, ch, top, z, FieldClip.Top, Min(FieldClip.Bottom, target.Height - 1));
    const int32_t bpp = target.BytesPerPixel;
    // The field under the lens is read before the lens and the frame are
    // drawn, so the glass never magnifies itself.
    for (int32_t j = 0; j < ch; ++j) {
      const LensTap& ry = rows[j];
      const uint8_t* r0 = ry.In ? DibRow(target, ry.A) : nullptr;
      const uint8_t* r1 = ry.In ? DibRow(target, ry.B) : nullptr;
      const int32_t wy = ry.W, vy = 256 - wy;
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
        const LensTap& rx = cols[i];
        if (!ry.In || !rx.In) {
          Put(o, 0);
          continue;
        }
        const uint8_t* p00 = r0 + rx.A * bpp;
        const uint8_t* p01 = r0 + rx.B * bpp;
        const uint8_t* p10 = r1 + rx.A * bpp;
        const uint8_t* p11 = r1 + rx.B * bpp;
        const int32_t wx = rx.W, vx = 256 - wx;
        for (int32_t k = 0; k < 3; ++k) {
          const int32_t up = p00[k] * vx + p01[k] * wx;
          const int32_t down = p10[k] * vx + p11[k] * wx;
          o[k] = static_cast<uint8_t>((up * vy + down * wy + 32768) >> 16);
        }
      }
    }
  }
  // The lens goes under the housing, which frames it.
  if (cw > 0 && ch > 0) DibDrawKeyed(target, c.Left, c.Top, kMagenta, FieldClip, glass_.Img, 0, 0, cw, ch, cw, ch);
  DrawFrameOf(target, FieldClip, glass_.Win);
  XRECT r;
  RectIntersect(glass_.Win.Outer, FieldClip, &r);
  NoteOverlay(r);
}

}  // namespace varlo
