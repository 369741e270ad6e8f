#include "cut/piece_preview.h"

namespace varlo {

namespace {

constexpr int32_t kShade = 30;

inline bool Inside(const DIB_P& mask, int32_t x, int32_t y) { return DibPixel(mask, x, y)[0] == 255; }

}  // namespace

void DrawPiecePreview(DIB_P& target, int32_t t, int32_t k, const PiecePreviewArt& art,
                      uint32_t face) {
  if (target.Width <= 0) return;
  DibFillRect(target, 0, 0, target.Width, target.Height, face);
  if (t <= 0 || !art.ShapeMasks || !art.Texture || art.ShapeMasks->Width <= 0 ||
      art.Texture->Width < kShapeMaskW || art.Texture->Height < kShapeMaskH)
    return;
  k = Clamp(k, 0, kShapeCount - 1);
  int32_t w = static_cast<int32_t>(static_cast<int64_t>(t) * kShapeMaskW / 128);
  int32_t h = static_cast<int32_t>(static_cast<int64_t>(t) * kShapeMaskH / 128);
  if (w > kShapeMaskW || h > kShapeMaskH) {
    w = kShapeMaskW;
    h = kShapeMaskH;
  }
  if (w <= 0 || h <= 0) return;
  const int32_t x0 = (target.Width - w) / 2, y0 = (target.Height - h) / 2;

  // The shape's mask at the drawn size.
  DIB_P base, mask;
  if (!DibCreate24(base, kShapeMaskW, kShapeMaskH) || !DibCreate24(mask, w, h)) return;
  DibBlit(base, 0, 0, *art.ShapeMasks, k * kShapeMaskPitch + 1, 0, kShapeMaskW, kShapeMaskH);
  DibScale(mask, base);

  const int32_t tx = (kShapeMaskW - w) / 2, ty = (kShapeMaskH - h) / 2;
  const int32_t texBpp = art.Texture->BytesPerPixel;
  for (int32_t y = 0; y < h; ++y) {
    const int32_t ty2 = y0 + y;
    if (ty2 < 0 || ty2 >= target.Height) continue;
    const uint8_t* tex = DibPixel(*art.Texture, tx, ty + y);
    uint8_t* out = DibRow(target, ty2);
    for (int32_t x = 0; x < w; ++x) {
      if (!Inside(mask, x, y)) continue;
      const int32_t ox = x0 + x;
      if (ox < 0 || ox >= target.Width) continue;
      int32_t shade = 0;
      if (x == 0 || y == 0)
        shade = kShade;
      else if (x == w - 1 || y == h - 1)
        shade = -kShade;
      else if (!Inside(mask, x, y - 1) || !Inside(mask, x - 1, y))
        shade = kShade;
      else if (!Inside(mask, x, y + 1) || !Inside(mask, x + 1, y))
        shade = -kShade;
      const uint8_t* s = tex + static_cast<ptrdiff_t>(x) * texBpp;
      uint8_t* d = out + static_cast<ptrdiff_t>(ox) * target.BytesPerPixel;
      for (int c = 0; c < 3; ++c) d[c] = static_cast<uint8_t>(ClampByte(s[c] + shade));
    }
  }
}

XRECT PiecePreviewBounds(int32_t panelW, int32_t panelH, int32_t t) {
  const int32_t cx = (panelW - kShapeMaskW) / 2, cy = (panelH - kShapeMaskH) / 2;
  const int32_t w = static_cast<int32_t>(static_cast<int64_t>(t) * kShapeMaskW / 128);
  const int32_t h = static_cast<int32_t>(static_cast<int64_t>(t) * kShapeMaskH / 128);
  XRECT r;
  if (w > kShapeMaskW || h > kShapeMaskH)
    RectSetXYWH(r, cx + (kShapeMaskW - w) / 2, cy + (kShapeMaskH - h) / 2, w, h);
  else
    RectSetXYWH(r, cx, cy, kShapeMaskW, kShapeMaskH);
  return r;
}

void MakeDisabledHalf(DIB_P& strip, uint32_t transparent, uint32_t face) {
  const int32_t half = strip.Height / 2;
  if (strip.Width <= 0 || half <= 0) return;
  const RGB8 key = ColorToRGB(transparent), f = ColorToRGB(face);
  const uint8_t faceBgr[3] = {f.b, f.g, f.r};
  const int32_t bpp = strip.BytesPerPixel;
  for (int32_t y = 0; y < half; ++y) {
    const uint8_t* s = DibRow(strip, y);
    uint8_t* d = DibRow(strip, y + half);
    for (int32_t x = 0; x < strip.Width; ++x, s += bpp, d += bpp) {
      const bool clear = s[0] == key.b && s[1] == key.g && s[2] == key.r;
      for (int c = 0; c < 3; ++c)
        d[c] = clear ? s[c] : static_cast<uint8_t>(Min(255, s[c] / 2 + faceBgr[c] / 2));
      if (bpp == 4) d[3] = s[3];
    }
  }
}

}  // namespace varlo
