// Dragging the play windows' frames: a pocket resized by each edge and
// corner (the far edges stay, the size limits hold, the field shows the
// new frame), the glass's lens following its size, a side's corner box
// resizing the main window, the scroll thumb, and panning a side with the
// right button.
#include "support/play_fixture.h"

namespace varlo::testing {
namespace {

uint32_t Px(const DIB_P& d, int32_t x, int32_t y) { return static_cast<uint32_t>(DibGetPixel(d, x, y)); }

struct EdgeCase {
  const char* name;
  int32_t code;
  // The grab point: 0 left edge / top edge, 1 middle, 2 right edge / bottom
  // edge; corners are grabbed one pixel inside.
  int32_t gx, gy;
  int32_t dx, dy;  // the pointer's way
  // Which edges move.
  bool left, top, right, bottom;
};

class EdgeDragTest : public PlayFieldTest, public ::testing::WithParamInterface<EdgeCase> {};

TEST_P(EdgeDragTest, MovesOnlyTheGrabbedEdges) {
  const EdgeCase& c = GetParam();
  Open({}, 500, 400);
  Probe(field).ShowPocket(0, true);
  TMyWin& p = Probe(field).Wins()[MW_POCKET];
  RectSetXYWH(p.Outer, 100, 80, 220, 180);
  SetSize(p, false, 0, 0);
  field->Invalidate();
  const XRECT before = p.Outer;
  auto at = [](int32_t k, int32_t lo, int32_t hi, bool corner) {
    if (k == 1) return (lo + hi) / 2;
    return k == 0 ? lo + (corner ? 1 : 0) : hi - (corner ? 1 : 0);
  };
  const bool corner = c.gx != 1 && c.gy != 1;
  const int32_t x = at(c.gx, before.Left, before.Right, corner), y = at(c.gy, before.Top, before.Bottom, corner);
  field->PointerDown(kMbLeft, 0, x, y);
  ASSERT_EQ(Probe(field).Frame().Code, c.code) << "grabbed at " << x << "," << y;
  field->PointerMove(kHeldLeft, 0, x + c.dx / 2, y + c.dy / 2);
  field->PointerMove(kHeldLeft, 0, x + c.dx, y + c.dy);
  EXPECT_EQ(p.Outer.Left, before.Left + (c.left ? c.dx : 0));
  EXPECT_EQ(p.Outer.Top, before.Top + (c.top ? c.dy : 0));
  EXPECT_EQ(p.Outer.Right, before.Right + (c.right ? c.dx : 0));
  EXPECT_EQ(p.Outer.Bottom, before.Bottom + (c.bottom ? c.dy : 0));
  // The field shows the frame where it is now, the side where it was.
  const uint32_t sideGrey = 0x989898;
  const int32_t midY = (p.Outer.Top + p.Outer.Bottom) / 2;
  EXPECT_NE(Px(Probe(field).FieldImg(), p.Outer.Right, midY), sideGrey);
  EXPECT_NE(Px(Probe(field).FieldImg(), p.Outer.Left, midY), sideGrey);
  if (c.right && c.dx < 0) {
    EXPECT_EQ(Px(Probe(field).FieldImg(), before.Right, midY), sideGrey);
  }
  if (c.left && c.dx > 0) {
    EXPECT_EQ(Px(Probe(field).FieldImg(), before.Left, midY), sideGrey);
  }
  field->PointerUp(kMbLeft, 0, x + c.dx, y + c.dy);
  EXPECT_EQ(Probe(field).Frame().Code, kHitNone);
  EXPECT_EQ(p.Outer.Right, before.Right + (c.right ? c.dx : 0)) << "the release keeps the size";
  EXPECT_EQ(p.Client.Width, p.Outer.Width - p.FrameW);
}

INSTANTIATE_TEST_SUITE_P(
    Edges, EdgeDragTest,
    ::testing::Values(EdgeCase{"left_out", kHitLeft, 0, 1, -30, 7, true, false, false, false},
                      EdgeCase{"left_in", kHitLeft, 0, 1, 25, 0, true, false, false, false},
                      EdgeCase{"top_out", kHitTop, 1, 0, 9, -20, false, true, false, false},
                      EdgeCase{"right_in", kHitRight, 2, 1, -40, 5, false, false, true, false},
                      EdgeCase{"bottom_out", kHitBottom, 1, 2, 0, 35, false, false, false, true},
                      EdgeCase{"top_left", kHitTopLeft, 0, 0, -15, 12, true, true, false, false},
                      EdgeCase{"bottom_left", kHitBottomLeft, 0, 2, 20, 18, true, false, false, true},
                      EdgeCase{"bottom_right", kHitBottomRight, 2, 2, 33, -21, false, false, true, true}),
    [](const ::testing::TestParamInfo<EdgeCase>& i) { return std::string(i.param.name); });

TEST_F(PlayFieldTest, ShrinkingStopsAtTheLeastSizeAnchoredAtTheEdgeThatStays) {
  Open({}, 500, 400);
  Probe(field).ShowPocket(0, true);
  TMyWin& p = Probe(field).Wins()[MW_POCKET];
  RectSetXYWH(p.Outer, 100, 80, 220, 180);
  SetSize(p, false, 0, 0);
  const int32_t right = p.Outer.Right, bottom = p.Outer.Bottom, top = p.Outer.Top;
  // The left edge dragged far past the right one.
  const int32_t y = (p.Outer.Top + p.Outer.Bottom) / 2;
  field->PointerDown(kMbLeft, 0, p.Outer.Left, y);
  ASSERT_EQ(Probe(field).Frame().Code, kHitLeft);
  field->PointerMove(kHeldLeft, 0, right + 100, y);
  EXPECT_EQ(p.Outer.Right, right);
  EXPECT_EQ(p.Client.Width, p.MinW);
  field->PointerUp(kMbLeft, 0, right + 100, y);
  // The bottom-left corner dragged up past the top: height leads nowhere
  // here, both limits hold, the top and the right stay.
  field->PointerDown(kMbLeft, 0, p.Outer.Left + 1, p.Outer.Bottom - 1);
  ASSERT_EQ(Probe(field).Frame().Code, kHitBottomLeft);
  field->PointerMove(kHeldLeft, 0, p.Outer.Left + 50, top - 60);
  EXPECT_EQ(p.Outer.Top, top);
  EXPECT_EQ(p.Outer.Right, right);
  EXPECT_EQ(p.Client.Height, p.MinH);
  EXPECT_LT(p.Outer.Bottom, bottom);
  field->PointerUp(kMbLeft, 0, p.Outer.Left + 50, top - 60);
}

TEST_F(PlayFieldTest, ResizingTheGlassResizesItsLens) {
  Open({}, 800, 600);
  ASSERT_TRUE(field->RunCommand(Command::GameGlass));
  TMyWin& g = Probe(field).Glass();
  RectMoveTo(g.Outer, 100, 100);
  Relayout(g);
  Probe(field).MakeLensMask();
  Probe(field).RedrawMode() = kRedrawAll;
  field->Present();
  // The size grip's lower right triangle.
  const int32_t x = g.SizeGrip.Right - 3, y = g.SizeGrip.Bottom - 3;
  field->PointerDown(kMbLeft, 0, x, y);
  ASSERT_EQ(Probe(field).Frame().Code, kHitBottomRight);
  field->PointerMove(kHeldLeft, 0, x + 60, y + 30);
  EXPECT_DOUBLE_EQ(Probe(field).LensA(), g.Client.Width / 2.0);
  EXPECT_DOUBLE_EQ(Probe(field).LensB(), g.Client.Height / 2.0);
  field->PointerUp(kMbLeft, 0, x + 60, y + 30);
  // The lens maps by the new size: its centre shows the field under it.
  const int32_t cx = g.Client.Left + g.Client.Width / 2, cy = g.Client.Top + g.Client.Height / 2;
  int32_t mx = cx, my = cy;
  ASSERT_TRUE(Probe(field).InLens(cx, cy));
  Probe(field).MapThroughGlass(mx, my);
  EXPECT_EQ(mx, cx);
  EXPECT_EQ(my, cy);
  EXPECT_FALSE(Probe(field).InLens(g.Client.Left + 2, g.Client.Top + 2)) << "the corner lies outside the ellipse";
}

TEST_F(PlayFieldTest, ASidesCornerBoxResizesTheMainWindow) {
  Open({}, 400, 300);
  field->SetSideContent(800, 600);  // both scroll bars and the corner box
  const TMyWin& s = Probe(field).Wins()[MW_SIDE0];
  ASSERT_FALSE(RectIsEmpty(s.CornerBox));
  RectSetXYWH(view.mainWindow, 100, 50, 420, 360);
  const int32_t x = s.CornerBox.Left + 3, y = s.CornerBox.Top + 3;
  field->PointerDown(kMbLeft, 0, x, y);
  ASSERT_EQ(Probe(field).Frame().Code, kHitBottomRight);
  field->PointerMove(kHeldLeft, 0, x + 25, y - 10);
  // The main window's lower right corner follows the pointer.
  EXPECT_EQ(view.resizedRight, 100 + 420 + 25);
  EXPECT_EQ(view.resizedBottom, 50 + 360 - 10);
  field->PointerUp(kMbLeft, 0, x + 25, y - 10);
}

TEST_F(PlayFieldTest, TheScrollThumbFollowsThePointer) {
  Open({}, 400, 300);
  field->SetSideContent(800, 300);
  const TMyWin& s = Probe(field).Wins()[MW_SIDE0];
  const XRECT thumb = s.Buttons[kBtnHThumb].Rect;
  const int32_t x = thumb.Left + 5, y = thumb.Top + 5;
  field->PointerDown(kMbLeft, 0, x, y);
  ASSERT_EQ(Probe(field).Frame().Code, kHitHThumb);
  field->PointerMove(kHeldLeft, 0, x + 40, y + 30);  // off the bar downwards still drags
  EXPECT_EQ(s.Buttons[kBtnHThumb].Rect.Left, thumb.Left + 40);
  EXPECT_GT(s.ScrollX, 0);
  EXPECT_EQ(Probe(field).Wins()[MW_SIDE1].ScrollX, s.ScrollX) << "the other side follows";
  field->PointerMove(kHeldLeft, 0, x + 1000, y);
  EXPECT_EQ(s.ScrollX, s.ContentW - s.Client.Width) << "no further than the content";
  field->PointerUp(kMbLeft, 0, x + 1000, y);
}

TEST_F(PlayFieldTest, TheRightButtonPansASideWithScrollBars) {
  Open({}, 400, 300);
  Scatter();
  field->SetSideContent(800, 600);
  const TMyWin& s = Probe(field).Wins()[MW_SIDE0];
  const int32_t hThumb = s.Buttons[kBtnHThumb].Rect.Left, vThumb = s.Buttons[kBtnVThumb].Rect.Top;
  // Empty space below the scattered pieces.
  const int32_t x = 300, y = 250;
  ASSERT_LT(Probe(field).PickPiece(x, y), 0);
  fake.cursors.clear();
  field->PointerDown(kMbRight, 0, x, y);
  ASSERT_EQ(Probe(field).Frame().Code, kHitPan);
  ASSERT_FALSE(fake.cursors.empty());
  EXPECT_EQ(fake.cursors.back(), CursorShape::DragGroup);
  EXPECT_EQ(Probe(field).DragState(), kDragIdle) << "no selection rectangle";
  // The pointer goes left and up: the thumbs go right and down by as much
  // (give or take the rounding between thumb and scroll positions), so the
  // content follows the pointer.
  field->PointerMove(kHeldRight, 0, x - 30, y - 20);
  EXPECT_NEAR(s.Buttons[kBtnHThumb].Rect.Left, hThumb + 30, 1);
  EXPECT_NEAR(s.Buttons[kBtnVThumb].Rect.Top, vThumb + 20, 1);
  EXPECT_GT(s.ScrollX, 0);
  EXPECT_GT(s.ScrollY, 0);
  EXPECT_EQ(Probe(field).Wins()[MW_SIDE1].ScrollX, s.ScrollX);
  // Back to the start: back to the top left.
  field->PointerMove(kHeldRight, 0, x, y);
  EXPECT_EQ(s.ScrollX, 0);
  EXPECT_EQ(s.ScrollY, 0);
  field->PointerMove(kHeldRight, 0, x - 30, y - 20);
  field->PointerUp(kMbRight, 0, x - 30, y - 20);
  EXPECT_EQ(Probe(field).Frame().Code, kHitNone);
  EXPECT_EQ(fake.cursors.back(), CursorShape::Arrow);
  const int32_t kept = s.ScrollX;
  EXPECT_GT(kept, 0) << "the release keeps the place";

  // A move without a held button ends a pan whose release was missed.
  field->PointerDown(kMbRight, 0, x, y);
  ASSERT_EQ(Probe(field).Frame().Code, kHitPan);
  field->PointerMove(0, 0, x - 50, y);
  EXPECT_EQ(Probe(field).Frame().Code, kHitNone);
  EXPECT_EQ(s.ScrollX, kept);
  EXPECT_EQ(fake.cursors.back(), CursorShape::Arrow);
}

TEST_F(PlayFieldTest, TheRightButtonDoesNotPanWithoutScrollBarsOrOnAPiece) {
  Open({}, 400, 300);
  Scatter();
  // No bars: a right press on empty space does nothing.
  field->PointerDown(kMbRight, 0, 300, 250);
  EXPECT_EQ(Probe(field).Frame().Code, kHitNone);
  field->PointerUp(kMbRight, 0, 300, 250);
  // With bars, a right press on a piece is not a pan (the release sends
  // the piece to the other side).
  field->SetSideContent(800, 600);
  int32_t cx, cy;
  OwnPoint(jig, 4, cx, cy);
  const TMyWin& s = Probe(field).Wins()[MW_SIDE0];
  field->PointerDown(kMbRight, 0, FieldX(s, cx), FieldY(s, cy));
  EXPECT_EQ(Probe(field).Frame().Code, kHitNone);
  field->PointerUp(kMbRight, 0, FieldX(s, cx), FieldY(s, cy));
  EXPECT_EQ(T(4).Win, MW_SIDE1);
  // Nor is a wheel turn on empty space.
  field->Wheel(true, 300, 250);
  EXPECT_EQ(Probe(field).Frame().Code, kHitNone);
}

}  // namespace
}  // namespace varlo::testing

namespace varlo::testing {
namespace {

TEST_F(PlayFieldTest, APieceDroppedAtTheEdgeIsPulledBackIntoView) {
  Open({}, 400, 300);
  Scatter();
  const int32_t cw = Probe(field).CW();
  const int32_t y = T(4).Y;
  // Only three pixels of the piece stay on the side: too few to grab.
  DragPieceTo(*field, 4, cw - 3, y);
  EXPECT_LT(T(4).X, cw - 3) << "pulled back";
  EXPECT_GT(T(4).X, cw - T(4).RotW) << "by the least way, not to the far side";
  EXPECT_EQ(T(4).Y, y);
  // Three quarters of its width on the side are enough: it stays.
  const int32_t most = cw - T(4).RotW * 3 / 4;
  DragPieceTo(*field, 4, most, y);
  EXPECT_EQ(T(4).X, most);
}

TEST_F(PlayFieldTest, PointerEventsAreIgnoredWhileInputIsDisabled) {
  Open({}, 400, 300);
  Scatter();
  Probe(field).InputEnabled() = false;
  const int32_t x = T(4).X, y = T(4).Y;
  int32_t cx, cy;
  OwnPoint(jig, 4, cx, cy);
  const TMyWin& s = Probe(field).Wins()[MW_SIDE0];
  field->PointerDown(kMbLeft, 0, FieldX(s, cx), FieldY(s, cy));
  EXPECT_EQ(Probe(field).DragState(), kDragIdle);
  field->PointerMove(kHeldLeft, 0, FieldX(s, cx) + 40, FieldY(s, cy));
  field->PointerUp(kMbLeft, 0, FieldX(s, cx) + 40, FieldY(s, cy));
  EXPECT_EQ(T(4).X, x);
  EXPECT_EQ(T(4).Y, y);
  Probe(field).InputEnabled() = true;
  DragPieceTo(*field, 4, x + 40, y);
  EXPECT_EQ(T(4).X, x + 40) << "the same drag once input is back";
}

}  // namespace
}  // namespace varlo::testing
