// The jigsaw parameter block and the piece record.
//
// Both are written byte for byte into saved games, so their layouts are a
// file format: JIG_P is 120 bytes, TILE_P 112 bytes, little-endian, and they
// are encoded and decoded field by field at fixed offsets (never by copying
// the C++ objects), so that the bytes are the same with every compiler.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace varlo {

inline constexpr size_t kJigParamsBytes = 120;
inline constexpr size_t kTileBytes = 112;

// The parameters of one jigsaw: its level settings, the grid the cut made,
// the picture and jigsaw rectangle. Three copies exist: the one in play, the
// open dialog's working copy and the remembered default level.
struct JIG_P {
  int32_t GameSeed = 0;      // seed of the cut and of the first placement
  int32_t MaskS = 0;         // side of the square a piece with knobs may occupy
  int32_t TileS = 0;         // nominal piece size
  int32_t KnobS = 0;         // knob reach, (MaskS - TileS) div 2
  int32_t SnapS = 0;         // snapping distance base, max(KnobS div 2, 4)
  int32_t TilePX = 0;        // grid columns
  int32_t TilePY = 0;        // grid rows
  int32_t TileNum = 0;       // TilePX * TilePY
  int32_t PicPX = 0;         // level table only; 0 in play
  int32_t PicPY = 0;
  int32_t PicNum = 0;
  int32_t TotalTileNum = 0;  // pieces, the border piece included
  int32_t ImageW = 0;        // picture size in pixels
  int32_t ImageH = 0;
  int32_t FitImageW = 0;     // picture size after fitting to the screen
  int32_t FitImageH = 0;
  int32_t JigsL = 0;         // jigsaw rectangle, inclusive edges
  int32_t JigsT = 0;
  int32_t JigsR = 0;
  int32_t JigsB = 0;
  int32_t Level = 0;         // piece-size level 0..13
  uint8_t Rotate = 0;        // 1: pieces may be turned
  uint8_t BorderStyle = 0;   // 0 none, 1 border frame (one extra piece)
  uint8_t ShapeStyle = 0;    // 0..3 irregular cut, 4..6 rectangular cut
  uint8_t SpreadOut = 0;     // 1 spread in a grid, 0 scatter at random
  uint8_t FitToScreen = 0;   // 1: picture fitted to the screen
  std::array<uint8_t, 3> Pad89{};  // kept as read
  int32_t SideNum = 1;       // pictures in the pack (always 1)
  int32_t SideInd = 0;       // chosen picture (always 0)
  int32_t PackTag = 0;       // pack header tag
  int32_t Reserved104 = 0;   // kept as read
  std::array<int32_t, 3> ThumbEnd{};  // file offsets just past the thumbnail entries

  friend bool operator==(const JIG_P&, const JIG_P&) = default;
};

inline constexpr int kNeighbourSlots = 9;

// One piece. Pieces with the same Group key form a group; the key is also
// the group's place in the stacking order (larger keys lie above).
struct TILE_P {
  int32_t X = 0;        // left of the turned box in its window's content
  int32_t Y = 0;        // top of the turned box
  int32_t Group = 0;    // group key and stacking order
  uint8_t Win = 0;      // 0, 1 sides; 2..5 pockets 1..4
  uint8_t Rot = 0;      // quarter turns clockwise, 0..3
  uint8_t Sel = 0;      // 1 while selected
  uint8_t Pad15 = 0;
  int32_t CellX = 0, CellY = 0, CellW = 0, CellH = 0;  // grid cell in the picture
  int32_t BoxX = 0, BoxY = 0, BoxW = 0, BoxH = 0;      // box in the unturned picture
  int32_t MapX = 0, MapY = 0;  // top-left of the turned box in the turned picture and mask
  int32_t RotW = 0, RotH = 0;  // size of the turned box
  // During a rectangular cut these two hold the cell corner x1, y1;
  // afterwards the piece's edge-effect slot and bit.
  int32_t WoodSlot = 0;
  int32_t WoodBit = 0;
  int32_t CornerX2 = 0, CornerY2 = 0;  // cell corners x2, y2 of a rectangular cut
  int32_t CentreX = 0, CentreY = 0;    // fill point of an irregular cut
  uint8_t Artistic = 0;  // 1 for an artistic (drawn) shape
  uint8_t Pad89 = 0;
  // Neighbour piece indices, -1 = none; rectangular cut: 0 left, 1 top,
  // 2 right, 3 bottom.
  std::array<int16_t, kNeighbourSlots> Nb{-1, -1, -1, -1, -1, -1, -1, -1, -1};
  uint8_t Key = 0;      // blue value of the piece's colour in the mask
  uint8_t KeyBit = 0;   // bit that tells the piece from its neighbours
  std::array<uint8_t, 2> Pad110{};

  friend bool operator==(const TILE_P&, const TILE_P&) = default;
};

// Field-by-field little-endian coding. The buffers must hold exactly
// kJigParamsBytes / kTileBytes bytes.
void EncodeJigParams(const JIG_P& p, uint8_t* out);
JIG_P DecodeJigParams(const uint8_t* in);
void EncodeTile(const TILE_P& t, uint8_t* out);
TILE_P DecodeTile(const uint8_t* in);

}  // namespace varlo
