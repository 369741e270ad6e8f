// Scripted plays that solve small jigsaws completely through the calls the
// main window makes: with and without rotation and border, on one side and
// carried over from the second side while dragging.
#include "support/play_fixture.h"

namespace varlo::testing {
namespace {

struct SolveCase {
  const char* name;
  bool rotate;
  bool border;
  bool fromOtherSide;
};

class SolveTest : public PlayFieldTest, public ::testing::WithParamInterface<SolveCase> {};

TEST_P(SolveTest, ScriptedPlaySolvesTheJigsaw) {
  const SolveCase& c = GetParam();
  PlayJigsawSpec spec;
  spec.Cols = 3;
  spec.Rows = 3;
  spec.Rotate = c.rotate;
  spec.Border = c.border;
  Open(spec, 500, 400);
  const int32_t n = PieceCount(jig);
  const int32_t border = BorderPieceIndex(jig);
  // The anchor stays; everything else starts scattered (and turned).
  const int32_t anchor = c.border ? border : 0;
  if (c.border) {
    Put(border, 200, 150);
  } else {
    Put(0, 200, 150);
  }
  for (int32_t i = 0; i < n; ++i) {
    if (i == anchor) continue;
    Put(i, 10 + (i % 3) * 60, 10 + (i / 3) * 60 + (c.border ? 0 : 0));
    if (c.border) Put(i, 10 + (i % 5) * 40, 300 + (i / 5) * 45);
    if (c.rotate) {
      T(i).Rot = static_cast<uint8_t>(1 + i % 3);
      PlaceRotated(jig, i);
    }
    if (c.fromOtherSide) T(i).Win = 1;
  }
  SortPieces(jig, false);

  int32_t dropped = 0;
  for (int32_t i = 0; i < n; ++i) {
    if (i == anchor) continue;
    if (c.fromOtherSide) {
      // Fetch the piece from the second side: pick it there, switch sides
      // with the Space key while holding it, and drop it on the first.
      ASSERT_TRUE(field->RunCommand(Command::GameWin2));
    }
    if (c.rotate) {
      // Ctrl + right button turns clockwise until the piece stands upright.
      while (T(i).Rot != 0) Click(i, kMbRight, kSsCtrl);
    }
    const int32_t err = (i % 2) ? 2 : -3;  // inside the tolerance of 4
    const int32_t tx = HomeX(i, anchor) + err, ty = HomeY(i, anchor) - err;
    if (c.fromOtherSide) {
      int32_t cx, cy;
      OwnPoint(jig, i, cx, cy);
      const int32_t gx = cx - T(i).X, gy = cy - T(i).Y;
      const TMyWin& w = Probe(field).Wins()[1];
      field->PointerDown(kMbLeft, 0, FieldX(w, cx), FieldY(w, cy));
      field->PointerMove(kHeldLeft, 0, FieldX(w, cx) + 5, FieldY(w, cy) + 5);
      field->SpaceKey();
      ASSERT_EQ(T(i).Win, 0) << "the drag carries the piece over";
      ASSERT_EQ(Probe(field).SideIndex(), 0);
      const TMyWin& s0 = Probe(field).Wins()[0];
      field->PointerMove(kHeldLeft, 0, FieldX(s0, tx + gx), FieldY(s0, ty + gy));
      field->PointerUp(kMbLeft, 0, FieldX(s0, tx + gx), FieldY(s0, ty + gy));
    } else {
      DragPieceTo(*field, i, tx, ty);
    }
    ++dropped;
    ASSERT_EQ(T(i).Group, T(anchor).Group) << "piece " << i << " joined";
    fake.Advance(500);
    field->Present();
  }
  EXPECT_EQ(Probe(field).JoinCount(), n - 1);
  EXPECT_TRUE(Probe(field).bSolved());
  EXPECT_EQ(Sounds("win.wav"), 1);
  EXPECT_EQ(Sounds("set.wav"), n - 1);
  EXPECT_EQ(view.finishShown, 1);
  EXPECT_TRUE(view.enabled[Command::FileSaveImage]);
  // The solved picture lies centred on the field.
  EXPECT_EQ(T(0).X - T(0).BoxX, (500 - jig.Jig.ImageW) / 2);
  EXPECT_EQ(T(0).Y - T(0).BoxY, (400 - jig.Jig.ImageH) / 2);
  for (int32_t i = 0; i < n; ++i) {
    EXPECT_EQ(T(i).X - T(i).BoxX, T(0).X - T(0).BoxX);
    EXPECT_EQ(T(i).Y - T(i).BoxY, T(0).Y - T(0).BoxY);
  }
  EXPECT_EQ(flags.bDirty, 1);
}

INSTANTIATE_TEST_SUITE_P(Plays, SolveTest,
                         ::testing::Values(SolveCase{"plain", false, false, false},
                                           SolveCase{"rotation", true, false, false},
                                           SolveCase{"border", false, true, false},
                                           SolveCase{"rotation_border", true, true, false},
                                           SolveCase{"other_side", false, false, true},
                                           SolveCase{"other_side_rotation", true, false, true}),
                         [](const ::testing::TestParamInfo<SolveCase>& i) { return std::string(i.param.name); });

TEST_F(PlayFieldTest, LastJoinWithATurnedGroupCompletesOnlyWhenTurnedBack) {
  PlayJigsawSpec spec;
  spec.Cols = 2;
  spec.Rows = 1;
  spec.Rotate = true;
  Open(spec);
  // Both pieces turned once and joined as they would lie turned.
  for (int32_t i = 0; i < 2; ++i) {
    T(i).Rot = 1;
    PlaceRotated(jig, i);
  }
  Put(0, 100, 100);
  Put(1, 100, 100 + 20);  // a clockwise turn puts the right neighbour below
  SortPieces(jig, false);
  DragPieceTo(*field, 1, 101, 121);
  ASSERT_EQ(T(0).Group, T(1).Group);
  EXPECT_FALSE(Probe(field).bSolved()) << "one group, but turned";
  for (int32_t k = 0; k < 3; ++k) Click(0, kMbRight, kSsCtrl);
  EXPECT_EQ(T(0).Rot, 0);
  EXPECT_EQ(T(1).Rot, 0);
  EXPECT_TRUE(Probe(field).bSolved());
  EXPECT_EQ(view.finishShown, 1);
  // Further turns do not finish again.
  Click(0, kMbRight, kSsCtrl);
  Click(0, kMbRight, kSsCtrl);
  EXPECT_EQ(view.finishShown, 1);
  EXPECT_EQ(Sounds("win.wav"), 1);
}

}  // namespace
}  // namespace varlo::testing
