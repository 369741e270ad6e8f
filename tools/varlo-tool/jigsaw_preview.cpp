#include "jigsaw_preview.h"

#include <algorithm>

#include "cut/effect_layer.h"
#include "jigsaw/pieces.h"

namespace varlo::tool {

bool RenderJigsawPreview(const Jigsaw& jig, int32_t woodStyle, uint32_t woodColour,
                         uint32_t background, int32_t gap, DIB_P& out) {
  const JIG_P& p = jig.Jig;
  const DIB_P& picture = jig.Images[kPictureSlot];
  const DIB_P& mask = jig.Images[kMaskSlot];
  const DIB_P& layer = jig.Images[kEffectSlot];
  if (picture.Width <= 0 || mask.Width <= 0) return false;
  const int32_t e = layer.Width > 0 ? BandWidth(woodStyle) : 0;
  const int32_t border = BorderPieceIndex(jig);
  const int32_t shiftCols = p.TilePX + (border >= 0 ? 1 : 0), shiftRows = p.TilePY + (border >= 0 ? 1 : 0);
  const int32_t margin = 2 * gap;
  if (!DibCreate24(out, p.ImageW + shiftCols * gap + 2 * margin + e,
                   p.ImageH + shiftRows * gap + 2 * margin + e))
    return false;
  DibFillRect(out, 0, 0, out.Width, out.Height, background);
  const RGB8 wood = ColorToRGB(woodColour);
  const int32_t shadowStep = e > 1 ? 112 / (e - 1) : 0;

  auto drawPixel = [&](const TILE_P& t, int32_t x, int32_t y, int32_t dx, int32_t dy) {
    const uint8_t* m = DibPixel(mask, x, y);
    uint8_t* o = DibPixel(out, x + dx, y + dy);
    if (m[0] == t.Key) {
      const uint8_t* s = DibPixel(picture, std::min(x, picture.Width - 1), std::min(y, picture.Height - 1));
      const int32_t shade = m[2] - 128;
      for (int c = 0; c < 3; ++c) o[c] = static_cast<uint8_t>(ClampByte(s[c] + shade));
      return;
    }
    if (e == 0) return;
    const uint8_t* l = DibPixel(layer, x, y);
    if (!(LayerBits(l) & t.WoodBit)) return;
    const int32_t k = LayerDistance(l, t.WoodSlot);
    if (k == 0) return;
    if (woodStyle == kWoodWood) {
      const int32_t less = 10 * (k - 1);
      o[0] = static_cast<uint8_t>(std::max(0, wood.b - less));
      o[1] = static_cast<uint8_t>(std::max(0, wood.g - less));
      o[2] = static_cast<uint8_t>(std::max(0, wood.r - less));
    } else {
      const int32_t s = std::max(0, 128 - (k - 1) * shadowStep);
      for (int c = 0; c < 3; ++c) o[c] = static_cast<uint8_t>(o[c] * (256 - s) / 256);
    }
  };

  const int32_t n = PieceCount(jig);
  const int32_t first = border >= 0 ? 1 : 0;
  for (int32_t i = 0; i < n; ++i) {
    const TILE_P& t = jig.Tiles[static_cast<size_t>(i)];
    const int32_t x0 = std::max(t.BoxX, 0), y0 = std::max(t.BoxY, 0);
    const int32_t x1 = std::min(t.BoxX + t.BoxW + e, mask.Width) - 1;
    const int32_t y1 = std::min(t.BoxY + t.BoxH + e, mask.Height) - 1;
    const int32_t row = p.TilePX > 0 ? i / p.TilePX : 0, col = p.TilePX > 0 ? i % p.TilePX : 0;
    for (int32_t y = y0; y <= y1; ++y) {
      for (int32_t x = x0; x <= x1; ++x) {
        int32_t dx, dy;
        if (i == border) {
          dx = margin + (x >= p.ImageW / 2 ? shiftCols * gap : 0);
          dy = margin + (y >= p.ImageH / 2 ? shiftRows * gap : 0);
        } else {
          dx = margin + (col + first) * gap;
          dy = margin + (row + first) * gap;
        }
        drawPixel(t, x, y, dx, dy);
      }
    }
  }
  return true;
}

}  // namespace varlo::tool
