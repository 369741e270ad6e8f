// Byte layout of the jigsaw parameter block and the piece record as saved
// games store them.
#include "jigsaw/jig_params.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace varlo {
namespace {

struct FieldAt {
  const char* name;
  size_t offset;
  size_t size;      // 1, 2 or 4 bytes
  uint32_t value;   // as an unsigned pattern of that size
};

uint32_t ReadLE(const uint8_t* p, size_t size) {
  uint32_t v = 0;
  for (size_t i = 0; i < size; ++i) v |= static_cast<uint32_t>(p[i]) << (8 * i);
  return v;
}

// Every byte of the record must belong to exactly one field of the table.
void ExpectTableCoversRecord(const std::vector<FieldAt>& fields, size_t bytes) {
  std::vector<int> owners(bytes, 0);
  for (const FieldAt& f : fields) {
    ASSERT_LE(f.offset + f.size, bytes) << f.name;
    for (size_t i = 0; i < f.size; ++i) ++owners[f.offset + i];
  }
  for (size_t i = 0; i < bytes; ++i) EXPECT_EQ(owners[i], 1) << "byte " << i;
}

void ExpectBytes(const std::vector<FieldAt>& fields, const uint8_t* bytes) {
  for (const FieldAt& f : fields) {
    EXPECT_EQ(ReadLE(bytes + f.offset, f.size), f.value)
        << f.name << " at offset " << f.offset;
  }
}

JIG_P DistinctJig() {
  JIG_P p;
  p.GameSeed = static_cast<int32_t>(0x81020304u);  // top bit set: sign must survive
  p.MaskS = 0x11121314;
  p.TileS = 0x21222324;
  p.KnobS = 0x31323334;
  p.SnapS = 0x41424344;
  p.TilePX = 0x51525354;
  p.TilePY = 0x61626364;
  p.TileNum = 0x71727374;
  p.PicPX = 0x01112131;
  p.PicPY = 0x02122232;
  p.PicNum = 0x03132333;
  p.TotalTileNum = 0x04142434;
  p.ImageW = 0x05152535;
  p.ImageH = 0x06162636;
  p.FitImageW = 0x07172737;
  p.FitImageH = 0x08182838;
  p.JigsL = -2;
  p.JigsT = 0x0A1A2A3A;
  p.JigsR = 0x0B1B2B3B;
  p.JigsB = 0x0C1C2C3C;
  p.Level = 13;
  p.Rotate = 0xA1;
  p.BorderStyle = 0xA2;
  p.ShapeStyle = 0xA3;
  p.SpreadOut = 0xA4;
  p.FitToScreen = 0xA5;
  p.Pad89 = {0xB1, 0xB2, 0xB3};
  p.SideNum = 0x0D1D2D3D;
  p.SideInd = 0x0E1E2E3E;
  p.PackTag = 0x0F1F2F3F;
  p.Reserved104 = 0x10203040;
  p.ThumbEnd = {0x50607080, 0x11223344, 0x55667788};
  return p;
}

TEST(JigParamsLayout, EveryFieldAtItsOffset) {
  const std::vector<FieldAt> fields = {
      {"GameSeed", 0, 4, 0x81020304u}, {"MaskS", 4, 4, 0x11121314},
      {"TileS", 8, 4, 0x21222324},     {"KnobS", 12, 4, 0x31323334},
      {"SnapS", 16, 4, 0x41424344},    {"TilePX", 20, 4, 0x51525354},
      {"TilePY", 24, 4, 0x61626364},   {"TileNum", 28, 4, 0x71727374},
      {"PicPX", 32, 4, 0x01112131},    {"PicPY", 36, 4, 0x02122232},
      {"PicNum", 40, 4, 0x03132333},   {"TotalTileNum", 44, 4, 0x04142434},
      {"ImageW", 48, 4, 0x05152535},   {"ImageH", 52, 4, 0x06162636},
      {"FitImageW", 56, 4, 0x07172737}, {"FitImageH", 60, 4, 0x08182838},
      {"JigsL", 64, 4, 0xFFFFFFFEu},   {"JigsT", 68, 4, 0x0A1A2A3A},
      {"JigsR", 72, 4, 0x0B1B2B3B},    {"JigsB", 76, 4, 0x0C1C2C3C},
      {"Level", 80, 4, 13},            {"Rotate", 84, 1, 0xA1},
      {"BorderStyle", 85, 1, 0xA2},    {"ShapeStyle", 86, 1, 0xA3},
      {"SpreadOut", 87, 1, 0xA4},      {"FitToScreen", 88, 1, 0xA5},
      {"pad 89", 89, 1, 0xB1},         {"pad 90", 90, 1, 0xB2},
      {"pad 91", 91, 1, 0xB3},         {"SideNum", 92, 4, 0x0D1D2D3D},
      {"SideInd", 96, 4, 0x0E1E2E3E},  {"PackTag", 100, 4, 0x0F1F2F3F},
      {"reserved 104", 104, 4, 0x10203040}, {"ThumbEnd[0]", 108, 4, 0x50607080},
      {"ThumbEnd[1]", 112, 4, 0x11223344}, {"ThumbEnd[2]", 116, 4, 0x55667788},
  };
  ExpectTableCoversRecord(fields, kJigParamsBytes);

  std::array<uint8_t, kJigParamsBytes> bytes{};
  EncodeJigParams(DistinctJig(), bytes.data());
  ExpectBytes(fields, bytes.data());
  // Little-endian: the low byte first.
  EXPECT_EQ(bytes[0], 0x04);
  EXPECT_EQ(bytes[3], 0x81);

  EXPECT_EQ(DecodeJigParams(bytes.data()), DistinctJig());
}

TILE_P DistinctTile() {
  TILE_P t;
  t.X = -1234567;
  t.Y = 0x01020304;
  t.Group = 0x05060708;
  t.Win = 0xC1;
  t.Rot = 0xC2;
  t.Sel = 0xC3;
  t.Pad15 = 0xC4;
  t.CellX = 0x11111111;
  t.CellY = 0x12121212;
  t.CellW = 0x13131313;
  t.CellH = 0x14141414;
  t.BoxX = 0x21212121;
  t.BoxY = 0x22222222;
  t.BoxW = 0x23232323;
  t.BoxH = 0x24242424;
  t.MapX = 0x31313131;
  t.MapY = 0x32323232;
  t.RotW = 0x33333333;
  t.RotH = 0x34343434;
  t.WoodSlot = 0x41414141;
  t.WoodBit = 0x42424242;
  t.CornerX2 = 0x43434343;
  t.CornerY2 = 0x44444444;
  t.CentreX = 0x51515151;
  t.CentreY = 0x52525252;
  t.Artistic = 0xD1;
  t.Pad89 = 0xD2;
  for (int k = 0; k < kNeighbourSlots; ++k) t.Nb[k] = static_cast<int16_t>(0x6100 + k);
  t.Nb[8] = -1;
  t.Key = 0xE1;
  t.KeyBit = 0xE2;
  t.Pad110 = {0xF1, 0xF2};
  return t;
}

TEST(TileLayout, EveryFieldAtItsOffset) {
  std::vector<FieldAt> fields = {
      {"X", 0, 4, static_cast<uint32_t>(-1234567)}, {"Y", 4, 4, 0x01020304},
      {"Group", 8, 4, 0x05060708},  {"Win", 12, 1, 0xC1},
      {"Rot", 13, 1, 0xC2},         {"Sel", 14, 1, 0xC3},
      {"pad 15", 15, 1, 0xC4},      {"CellX", 16, 4, 0x11111111},
      {"CellY", 20, 4, 0x12121212}, {"CellW", 24, 4, 0x13131313},
      {"CellH", 28, 4, 0x14141414}, {"BoxX", 32, 4, 0x21212121},
      {"BoxY", 36, 4, 0x22222222},  {"BoxW", 40, 4, 0x23232323},
      {"BoxH", 44, 4, 0x24242424},  {"MapX", 48, 4, 0x31313131},
      {"MapY", 52, 4, 0x32323232},  {"RotW", 56, 4, 0x33333333},
      {"RotH", 60, 4, 0x34343434},  {"WoodSlot", 64, 4, 0x41414141},
      {"WoodBit", 68, 4, 0x42424242}, {"corner x2", 72, 4, 0x43434343},
      {"corner y2", 76, 4, 0x44444444}, {"CentreX", 80, 4, 0x51515151},
      {"CentreY", 84, 4, 0x52525252}, {"Artistic", 88, 1, 0xD1},
      {"pad 89", 89, 1, 0xD2},      {"Key", 108, 1, 0xE1},
      {"KeyBit", 109, 1, 0xE2},     {"pad 110", 110, 1, 0xF1},
      {"pad 111", 111, 1, 0xF2},
  };
  static const char* const kNb[] = {"Nb[0]", "Nb[1]", "Nb[2]", "Nb[3]", "Nb[4]",
                                    "Nb[5]", "Nb[6]", "Nb[7]", "Nb[8]"};
  for (int k = 0; k < kNeighbourSlots; ++k) {
    fields.push_back({kNb[k], 90 + 2 * static_cast<size_t>(k), 2,
                      k == 8 ? 0xFFFFu : static_cast<uint32_t>(0x6100 + k)});
  }
  ExpectTableCoversRecord(fields, kTileBytes);

  std::array<uint8_t, kTileBytes> bytes{};
  EncodeTile(DistinctTile(), bytes.data());
  ExpectBytes(fields, bytes.data());
  EXPECT_EQ(DecodeTile(bytes.data()), DistinctTile());
}

// Whatever a saved game holds, padding and reserved bytes included, comes
// back unchanged when the record is decoded and written again.
TEST(RecordLayout, ArbitraryBytesSurviveDecodeAndEncode) {
  uint32_t seed = 12345;
  auto next = [&seed] {
    seed = seed * 1103515245u + 12345u;
    return static_cast<uint8_t>(seed >> 23);
  };
  for (int round = 0; round < 20; ++round) {
    std::array<uint8_t, kJigParamsBytes> jig{};
    std::array<uint8_t, kTileBytes> tile{};
    for (uint8_t& b : jig) b = next();
    for (uint8_t& b : tile) b = next();

    std::array<uint8_t, kJigParamsBytes> jigAgain{};
    std::array<uint8_t, kTileBytes> tileAgain{};
    EncodeJigParams(DecodeJigParams(jig.data()), jigAgain.data());
    EncodeTile(DecodeTile(tile.data()), tileAgain.data());
    EXPECT_EQ(jigAgain, jig) << "round " << round;
    EXPECT_EQ(tileAgain, tile) << "round " << round;
  }
}

}  // namespace
}  // namespace varlo
