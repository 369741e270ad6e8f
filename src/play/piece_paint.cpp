// The piece pixel rule, row by row on the raw buffers.
#include "play/piece_paint.h"

#include <cstring>

namespace varlo {

namespace {

struct Slots {
  const DIB_P* pic;
  const DIB_P* mask;
  const DIB_P* eff;  // null without an edge effect
};

// Paints the source area (sx, sy, w, h) of the piece's slots at (dx, dy).
void PaintArea(DIB_P& target, int32_t dx, int32_t dy, const XRECT& clip, const Slots& s,
               const TILE_P& t, int32_t sx, int32_t sy, int32_t w, int32_t h, const PieceLook& look,
               int32_t e) {
  if (w <= 0 || h <= 0) return;
  if (!ClipToRect(clip, dx, dy, w, h, sx, sy)) return;
  XRECT bounds;
  RectSetXYWH(bounds, 0, 0, target.Width, target.Height);
  if (!ClipToRect(bounds, dx, dy, w, h, sx, sy)) return;
  // Never read outside the mask.
  const DIB_P& mask = *s.mask;
  if (sx < 0) {
    dx -= sx;
    w += sx;
    sx = 0;
  }
  if (sy < 0) {
    dy -= sy;
    h += sy;
    sy = 0;
  }
  if (sx + w > mask.Width) w = mask.Width - sx;
  if (sy + h > mask.Height) h = mask.Height - sy;
  if (w <= 0 || h <= 0) return;

  const DIB_P& pic = *s.pic;
  const int32_t mb = mask.BytesPerPixel, pb = pic.BytesPerPixel, tb = target.BytesPerPixel;
  const uint8_t key = t.Key;
  const bool emboss = look.EmbossStyle != 0;
  const bool sel = t.Sel != 0;
  const DIB_P* eff = s.eff;
  const uint32_t woodBit = static_cast<uint32_t>(t.WoodBit);
  const int32_t shift = 3 * Clamp(t.WoodSlot, 0, 9);
  const RGB8 wood = ColorToRGB(look.WoodColor);
  const int32_t shadeStep = e > 1 ? 112 / (e - 1) : 0;
  if (!emboss && !sel && !eff && mb == 3 && pb == 3 && tb == 3) {
    // The common case, plain pieces: copy where the mask has the key.
    for (int32_t j = 0; j < h; ++j) {
      const int32_t my = sy + j;
      const int32_t cols = my < pic.Height ? Clamp(pic.Width - sx, 0, w) : 0;
      if (cols == 0) continue;
      const uint8_t* m = DibPixel(mask, sx, my);
      const uint8_t* p = DibPixel(pic, sx, my);
      uint8_t* d = DibPixel(target, dx, dy + j);
      // Runs of the piece's pixels are copied whole; rows of a piece are
      // mostly one or two long runs.
      int32_t i = 0;
      while (i < cols) {
        while (i < cols && m[3 * i] != key) ++i;
        const int32_t start = i;
        while (i < cols && m[3 * i] == key) ++i;
        if (i > start) std::memcpy(d + 3 * start, p + 3 * start, static_cast<size_t>(i - start) * 3);
      }
    }
    return;
  }
  for (int32_t j = 0; j < h; ++j) {
    const int32_t my = sy + j;
    const uint8_t* m = DibPixel(mask, sx, my);
    uint8_t* d = DibPixel(target, dx, dy + j);
    // Pixels past the picture (in the mask's margin) are never the piece's.
    const int32_t picCols = my < pic.Height ? Clamp(pic.Width - sx, 0, w) : 0;
    const uint8_t* p = picCols > 0 ? DibPixel(pic, sx, my) : nullptr;
    const uint8_t* f = eff ? EffectPixel(*eff, sx, my) : nullptr;
    for (int32_t i = 0; i < w; ++i, m += mb, d += tb) {
      if (m[0] == key && i < picCols) {
        const uint8_t* src = p + static_cast<ptrdiff_t>(i) * pb;
        int32_t b = src[0], g = src[1], r = src[2];
        if (emboss) {
          const int32_t shade = m[2] - 128;
          b = ClampByte(b + shade);
          g = ClampByte(g + shade);
          r = ClampByte(r + shade);
        }
        if (sel) {
          b ^= 0xFF;
          g ^= 0xFF;
          r ^= 0xFF;
        }
        d[0] = static_cast<uint8_t>(b);
        d[1] = static_cast<uint8_t>(g);
        d[2] = static_cast<uint8_t>(r);
      } else if (f) {
        const uint8_t* fp = f + static_cast<ptrdiff_t>(i) * kEffectPixelBytes;
        if (!(EffectBits(fp) & woodBit)) continue;
        const int32_t k = static_cast<int32_t>((EffectLevels(fp) >> shift) & 7);
        if (k == 0) continue;
        if (look.WoodStyle == 1) {
          const int32_t dark = 10 * (k - 1);
          d[0] = static_cast<uint8_t>(Max(0, wood.b - dark));
          d[1] = static_cast<uint8_t>(Max(0, wood.g - dark));
          d[2] = static_cast<uint8_t>(Max(0, wood.r - dark));
        } else {
          const int32_t sh = Max(0, 128 - (k - 1) * shadeStep);
          d[0] = static_cast<uint8_t>(d[0] * (256 - sh) / 256);
          d[1] = static_cast<uint8_t>(d[1] * (256 - sh) / 256);
          d[2] = static_cast<uint8_t>(d[2] * (256 - sh) / 256);
        }
      }
    }
  }
}

}  // namespace

int32_t EdgeWidthFor(const Jigsaw& jig, const PieceLook& look, int32_t rot) {
  if (look.WoodStyle == 0 || look.EdgeW <= 0) return 0;
  const DIB_P& eff = jig.Images[kEffectSlot + (rot & 3)];
  const DIB_P& mask = jig.Images[kMaskSlot + (rot & 3)];
  if (eff.Width != mask.Width || eff.Height != mask.Height || eff.Width <= 0) return 0;
  return look.EdgeW;
}

void DrawPieceAt(DIB_P& target, const XRECT& clip, int32_t dstX, int32_t dstY, const Jigsaw& jig,
                 int32_t i, const PieceLook& look) {
  if (i < 0 || i >= PieceCount(jig) || target.Width <= 0) return;
  const TILE_P& t = jig.Tiles[i];
  const int32_t r = t.Rot & 3;
  Slots s{&jig.Images[kPictureSlot + r], &jig.Images[kMaskSlot + r], nullptr};
  if (s.pic->Width <= 0 || s.mask->Width <= 0) return;
  const int32_t e = EdgeWidthFor(jig, look, r);
  if (e > 0) s.eff = &jig.Images[kEffectSlot + r];
  if (i == BorderPieceIndex(jig)) {
    // The frame is drawn as four bands, so the picture inside it is never
    // scanned.
    const int32_t iw = jig.Jig.ImageW, ih = jig.Jig.ImageH;
    struct BandArea {
      int32_t x, y, w, h;
    };
    const BandArea bands[4] = {{0, 0, iw + e, 20 + e},
                               {0, ih - 20, iw + e, 20 + e},
                               {0, 20 + e, 20 + e, ih - 40 - e},
                               {iw - 20, 20 + e, 20 + e, ih - 40 - e}};
    for (const BandArea& b : bands)
      PaintArea(target, dstX + b.x, dstY + b.y, clip, s, t, t.MapX + b.x, t.MapY + b.y, b.w, b.h,
                look, e);
    return;
  }
  PaintArea(target, dstX, dstY, clip, s, t, t.MapX, t.MapY, t.RotW + e, t.RotH + e, look, e);
}

}  // namespace varlo
