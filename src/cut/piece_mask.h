// Turning drawn outlines into piece areas, and the clean-up around them.
//
// After a cut has drawn every outline into the mask (in the colour of one of
// the two pieces it separates), each piece is flood-filled with its colour
// from a fill point, its bounding rectangle is found while small unassigned
// pockets are given to it, the border piece takes the frame, and the
// finished mask is handed to the jigsaw in play. The mask is from then on
// the one source of piece shapes.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "raster/dib.h"
#include "jigsaw/jig_params.h"
#include "raster/rect.h"

namespace varlo {

struct Platform;

// The last piece whose fill point was not white.
struct PaintError {
  bool Any = false;
  int32_t Index = 0;
  int32_t X = 0;
  int32_t Y = 0;
};

// Fills the 4-connected white area around (x, y) with colour and answers
// true (bounds, when given, receives the filled rectangle); a point that is
// not white changes nothing and answers false.
bool FillPiece(DIB_P& mask, int32_t x, int32_t y, uint32_t colour, XRECT* bounds);

// The smallest rectangle of search (clipped to the imageW x imageH picture)
// that holds colour, or nothing when it does not occur. On the way, white
// pixels strictly inside the search rectangle are given to the piece: one
// whose four side neighbours all have the colour takes it, and a white
// pocket touched by the colour on one to three sides is filled with it.
// Such pixels widen the rectangle only when the scan reaches them later.
std::optional<XRECT> PieceRectangle(DIB_P& mask, XRECT search, int32_t imageW, int32_t imageH,
                                    uint32_t colour);

// The clean-up pass of the irregular cut over the jigsaw rectangle: first
// the pixels along its four sides, then every inner pixel that has at most
// one of its eight neighbours in its own colour takes the colour that
// starts the first run of three (else two) equal neighbours around it.
void Despeckle(DIB_P& mask, int32_t left, int32_t top, int32_t right, int32_t bottom);

// Appends the border piece (BorderStyle 1) at index TotalTileNum, counts it,
// and, for the rectangular cut (rectangularNeighbours), points the outward
// neighbour slot of every outer cell at it.
void AddBorderPiece(JIG_P& p, std::vector<TILE_P>& tiles, bool rectangularNeighbours);

// Moves the finished mask into the jigsaw's mask slot.
void HandOverMask(DIB_P& cutMask, DIB_P& maskSlot);

// Clears any emboss shading: green 0 and red 128 in every pixel, blue (the
// piece's key) kept.
void ResetShading(DIB_P& mask);

enum class CutKind { Rectangular, Irregular, IrregularArtistic };

// Tells the player that the cut went wrong: for the rectangular cut the
// piece and its fill point, then a fixed plea to reopen; for the irregular
// cut the same first message, then paintErrorText (the interface text
// MS_PaintError in the player's language, line breaks made); when the
// artistic pieces could not be placed only that text. Nothing when
// no error was recorded (an artistic failure always reports).
void ReportPaintError(const Platform& platform, const PaintError& error, CutKind kind,
                      std::string_view paintErrorText);

}  // namespace varlo
