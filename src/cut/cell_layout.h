// The grid of cells every cut starts from, the colour keys of the pieces
// and the mask bitmap the outlines are drawn into.
//
// The mask has one colour per piece: red 128, green 0, blue = the piece's
// Key (in pixel memory the bytes Key, 0, 128). It is (ImageW + 5) x
// (ImageH + 5): the picture area starts white (not yet assigned), the
// 5-pixel strips right and below are black and stop every fill.
#pragma once

#include <cstdint>
#include <vector>

#include "raster/dib.h"
#include "jigsaw/jig_params.h"

namespace varlo {

inline constexpr int32_t kMaskMarginPixels = 5;
inline constexpr uint8_t kPieceRed = 128;
inline constexpr uint8_t kBorderKey = 5;
inline constexpr uint8_t kBorderKeyBit = 128;
inline constexpr uint32_t kMaskWhite = MakeRGB(255, 255, 255);

constexpr uint32_t PieceColour(uint8_t key) { return MakeRGB(kPieceRed, 0, key); }

// Colour key and key bit of the cell in row i, column j: any 3 x 3 block of
// cells has nine different keys, any 2 x 3 block six different bits.
uint8_t CellKey(int32_t row, int32_t column);
uint8_t CellKeyBit(int32_t row, int32_t column);

// The jigsaw rectangle: the whole picture, or the picture less a 20-pixel
// frame with BorderStyle 1.
void SetJigsawRect(JIG_P& p);

// A fresh mask for p's picture size: white picture area, black strips.
bool CreateCutMask(DIB_P& mask, int32_t imageW, int32_t imageH);

// Cells in row order (index i x TilePX + j): position and size with the
// spare pixels spread one each over the first columns and rows, the box
// grown by KnobS toward every neighbouring cell, Key, KeyBit, no neighbours
// and, with ShapeStyle 3, the artistic cells. Makes room for TotalTileNum
// records (at least TileNum) in tiles.
void LayOutCells(const JIG_P& p, std::vector<TILE_P>& tiles);

}  // namespace varlo
