// The level page's sample piece: one piece of the chosen shape at the
// chosen piece size, cut from a background texture with a light upper-left
// and a dark lower-right edge, and the greyed look of the page's choice
// pictures.
#pragma once

#include <cstdint>

#include "raster/dib.h"

namespace varlo {

// Base size of a shape mask (a piece size of 128 shows it one to one).
inline constexpr int32_t kShapeMaskW = 164;
inline constexpr int32_t kShapeMaskH = 168;
inline constexpr int32_t kShapeMaskPitch = 165;  // masks stand side by side, from x = 1
inline constexpr int32_t kShapeCount = 7;

// The pictures the sample is made of: seven masks (white inside the piece)
// in one strip and a texture of at least 164 x 168.
struct PiecePreviewArt {
  const DIB_P* ShapeMasks = nullptr;  // at least 7 * 165 + 1 wide, 168 high
  const DIB_P* Texture = nullptr;
};

// Draws shape k at piece size t into target (any size) on the face colour.
void DrawPiecePreview(DIB_P& target, int32_t t, int32_t k, const PiecePreviewArt& art,
                      uint32_t face);

// Where the preview picture stands in a panel of panelW x panelH: centred at
// 164 x 168, or at the piece's true size (stretched) when that is larger.
XRECT PiecePreviewBounds(int32_t panelW, int32_t panelH, int32_t t);

// A choice strip's greyed lower half: the upper half copied down with every
// pixel that is not the transparent colour mixed half and half with the
// face colour.
void MakeDisabledHalf(DIB_P& strip, uint32_t transparent, uint32_t face);

}  // namespace varlo
