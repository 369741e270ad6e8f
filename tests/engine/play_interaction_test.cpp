// The rules of picking, dragging, turning and joining that matter to the
// player, driven through the pointer calls of the main window.
#include "support/play_fixture.h"

namespace varlo::testing {
namespace {

uint32_t Px(const DIB_P& d, int32_t x, int32_t y) { return static_cast<uint32_t>(DibGetPixel(d, x, y)); }

// ---- snapping ----

struct ToleranceCase {
  int32_t koef;
  int32_t dx, dy;
  bool joins;
};

class ToleranceTest : public PlayFieldTest, public ::testing::WithParamInterface<ToleranceCase> {};

TEST_P(ToleranceTest, JoinsOnlyInsideTheTolerance) {
  const ToleranceCase& c = GetParam();
  PlayJigsawSpec spec;
  spec.Cols = 2;
  spec.Rows = 1;
  Open(spec);
  Probe(field).options().StuckKoef = c.koef;
  Put(0, 100, 100);
  Put(1, 250, 200);
  DragPieceTo(*field, 1, HomeX(1, 0) + c.dx, HomeY(1, 0) + c.dy);
  EXPECT_EQ(T(0).Group == T(1).Group, c.joins);
  if (c.joins) {
    // One of the two jumps into the exact position.
    EXPECT_EQ(T(1).X - T(0).X, T(1).BoxX - T(0).BoxX);
    EXPECT_EQ(T(1).Y - T(0).Y, T(1).BoxY - T(0).BoxY);
    EXPECT_EQ(Sounds("set.wav"), 1);
  } else {
    EXPECT_EQ(Sounds("set.wav"), 0);
  }
}

// SnapS is 4: the tolerance is round(4 x koef / 10).
INSTANTIATE_TEST_SUITE_P(Cases, ToleranceTest,
                         ::testing::Values(ToleranceCase{10, 3, 3, true}, ToleranceCase{10, -3, -3, true},
                                           ToleranceCase{10, 4, 0, false}, ToleranceCase{10, 0, -4, false},
                                           ToleranceCase{30, 11, -11, true}, ToleranceCase{30, 12, 0, false},
                                           ToleranceCase{12, 4, 4, true},  // 4.8 rounds to 5
                                           ToleranceCase{11, 4, 0, false}));  // 4.4 rounds to 4

TEST_F(PlayFieldTest, ToleranceRoundsHalfToEven) {
  Open();
  jig.Jig.SnapS = 5;
  Probe(field).options().StuckKoef = 13;  // 6.5
  EXPECT_EQ(Probe(field).SnapTolerance(), 6);
  Probe(field).options().StuckKoef = 15;  // 7.5
  EXPECT_EQ(Probe(field).SnapTolerance(), 8);
}

TEST_F(PlayFieldTest, DifferentTurnsAndOtherWindowsNeverJoin) {
  PlayJigsawSpec spec;
  spec.Cols = 2;
  spec.Rows = 1;
  spec.Rotate = true;
  Open(spec);
  Put(0, 100, 100);
  Put(1, 250, 200);
  T(1).Rot = 2;
  PlaceRotated(jig, 1);
  DragPieceTo(*field, 1, HomeX(1, 0), HomeY(1, 0));
  EXPECT_NE(T(0).Group, T(1).Group) << "placed exactly, but turned";

  // The neighbour in a pocket is out of reach of a drop on the side.
  T(1).Rot = 0;
  PlaceRotated(jig, 1);
  T(0).Win = MW_POCKET;
  Put(1, 250, 200);
  DragPieceTo(*field, 1, HomeX(1, 0), HomeY(1, 0));
  EXPECT_NE(T(0).Group, T(1).Group);
  EXPECT_EQ(Probe(field).JoinCount(), 0);
}

struct SizeCase {
  const char* name;
  int32_t droppedSize;  // pieces of the dropped group (a row from the left)
  int32_t otherSize;    // pieces of the waiting group (a row from the right)
  bool droppedMoves;
};

class GroupSizeTest : public PlayFieldTest, public ::testing::WithParamInterface<SizeCase> {};

TEST_P(GroupSizeTest, TheSmallerGroupMoves) {
  const SizeCase& c = GetParam();
  PlayJigsawSpec spec;
  spec.Cols = c.droppedSize + c.otherSize;
  spec.Rows = 2;  // the second row stays apart, so the drop does not finish the jigsaw
  Open(spec, 600, 300);
  // Two runs of joined pieces on the first row: 0..d-1 (dropped) and
  // d..n-1 (waiting).
  const int32_t n = spec.Cols, d = c.droppedSize;
  for (int32_t i = n; i < 2 * n; ++i) Put(i, 10 + (i - n) * 45, 250);
  for (int32_t i = 0; i < n; ++i) {
    T(i).Group = i < d ? 0 : 1;
    Put(i, (i < d ? 20 : 300) + (i < d ? i : i - d) * 20, i < d ? 50 : 150);
  }
  SortPieces(jig, false);
  // Dropped 2 pixels off the exact place.
  const int32_t x = T(d).X - d * 20 + 2, y = T(d).Y + 2;
  const int32_t waitingX = T(d).X, waitingY = T(d).Y;
  DragPieceTo(*field, 0, x, y);
  ASSERT_EQ(T(0).Group, T(n - 1).Group);
  if (c.droppedMoves) {
    EXPECT_EQ(T(d).X, waitingX);
    EXPECT_EQ(T(d).Y, waitingY);
    EXPECT_EQ(T(0).X, waitingX - d * 20);
  } else {
    EXPECT_EQ(T(0).X, x);
    EXPECT_EQ(T(0).Y, y);
    EXPECT_EQ(T(d).X, x + d * 20);
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, GroupSizeTest,
                         ::testing::Values(SizeCase{"small_dropped_on_large", 1, 3, true},
                                           SizeCase{"large_dropped_on_small", 3, 1, false},
                                           SizeCase{"equal_sizes", 2, 2, true}),
                         [](const ::testing::TestParamInfo<SizeCase>& i) { return std::string(i.param.name); });

TEST_F(PlayFieldTest, TheBorderGroupNeverMovesInAJoin) {
  PlayJigsawSpec spec;
  spec.Cols = 2;
  spec.Rows = 2;
  spec.Border = true;
  spec.Rotate = true;
  Open(spec);
  const int32_t b = BorderPieceIndex(jig);
  Put(b, 150, 100);
  // Three pieces joined and lying off their place; the frame is dropped
  // onto them and still stays where it was dropped.
  for (int32_t i = 0; i < 3; ++i) T(i).Group = 0;
  Put(0, 150 + 20 + 3, 100 + 20 + 2);
  Put(1, 150 + 40 + 3, 100 + 20 + 2);
  Put(2, 150 + 20 + 3, 100 + 40 + 2);
  Put(3, 10, 10);
  SortPieces(jig, false);
  int32_t cx, cy;
  OwnPoint(jig, b, cx, cy);
  DragPieceTo(*field, b, 150, 100);
  EXPECT_EQ(T(b).X, 150);
  EXPECT_EQ(T(b).Y, 100);
  EXPECT_EQ(T(0).Group, T(b).Group);
  EXPECT_EQ(T(0).X, 170);
  EXPECT_EQ(T(0).Y, 120);
  EXPECT_EQ(T(2).Y, 140);

  // The frame never turns.
  Click(b, kMbRight, kSsCtrl);
  EXPECT_EQ(T(b).Rot, 0);
  EXPECT_EQ(T(b).X, 150);
}

TEST_F(PlayFieldTest, OneDropClosingTwoSeamsJoinsTwiceWithOneSound) {
  Open();  // 3 x 3
  Scatter();
  // Pieces 1 (above the centre) and 3 (left of it) lie where they belong
  // but apart from each other; piece 4 closes both seams.
  Put(1, 200 + 20, 100);
  Put(3, 200, 100 + 20);
  SortPieces(jig, false);
  DragPieceTo(*field, 4, 220 + 1, 120 - 1);
  EXPECT_EQ(Probe(field).JoinCount(), 2);
  EXPECT_EQ(T(1).Group, T(4).Group);
  EXPECT_EQ(T(3).Group, T(4).Group);
  EXPECT_EQ(Sounds("set.wav"), 1);
}

TEST_F(PlayFieldTest, TwoDroppedPiecesEachClosingASeamJoinTwiceWithOneSound) {
  Open();
  Scatter();
  // The dropped group is 4 and 5; 1 and 2 wait above them, side by side
  // but not joined.
  T(5).Group = T(4).Group;
  Put(4, 20, 200);
  Put(5, 40, 200);
  Put(1, 220, 100);
  Put(2, 240, 100);
  SortPieces(jig, false);
  DragPieceTo(*field, 4, 220 - 2, 120 + 1);
  EXPECT_EQ(Probe(field).JoinCount(), 2);
  EXPECT_EQ(T(1).Group, T(4).Group);
  EXPECT_EQ(T(2).Group, T(4).Group);
  EXPECT_EQ(Sounds("set.wav"), 1);
}

TEST_F(PlayFieldTest, JoinSoundWaitsForThePreviousOneAndCanBeOff) {
  Open();
  Scatter();
  fake.soundLengthMs = 300;
  Put(0, 200, 100);
  DragPieceTo(*field, 1, 220, 100);
  EXPECT_EQ(Sounds("set.wav"), 1);
  fake.Advance(100);
  DragPieceTo(*field, 2, 240, 100);  // still playing: skipped
  EXPECT_EQ(Sounds("set.wav"), 1);
  fake.Advance(250);
  DragPieceTo(*field, 3, 200, 120);
  EXPECT_EQ(Sounds("set.wav"), 2);
  fake.Advance(1000);
  Probe(field).options().SoundOn = false;
  DragPieceTo(*field, 4, 220, 120);
  EXPECT_EQ(Sounds("set.wav"), 2);
  EXPECT_EQ(Probe(field).JoinCount(), 4);
}

TEST_F(PlayFieldTest, JoinStarRunsOnTheClockWithoutBlocking) {
  Open();
  Scatter();
  Put(0, 200, 100);
  const int64_t before = fake.nowMs;
  DragPieceTo(*field, 1, 220, 100);
  EXPECT_EQ(fake.nowMs, before) << "no waiting inside the handler";
  EXPECT_TRUE(field->AnimationRunning());
  // The star sits on the joint, in the middle between the two centres.
  const int32_t sx = (T(1).X + T(1).RotW / 2 + T(0).X + T(0).RotW / 2) / 2 - 11;
  const int32_t sy = (T(1).Y + T(1).RotH / 2 + T(0).Y + T(0).RotH / 2) / 2 - 11;
  const int32_t star = DibGetPixel(Probe(field).FieldImg(), sx + 11, sy + 11);
  EXPECT_EQ(star, static_cast<int32_t>(MakeRGB(255, 220, 0)));
  for (int32_t k = 0; k < 7; ++k) {
    fake.Advance(18);
    field->Present();
  }
  EXPECT_FALSE(field->AnimationRunning());
  EXPECT_NE(DibGetPixel(Probe(field).FieldImg(), sx + 11, sy + 11), star) << "the star is gone";

  Probe(field).options().ShowJoins = false;
  DragPieceTo(*field, 2, 240, 100);
  EXPECT_FALSE(field->AnimationRunning());
}

// ---- picking and dragging ----

TEST_F(PlayFieldTest, TransparentCornerOfABoxPicksWhatLiesBelow) {
  Open();
  Scatter();
  // Piece 3 under piece 0's box: piece 0's box reaches 4 pixels into its
  // right neighbour's cell, where only its tab belongs to it.
  Put(0, 100, 100);
  Put(1, 300, 200);
  Put(3, 100 + 20, 100 - 20 + 2);
  BringToFront(jig, 0, -1);
  const TMyWin& w = Probe(field).Wins()[0];
  // (x 121, y 101): inside piece 0's box, outside its tab.
  Probe(field).Current() = MW_SIDE0;
  EXPECT_EQ(Probe(field).PickPiece(FieldX(w, 121), FieldY(w, 101)), 3);
  // The tab itself is piece 0.
  EXPECT_EQ(Probe(field).PickPiece(FieldX(w, 121), FieldY(w, 110)), 0);
  // With nothing below, the press starts a selection rectangle.
  Put(3, 300, 10);
  field->PointerDown(kMbLeft, 0, FieldX(w, 121), FieldY(w, 101));
  EXPECT_EQ(Probe(field).DragState(), kDragBand);
  field->PointerUp(kMbLeft, 0, FieldX(w, 121), FieldY(w, 101));
  EXPECT_EQ(Probe(field).DragState(), kDragIdle);
}

TEST_F(PlayFieldTest, APressWithAModifierDoesNotPick) {
  Open();
  Scatter();
  int32_t cx, cy;
  OwnPoint(jig, 2, cx, cy);
  for (int32_t mods : {int32_t{kSsShift}, int32_t{kSsAlt}}) {
    field->PointerDown(kMbLeft, mods, cx, cy);
    EXPECT_EQ(Probe(field).DragState(), kDragIdle);
    EXPECT_EQ(Probe(field).Picked(), -1);
    field->PointerUp(kMbLeft, mods, cx, cy);
  }
}

TEST_F(PlayFieldTest, ClickToDragKeepsPiecesOnThePointerUntilTheNextClick) {
  Open();
  Scatter();
  Probe(field).options().Play.bClickToDrag = 1;
  const int32_t x0 = T(2).X;
  int32_t cx, cy;
  OwnPoint(jig, 2, cx, cy);
  field->PointerDown(kMbLeft, 0, cx, cy);
  field->PointerUp(kMbLeft, 0, cx + 1, cy + 2);  // one across, two down: still a click
  EXPECT_EQ(Probe(field).DragState(), kDragPieces);
  field->PointerMove(0, 0, cx + 40, cy + 30);  // no button held
  EXPECT_EQ(T(2).X, x0 + 40);
  field->PointerDown(kMbLeft, 0, cx + 40, cy + 30);
  EXPECT_EQ(Probe(field).DragState(), kDragPieces) << "the press does not drop";
  field->PointerUp(kMbLeft, 0, cx + 40, cy + 30);
  EXPECT_EQ(Probe(field).DragState(), kDragIdle);
  EXPECT_EQ(T(2).X, x0 + 40);

  // A release farther than one pixel across drops at once.
  OwnPoint(jig, 2, cx, cy);
  field->PointerDown(kMbLeft, 0, cx, cy);
  field->PointerUp(kMbLeft, 0, cx + 2, cy);
  EXPECT_EQ(Probe(field).DragState(), kDragIdle);
  EXPECT_EQ(T(2).X, x0 + 42);
}

TEST_F(PlayFieldTest, DraggingOverAPocketMovesTheGroupIntoIt) {
  Open();
  Scatter();
  ASSERT_TRUE(field->RunCommand(Command::PocketsPocket1));
  const TMyWin& p = Probe(field).Wins()[MW_POCKET];
  ASSERT_TRUE(p.Shown);
  // Pieces 0 and 1 form a group; pocket 2 lies under pocket 1 later.
  T(1).Group = T(0).Group;
  Put(1, T(0).X + 20, T(0).Y);
  SortPieces(jig, false);
  ASSERT_TRUE(field->RunCommand(Command::PocketsPocket2));
  ASSERT_TRUE(field->RunCommand(Command::PocketsPocket1));
  ASSERT_TRUE(field->RunCommand(Command::PocketsPocket1));  // hidden and shown again: on top
  EXPECT_EQ(Probe(field).Stack()[kFieldWindows - 1], MW_POCKET);
  EXPECT_EQ(Probe(field).Stack()[0], MW_SIDE0);
  EXPECT_EQ(Probe(field).Stack()[1], MW_SIDE1);
  int32_t cx, cy;
  OwnPoint(jig, 0, cx, cy);
  const TMyWin& s = Probe(field).Wins()[0];
  field->PointerDown(kMbLeft, 0, FieldX(s, cx), FieldY(s, cy));
  field->PointerMove(kHeldLeft, 0, p.Client.Left + 30, p.Client.Top + 20);
  EXPECT_EQ(T(0).Win, MW_POCKET);
  EXPECT_EQ(T(1).Win, MW_POCKET);
  EXPECT_EQ(Probe(field).Current(), MW_POCKET);
  field->PointerUp(kMbLeft, 0, p.Client.Left + 30, p.Client.Top + 20);
  EXPECT_EQ(Probe(field).Wins()[MW_POCKET].Groups, 1);
  EXPECT_EQ(Probe(field).Wins()[MW_POCKET].Title, "Pocket 1 (1)");
  // A second group makes two.
  OwnPoint(jig, 5, cx, cy);
  field->PointerDown(kMbLeft, 0, FieldX(s, cx), FieldY(s, cy));
  field->PointerMove(kHeldLeft, 0, p.Client.Left + 70, p.Client.Top + 10);
  field->PointerUp(kMbLeft, 0, p.Client.Left + 70, p.Client.Top + 10);
  EXPECT_EQ(Probe(field).Wins()[MW_POCKET].Groups, 2);
  EXPECT_EQ(Probe(field).Wins()[MW_POCKET].Title, "Pocket 1 (2)");
  // Hiding the pocket takes its pieces out of the picture.
  const int32_t inside = DibGetPixel(Probe(field).FieldImg(), p.Client.Left + 32, p.Client.Top + 22);
  ASSERT_TRUE(field->RunCommand(Command::PocketsPocket1));
  EXPECT_NE(DibGetPixel(Probe(field).FieldImg(), p.Client.Left + 32, p.Client.Top + 22), inside);
}

TEST_F(PlayFieldTest, SelectionRectangleSelectsTheSameInBothDirections) {
  Open();
  Scatter();
  const TMyWin& w = Probe(field).Wins()[0];
  auto band = [&](int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    for (TILE_P& t : jig.Tiles) t.Sel = 0;
    Probe(field).Selection() = false;
    field->PointerDown(kMbLeft, 0, FieldX(w, x1), FieldY(w, y1));
    field->PointerMove(kHeldLeft, 0, FieldX(w, x2), FieldY(w, y2));
    field->PointerUp(kMbLeft, 0, FieldX(w, x2), FieldY(w, y2));
    std::vector<int32_t> sel;
    for (int32_t i = 0; i < PieceCount(jig); ++i)
      if (T(i).Sel) sel.push_back(i);
    return sel;
  };
  // Pieces 0 and 1 (at x 10 and 70, y 10): a rectangle covering them up to
  // a third of their size on each side.
  const std::vector<int32_t> expect = {0, 1};
  EXPECT_EQ(band(17, 7, 86, 34), expect);
  EXPECT_EQ(band(86, 34, 17, 7), expect);
  EXPECT_TRUE(Probe(field).Selection());
  EXPECT_TRUE(view.enabled[Command::GameArrange]);
  // Covering too little of piece 1 leaves it out.
  EXPECT_EQ(band(5, 5, 70 + 10, 40), std::vector<int32_t>{0});
}

TEST_F(PlayFieldTest, TurningKeepsThePixelUnderThePointerAndNeedsRotation) {
  PlayJigsawSpec spec;
  spec.Rotate = true;
  Open(spec);
  Scatter();
  int32_t cx, cy;
  OwnPoint(jig, 4, cx, cy);
  Probe(field).Current() = MW_SIDE0;
  const int32_t colour = DibGetPixel(Probe(field).FieldImg(), cx, cy);
  field->Wheel(true, cx, cy);  // up: anticlockwise
  EXPECT_EQ(T(4).Rot, 3);
  EXPECT_EQ(DibGetPixel(Probe(field).FieldImg(), cx, cy), colour);
  EXPECT_EQ(Probe(field).PickPiece(cx, cy), 4);
  field->Wheel(false, cx, cy);
  field->Wheel(false, cx, cy);
  EXPECT_EQ(T(4).Rot, 1);
  EXPECT_EQ(DibGetPixel(Probe(field).FieldImg(), cx, cy), colour);

  // Without rotation the same wheel and buttons do nothing.
  PlayJigsawSpec flat;
  Open(flat);
  Scatter();
  OwnPoint(jig, 4, cx, cy);
  field->Wheel(true, cx, cy);
  Click(4, kMbRight, kSsCtrl);
  EXPECT_EQ(T(4).Rot, 0);
  EXPECT_EQ(Probe(field).DragState(), kDragIdle);
}

TEST_F(PlayFieldTest, RightClickSendsTheGroupToTheOtherSide) {
  Open();
  Scatter();
  T(1).Group = T(0).Group;
  SortPieces(jig, false);
  Click(0, kMbRight, 0);
  EXPECT_EQ(T(0).Win, MW_SIDE1);
  EXPECT_EQ(T(1).Win, MW_SIDE1);
  EXPECT_EQ(T(2).Win, MW_SIDE0);
  // Single-side play keeps it.
  Probe(field).options().Play.bSingleWin = 1;
  Click(2, kMbRight, 0);
  EXPECT_EQ(T(2).Win, MW_SIDE0);
}

TEST_F(PlayFieldTest, TheGlassMapsTheLensToTheFieldUnderIt) {
  Open({}, 600, 400);
  Scatter(200, 150);
  ASSERT_TRUE(field->RunCommand(Command::GameGlass));
  ASSERT_TRUE(Probe(field).Glass().Shown);
  const XRECT c = Probe(field).Glass().Client;
  struct Case {
    int32_t x, y, mx, my;
  };
  // Zoom 2 on the 240 x 240 lens at (0, 0): the centre stays, the rest
  // comes half as far from it.
  for (const Case k : {Case{120, 120, 120, 120}, Case{60, 100, 90, 110}, Case{190, 40, 155, 80}}) {
    int32_t x = k.x, y = k.y;
    ASSERT_TRUE(Probe(field).InLens(x, y));
    Probe(field).MapThroughGlass(x, y);
    EXPECT_EQ(x, k.mx);
    EXPECT_EQ(y, k.my);
  }
  EXPECT_FALSE(Probe(field).InLens(c.Left + 2, c.Top + 2)) << "outside the ellipse";
}

// A press anywhere on the glass moves it, over a piece too; its buttons
// still act, and the close box closes it.
TEST_F(PlayFieldTest, APressOnTheGlassMovesIt) {
  Open({}, 600, 400);
  Scatter(200, 150);
  ASSERT_TRUE(field->RunCommand(Command::GameGlass));
  int32_t cx, cy;
  OwnPoint(jig, 0, cx, cy);
  RectMoveTo(Probe(field).Glass().Outer, cx - 120, cy - 120);
  Relayout(Probe(field).Glass());
  const std::vector<TILE_P> before = jig.Tiles;
  struct Case {
    const char* where;
    int32_t dx, dy;  // from the glass's top-left
  };
  for (const Case k : {Case{"the lens's centre, over a piece", 120, 120}, Case{"the lens near its rim", 30, 120},
                       Case{"the housing", 5, 40}}) {
    const XRECT o = Probe(field).Glass().Outer;
    field->PointerDown(kMbLeft, 0, o.Left + k.dx, o.Top + k.dy);
    EXPECT_EQ(Probe(field).DragState(), kDragIdle) << k.where;
    EXPECT_EQ(Probe(field).Picked(), -1) << k.where;
    field->PointerMove(kHeldLeft, 0, o.Left + k.dx + 17, o.Top + k.dy + 9);
    field->PointerUp(kMbLeft, 0, o.Left + k.dx + 17, o.Top + k.dy + 9);
    EXPECT_EQ(Probe(field).Glass().Outer.Left, o.Left + 17) << k.where;
    EXPECT_EQ(Probe(field).Glass().Outer.Top, o.Top + 9) << k.where;
    EXPECT_FALSE(Probe(field).Selection()) << k.where;
  }
  EXPECT_EQ(jig.Tiles, before) << "no piece moved";
  const XRECT& z = Probe(field).Glass().Buttons[kBtnZoom3].Rect;
  field->PointerDown(kMbLeft, 0, z.Left + 2, z.Top + 2);
  field->PointerUp(kMbLeft, 0, z.Left + 2, z.Top + 2);
  EXPECT_EQ(Probe(field).GlassOf().Zoom, 3);
  const XRECT& x = Probe(field).Glass().Buttons[kBtnClose].Rect;
  field->PointerDown(kMbLeft, 0, x.Left + 2, x.Top + 2);
  field->PointerUp(kMbLeft, 0, x.Left + 2, x.Top + 2);
  EXPECT_FALSE(Probe(field).Glass().Shown);
}

// Pieces carried with click-to-drag are put down through the lens.
TEST_F(PlayFieldTest, ClickToDragPutsPiecesDownThroughTheLens) {
  Open({}, 600, 400);
  Scatter(200, 150);
  Probe(field).options().Play.bClickToDrag = 1;
  ASSERT_TRUE(field->RunCommand(Command::GameGlass));
  RectMoveTo(Probe(field).Glass().Outer, 300, 100);
  Relayout(Probe(field).Glass());
  int32_t cx, cy;
  OwnPoint(jig, 0, cx, cy);
  const int32_t x0 = T(0).X, y0 = T(0).Y;
  field->PointerDown(kMbLeft, 0, cx, cy);
  field->PointerUp(kMbLeft, 0, cx, cy);
  ASSERT_EQ(Probe(field).DragState(), kDragPieces);
  const XRECT& c = Probe(field).Glass().Client;
  int32_t lx = c.Left + 120, ly = c.Top + 120, mx = lx, my = ly;
  Probe(field).MapThroughGlass(mx, my);
  field->PointerMove(0, 0, lx, ly);
  field->PointerDown(kMbLeft, 0, lx, ly);
  field->PointerUp(kMbLeft, 0, lx, ly);
  EXPECT_EQ(Probe(field).DragState(), kDragIdle);
  EXPECT_EQ(T(0).X, x0 + mx - cx);
  EXPECT_EQ(T(0).Y, y0 + my - cy);
}

// The border frame lies under every loose piece: a piece lying across the
// frame is picked and painted over it, from the set-up on (where the frame
// has the highest key) and after the frame is picked itself.
TEST_F(PlayFieldTest, TheBorderFrameLiesUnderLoosePieces) {
  PlayJigsawSpec spec;
  spec.Border = true;
  Open(spec, 400, 300);
  const int32_t border = BorderPieceIndex(jig);
  ASSERT_GE(border, 0);
  ASSERT_EQ(T(border).Group, border) << "the frame has the top key";
  Put(0, T(border).X + 2, T(border).Y + 2);  // across the frame's top-left band
  field->Invalidate();
  int32_t cx, cy;
  OwnPoint(jig, 0, cx, cy);
  const TMyWin& w = Probe(field).Wins()[0];
  EXPECT_EQ(Probe(field).PickPiece(FieldX(w, cx), FieldY(w, cy)), 0);
  // The frame's own point elsewhere on its band still picks the frame;
  // pressing it does not lift it over the piece.
  const int32_t fx = FieldX(w, T(border).X + 50), fy = FieldY(w, T(border).Y + 5);
  ASSERT_EQ(Probe(field).PickPiece(fx, fy), border);
  field->PointerDown(kMbLeft, 0, fx, fy);
  field->PointerUp(kMbLeft, 0, fx, fy);
  EXPECT_EQ(Probe(field).PickPiece(FieldX(w, cx), FieldY(w, cy)), 0);
  EXPECT_EQ(jig.Sort.front().Key, T(border).Group) << "the frame's group is painted first";
}

// Sending a piece to the other side needs the press and the release on
// that same piece.
TEST_F(PlayFieldTest, MoveToTheOtherSideNeedsPressAndReleaseOnOnePiece) {
  Open();
  Scatter();
  int32_t x0, y0, x1, y1;
  OwnPoint(jig, 0, x0, y0);
  OwnPoint(jig, 1, x1, y1);
  const TMyWin& w = Probe(field).Wins()[0];
  struct Case {
    const char* what;
    int32_t downX, downY, upX, upY;
    bool moves;
  };
  const Case cases[] = {
      {"from the empty board onto piece 0", FieldX(w, 380), FieldY(w, 280), FieldX(w, x0), FieldY(w, y0), false},
      {"from piece 1 onto piece 0", FieldX(w, x1), FieldY(w, y1), FieldX(w, x0), FieldY(w, y0), false},
      {"from piece 0 onto the empty board", FieldX(w, x0), FieldY(w, y0), FieldX(w, 380), FieldY(w, 280), false},
      {"press and release on piece 0", FieldX(w, x0), FieldY(w, y0), FieldX(w, x0), FieldY(w, y0), true},
  };
  for (const Case& c : cases) {
    field->PointerDown(kMbRight, 0, c.downX, c.downY);
    field->PointerUp(kMbRight, 0, c.upX, c.upY);
    EXPECT_EQ(T(0).Win, c.moves ? MW_SIDE1 : MW_SIDE0) << c.what;
    EXPECT_EQ(T(1).Win, MW_SIDE0) << c.what;
  }
}

// Escape ends a selection band under way (the release then selects
// nothing) and clears a selection, an arranged one too.
TEST_F(PlayFieldTest, EscapeEndsTheBandAndClearsTheSelection) {
  Open();
  Scatter();
  const TMyWin& w = Probe(field).Wins()[0];
  field->PointerDown(kMbLeft, 0, FieldX(w, 395), FieldY(w, 295));
  field->PointerMove(kHeldLeft, 0, FieldX(w, 1), FieldY(w, 1));
  ASSERT_EQ(Probe(field).DragState(), kDragBand);
  field->EscapeKey();
  EXPECT_EQ(Probe(field).DragState(), kDragIdle);
  field->PointerMove(kHeldLeft, 0, FieldX(w, 2), FieldY(w, 2));
  field->PointerUp(kMbLeft, 0, FieldX(w, 2), FieldY(w, 2));
  EXPECT_FALSE(Probe(field).Selection());
  for (const TILE_P& t : jig.Tiles) EXPECT_EQ(t.Sel, 0);
  EXPECT_EQ(Px(Probe(field).FieldImg(), 390, 290), 0x989898u) << "no tint left";

  ASSERT_TRUE(field->RunCommand(Command::GameSelectAll));
  ASSERT_TRUE(field->RunCommand(Command::GameArrange));
  ASSERT_TRUE(Probe(field).Selection());
  field->EscapeKey();
  EXPECT_FALSE(Probe(field).Selection());
  for (const TILE_P& t : jig.Tiles) EXPECT_EQ(t.Sel, 0);
  EXPECT_FALSE(view.enabled[Command::GameArrange]);
}

}  // namespace
}  // namespace varlo::testing
