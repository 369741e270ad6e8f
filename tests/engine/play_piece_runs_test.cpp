// Painting pieces from their paint lists gives the same pixels as reading
// the mask, picture and effect layer pixel by pixel: plain, shaded,
// selected and turned pieces, clipped on every side, and after the mask,
// the box or the effects changed; a field that kept its lists through a
// game paints what a fresh field paints.
#include <gtest/gtest.h>

#include <cstring>

#include "app/settings.h"
#include "cut/refresh_effects.h"
#include "play/piece_paint.h"
#include "play/piece_runs.h"
#include "play/play_field.h"
#include "support/fake_platform.h"
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
  const PieceRunList* first = runs.Get(jig, i, PieceLook{});
  ASSERT_NE(first, nullptr);
  const size_t before = first->RunCount();
  // Another mask of the same size in the slot (a new game): its piece 5
  // is a plain rectangle, one run a row.
  TILE_P& t = jig.Tiles[i];
  DIB_P fresh;
  DibCreate24(fresh, jig.Images[kMaskSlot].Width, jig.Images[kMaskSlot].Height);
  DibFillRect(fresh, t.MapX, t.MapY, t.RotW, t.RotH, MakeRGB(128, 0, t.Key));
  jig.Images[kMaskSlot] = std::move(fresh);
  const PieceRunList* second = runs.Get(jig, i, PieceLook{});
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->RunCount(), static_cast<uint32_t>(t.RotH));
  EXPECT_NE(second->RunCount(), before);
  // A turned piece uses the turned mask's lists.
  t.Rot = 1;
  PlaceRotated(jig, i);
  const PieceRunList* turned = runs.Get(jig, i, PieceLook{});
  ASSERT_NE(turned, nullptr);
  EXPECT_EQ(turned->H, t.RotH);
  EXPECT_EQ(turned->MapX, t.MapX);
}

// A field keeps a paint list per piece through the game. After a join
// that cleared the bands along the seam, after the effects were computed
// again for another look and after a turn, it paints what a field opened
// fresh on the same game paints.
TEST(PieceRuns, AFieldThatPaintedBeforePaintsWhatAFreshFieldPaints) {
  constexpr int32_t kW = 1024, kH = 700;
  Jigsaw jig;
  ASSERT_TRUE(MakeCutPhotoGame(jig, kW, kH));
  NullProgress progress;
  ASSERT_TRUE(RefreshEffects(jig, 1, 2, progress));
  FakePlatform fake;
  auto setUp = [&](PlayField& field, uint8_t emboss, uint8_t wood) {
    PlaySkins skins;
    MakeTestSkins(skins);
    field.SetSkins(std::move(skins));
    Probe(field).options().Look.EmbossStyle = emboss;
    Probe(field).options().Look.WoodStyle = wood;
    Probe(field).options().Look.EdgeW = WoodEdgeWidth(wood);
    field.Resize(kW, kH, kW, kH);
  };
  PlayField kept(fake.platform());
  setUp(kept, 1, 2);
  kept.OpenGame(&jig);
  DIB_P byKept, byFresh;
  ASSERT_TRUE(DibCreate24(byKept, kW, kH));
  ASSERT_TRUE(DibCreate24(byFresh, kW, kH));
  auto compare = [&](const char* state, uint8_t emboss, uint8_t wood) {
    for (const int32_t threads : {1, 2}) {
      Probe(kept).ComposeThreads() = threads;
      Probe(kept).Compose(byKept, Probe(kept).FieldClip(), kComposeAll);
    }
    PlayField fresh(fake.platform());
    setUp(fresh, emboss, wood);
    fresh.OpenGame(&jig);
    Probe(fresh).Compose(byFresh, Probe(fresh).FieldClip(), kComposeAll);
    EXPECT_TRUE(SameBytes(byKept, byFresh)) << state;
  };
  compare("opened", 1, 2);

  // Two neighbours unturned; the second dropped where it joins the first.
  const int32_t p = 0;
  int32_t q = -1;
  for (const int16_t nb : jig.Tiles[p].Nb)
    if (nb >= 0 && q < 0) q = nb;
  ASSERT_GE(q, 0);
  for (const int32_t i : {p, q}) {
    jig.Tiles[i].Rot = 0;
    PlaceRotated(jig, i);
  }
  jig.Tiles[p].X = 400;
  jig.Tiles[p].Y = 300;
  jig.Tiles[q].X = 100;
  jig.Tiles[q].Y = 100;
  BringToFront(jig, p, -1);
  BringToFront(jig, q, -1);
  SortPieces(jig, false);
  compare("two neighbours apart", 1, 2);
  const TILE_P& tp = jig.Tiles[p];
  const TILE_P& tq = jig.Tiles[q];
  DragPieceTo(kept, q, tp.X + tq.BoxX - tp.BoxX + 1, tp.Y + tq.BoxY - tp.BoxY);
  ASSERT_EQ(Probe(kept).JoinCount(), 1);
  compare("joined", 1, 2);

  // Without an edge effect the lists hang on the masks only, whose
  // shading another emboss rewrites in place.
  ASSERT_TRUE(RefreshEffects(jig, 1, 0, progress));
  Probe(kept).options().Look.WoodStyle = 0;
  Probe(kept).options().Look.EdgeW = 0;
  compare("no edge effect", 1, 0);
  ASSERT_TRUE(RefreshEffects(jig, 2, 0, progress));
  Probe(kept).options().Look.EmbossStyle = 2;
  compare("another emboss", 2, 0);

  ASSERT_TRUE(RefreshEffects(jig, 3, 1, progress));
  Probe(kept).options().Look.EmbossStyle = 3;
  Probe(kept).options().Look.WoodStyle = 1;
  Probe(kept).options().Look.EdgeW = WoodEdgeWidth(1);
  compare("another look", 3, 1);

  jig.Tiles[q].Rot = 2;
  PlaceRotated(jig, q);
  compare("turned", 3, 1);
}

}  // namespace
}  // namespace varlo::testing
