// How pieces look on the field: the options that change their pixels, and
// the pixel format of the edge-effect layers they are painted from.
#pragma once

#include <cstddef>
#include <cstdint>

#include "raster/dib.h"
#include "jigsaw/pieces.h"

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

// The band level (1..7) piece t has at an effect pixel, 0 where its band
// does not reach.
inline int32_t EdgeLevelAt(const uint8_t* fp, const TILE_P& t, int32_t shift) {
  if (!(EffectBits(fp) & static_cast<uint32_t>(t.WoodBit))) return 0;
  return static_cast<int32_t>((EffectLevels(fp) >> shift) & 7);
}
inline int32_t EdgeShiftOf(const TILE_P& t) { return 3 * Clamp(t.WoodSlot, 0, 9); }

}  // namespace varlo
