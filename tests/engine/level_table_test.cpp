#include "cut/level_table.h"

#include <gtest/gtest.h>

namespace varlo {
namespace {

TEST(LevelTable, EightHundredBySixHundredGivesTheKnownLevels) {
  LevelTable table{};
  MakeLevelTable(table, 800, 600, 0, 0);
  const int32_t sizes[kLevelCount] = {20, 23, 27, 32, 37, 43, 51, 59, 69, 81, 94, 110, 128, 150};
  const int32_t pieces[kLevelCount] = {1200, 884, 638, 450, 336, 234, 165,
                                       130,  88,  63,  48,  35,  24,  20};
  for (int32_t i = 0; i < kLevelCount; ++i) {
    EXPECT_EQ(table[i].TileS, sizes[i]) << "level " << i;
    EXPECT_EQ(table[i].Total, pieces[i]) << "level " << i;
    EXPECT_EQ(table[i].Cells, table[i].Columns * table[i].Rows);
    EXPECT_EQ(table[i].PicNum, 0);
  }
  EXPECT_EQ(table[0].MaskS, 28);
  EXPECT_EQ(table[0].KnobS, 4);
  EXPECT_EQ(table[1].MaskS, 28);
  EXPECT_EQ(table[1].KnobS, 2);
  EXPECT_EQ(table[13].Columns, 5);
  EXPECT_EQ(table[13].Rows, 4);
}

TEST(LevelTable, RecordSizesAndGrid) {
  struct Case {
    int32_t w, h, shape, border, t;
    int32_t maskS, knobS, columns, rows, picNum;
  };
  const Case cases[] = {
      {800, 600, 0, 0, 40, 58, 9, 20, 15, 0},
      {800, 600, 0, 0, 21, 28, 3, 38, 28, 0},
      {100, 100, 0, 1, 20, 28, 4, 3, 3, 0},     // the frame takes 40 pixels
      {1000, 600, 3, 0, 100, 148, 24, 10, 6, 15},  // artistic pieces: 5 x 3
      {30, 30, 0, 1, 20, 28, 4, 0, 0, 0},       // smaller than the frame
  };
  for (const Case& c : cases) {
    LEVEL_P r;
    MakeLevel(r, c.w, c.h, c.shape, c.border, c.t);
    EXPECT_EQ(r.MaskS, c.maskS) << c.t;
    EXPECT_EQ(r.KnobS, c.knobS) << c.t;
    EXPECT_EQ(r.Columns, c.columns) << c.w;
    EXPECT_EQ(r.Rows, c.rows) << c.h;
    EXPECT_EQ(r.PicNum, c.picNum);
    EXPECT_EQ(r.Total, r.Cells + r.PicNum);
  }
}

TEST(LevelTable, ExtremesStayWithinTheirLimits) {
  // Level 0 is the finest size under 4000 pieces, level 13 the coarsest with
  // at least 16, for a range of pictures, shapes and borders.
  const int32_t sizes[][2] = {{1000, 750}, {4000, 3000}, {1920, 1200}, {640, 480}, {3000, 500}};
  for (auto [w, h] : sizes) {
    for (int32_t shape : {0, 3, 5}) {
      for (int32_t border : {0, 1}) {
        LevelTable table{};
        MakeLevelTable(table, w, h, shape, border);
        EXPECT_LT(table[0].Total, kMaxPlayablePieces) << w << "x" << h;
        if (table[0].TileS > 20) {
          LEVEL_P finer;
          MakeLevel(finer, w, h, shape, border, table[0].TileS - 1);
          EXPECT_GE(finer.Total, kMaxPlayablePieces) << w << "x" << h;
        }
        EXPECT_GE(table[13].Total, 16) << w << "x" << h << " s" << shape << " b" << border;
        for (int32_t i = 1; i < kLevelCount; ++i)
          EXPECT_GE(table[i].TileS, table[i - 1].TileS) << w << "x" << h << " level " << i;
      }
    }
  }
  LevelTable t{};
  MakeLevelTable(t, 1000, 750, 0, 0);
  EXPECT_EQ(t[0].TileS, 20);  // 50 x 37 = 1850
  EXPECT_EQ(t[0].Total, 1850);
}

TEST(LevelTable, TinyOrEmptyPicturesNeitherHangNorChangeTheTable) {
  LevelTable table{};
  table[5].TileS = 77;
  MakeLevelTable(table, 0, 600, 0, 0);
  MakeLevelTable(table, 600, 0, 0, 0);
  EXPECT_EQ(table[5].TileS, 77);
  // Too small for 16 pieces of any size: the search stops at size 1.
  MakeLevelTable(table, 41, 41, 0, 1);
  EXPECT_GE(table[13].TileS, 1);
  MakeLevelTable(table, 3, 3, 0, 0);
  EXPECT_GE(table[13].TileS, 1);
}

TEST(LevelTable, ApplyLevelSetsTheGridAndRefusesOver4000) {
  JIG_P p;
  p.ImageW = 800;
  p.ImageH = 600;
  p.Level = 0;
  LevelTable table{};
  EXPECT_TRUE(EvaluateLevelCounts(p, table));
  EXPECT_EQ(p.TileS, 20);
  EXPECT_EQ(p.MaskS, 28);
  EXPECT_EQ(p.KnobS, 4);
  EXPECT_EQ(p.SnapS, 4);
  EXPECT_EQ(p.TilePX, 40);
  EXPECT_EQ(p.TilePY, 30);
  EXPECT_EQ(p.TotalTileNum, 1200);

  // Fitting to the screen cuts the fitted size.
  p.FitToScreen = 1;
  p.FitImageW = 400;
  p.FitImageH = 300;
  EXPECT_TRUE(EvaluateLevelCounts(p, table));
  EXPECT_EQ(p.TilePX * p.TilePY, p.TileNum);
  EXPECT_EQ(p.TilePX, 400 / p.TileS);

  // Shape style 3 counts artistic pieces in the table but not in play.
  JIG_P a;
  a.ImageW = 1000;
  a.ImageH = 600;
  a.ShapeStyle = 3;
  a.Level = 13;
  EvaluateLevelCounts(a, table);
  EXPECT_GT(table[13].PicNum, 0);
  EXPECT_EQ(a.PicNum, 0);
  EXPECT_EQ(a.TotalTileNum, a.TileNum);

  // Exactly 4000 pieces may be played, 4001 may not.
  LevelTable fixed{};
  MakeLevel(fixed[0], 1600, 1000, 4, 0, 20);
  JIG_P q;
  q.ImageW = 1600;
  q.ImageH = 1000;
  EXPECT_TRUE(ApplyLevel(q, fixed));
  EXPECT_EQ(q.TotalTileNum, 4000);
  q.ImageW = 4001 * 20;
  q.ImageH = 20;
  EXPECT_FALSE(ApplyLevel(q, fixed));
  EXPECT_EQ(q.TotalTileNum, 4001);

  // A level outside 0..13 from a damaged settings file reads the nearest one.
  q.ImageW = 1600;
  q.ImageH = 1000;
  q.Level = 99;
  fixed[13] = fixed[0];
  EXPECT_TRUE(ApplyLevel(q, fixed));
}

TEST(LevelTable, SnapSizeIsHalfTheKnobButAtLeastFour) {
  LevelTable table{};
  MakeLevelTable(table, 4000, 3000, 4, 0);
  for (int32_t level = 0; level < kLevelCount; ++level) {
    JIG_P p;
    p.ImageW = 4000;
    p.ImageH = 3000;
    p.Level = level;
    ApplyLevel(p, table);
    EXPECT_EQ(p.SnapS, std::max(p.KnobS / 2, 4));
  }
}

TEST(FitPictureSize, KeepsProportionsInsideTheArea) {
  struct Case {
    int32_t w, h, aw, ah, fw, fh;
  };
  const Case cases[] = {
      {3000, 2000, 1024, 738, 1024, 682},
      {800, 600, 1024, 738, 800, 600},     // fits already
      {1000, 2000, 1024, 738, 369, 738},   // tall picture: height decides
      {1024, 738, 1024, 738, 1024, 738},
  };
  for (const Case& c : cases) {
    int32_t fw = 0, fh = 0;
    FitPictureSize(c.w, c.h, c.aw, c.ah, fw, fh);
    EXPECT_EQ(fw, c.fw) << c.w << "x" << c.h;
    EXPECT_EQ(fh, c.fh) << c.w << "x" << c.h;
  }
}

}  // namespace
}  // namespace varlo
