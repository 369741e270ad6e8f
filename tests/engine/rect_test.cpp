// Rectangles with inclusive edges: the bounding boxes, dirty areas and clip
// areas of the whole game are built from these few operations.
#include "raster/rect.h"

#include <gtest/gtest.h>

#include <climits>

namespace varlo {
namespace {

XRECT Ltrb(int32_t l, int32_t t, int32_t r, int32_t b) {
  XRECT x;
  RectSetLTRB(x, l, t, r, b);
  return x;
}

void ExpectConsistent(const XRECT& r) {
  EXPECT_EQ(r.Width, r.Right - r.Left + 1);
  EXPECT_EQ(r.Height, r.Bottom - r.Top + 1);
}

TEST(RectTest, EmptyRectangleIsUnsetEverywhere) {
  XRECT r = Ltrb(1, 2, 3, 4);
  RectEmpty(r);
  EXPECT_EQ(r.Left, kRectUnset);
  EXPECT_EQ(r.Top, kRectUnset);
  EXPECT_EQ(r.Right, kRectUnset);
  EXPECT_EQ(r.Bottom, kRectUnset);
  EXPECT_EQ(r.Width, 0);
  EXPECT_EQ(r.Height, 0);
  EXPECT_TRUE(RectIsEmpty(r));
  EXPECT_EQ(r, XRECT{});
}

TEST(RectTest, ExtendBuildsBoundingBoxes) {
  struct Case {
    const char* what;
    XRECT start;
    int32_t l, t, r, b;
    XRECT want;
  };
  const Case cases[] = {
      {"from empty: exactly the rectangle given", XRECT{}, 5, 6, 9, 7, Ltrb(5, 6, 9, 7)},
      {"from empty, a negative area", XRECT{}, -40, -30, -20, -10, Ltrb(-40, -30, -20, -10)},
      {"inside: unchanged", Ltrb(0, 0, 10, 10), 2, 3, 4, 5, Ltrb(0, 0, 10, 10)},
      {"outside on every side", Ltrb(0, 0, 10, 10), -1, -2, 11, 12, Ltrb(-1, -2, 11, 12)},
      {"right and bottom only", Ltrb(0, 0, 10, 10), 5, 5, 20, 15, Ltrb(0, 0, 20, 15)},
      {"a single point from empty", XRECT{}, 3, 3, 3, 3, Ltrb(3, 3, 3, 3)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    XRECT r = c.start;
    RectExtend(r, c.l, c.t, c.r, c.b);
    EXPECT_EQ(r, c.want);
    ExpectConsistent(r);
  }
}

TEST(RectTest, ExtendReplacesAnUnsetEdgeEdgeByEdge) {
  XRECT r;
  r.Left = 4;  // only the left edge is set; the others still carry the marker
  RectExtend(r, 10, 20, 30, 40);
  EXPECT_EQ(r, Ltrb(4, 20, 30, 40));
}

TEST(RectTest, IntersectSharedPixelsOnly) {
  struct Case {
    const char* what;
    XRECT a, b;
    bool shares;
    XRECT want;
  };
  const Case cases[] = {
      {"overlap", Ltrb(0, 0, 10, 10), Ltrb(5, 6, 20, 20), true, Ltrb(5, 6, 10, 10)},
      {"touching at a shared edge column", Ltrb(0, 0, 10, 10), Ltrb(10, 2, 20, 8), true, Ltrb(10, 2, 10, 8)},
      {"touching at a shared edge row", Ltrb(0, 0, 10, 10), Ltrb(3, 10, 5, 30), true, Ltrb(3, 10, 5, 10)},
      {"corner pixel", Ltrb(0, 0, 10, 10), Ltrb(10, 10, 12, 12), true, Ltrb(10, 10, 10, 10)},
      {"one pixel apart", Ltrb(0, 0, 10, 10), Ltrb(11, 0, 20, 10), false, XRECT{}},
      {"one pixel apart below", Ltrb(0, 0, 10, 10), Ltrb(0, 11, 10, 20), false, XRECT{}},
      {"contained", Ltrb(0, 0, 10, 10), Ltrb(2, 3, 4, 5), true, Ltrb(2, 3, 4, 5)},
      {"empty operand at the unset edges", XRECT{}, Ltrb(-10000, -10000, 0, 0), false, XRECT{}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    XRECT out = Ltrb(1, 1, 1, 1);  // stale content must go
    EXPECT_EQ(RectIntersect(c.a, c.b, &out), c.shares);
    EXPECT_EQ(out, c.want);
    EXPECT_EQ(RectIntersect(c.b, c.a, nullptr), c.shares);
  }
}

TEST(RectTest, ContainsIsInclusive) {
  const XRECT r = Ltrb(2, 3, 5, 7);
  struct Case {
    int32_t x, y;
    bool in;
  };
  const Case cases[] = {{2, 3, true}, {5, 7, true}, {1, 3, false}, {6, 7, false}, {2, 2, false}, {5, 8, false}};
  for (const Case& c : cases) EXPECT_EQ(RectContains(r, c.x, c.y), c.in) << c.x << "," << c.y;
}

TEST(RectTest, EditsKeepEdgesAndSizesAgreeing) {
  XRECT r;
  RectSetXYWH(r, 10, 20, 5, 3);
  EXPECT_EQ(r, Ltrb(10, 20, 14, 22));

  RectMoveTo(r, -2, -1);
  EXPECT_EQ(r, Ltrb(-2, -1, 2, 1));

  RectGrow(r, -1, -1, 2, 2);  // one pixel more on each side
  EXPECT_EQ(r, Ltrb(-3, -2, 3, 2));

  RectOffset(r, 1, 1, -1, -1);
  EXPECT_EQ(r, Ltrb(-2, -1, 2, 1));
  ExpectConsistent(r);
}

TEST(RectTest, SetRightBottomMayGiveEmptyOrNegativeSizes) {
  // A selection band dragged up and left of where it started.
  XRECT r = Ltrb(10, 10, 10, 10);
  RectSetRightBottom(r, 9, 4);
  EXPECT_EQ(r.Left, 10);
  EXPECT_EQ(r.Top, 10);
  EXPECT_EQ(r.Width, 0);
  EXPECT_EQ(r.Height, -5);
  EXPECT_TRUE(RectIsEmpty(r));
  EXPECT_FALSE(RectIntersect(r, Ltrb(0, 0, 100, 100), nullptr));
}

TEST(RectTest, ClipToRectMovesTheSourceWithTheCutEdges) {
  const XRECT clip = Ltrb(10, 20, 49, 59);  // 40 x 40
  struct Case {
    const char* what;
    int32_t x, y, w, h;
    bool left;
    int32_t wx, wy, ww, wh, wsx, wsy;
  };
  const Case cases[] = {
      {"inside", 15, 25, 10, 10, true, 15, 25, 10, 10, 100, 200},
      {"cut at left and top", 5, 12, 10, 10, true, 10, 20, 5, 2, 105, 208},
      {"cut at right and bottom", 45, 55, 10, 10, true, 45, 55, 5, 5, 100, 200},
      {"larger on every side", 0, 0, 100, 100, true, 10, 20, 40, 40, 110, 220},
      {"left of it", 0, 25, 10, 5, false, 10, 25, 0, 5, 110, 200},
      {"below it", 15, 60, 5, 5, false, 15, 60, 5, 0, 100, 200},
      // Without 64-bit care x + w wraps around and the far area looks inside.
      {"far right, huge width", INT32_MAX - 5, 25, 100, 5, false, INT32_MAX - 5, 25, 0, 5, 100, 200},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    int32_t x = c.x, y = c.y, w = c.w, h = c.h, sx = 100, sy = 200;
    EXPECT_EQ(ClipToRect(clip, x, y, w, h, sx, sy), c.left);
    if (c.left) {
      EXPECT_EQ(x, c.wx);
      EXPECT_EQ(y, c.wy);
      EXPECT_EQ(w, c.ww);
      EXPECT_EQ(h, c.wh);
      EXPECT_EQ(sx, c.wsx);
      EXPECT_EQ(sy, c.wsy);
    } else {
      EXPECT_TRUE(w <= 0 || h <= 0);
    }
  }
}

}  // namespace
}  // namespace varlo
