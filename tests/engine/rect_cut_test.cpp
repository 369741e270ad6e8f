#include "cut/rect_cut.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "cut/cell_layout.h"
#include "cut/knob_atlas.h"
#include "cut/knob_edge.h"
#include "cut/level_table.h"
#include "jigsaw/pieces.h"
#include "support/fake_platform.h"
#include "ui/lang.h"
#include "support/counting_progress.h"

namespace varlo {
namespace {

using testing::CountingProgress;

const DIB_P& Atlas() {
  static const DIB_P* atlas = [] {
    auto* a = new DIB_P;
    EXPECT_TRUE(DrawKnobAtlas(*a));
    return a;
  }();
  return *atlas;
}

struct Cut {
  JIG_P p;
  std::vector<TILE_P> tiles;
  DIB_P mask;
  PaintError error;
  uint32_t seedAfter = 0;
  int32_t steps = 0;
};

Cut RunCut(int32_t w, int32_t h, int32_t shape, int32_t border, int32_t level, uint32_t seed,
           const DIB_P* atlas = nullptr) {
  Cut c;
  c.p.ImageW = w;
  c.p.ImageH = h;
  c.p.ShapeStyle = static_cast<uint8_t>(shape);
  c.p.BorderStyle = static_cast<uint8_t>(border);
  c.p.Level = level;
  c.p.GameSeed = static_cast<int32_t>(seed);
  LevelTable table{};
  EXPECT_TRUE(EvaluateLevelCounts(c.p, table));
  RandomGenerator random(seed);
  CountingProgress progress;
  EXPECT_TRUE(CutRectangular(c.p, c.tiles, c.mask, atlas ? *atlas : Atlas(), random, progress, c.error));
  c.seedAfter = random.Seed();
  c.steps = progress.steps;
  return c;
}

std::vector<uint8_t> MaskBytes(const DIB_P& d) {
  std::vector<uint8_t> out;
  for (int32_t y = 0; y < d.Height; ++y) out.insert(out.end(), DibRow(d, y), DibRow(d, y) + d.Width * 3);
  return out;
}

TEST(RectCut, SameSeedSameMaskOtherSeedOtherMask) {
  for (int32_t shape : {4, 5, 6}) {
    for (int32_t border : {0, 1}) {
      const Cut a = RunCut(640, 480, shape, border, 3, 12345);
      const Cut b = RunCut(640, 480, shape, border, 3, 12345);
      const Cut c = RunCut(640, 480, shape, border, 3, 54321);
      EXPECT_EQ(MaskBytes(a.mask), MaskBytes(b.mask)) << shape << "/" << border;
      EXPECT_EQ(a.tiles, b.tiles);
      EXPECT_NE(MaskBytes(a.mask), MaskBytes(c.mask)) << shape << "/" << border;
      EXPECT_EQ(a.steps, kRectCutProgressSteps);
      EXPECT_FALSE(a.error.Any);
    }
  }
}

TEST(RectCut, DrawsOneSidePerInnerEdgeThenTemplateAndMirrorPerEdge) {
  // Knob sides: one per inner edge; then two draws per edge. The pieces'
  // turns drawn after the cut continue from exactly there.
  const Cut c = RunCut(800, 600, 6, 0, 5, 99);
  const int32_t cols = c.p.TilePX, rows = c.p.TilePY;
  const int32_t edges = (cols - 1) * rows + cols * (rows - 1);
  RandomGenerator expect(99);
  for (int32_t i = 0; i < 3 * edges; ++i) expect.Random(2);
  EXPECT_EQ(c.seedAfter, expect.Seed());
}

TEST(RectCut, EveryPixelBelongsToAPieceOrTheBorder) {
  struct Case {
    int32_t w, h, shape, border, level;
  };
  const Case cases[] = {{640, 480, 4, 0, 0}, {640, 480, 5, 1, 0}, {1003, 701, 6, 0, 2},
                        {1003, 701, 6, 1, 7}, {500, 333, 5, 0, 13}, {300, 900, 4, 1, 9},
                        {1500, 1000, 6, 0, 10}, {1500, 1000, 4, 0, 12}};
  for (const Case& k : cases) {
    const Cut c = RunCut(k.w, k.h, k.shape, k.border, k.level, 777);
    std::set<uint32_t> keys;
    for (int32_t n = 0; n < c.p.TotalTileNum; ++n) keys.insert(c.tiles[n].Key);
    int32_t unassigned = 0, foreign = 0;
    for (int32_t y = 0; y < k.h; ++y) {
      const uint8_t* p = DibRow(c.mask, y);
      for (int32_t x = 0; x < k.w; ++x, p += 3) {
        if (p[0] == 255 && p[1] == 255 && p[2] == 255)
          ++unassigned;
        else if (p[1] != 0 || p[2] != 128 || !keys.count(p[0]))
          ++foreign;
      }
    }
    EXPECT_EQ(unassigned, 0) << k.w << "x" << k.h << " style " << k.shape << " border " << k.border;
    // Every piece filled from its own centre: no fill ran through a gap into
    // a neighbour (large pieces are drawn as curves, whose corners at the
    // picture's sides have nothing else to close them).
    EXPECT_FALSE(c.error.Any) << k.w << "x" << k.h << " piece " << c.error.Index;
    EXPECT_EQ(foreign, 0);
    // The strips right and below stay black.
    EXPECT_EQ(DibGetPixel(c.mask, k.w + 2, 3), 0);
    EXPECT_EQ(DibGetPixel(c.mask, 3, k.h + 4), 0);
    EXPECT_EQ(c.mask.Width, k.w + 5);
    EXPECT_EQ(c.mask.Height, k.h + 5);
  }
}

TEST(RectCut, BoxesHoldTheirPieceExactly) {
  for (int32_t border : {0, 1}) {
    const Cut c = RunCut(900, 640, 6, border, 4, 4242);
    for (int32_t n = 0; n < c.p.TileNum; ++n) {
      const TILE_P& t = c.tiles[n];
      const uint32_t colour = PieceColour(t.Key);
      // The piece's colour, searched well beyond its box, lies inside the box
      // and touches each of its four sides.
      int32_t inside = 0, outside = 0;
      bool l = false, r = false, tp = false, b = false;
      const int32_t k = 3 * c.p.KnobS;
      for (int32_t y = std::max(0, t.CellY - k); y < std::min(c.p.ImageH, t.CellY + t.CellH + k); ++y) {
        for (int32_t x = std::max(0, t.CellX - k); x < std::min(c.p.ImageW, t.CellX + t.CellW + k); ++x) {
          if (static_cast<uint32_t>(DibGetPixel(c.mask, x, y)) != colour) continue;
          const bool in = x >= t.BoxX && x < t.BoxX + t.BoxW && y >= t.BoxY && y < t.BoxY + t.BoxH;
          (in ? inside : outside)++;
          l |= x == t.BoxX;
          r |= x == t.BoxX + t.BoxW - 1;
          tp |= y == t.BoxY;
          b |= y == t.BoxY + t.BoxH - 1;
        }
      }
      ASSERT_GT(inside, t.CellW * t.CellH / 2) << "piece " << n;
      EXPECT_EQ(outside, 0) << "piece " << n;
      EXPECT_TRUE(l && r && tp && b) << "piece " << n;
      // The cell's centre is the piece's own.
      EXPECT_EQ(static_cast<uint32_t>(DibGetPixel(c.mask, t.CellX + t.CellW / 2, t.CellY + t.CellH / 2)),
                colour);
    }
    if (border == 1) {
      const TILE_P& bp = c.tiles[c.p.TotalTileNum - 1];
      EXPECT_EQ(bp.Key, kBorderKey);
      EXPECT_EQ(bp.KeyBit, kBorderKeyBit);
      EXPECT_EQ(bp.BoxW, c.p.ImageW);
      EXPECT_EQ(bp.BoxH, c.p.ImageH);
      EXPECT_EQ(static_cast<uint32_t>(DibGetPixel(c.mask, 0, 0)), PieceColour(kBorderKey));
      EXPECT_EQ(static_cast<uint32_t>(DibGetPixel(c.mask, c.p.ImageW - 1, c.p.ImageH - 1)),
                PieceColour(kBorderKey));
    }
  }
}

TEST(RectCut, NeighboursKeysAndCornersAgree) {
  for (int32_t border : {0, 1}) {
    const Cut c = RunCut(700, 500, 5, border, 6, 1);
    const int32_t cols = c.p.TilePX, rows = c.p.TilePY;
    EXPECT_EQ(c.p.TotalTileNum, cols * rows + border);
    const int16_t none = border ? static_cast<int16_t>(cols * rows) : -1;
    if (border) {
      EXPECT_EQ(c.p.JigsL, 20);
      EXPECT_EQ(c.p.JigsT, 20);
      EXPECT_EQ(c.p.JigsR, 700 - 21);
      EXPECT_EQ(c.p.JigsB, 500 - 21);
    } else {
      EXPECT_EQ(c.p.JigsR, 699);
    }
    for (int32_t i = 0; i < rows; ++i) {
      for (int32_t j = 0; j < cols; ++j) {
        const int32_t n = i * cols + j;
        const TILE_P& t = c.tiles[n];
        EXPECT_EQ(t.Nb[0], j > 0 ? n - 1 : none);
        EXPECT_EQ(t.Nb[1], i > 0 ? n - cols : none);
        EXPECT_EQ(t.Nb[2], j < cols - 1 ? n + 1 : none);
        EXPECT_EQ(t.Nb[3], i < rows - 1 ? n + cols : none);
        for (int s = 4; s < kNeighbourSlots; ++s) EXPECT_EQ(t.Nb[s], -1);
        EXPECT_EQ(t.WoodSlot, t.CellX);
        EXPECT_EQ(t.WoodBit, t.CellY);
        EXPECT_EQ(t.CornerX2, t.CellX + t.CellW - 1);
        EXPECT_EQ(t.CornerY2, t.CellY + t.CellH - 1);
        // Cells tile the jigsaw rectangle without gaps.
        if (j > 0) { EXPECT_EQ(t.CellX, c.tiles[n - 1].CellX + c.tiles[n - 1].CellW); }
        if (i > 0) { EXPECT_EQ(t.CellY, c.tiles[n - cols].CellY + c.tiles[n - cols].CellH); }
        if (j == cols - 1) { EXPECT_EQ(t.CellX + t.CellW - 1, c.p.JigsR); }
        if (i == rows - 1) { EXPECT_EQ(t.CellY + t.CellH - 1, c.p.JigsB); }
        // No two cells of a 3 x 3 block share a key; no two of a 2 x 3 block a bit.
        for (int32_t di = 0; di < 3 && i + di < rows; ++di)
          for (int32_t dj = -2; dj < 3; ++dj) {
            if (j + dj < 0 || j + dj >= cols || (di == 0 && dj <= 0) || std::abs(dj) > 2) continue;
            const TILE_P& o = c.tiles[(i + di) * cols + j + dj];
            EXPECT_NE(o.Key, t.Key);
            if (di < 2) { EXPECT_NE(o.KeyBit, t.KeyBit); }
          }
      }
    }
  }
}

TEST(CellLayout, SparePixelsGoToTheFirstColumns) {
  JIG_P p;
  p.ImageW = 1003;
  p.ImageH = 402;
  p.TileS = 100;
  p.KnobS = 24;
  p.TilePX = 10;
  p.TilePY = 4;
  p.TileNum = 40;
  p.TotalTileNum = 40;
  SetJigsawRect(p);
  std::vector<TILE_P> tiles;
  LayOutCells(p, tiles);
  for (int32_t j = 0; j < 10; ++j) EXPECT_EQ(tiles[j].CellW, j < 3 ? 101 : 100) << j;
  EXPECT_EQ(tiles[0].CellH, 101);
  EXPECT_EQ(tiles[10].CellH, 101);
  EXPECT_EQ(tiles[20].CellH, 100);
  // Boxes grow toward neighbours only.
  EXPECT_EQ(tiles[0].BoxX, 0);
  EXPECT_EQ(tiles[0].BoxW, 101 + 24);
  EXPECT_EQ(tiles[11].BoxX, 101 - 24);
  EXPECT_EQ(tiles[11].BoxW, 101 + 48);
  EXPECT_EQ(tiles[39].BoxW, 100 + 24);
}

TEST(CellLayout, ArtisticCellsOfAFiveByFiveGrid) {
  JIG_P p;
  p.ImageW = 500;
  p.ImageH = 500;
  p.TileS = 100;
  p.TilePX = 5;
  p.TilePY = 5;
  p.TileNum = 25;
  p.ShapeStyle = 3;
  SetJigsawRect(p);
  std::vector<TILE_P> tiles;
  LayOutCells(p, tiles);
  std::set<std::pair<int, int>> artistic;
  for (int32_t n = 0; n < 25; ++n)
    if (tiles[n].Artistic) artistic.insert({n / 5, n % 5});
  EXPECT_EQ(artistic, (std::set<std::pair<int, int>>{{1, 1}, {1, 3}, {3, 2}}));
}

TEST(RectCut, RefusesWhatItCannotCut) {
  JIG_P p;
  p.ImageW = 400;
  p.ImageH = 300;
  p.ShapeStyle = 2;  // irregular
  LevelTable table{};
  EvaluateLevelCounts(p, table);
  std::vector<TILE_P> tiles;
  DIB_P mask;
  RandomGenerator random(1);
  NullProgress progress;
  PaintError error;
  EXPECT_FALSE(CutRectangular(p, tiles, mask, Atlas(), random, progress, error));
  p.ShapeStyle = 4;
  p.TilePX = 0;
  EXPECT_FALSE(CutRectangular(p, tiles, mask, Atlas(), random, progress, error));
  EXPECT_EQ(mask.Width, 0);
}

TEST(RectCut, WithoutAnAtlasEveryEdgeIsACurveAndStillCloses) {
  DIB_P none;
  const Cut with = RunCut(640, 480, 6, 0, 2, 31);
  const Cut without = RunCut(640, 480, 6, 0, 2, 31, &none);
  EXPECT_NE(MaskBytes(with.mask), MaskBytes(without.mask));
  int32_t white = 0;
  for (int32_t y = 0; y < 480; ++y)
    for (int32_t x = 0; x < 640; ++x) white += DibGetPixel(without.mask, x, y) == 0xFFFFFF;
  EXPECT_EQ(white, 0);
}

}  // namespace
}  // namespace varlo

namespace varlo {
namespace {

uint64_t Fnv(const std::vector<uint8_t>& bytes, uint64_t h = 1469598103934665603ull) {
  for (uint8_t b : bytes) h = (h ^ b) * 1099511628211ull;
  return h;
}

// The cut of a given seed is part of the game: saved settings, shared seeds
// and the turns drawn after it rely on it. These fingerprints pin the masks
// so that a speed-up cannot change a single pixel unnoticed.
TEST(RectCut, MasksOfKnownSeedsStayTheSame) {
  struct Case {
    int32_t shape, border, level;
    uint64_t fingerprint;
  };
  const Case cases[] = {
      {4, 0, 0, 0xedb8c59ef1a3c32cull},
      {5, 1, 4, 0xb31a5d8b5830b2d4ull},
      {6, 0, 9, 0x459b6d7eb04473a9ull},
  };
  for (const Case& k : cases) {
    const Cut c = RunCut(1024, 768, k.shape, k.border, k.level, 20261211);
    const uint64_t f = Fnv(MaskBytes(c.mask));
    EXPECT_EQ(f, k.fingerprint) << k.shape << "/" << k.border << "/" << k.level;
  }
}

}  // namespace
}  // namespace varlo

namespace varlo {
namespace {

TEST(RectCut, JigsawCutLeavesTheMaskInItsSlotAndStaysQuiet) {
  Jigsaw jig;
  jig.Jig.ImageW = 500;
  jig.Jig.ImageH = 400;
  jig.Jig.ShapeStyle = 6;
  jig.Jig.BorderStyle = 1;
  jig.Jig.Level = 5;
  LevelTable table{};
  ASSERT_TRUE(EvaluateLevelCounts(jig.Jig, table));
  ASSERT_TRUE(AllocPieces(jig, jig.Jig.TotalTileNum + 1));
  DibCreate24(jig.Images[kMaskSlot], 7, 7);  // a mask left from an earlier game
  testing::FakePlatform fake;
  RandomGenerator random(4);
  NullProgress progress;
  ASSERT_TRUE(CutRectangularJigsaw(jig, Atlas(), random, progress, fake.platform()));
  EXPECT_EQ(jig.Images[kMaskSlot].Width, 505);
  EXPECT_EQ(jig.Images[kMaskSlot].Height, 405);
  EXPECT_EQ(jig.Jig.TotalTileNum, jig.Jig.TileNum + 1);
  EXPECT_EQ(BorderPieceIndex(jig), jig.Jig.TileNum);
  EXPECT_TRUE(fake.messages.empty());
}

}  // namespace
}  // namespace varlo
