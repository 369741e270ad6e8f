// The pixels of a piece: its picture where the mask carries its key,
// shaded by the emboss in the mask's red channel and inverted while
// selected; around it the wood edge or the shadow of the effect layer.
// The field and the solved image both paint pieces with this rule.
#pragma once

#include <cstdint>

#include "raster/dib.h"
#include "play/piece_look.h"
#include "play/piece_runs.h"
#include "jigsaw/pieces.h"
#include "raster/rect.h"

namespace varlo {

// Draws piece i with the top-left of its turned box at (dstX, dstY) of
// target, clipped to clip and to the target; the border piece is drawn as
// its four 20-pixel bands. With runs, a piece is painted from its paint
// list (the same pixels, without reading the mask, picture or layer).
void DrawPieceAt(DIB_P& target, const XRECT& clip, int32_t dstX, int32_t dstY, const Jigsaw& jig,
                 int32_t i, const PieceLook& look, PieceRunCache* runs = nullptr);

}  // namespace varlo
