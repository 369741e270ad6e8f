// The embossed rim of the pieces.
//
// Light comes from the top left: pixels near a piece's upper and left
// outline are brightened, those near its lower and right outline darkened.
// The shade (-127..127) is stored in the red channel of the mask as
// 128 + shade and only where it is not 0, so a mask must have its shading
// reset before another emboss style is computed on it.
#pragma once

#include <array>
#include <cstdint>

#include "raster/dib.h"

namespace varlo {

struct Jigsaw;

enum EmbossStyleCode : int32_t { kEmbossNone = 0, kEmbossPaper = 1, kEmbossCardboard = 2, kEmbossFatCard = 3 };

// Rim width: 1 Paper, 2 Cardboard, 3 Fat Card, 0 otherwise.
int32_t EmbossWidth(int32_t embossStyle);

// Weights in the order left, up, right, down, up-left, up-right,
// down-right, down-left; all zero for no emboss.
std::array<int32_t, 8> EmbossWeights(int32_t embossStyle);

// Shades the pixels of colour key `key` inside the box (x, y, w, h) of the
// mask (clipped to it). A step that leaves the box counts as leaving the
// piece.
void EmbossPiece(DIB_P& mask, int32_t x, int32_t y, int32_t w, int32_t h, uint8_t key,
                 int32_t embossStyle);

// Every piece of the jigsaw in the mask of rotation rot (slot 4 + rot),
// located by its turned box.
void EmbossJigsaw(Jigsaw& jig, int32_t rot, int32_t embossStyle);

}  // namespace varlo
