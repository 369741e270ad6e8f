#include "cut/piece_mask.h"

#include <gtest/gtest.h>

#include "cut/cell_layout.h"
#include "support/fake_platform.h"
#include "ui/lang.h"

namespace varlo {
namespace {

constexpr uint32_t kA = PieceColour(25), kB = PieceColour(150), kW = kMaskWhite;

// A mask from rows of characters: 'A', 'B' piece colours, '.' white.
DIB_P FromRows(const std::vector<std::string>& rows) {
  DIB_P d;
  DibCreate24(d, static_cast<int32_t>(rows[0].size()), static_cast<int32_t>(rows.size()));
  for (size_t y = 0; y < rows.size(); ++y)
    for (size_t x = 0; x < rows[y].size(); ++x)
      DibSetPixel(d, int32_t(x), int32_t(y), rows[y][x] == 'A' ? kA : rows[y][x] == 'B' ? kB : kW);
  return d;
}
std::vector<std::string> ToRows(const DIB_P& d) {
  std::vector<std::string> rows;
  for (int32_t y = 0; y < d.Height; ++y) {
    std::string r;
    for (int32_t x = 0; x < d.Width; ++x) {
      const uint32_t c = static_cast<uint32_t>(DibGetPixel(d, x, y));
      r += c == kA ? 'A' : c == kB ? 'B' : c == kW ? '.' : '?';
    }
    rows.push_back(r);
  }
  return rows;
}
XRECT Whole(const DIB_P& d) {
  XRECT r;
  RectSetXYWH(r, 0, 0, d.Width, d.Height);
  return r;
}

TEST(PieceRectangle, PocketsGoToThePieceWithoutWideningIt) {
  DIB_P d = FromRows({
      "BBBBBBBB",
      "BAAAAABB",
      "BAA.AABB",  // enclosed on four sides: set, not counted
      "BAAAAABB",
      "BAA..ABB",  // a pocket touching the piece: filled whole
      "BAAAA.BB",  // a pocket at the piece's edge, also given to it
      "BBBBBBBB",
  });
  auto r = PieceRectangle(d, Whole(d), d.Width, d.Height, kA);
  ASSERT_TRUE(r.has_value());
  EXPECT_EQ(ToRows(d)[2], "BAAAAABB");
  EXPECT_EQ(ToRows(d)[4], "BAAAAABB");
  EXPECT_EQ(ToRows(d)[5], "BAAAAABB");
  EXPECT_EQ(r->Left, 1);
  EXPECT_EQ(r->Top, 1);
  EXPECT_EQ(r->Right, 5);
  EXPECT_EQ(r->Bottom, 5);

  // A white pixel inside the piece whose neighbours are all white is no
  // pocket at all, and neither are white pixels on the rectangle's rim.
  DIB_P e = FromRows({
      "A.A",
      "...",
      "A.A",
  });
  XRECT small = Whole(e);
  auto r2 = PieceRectangle(e, small, e.Width, e.Height, kA);
  ASSERT_TRUE(r2.has_value());
  EXPECT_EQ(ToRows(e), (std::vector<std::string>{"A.A", "...", "A.A"}));

  // Not found: nothing changes and no rectangle.
  DIB_P f = FromRows({"...", ".B.", "..."});
  EXPECT_FALSE(PieceRectangle(f, Whole(f), f.Width, f.Height, kA).has_value());
}

TEST(PieceRectangle, SearchIsClippedToThePicture) {
  DIB_P d = FromRows({"AAA.", "AAA.", "...."});
  XRECT wide;
  RectSetLTRB(wide, -50, -50, 500, 500);
  auto r = PieceRectangle(d, wide, 3, 2, kA);  // picture smaller than the mask
  ASSERT_TRUE(r.has_value());
  EXPECT_EQ(r->Width, 3);
  EXPECT_EQ(r->Height, 2);
}

TEST(FillPiece, OnlyFromWhite) {
  DIB_P d = FromRows({"..B..", "..B..", "..B.."});
  XRECT bounds;
  EXPECT_TRUE(FillPiece(d, 0, 0, kA, &bounds));
  EXPECT_EQ(bounds.Left, 0);
  EXPECT_EQ(bounds.Right, 1);
  EXPECT_EQ(bounds.Bottom, 2);
  EXPECT_EQ(ToRows(d)[1], "AAB..");
  EXPECT_FALSE(FillPiece(d, 2, 1, kA, nullptr));
  EXPECT_FALSE(FillPiece(d, 9, 9, kA, nullptr));
  EXPECT_EQ(ToRows(d)[1], "AAB..");
}

TEST(Despeckle, SpecksTakeTheirSurroundingsLinesSurvive) {
  DIB_P d = FromRows({
      "BBBBBBBBBB",
      "BBBBBBBBBB",
      "BBBBBBBBBB",
      "BBBBBBBBBB",
      "BBBBBBBBBB",
      "BBBBBBBBBB",
      "BBBBBBBBBB",
      "BBBBBBBBBB",
  });
  for (int32_t i = 0; i < 8; ++i) DibSetPixel(d, 1 + i, i, kA);  // a diagonal from top to bottom
  DibSetPixel(d, 1, 5, kA);                                       // a lone pixel
  Despeckle(d, 0, 0, d.Width - 1, d.Height - 1);
  const auto rows = ToRows(d);
  for (int32_t i = 0; i < 8; ++i) EXPECT_EQ(rows[i][1 + i], 'A') << i;
  EXPECT_EQ(rows[5][1], 'B');  // the lone pixel took its surroundings

  // On a side, a pixel that runs on into its next pixel while behind it and
  // inside it one colour lies takes that colour: a notch two pixels wide
  // loses its first pixel in the pass along the side.
  DIB_P n = FromRows({
      "AABBAAAA",
      "AAAAAAAA",
      "AAAAAAAA",
  });
  Despeckle(n, 0, 0, n.Width - 1, n.Height - 1);
  EXPECT_EQ(ToRows(n)[0], "AAABAAAA");
}

TEST(BorderPiece, AppendedWithTheOuterNeighbours) {
  JIG_P p;
  p.ImageW = 300;
  p.ImageH = 200;
  p.TilePX = 3;
  p.TilePY = 2;
  p.TileNum = 6;
  p.TotalTileNum = 6;
  std::vector<TILE_P> tiles(6);
  AddBorderPiece(p, tiles, true);
  EXPECT_EQ(p.TotalTileNum, 7);
  ASSERT_EQ(tiles.size(), 7u);
  EXPECT_EQ(tiles[6].Key, 5);
  EXPECT_EQ(tiles[6].KeyBit, 128);
  EXPECT_EQ(tiles[6].BoxW, 300);
  EXPECT_EQ(tiles[6].BoxH, 200);
  EXPECT_EQ(tiles[0].Nb[0], 6);
  EXPECT_EQ(tiles[0].Nb[1], 6);
  EXPECT_EQ(tiles[0].Nb[2], -1);
  EXPECT_EQ(tiles[4].Nb[3], 6);
  EXPECT_EQ(tiles[4].Nb[1], -1);
  EXPECT_EQ(tiles[5].Nb[2], 6);
}

TEST(ResetShading, KeepsOnlyTheKey) {
  DIB_P d;
  DibCreate24(d, 3, 2);
  DibSetPixel(d, 1, 1, MakeRGB(200, 7, 77));
  ResetShading(d);
  EXPECT_EQ(static_cast<uint32_t>(DibGetPixel(d, 1, 1)), MakeRGB(128, 0, 77));
  EXPECT_EQ(static_cast<uint32_t>(DibGetPixel(d, 0, 0)), MakeRGB(128, 0, 0));
}

TEST(PaintErrorReport, MessagesByCut) {
  LANG_P lang;
  lang.pItems.push_back({kLangMainForm, "MS_PaintError", "The picture could not be cut."});
  const std::string paintError = LangTextBr(lang, kLangMainForm, "MS_PaintError");
  PaintError err{true, 17, 123, 45};
  {
    testing::FakePlatform fake;
    ReportPaintError(fake.platform(), err, CutKind::Rectangular, paintError);
    ASSERT_EQ(fake.messages.size(), 2u);
    EXPECT_EQ(fake.messages[0].text, "PaintError: Ind = 17, CellX = 123, CellY = 45");
    EXPECT_EQ(fake.messages[1].text, "Jigsaw has not been cut properly! Please reopen the puzzle.");
  }
  {
    testing::FakePlatform fake;
    ReportPaintError(fake.platform(), err, CutKind::Irregular, paintError);
    ASSERT_EQ(fake.messages.size(), 2u);
    EXPECT_EQ(fake.messages[1].text, "The picture could not be cut.");
  }
  {
    testing::FakePlatform fake;
    ReportPaintError(fake.platform(), PaintError{}, CutKind::IrregularArtistic, paintError);
    ASSERT_EQ(fake.messages.size(), 1u);
    EXPECT_EQ(fake.messages[0].text, "The picture could not be cut.");
  }
  {
    testing::FakePlatform fake;
    ReportPaintError(fake.platform(), PaintError{}, CutKind::Rectangular, paintError);
    EXPECT_TRUE(fake.messages.empty());
  }
}

}  // namespace
}  // namespace varlo
