// The edge-effect layer: where each piece's wooden edge or shadow falls.
//
// Pieces are sorted into ten classes, (row mod 3) x 3 + (column mod 3) of
// their grid position and 9 for the border piece, so that pieces whose bands
// could overlap never share a class. A layer pixel (6 bytes) holds a 16-bit
// word of class bits (the pieces that cover the pixel or cast their band on
// it) and a 32-bit word of ten 3-bit distances, one per class: 0 for the
// piece itself (or no band), 1..L for a pixel at that diagonal distance
// down-right of the piece. The painter draws a piece's band where its bit
// is set and its distance is not 0.
#pragma once

#include <cstdint>
#include <vector>

#include "raster/dib.h"

namespace varlo {

struct Jigsaw;
struct TurnedBox;

inline constexpr int32_t kLayerBytesPerPixel = 6;
inline constexpr int32_t kBorderClass = 9;

enum WoodStyleCode : int32_t { kWoodNone = 0, kWoodWood = 1, kWoodShadows = 2 };

// Band width L: 3 for Wood, 5 for Shadows, 0 otherwise.
int32_t BandWidth(int32_t woodStyle);

// A zeroed layer of w x h pixels (row stride 6 x w, rows bottom-up like
// every bitmap of the game). False for sizes beyond the bitmap limits.
bool CreateEffectLayer(DIB_P& layer, int32_t w, int32_t h);

inline uint16_t LayerBits(const uint8_t* px) { return static_cast<uint16_t>(px[0] | px[1] << 8); }
inline uint32_t LayerDistances(const uint8_t* px) {
  return uint32_t{px[2]} | uint32_t{px[3]} << 8 | uint32_t{px[4]} << 16 | uint32_t{px[5]} << 24;
}
inline int32_t LayerDistance(const uint8_t* px, int32_t cls) {
  return static_cast<int32_t>((LayerDistances(px) >> (3 * cls)) & 7);
}
void SetLayerBits(uint8_t* px, uint16_t bits);
void SetLayerDistances(uint8_t* px, uint32_t distances);
void SetLayerDistance(uint8_t* px, int32_t cls, int32_t distance);

// Class of piece i of a grid with `columns` columns; the border piece has
// class 9.
int32_t PieceClass(int32_t index, int32_t columns, bool isBorder);

// Writes piece i's band into the layer: for A = L down to 0 every pixel of
// the piece (colour key `key` in the mask inside box x, y, w, h) marks the
// layer pixel A down and right of it with the class bit and distance A.
void CastBand(DIB_P& layer, const DIB_P& mask, int32_t x, int32_t y, int32_t w, int32_t h,
              uint8_t key, int32_t cls, int32_t bandWidth);

// A piece meeting another across a seam: its box in the layer's rotation,
// grown by L to the right and bottom, with its class.
struct SeamPiece {
  int32_t X = 0, Y = 0, W = 0, H = 0;  // box grown by L right and bottom
  int32_t Class = 0;
};

// Removes bands along the seams between piece a and joined pieces: at every
// pixel of a's grown box that carries a's bit and another, compared with
// each of `others` whose grown box holds the pixel and whose bit is set:
// when one distance is 0 the other is cleared, when both differ the larger
// is cleared, equal distances stay. So no band lies over a member of the
// same group, and of two overlapping bands the nearer stays.
void ClearSeamBands(DIB_P& layer, const SeamPiece& a, const std::vector<SeamPiece>& others);

// The layer of rotation rot (slot 8 + rot) from the mask of that rotation:
// class and class bit of every piece into WoodSlot and WoodBit, every
// piece's band, then the seams between pieces of one group cleared. Frees
// the layer when woodStyle is 0. False when the layer could not be made.
bool BuildEffectLayer(Jigsaw& jig, int32_t rot, int32_t woodStyle);

// The two halves of BuildEffectLayer: the classes into WoodSlot and
// WoodBit of every piece, and the layer of one rotation from them (which
// only reads the piece table, so rotations may be built side by side).
void AssignLayerClasses(Jigsaw& jig);
bool CastLayer(Jigsaw& jig, int32_t rot, int32_t woodStyle);

// The seam clean-up after piece i joined group `group`: for every layer
// present, the pixels i shares with its neighbours whose key is `group`.
// Nothing when no edge effect is on or no neighbour belongs to the group.
void ClearSeam(Jigsaw& jig, int32_t i, int32_t group, int32_t woodStyle);

}  // namespace varlo
