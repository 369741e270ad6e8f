// Byte coding of the jigsaw parameter block and the piece record.
//
// Every field is written at its fixed offset, little-endian; padding and
// reserved bytes travel with the record so that a saved game read and
// written again keeps its bytes.
#include "jigsaw/jig_params.h"

#include "raster/byte_io.h"

namespace varlo {

namespace {

// Offsets of the parameter block.
namespace jig {
constexpr size_t kGameSeed = 0;
constexpr size_t kMaskS = 4;
constexpr size_t kTileS = 8;
constexpr size_t kKnobS = 12;
constexpr size_t kSnapS = 16;
constexpr size_t kTilePX = 20;
constexpr size_t kTilePY = 24;
constexpr size_t kTileNum = 28;
constexpr size_t kPicPX = 32;
constexpr size_t kPicPY = 36;
constexpr size_t kPicNum = 40;
constexpr size_t kTotalTileNum = 44;
constexpr size_t kImageW = 48;
constexpr size_t kImageH = 52;
constexpr size_t kFitImageW = 56;
constexpr size_t kFitImageH = 60;
constexpr size_t kJigsL = 64;
constexpr size_t kJigsT = 68;
constexpr size_t kJigsR = 72;
constexpr size_t kJigsB = 76;
constexpr size_t kLevel = 80;
constexpr size_t kRotate = 84;
constexpr size_t kBorderStyle = 85;
constexpr size_t kShapeStyle = 86;
constexpr size_t kSpreadOut = 87;
constexpr size_t kFitToScreen = 88;
constexpr size_t kPad89 = 89;
constexpr size_t kSideNum = 92;
constexpr size_t kSideInd = 96;
constexpr size_t kPackTag = 100;
constexpr size_t kReserved104 = 104;
constexpr size_t kThumbEnd = 108;
constexpr size_t kEnd = kThumbEnd + 3 * 4;
}  // namespace jig

static_assert(jig::kPad89 + 3 == jig::kSideNum, "padding fills the gap before SideNum");
static_assert(jig::kEnd == kJigParamsBytes, "JIG_P is 120 bytes");

// Offsets of the piece record.
namespace tile {
constexpr size_t kX = 0;
constexpr size_t kY = 4;
constexpr size_t kGroup = 8;
constexpr size_t kWin = 12;
constexpr size_t kRot = 13;
constexpr size_t kSel = 14;
constexpr size_t kPad15 = 15;
constexpr size_t kCellX = 16;
constexpr size_t kCellY = 20;
constexpr size_t kCellW = 24;
constexpr size_t kCellH = 28;
constexpr size_t kBoxX = 32;
constexpr size_t kBoxY = 36;
constexpr size_t kBoxW = 40;
constexpr size_t kBoxH = 44;
constexpr size_t kMapX = 48;
constexpr size_t kMapY = 52;
constexpr size_t kRotW = 56;
constexpr size_t kRotH = 60;
constexpr size_t kWoodSlot = 64;
constexpr size_t kWoodBit = 68;
constexpr size_t kCornerX2 = 72;
constexpr size_t kCornerY2 = 76;
constexpr size_t kCentreX = 80;
constexpr size_t kCentreY = 84;
constexpr size_t kArtistic = 88;
constexpr size_t kPad89 = 89;
constexpr size_t kNb = 90;
constexpr size_t kKey = kNb + kNeighbourSlots * 2;
constexpr size_t kKeyBit = 109;
constexpr size_t kPad110 = 110;
constexpr size_t kEnd = 112;
}  // namespace tile

static_assert(tile::kKey == 108, "the key follows the nine neighbour slots");
static_assert(tile::kPad110 + 2 == tile::kEnd, "two padding bytes close the record");
static_assert(tile::kEnd == kTileBytes, "TILE_P is 112 bytes");

}  // namespace

void EncodeJigParams(const JIG_P& p, uint8_t* out) {
  using namespace jig;
  PutI32(out + kGameSeed, p.GameSeed);
  PutI32(out + kMaskS, p.MaskS);
  PutI32(out + kTileS, p.TileS);
  PutI32(out + kKnobS, p.KnobS);
  PutI32(out + kSnapS, p.SnapS);
  PutI32(out + kTilePX, p.TilePX);
  PutI32(out + kTilePY, p.TilePY);
  PutI32(out + kTileNum, p.TileNum);
  PutI32(out + kPicPX, p.PicPX);
  PutI32(out + kPicPY, p.PicPY);
  PutI32(out + kPicNum, p.PicNum);
  PutI32(out + kTotalTileNum, p.TotalTileNum);
  PutI32(out + kImageW, p.ImageW);
  PutI32(out + kImageH, p.ImageH);
  PutI32(out + kFitImageW, p.FitImageW);
  PutI32(out + kFitImageH, p.FitImageH);
  PutI32(out + kJigsL, p.JigsL);
  PutI32(out + kJigsT, p.JigsT);
  PutI32(out + kJigsR, p.JigsR);
  PutI32(out + kJigsB, p.JigsB);
  PutI32(out + kLevel, p.Level);
  PutU8(out + kRotate, p.Rotate);
  PutU8(out + kBorderStyle, p.BorderStyle);
  PutU8(out + kShapeStyle, p.ShapeStyle);
  PutU8(out + kSpreadOut, p.SpreadOut);
  PutU8(out + kFitToScreen, p.FitToScreen);
  for (size_t i = 0; i < p.Pad89.size(); ++i) PutU8(out + kPad89 + i, p.Pad89[i]);
  PutI32(out + kSideNum, p.SideNum);
  PutI32(out + kSideInd, p.SideInd);
  PutI32(out + kPackTag, p.PackTag);
  PutI32(out + kReserved104, p.Reserved104);
  for (size_t i = 0; i < p.ThumbEnd.size(); ++i) PutI32(out + kThumbEnd + 4 * i, p.ThumbEnd[i]);
}

JIG_P DecodeJigParams(const uint8_t* in) {
  using namespace jig;
  JIG_P p;
  p.GameSeed = GetI32(in + kGameSeed);
  p.MaskS = GetI32(in + kMaskS);
  p.TileS = GetI32(in + kTileS);
  p.KnobS = GetI32(in + kKnobS);
  p.SnapS = GetI32(in + kSnapS);
  p.TilePX = GetI32(in + kTilePX);
  p.TilePY = GetI32(in + kTilePY);
  p.TileNum = GetI32(in + kTileNum);
  p.PicPX = GetI32(in + kPicPX);
  p.PicPY = GetI32(in + kPicPY);
  p.PicNum = GetI32(in + kPicNum);
  p.TotalTileNum = GetI32(in + kTotalTileNum);
  p.ImageW = GetI32(in + kImageW);
  p.ImageH = GetI32(in + kImageH);
  p.FitImageW = GetI32(in + kFitImageW);
  p.FitImageH = GetI32(in + kFitImageH);
  p.JigsL = GetI32(in + kJigsL);
  p.JigsT = GetI32(in + kJigsT);
  p.JigsR = GetI32(in + kJigsR);
  p.JigsB = GetI32(in + kJigsB);
  p.Level = GetI32(in + kLevel);
  p.Rotate = in[kRotate];
  p.BorderStyle = in[kBorderStyle];
  p.ShapeStyle = in[kShapeStyle];
  p.SpreadOut = in[kSpreadOut];
  p.FitToScreen = in[kFitToScreen];
  for (size_t i = 0; i < p.Pad89.size(); ++i) p.Pad89[i] = in[kPad89 + i];
  p.SideNum = GetI32(in + kSideNum);
  p.SideInd = GetI32(in + kSideInd);
  p.PackTag = GetI32(in + kPackTag);
  p.Reserved104 = GetI32(in + kReserved104);
  for (size_t i = 0; i < p.ThumbEnd.size(); ++i) p.ThumbEnd[i] = GetI32(in + kThumbEnd + 4 * i);
  return p;
}

void EncodeTile(const TILE_P& t, uint8_t* out) {
  using namespace tile;
  PutI32(out + kX, t.X);
  PutI32(out + kY, t.Y);
  PutI32(out + kGroup, t.Group);
  PutU8(out + kWin, t.Win);
  PutU8(out + kRot, t.Rot);
  PutU8(out + kSel, t.Sel);
  PutU8(out + kPad15, t.Pad15);
  PutI32(out + kCellX, t.CellX);
  PutI32(out + kCellY, t.CellY);
  PutI32(out + kCellW, t.CellW);
  PutI32(out + kCellH, t.CellH);
  PutI32(out + kBoxX, t.BoxX);
  PutI32(out + kBoxY, t.BoxY);
  PutI32(out + kBoxW, t.BoxW);
  PutI32(out + kBoxH, t.BoxH);
  PutI32(out + kMapX, t.MapX);
  PutI32(out + kMapY, t.MapY);
  PutI32(out + kRotW, t.RotW);
  PutI32(out + kRotH, t.RotH);
  PutI32(out + kWoodSlot, t.WoodSlot);
  PutI32(out + kWoodBit, t.WoodBit);
  PutI32(out + kCornerX2, t.CornerX2);
  PutI32(out + kCornerY2, t.CornerY2);
  PutI32(out + kCentreX, t.CentreX);
  PutI32(out + kCentreY, t.CentreY);
  PutU8(out + kArtistic, t.Artistic);
  PutU8(out + kPad89, t.Pad89);
  for (size_t i = 0; i < t.Nb.size(); ++i) PutI16(out + kNb + 2 * i, t.Nb[i]);
  PutU8(out + kKey, t.Key);
  PutU8(out + kKeyBit, t.KeyBit);
  for (size_t i = 0; i < t.Pad110.size(); ++i) PutU8(out + kPad110 + i, t.Pad110[i]);
}

TILE_P DecodeTile(const uint8_t* in) {
  using namespace tile;
  TILE_P t;
  t.X = GetI32(in + kX);
  t.Y = GetI32(in + kY);
  t.Group = GetI32(in + kGroup);
  t.Win = in[kWin];
  t.Rot = in[kRot];
  t.Sel = in[kSel];
  t.Pad15 = in[kPad15];
  t.CellX = GetI32(in + kCellX);
  t.CellY = GetI32(in + kCellY);
  t.CellW = GetI32(in + kCellW);
  t.CellH = GetI32(in + kCellH);
  t.BoxX = GetI32(in + kBoxX);
  t.BoxY = GetI32(in + kBoxY);
  t.BoxW = GetI32(in + kBoxW);
  t.BoxH = GetI32(in + kBoxH);
  t.MapX = GetI32(in + kMapX);
  t.MapY = GetI32(in + kMapY);
  t.RotW = GetI32(in + kRotW);
  t.RotH = GetI32(in + kRotH);
  t.WoodSlot = GetI32(in + kWoodSlot);
  t.WoodBit = GetI32(in + kWoodBit);
  t.CornerX2 = GetI32(in + kCornerX2);
  t.CornerY2 = GetI32(in + kCornerY2);
  t.CentreX = GetI32(in + kCentreX);
  t.CentreY = GetI32(in + kCentreY);
  t.Artistic = in[kArtistic];
  t.Pad89 = in[kPad89];
  for (size_t i = 0; i < t.Nb.size(); ++i) t.Nb[i] = GetI16(in + kNb + 2 * i);
  t.Key = in[kKey];
  t.KeyBit = in[kKeyBit];
  for (size_t i = 0; i < t.Pad110.size(); ++i) t.Pad110[i] = in[kPad110 + i];
  return t;
}

}  // namespace varlo
