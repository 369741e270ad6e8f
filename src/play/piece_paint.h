// The pixels of a piece: its picture where the mask carries its key,
// shaded by the emboss in the mask's red channel and inverted while
// selected; around it the wood edge or the shadow of the effect layer.
// The field and the solved image both paint pieces with this rule.
#pragma once

#include <cstdint>

#include "play/dib.h"
#include "play/piece_runs.h"
#include "play/pieces.h"
#include "play/rect.h"

namespace varlo {

struct PieceLook {
  uint8_t EmbossStyle = 0;  // 0: no shading
  uint8_t WoodStyle = 0;    // 0 none, 1 wood, 2 shadows
  int32_t EdgeW = 0;        // band width of the edge effect (0 without one)
  uint32_t WoodColor = 0x49687A;
};

// Width of the edge band the look paints (0 without an edge effect or
// without an effect layer for rotation rot).
int32_t EdgeWidthFor(const Jigsaw& jig, const PieceLook& look, int32_t rot);

// Draws piece i with the top-left of its turned box at (dstX, dstY) of
// target, clipped to clip and to the target; the border piece is drawn as
// its four 20-pixel bands. With runs, a piece is painted from its run list
// (the same pixels, without testing the mask).
void DrawPieceAt(DIB_P& target, const XRECT& clip, int32_t dstX, int32_t dstY, const Jigsaw& jig,
                 int32_t i, const PieceLook& look, PieceRunCache* runs = nullptr);

// Edge-effect layer pixels: a 16-bit word of class bits, then 32 bits of
// ten 3-bit band levels, one per class.
inline constexpr int32_t kEffectPixelBytes = 6;
inline uint32_t EffectBits(const uint8_t* p) { return p[0] | (uint32_t{p[1]} << 8); }
inline uint32_t EffectLevels(const uint8_t* p) {
  return p[2] | (uint32_t{p[3]} << 8) | (uint32_t{p[4]} << 16) | (uint32_t{p[5]} << 24);
}
inline void SetEffectLevels(uint8_t* p, uint32_t v) {
  p[2] = static_cast<uint8_t>(v);
  p[3] = static_cast<uint8_t>(v >> 8);
  p[4] = static_cast<uint8_t>(v >> 16);
  p[5] = static_cast<uint8_t>(v >> 24);
}
inline const uint8_t* EffectPixel(const DIB_P& d, int32_t x, int32_t y) {
  return DibRow(d, y) + static_cast<ptrdiff_t>(x) * kEffectPixelBytes;
}

}  // namespace varlo
