#include "cut/emboss.h"

#include <algorithm>

#include "play/pieces.h"

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
  const int32_t stride = mask.Stride;
  // Offsets in pixel memory of one step in each direction (rows bottom-up).
  int32_t step[8];
  for (int d = 0; d < 8; ++d) step[d] = kDx[d] * 3 - kDy[d] * stride;
  for (int32_t y = y0; y <= y1; ++y) {
    uint8_t* p = DibPixel(mask, x0, y);
    for (int32_t x = x0; x <= x1; ++x, p += 3) {
      if (p[0] != key) continue;
      int32_t e = 0;
      for (int d = 0; d < 8; ++d) {
        int32_t count = t + 1;
        const uint8_t* q = p;
        int32_t qx = x, qy = y;
        for (int32_t k = 1; k <= t + 1; ++k) {
          qx += kDx[d];
          qy += kDy[d];
          q += step[d];
          if (qx < x0 || qx > x1 || qy < y0 || qy > y1 || q[0] != key) {
            count = k;
            break;
          }
        }
        const int32_t scaled = count * (d < 4 ? 128 : 181);
        if (scaled <= T) e += (T - scaled) * weight[d];
      }
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
