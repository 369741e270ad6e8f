// Small jigsaws in memory for the play-field tests.
#include "play_jigsaw.h"

#include "play/play_options.h"

namespace varlo::testing {

namespace {
constexpr int32_t kFrame = 20;
}

void MakePlayJigsaw(Jigsaw& jig, const PlayJigsawSpec& spec) {
  jig = Jigsaw{};
  const int32_t off = spec.Border ? kFrame : 0;
  const int32_t iw = spec.Cols * spec.Cell + 2 * off, ih = spec.Rows * spec.Cell + 2 * off;
  JIG_P& j = jig.Jig;
  j.GameSeed = 1;
  j.TileS = spec.Cell;
  j.KnobS = spec.Knob;
  j.MaskS = spec.Cell + 2 * spec.Knob;
  j.SnapS = Max(spec.Knob / 2, 4);
  j.TilePX = spec.Cols;
  j.TilePY = spec.Rows;
  j.TileNum = spec.Cols * spec.Rows;
  j.TotalTileNum = j.TileNum + (spec.Border ? 1 : 0);
  j.ImageW = iw;
  j.ImageH = ih;
  j.JigsL = off;
  j.JigsT = off;
  j.JigsR = iw - off - 1;
  j.JigsB = ih - off - 1;
  j.Rotate = spec.Rotate ? 1 : 0;
  j.BorderStyle = spec.Border ? 1 : 0;
  j.ShapeStyle = 4;

  DIB_P& pic = jig.Images[kPictureSlot];
  DibCreate24(pic, iw, ih);
  for (int32_t y = 0; y < ih; ++y)
    for (int32_t x = 0; x < iw; ++x) {
      uint8_t* p = DibPixel(pic, x, y);
      p[0] = static_cast<uint8_t>(40 + x * 3);
      p[1] = static_cast<uint8_t>(60 + y * 5);
      p[2] = static_cast<uint8_t>(90 + (x ^ y));
    }

  const int32_t n = j.TotalTileNum;
  AllocPieces(jig, n + 1);
  jig.Tiles.resize(static_cast<size_t>(n));
  const int32_t border = spec.Border ? n - 1 : -1;
  auto keyOf = [&](int32_t i) { return static_cast<uint8_t>(i == border ? 255 : i % 250 + 1); };
  // Owner of each picture pixel: the cell, except where a tab of the left
  // or top neighbour reaches in.
  const int32_t c = spec.Cell, k = spec.Knob;
  const int32_t tabLo = c / 2 - 3, tabHi = c / 2 + 2;  // a 6-pixel tab centred on the edge
  auto owner = [&](int32_t x, int32_t y) -> int32_t {
    if (x < off || y < off || x >= iw - off || y >= ih - off) return border;
    const int32_t gx = (x - off) / c, gy = (y - off) / c;
    const int32_t lx = (x - off) % c, ly = (y - off) % c;
    if (gx > 0 && lx < k && ly >= tabLo && ly <= tabHi) return gy * spec.Cols + gx - 1;
    if (gy > 0 && ly < k && lx >= tabLo && lx <= tabHi) return (gy - 1) * spec.Cols + gx;
    return gy * spec.Cols + gx;
  };
  DIB_P& mask = jig.Images[kMaskSlot];
  DibCreate24(mask, iw + kMaskMargin, ih + kMaskMargin);
  for (int32_t y = 0; y < ih; ++y)
    for (int32_t x = 0; x < iw; ++x) {
      const int32_t o = owner(x, y);
      uint8_t* p = DibPixel(mask, x, y);
      p[0] = o >= 0 ? keyOf(o) : 0;
      p[1] = 0;
      p[2] = o >= 0 ? 128 : 0;
    }

  for (int32_t i = 0; i < j.TileNum; ++i) {
    TILE_P& t = jig.Tiles[i];
    const int32_t gx = i % spec.Cols, gy = i / spec.Cols;
    t.CellX = off + gx * c;
    t.CellY = off + gy * c;
    t.CellW = t.CellH = c;
    t.BoxX = t.CellX;
    t.BoxY = t.CellY;
    t.BoxW = c + (gx + 1 < spec.Cols ? k : 0);
    t.BoxH = c + (gy + 1 < spec.Rows ? k : 0);
    t.Key = keyOf(i);
    t.KeyBit = 1;
    t.Nb[0] = static_cast<int16_t>(gx > 0 ? i - 1 : border);
    t.Nb[1] = static_cast<int16_t>(gy > 0 ? i - spec.Cols : border);
    t.Nb[2] = static_cast<int16_t>(gx + 1 < spec.Cols ? i + 1 : border);
    t.Nb[3] = static_cast<int16_t>(gy + 1 < spec.Rows ? i + spec.Cols : border);
  }
  if (border >= 0) {
    TILE_P& b = jig.Tiles[border];
    b.BoxX = b.BoxY = 0;
    b.BoxW = iw;
    b.BoxH = ih;
    b.CellW = iw;
    b.CellH = ih;
    b.Key = 255;
  }
  for (int32_t i = 0; i < n; ++i) {
    TILE_P& t = jig.Tiles[i];
    t.Group = i;
    t.Win = 0;
    t.Rot = 0;
    PlaceRotated(jig, i);
    t.X = t.BoxX;
    t.Y = t.BoxY;
  }
  if (spec.Rotate) {
    NullProgress progress;
    MakeRotatedImages(jig, progress);
  }
  SortPieces(jig, false);
}

void OwnPoint(const Jigsaw& jig, int32_t i, int32_t& cx, int32_t& cy) {
  const TILE_P& t = jig.Tiles[i];
  const DIB_P& mask = jig.Images[kMaskSlot + (t.Rot & 3)];
  // The pixel of the piece nearest to its box's centre.
  int64_t best = -1;
  cx = t.X;
  cy = t.Y;
  const int32_t mx = t.RotW / 2, my = t.RotH / 2;
  for (int32_t y = 0; y < t.RotH; ++y)
    for (int32_t x = 0; x < t.RotW; ++x) {
      if (DibPixel(mask, t.MapX + x, t.MapY + y)[0] != t.Key) continue;
      const int64_t d = int64_t{x - mx} * (x - mx) + int64_t{y - my} * (y - my);
      if (best < 0 || d < best) {
        best = d;
        cx = t.X + x;
        cy = t.Y + y;
      }
    }
}

void MakeTestSkins(PlaySkins& skins) {
  DibCreate32(skins.Window, 390, 170);
  for (int32_t y = 0; y < 170; ++y)
    for (int32_t x = 0; x < 390; ++x) {
      uint8_t* p = DibPixel(skins.Window, x, y);
      p[0] = static_cast<uint8_t>(x);
      p[1] = static_cast<uint8_t>(y);
      p[2] = static_cast<uint8_t>(x < 103 ? 10 : (x < 206 ? 200 : 100));
      p[3] = 255;
    }
  DibCreate32(skins.Glass, 290, 189);
  for (int32_t y = 0; y < 189; ++y)
    for (int32_t x = 0; x < 290; ++x) {
      uint8_t* p = DibPixel(skins.Glass, x, y);
      p[0] = 30;
      p[1] = 30;
      p[2] = 30;
      // Only a ring of the corners is opaque: the outer 10 pixels.
      const bool corner = x < 189 && y < 189;
      const int32_t lx = x % 96, ly = y % 96;
      const bool ring = corner && (lx < 10 || ly < 10 || lx >= 83 || ly >= 83);
      p[3] = x >= 196 || ring ? 255 : 0;
    }
  DibCreate32(skins.Weight, 29, 37);
  DibFillRect(skins.Weight, 0, 0, 29, 37, 0x202020);
  for (int32_t y = 0; y < 37; ++y)
    for (int32_t x = 0; x < 29; ++x) DibPixel(skins.Weight, x, y)[3] = 255;
  DibCreate24(skins.Star, 5 * 24 - 1, 23);
  DibFillRect(skins.Star, 0, 0, skins.Star.Width, 23, 0xFFFFFF);
  for (int32_t f = 0; f < 5; ++f) DibFillRect(skins.Star, 24 * f + 8, 8, 7, 7, MakeRGB(255, 220, 0));
}

void DragPieceTo(PlayField& field, int32_t i, int32_t x, int32_t y) {
  const Jigsaw& jig = *field.Game();
  const TILE_P& t = jig.Tiles[i];
  const TMyWin& w = Probe(field).Wins()[t.Win];
  int32_t cx, cy;
  OwnPoint(jig, i, cx, cy);
  const int32_t gx = cx - t.X, gy = cy - t.Y;
  field.PointerDown(kMbLeft, 0, FieldX(w, cx), FieldY(w, cy));
  const TMyWin& cur = Probe(field).Wins()[field.Game()->Tiles[i].Win];
  field.PointerMove(kHeldLeft, 0, FieldX(cur, x + gx), FieldY(cur, y + gy));
  field.PointerUp(kMbLeft, 0, FieldX(cur, x + gx), FieldY(cur, y + gy));
}

}  // namespace varlo::testing
