// The level page's sample piece: one piece of the chosen shape at the
// chosen piece size, cut from a background texture with a light upper-left
// and a dark lower-right edge, and the greyed look of the page's choice
// pictures.
#pragma once

#include <cstdint>

#include "raster/dib.h"

namespace varlo {

// Size of a shape mask. The piece's cell spans kShapeCellInMask pixels of
// it, its knobs reaching into the margin as far as a cut piece's do.
inline constexpr int32_t kShapeMaskW = 164;
inline constexpr int32_t kShapeMaskH = 168;
inline constexpr int32_t kShapeCellInMask = 100;
inline constexpr int32_t kShapeMaskPitch = 165;  // masks stand side by side, from x = 1
inline constexpr int32_t kShapeCount = 7;

// The pictures the sample is made of: seven masks (white inside the piece)
// in one strip and a texture of at least 164 x 168.
struct PiecePreviewArt {
  const DIB_P* ShapeMasks = nullptr;  // at least 7 * 165 + 1 wide, 168 high
  const DIB_P* Texture = nullptr;
};

// The scale a piece size t is drawn at in a targetW x targetH picture: its
// true size (the cell t pixels wide), or smaller so the whole piece, knobs
// included, fits.
double PiecePreviewScale(int32_t targetW, int32_t targetH, int32_t t);

// Draws shape k at piece size t into target (any size), centred on the face
// colour, at PiecePreviewScale; the outline is smoothed against the face.
void DrawPiecePreview(DIB_P& target, int32_t t, int32_t k, const PiecePreviewArt& art,
                      uint32_t face);

// A choice strip's greyed lower half: the upper half copied down with every
// pixel that is not the transparent colour mixed half and half with the
// face colour.
void MakeDisabledHalf(DIB_P& strip, uint32_t transparent, uint32_t face);

}  // namespace varlo
