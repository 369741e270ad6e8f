// Composing the field on two threads, which share its strips out in turn,
// paints exactly what one thread paints: a real game (a photograph with the
// rectangular cut, every look the options offer) in the states a compose
// meets during play.
#include <gtest/gtest.h>

#include <cstring>

#include "app/settings.h"
#include "cut/refresh_effects.h"
#include "support/fake_platform.h"
#include "support/play_jigsaw.h"
#include "support/play_photo_game.h"

namespace varlo::testing {
namespace {

bool SameBytes(const DIB_P& a, const DIB_P& b) {
  return a.Size == b.Size && std::memcmp(a.Bits, b.Bits, static_cast<size_t>(a.Size)) == 0;
}

struct LookCase {
  const char* name;
  uint8_t emboss, wood;
};

class TwoBands : public ::testing::TestWithParam<LookCase> {};

TEST_P(TwoBands, PaintWhatOneThreadPaints) {
  const LookCase& c = GetParam();
  constexpr int32_t kW = 1024, kH = 700;
  Jigsaw jig;
  ASSERT_TRUE(MakeCutPhotoGame(jig, kW, kH));
  NullProgress progress;
  ASSERT_TRUE(RefreshEffects(jig, c.emboss, c.wood, progress));
  FakePlatform fake;
  PlayField field(fake.platform());
  PlaySkins skins;
  MakeTestSkins(skins);
  field.SetSkins(std::move(skins));
  Probe(field).options().Look.EmbossStyle = c.emboss;
  Probe(field).options().Look.WoodStyle = c.wood;
  Probe(field).options().Look.EdgeW = WoodEdgeWidth(c.wood);
  field.Resize(kW, kH, kW, kH);
  field.OpenGame(&jig);
  // Turned and selected pieces, a pocket over the side holding a few, the
  // thumbnail.
  const int32_t n = jig.Jig.TotalTileNum;
  for (int32_t i = 0; i < n; i += 3) {
    jig.Tiles[i].Rot = static_cast<uint8_t>(i % 4);
    PlaceRotated(jig, i);
  }
  for (int32_t i = 1; i < n; i += 7) jig.Tiles[i].Sel = 1;
  Probe(field).Selection() = true;
  Probe(field).ShowPocket(0, true);
  for (int32_t i = 2; i < 8; ++i) {
    jig.Tiles[i].Win = MW_POCKET;
    jig.Tiles[i].X = 10 * i;
    jig.Tiles[i].Y = 5 * i;
  }
  ASSERT_TRUE(field.RunCommand(Command::GameThumb));
  SortPieces(jig, false);

  DIB_P one, two;
  ASSERT_TRUE(DibCreate24(one, kW, kH));
  ASSERT_TRUE(DibCreate24(two, kW, kH));
  auto compare = [&](const char* state, int32_t mode) {
    DibFillRect(one, 0, 0, kW, kH, 0x010203);
    DibFillRect(two, 0, 0, kW, kH, 0x010203);
    Probe(field).ComposeThreads() = 1;
    Probe(field).Compose(one, Probe(field).FieldClip(), mode);
    Probe(field).ComposeThreads() = 2;
    Probe(field).Compose(two, Probe(field).FieldClip(), mode);
    EXPECT_TRUE(SameBytes(one, two)) << state;
    // An odd area that is split too, its strip borders through pieces.
    XRECT odd;
    RectSetXYWH(odd, 37, 51, 901, 611);
    Probe(field).ComposeThreads() = 1;
    Probe(field).Compose(one, odd, mode);
    Probe(field).ComposeThreads() = 2;
    Probe(field).Compose(two, odd, mode);
    EXPECT_TRUE(SameBytes(one, two)) << state << ", part of the field";
  };
  compare("at rest", kComposeAll);
  // The static layer of a drag of piece 0's group.
  Probe(field).DragState() = kDragPieces;
  Probe(field).Picked() = 0;
  compare("static layer of a drag", kComposeStatic);
  Probe(field).DragState() = kDragIdle;
  Probe(field).Picked() = -1;
  // A selection rectangle in the side.
  Probe(field).Current() = MW_SIDE0;
  Probe(field).DragState() = kDragBand;
  RectSetLTRB(Probe(field).Band(), 500, 20, 40, 600);
  compare("selection rectangle", kComposeAll);
  Probe(field).DragState() = kDragIdle;
}

INSTANTIATE_TEST_SUITE_P(Looks, TwoBands,
                         ::testing::Values(LookCase{"plain", 0, 0}, LookCase{"embossed", 1, 0},
                                           LookCase{"embossed_with_shadows", 1, 2}, LookCase{"wood", 3, 1}),
                         [](const ::testing::TestParamInfo<LookCase>& i) { return std::string(i.param.name); });

}  // namespace
}  // namespace varlo::testing
