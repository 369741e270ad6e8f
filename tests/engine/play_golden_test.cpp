// Small golden pictures of the field, compared pixel for pixel: the piece
// pixel rule (shaded by the mask's red), a selected piece's inversion, the
// selection rectangle's tint, the lens and a pocket's frame.
//
// The pictures are tests/fixtures/play/<name>.png. After a deliberate
// change of the look, write them anew with
//   VARLO_UPDATE_GOLDEN=1 build/tests/play_golden_test
// and look at every changed picture before committing it. Without the
// variable a missing or different picture fails the test; nothing is ever
// written.
#include <cstdlib>
#include <cstring>
#include <fstream>

#include "raster/picture_codecs.h"
#include "support/play_fixture.h"

namespace varlo::testing {
namespace {

constexpr int32_t kGoldenSide = 40;

bool UpdatingGoldens() {
  const char* v = std::getenv("VARLO_UPDATE_GOLDEN");
  return v && std::strcmp(v, "1") == 0;
}

std::string GoldenPath(const std::string& name) {
  return std::string(VARLO_FIXTURE_DIR) + "/play/" + name + ".png";
}

// The 40 x 40 area of the field with its top-left at (x, y) against the
// golden picture name.
void ExpectGolden(const DIB_P& field, int32_t x, int32_t y, const std::string& name) {
  ASSERT_TRUE(x >= 0 && y >= 0 && x + kGoldenSide <= field.Width && y + kGoldenSide <= field.Height) << name;
  DIB_P crop;
  ASSERT_TRUE(DibCreate24(crop, kGoldenSide, kGoldenSide));
  DibBlit(crop, 0, 0, field, x, y, kGoldenSide, kGoldenSide);
  const std::string path = GoldenPath(name);
  if (UpdatingGoldens()) {
    std::vector<uint8_t> png;
    std::string error;
    ASSERT_TRUE(DibSavePng(crop, png, &error)) << error;
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(png.data()),
                                                static_cast<std::streamsize>(png.size()));
    // Reported as skipped: a run that writes the pictures has compared
    // nothing.
    GTEST_SKIP() << "wrote " << path;
  }
  DIB_P golden;
  std::string error;
  ASSERT_TRUE(DibLoadPictureFile(golden, path, &error))
      << error << " (VARLO_UPDATE_GOLDEN=1 writes the golden pictures)";
  ASSERT_EQ(golden.Width, kGoldenSide);
  ASSERT_EQ(golden.Height, kGoldenSide);
  int32_t wrong = 0, firstX = -1, firstY = -1;
  for (int32_t py = 0; py < kGoldenSide; ++py)
    for (int32_t px = 0; px < kGoldenSide; ++px)
      if (DibGetPixel(crop, px, py) != DibGetPixel(golden, px, py)) {
        if (wrong++ == 0) {
          firstX = px;
          firstY = py;
        }
      }
  EXPECT_EQ(wrong, 0) << name << ": " << wrong << " pixels differ, the first at (" << firstX << ", " << firstY
                      << "): " << std::hex << DibGetPixel(crop, firstX, firstY) << " instead of "
                      << DibGetPixel(golden, firstX, firstY);
}

class PlayGolden : public PlayFieldTest {
 protected:
  // A 3 x 3 jigsaw of 24-pixel cells, the middle piece alone in the
  // middle of a white side, its neighbours around it; the mask shades in
  // a diagonal ramp from dark to bright so both clamps show.
  void OpenScene() {
    PlayJigsawSpec spec;
    spec.Cell = 24;
    spec.Knob = 6;
    Open(spec, 600, 400);
    DIB_P& mask = jig.Images[kMaskSlot];
    for (int32_t y = 0; y < mask.Height; ++y)
      for (int32_t x = 0; x < mask.Width; ++x) DibPixel(mask, x, y)[2] = static_cast<uint8_t>(Clamp(8 * (x + y) - 500 + 128, 0, 255));
    Probe(field).SetBkg(MW_SIDE0, 0xFFFFFF);
    for (int32_t i = 0; i < PieceCount(jig); ++i) Put(i, 160 + (i % 3) * 60, 120 + (i / 3) * 60);
    SortPieces(jig, false);
    Probe(field).options().Look.EmbossStyle = 1;
    field->Invalidate();
  }
  int32_t PieceFieldX(int32_t i) { return FieldX(Probe(field).Wins()[MW_SIDE0], T(i).X); }
  int32_t PieceFieldY(int32_t i) { return FieldY(Probe(field).Wins()[MW_SIDE0], T(i).Y); }
};

TEST_F(PlayGolden, ShadedPiece) {
  OpenScene();
  ExpectGolden(Probe(field).FieldImg(), PieceFieldX(4) - 5, PieceFieldY(4) - 5, "piece_shaded");
}

TEST_F(PlayGolden, SelectedPieceIsInvertedAfterShading) {
  OpenScene();
  T(4).Sel = 1;
  Probe(field).Selection() = true;
  field->Invalidate();
  ExpectGolden(Probe(field).FieldImg(), PieceFieldX(4) - 5, PieceFieldY(4) - 5, "piece_selected");
}

TEST_F(PlayGolden, SelectionRectangleTint) {
  OpenScene();
  // From the lower right up and to the left, ending inside piece 4.
  const int32_t x = PieceFieldX(4), y = PieceFieldY(4);
  field->PointerDown(kMbLeft, 0, x + 50, y + 45);
  field->PointerMove(kHeldLeft, 0, x + 12, y + 10);
  ASSERT_EQ(Probe(field).DragState(), kDragBand);
  ExpectGolden(Probe(field).FieldImg(), x - 5, y - 5, "selection_tint");
}

TEST_F(PlayGolden, Lens) {
  OpenScene();
  ASSERT_TRUE(field->RunCommand(Command::GameGlass));
  // The lens centred over piece 4's upper left.
  TMyWin& g = Probe(field).Glass();
  RectMoveTo(g.Outer, PieceFieldX(4) + 5 - (g.Client.Left - g.Outer.Left) - g.Client.Width / 2,
             PieceFieldY(4) + 5 - (g.Client.Top - g.Outer.Top) - g.Client.Height / 2);
  Relayout(g);
  Probe(field).MakeLensMask();
  Probe(field).RedrawMode() = kRedrawAll;
  field->Present();
  const int32_t cx = g.Client.Left + g.Client.Width / 2, cy = g.Client.Top + g.Client.Height / 2;
  ExpectGolden(Probe(field).FieldImg(), cx - 20, cy - 20, "lens_centre");
  ExpectGolden(Probe(field).FieldImg(), g.Client.Left, cy - 20, "lens_rim");
}

TEST_F(PlayGolden, PocketFrame) {
  OpenScene();
  ASSERT_TRUE(field->RunCommand(Command::PocketsPocket1));
  const XRECT& o = Probe(field).Wins()[MW_POCKET].Outer;
  ExpectGolden(Probe(field).FieldImg(), o.Left, o.Top, "pocket_top_left");
  ExpectGolden(Probe(field).FieldImg(), o.Right - kGoldenSide + 1, o.Top, "pocket_top_right");
}

}  // namespace
}  // namespace varlo::testing
