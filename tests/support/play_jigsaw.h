// Small jigsaws in memory for the play-field tests and benchmarks: a
// picture with a colour per pixel, a piece mask whose pieces carry square
// tabs into their right and bottom neighbours (so boxes overlap and have
// transparent corners), neighbours, and optionally the border frame and the
// turned images.
#pragma once

#include <cstdint>

#include "jigsaw/pieces.h"
#include "play/play_field.h"
#include "field_probe.h"

namespace varlo::testing {

struct PlayJigsawSpec {
  int32_t Cols = 3;
  int32_t Rows = 3;
  int32_t Cell = 20;    // cell size
  int32_t Knob = 4;     // how far a tab reaches into the neighbour
  bool Border = false;  // a 20-pixel frame piece around the grid
  bool Rotate = false;  // build the turned images (pieces start unturned)
};

// Pieces start unturned at their picture positions (X = BoxX, Y = BoxY) on
// side 0, every piece its own group; the sort table is ascending.
void MakePlayJigsaw(Jigsaw& jig, const PlayJigsawSpec& spec = {});

// A content point of piece i that belongs to the piece (its mask carries
// the piece's key there), for any rotation.
void OwnPoint(const Jigsaw& jig, int32_t i, int32_t& cx, int32_t& cy);

// The field point of a content point of window w.
inline int32_t FieldX(const TMyWin& w, int32_t cx) { return cx - w.ScrollX + w.Client.Left; }
inline int32_t FieldY(const TMyWin& w, int32_t cy) { return cy - w.ScrollY + w.Client.Top; }

// Synthetic skins of the right sizes: every skin area a flat colour that
// tells where it came from.
void MakeTestSkins(PlaySkins& skins);

// Drags piece i with the left button so that its turned box's top-left
// lands at content position (x, y) of its window; the release drops it.
void DragPieceTo(PlayField& field, int32_t i, int32_t x, int32_t y);

}  // namespace varlo::testing
