#include "cut/piece_preview.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace varlo {

namespace {

constexpr int32_t kShade = 30;
constexpr int32_t kSub = 4;  // samples across and down per drawn pixel
constexpr int32_t kFull = kSub * kSub;

}  // namespace

double PiecePreviewScale(int32_t targetW, int32_t targetH, int32_t t) {
  if (t <= 0 || targetW <= 0 || targetH <= 0) return 0;
  const double real = static_cast<double>(t) / kShapeCellInMask;
  const double fit = std::min(static_cast<double>(targetW) / kShapeMaskW,
                              static_cast<double>(targetH) / kShapeMaskH);
  return std::min(real, fit);
}

void DrawPiecePreview(DIB_P& target, int32_t t, int32_t k, const PiecePreviewArt& art,
                      uint32_t face) {
  if (target.Width <= 0) return;
  DibFillRect(target, 0, 0, target.Width, target.Height, face);
  if (t <= 0 || !art.ShapeMasks || !art.Texture || art.ShapeMasks->Width <= 0 ||
      art.ShapeMasks->Height < kShapeMaskH ||
      art.ShapeMasks->Width < kShapeCount * kShapeMaskPitch + 1 ||
      art.Texture->Width < kShapeMaskW || art.Texture->Height < kShapeMaskH)
    return;
  k = Clamp(k, 0, kShapeCount - 1);
  const double f = PiecePreviewScale(target.Width, target.Height, t);
  const int32_t w = Min(target.Width, static_cast<int32_t>(std::lround(kShapeMaskW * f)));
  const int32_t h = Min(target.Height, static_cast<int32_t>(std::lround(kShapeMaskH * f)));
  if (w <= 0 || h <= 0) return;
  const int32_t x0 = (target.Width - w) / 2, y0 = (target.Height - h) / 2;
  const int32_t maskLeft = k * kShapeMaskPitch + 1;

  // How much of each drawn pixel the piece covers, 0..kFull, from kSub x kSub
  // samples of the mask.
  std::vector<uint8_t> cover(static_cast<size_t>(w) * h);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) {
      int32_t n = 0;
      for (int32_t sy = 0; sy < kSub; ++sy) {
        const int32_t my = Min(kShapeMaskH - 1, static_cast<int32_t>((y + (sy + 0.5) / kSub) / f));
        const uint8_t* row = DibRow(*art.ShapeMasks, my);
        for (int32_t sx = 0; sx < kSub; ++sx) {
          const int32_t mx = Min(kShapeMaskW - 1, static_cast<int32_t>((x + (sx + 0.5) / kSub) / f));
          if (row[static_cast<ptrdiff_t>(maskLeft + mx) * art.ShapeMasks->BytesPerPixel] >= 128) ++n;
        }
      }
      cover[static_cast<size_t>(y) * w + x] = static_cast<uint8_t>(n);
    }
  auto inside = [&](int32_t x, int32_t y) {
    return x >= 0 && y >= 0 && x < w && y < h && cover[static_cast<size_t>(y) * w + x] * 2 >= kFull;
  };

  // The picture keeps its own scale while the piece is at its true size or
  // smaller than the texture; a larger piece shows the texture stretched.
  const bool stretch = w > kShapeMaskW || h > kShapeMaskH;
  const int32_t tx = stretch ? 0 : (kShapeMaskW - w) / 2, ty = stretch ? 0 : (kShapeMaskH - h) / 2;
  const RGB8 fc = ColorToRGB(face);
  const int32_t faceBgr[3] = {fc.b, fc.g, fc.r};
  const int32_t texBpp = art.Texture->BytesPerPixel;
  for (int32_t y = 0; y < h; ++y) {
    uint8_t* out = DibRow(target, y0 + y);
    const int32_t texY = stretch ? Min(kShapeMaskH - 1, static_cast<int32_t>((y + 0.5) / f)) : ty + y;
    const uint8_t* texRow = DibRow(*art.Texture, texY);
    for (int32_t x = 0; x < w; ++x) {
      const int32_t c = cover[static_cast<size_t>(y) * w + x];
      if (c == 0) continue;
      // Lit along the upper and left edges, dark along the lower and right.
      int32_t shade = 0;
      if (!inside(x, y - 1) || !inside(x - 1, y))
        shade = kShade;
      else if (!inside(x, y + 1) || !inside(x + 1, y))
        shade = -kShade;
      const int32_t texX = stretch ? Min(kShapeMaskW - 1, static_cast<int32_t>((x + 0.5) / f)) : tx + x;
      const uint8_t* s = texRow + static_cast<ptrdiff_t>(texX) * texBpp;
      uint8_t* d = out + static_cast<ptrdiff_t>(x0 + x) * target.BytesPerPixel;
      for (int ch = 0; ch < 3; ++ch) {
        const int32_t piece = ClampByte(s[ch] + shade);
        d[ch] = static_cast<uint8_t>(faceBgr[ch] + (piece - faceBgr[ch]) * c / kFull);
      }
    }
  }
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
