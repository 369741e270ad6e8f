// Pixel buffers: layout, drawing, flood fill, copies with alpha and strips,
// scaling and quarter turns. The piece cutter, the effects and the field
// painter all stand on these.
#include "raster/dib.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <deque>
#include <numbers>
#include <set>
#include <utility>

#include "raster/random.h"

namespace varlo {
namespace {

constexpr uint32_t kRed = MakeRGB(255, 0, 0);
constexpr uint32_t kGreen = MakeRGB(0, 255, 0);
constexpr uint32_t kBlue = MakeRGB(0, 0, 255);
constexpr uint32_t kWhite = MakeRGB(255, 255, 255);

DIB_P Make24(int32_t w, int32_t h, uint32_t fill = 0) {
  DIB_P d;
  EXPECT_TRUE(DibCreate24(d, w, h));
  if (fill) DibFillRect(d, 0, 0, w, h, fill);
  return d;
}

// A picture where every pixel has its own colour, to see where pixels went.
DIB_P MakeNumbered(int32_t w, int32_t h, bool alpha = false) {
  DIB_P d;
  EXPECT_TRUE(alpha ? DibCreate32(d, w, h) : DibCreate24(d, w, h));
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) {
      DibSetPixel(d, x, y, MakeRGB(x & 255, y & 255, (x * 7 + y * 13) & 255));
      if (alpha) DibPixel(d, x, y)[3] = static_cast<uint8_t>((x + y) & 255);
    }
  return d;
}

XRECT Whole(const DIB_P& d) {
  XRECT r;
  RectSetXYWH(r, 0, 0, d.Width, d.Height);
  return r;
}

std::set<std::pair<int, int>> PixelsOf(const DIB_P& d, uint32_t colour) {
  std::set<std::pair<int, int>> out;
  for (int32_t y = 0; y < d.Height; ++y)
    for (int32_t x = 0; x < d.Width; ++x)
      if (DibGetPixel(d, x, y) == static_cast<int32_t>(colour)) out.insert({x, y});
  return out;
}

bool SamePixels(const DIB_P& a, const DIB_P& b) {
  if (a.Width != b.Width || a.Height != b.Height || a.BytesPerPixel != b.BytesPerPixel) return false;
  for (int32_t y = 0; y < a.Height; ++y)
    if (std::memcmp(DibRow(a, y), DibRow(b, y), static_cast<size_t>(a.Width) * a.BytesPerPixel) != 0) return false;
  return true;
}

// ---- creation and layout ----

TEST(DibTest, RowsArePaddedToFourBytes) {
  struct Case {
    int32_t w, h;
    bool alpha;
    int32_t stride;
  };
  const Case cases[] = {
      {5, 3, false, 16}, {4, 1, false, 12}, {1, 1, false, 4}, {2, 1, false, 8},
      {3, 2, false, 12}, {7, 1, false, 24}, {3, 1, true, 12}, {1, 5, true, 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.w << "x" << c.h << (c.alpha ? " 32-bit" : " 24-bit"));
    DIB_P d;
    ASSERT_TRUE(c.alpha ? DibCreate32(d, c.w, c.h) : DibCreate24(d, c.w, c.h));
    EXPECT_EQ(d.Stride, c.stride);
    EXPECT_EQ(d.Size, c.stride * c.h);
    EXPECT_EQ(d.BytesPerPixel, c.alpha ? 4 : 3);
    EXPECT_EQ(d.HasAlpha, c.alpha ? 1 : 0);
    EXPECT_EQ(d.Width, c.w);
    EXPECT_EQ(d.Height, c.h);
    ASSERT_NE(d.Bitmap, nullptr);
    EXPECT_GE(d.Bitmap->Pixels.size(), static_cast<size_t>(d.Size));
  }
}

TEST(DibTest, RefusesSizesThatAreNotPositiveOrTooLarge) {
  struct Case {
    const char* what;
    int32_t w, h;
  };
  const Case cases[] = {
      {"zero width", 0, 5},
      {"zero height", 5, 0},
      {"negative width", -1, 5},
      {"negative height", 5, -7},
      {"side beyond the limit", kDibMaxSide + 1, 1},
      {"most negative", INT32_MIN, INT32_MIN},
      {"sides allowed, bytes not", kDibMaxSide, kDibMaxSide},  // 2.7 GB: never allocated
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    DIB_P d = Make24(4, 4, kRed);  // an old bitmap is freed either way
    EXPECT_FALSE(DibCreate24(d, c.w, c.h));
    EXPECT_EQ(d.Width, 0);
    EXPECT_EQ(d.Bits, nullptr);
    EXPECT_FALSE(DibCreate32(d, c.w, c.h));
    EXPECT_EQ(d.Width, 0);
  }
}

TEST(DibTest, AttachTurnsTheTwoBytePaddedRowIntoTheStride) {
  auto bitmap = std::make_unique<DibBitmap>();
  bitmap->Width = 2;
  bitmap->Height = 3;
  bitmap->BitsPerPixel = 24;
  bitmap->WidthBytes = 6;  // what the platform reports for 2 x 3 bytes
  bitmap->Pixels.assign(8 * 3, 0);
  const uint8_t* memory = bitmap->Pixels.data();
  DIB_P d;
  DibAttach(std::move(bitmap), d);
  EXPECT_EQ(d.Stride, 8);
  EXPECT_EQ(d.Size, 24);
  EXPECT_EQ(d.Bits, memory);
  EXPECT_EQ(d.BytesPerPixel, 3);
  EXPECT_EQ(d.HasAlpha, 0);

  // Memory shorter than the rows it claims is not attached.
  auto shortBitmap = std::make_unique<DibBitmap>();
  shortBitmap->Width = 2;
  shortBitmap->Height = 3;
  shortBitmap->BitsPerPixel = 24;
  shortBitmap->WidthBytes = 6;
  shortBitmap->Pixels.assign(10, 0);
  DibAttach(std::move(shortBitmap), d);
  EXPECT_EQ(d.Width, 0);
  EXPECT_EQ(d.Bits, nullptr);
}

TEST(DibTest, PixelsAreBottomUpBlueGreenRed) {
  DIB_P d = Make24(5, 3);
  DibSetPixel(d, 1, 0, MakeRGB(10, 20, 30));
  const uint8_t* p = d.Bits + 2 * d.Stride + 3;  // top row lies last in memory
  EXPECT_EQ(p[0], 30);
  EXPECT_EQ(p[1], 20);
  EXPECT_EQ(p[2], 10);
  EXPECT_EQ(DibGetPixel(d, 1, 0), static_cast<int32_t>(MakeRGB(10, 20, 30)));
  EXPECT_EQ(DibRow(d, 2), d.Bits);
}

TEST(DibTest, GetPixelAndAlphaOutside) {
  DIB_P d = Make24(4, 3, kWhite);
  DIB_P a;
  ASSERT_TRUE(DibCreate32(a, 4, 3));
  DibPixel(a, 2, 1)[3] = 77;
  const std::pair<int, int> outside[] = {{-1, 0}, {0, -1}, {4, 0}, {0, 3}, {-1, -1}, {INT32_MAX, 0}};
  for (const auto& [x, y] : outside) {
    EXPECT_EQ(DibGetPixel(d, x, y), -1) << x << "," << y;
    EXPECT_EQ(DibGetAlpha(d, x, y), 0) << x << "," << y;
    EXPECT_EQ(DibGetAlpha(a, x, y), 0) << x << "," << y;
  }
  EXPECT_EQ(DibGetPixel(d, 3, 2), static_cast<int32_t>(kWhite));
  EXPECT_EQ(DibGetAlpha(d, 3, 2), 255);  // no alpha channel: opaque
  EXPECT_EQ(DibGetAlpha(a, 2, 1), 77);
  DIB_P none;
  EXPECT_EQ(DibGetPixel(none, 0, 0), -1);
}

TEST(DibTest, ClipToBitmap) {
  const DIB_P d = Make24(10, 8);
  struct Case {
    int32_t x, y, w, h;
    bool left;
    int32_t wx, wy, ww, wh;
  };
  const Case cases[] = {
      {2, 3, 4, 2, true, 2, 3, 4, 2},     {-3, -2, 5, 5, true, 0, 0, 2, 3},
      {8, 6, 10, 10, true, 8, 6, 2, 2},   {-5, 0, 5, 3, false, 0, 0, 0, 3},
      {10, 0, 1, 1, false, 10, 0, 0, 1},  {0, 0, INT32_MAX, INT32_MAX, true, 0, 0, 10, 8},
  };
  for (const Case& c : cases) {
    int32_t x = c.x, y = c.y, w = c.w, h = c.h;
    EXPECT_EQ(ClipToBitmap(d, x, y, w, h), c.left) << c.x << "," << c.y;
    if (c.left) {
      EXPECT_EQ(x, c.wx);
      EXPECT_EQ(y, c.wy);
      EXPECT_EQ(w, c.ww);
      EXPECT_EQ(h, c.wh);
    }
  }
}

TEST(DibTest, FillRectIsClippedAndKeepsAlpha) {
  DIB_P d;
  ASSERT_TRUE(DibCreate32(d, 6, 4));
  for (int32_t y = 0; y < 4; ++y)
    for (int32_t x = 0; x < 6; ++x) DibPixel(d, x, y)[3] = 200;
  DibFillRect(d, -2, 1, 4, 10, kBlue);
  EXPECT_EQ(PixelsOf(d, kBlue), (std::set<std::pair<int, int>>{{0, 1}, {1, 1}, {0, 2}, {1, 2}, {0, 3}, {1, 3}}));
  EXPECT_EQ(DibGetAlpha(d, 0, 1), 200);
  DibFillRect(d, 6, 0, 3, 3, kRed);  // wholly outside
  EXPECT_TRUE(PixelsOf(d, kRed).empty());
}

// ---- lines ----

TEST(DibTest, LinesIncludeBothEndsAndStayWithinHalfAPixel) {
  struct Case {
    int32_t x1, y1, x2, y2;
  };
  const Case cases[] = {
      {3, 3, 3, 3},     {0, 5, 19, 5},   {19, 5, 0, 5},   {7, 0, 7, 14},  {7, 14, 7, 0},
      {0, 0, 14, 14},   {14, 0, 0, 14},  {1, 2, 18, 7},   {18, 7, 1, 2},  {2, 1, 6, 14},
      {6, 14, 2, 1},    {0, 14, 19, 13}, {10, 0, 9, 14},  {0, 0, 19, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "(" << c.x1 << "," << c.y1 << ")-(" << c.x2 << "," << c.y2 << ")");
    DIB_P d = Make24(20, 15);
    DibLine(d, c.x1, c.y1, c.x2, c.y2, kWhite);
    const auto pixels = PixelsOf(d, kWhite);
    const int dx = std::abs(c.x2 - c.x1), dy = std::abs(c.y2 - c.y1);
    EXPECT_EQ(pixels.size(), static_cast<size_t>(std::max(dx, dy) + 1));
    EXPECT_TRUE(pixels.count({c.x1, c.y1}));
    EXPECT_TRUE(pixels.count({c.x2, c.y2}));
    // One pixel per step along the major axis, on the ideal line to within
    // half a pixel.
    for (const auto& [x, y] : pixels) {
      if (dx >= dy) {
        const double ideal = c.y1 + (dx ? double(c.y2 - c.y1) * (x - c.x1) / (c.x2 - c.x1) : 0);
        EXPECT_LE(std::abs(y - ideal), 0.5) << x << "," << y;
      } else {
        const double ideal = c.x1 + double(c.x2 - c.x1) * (y - c.y1) / (c.y2 - c.y1);
        EXPECT_LE(std::abs(x - ideal), 0.5) << x << "," << y;
      }
    }
  }
}

TEST(DibTest, LinePartlyOutsideSkipsPixelsWithoutBending) {
  // The same line on a small bitmap and on a large one that holds it whole:
  // inside the small one, the pixels must be exactly the large one's.
  struct Case {
    int32_t x1, y1, x2, y2;
  };
  const Case cases[] = {{-7, -3, 25, 9}, {25, -8, -6, 17}, {-20, 4, 30, 6}, {4, -30, 6, 40}, {-3, 5, 14, 5}};
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "(" << c.x1 << "," << c.y1 << ")-(" << c.x2 << "," << c.y2 << ")");
    DIB_P small = Make24(12, 10);
    DIB_P large = Make24(100, 100);
    DibLine(small, c.x1, c.y1, c.x2, c.y2, kWhite);
    DibLine(large, c.x1 + 50, c.y1 + 50, c.x2 + 50, c.y2 + 50, kWhite);
    std::set<std::pair<int, int>> expected;
    for (const auto& [x, y] : PixelsOf(large, kWhite))
      if (x - 50 >= 0 && x - 50 < 12 && y - 50 >= 0 && y - 50 < 10) expected.insert({x - 50, y - 50});
    EXPECT_EQ(PixelsOf(small, kWhite), expected);
  }
}

TEST(DibTest, FrameDrawsTheFourEdges) {
  DIB_P d = Make24(8, 6);
  DibFrame(d, 1, 1, 4, 3, kGreen);
  EXPECT_EQ(PixelsOf(d, kGreen), (std::set<std::pair<int, int>>{
                                     {1, 1}, {2, 1}, {3, 1}, {4, 1}, {4, 2}, {4, 3},
                                     {3, 3}, {2, 3}, {1, 3}, {1, 2}}));
  DIB_P e = Make24(8, 6);
  DibFrame(e, 3, 3, 0, 2, kGreen);  // no width: no frame (and nothing left of x)
  DibFrame(e, 3, 3, 2, 0, kGreen);
  EXPECT_TRUE(PixelsOf(e, kGreen).empty());
}

// ---- flood fill ----

// The plain breadth-first fill the scan-line fill must agree with.
XRECT NaiveFill(DIB_P& d, int32_t x, int32_t y, uint32_t colour) {
  XRECT box;
  const int32_t seed = DibGetPixel(d, x, y);
  if (seed < 0 || seed == static_cast<int32_t>(colour)) return box;
  std::deque<std::pair<int32_t, int32_t>> todo{{x, y}};
  DibSetPixel(d, x, y, colour);
  while (!todo.empty()) {
    auto [px, py] = todo.front();
    todo.pop_front();
    RectExtend(box, px, py, px, py);
    const std::pair<int32_t, int32_t> next[] = {{px - 1, py}, {px + 1, py}, {px, py - 1}, {px, py + 1}};
    for (auto [nx, ny] : next) {
      if (DibGetPixel(d, nx, ny) == seed) {
        DibSetPixel(d, nx, ny, colour);
        todo.push_back({nx, ny});
      }
    }
  }
  return box;
}

TEST(DibTest, FloodFillOnTheFillColourChangesNothing) {
  DIB_P d = MakeNumbered(9, 7);
  DibFillRect(d, 2, 2, 3, 3, kRed);
  DIB_P before = MakeNumbered(9, 7);
  DibFillRect(before, 2, 2, 3, 3, kRed);
  XRECT bounds;
  DibFloodFill(d, 3, 3, kRed, &bounds);
  EXPECT_TRUE(SamePixels(d, before));
  XRECT point;
  RectSetLTRB(point, 3, 3, 3, 3);
  EXPECT_EQ(bounds, point);
  // A colour value with bits above the 24 colour bits is still that colour.
  DibFloodFill(d, 3, 3, kRed | 0xFF000000u, &bounds);
  EXPECT_TRUE(SamePixels(d, before));
}

TEST(DibTest, FloodFillOutsideDoesNothing) {
  DIB_P d = Make24(5, 5);
  XRECT bounds;
  DibFloodFill(d, -1, 2, kRed, &bounds);
  DibFloodFill(d, 2, 5, kRed, nullptr);
  EXPECT_TRUE(PixelsOf(d, kRed).empty());
  EXPECT_EQ(bounds.Left, -1);
  EXPECT_EQ(bounds.Width, 1);
}

TEST(DibTest, FloodFillStaysInsideARingAndMissesDiagonalGaps) {
  // A ring of white around a black hole, with a diagonal-only gap in its
  // corner: 4-connected filling must not leak through it.
  DIB_P d = Make24(12, 10);
  DibFrame(d, 2, 2, 8, 6, kWhite);
  DibSetPixel(d, 9, 7, 0);  // corner pixel gone: inside (8,6) meets outside (10,8) only diagonally
  XRECT bounds;
  DibFloodFill(d, 5, 4, kGreen, &bounds);
  XRECT inner;
  RectSetLTRB(inner, 3, 3, 8, 6);
  EXPECT_EQ(bounds, inner);
  EXPECT_EQ(PixelsOf(d, kGreen).size(), 6u * 4u);
  EXPECT_EQ(DibGetPixel(d, 0, 0), 0);
  EXPECT_EQ(DibGetPixel(d, 10, 8), 0);
}

TEST(DibTest, FloodFillAgreesWithANaiveFillOnMazes) {
  // Random walls at several densities, including spiral-like areas whose
  // runs stick out past their parents in both directions.
  for (uint32_t seed = 1; seed <= 12; ++seed) {
    SCOPED_TRACE(::testing::Message() << "seed " << seed);
    RandomGenerator rng(seed);
    const int32_t w = 37 + static_cast<int32_t>(seed % 5) * 11, h = 29 + static_cast<int32_t>(seed % 3) * 13;
    DIB_P a = Make24(w, h);
    const uint32_t density = 25 + (seed % 4) * 10;  // percent of walls
    for (int32_t y = 0; y < h; ++y)
      for (int32_t x = 0; x < w; ++x)
        if (static_cast<uint32_t>(rng.Random(100)) < density) DibSetPixel(a, x, y, kWhite);
    // A few long walls with gaps, the shape that makes U-turning areas.
    for (int32_t k = 0; k < 4; ++k) {
      const int32_t row = rng.Random(h);
      DibLine(a, 0, row, w - 1, row, kWhite);
      DibSetPixel(a, rng.Random(w), row, 0);
    }
    DIB_P b = Make24(w, h);
    DibBlit(b, 0, 0, a, 0, 0, w, h);
    for (int32_t tries = 0; tries < 5; ++tries) {
      const int32_t x = rng.Random(w);
      const int32_t y = rng.Random(h);
      const uint32_t colour = MakeRGB(10 + tries, 20, 30);
      XRECT got, want;
      DibFloodFill(a, x, y, colour, &got);
      want = NaiveFill(b, x, y, colour);
      if (RectIsEmpty(want)) RectSetLTRB(want, x, y, x, y);
      ASSERT_TRUE(SamePixels(a, b)) << "fill from " << x << "," << y;
      EXPECT_EQ(got, want);
    }
  }
}

// ---- drawing with alpha, keys and strips ----

TEST(DibTest, DrawStripRepeatsOneSourceColumnAcrossTheWidth) {
  DIB_P src = MakeNumbered(4, 3);
  DIB_P dst = Make24(120, 5);
  DibDraw(dst, 10, 1, Whole(dst), src, 2, 0, 1, 3, 100, 3);
  for (int32_t y = 0; y < 5; ++y)
    for (int32_t x = 0; x < 120; ++x) {
      const bool inBand = x >= 10 && x < 110 && y >= 1 && y < 4;
      EXPECT_EQ(DibGetPixel(dst, x, y), inBand ? DibGetPixel(src, 2, y - 1) : 0) << x << "," << y;
    }
}

TEST(DibTest, DrawStripKeepsTheStretchedAxisWhenClipped) {
  DIB_P src = MakeNumbered(4, 6);
  DIB_P dst = Make24(20, 20);
  XRECT clip;
  RectSetLTRB(clip, 5, 4, 19, 19);
  // Vertical strip: source row 3 repeated down; clipped at the top the row
  // stays 3, clipped at the left the columns follow.
  DibDraw(dst, 3, 0, clip, src, 0, 3, 4, 1, 4, 12);
  for (int32_t y = 4; y < 12; ++y) {
    EXPECT_EQ(DibGetPixel(dst, 5, y), DibGetPixel(src, 2, 3)) << y;
    EXPECT_EQ(DibGetPixel(dst, 6, y), DibGetPixel(src, 3, 3)) << y;
  }
  EXPECT_EQ(DibGetPixel(dst, 5, 3), 0);
  EXPECT_EQ(DibGetPixel(dst, 5, 12), 0);
  EXPECT_EQ(DibGetPixel(dst, 7, 5), 0);
}

TEST(DibTest, DrawBlendsBySourceAlpha) {
  DIB_P src;
  ASSERT_TRUE(DibCreate32(src, 3, 1));
  const uint8_t alphas[3] = {255, 0, 128};
  for (int32_t x = 0; x < 3; ++x) {
    DibSetPixel(src, x, 0, MakeRGB(200, 100, 0));
    DibPixel(src, x, 0)[3] = alphas[x];
  }
  DIB_P dst = Make24(3, 1, MakeRGB(0, 50, 255));
  DibDraw(dst, 0, 0, Whole(dst), src, 0, 0, 3, 1, 3, 1);
  EXPECT_EQ(DibGetPixel(dst, 0, 0), static_cast<int32_t>(MakeRGB(200, 100, 0)));
  EXPECT_EQ(DibGetPixel(dst, 1, 0), static_cast<int32_t>(MakeRGB(0, 50, 255)));
  // (dst * 127 + src * 128) div 255 per channel.
  EXPECT_EQ(DibGetPixel(dst, 2, 0),
            static_cast<int32_t>(MakeRGB((0 * 127 + 200 * 128) / 255, (50 * 127 + 100 * 128) / 255,
                                         (255 * 127 + 0 * 128) / 255)));
}

TEST(DibTest, DrawCopiesOneToOneWithClipAndSourceOffset) {
  DIB_P src = MakeNumbered(10, 10);
  DIB_P dst;
  ASSERT_TRUE(DibCreate32(dst, 8, 8));
  for (int32_t y = 0; y < 8; ++y)
    for (int32_t x = 0; x < 8; ++x) DibPixel(dst, x, y)[3] = 9;
  XRECT clip;
  RectSetLTRB(clip, 2, 2, 5, 6);
  DibDraw(dst, 1, 0, clip, src, 3, 4, 6, 6, 6, 6);
  for (int32_t y = 0; y < 8; ++y)
    for (int32_t x = 0; x < 8; ++x) {
      const bool in = x >= 2 && x <= 5 && y >= 2 && y <= 5;
      EXPECT_EQ(DibGetPixel(dst, x, y), in ? DibGetPixel(src, x - 1 + 3, y + 4) : 0) << x << "," << y;
      EXPECT_EQ(DibGetAlpha(dst, x, y), 9);  // the destination's alpha is not touched
    }
}

TEST(DibTest, DrawNeverReadsOutsideTheSource) {
  // Areas that reach past the source (the sanitizer build sees any stray
  // read); what lies inside the source is still drawn.
  DIB_P src = MakeNumbered(4, 4);
  DIB_P dst = Make24(10, 10);
  DibDraw(dst, 0, 0, Whole(dst), src, 2, 2, 8, 8, 8, 8);
  EXPECT_EQ(DibGetPixel(dst, 1, 1), DibGetPixel(src, 3, 3));
  EXPECT_EQ(DibGetPixel(dst, 2, 2), 0);
  DIB_P dst2 = Make24(10, 10);
  DibDraw(dst2, 0, 0, Whole(dst2), src, -3, -1, 5, 5, 5, 5);
  EXPECT_EQ(DibGetPixel(dst2, 3, 1), DibGetPixel(src, 0, 0));
  EXPECT_EQ(DibGetPixel(dst2, 2, 2), 0);
  DIB_P dst3 = Make24(10, 10);
  DibDraw(dst3, 0, 0, Whole(dst3), src, 9, 0, 1, 4, 10, 4);  // strip from a column that is not there
  DibDraw(dst3, 0, 0, Whole(dst3), src, 0, -1, 4, 1, 4, 10);
  EXPECT_TRUE(PixelsOf(dst3, 0).size() == 100u);
}

TEST(DibTest, DrawWithBothSizesDifferentDrawsNothing) {
  DIB_P src = MakeNumbered(4, 4);
  DIB_P dst = Make24(10, 10);
  DibDraw(dst, 0, 0, Whole(dst), src, 0, 0, 2, 2, 4, 4);
  DIB_P empty;
  DibDraw(dst, 0, 0, Whole(dst), empty, 0, 0, 2, 2, 2, 2);
  DibDraw(empty, 0, 0, Whole(dst), src, 0, 0, 2, 2, 2, 2);
  EXPECT_EQ(PixelsOf(dst, 0).size(), 100u);
}

TEST(DibTest, DrawKeyedSkipsTheKeyColourAndIgnoresAlpha) {
  DIB_P src;
  ASSERT_TRUE(DibCreate32(src, 3, 1));
  DibSetPixel(src, 0, 0, MakeRGB(255, 0, 255));  // magenta: the key
  DibSetPixel(src, 1, 0, kGreen);
  DibSetPixel(src, 2, 0, kBlue);  // alpha 0, drawn anyway
  DibPixel(src, 1, 0)[3] = 255;
  DIB_P dst = Make24(5, 1, kRed);
  DibDrawKeyed(dst, 1, 0, MakeRGB(255, 0, 255), Whole(dst), src, 0, 0, 3, 1, 3, 1);
  EXPECT_EQ(DibGetPixel(dst, 1, 0), static_cast<int32_t>(kRed));
  EXPECT_EQ(DibGetPixel(dst, 2, 0), static_cast<int32_t>(kGreen));
  EXPECT_EQ(DibGetPixel(dst, 3, 0), static_cast<int32_t>(kBlue));
  // And as a horizontal strip.
  DIB_P band = Make24(6, 1, kRed);
  DibDrawKeyed(band, 0, 0, MakeRGB(255, 0, 255), Whole(band), src, 1, 0, 1, 1, 6, 1);
  EXPECT_EQ(PixelsOf(band, kGreen).size(), 6u);
}

TEST(DibTest, BlitClipsBothSidesAndMayOverlapItself) {
  DIB_P src = MakeNumbered(6, 6);
  DIB_P dst = Make24(5, 5);
  DibBlit(dst, -1, 2, src, 0, 0, 4, 10);
  for (int32_t y = 0; y < 5; ++y)
    for (int32_t x = 0; x < 5; ++x) {
      const bool in = x < 3 && y >= 2;
      EXPECT_EQ(DibGetPixel(dst, x, y), in ? DibGetPixel(src, x + 1, y - 2) : 0) << x << "," << y;
    }
  // Scrolling a picture down and right inside itself.
  DIB_P self = MakeNumbered(8, 8);
  const DIB_P original = MakeNumbered(8, 8);
  DibBlit(self, 2, 3, self, 0, 0, 6, 5);
  for (int32_t y = 3; y < 8; ++y)
    for (int32_t x = 2; x < 8; ++x) EXPECT_EQ(DibGetPixel(self, x, y), DibGetPixel(original, x - 2, y - 3));
}

TEST(DibTest, FromBitmapMakesA24BitCopy) {
  const DIB_P src = MakeNumbered(5, 3, true);
  DIB_P d;
  ASSERT_TRUE(DibFromBitmap(d, src));
  EXPECT_EQ(d.BytesPerPixel, 3);
  EXPECT_EQ(d.HasAlpha, 0);
  for (int32_t y = 0; y < 3; ++y)
    for (int32_t x = 0; x < 5; ++x) EXPECT_EQ(DibGetPixel(d, x, y), DibGetPixel(src, x, y));
  EXPECT_NE(d.Bits, src.Bits);
}

// ---- scaling ----

TEST(DibTest, ScaleFollowsTheFixedPointWeights) {
  // 2 x 1 of blue 0 and 255 onto 4 x 1: step 8192, so the right weight is
  // 0, 1/4, 1/2, 3/4 and blue = 255 * weight, truncated.
  DIB_P src = Make24(2, 1);
  DibSetPixel(src, 1, 0, MakeRGB(0, 0, 255));
  DIB_P dst = Make24(4, 1);
  DibScale(dst, src);
  const int expected[4] = {0, 63, 127, 191};
  for (int32_t x = 0; x < 4; ++x) EXPECT_EQ(DibGetPixel(dst, x, 0), static_cast<int32_t>(MakeRGB(0, 0, expected[x])));

  // 2 x 2 onto 3 x 3: steps 10922; weights per the 15-bit formulas.
  DIB_P sq = Make24(2, 2);
  DibSetPixel(sq, 0, 0, MakeRGB(0, 0, 0));
  DibSetPixel(sq, 1, 0, MakeRGB(100, 0, 0));
  DibSetPixel(sq, 0, 1, MakeRGB(200, 0, 0));
  DibSetPixel(sq, 1, 1, MakeRGB(255, 0, 0));
  DIB_P out = Make24(3, 3);
  DibScale(out, sq);
  // fx = fy = 10922 at (1, 1): wTR = 10922 * 21846 >> 15 = 7281, wTL = 14565,
  // wBR = 10922 * 10922 >> 15 = 3640, wBL = 7282; red = (100*7281 + 200*7282
  // + 255*3640) >> 15 = 3112700 >> 15 = 94.
  EXPECT_EQ(DibGetPixel(out, 1, 1) & 0xFF, 94);
  EXPECT_EQ(DibGetPixel(out, 0, 0) & 0xFF, 0);
  // (2, 2): fx = fy = 21844: wTR = 7282, wTL = 3642, wBR = 14561, wBL = 7283:
  // (100*7282 + 200*7283 + 255*14561) >> 15 = 5897855 >> 15 = 179.
  EXPECT_EQ(DibGetPixel(out, 2, 2) & 0xFF, 179);
}

TEST(DibTest, ScalingAUniformPictureKeepsItsColour) {
  const uint32_t colour = MakeRGB(201, 7, 133);
  struct Case {
    int32_t sw, sh, dw, dh;
  };
  const Case cases[] = {{40, 30, 17, 11}, {17, 11, 40, 30}, {1, 1, 9, 9}, {1, 20, 5, 5}, {20, 1, 5, 5}, {5, 5, 1, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.sw << "x" << c.sh << " -> " << c.dw << "x" << c.dh);
    DIB_P src = Make24(c.sw, c.sh, colour);
    DIB_P dst = Make24(c.dw, c.dh);
    DibScale(dst, src);
    EXPECT_EQ(PixelsOf(dst, colour).size(), static_cast<size_t>(c.dw * c.dh));
  }
}

TEST(DibTest, ScaleToFillsOnlyTheTopLeftArea) {
  DIB_P src = Make24(8, 8, kGreen);
  DIB_P dst = Make24(10, 10, kRed);
  DibScaleTo(dst, 4, 3, src);
  EXPECT_EQ(PixelsOf(dst, kGreen).size(), 12u);
  EXPECT_EQ(DibGetPixel(dst, 3, 2), static_cast<int32_t>(kGreen));
  EXPECT_EQ(DibGetPixel(dst, 4, 2), static_cast<int32_t>(kRed));
  EXPECT_EQ(DibGetPixel(dst, 3, 3), static_cast<int32_t>(kRed));
  DibScaleTo(dst, 50, 50, src);  // larger than the destination: limited to it
  EXPECT_EQ(PixelsOf(dst, kGreen).size(), 100u);
}

// ---- quarter turns and tint ----

TEST(DibTest, RotateTwoByOnePutsTheFirstPixelOnTop) {
  DIB_P src = Make24(2, 1);
  DibSetPixel(src, 0, 0, kRed);
  DibSetPixel(src, 1, 0, kBlue);
  DIB_P dst;
  ASSERT_TRUE(DibRotate90(dst, src));
  EXPECT_EQ(dst.Width, 1);
  EXPECT_EQ(dst.Height, 2);
  EXPECT_EQ(DibGetPixel(dst, 0, 0), static_cast<int32_t>(kRed));
  EXPECT_EQ(DibGetPixel(dst, 0, 1), static_cast<int32_t>(kBlue));
}

TEST(DibTest, RotateTurnsClockwiseAtEverySize) {
  // Sizes around the 64-pixel blocks of the turning loop.
  struct Case {
    int32_t w, h;
    bool alpha;
  };
  const Case cases[] = {{5, 3, false}, {64, 64, false}, {65, 63, false}, {130, 70, false}, {1, 129, false},
                        {67, 3, true}, {33, 97, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.w << "x" << c.h << (c.alpha ? " 32-bit" : ""));
    const DIB_P src = MakeNumbered(c.w, c.h, c.alpha);
    DIB_P dst;
    ASSERT_TRUE(DibRotate90(dst, src));
    ASSERT_EQ(dst.Width, c.h);
    ASSERT_EQ(dst.Height, c.w);
    ASSERT_EQ(dst.BytesPerPixel, src.BytesPerPixel);
    bool ok = true;
    for (int32_t y = 0; y < c.h && ok; ++y)
      for (int32_t x = 0; x < c.w && ok; ++x)
        ok = std::memcmp(DibPixel(dst, c.h - 1 - y, x), DibPixel(src, x, y), static_cast<size_t>(src.BytesPerPixel)) == 0;
    EXPECT_TRUE(ok);
    // Four quarter turns give the picture back.
    DIB_P t = std::move(dst);
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(DibRotate90(t, t));
    EXPECT_TRUE(SamePixels(t, src));
  }
}

TEST(DibTest, RotateWithMarginKeepsTheMarginAtRightAndBottom) {
  const int32_t m = 2;
  DIB_P src = MakeNumbered(7, 5);
  DibFillRect(src, 5, 0, 2, 5, kWhite);  // the margin, which must not travel
  DibFillRect(src, 0, 3, 7, 2, kWhite);
  DIB_P dst;
  ASSERT_TRUE(DibRotate90Margin(dst, src, m));
  ASSERT_EQ(dst.Width, 5);
  ASSERT_EQ(dst.Height, 7);
  const int32_t iw = 5, ih = 3;
  for (int32_t y = 0; y < dst.Height; ++y)
    for (int32_t x = 0; x < dst.Width; ++x) {
      const bool inner = x < ih && y < iw;
      const int32_t want = inner ? DibGetPixel(src, y, ih - 1 - x) : 0;
      EXPECT_EQ(DibGetPixel(dst, x, y), want) << x << "," << y;
    }
  EXPECT_FALSE(DibRotate90Margin(dst, src, -1));
}

TEST(DibTest, TintMixesEveryPixelButTheKey) {
  DIB_P d = Make24(3, 1);
  DibSetPixel(d, 0, 0, MakeRGB(255, 101, 0));
  DibSetPixel(d, 1, 0, MakeRGB(1, 2, 3));  // the key
  DibSetPixel(d, 2, 0, MakeRGB(255, 255, 255));
  DibTint(d, -1, 0, 10, 5, MakeRGB(1, 2, 3), MakeRGB(255, 0, 51));
  EXPECT_EQ(DibGetPixel(d, 0, 0), static_cast<int32_t>(MakeRGB(127 + 127, 50 + 0, 0 + 25)));
  EXPECT_EQ(DibGetPixel(d, 1, 0), static_cast<int32_t>(MakeRGB(1, 2, 3)));
  EXPECT_EQ(DibGetPixel(d, 2, 0), static_cast<int32_t>(MakeRGB(254, 127, 152)));
}

// ---- helpers ----

TEST(DibTest, ColourHelpers) {
  const RGB8 c = ColorToRGB(MakeRGB(1, 2, 3));
  EXPECT_EQ(c.r, 1);
  EXPECT_EQ(c.g, 2);
  EXPECT_EQ(c.b, 3);
  EXPECT_EQ(MakeRGB(0x12, 0x34, 0x56), 0x563412u);
  EXPECT_EQ(ClampByte(-5), 0);
  EXPECT_EQ(ClampByte(300), 255);
  EXPECT_EQ(Clamp(5, 10, 20), 10);
  EXPECT_EQ(Clamp(25, 10, 20), 20);
  EXPECT_EQ(Clamp(5, 10, 2), 2);  // hi wins when the range is upside down
}

TEST(DibTest, AngleAt) {
  struct Case {
    PointD p, q, r;
    double angle;
  };
  const double pi = std::numbers::pi;
  const Case cases[] = {
      {{1, 0}, {0, 0}, {0, 1}, pi / 2},
      {{-3, 0}, {0, 0}, {5, 0}, pi},
      {{2, 2}, {1, 1}, {3, 3}, 0},
      {{1, 1}, {0, 0}, {1, 0}, pi / 4},
      {{1e8, 1}, {0, 0}, {1e8, 1}, 0},  // rounding must not step outside acos
      {{0, 0}, {0, 0}, {1, 0}, 0},      // a leg of no length: 0, not NaN
  };
  for (const Case& c : cases) {
    const double a = AngleAt(c.p, c.q, c.r);
    EXPECT_FALSE(std::isnan(a));
    EXPECT_NEAR(a, c.angle, 1e-6);
  }
}

}  // namespace
}  // namespace varlo
