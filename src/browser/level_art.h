// The pictures of the level page, drawn with QPainter when the dialog is
// made: the seven shape masks and the texture the sample piece is cut from,
// the strips of the border, mix, rotation and fit choices (normal look
// above, greyed look below), and the save icon of saved games.
#pragma once

#include <QImage>
#include <QPainterPath>

#include "raster/dib.h"

namespace varlo {

// Knob size of the shape outlines on a 128-pixel cell: a knob's head is
// about this wide and reaches out about 1.3 times it, as on cut pieces.
inline constexpr double kPieceKnobUnit = 26;

// Outline of shape style k (0..6) in a 164 x 168 box: the piece's cell
// kShapeCellInMask pixels wide, centred, its knobs whole in the margin.
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
