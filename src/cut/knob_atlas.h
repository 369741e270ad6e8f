// The knob atlas: pixel-exact knob outlines for the commonest short edges.
//
// Most edges of a rectangular cut are short and straight, and the same
// handful of knobs repeat on them; copying their outlines from a prepared
// picture is faster and cleaner than sampling curves. The atlas is 1015 x
// 132 pixels: 6 bands of 22 rows, band b drawn from grid template b, and 29
// columns, column k for an edge of 20 + k pixels, starting at x = 21k +
// k(k - 1)/2 and 21 + k pixels wide (its last pixel a silver separator).
// In each column a band holds, from the top: a knob pointing up outlined
// twice, an outer line in dark green and an inner line in red (each a
// complete outline from the column's left to its right edge), and a blue
// row below them. Four legend pixels at x = 4 of the first column, rows 5
// to 8, hold white, dark green, red and blue, the colours the cut compares
// against.
//
// The resource baker draws it at build time; the game loads it as a
// resource and measures each column's baseline at the start of every cut.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "raster/dib.h"

namespace varlo {

inline constexpr int32_t kAtlasWidth = 1015;
inline constexpr int32_t kAtlasHeight = 132;
inline constexpr int32_t kAtlasBands = 6;
inline constexpr int32_t kAtlasBandRows = 22;
inline constexpr int32_t kAtlasColumns = 29;
inline constexpr int32_t kAtlasMinEdge = 20;  // column k is for edges of 20 + k pixels
inline constexpr int32_t kAtlasMaxEdge = kAtlasMinEdge + kAtlasColumns - 1;

// The colours of the atlas, from the classic 16-colour palette.
inline constexpr uint32_t kAtlasWhite = MakeRGB(255, 255, 255);
inline constexpr uint32_t kAtlasGreen = MakeRGB(0, 128, 0);   // palette index 2
inline constexpr uint32_t kAtlasRed = MakeRGB(255, 0, 0);     // palette index 9
inline constexpr uint32_t kAtlasBlue = MakeRGB(0, 0, 255);    // palette index 12
inline constexpr uint32_t kAtlasSilver = MakeRGB(192, 192, 192);

// Name of the atlas picture among the game's resources.
inline constexpr const char* kKnobAtlasResource = "knob-atlas";

constexpr int32_t AtlasColumnX(int32_t k) { return 21 * k + k * (k - 1) / 2; }

// What a cut reads from the atlas before it starts.
struct AtlasInfo {
  bool Usable = false;  // an atlas of the right size is present
  uint32_t White = kAtlasWhite, Green = kAtlasGreen, Red = kAtlasRed, Blue = kAtlasBlue;
  std::array<int32_t, kAtlasColumns> Base{};  // baseline row of each column
};

// Draws the atlas from grid templates 0..5 into a new 24-bit bitmap.
bool DrawKnobAtlas(DIB_P& atlas);

// Reads the legend colours and measures each column's baseline: the white
// pixels from row 0 down in the column's first pixel column, looking at most
// 20 + k rows (0 when no other colour is met). An atlas that is missing or
// of another size is not usable, and every edge is then drawn as a curve.
AtlasInfo MeasureKnobAtlas(const DIB_P& atlas);

// Loads the baked atlas from the resource folder of the installation.
bool LoadKnobAtlas(DIB_P& atlas, const std::string& resourceDir, std::string* error);

}  // namespace varlo
