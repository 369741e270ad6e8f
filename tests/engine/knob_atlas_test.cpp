#include "cut/knob_atlas.h"

#include <gtest/gtest.h>

#include "cut/bezier.h"
#include "cut/cell_layout.h"
#include "cut/knob_edge.h"
#include "cut/knob_templates.h"

namespace varlo {
namespace {

const DIB_P& Atlas() {
  static const DIB_P* atlas = [] {
    auto* a = new DIB_P;
    EXPECT_TRUE(DrawKnobAtlas(*a));
    return a;
  }();
  return *atlas;
}

TEST(KnobTemplates, DerivedValues) {
  const KnobTemplate irr0 = MakeTemplate(TemplateSet::Irregular, 0);
  EXPECT_EQ(irr0.Count, 25);
  EXPECT_EQ(irr0.Baseline, 31);
  EXPECT_EQ(irr0.Width, 127);
  EXPECT_EQ(irr0.ReachAbove, 31 - 0 + 1);  // highest on-curve point (64, 0)
  EXPECT_EQ(irr0.ReachBelow, 44 - 31 + 1);
  // The grid set borrows irregular 0, 13, 14, 15 and keeps its reach above
  // without the +1 and no reach below.
  const KnobTemplate g1 = MakeTemplate(TemplateSet::Grid, 1);
  const KnobTemplate i13 = MakeTemplate(TemplateSet::Irregular, 13);
  EXPECT_EQ(g1.Points, i13.Points);
  EXPECT_EQ(g1.ReachAbove, i13.ReachAbove - 1);
  EXPECT_EQ(g1.ReachBelow, 0);
  for (TemplateSet set : {TemplateSet::Irregular, TemplateSet::Grid}) {
    for (int32_t s = 0; s < TemplateSetSize(set); ++s) {
      const KnobTemplate t = MakeTemplate(set, s);
      EXPECT_EQ((t.Count - 1) % 3, 0) << s;
      EXPECT_LE(t.Count, kMaxTemplatePoints);
      EXPECT_EQ(t.Points[0].x, 0);
      EXPECT_EQ(t.Width, 127);
    }
  }
  TemplateSlots slots;
  LoadTemplateSet(slots, TemplateSet::Grid);
  EXPECT_EQ(slots[6].Count, 31);
  EXPECT_EQ(slots[7].Count, 0);
}

TEST(KnobAtlas, LayoutLegendAndBaselines) {
  const DIB_P& a = Atlas();
  ASSERT_EQ(a.Width, kAtlasWidth);
  ASSERT_EQ(a.Height, kAtlasHeight);
  EXPECT_EQ(AtlasColumnX(28) + 21 + 28, kAtlasWidth);
  const AtlasInfo info = MeasureKnobAtlas(a);
  ASSERT_TRUE(info.Usable);
  EXPECT_EQ(info.White, kAtlasWhite);
  EXPECT_EQ(info.Green, kAtlasGreen);
  EXPECT_EQ(info.Red, kAtlasRed);
  EXPECT_EQ(info.Blue, kAtlasBlue);
  for (int32_t k = 0; k < kAtlasColumns; ++k) {
    const int32_t x = AtlasColumnX(k), L = kAtlasMinEdge + k;
    EXPECT_GT(info.Base[k], 0) << k;
    // Each band's lines end on the measured baseline at both column edges.
    for (int32_t b = 0; b < kAtlasBands; ++b) {
      const int32_t y0 = b * kAtlasBandRows;
      EXPECT_EQ(static_cast<uint32_t>(DibGetPixel(a, x, y0 + info.Base[k])), kAtlasGreen) << k << "/" << b;
      EXPECT_EQ(static_cast<uint32_t>(DibGetPixel(a, x + L - 1, y0 + info.Base[k])), kAtlasGreen);
      EXPECT_EQ(static_cast<uint32_t>(DibGetPixel(a, x, y0 + info.Base[k] + 1)), kAtlasRed);
      EXPECT_EQ(static_cast<uint32_t>(DibGetPixel(a, x, y0 + kAtlasBandRows - 1)), kAtlasBlue);
    }
    EXPECT_EQ(static_cast<uint32_t>(DibGetPixel(a, x + L, 50)), kAtlasSilver);
  }
  DIB_P wrong;
  DibCreate24(wrong, 100, 132);
  EXPECT_FALSE(MeasureKnobAtlas(wrong).Usable);
}

// Draws one edge between two walls and tells whether the outline keeps the
// two sides apart: a fill from one side must not reach the other.
bool EdgeSeparates(const DIB_P* atlas, int32_t slot, int32_t L, bool horizontal, uint32_t seed,
                   int32_t knobS, int32_t& drawnPixels) {
  const int32_t span = L + 2, depth = 40;
  DIB_P mask;
  const int32_t w = horizontal ? span : depth, h = horizontal ? depth : span;
  CreateCutMask(mask, w, h);
  const uint32_t black = 0;
  // Walls across the ends of the edge, as the neighbouring edges would be.
  if (horizontal) {
    DibFillRect(mask, 0, 0, 1, h, black);
    DibFillRect(mask, span - 1, 0, 1, h, black);
  } else {
    DibFillRect(mask, 0, 0, w, 1, black);
    DibFillRect(mask, 0, span - 1, w, 1, black);
  }
  // A curve leaves out its end pixel, as at every grid corner, where the
  // edges across it close it in.
  if (horizontal) {
    DibSetPixel(mask, L, depth / 2 - 1, black);
    DibSetPixel(mask, L, depth / 2 + 1, black);
  } else {
    DibSetPixel(mask, depth / 2 - 1, L, black);
    DibSetPixel(mask, depth / 2 + 1, L, black);
  }
  KnobEdgeContext ctx;
  ctx.Mask = &mask;
  ctx.ImageW = w;
  ctx.ImageH = h;
  ctx.KnobS = knobS;
  LoadTemplateSet(ctx.Templates, TemplateSet::Grid);
  ctx.Candidates[0] = slot;
  ctx.CandidateCount = 1;
  ctx.Atlas = atlas;
  if (atlas) ctx.AtlasData = MeasureKnobAtlas(*atlas);
  RandomGenerator random(seed);
  ctx.Random = &random;
  const uint32_t colour = PieceColour(25);
  const PointI a = horizontal ? PointI{1, depth / 2} : PointI{depth / 2, 1};
  const PointI b = horizontal ? PointI{L, depth / 2} : PointI{depth / 2, L};
  DrawKnobEdge(ctx, 0, static_cast<int32_t>(seed & 2) >> 1, b, a, colour);
  drawnPixels = 0;
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) drawnPixels += static_cast<uint32_t>(DibGetPixel(mask, x, y)) == colour;
  DibFloodFill(mask, 1, 1, PieceColour(100), nullptr);
  const int32_t fx = horizontal ? 1 : w - 1 - 1, fy = horizontal ? h - 1 - 1 : 1;
  return DibGetPixel(mask, fx, fy) == 0xFFFFFF;
}

TEST(KnobEdge, EveryAtlasOutlineAndEveryCurveClosesTheEdge) {
  for (int32_t slot = 0; slot < 6; ++slot) {
    for (int32_t L = kAtlasMinEdge; L <= kAtlasMaxEdge + 3; ++L) {
      for (bool horizontal : {true, false}) {
        for (uint32_t seed = 0; seed < 8; ++seed) {  // both sides, both mirrors
          int32_t n = 0;
          EXPECT_TRUE(EdgeSeparates(&Atlas(), slot, L, horizontal, seed, L / 4, n))
              << "slot " << slot << " L " << L << (horizontal ? " h" : " v") << " seed " << seed;
          EXPECT_GE(n, L - 1);
          EXPECT_TRUE(EdgeSeparates(nullptr, slot, L, horizontal, seed, L / 4, n))
              << "curve slot " << slot << " L " << L << (horizontal ? " h" : " v") << " seed " << seed;
        }
      }
    }
  }
}

TEST(KnobEdge, ShortStraightEdgesComeFromTheAtlasLongerOnesAreCurves) {
  // The atlas and the curve give different pixels for the same draw; the
  // longest atlas edge is 48 pixels.
  auto draw = [](const DIB_P* atlas, int32_t L) {
    DIB_P mask;
    CreateCutMask(mask, 80, 60);
    KnobEdgeContext ctx;
    ctx.Mask = &mask;
    ctx.ImageW = 80;
    ctx.ImageH = 60;
    ctx.KnobS = 10;
    LoadTemplateSet(ctx.Templates, TemplateSet::Grid);
    ctx.CandidateCount = 1;
    ctx.Atlas = atlas;
    if (atlas) ctx.AtlasData = MeasureKnobAtlas(*atlas);
    RandomGenerator random(5);
    ctx.Random = &random;
    DrawKnobEdge(ctx, 0, 0, {10, 30}, {10 + L - 1, 30}, PieceColour(25));
    std::vector<int32_t> px;
    for (int32_t y = 0; y < 60; ++y)
      for (int32_t x = 0; x < 80; ++x) px.push_back(DibGetPixel(mask, x, y));
    return px;
  };
  EXPECT_NE(draw(&Atlas(), 48), draw(nullptr, 48));
  EXPECT_NE(draw(&Atlas(), 20), draw(nullptr, 20));
  EXPECT_EQ(draw(&Atlas(), 49), draw(nullptr, 49));
  EXPECT_EQ(draw(&Atlas(), 19), draw(nullptr, 19));
}

TEST(Bezier, PenLinesLeaveOutTheirLastPixel) {
  DIB_P d;
  DibCreate24(d, 20, 20);
  DrawPenLine(d, 2, 3, 9, 3, 0xFFFFFF);
  EXPECT_EQ(DibGetPixel(d, 2, 3), 0xFFFFFF);
  EXPECT_EQ(DibGetPixel(d, 8, 3), 0xFFFFFF);
  EXPECT_EQ(DibGetPixel(d, 9, 3), 0);
  DrawPenLine(d, 5, 5, 5, 5, 0xFFFFFF);  // no length, no pixel
  EXPECT_EQ(DibGetPixel(d, 5, 5), 0);
  DrawPenLine(d, 0, 10, 6, 13, 0xFFFFFF);  // a slope: one pixel per column
  int32_t n = 0;
  for (int32_t y = 0; y < 20; ++y)
    for (int32_t x = 0; x < 20; ++x) n += y >= 10 && DibGetPixel(d, x, y) == 0xFFFFFF;
  EXPECT_EQ(n, 6);
  EXPECT_EQ(DibGetPixel(d, 6, 13), 0);
  DrawPenLine(d, -5, 1, 25, 1, 0xFFFFFF);  // clipped, no crash
  EXPECT_EQ(DibGetPixel(d, 19, 1), 0xFFFFFF);
}

TEST(Bezier, ChainIsOneConnectedPolylineWithoutItsEndPixel) {
  DIB_P d;
  DibCreate24(d, 400, 60);
  // A straight chain of two segments and a long one beyond 450 pixels: the
  // sampler caps it at 150 steps but the polyline still joins up.
  const PointD pts[] = {{0, 10}, {10, 10}, {20, 10}, {30, 10}, {150, 10}, {250, 10}, {399, 10}};
  DrawBezierChain(d, pts, 7, 0xFFFFFF);
  for (int32_t x = 0; x < 399; ++x) EXPECT_EQ(DibGetPixel(d, x, 10), 0xFFFFFF) << x;
  EXPECT_EQ(DibGetPixel(d, 399, 10), 0);
}

}  // namespace
}  // namespace varlo

namespace varlo {
namespace {

TEST(KnobEdge, TipsThatWouldLeaveThePictureArePulledBackInside) {
  // A horizontal edge three rows below the top whose knob points up past
  // the picture's edge: the tip is pulled back to row 2, the knob drawn as
  // a curve of that depth (not from the atlas), and nothing reaches row 0.
  auto draw = [](const DIB_P* atlas, uint32_t seed, int32_t& top) {
    DIB_P mask;
    CreateCutMask(mask, 60, 40);
    KnobEdgeContext ctx;
    ctx.Mask = &mask;
    ctx.ImageW = 60;
    ctx.ImageH = 40;
    ctx.KnobS = 10;
    LoadTemplateSet(ctx.Templates, TemplateSet::Grid);
    ctx.CandidateCount = 1;
    ctx.Atlas = atlas;
    if (atlas) ctx.AtlasData = MeasureKnobAtlas(*atlas);
    RandomGenerator random(seed);
    ctx.Random = &random;
    DrawKnobEdge(ctx, 0, 1, {10, 3}, {39, 3}, PieceColour(25));
    top = 40;
    std::vector<int32_t> px;
    for (int32_t y = 0; y < 40; ++y)
      for (int32_t x = 0; x < 60; ++x) {
        px.push_back(DibGetPixel(mask, x, y));
        if (static_cast<uint32_t>(px.back()) == PieceColour(25)) top = std::min(top, y);
      }
    return px;
  };
  for (uint32_t seed : {1u, 2u, 3u}) {
    int32_t topA = 0, topB = 0;
    EXPECT_EQ(draw(&Atlas(), seed, topA), draw(nullptr, seed, topB));
    EXPECT_GE(topA, 1);
  }
}

}  // namespace
}  // namespace varlo
