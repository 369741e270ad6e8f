#include "cut/effect_preview.h"

#include <algorithm>
#include <cmath>

#include "cut/effect_layer.h"
#include "cut/emboss.h"

namespace varlo {

void RenderEffectPreview(DIB_P& out, const DIB_P& mask, const DIB_P& picture, uint32_t woodColour,
                         int32_t woodStyle, int32_t embossStyle) {
  const int32_t w = std::min({out.Width, mask.Width, picture.Width});
  const int32_t h = std::min({out.Height, mask.Height, picture.Height});
  if (w <= 0 || h <= 0) return;
  auto inPiece = [&](int32_t x, int32_t y) {
    const uint8_t* p = DibPixel(mask, x, y);
    return p[0] == 0 && p[1] == 0 && p[2] == 0;
  };
  const int32_t L = BandWidth(woodStyle);
  const RGB8 wood = ColorToRGB(woodColour);
  static constexpr int32_t kShadow[5] = {128, 100, 72, 44, 16};
  for (int32_t y = 0; y < h; ++y) {
    for (int32_t x = 0; x < w; ++x) {
      if (L == 0 || inPiece(x, y)) continue;
      int32_t d = 0;
      for (int32_t k = 1; k <= L && x - k >= 0 && y - k >= 0; ++k) {
        if (inPiece(x - k, y - k)) {
          d = k;
          break;
        }
      }
      if (d == 0) continue;
      uint8_t* o = DibPixel(out, x, y);
      if (woodStyle == kWoodWood) {
        const int32_t less = 10 * (d - 1);
        o[0] = static_cast<uint8_t>(std::max(0, wood.b - less));
        o[1] = static_cast<uint8_t>(std::max(0, wood.g - less));
        o[2] = static_cast<uint8_t>(std::max(0, wood.r - less));
      } else {
        const int32_t keep = 256 - kShadow[d - 1];
        for (int c = 0; c < 3; ++c) o[c] = static_cast<uint8_t>(o[c] * keep / 256);
      }
    }
  }
  const int32_t t = EmbossWidth(embossStyle);
  const auto weight = EmbossWeights(embossStyle);
  static constexpr int32_t kDx[8] = {-1, 0, 1, 0, -1, 1, 1, -1};
  static constexpr int32_t kDy[8] = {0, -1, 0, 1, -1, -1, 1, 1};
  for (int32_t y = 0; y < h; ++y) {
    for (int32_t x = 0; x < w; ++x) {
      if (!inPiece(x, y)) continue;
      double e = 0;
      for (int d = 0; d < 8 && t > 0; ++d) {
        int32_t count = t + 1;
        for (int32_t k = 1; k <= t + 1; ++k) {
          const int32_t qx = x + k * kDx[d], qy = y + k * kDy[d];
          if (qx < 0 || qy < 0 || qx >= w || qy >= h || !inPiece(qx, qy)) {
            count = k;
            break;
          }
        }
        const double dist = d < 4 ? count : count * std::sqrt(2.0);
        if (dist <= t + 1) e += weight[d] * (t + 1 - dist);
      }
      const int32_t shade = static_cast<int32_t>(std::nearbyint(std::clamp(e, -127.0, 127.0)));
      const uint8_t* s = DibPixel(picture, x, y);
      uint8_t* o = DibPixel(out, x, y);
      for (int c = 0; c < 3; ++c) o[c] = static_cast<uint8_t>(ClampByte(s[c] + shade));
    }
  }
}

}  // namespace varlo
