// The pictures of the level page, drawn with QPainter when the dialog is
// made: the seven shape masks and the texture the sample piece is cut from,
// the strips of the border, mix, rotation and fit choices (normal look
// above, greyed look below), and the save icon of saved games.
#pragma once

#include <QImage>
#include <QPainterPath>

#include "raster/dib.h"

namespace varlo {

// Outline of shape style k (0..6) in a 164 x 168 box: a 128-pixel piece
// centred, its knobs reaching into the margin.
QPainterPath ShapeOutline(int k);

// Seven masks side by side 165 pixels apart from x = 1, white inside.
bool MakeShapeMasks(DIB_P& out);
// A sunny landscape to cut the sample piece from, 164 x 168.
bool MakeShapeTexture(DIB_P& out);

// Choice strips: n pictures of w x h side by side, one pixel apart when
// gap is set, twice the height (the lower half is left for the greyed
// look). White is the transparent colour.
enum class ChoiceArt { Borders, Mix, Rotation, FitToScreen };
bool MakeChoiceStrip(ChoiceArt art, DIB_P& out);
inline constexpr int kChoiceSide = 50;
inline constexpr int kChoicePitch = 51;

// The 16 x 16 save icon of saved games.
bool MakeSaveIcon(DIB_P& out);

}  // namespace varlo
