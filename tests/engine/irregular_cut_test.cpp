#include "cut/irregular_cut.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <set>

#include "cut/bezier.h"
#include "cut/cell_layout.h"
#include "cut/irregular_delaunay.h"
#include "cut/irregular_edges.h"
#include "cut/irregular_knob.h"
#include "cut/irregular_relax.h"
#include "cut/irregular_seeds.h"
#include "cut/irregular_voronoi.h"
#include "cut/level_table.h"
#include "jigsaw/pieces.h"
#include "support/fake_platform.h"
#include "ui/lang.h"
#include "support/counting_progress.h"

namespace varlo {
namespace {

using testing::CountingProgress;

JIG_P LevelParams(int32_t w, int32_t h, int32_t shape, int32_t border, int32_t level) {
  JIG_P p;
  p.ImageW = w;
  p.ImageH = h;
  p.ShapeStyle = static_cast<uint8_t>(shape);
  p.BorderStyle = static_cast<uint8_t>(border);
  p.Level = level;
  LevelTable table{};
  EXPECT_TRUE(EvaluateLevelCounts(p, table));
  return p;
}

struct Cut {
  JIG_P p;
  std::vector<TILE_P> tiles;
  DIB_P mask;
  IrregularCutReport report;
  uint32_t seedAfter = 0;
  int32_t steps = 0;
  bool ok = false;
};

Cut RunCut(int32_t w, int32_t h, int32_t shape, int32_t border, int32_t level, uint32_t seed) {
  Cut c;
  c.p = LevelParams(w, h, shape, border, level);
  RandomGenerator random(seed);
  CountingProgress progress;
  c.ok = CutIrregular(c.p, c.tiles, c.mask, random, progress, c.report);
  c.seedAfter = random.Seed();
  c.steps = progress.steps;
  return c;
}

std::vector<uint8_t> MaskBytes(const DIB_P& d) {
  std::vector<uint8_t> out;
  for (int32_t y = 0; y < d.Height; ++y) out.insert(out.end(), DibRow(d, y), DibRow(d, y) + d.Width * 3);
  return out;
}

int64_t WhitePixels(const DIB_P& mask, int32_t w, int32_t h) {
  int64_t white = 0;
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) {
      const uint8_t* p = DibPixel(mask, x, y);
      white += p[0] == 255 && p[1] == 255 && p[2] == 255;
    }
  return white;
}

// Checks what every finished irregular cut must give: every pixel of the
// picture assigned to a piece, no failed fill, each piece's fill point in
// its own colour and inside its box, valid neighbour indices.
void ExpectPlayable(const Cut& c) {
  ASSERT_TRUE(c.ok);
  EXPECT_FALSE(c.report.Error.Any) << "piece " << c.report.Error.Index;
  EXPECT_EQ(WhitePixels(c.mask, c.p.ImageW, c.p.ImageH), 0);
  EXPECT_EQ(c.p.TotalTileNum, c.p.TileNum + (c.p.BorderStyle == 1 ? 1 : 0));
  for (int32_t n = 0; n < c.p.TileNum; ++n) {
    const TILE_P& t = c.tiles[static_cast<size_t>(n)];
    EXPECT_GE(t.CentreX, t.BoxX);
    EXPECT_LT(t.CentreX, t.BoxX + t.BoxW);
    EXPECT_GE(t.CentreY, t.BoxY);
    EXPECT_LT(t.CentreY, t.BoxY + t.BoxH);
    for (int16_t nb : t.Nb) EXPECT_TRUE(nb >= -1 && nb < c.p.TotalTileNum && nb != n) << n;
  }
}

// ---- the searches: indexed against plain ----

std::vector<PointI> RandomPoints(RandomGenerator& r, int32_t n, int32_t w, int32_t h) {
  std::vector<PointI> s(static_cast<size_t>(n));
  for (PointI& p : s) p = {r.Random(w), r.Random(h)};
  return s;
}

// Twice the area of the seeds' convex hull.
int64_t HullArea2(std::vector<PointI> s) {
  std::sort(s.begin(), s.end(), [](PointI a, PointI b) { return a.x != b.x ? a.x < b.x : a.y < b.y; });
  std::vector<PointI> h(2 * s.size() + 1);
  size_t k = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    while (k >= 2 && Cross(h[k - 2], h[k - 1], s[i]) <= 0) --k;
    h[k++] = s[i];
  }
  for (size_t i = s.size() - 1, t = k + 1; i-- > 0;) {
    while (k >= t && Cross(h[k - 2], h[k - 1], s[i]) <= 0) --k;
    h[k++] = s[i];
  }
  int64_t area = 0;
  for (size_t i = 0; i + 1 < k; ++i) area += int64_t{h[i].x} * h[i + 1].y - int64_t{h[i + 1].x} * h[i].y;
  return std::abs(area);
}

// The triangles neither overlap nor leave holes: their areas add up to the
// hull's.
void ExpectTrianglesTileTheHull(const std::vector<PointI>& seeds, const Triangulation& t, const std::string& what) {
  std::set<std::array<int32_t, 3>> unique;
  for (const auto& list : t.BySeed)
    for (const DelaunayTriangle& d : list) {
      std::array<int32_t, 3> k = d.Seeds;
      std::sort(k.begin(), k.end());
      unique.insert(k);
    }
  EXPECT_EQ(static_cast<int32_t>(unique.size()), t.TriangleCount) << what;
  int64_t sum = 0;
  for (const auto& k : unique) sum += std::abs(Cross(seeds[k[0]], seeds[k[1]], seeds[k[2]]));
  EXPECT_EQ(sum, HullArea2(seeds)) << what;
}

void ExpectSameTriangulation(const std::vector<PointI>& seeds, const std::string& what) {
  EXPECT_EQ(FindFirstEdge(seeds), FindFirstEdgePlain(seeds)) << what;
  const Triangulation fast = Triangulate(seeds, true), plain = Triangulate(seeds, false);
  ASSERT_EQ(fast.FirstEdgeFound, plain.FirstEdgeFound) << what;
  ASSERT_EQ(fast.TriangleCount, plain.TriangleCount) << what;
  for (size_t s = 0; s < seeds.size(); ++s) {
    ASSERT_EQ(fast.BySeed[s].size(), plain.BySeed[s].size()) << what << " seed " << s;
    for (size_t t = 0; t < fast.BySeed[s].size(); ++t) {
      EXPECT_EQ(fast.BySeed[s][t].Seeds, plain.BySeed[s][t].Seeds) << what;
      EXPECT_EQ(fast.BySeed[s][t].Centre.x, plain.BySeed[s][t].Centre.x) << what;
      EXPECT_EQ(fast.BySeed[s][t].Centre.y, plain.BySeed[s][t].Centre.y) << what;
    }
  }
  if (fast.TriangleCount > 0) ExpectTrianglesTileTheHull(seeds, fast, what);
}

TEST(IrregularDelaunay, IndexedSearchesGiveThePlainScansAnswers) {
  RandomGenerator r(4711);
  // Scattered points, crowded points (many ties), and the seeds of real cuts.
  for (int32_t round = 0; round < 60; ++round) {
    const int32_t n = 3 + r.Random(200);
    ExpectSameTriangulation(RandomPoints(r, n, 1 + r.Random(2000), 1 + r.Random(1500)), "random " + std::to_string(round));
    ExpectSameTriangulation(RandomPoints(r, n, 12, 9), "crowded " + std::to_string(round));
  }
  for (uint32_t seed : {1u, 99u, 123456u, 777777u}) {
    for (auto [w, h, level] : {std::tuple{640, 480, 0}, {1024, 300, 4}, {333, 777, 9}}) {
      JIG_P p = LevelParams(w, h, 0, seed % 2, level);
      SetJigsawRect(p);
      std::vector<TILE_P> cells;
      LayOutCells(p, cells);
      RandomGenerator g(seed);
      ExpectSameTriangulation(PlaceSeeds(p, cells, g), "cut seeds");
    }
  }
}

TEST(IrregularDelaunay, DegenerateSeedSets) {
  const std::vector<std::pair<std::string, std::vector<PointI>>> cases = {
      {"one line", {{0, 0}, {5, 5}, {10, 10}, {20, 20}}},
      {"two points", {{3, 4}, {9, 1}}},
      {"twins", {{5, 5}, {1, 1}, {9, 2}, {5, 5}, {4, 9}}},
      {"square lattice", {{0, 0}, {10, 0}, {20, 0}, {0, 10}, {10, 10}, {20, 10}, {0, 20}, {10, 20}, {20, 20}, {-5, -7}}},
      {"hull sides with seeds on them",
       {{0, 0}, {10, 0}, {20, 0}, {30, 0}, {30, 10}, {30, 20}, {30, 30}, {20, 30}, {10, 30}, {0, 30}, {0, 20}, {0, 10}, {12, 14}}},
  };
  for (const auto& [name, seeds] : cases) ExpectSameTriangulation(seeds, name);
  EXPECT_EQ(FindFirstEdge({{0, 0}, {5, 5}, {10, 10}}), (SeedPair{0, 1}));
  EXPECT_EQ(FindFirstEdge({{5, 5}, {1, 1}, {9, 2}, {5, 5}, {4, 9}}), (SeedPair{0, 3}));
  EXPECT_FALSE(FindFirstEdge({{1, 1}}));
  EXPECT_FALSE(FindFirstEdge(cases.back().second));
  // A lattice is full of cocircular quadruples, where a careless wrap
  // would lay crossing triangles.
  const Triangulation lattice = Triangulate(cases[3].second);
  EXPECT_GT(lattice.TriangleCount, 8);
  ExpectTrianglesTileTheHull(cases[3].second, lattice, "lattice");
}

TEST(IrregularDelaunay, ApexIsTheSeedSeeingTheEdgeWidest) {
  RandomGenerator r(31337);
  for (int32_t round = 0; round < 30; ++round) {
    const std::vector<PointI> seeds = RandomPoints(r, 400, 900, 700);
    const SeedGrid grid(seeds);
    for (int32_t k = 0; k < 50; ++k) {
      const int32_t u = r.Random(400), v = r.Random(400);
      if (seeds[u] == seeds[v]) continue;
      for (int32_t side : {-1, 1}) EXPECT_EQ(grid.FindApex(u, v, side), FindApexPlain(seeds, u, v, side));
    }
  }
}

// ---- the diagram ----

// Every end point of a closed outline is used by exactly two of its edges.
bool Closed(const DiagramCell& c) {
  std::map<std::pair<double, double>, int32_t> uses;
  for (const DiagramEdge& e : c.Edges) {
    ++uses[{e.X1, e.Y1}];
    ++uses[{e.X2, e.Y2}];
  }
  for (const auto& [p, n] : uses)
    if (n != 2) return false;
  return !c.Edges.empty();
}

TEST(IrregularVoronoi, CellsAreClosedInsideTheRectangleAndNeighboursAgree) {
  const JIG_P p0 = LevelParams(900, 640, 0, 1, 3);
  JIG_P p = p0;
  SetJigsawRect(p);
  std::vector<TILE_P> cells;
  LayOutCells(p, cells);
  RandomGenerator r(2024);
  const std::vector<PointI> seeds = PlaceSeeds(p, cells, r);
  Diagram d;
  ASSERT_EQ(BuildDiagram(seeds, JigsawRectOf(p), d), DiagramResult::Built);
  for (size_t s = 0; s < d.size(); ++s) {
    EXPECT_TRUE(Closed(d[s])) << s;
    for (const DiagramEdge& e : d[s].Edges) {
      EXPECT_TRUE(e.Y1 < e.Y2 || (e.Y1 == e.Y2 && e.X1 <= e.X2));
      for (double x : {e.X1, e.X2}) EXPECT_TRUE(x >= p.JigsL && x <= p.JigsR);
      for (double y : {e.Y1, e.Y2}) EXPECT_TRUE(y >= p.JigsT && y <= p.JigsB);
      if (e.Neighbour < 0) {
        // Along a side of the rectangle.
        EXPECT_TRUE((e.X1 == e.X2 && (e.X1 == p.JigsL || e.X1 == p.JigsR)) ||
                    (e.Y1 == e.Y2 && (e.Y1 == p.JigsT || e.Y1 == p.JigsB)));
        continue;
      }
      // The neighbour has the same edge back.
      bool back = false;
      for (const DiagramEdge& f : d[static_cast<size_t>(e.Neighbour)].Edges)
        back |= f.Neighbour == static_cast<int16_t>(s) && f.X1 == e.X1 && f.Y1 == e.Y1 && f.X2 == e.X2 && f.Y2 == e.Y2;
      EXPECT_TRUE(back) << s << " -> " << e.Neighbour;
    }
  }
}

// A seed ringed by 24 others: its cell has 24 sides, more than a cell's 20
// edge slots, and must still come out closed and be cut and filled.
std::vector<PointI> RingSeeds() {
  std::vector<PointI> s = {{250, 250}};
  for (int32_t k = 0; k < 24; ++k) {
    const double a = k * 2 * 3.14159265358979 / 24;
    s.push_back({RoundHalfEven(250 + 150 * std::cos(a)), RoundHalfEven(250 + 150 * std::sin(a))});
  }
  return s;
}

JIG_P FiveByFive() {
  JIG_P p;
  p.ImageW = 500;
  p.ImageH = 500;
  p.TileS = 100;
  p.MaskS = (100 - 20) / 4 * 6 + 28;
  p.KnobS = (p.MaskS - 100) / 2;
  p.TilePX = 5;
  p.TilePY = 5;
  p.TileNum = 25;
  p.TotalTileNum = 25;
  return p;
}

TEST(IrregularVoronoi, CellWithMoreThanTwentyEdgesStaysWhole) {
  Diagram d;
  ASSERT_EQ(BuildDiagram(RingSeeds(), {0, 0, 499, 499}, d), DiagramResult::Built);
  EXPECT_GT(d[0].Edges.size(), static_cast<size_t>(kCellEdgeSlots));
  EXPECT_TRUE(Closed(d[0]));

  Cut c;
  c.p = FiveByFive();
  RandomGenerator random(5);
  NullProgress progress;
  c.ok = CutIrregularFromSeeds(c.p, c.tiles, c.mask, RingSeeds(), random, progress, c.report);
  ExpectPlayable(c);
}

TEST(IrregularVoronoi, NoFirstEdgeFallsBackToTheGrid) {
  // Every hull side carries a third seed, so no pair qualifies.
  std::vector<PointI> seeds = {{100, 100}, {200, 100}, {300, 100}, {400, 100}, {400, 200}, {400, 300},
                               {400, 400}, {300, 400}, {200, 400}, {100, 400}, {100, 300}, {100, 200}};
  for (PointI q : {PointI{180, 220}, {260, 210}, {320, 270}, {230, 330}, {300, 330}, {170, 300},
                   {250, 150}, {350, 180}, {150, 150}, {330, 360}, {270, 260}, {210, 270}, {360, 320}})
    seeds.push_back(q);
  ASSERT_EQ(seeds.size(), 25u);
  Diagram d;
  EXPECT_EQ(BuildDiagram(seeds, {0, 0, 499, 499}, d), DiagramResult::FirstEdgeFailed);

  for (int32_t border : {0, 1}) {
    Cut c;
    c.p = FiveByFive();
    c.p.BorderStyle = static_cast<uint8_t>(border);
    RandomGenerator random(9);
    CountingProgress progress;
    c.ok = CutIrregularFromSeeds(c.p, c.tiles, c.mask, seeds, random, progress, c.report);
    EXPECT_EQ(c.report.FirstEdgeFailures, 1);
    EXPECT_TRUE(c.report.GridFallback);
    EXPECT_EQ(progress.steps, kIrregularCutProgressSteps);
    ExpectPlayable(c);
    // The grid's neighbours: left, right, up, down (the border piece on the rim).
    const TILE_P& middle = c.tiles[12];
    std::set<int16_t> nb(middle.Nb.begin(), middle.Nb.end());
    EXPECT_EQ(nb, (std::set<int16_t>{-1, 7, 11, 13, 17}));
  }

}

TEST(IrregularCut, PlayerIsToldWhatWentWrong) {
  LANG_P lang;
  {
    // A normal cut of a jigsaw in play says nothing.
    testing::FakePlatform fake;
    Jigsaw jig;
    jig.Jig = FiveByFive();
    RandomGenerator random(9);
    NullProgress progress;
    ASSERT_TRUE(CutIrregularJigsaw(jig, random, progress, fake.platform(), LangTextBr(lang, kLangMainForm, "MS_PaintError")));
    EXPECT_TRUE(fake.messages.empty());
    EXPECT_EQ(WhitePixels(jig.Images[kMaskSlot], 500, 500), 0);
    EXPECT_TRUE(jig.Sort.empty());
  }
  testing::FakePlatform fake;
  IrregularCutReport report;
  report.FirstEdgeFailures = 1;
  report.Error = {true, 7, 120, 130};
  ReportIrregularCut(fake.platform(), LangTextBr(lang, kLangMainForm, "MS_PaintError"), report);
  ASSERT_EQ(fake.messages.size(), 3u);
  EXPECT_EQ(fake.messages[0].text, "Finding first edge failed!");
  EXPECT_EQ(fake.messages[1].text, "PaintError: Ind = 7, CellX = 120, CellY = 130");
  EXPECT_EQ(fake.messages[2].text, LangText(lang, kLangMainForm, "MS_PaintError"));
  for (const auto& m : fake.messages) EXPECT_EQ(m.style, kMsgExclamationOk);
}

// ---- seeds ----

TEST(IrregularSeeds, StrictlyInsideAndApartFromTheirNeighbours) {
  for (auto [w, h, border, level] : {std::tuple{800, 600, 0, 0}, {800, 600, 1, 0}, {1003, 517, 0, 6}, {1920, 1200, 1, 2}}) {
    JIG_P p = LevelParams(w, h, 0, border, level);
    SetJigsawRect(p);
    std::vector<TILE_P> cells;
    LayOutCells(p, cells);
    ASSERT_TRUE(CellsHoldSeeds(p, cells));
    for (uint32_t seed : {1u, 2u, 3u}) {
      RandomGenerator r(seed);
      const std::vector<PointI> s = PlaceSeeds(p, cells, r);
      for (int32_t n = 0; n < p.TileNum; ++n) {
        const PointI a = s[static_cast<size_t>(n)];
        EXPECT_TRUE(a.x > p.JigsL && a.x < p.JigsR && a.y > p.JigsT && a.y < p.JigsB);
        const TILE_P& t = cells[static_cast<size_t>(n)];
        EXPECT_TRUE(a.x >= t.CellX && a.x < t.CellX + t.CellW && a.y >= t.CellY && a.y < t.CellY + t.CellH);
        const int32_t row = n / p.TilePX, col = n % p.TilePX;
        for (int32_t m = 0; m < n; ++m) {
          if (std::abs(m / p.TilePX - row) > 2 || std::abs(m % p.TilePX - col) > 2) continue;
          const PointI b = s[static_cast<size_t>(m)];
          EXPECT_FALSE(std::abs(a.x - b.x) <= 2 && std::abs(a.y - b.y) <= 2) << n << " and " << m;
        }
      }
    }
  }
}

TEST(IrregularSeeds, CellsTooSmallForASeedAreRefused) {
  JIG_P p = FiveByFive();
  p.TileS = 4;
  p.ImageW = 20;
  p.ImageH = 20;
  std::vector<TILE_P> tiles;
  DIB_P mask;
  RandomGenerator random(1);
  NullProgress progress;
  IrregularCutReport report;
  EXPECT_FALSE(CutIrregular(p, tiles, mask, random, progress, report));
  EXPECT_EQ(mask.Width, 0);
}

// ---- edge records ----

TEST(IrregularEdges, SortBoxAndAtMostNineNeighbours) {
  std::vector<IrregularEdge> edges;
  // Twelve edges of distinct lengths plus two that are a pixel or less.
  for (int32_t k = 0; k < 14; ++k) {
    IrregularEdge e;
    e.X1 = 10 + k;
    e.Y1 = 20;
    e.X2 = e.X1 + (k < 12 ? 2 + k : (k == 12 ? 1 : 0));
    e.Y2 = 20 + (k % 3);
    e.Length = std::hypot(e.X2 - e.X1, e.Y2 - e.Y1);
    e.Neighbour = static_cast<int16_t>(k == 5 ? -1 : 100 + k);
    edges.push_back(e);
  }
  std::swap(edges[0], edges[13]);  // a pixel-long edge first
  SortEdgesByLength(edges);
  for (size_t i = 1; i < edges.size(); ++i) EXPECT_GE(edges[i - 1].Length, edges[i].Length);

  TILE_P t;
  SetNeighboursFromEdges(edges, -1, t);
  EXPECT_EQ(t.Nb, (std::array<int16_t, 9>{111, 110, 109, 108, 107, 106, -1, 104, 103}));
  SetNeighboursFromEdges(edges, 40, t);
  EXPECT_EQ(t.Nb[6], 40);  // the rectangle's side leads to the border piece

  SetBoxFromEdges(edges, t);
  // Edges of one pixel or less do not count: the box spans the others only.
  EXPECT_EQ(t.BoxX, 10);
  EXPECT_EQ(t.BoxY, 20);
  EXPECT_EQ(t.BoxX + t.BoxW - 1, 21 + 13);
  EXPECT_EQ(t.BoxY + t.BoxH - 1, 22);
}

TEST(IrregularEdges, ShortEdgesAreStraight) {
  struct Case {
    double length;
    int32_t tile, flags;
    bool straight;
  };
  for (const Case& c : std::vector<Case>{{3.0, 20, 0, true},
                                         {3.01, 20, 0, false},
                                         {3.01, 20, kShortEdgesStraight, true},
                                         {19.99, 60, kShortEdgesStraight, true},
                                         {20.0, 60, kShortEdgesStraight, false},
                                         {20.0, 60, 0, false}})
    EXPECT_EQ(IsStraightEdge(c.length, c.tile, c.flags), c.straight) << c.length << "/" << c.tile;
  for (int32_t style : {0, 1, 2, 3}) EXPECT_TRUE(IrregularCutFlags(style) & kShortEdgesStraight);
}

// ---- knobs ----

TEST(IrregularKnob, ClearanceKeepsKnobsOffEarlierOutlines) {
  DIB_P mask;
  ASSERT_TRUE(CreateCutMask(mask, 200, 200));
  JIG_P p;
  p.ImageW = p.ImageH = 200;
  p.TileS = 50;  // clearance 5
  p.JigsR = p.JigsB = 199;
  RandomGenerator random(1);
  IrregularKnobContext ctx = MakeKnobContext(p, mask, random);
  ASSERT_EQ(ctx.Clearance, 5);
  // A flat chain from (50, 100) to (150, 100), sampled every 3 pixels or so.
  const PointD pts[4] = {{50, 100}, {83, 100}, {116, 100}, {150, 100}};
  const PointI own{100, 140}, nb{100, 60}, a{50, 100}, b{150, 100};
  XRECT box;
  EXPECT_TRUE(PassesClearance(ctx, pts, 4, own, nb, a, b, box));
  EXPECT_EQ(box.Left, 50);
  EXPECT_EQ(box.Right, 150);
  int32_t xs[kMaxBezierSteps + 1], ys[kMaxBezierSteps + 1];
  SampleBezierSegment(pts, xs, ys);
  const int32_t sx = xs[15];  // a sample well away from both ends

  struct Case {
    PointI drawn;
    bool passes;
  };
  for (const Case& c : std::vector<Case>{{{sx, 105}, false},     // straight below, within 5
                                         {{sx, 106}, true},      // just beyond
                                         {{sx + 4, 96}, false},  // on a diagonal, Rnd(5 / 1.414) = 4
                                         {{sx + 5, 95}, true},   // beyond the diagonal's reach
                                         {{54, 104}, true},      // near an end point
                                         {{sx, 100}, false}})    // on the curve itself
  {
    ASSERT_TRUE(CreateCutMask(mask, 200, 200));
    DibSetPixel(mask, c.drawn.x, c.drawn.y, PieceColour(25));
    XRECT b2;
    EXPECT_EQ(PassesClearance(ctx, pts, 4, own, nb, a, b, b2), c.passes) << c.drawn.x << "," << c.drawn.y;
  }
  // Heading straight at a centre fails, as does leaving the rectangle.
  ASSERT_TRUE(CreateCutMask(mask, 200, 200));
  XRECT b3;
  EXPECT_FALSE(PassesClearance(ctx, pts, 4, {180, 100}, nb, a, b, b3));
  ctx.Rect.Right = 140;
  EXPECT_FALSE(PassesClearance(ctx, pts, 4, own, nb, a, b, b3));
}

TEST(IrregularKnob, DistanceToEdgeLine) {
  EXPECT_NEAR(DistanceToEdgeLine({5, 9}, {0, 0}, {10, 0}), 9.0, 1e-9);
  EXPECT_NEAR(DistanceToEdgeLine({0, 10}, {0, 0}, {10, 10}), std::sqrt(50.0), 1e-9);
  EXPECT_EQ(DistanceToEdgeLine({20, 20}, {0, 0}, {10, 10}), 0.0);  // on the line: no NaN
}

// ---- whole cuts ----

TEST(IrregularCut, SameSeedSameMaskOtherSeedOtherMask) {
  for (int32_t shape : {0, 1, 2}) {
    for (int32_t border : {0, 1}) {
      const Cut a = RunCut(640, 480, shape, border, 3, 12345);
      const Cut b = RunCut(640, 480, shape, border, 3, 12345);
      const Cut c = RunCut(640, 480, shape, border, 3, 54321);
      EXPECT_EQ(MaskBytes(a.mask), MaskBytes(b.mask)) << shape << "/" << border;
      EXPECT_EQ(a.tiles, b.tiles);
      EXPECT_EQ(a.seedAfter, b.seedAfter);
      EXPECT_NE(MaskBytes(a.mask), MaskBytes(c.mask)) << shape << "/" << border;
      EXPECT_EQ(a.steps, kIrregularCutProgressSteps);
      EXPECT_EQ(a.report.Attempts, 1);
      ExpectPlayable(a);
    }
  }
}

TEST(IrregularCut, EveryPixelAssignedAcrossSizesStylesAndLevels) {
  for (auto [w, h] : {std::pair{800, 600}, {1003, 517}, {300, 900}}) {
    for (int32_t shape : {0, 1, 2}) {
      for (int32_t level : {0, 7, 13}) {
        for (int32_t border : {0, 1}) {
          const Cut c = RunCut(w, h, shape, border, level, static_cast<uint32_t>(w * 7 + level));
          SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h) + " style " + std::to_string(shape) +
                       " level " + std::to_string(level) + " border " + std::to_string(border));
          ExpectPlayable(c);
          if (border == 1) {
            EXPECT_EQ(c.tiles[static_cast<size_t>(c.p.TileNum)].Key, kBorderKey);
            // The frame belongs to the border piece.
            const uint8_t* corner = DibPixel(c.mask, 0, 0);
            EXPECT_EQ(corner[0], kBorderKey);
          }
        }
      }
    }
  }
}

TEST(IrregularCut, NoPixelWalledOffOnTheRim) {
  // Cuts of real photograph sizes in which an edge's line met the picture's
  // bottom row, or the jigsaw rectangle's top row, at a slant and walled off
  // one pixel there.
  struct Case {
    int32_t w, h, shape, level, border;
    uint32_t seed;
  };
  for (const Case& k : std::vector<Case>{{1365, 1074, 1, 0, 0, 237570}, {3088, 2056, 2, 0, 1, 150461}}) {
    const Cut c = RunCut(k.w, k.h, k.shape, k.border, k.level, k.seed);
    ExpectPlayable(c);
  }
}

TEST(IrregularCut, StyleOneDependsOnlyOnTheSeeds) {
  // Same seeds, different generator states afterwards.
  JIG_P p = LevelParams(800, 600, 1, 0, 4);
  SetJigsawRect(p);
  std::vector<TILE_P> cells;
  LayOutCells(p, cells);
  RandomGenerator g(77);
  const std::vector<PointI> seeds = PlaceSeeds(p, cells, g);
  auto cutWith = [&](int32_t shape, uint32_t state) {
    Cut c;
    c.p = LevelParams(800, 600, shape, 0, 4);
    RandomGenerator random(state);
    NullProgress progress;
    c.ok = CutIrregularFromSeeds(c.p, c.tiles, c.mask, seeds, random, progress, c.report);
    return c;
  };
  const Cut a = cutWith(1, 1), b = cutWith(1, 999);
  ExpectPlayable(a);
  EXPECT_EQ(MaskBytes(a.mask), MaskBytes(b.mask));
  EXPECT_EQ(a.tiles, b.tiles);
  EXPECT_NE(MaskBytes(cutWith(0, 1).mask), MaskBytes(cutWith(0, 999).mask));
}

TEST(IrregularCut, StyleThreeNeedsItsPlacementAndGetsTheAttempt) {
  std::vector<TILE_P> tiles;
  DIB_P mask;
  RandomGenerator random(1);
  NullProgress progress;
  IrregularCutReport report;
  JIG_P p = LevelParams(800, 600, 3, 0, 6);
  EXPECT_FALSE(CutIrregular(p, tiles, mask, random, progress, report));

  // A placement that never succeeds: every attempt is tried, and the last
  // one is drawn with plain pieces so the jigsaw stays playable.
  struct Refuse : ArtisticPlacement {
    std::vector<int32_t> attempts;
    bool sawEdges = true;
    bool Place(IrregularAttempt& a) override {
      attempts.push_back(a.Number);
      sawEdges &= a.Cells.size() == static_cast<size_t>(a.Jig.TileNum) && !a.Cells[0].Edges.empty() &&
                  (a.Cells[0].Edges[0].Twin >= 0) == (a.Cells[0].Edges[0].Neighbour >= 0);
      return false;
    }
  } refuse;
  Cut c;
  c.p = p;
  c.ok = CutIrregular(c.p, c.tiles, c.mask, random, progress, c.report, &refuse);
  EXPECT_EQ(refuse.attempts, (std::vector<int32_t>{1, 2, 3}));
  EXPECT_TRUE(refuse.sawEdges);
  EXPECT_TRUE(c.report.ArtisticFailed);
  ExpectPlayable(c);
}

}  // namespace
}  // namespace varlo
