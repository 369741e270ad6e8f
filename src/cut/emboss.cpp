#include "cut/emboss.h"

#include <algorithm>

#include "jigsaw/pieces.h"

namespace varlo {

int32_t EmbossWidth(int32_t s) { return s >= 1 && s <= 3 ? s : 0; }

std::array<int32_t, 8> EmbossWeights(int32_t s) {
  switch (s) {
    case 1: return {20, 20, -20, -20, 40, 10, -40, -10};
    case 2: return {10, 10, -10, -10, 20, 5, -20, -5};
    case 3: return {8, 8, -8, -8, 12, 5, -12, -5};
    default: return {};
  }
}

void EmbossPiece(DIB_P& mask, int32_t bx, int32_t by, int32_t bw, int32_t bh, uint8_t key,
                 int32_t embossStyle) {
  const int32_t t = EmbossWidth(embossStyle);
  if (t == 0 || mask.Width <= 0) return;
  const std::array<int32_t, 8> weight = EmbossWeights(embossStyle);
  // Left, up, right, down, up-left, up-right, down-right, down-left.
  static constexpr int32_t kDx[8] = {-1, 0, 1, 0, -1, 1, 1, -1};
  static constexpr int32_t kDy[8] = {0, -1, 0, 1, -1, -1, 1, 1};
  const int32_t x0 = std::max(bx, 0), y0 = std::max(by, 0);
  const int32_t x1 = std::min(bx + bw, mask.Width) - 1, y1 = std::min(by + bh, mask.Height) - 1;
  if (x0 > x1 || y0 > y1) return;
  const int32_t T = (t + 1) * 128;
  // A direction adds (T - scaled count) x weight only while its scaled
  // count is at most T: an axis step count up to t, a diagonal one up to
  // T / 181. Walking further could not change the sum.
  const int32_t reach[2] = {t, T / 181};
  const int32_t stride = mask.Stride;
  ptrdiff_t step[8];  // pixel-memory offset of one step (rows bottom-up)
  for (int d = 0; d < 8; ++d) step[d] = kDx[d] * 3 - static_cast<ptrdiff_t>(kDy[d]) * stride;
  const int32_t margin = std::max(reach[0], reach[1]);
  for (int32_t y = y0; y <= y1; ++y) {
    uint8_t* p = DibPixel(mask, x0, y);
    const bool rowInside = y - margin >= y0 && y + margin <= y1;
    for (int32_t x = x0; x <= x1; ++x, p += 3) {
      if (p[0] != key) continue;
      const bool inside = rowInside && x - margin >= x0 && x + margin <= x1;
      int32_t e = 0;
      for (int d = 0; d < 8; ++d) {
        const int32_t limit = reach[d >= 4];
        for (int32_t k = 1; k <= limit; ++k) {
          // Near the box's edge the step is checked against it before the
          // pixel is addressed.
          const bool out = (!inside && (x + k * kDx[d] < x0 || x + k * kDx[d] > x1 || y + k * kDy[d] < y0 ||
                                        y + k * kDy[d] > y1)) ||
                           p[k * step[d]] != key;
          if (out) {
            e += (T - k * (d < 4 ? 128 : 181)) * weight[d];
            break;
          }
        }
      }
      if (e == 0) continue;
      const int32_t shade = std::clamp(e / 128, -127, 127);
      if (shade != 0) p[2] = static_cast<uint8_t>(128 + shade);
    }
  }
}

void EmbossJigsaw(Jigsaw& jig, int32_t rot, int32_t embossStyle) {
  DIB_P& mask = jig.Images[kMaskSlot + (rot & 3)];
  if (mask.Width <= 0 || EmbossWidth(embossStyle) == 0) return;
  const int32_t n = PieceCount(jig);
  for (int32_t i = 0; i < n; ++i) {
    const TILE_P& t = jig.Tiles[static_cast<size_t>(i)];
    const TurnedBox b = TurnedBoxFor(jig, t, rot);
    EmbossPiece(mask, b.MapX, b.MapY, b.RotW, b.RotH, t.Key, embossStyle);
  }
}

}  // namespace varlo
