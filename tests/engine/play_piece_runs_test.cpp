// Painting pieces from their run lists gives the same pixels as testing the
// mask pixel by pixel: plain, shaded, selected and turned pieces, clipped
// on every side, and after the mask or the box changed.
#include <gtest/gtest.h>

#include <cstring>

#include "app/settings.h"
#include "cut/refresh_effects.h"
#include "play/piece_paint.h"
#include "play/piece_runs.h"
#include "support/play_jigsaw.h"
#include "support/play_photo_game.h"

namespace varlo::testing {
namespace {

bool SameBytes(const DIB_P& a, const DIB_P& b) {
  return a.Size == b.Size && std::memcmp(a.Bits, b.Bits, static_cast<size_t>(a.Size)) == 0;
}

// A 4 x 3 turning jigsaw of odd-sized pieces whose mask shades every pixel
// differently (dark, flat and bright, so both clamps are reached).
void MakeShadedJigsaw(Jigsaw& jig) {
  PlayJigsawSpec spec;
  spec.Cols = 4;
  spec.Rows = 3;
  spec.Cell = 23;
  spec.Knob = 5;
  spec.Border = true;
  MakePlayJigsaw(jig, spec);
  DIB_P& mask = jig.Images[kMaskSlot];
  for (int32_t y = 0; y < mask.Height; ++y)
    for (int32_t x = 0; x < mask.Width; ++x) DibPixel(mask, x, y)[2] = static_cast<uint8_t>((x * 37 + y * 11) & 255);
  NullProgress progress;
  jig.Jig.Rotate = 1;
  ASSERT_TRUE(MakeRotatedImages(jig, progress));
}

TEST(PieceRuns, PaintTheSamePixelsAsTheMaskTest) {
  Jigsaw jig;
  MakeShadedJigsaw(jig);
  PieceRunCache runs;
  DIB_P byMask, byRuns;
  DibCreate24(byMask, 70, 60);
  DibCreate24(byRuns, 70, 60);
  // Clips that cut the piece at each side, one that misses it, the whole
  // target; positions that hang out of the target on each side.
  XRECT clips[4];
  RectSetXYWH(clips[0], 0, 0, 70, 60);
  RectSetXYWH(clips[1], 13, 9, 11, 17);
  RectSetXYWH(clips[2], 30, 0, 40, 31);
  RectSetXYWH(clips[3], 60, 50, 10, 10);
  const int32_t spots[][2] = {{20, 15}, {-9, -4}, {55, 47}, {0, 40}};
  int32_t painted = 0;
  for (int32_t i = 0; i < PieceCount(jig); ++i) {
    if (i == BorderPieceIndex(jig)) continue;
    for (int32_t rot = 0; rot < 4; ++rot)
      for (int32_t look = 0; look < 4; ++look) {
        TILE_P& t = jig.Tiles[i];
        t.Rot = static_cast<uint8_t>(rot);
        PlaceRotated(jig, i);
        t.Sel = look & 1;
        PieceLook pl;
        pl.EmbossStyle = static_cast<uint8_t>(look >> 1);
        for (const XRECT& clip : clips)
          for (const auto& spot : spots) {
            DibFillRect(byMask, 0, 0, 70, 60, 0x123456);
            DibFillRect(byRuns, 0, 0, 70, 60, 0x123456);
            DrawPieceAt(byMask, clip, spot[0], spot[1], jig, i, pl);
            DrawPieceAt(byRuns, clip, spot[0], spot[1], jig, i, pl, &runs);
            ASSERT_TRUE(SameBytes(byMask, byRuns))
                << "piece " << i << " rot " << rot << " look " << look << " at " << spot[0] << "," << spot[1]
                << " clip " << clip.Left << "," << clip.Top;
            ++painted;
          }
      }
  }
  EXPECT_GT(painted, 1000);
}

// The edge effects need a real cut: its pieces carry their effect slots
// and bits, the layers come from the game's own effect code.
TEST(PieceRuns, PaintTheSameEdgeEffectsOnACutPhotograph) {
  Jigsaw jig;
  ASSERT_TRUE(MakeCutPhotoGame(jig, 800, 600));
  struct Look {
    uint8_t emboss, wood;
  };
  DIB_P byMask, byRuns;
  DibCreate24(byMask, 160, 140);
  DibCreate24(byRuns, 160, 140);
  XRECT clips[3];
  RectSetXYWH(clips[0], 0, 0, 160, 140);
  RectSetXYWH(clips[1], 41, 37, 23, 29);
  RectSetXYWH(clips[2], 0, 50, 160, 10);
  const int32_t spots[][2] = {{40, 40}, {-30, -20}, {120, 100}};
  for (const Look look : {Look{1, 2}, Look{0, 1}, Look{3, 1}, Look{0, 2}}) {
    NullProgress progress;
    ASSERT_TRUE(RefreshEffects(jig, look.emboss, look.wood, progress));
    PieceLook pl;
    pl.EmbossStyle = look.emboss;
    pl.WoodStyle = look.wood;
    pl.EdgeW = WoodEdgeWidth(look.wood);
    PieceRunCache runs;
    for (int32_t i = 0; i < PieceCount(jig); i += 2) {
      if (i == BorderPieceIndex(jig)) continue;
      TILE_P& t = jig.Tiles[i];
      t.Rot = static_cast<uint8_t>(i % 4);
      PlaceRotated(jig, i);
      t.Sel = (i / 2) % 2;
      ASSERT_GT(EdgeWidthFor(jig, pl, t.Rot), 0);
      for (const XRECT& clip : clips)
        for (const auto& spot : spots) {
          DibFillRect(byMask, 0, 0, 160, 140, 0x5A7090);
          DibFillRect(byRuns, 0, 0, 160, 140, 0x5A7090);
          DrawPieceAt(byMask, clip, spot[0], spot[1], jig, i, pl);
          DrawPieceAt(byRuns, clip, spot[0], spot[1], jig, i, pl, &runs);
          ASSERT_TRUE(SameBytes(byMask, byRuns)) << "piece " << i << " emboss " << int{look.emboss} << " wood "
                                                 << int{look.wood} << " at " << spot[0] << "," << spot[1];
        }
    }
  }
}

TEST(PieceRuns, AreBuiltAgainWhenTheMaskOrTheBoxChanged) {
  Jigsaw jig;
  MakeShadedJigsaw(jig);
  PieceRunCache runs;
  const int32_t i = 5;
  const PieceRunList* first = runs.Get(jig, i);
  ASSERT_NE(first, nullptr);
  const size_t before = first->Runs.size();
  // Another mask of the same size in the slot (a new game): its piece 5
  // is a plain rectangle, one run a row.
  TILE_P& t = jig.Tiles[i];
  DIB_P fresh;
  DibCreate24(fresh, jig.Images[kMaskSlot].Width, jig.Images[kMaskSlot].Height);
  DibFillRect(fresh, t.MapX, t.MapY, t.RotW, t.RotH, MakeRGB(128, 0, t.Key));
  jig.Images[kMaskSlot] = std::move(fresh);
  const PieceRunList* second = runs.Get(jig, i);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->Runs.size(), static_cast<size_t>(t.RotH));
  EXPECT_NE(second->Runs.size(), before);
  // A turned piece uses the turned mask's lists.
  t.Rot = 1;
  PlaceRotated(jig, i);
  const PieceRunList* turned = runs.Get(jig, i);
  ASSERT_NE(turned, nullptr);
  EXPECT_EQ(turned->H, t.RotH);
  EXPECT_EQ(turned->MapX, t.MapX);
}

}  // namespace
}  // namespace varlo::testing
