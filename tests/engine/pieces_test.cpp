// The piece table: sorting, turned boxes against really turned images,
// placement of a new game, stacking order and the solved counts.
#include "jigsaw/pieces.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <set>
#include <string>
#include <vector>

#include "support/counting_progress.h"

namespace varlo {
namespace {

uint32_t MaskColour(int32_t key) { return MakeRGB(128, 0, static_cast<uint32_t>(key)); }
uint32_t PictureColour(int32_t k) { return MakeRGB(10 + 20 * static_cast<uint32_t>(k), 77, 200); }

using testing::CountingProgress;

// A jigsaw whose pieces are the cells of an uneven grid over a w x h
// picture (cut at xs / ys), optionally with a border piece at the end. The
// picture and the mask colour every cell with its piece's own colour, the
// mask with its black margin.
Jigsaw MakeGridJigsaw(int32_t w, int32_t h, const std::vector<int32_t>& xs,
                      const std::vector<int32_t>& ys, bool border = false) {
  Jigsaw jig;
  const int32_t cols = static_cast<int32_t>(xs.size()) + 1;
  const int32_t rows = static_cast<int32_t>(ys.size()) + 1;
  const int32_t cells = cols * rows;
  const int32_t n = cells + (border ? 1 : 0);
  jig.Jig.ImageW = w;
  jig.Jig.ImageH = h;
  jig.Jig.TilePX = cols;
  jig.Jig.TilePY = rows;
  jig.Jig.TileNum = cells;
  jig.Jig.TotalTileNum = n;
  jig.Jig.TileS = 12;
  jig.Jig.KnobS = 3;
  jig.Jig.MaskS = 18;
  jig.Jig.BorderStyle = border ? 1 : 0;
  EXPECT_TRUE(AllocPieces(jig, n + 1));
  EXPECT_TRUE(DibCreate24(jig.Images[kPictureSlot], w, h));
  EXPECT_TRUE(DibCreate24(jig.Images[kMaskSlot], w + kMaskMargin, h + kMaskMargin));
  std::vector<int32_t> cx = {0};
  cx.insert(cx.end(), xs.begin(), xs.end());
  cx.push_back(w);
  std::vector<int32_t> cy = {0};
  cy.insert(cy.end(), ys.begin(), ys.end());
  cy.push_back(h);
  for (int32_t k = 0; k < cells; ++k) {
    TILE_P& t = jig.Tiles[k];
    const int32_t c = k % cols, r = k / cols;
    t.BoxX = cx[c];
    t.BoxY = cy[r];
    t.BoxW = cx[c + 1] - cx[c];
    t.BoxH = cy[r + 1] - cy[r];
    t.Key = static_cast<uint8_t>(k + 1);
    t.Group = k;
    DibFillRect(jig.Images[kPictureSlot], t.BoxX, t.BoxY, t.BoxW, t.BoxH, PictureColour(k));
    DibFillRect(jig.Images[kMaskSlot], t.BoxX, t.BoxY, t.BoxW, t.BoxH, MaskColour(t.Key));
  }
  if (border) {
    TILE_P& b = jig.Tiles[cells];
    b.BoxW = w;
    b.BoxH = h;
    b.Key = 5;
    b.Group = cells;
  }
  for (int32_t k = 0; k < n; ++k) PlaceRotated(jig, k);
  return jig;
}

// A table of n pieces without images, keys as given (or 0..n-1).
Jigsaw MakeKeyedJigsaw(const std::vector<int32_t>& keys) {
  Jigsaw jig;
  const int32_t n = static_cast<int32_t>(keys.size());
  jig.Jig.TotalTileNum = n;
  EXPECT_TRUE(AllocPieces(jig, n + 1));
  for (int32_t k = 0; k < n; ++k) jig.Tiles[k].Group = keys[k];
  return jig;
}

std::vector<int32_t> Keys(const Jigsaw& jig) {
  std::vector<int32_t> keys;
  for (int32_t k = 0; k < PieceCount(jig); ++k) keys.push_back(jig.Tiles[k].Group);
  return keys;
}

// Bounding box of one colour in a bitmap, as (x, y, w, h); w = 0 if absent.
TurnedBox BoundsOf(const DIB_P& d, uint32_t colour) {
  int32_t l = INT_MAX, t = INT_MAX, r = -1, b = -1;
  for (int32_t y = 0; y < d.Height; ++y) {
    for (int32_t x = 0; x < d.Width; ++x) {
      if (DibGetPixel(d, x, y) != static_cast<int32_t>(colour)) continue;
      l = std::min(l, x);
      t = std::min(t, y);
      r = std::max(r, x);
      b = std::max(b, y);
    }
  }
  if (r < 0) return {0, 0, 0, 0};
  return {l, t, r - l + 1, b - t + 1};
}

void ExpectSortedAscending(const Jigsaw& jig) {
  ASSERT_EQ(static_cast<int32_t>(jig.Sort.size()), PieceCount(jig));
  for (size_t p = 0; p < jig.Sort.size(); ++p) {
    EXPECT_EQ(jig.Sort[p].Key, jig.Tiles[jig.Sort[p].Index].Group);
    if (p > 0) {
      EXPECT_LE(jig.Sort[p - 1].Key, jig.Sort[p].Key);
    }
  }
}

// ---- the table and its sorting ----

TEST(PieceTable, AllocRefusesImpossibleCountsAndCountIsLimitedToTheTable) {
  Jigsaw jig;
  EXPECT_FALSE(AllocPieces(jig, -1));
  EXPECT_FALSE(AllocPieces(jig, kMaxPieceSlots + 1));
  EXPECT_TRUE(jig.Tiles.empty());
  EXPECT_TRUE(AllocPieces(jig, 0));

  // A count larger than the table (a damaged file) never reaches past it.
  ASSERT_TRUE(AllocPieces(jig, 3));
  jig.Jig.TotalTileNum = 1000;
  EXPECT_EQ(PieceCount(jig), 3);
  SortPieces(jig, false);
  EXPECT_EQ(jig.Sort.size(), 3u);
  PlaceRotated(jig, 3);
  PlaceRotated(jig, -1);
  BringToFront(jig, 5, -1);
  WeightToBack(jig, 7);
  jig.Jig.TotalTileNum = -4;
  EXPECT_EQ(PieceCount(jig), 0);
  EXPECT_EQ(SolvedStats(jig, false), (SolvedCounts{-1, -1}));
}

TEST(PieceTable, SortOrdersByKeyThenIndexAndDescendingIsTheReverse) {
  Jigsaw jig = MakeKeyedJigsaw({3, 1, 3, 0, 1, 2});
  SortPieces(jig, false);
  const std::vector<SortEntry> up = {{0, 3}, {1, 1}, {1, 4}, {2, 5}, {3, 0}, {3, 2}};
  EXPECT_EQ(jig.Sort, up);
  SortPieces(jig, true);
  std::vector<SortEntry> down(up.rbegin(), up.rend());
  EXPECT_EQ(jig.Sort, down);
}

// ---- turned boxes ----

// For every turn, the turned box of each piece must be exactly where its
// colour lies in the really turned mask, and in the turned picture.
TEST(TurnedBox, MatchesTheTurnedMaskAndPictureForAllFourTurns) {
  Jigsaw jig = MakeGridJigsaw(41, 30, {13, 29}, {11});
  jig.Jig.Rotate = 1;
  CountingProgress progress;
  ASSERT_TRUE(MakeRotatedImages(jig, progress));
  EXPECT_EQ(progress.steps, 6);
  for (int r = 0; r < 4; ++r) {
    const DIB_P& mask = jig.Images[kMaskSlot + r];
    const DIB_P& pic = jig.Images[kPictureSlot + r];
    const bool odd = (r & 1) != 0;
    EXPECT_EQ(mask.Width, (odd ? 30 : 41) + kMaskMargin) << "turn " << r;
    EXPECT_EQ(pic.Width, odd ? 30 : 41) << "turn " << r;
    for (int32_t k = 0; k < PieceCount(jig); ++k) {
      TILE_P& t = jig.Tiles[k];
      t.Rot = static_cast<uint8_t>(r);
      PlaceRotated(jig, k);
      const TurnedBox placed{t.MapX, t.MapY, t.RotW, t.RotH};
      EXPECT_EQ(placed, BoundsOf(mask, MaskColour(t.Key))) << "turn " << r << " piece " << k;
      EXPECT_EQ(placed, BoundsOf(pic, PictureColour(k))) << "turn " << r << " piece " << k;
      EXPECT_EQ(TurnedBoxFor(jig, t, r), placed);
    }
  }
  // The piece at the picture's top-left corner turned twice sits at the
  // turned picture's bottom-right corner.
  TILE_P& corner = jig.Tiles[0];
  corner.Rot = 2;
  PlaceRotated(jig, 0);
  EXPECT_EQ(corner.MapX + corner.RotW, 41);
  EXPECT_EQ(corner.MapY + corner.RotH, 30);
}

TEST(TurnedBox, WithoutTurnedMasksTheSizeComesFromThePicture) {
  Jigsaw turned = MakeGridJigsaw(41, 30, {13}, {11});
  turned.Jig.Rotate = 1;
  CountingProgress progress;
  ASSERT_TRUE(MakeRotatedImages(turned, progress));
  Jigsaw plain = MakeGridJigsaw(41, 30, {13}, {11});
  for (int r = 0; r < 4; ++r) {
    for (int32_t k = 0; k < PieceCount(plain); ++k) {
      EXPECT_EQ(TurnedBoxFor(plain, plain.Tiles[k], r), TurnedBoxFor(turned, turned.Tiles[k], r));
    }
  }
}

TEST(TurnedImages, WithoutRotationTheTurnedSlotsAreFreedAndNoStepsTaken) {
  Jigsaw jig = MakeGridJigsaw(20, 10, {7}, {});
  jig.Jig.Rotate = 1;
  CountingProgress progress;
  ASSERT_TRUE(MakeRotatedImages(jig, progress));
  jig.Jig.Rotate = 0;
  progress.steps = 0;
  ASSERT_TRUE(MakeRotatedImages(jig, progress));
  EXPECT_EQ(progress.steps, 0);
  for (int r = 1; r < 4; ++r) {
    EXPECT_EQ(jig.Images[kPictureSlot + r].Width, 0);
    EXPECT_EQ(jig.Images[kMaskSlot + r].Width, 0);
  }
  EXPECT_EQ(jig.Images[kPictureSlot].Width, 20);
  EXPECT_EQ(jig.Images[kMaskSlot].Width, 25);
}

TEST(TurnedImages, MissingMaskFailsAndLeavesNoHalfTurnedSlots) {
  Jigsaw jig = MakeGridJigsaw(20, 10, {7}, {});
  jig.Jig.Rotate = 1;
  DibFree(jig.Images[kMaskSlot]);
  CountingProgress progress;
  EXPECT_FALSE(MakeRotatedImages(jig, progress));
  for (int r = 1; r < 4; ++r) {
    EXPECT_EQ(jig.Images[kPictureSlot + r].Width, 0);
    EXPECT_EQ(jig.Images[kMaskSlot + r].Width, 0);
  }
}

// ---- a new game ----

TEST(NewGame, TwoByTwoStartsWithOwnGroupsOnSideZeroAndNothingSolved) {
  Jigsaw jig = MakeGridJigsaw(40, 30, {20}, {15});
  jig.Tiles[2].Win = 3;
  jig.Tiles[1].Sel = 1;
  jig.Tiles[3].Group = 0;
  RandomGenerator random(99);
  NullProgress progress;
  ASSERT_TRUE(SetupNewGame(jig, {400, 300, 500, 400}, random, progress));
  EXPECT_EQ(Keys(jig), (std::vector<int32_t>{0, 1, 2, 3}));
  for (int32_t k = 0; k < 4; ++k) {
    const TILE_P& t = jig.Tiles[k];
    EXPECT_EQ(t.Win, 0);
    EXPECT_EQ(t.Rot, 0);
    EXPECT_EQ(t.Sel, 0);
  }
  ExpectSortedAscending(jig);
  EXPECT_EQ(SolvedStats(jig, false), (SolvedCounts{4, 0}));
}

// The draws of a new game: one turn per piece in index order (the border
// piece too), then x and y of every loose piece except the border piece.
TEST(NewGame, TurnsThenScatterDrawInTheirOrderAndTheBorderIsCentred) {
  Jigsaw jig = MakeGridJigsaw(40, 30, {13, 27}, {11}, /*border=*/true);
  jig.Jig.Rotate = 1;
  jig.Jig.SpreadOut = 0;
  const PlayArea area{600, 400, 800, 600};
  RandomGenerator random(20240611);
  NullProgress progress;
  ASSERT_TRUE(SetupNewGame(jig, area, random, progress));

  RandomGenerator hand(20240611);
  const int32_t n = PieceCount(jig);
  ASSERT_EQ(n, 7);
  std::vector<int> turns;
  for (int32_t k = 0; k < n; ++k) turns.push_back(hand.Random(4));
  const int32_t m = jig.Jig.KnobS, s = jig.Jig.TileS;
  for (int32_t k = 0; k < n - 1; ++k) {
    const TILE_P& t = jig.Tiles[k];
    EXPECT_EQ(t.Rot, turns[k]) << "piece " << k;
    const int32_t x = hand.Random(600 - 4 * m - s) + m;
    const int32_t y = hand.Random(400 - 4 * m - s) + m;
    EXPECT_EQ(t.X, x) << "piece " << k;
    EXPECT_EQ(t.Y, y) << "piece " << k;
    EXPECT_EQ(TurnedBoxFor(jig, t, t.Rot), (TurnedBox{t.MapX, t.MapY, t.RotW, t.RotH}));
  }
  EXPECT_EQ(random.Seed(), hand.Seed());

  const TILE_P& border = jig.Tiles[n - 1];
  EXPECT_EQ(border.Rot, 0);
  EXPECT_EQ(border.X, (600 - 40) / 2);
  EXPECT_EQ(border.Y, (400 - 30) / 2);
  EXPECT_EQ(border.RotW, 40);

  // The same seed gives the same game.
  Jigsaw again = MakeGridJigsaw(40, 30, {13, 27}, {11}, true);
  again.Jig.Rotate = 1;
  RandomGenerator random2(20240611);
  ASSERT_TRUE(SetupNewGame(again, area, random2, progress));
  for (int32_t k = 0; k < n; ++k) {
    EXPECT_EQ(again.Tiles[k].X, jig.Tiles[k].X);
    EXPECT_EQ(again.Tiles[k].Y, jig.Tiles[k].Y);
    EXPECT_EQ(again.Tiles[k].Rot, jig.Tiles[k].Rot);
  }
}

TEST(NewGame, BorderLargerThanTheSideIsCentredAtNegativeCoordinates) {
  Jigsaw jig = MakeGridJigsaw(41, 33, {20}, {}, /*border=*/true);
  jig.Jig.SpreadOut = 1;
  RandomGenerator random(5);
  NullProgress progress;
  ASSERT_TRUE(SetupNewGame(jig, {30, 20, 30, 20}, random, progress));
  const TILE_P& border = jig.Tiles[2];
  EXPECT_EQ(border.X, -5);  // (30 - 41) div 2, truncated toward zero
  EXPECT_EQ(border.Y, -6);  // (20 - 33) div 2
}

// ---- spreading ----

TEST(Spread, ShuffledGridPositions) {
  Jigsaw jig = MakeKeyedJigsaw({0, 1, 2, 3, 4, 5});
  jig.Jig.KnobS = 10;
  jig.Jig.TileS = 40;
  RandomGenerator random(777);
  // 6 * 900 div 600 = 9: three columns, two rows.
  SpreadPieces(jig, 0, true, {600, 400, 900, 600}, random);

  RandomGenerator hand(777);
  std::vector<int32_t> order = {0, 1, 2, 3, 4, 5};
  for (int32_t j = 0; j < 6; ++j) std::swap(order[j], order[hand.Random(6)]);
  const int32_t xs[] = {10, 203, 396};  // j mod 3 * 580 div 3 + 10
  const int32_t ys[] = {10, 200};       // j div 3 * 380 div 2 + 10
  for (int32_t j = 0; j < 6; ++j) {
    EXPECT_EQ(jig.Tiles[order[j]].X, xs[j % 3]) << "cell " << j;
    EXPECT_EQ(jig.Tiles[order[j]].Y, ys[j / 3]) << "cell " << j;
  }
  EXPECT_EQ(random.Seed(), hand.Seed());
}

// The grid shape for several counts and field shapes, seen through the
// positions: the distinct columns, the distinct rows and the row pitch.
TEST(Spread, GridShapeKeepsEveryPieceInsideTheGrid) {
  struct Case {
    int32_t n, fw, fh;
    int32_t cols, rows;  // rows of the grid (the pitch divides by this)
    int32_t usedRows;
  };
  const Case cases[] = {
      {6, 900, 600, 3, 2, 2},
      {5, 500, 500, 2, 3, 3},    // 2 x 2 short of one: a row more
      {7, 900, 700, 4, 2, 2},    // 3 x 2 short of one: a column more
      {14, 1920, 1000, 6, 3, 3},  // 5 x 2, a column more is still short: a row more
      {1000, 1920, 1000, 45, 23, 23},
      {1, 300, 900, 1, 1, 1},    // 1 * 300 div 900 = 0: still one column
      {2, 1000, 100, 2, 1, 1},   // more columns than pieces: one row
      {4, 0, 0, 2, 2, 2},        // no field size yet: a square grid
  };
  for (const Case& c : cases) {
    std::vector<int32_t> keys(static_cast<size_t>(c.n));
    for (int32_t k = 0; k < c.n; ++k) keys[k] = k;
    Jigsaw jig = MakeKeyedJigsaw(keys);
    jig.Jig.KnobS = 10;
    RandomGenerator random(1);
    const int32_t cw = 2000, ch = 1000;
    SpreadPieces(jig, 0, true, {cw, ch, c.fw, c.fh}, random);
    std::set<int32_t> xs, ys;
    for (int32_t k = 0; k < c.n; ++k) {
      const TILE_P& t = jig.Tiles[k];
      xs.insert(t.X);
      ys.insert(t.Y);
      EXPECT_GE(t.X, 10);
      EXPECT_LT(t.Y, ch - 10) << "n " << c.n << ": a piece on the bottom edge";
    }
    EXPECT_EQ(static_cast<int32_t>(xs.size()), std::min(c.cols, c.n)) << "n " << c.n;
    // The last column used tells the column pitch.
    const int32_t lastCol = std::min(c.cols, c.n) - 1;
    EXPECT_EQ(*xs.rbegin(), lastCol * (cw - 20) / c.cols + 10) << "n " << c.n;
    EXPECT_EQ(static_cast<int32_t>(ys.size()), c.usedRows) << "n " << c.n;
    if (ys.size() > 1) {
      EXPECT_EQ(*std::next(ys.begin()) - *ys.begin(), (ch - 20) / c.rows) << "n " << c.n;
    }
  }
}

// Large pieces on a side without scroll bars (the picture fitted to the
// field): every piece ends inside the side. Pieces that fit side by side
// do not overlap; those that do not fit overlap, all by the same step.
TEST(Spread, LargePiecesStayInsideTheSideAndOverlapOnlyEvenly) {
  struct Case {
    const char* what;
    int32_t n, pieceW, pieceH, cw, ch;
    bool fitX, fitY;
  };
  const Case cases[] = {
      {"too wide and too high for the grid", 24, 400, 300, 1920, 1080, false, false},
      {"fit side by side once the margins go", 6, 290, 290, 900, 600, true, true},
      {"one row too wide", 5, 300, 100, 1000, 400, false, true},
      {"small pieces keep the grid", 12, 40, 40, 1920, 1080, true, true},
  };
  for (const Case& c : cases) {
    std::vector<int32_t> keys(static_cast<size_t>(c.n));
    for (int32_t k = 0; k < c.n; ++k) keys[k] = k;
    Jigsaw jig = MakeKeyedJigsaw(keys);
    jig.Jig.KnobS = 30;
    jig.Jig.TileS = 100;
    for (TILE_P& t : jig.Tiles) {
      t.RotW = c.pieceW;
      t.RotH = c.pieceH;
    }
    RandomGenerator random(5);
    SpreadPieces(jig, 0, true, {c.cw, c.ch, c.cw, c.ch}, random);
    std::set<int32_t> xs, ys;
    for (int32_t k = 0; k < c.n; ++k) {
      const TILE_P& t = jig.Tiles[k];
      EXPECT_GE(t.X, 0) << c.what;
      EXPECT_GE(t.Y, 0) << c.what;
      EXPECT_LE(t.X + t.RotW, c.cw) << c.what;
      EXPECT_LE(t.Y + t.RotH, c.ch) << c.what;
      xs.insert(t.X);
      ys.insert(t.Y);
    }
    auto check = [&](const std::set<int32_t>& at, int32_t size, bool fits, const char* axis) {
      const std::vector<int32_t> v(at.begin(), at.end());
      int32_t lo = INT_MAX, hi = 0;
      for (size_t k = 1; k < v.size(); ++k) {
        lo = std::min(lo, v[k] - v[k - 1]);
        hi = std::max(hi, v[k] - v[k - 1]);
      }
      if (v.size() < 2) return;
      if (fits) {
        EXPECT_GE(lo, size) << c.what << ": " << axis << " overlap although the pieces fit";
      } else {
        EXPECT_LE(hi - lo, 1) << c.what << ": " << axis << " steps are uneven";
      }
    };
    check(xs, c.pieceW, c.fitX, "columns");
    check(ys, c.pieceH, c.fitY, "rows");
  }
}

TEST(Spread, OnlyLoosePiecesOfTheWindowMove) {
  Jigsaw jig = MakeKeyedJigsaw({0, 0, 2, 3, 4, 5});
  jig.Jig.KnobS = 10;
  jig.Jig.TileS = 40;
  jig.Tiles[3].Win = 1;
  for (TILE_P& t : jig.Tiles) t.X = t.Y = -77;
  RandomGenerator random(3);
  SpreadPieces(jig, 0, false, {600, 400, 600, 400}, random);
  EXPECT_EQ(jig.Tiles[0].X, -77);  // joined pair
  EXPECT_EQ(jig.Tiles[1].X, -77);
  EXPECT_EQ(jig.Tiles[3].X, -77);  // other window
  // Three loose pieces scattered in index order: two draws each.
  RandomGenerator hand(3);
  for (int32_t k : {2, 4, 5}) {
    EXPECT_EQ(jig.Tiles[k].X, hand.Random(600 - 40 - 40) + 10) << k;
    EXPECT_EQ(jig.Tiles[k].Y, hand.Random(400 - 40 - 40) + 10) << k;
  }

  // Nothing loose: nothing drawn.
  Jigsaw joined = MakeKeyedJigsaw({1, 1});
  RandomGenerator untouched(3);
  SpreadPieces(joined, 0, true, {600, 400, 600, 400}, untouched);
  EXPECT_EQ(untouched.Seed(), 3u);
}

// A side too small for the margins: the draws are still made, and the
// pieces stay on the side instead of going to negative or far positions.
TEST(Spread, TinySideKeepsPiecesOnTheSide) {
  for (const bool grid : {false, true}) {
    for (const PlayArea area : {PlayArea{30, 20, 30, 20}, PlayArea{0, 0, 0, 0}}) {
      Jigsaw jig = MakeKeyedJigsaw({0, 1, 2});
      jig.Jig.KnobS = 12;
      jig.Jig.TileS = 40;
      for (TILE_P& t : jig.Tiles) t.RotW = t.RotH = 8;
      RandomGenerator random(11);
      SpreadPieces(jig, 0, grid, area, random);
      for (int32_t k = 0; k < 3; ++k) {
        const TILE_P& t = jig.Tiles[k];
        EXPECT_GE(t.X, 0);
        EXPECT_GE(t.Y, 0);
        EXPECT_LE(t.X, std::max(0, area.ContentW - t.RotW)) << "grid " << grid;
        EXPECT_LE(t.Y, std::max(0, area.ContentH - t.RotH)) << "grid " << grid;
      }
      RandomGenerator hand(11);
      for (int d = 0; d < (grid ? 3 : 6); ++d) hand.Random(1);
      EXPECT_EQ(random.Seed(), hand.Seed()) << "grid " << grid;
    }
  }
}

// ---- stacking order ----

TEST(Stacking, BringToFront) {
  struct Case {
    const char* what;
    std::vector<int32_t> keys;
    int32_t piece, weighted;
    std::vector<int32_t> expected;
  };
  const Case cases[] = {
      {"top group of a fresh game", {0, 1, 2, 3, 4}, 4, -1, {0, 1, 2, 3, 4}},
      {"middle piece", {0, 1, 2, 3, 4}, 1, -1, {0, 4, 1, 2, 3}},
      {"joined group", {0, 0, 2, 3, 4}, 1, -1, {4, 4, 1, 2, 3}},
      {"weighted group stays", {0, 0, 2, 3, 4}, 0, 1, {0, 0, 2, 3, 4}},
      {"weight elsewhere", {0, 0, 2, 3, 4}, 2, 0, {0, 0, 4, 2, 3}},
  };
  for (const Case& c : cases) {
    Jigsaw jig = MakeKeyedJigsaw(c.keys);
    BringToFront(jig, c.piece, c.weighted);
    EXPECT_EQ(Keys(jig), c.expected) << c.what;
    if (Keys(jig) != c.keys) ExpectSortedAscending(jig);
  }
}

TEST(Stacking, BringToFrontOfTheTopGroupKeepsTheOrderWhenKeysAreSparse) {
  // Dense keys of three groups among four pieces: the top group's key rises
  // to N - 1 but nothing changes place.
  Jigsaw jig = MakeKeyedJigsaw({1, 0, 2, 2});
  BringToFront(jig, 3, -1);
  EXPECT_EQ(Keys(jig), (std::vector<int32_t>{1, 0, 3, 3}));
}

TEST(Stacking, SelectionToFrontRenumbersDenselyWithTheSelectionOnTop) {
  struct Case {
    const char* what;
    std::vector<int32_t> keys;
    std::vector<int> selected;
    std::vector<int32_t> expected;
  };
  const Case cases[] = {
      {"two selected groups keep their order",
       {0, 0, 2, 3, 3, 5},
       {1, 1, 1, 0, 0, 0},
       {2, 2, 3, 0, 0, 1}},
      {"nothing selected: only renumbered", {7, 3, 3, 10}, {0, 0, 0, 0}, {1, 0, 0, 2}},
      {"key near the top of the range", {INT32_MAX - 10, 5}, {0, 1}, {0, 1}},
  };
  for (const Case& c : cases) {
    Jigsaw jig = MakeKeyedJigsaw(c.keys);
    for (size_t k = 0; k < c.selected.size(); ++k) {
      jig.Tiles[k].Sel = static_cast<uint8_t>(c.selected[k]);
    }
    SelectionToFront(jig);
    EXPECT_EQ(Keys(jig), c.expected) << c.what;
    ExpectSortedAscending(jig);
    EXPECT_EQ(jig.Tiles[0].Sel, c.selected[0]) << "selection kept";
  }
}

TEST(Stacking, WeightToBack) {
  struct Case {
    std::vector<int32_t> keys;
    int32_t weighted;
    std::vector<int32_t> expected;
  };
  const Case cases[] = {
      {{0, 1, 2, 3}, 2, {1, 2, 0, 3}},
      {{0, 1, 2, 2, 3}, 3, {1, 2, 0, 0, 3}},
      {{0, 1, 2, 3}, 0, {0, 1, 2, 3}},
      {{3, 1, 2, 0}, -1, {3, 1, 2, 0}},
  };
  for (const Case& c : cases) {
    Jigsaw jig = MakeKeyedJigsaw(c.keys);
    WeightToBack(jig, c.weighted);
    EXPECT_EQ(Keys(jig), c.expected) << "weighted " << c.weighted;
  }
}

// The border frame (the last piece with BorderStyle 1) lies under every
// other group whatever its key: at set-up (it has the highest key), in an
// older saved game, after each reordering. The keys stay what the same
// operation gives without a frame, so nothing else stored changes.
TEST(Stacking, TheBorderFrameLiesUnderEveryOtherGroup) {
  struct Case {
    const char* what;
    std::vector<int32_t> keys;  // the last piece is the frame
    std::vector<int> selected;
    void (*op)(Jigsaw&);
  };
  const Case cases[] = {
      {"a new game: the frame has the top key", {0, 1, 2, 3, 4}, {}, [](Jigsaw&) {}},
      {"an older saved game, frame in the middle", {3, 0, 4, 1, 2}, {}, [](Jigsaw&) {}},
      {"the frame brought to the front", {0, 1, 2, 3, 4}, {}, [](Jigsaw& j) { BringToFront(j, 4, -1); }},
      {"another piece brought to the front", {4, 0, 1, 2, 3}, {}, [](Jigsaw& j) { BringToFront(j, 1, -1); }},
      {"the frame selected with others", {0, 1, 2, 3, 4}, {0, 1, 0, 0, 1}, [](Jigsaw& j) { SelectionToFront(j); }},
      {"another group weighted to the back", {0, 1, 2, 3, 4}, {}, [](Jigsaw& j) { WeightToBack(j, 2); }},
      {"pieces joined to the frame", {0, 4, 2, 3, 4}, {}, [](Jigsaw& j) { BringToFront(j, 2, -1); }},
  };
  for (const Case& c : cases) {
    Jigsaw framed = MakeKeyedJigsaw(c.keys);
    Jigsaw plain = MakeKeyedJigsaw(c.keys);
    framed.Jig.BorderStyle = 1;
    for (size_t k = 0; k < c.selected.size(); ++k) framed.Tiles[k].Sel = plain.Tiles[k].Sel = static_cast<uint8_t>(c.selected[k]);
    c.op(framed);
    c.op(plain);
    SortPieces(framed, false);
    EXPECT_EQ(Keys(framed), Keys(plain)) << c.what;
    const int32_t frameKey = framed.Tiles[4].Group;
    // The frame's group first, then the others by key; descending is the
    // exact reverse, so the frame is hit last.
    bool inFrame = true;
    for (size_t p = 0; p < framed.Sort.size(); ++p) {
      const bool isFrame = framed.Sort[p].Key == frameKey;
      EXPECT_FALSE(isFrame && !inFrame) << c.what << ": the frame's group after another group";
      inFrame = isFrame;
      if (p > 0 && !isFrame && framed.Sort[p - 1].Key != frameKey) {
        EXPECT_LE(framed.Sort[p - 1].Key, framed.Sort[p].Key) << c.what;
      }
    }
    EXPECT_EQ(framed.Sort.front().Key, frameKey) << c.what;
    const std::vector<SortEntry> up = framed.Sort;
    SortPieces(framed, true);
    EXPECT_TRUE(std::equal(up.rbegin(), up.rend(), framed.Sort.begin(), [](const SortEntry& a, const SortEntry& b) {
      return a.Key == b.Key && a.Index == b.Index;
    })) << c.what;
  }
}

// ---- counts ----

TEST(Counts, CountGroupsPerWindow) {
  Jigsaw jig = MakeKeyedJigsaw({0, 0, 1, 2, 2, 3});
  const uint8_t wins[] = {0, 0, 1, 0, 0, 2};
  for (int k = 0; k < 6; ++k) jig.Tiles[k].Win = wins[k];
  EXPECT_EQ(CountGroups(jig, 0, true), 2);
  EXPECT_EQ(CountGroups(jig, 1, false), 1);
  EXPECT_EQ(CountGroups(jig, 2, false), 1);
  EXPECT_EQ(CountGroups(jig, 3, false), 0);
  // A join is seen once the table is sorted again.
  jig.Tiles[3].Group = jig.Tiles[4].Group = 0;
  jig.Tiles[3].Win = jig.Tiles[4].Win = 0;
  EXPECT_EQ(CountGroups(jig, 0, true), 1);
  // A sort table left over from a larger table is not trusted past the end.
  jig.Jig.TotalTileNum = 2;
  EXPECT_EQ(CountGroups(jig, 0, false), 1);
}

TEST(Counts, SolvedStats) {
  struct Case {
    std::vector<int32_t> keys;
    bool completed;
    SolvedCounts expected;
  };
  const Case cases[] = {
      {{0, 1, 2, 3}, false, {4, 0}},               // fresh
      {{0, 0, 2, 3}, false, {2, 50}},              // one join: N - 2, 200 / N
      {{0, 0, 2}, false, {1, 67}},                 // 200 / 3 rounded
      {{0, 0, 0, 3, 4, 5, 6, 7}, false, {5, 38}},  // 37.5 rounds to even 38
      {{0, 0, 0, 0, 0, 5, 6, 7}, false, {3, 62}},  // 62.5 rounds to even 62
      {{1, 1, 1, 1}, true, {0, 100}},              // completed
      {{1, 1, 1, 1}, false, {0, 100}},
      {{0, 1, 2, 3}, true, {4, 100}},              // the flag decides the percent
      {{0}, false, {1, 0}},
      {{}, false, {-1, -1}},                       // no game
  };
  for (const Case& c : cases) {
    Jigsaw jig = MakeKeyedJigsaw(c.keys);
    EXPECT_EQ(SolvedStats(jig, c.completed), c.expected)
        << c.keys.size() << " pieces, completed " << c.completed;
  }
}

}  // namespace
}  // namespace varlo
