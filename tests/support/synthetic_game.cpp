// Made-up games for the file tests.
#include "support/synthetic_game.h"

#include <cstring>

#include "raster/byte_io.h"
#include "files/entry_coding.h"
#include "files/info_text.h"
#include "raster/picture_codecs.h"
#include "jigsaw/pieces.h"

namespace varlo::testing {

namespace {
uint32_t Next(uint32_t& s) { return (s = s * 134775813u + 1u) >> 8; }
}  // namespace

std::vector<uint8_t> BmpBytes(const DIB_P& d) {
  std::vector<uint8_t> out;
  DibSaveBmp(d, out, nullptr);
  return out;
}

void MakeSyntheticGame(SavedGame& g, const SyntheticGameSpec& spec) {
  g = SavedGame{};
  g.Name = spec.Name;
  JIG_P& j = g.Jig;
  j.GameSeed = spec.Seed;
  j.TilePX = spec.Cols;
  j.TilePY = spec.Rows;
  j.TileNum = spec.Cols * spec.Rows;
  j.TotalTileNum = j.TileNum;
  j.ImageW = spec.ImageW;
  j.ImageH = spec.ImageH;
  j.TileS = spec.ImageW / spec.Cols;
  j.KnobS = 3;
  j.MaskS = j.TileS + 6;
  j.SnapS = 4;
  j.JigsL = 0;
  j.JigsT = 0;
  j.JigsR = spec.ImageW - 1;
  j.JigsB = spec.ImageH - 1;
  j.Level = 3;
  j.Rotate = spec.Rotate ? 1 : 0;
  j.ShapeStyle = 4;
  j.PackTag = 'n';
  j.Pad89 = {1, 2, 3};  // padding travels as found
  j.Reserved104 = 0x01020304;
  j.ThumbEnd = {0, 1234, 0};

  DibCreate24(g.Picture, spec.ImageW, spec.ImageH);
  for (int32_t y = 0; y < spec.ImageH; ++y)
    for (int32_t x = 0; x < spec.ImageW; ++x) {
      uint8_t* p = DibPixel(g.Picture, x, y);
      p[0] = static_cast<uint8_t>(x * 7 + y);
      p[1] = static_cast<uint8_t>(y * 5);
      p[2] = static_cast<uint8_t>((x ^ y) * 3);
    }
  DibCreate24(g.Thumbnail, 48, 32);
  DibFillRect(g.Thumbnail, 0, 0, 48, 32, MakeRGB(200, 120, 40));

  const int32_t cw = spec.ImageW / spec.Cols, ch = spec.ImageH / spec.Rows;
  DibCreate24(g.Mask, spec.ImageW + 5, spec.ImageH + 5);
  for (int32_t y = 0; y < g.Mask.Height; ++y)
    for (int32_t x = 0; x < g.Mask.Width; ++x) {
      uint8_t* p = DibPixel(g.Mask, x, y);
      const bool inside = x < spec.ImageW && y < spec.ImageH;
      const int32_t cell = inside ? (y / ch) * spec.Cols + x / cw : -1;
      p[0] = inside ? static_cast<uint8_t>(cell % 250 + 1) : 0;
      p[1] = 0;
      p[2] = 128;
    }

  Jigsaw shape;
  shape.Jig = j;
  shape.Tiles.resize(static_cast<size_t>(j.TotalTileNum));
  uint32_t s = static_cast<uint32_t>(spec.Seed);
  for (int32_t i = 0; i < j.TotalTileNum; ++i) {
    TILE_P& t = shape.Tiles[i];
    const int32_t cx = i % spec.Cols, cy = i / spec.Cols;
    t.CellX = cx * cw;
    t.CellY = cy * ch;
    t.CellW = cw;
    t.CellH = ch;
    t.BoxX = t.CellX;
    t.BoxY = t.CellY;
    t.BoxW = cw;
    t.BoxH = ch;
    t.Group = i;
    t.Win = static_cast<uint8_t>(Next(s) % 6);
    t.Rot = spec.Rotate ? static_cast<uint8_t>(Next(s) % 4) : 0;
    t.X = static_cast<int32_t>(Next(s) % 1500) - 100;
    t.Y = static_cast<int32_t>(Next(s) % 900) - 50;
    t.Key = static_cast<uint8_t>(i % 250 + 1);
    t.KeyBit = static_cast<uint8_t>(1 << (i % 6));
    t.WoodSlot = i % 17;
    t.WoodBit = 1 << (i % 16);
    t.CentreX = t.CellX + cw / 2;
    t.CentreY = t.CellY + ch / 2;
    t.Nb[0] = static_cast<int16_t>(cx > 0 ? i - 1 : -1);
    t.Nb[1] = static_cast<int16_t>(cy > 0 ? i - spec.Cols : -1);
    t.Nb[2] = static_cast<int16_t>(cx + 1 < spec.Cols ? i + 1 : -1);
    t.Nb[3] = static_cast<int16_t>(cy + 1 < spec.Rows ? i + spec.Cols : -1);
    PlaceRotated(shape, i);
  }
  g.Pieces = shape.Tiles;
  g.Info = "A harbour at dawn.\r\nPhotograph: made up for the tests \xE2\x80\x94 caf\xC3\xA9.";
  g.Settings.lBkg = 0x336699;
  g.Settings.WinBkg = {0x989898, 12, 0x112233, 0x989898, 17, 0x00FF00};
  g.Settings.PlayOptions = {1, 4, 0, 4, 1, 0, 0, 1};
  for (int k = 0; k < kPocketCount; ++k) {
    PocketRecord& r = g.Pockets[k];
    r.Shown = k % 2;
    r.Left = 100 + 50 * k;
    r.Top = 80 + 10 * k;
    r.Right = r.Left + 299;
    r.Bottom = r.Top + 199;
    r.ScrollX = static_cast<int16_t>(k * 13);
    r.ScrollY = static_cast<int16_t>(k * 7);
  }
  g.Weighted = j.TotalTileNum > 2 ? 2 : -1;
  g.HasTrailer = true;
}

void PlayALittle(SavedGame& g, uint32_t seed) {
  uint32_t s = seed;
  for (TILE_P& t : g.Pieces) {
    t.X += static_cast<int32_t>(Next(s) % 40) - 20;
    t.Y += static_cast<int32_t>(Next(s) % 40) - 20;
  }
  if (g.Pieces.size() > 1) g.Pieces[1].Group = g.Pieces[0].Group;
  g.Pockets[0].Shown = !g.Pockets[0].Shown;
  g.Pockets[3].ScrollY = static_cast<int16_t>(g.Pockets[3].ScrollY + 20);
  g.Settings.lBkg = 0x445566;
  g.Weighted = -1;
}

std::vector<uint8_t> BuildRawSavedGame(const RawSavedGame& raw) {
  const size_t head = kSolveMagicBytes + 12;
  std::vector<uint8_t> out(head + raw.Name.size() + 1 + kJigParamsBytes, 0);
  std::memcpy(out.data(), kSolveMagic, kSolveMagicBytes);
  PutI32(out.data() + 11, raw.Jig.GameSeed);
  PutI32(out.data() + 19, raw.NameLength >= 0 ? raw.NameLength : static_cast<int32_t>(raw.Name.size() + 1));
  if (!raw.Name.empty()) std::memcpy(out.data() + head, raw.Name.data(), raw.Name.size());
  EncodeJigParams(raw.Jig, out.data() + head + raw.Name.size() + 1);
  AppendEntry(out, kThumbBaseByte, false, raw.Thumbnail.data(), raw.Thumbnail.size());
  AppendEntry(out, kSolvePictureByte, false, raw.Picture.data(), raw.Picture.size());
  AppendEntry(out, kSolveMaskByte, false, raw.Mask.data(), raw.Mask.size());
  AppendEntry(out, kSolveInfoByte, false, raw.Info.data(), raw.Info.size());
  PutI32(out.data() + 15, raw.StateOffset >= 0 ? raw.StateOffset : static_cast<int32_t>(out.size()));
  const std::vector<uint8_t> state = EncodeSolveState(raw.State);
  out.insert(out.end(), state.begin(), state.end());
  return out;
}

}  // namespace varlo::testing
