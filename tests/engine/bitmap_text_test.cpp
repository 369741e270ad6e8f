// The built-in bitmap font of the headless tools: glyph shapes, widths,
// alignment, the ellipsis, clipping to the box and the bitmap, and
// characters outside ASCII.
#include "platform/bitmap_text.h"

#include <gtest/gtest.h>

#include <string>

namespace varlo {
namespace {

// The text's pixels as rows of '#' and '.', box-sized.
std::string Picture(const DIB_P& d, const XRECT& box) {
  std::string s;
  for (int32_t y = box.Top; y <= box.Bottom; ++y) {
    for (int32_t x = box.Left; x <= box.Right; ++x) s += DibGetPixel(d, x, y) == 0xFFFFFF ? '#' : '.';
    s += '\n';
  }
  return s;
}

int32_t Lit(const DIB_P& d) {
  int32_t n = 0;
  for (int32_t y = 0; y < d.Height; ++y)
    for (int32_t x = 0; x < d.Width; ++x) n += DibGetPixel(d, x, y) == 0xFFFFFF;
  return n;
}

TEST(BitmapText, DrawsTheGlyphsCentredInTheBox) {
  BitmapText text;
  TextStyle st;
  st.Colour = 0xFFFFFF;
  DIB_P d;
  ASSERT_TRUE(DibCreate24(d, 11, 9));
  XRECT box;
  RectSetXYWH(box, 0, 0, 11, 9);
  text.DrawText(d, box, "T1", st);
  EXPECT_EQ(Picture(d, box),
            "...........\n"
            "#####...#..\n"
            "..#....##..\n"
            "..#.....#..\n"
            "..#.....#..\n"
            "..#.....#..\n"
            "..#.....#..\n"
            "..#....###.\n"
            "...........\n");
  EXPECT_EQ(text.TextWidth("T1", st), 11);
  EXPECT_EQ(text.TextWidth("", st), 0);
  st.Bold = true;
  EXPECT_EQ(text.TextWidth("T1", st), 13);
  st.Bold = false;
  st.PixelSize = 20;
  EXPECT_EQ(text.TextWidth("T1", st), 22) << "twice the size";
  EXPECT_EQ(text.TextHeight(st), 18);
}

TEST(BitmapText, AlignsCutsWithAnEllipsisAndClips) {
  BitmapText text;
  TextStyle st;
  st.Colour = 0xFFFFFF;
  DIB_P d;
  ASSERT_TRUE(DibCreate24(d, 60, 20));
  XRECT box;
  RectSetXYWH(box, 10, 5, 40, 10);
  // Right aligned: the last lit column is the box's right edge.
  st.HAlign = TextStyle::Right;
  text.DrawText(d, box, "ab", st);
  int32_t right = -1, left = 99;
  for (int32_t y = 0; y < 20; ++y)
    for (int32_t x = 0; x < 60; ++x)
      if (DibGetPixel(d, x, y) == 0xFFFFFF) {
        right = std::max(right, x);
        left = std::min(left, x);
      }
  EXPECT_EQ(right, box.Right);
  EXPECT_EQ(left, box.Right - text.TextWidth("ab", st) + 1);
  // A long text: nothing outside the box; with the ellipsis it ends in
  // three dots inside the box.
  DibFillRect(d, 0, 0, 60, 20, 0);
  st.HAlign = TextStyle::Left;
  text.DrawText(d, box, "Pocket 1 (12)", st);
  for (int32_t y = 0; y < 20; ++y)
    for (int32_t x = 0; x < 60; ++x)
      if (DibGetPixel(d, x, y) == 0xFFFFFF) {
        EXPECT_TRUE(RectContains(box, x, y)) << x << "," << y;
      }
  DibFillRect(d, 0, 0, 60, 20, 0);
  st.EndEllipsis = true;
  text.DrawText(d, box, "Pocket 1 (12)", st);
  // "Poc..." is 6 characters, 35 pixels; the dots are on the base row.
  const int32_t base = box.Top + (box.Height - 7) / 2 + 6;
  for (int32_t k = 0; k < 3; ++k) EXPECT_EQ(DibGetPixel(d, box.Left + 18 + 6 * k + 1, base), 0xFFFFFFu) << k;
  EXPECT_EQ(DibGetPixel(d, box.Left + 36 + 1, base), 0u) << "nothing after the dots";
  // A box hanging out of the bitmap on every side is clipped, not a crash.
  DIB_P small;
  ASSERT_TRUE(DibCreate24(small, 8, 4));
  XRECT wide;
  RectSetXYWH(wide, -20, -6, 60, 16);
  st.HAlign = TextStyle::Centre;
  st.EndEllipsis = false;
  st.PixelSize = 30;
  text.DrawText(small, wide, "WWWW", st);
  EXPECT_GT(Lit(small), 0);
}

TEST(BitmapText, EachCodePointOutsideAsciiIsAQuestionMark) {
  BitmapText text;
  TextStyle st;
  st.Colour = 0xFFFFFF;
  EXPECT_EQ(text.TextWidth("Z\xC3\xBCrich \xE2\x82\xAC", st), text.TextWidth("Z?rich ?", st));
  DIB_P a, b;
  ASSERT_TRUE(DibCreate24(a, 60, 9));
  ASSERT_TRUE(DibCreate24(b, 60, 9));
  XRECT box;
  RectSetXYWH(box, 0, 0, 60, 9);
  text.DrawText(a, box, "\xC3\xA9t\xC3\xA9", st);
  text.DrawText(b, box, "?t?", st);
  EXPECT_EQ(Picture(a, box), Picture(b, box));
  text.DrawText(a, box, std::string("\x01\x7F", 2), st);  // control characters too
  EXPECT_GT(Lit(a), 0);
}

}  // namespace
}  // namespace varlo
