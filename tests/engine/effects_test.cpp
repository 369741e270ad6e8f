#include <gtest/gtest.h>

#include "cut/cell_layout.h"
#include "cut/effect_layer.h"
#include "cut/effect_preview.h"
#include "cut/emboss.h"
#include "cut/knob_atlas.h"
#include "cut/level_table.h"
#include "cut/rect_cut.h"
#include "cut/refresh_effects.h"
#include "jigsaw/pieces.h"
#include "support/counting_progress.h"

namespace varlo {
namespace {

using testing::CountingProgress;

// A freshly cut jigsaw with every piece its own group.
void CutJigsaw(Jigsaw& jig, int32_t w, int32_t h, int32_t level, int32_t border, bool rotate) {
  static const DIB_P* atlas = [] {
    auto* a = new DIB_P;
    DrawKnobAtlas(*a);
    return a;
  }();
  jig.Jig = JIG_P{};
  jig.Jig.ImageW = w;
  jig.Jig.ImageH = h;
  jig.Jig.ShapeStyle = 5;
  jig.Jig.BorderStyle = static_cast<uint8_t>(border);
  jig.Jig.Level = level;
  jig.Jig.Rotate = rotate ? 1 : 0;
  LevelTable table{};
  ASSERT_TRUE(EvaluateLevelCounts(jig.Jig, table));
  ASSERT_TRUE(AllocPieces(jig, jig.Jig.TotalTileNum + 1));
  DibCreate24(jig.Images[kPictureSlot], w, h);
  DibFillRect(jig.Images[kPictureSlot], 0, 0, w, h, MakeRGB(100, 120, 140));
  RandomGenerator random(8);
  NullProgress progress;
  PaintError error;
  ASSERT_TRUE(CutRectangular(jig.Jig, jig.Tiles, jig.Images[kMaskSlot], *atlas, random, progress, error));
  for (int32_t i = 0; i < jig.Jig.TotalTileNum; ++i) jig.Tiles[i].Group = i;
  if (rotate) {
    ASSERT_TRUE(MakeRotatedImages(jig, progress));
  }
}

std::vector<uint8_t> Bytes(const DIB_P& d) {
  return std::vector<uint8_t>(d.Bits, d.Bits + d.Size);
}


// The effects as first written down: every direction walked step by step,
// every band laid shift by shift. The optimised code must match them.
void ReferenceEmboss(DIB_P& mask, int32_t bx, int32_t by, int32_t bw, int32_t bh, uint8_t key, int32_t style) {
  const int32_t t = EmbossWidth(style);
  const auto w = EmbossWeights(style);
  static constexpr int32_t kDx[8] = {-1, 0, 1, 0, -1, 1, 1, -1};
  static constexpr int32_t kDy[8] = {0, -1, 0, 1, -1, -1, 1, 1};
  const int32_t T = (t + 1) * 128;
  for (int32_t y = by; y < by + bh; ++y)
    for (int32_t x = bx; x < bx + bw; ++x) {
      if (DibPixel(mask, x, y)[0] != key) continue;
      int32_t e = 0;
      for (int d = 0; d < 8; ++d) {
        int32_t count = t + 1;
        for (int32_t k = 1; k <= t + 1; ++k) {
          const int32_t qx = x + k * kDx[d], qy = y + k * kDy[d];
          if (qx < bx || qx >= bx + bw || qy < by || qy >= by + bh || DibPixel(mask, qx, qy)[0] != key) {
            count = k;
            break;
          }
        }
        const int32_t scaled = count * (d < 4 ? 128 : 181);
        if (scaled <= T) e += (T - scaled) * w[d];
      }
      const int32_t shade = std::clamp(e / 128, -127, 127);
      if (shade != 0) DibPixel(mask, x, y)[2] = static_cast<uint8_t>(128 + shade);
    }
}

void ReferenceBand(DIB_P& layer, const DIB_P& mask, int32_t bx, int32_t by, int32_t bw, int32_t bh, uint8_t key,
                   int32_t cls, int32_t L) {
  for (int32_t a = L; a >= 0; --a)
    for (int32_t y = by; y < by + bh; ++y)
      for (int32_t x = bx; x < bx + bw; ++x) {
        if (DibPixel(mask, x, y)[0] != key) continue;
        uint8_t* px = DibPixel(layer, x + a, y + a);
        SetLayerBits(px, static_cast<uint16_t>(LayerBits(px) | (1u << cls)));
        SetLayerDistance(px, cls, a);
      }
}

TEST(Effects, MatchTheStepByStepDefinition) {
  for (int32_t style : {kEmbossPaper, kEmbossCardboard, kEmbossFatCard}) {
    Jigsaw jig;
    CutJigsaw(jig, 360, 250, 3, 1, false);
    DIB_P ref;
    DibFromBitmap(ref, jig.Images[kMaskSlot]);
    EmbossJigsaw(jig, 0, style);
    for (int32_t i = 0; i < jig.Jig.TotalTileNum; ++i) {
      const TILE_P& t = jig.Tiles[i];
      ReferenceEmboss(ref, t.BoxX, t.BoxY, t.BoxW, t.BoxH, t.Key, style);
    }
    EXPECT_EQ(Bytes(jig.Images[kMaskSlot]), Bytes(ref)) << style;
  }
  for (int32_t wood : {kWoodWood, kWoodShadows}) {
    Jigsaw jig;
    CutJigsaw(jig, 360, 250, 3, 1, false);
    ASSERT_TRUE(BuildEffectLayer(jig, 0, wood));
    DIB_P ref;
    ASSERT_TRUE(CreateEffectLayer(ref, jig.Images[kMaskSlot].Width, jig.Images[kMaskSlot].Height));
    for (int32_t i = 0; i < jig.Jig.TotalTileNum; ++i) {
      const TILE_P& t = jig.Tiles[i];
      ReferenceBand(ref, jig.Images[kMaskSlot], t.BoxX, t.BoxY, t.BoxW, t.BoxH, t.Key, t.WoodSlot, BandWidth(wood));
    }
    EXPECT_EQ(Bytes(jig.Images[kEffectSlot]), Bytes(ref)) << wood;
  }
}

TEST(Emboss, ShadeFromTheOutlineDirections) {
  // A 9 x 9 piece of key 50 on key 75 with a one-pixel notch of key 75 just
  // left of (4, 4): that pixel sees the outside only to its left.
  DIB_P mask;
  DibCreate24(mask, 20, 20);
  DibFillRect(mask, 0, 0, 20, 20, PieceColour(75));
  DibFillRect(mask, 5, 5, 9, 9, PieceColour(50));
  DibSetPixel(mask, 8, 9, PieceColour(75));
  EmbossPiece(mask, 0, 0, 20, 20, 50, kEmbossPaper);
  auto red = [&](int32_t x, int32_t y) { return DibPixel(mask, x, y)[2]; };
  EXPECT_EQ(red(9, 9), 148);   // (2 x 128 - 128) x 20 / 128 = 20
  EXPECT_EQ(red(9, 11), 128);  // deep inside: weighted sum 0
  EXPECT_GT(red(5, 9), 128);   // the left rim is light
  EXPECT_LT(red(13, 9), 128);  // the right rim is dark
  EXPECT_EQ(red(2, 2), 128);   // other pieces untouched
  EXPECT_EQ(DibPixel(mask, 9, 9)[0], 50);  // the key stays

  // The box's edge counts as the piece's edge.
  DIB_P m2;
  DibCreate24(m2, 10, 10);
  DibFillRect(m2, 0, 0, 10, 10, PieceColour(50));
  EmbossPiece(m2, 2, 2, 5, 5, 50, kEmbossFatCard);
  EXPECT_GT(DibPixel(m2, 2, 4)[2], 128);
  EXPECT_EQ(DibPixel(m2, 0, 0)[2], 128);  // outside the box: not shaded

  // Every style shades within its width and no further.
  for (int32_t style : {kEmbossPaper, kEmbossCardboard, kEmbossFatCard}) {
    DIB_P m;
    DibCreate24(m, 30, 30);
    DibFillRect(m, 0, 0, 30, 30, PieceColour(75));
    DibFillRect(m, 5, 5, 20, 20, PieceColour(50));
    EmbossPiece(m, 0, 0, 30, 30, 50, style);
    const int32_t t = EmbossWidth(style);
    EXPECT_NE(DibPixel(m, 5 + t - 1, 15)[2], 128) << style;
    EXPECT_EQ(DibPixel(m, 5 + t, 15)[2], 128) << style;
  }
}

TEST(EffectLayer, BandsReachTheirWidthDiagonally) {
  for (int32_t wood : {kWoodWood, kWoodShadows}) {
    Jigsaw jig;
    CutJigsaw(jig, 400, 300, 12, 0, false);
    ASSERT_TRUE(BuildEffectLayer(jig, 0, wood));
    const DIB_P& layer = jig.Images[kEffectSlot];
    ASSERT_EQ(layer.Width, jig.Images[kMaskSlot].Width);
    ASSERT_EQ(layer.Stride, layer.Width * 6);
    const int32_t L = BandWidth(wood);
    // The bottom-right piece: below-right of its last pixel the band runs
    // out after L pixels.
    const int32_t last = jig.Jig.TotalTileNum - 1;
    const TILE_P& t = jig.Tiles[last];
    EXPECT_EQ(t.WoodSlot, PieceClass(last, jig.Jig.TilePX, false));
    EXPECT_EQ(t.WoodBit, 1 << t.WoodSlot);
    const int32_t x = jig.Jig.ImageW - 1, y = jig.Jig.ImageH - 1;
    ASSERT_EQ(DibPixel(jig.Images[kMaskSlot], x, y)[0], t.Key);
    EXPECT_EQ(LayerDistance(DibPixel(layer, x, y), t.WoodSlot), 0);
    EXPECT_TRUE(LayerBits(DibPixel(layer, x, y)) & t.WoodBit);
    for (int32_t a = 1; a <= 4; ++a) {
      const uint8_t* px = DibPixel(layer, x + a, y + a);
      if (a <= L) {
        EXPECT_TRUE(LayerBits(px) & t.WoodBit) << a;
        EXPECT_EQ(LayerDistance(px, t.WoodSlot), a) << wood << " " << a;
      } else {
        EXPECT_FALSE(LayerBits(px) & t.WoodBit) << a;
      }
    }
  }
}

TEST(EffectLayer, JoinedPiecesCastNoBandOnEachOther) {
  Jigsaw loose, joined, seamed;
  CutJigsaw(loose, 400, 300, 12, 0, false);
  CutJigsaw(joined, 400, 300, 12, 0, false);
  CutJigsaw(seamed, 400, 300, 12, 0, false);
  joined.Tiles[1].Group = 0;
  ASSERT_TRUE(BuildEffectLayer(loose, 0, kWoodShadows));
  ASSERT_TRUE(BuildEffectLayer(joined, 0, kWoodShadows));
  ASSERT_TRUE(BuildEffectLayer(seamed, 0, kWoodShadows));
  EXPECT_NE(Bytes(loose.Images[kEffectSlot]), Bytes(joined.Images[kEffectSlot]));
  // Where piece 1 lies, piece 0 has no band any more (and the other way).
  const DIB_P& layer = joined.Images[kEffectSlot];
  const DIB_P& mask = joined.Images[kMaskSlot];
  int32_t over = 0, overLoose = 0;
  const TILE_P& one = joined.Tiles[1];
  for (int32_t y = one.BoxY; y < one.BoxY + one.BoxH; ++y) {
    for (int32_t x = one.BoxX; x < one.BoxX + one.BoxW; ++x) {
      const uint8_t key = DibPixel(mask, x, y)[0];
      if (key != joined.Tiles[1].Key) continue;
      over += LayerDistance(DibPixel(layer, x, y), joined.Tiles[0].WoodSlot) != 0;
      overLoose += LayerDistance(DibPixel(loose.Images[kEffectSlot], x, y), loose.Tiles[0].WoodSlot) != 0;
    }
  }
  EXPECT_GT(overLoose, 0);
  EXPECT_EQ(over, 0);
  // Joining in play (ClearSeam on the piece that joined) gives the same
  // layer as building it for pieces already joined.
  seamed.Tiles[1].Group = 0;
  ClearSeam(seamed, 1, 0, kWoodShadows);
  EXPECT_EQ(Bytes(seamed.Images[kEffectSlot]), Bytes(joined.Images[kEffectSlot]));
}

TEST(RefreshEffects, StepsLayersAndStyles) {
  {
    Jigsaw jig;
    CutJigsaw(jig, 300, 240, 10, 1, true);
    CountingProgress progress;
    EXPECT_EQ(RefreshEffectsSteps(jig, kEmbossPaper, kWoodShadows), 4);
    ASSERT_TRUE(RefreshEffects(jig, kEmbossPaper, kWoodShadows, progress));
    EXPECT_EQ(progress.steps, 4);
    for (int32_t r = 0; r < 4; ++r) {
      EXPECT_EQ(jig.Images[kEffectSlot + r].Width, jig.Images[kMaskSlot + r].Width) << r;
      EXPECT_EQ(jig.Images[kEffectSlot + r].BytesPerPixel, 6);
    }
    EXPECT_EQ(jig.Tiles[jig.Jig.TotalTileNum - 1].WoodSlot, kBorderClass);
    EXPECT_EQ(jig.Sort.size(), static_cast<size_t>(jig.Jig.TotalTileNum));
    // Emboss without an edge effect: no layer at all.
    CountingProgress again;
    ASSERT_TRUE(RefreshEffects(jig, kEmbossPaper, kWoodNone, again));
    EXPECT_EQ(again.steps, 4);
    for (int32_t r = 0; r < 4; ++r) EXPECT_EQ(jig.Images[kEffectSlot + r].Width, 0);
  }
  {
    Jigsaw jig;
    CutJigsaw(jig, 300, 240, 10, 0, false);
    const std::vector<uint8_t> before = Bytes(jig.Images[kMaskSlot]);
    CountingProgress progress;
    ASSERT_TRUE(RefreshEffects(jig, kEmbossNone, kWoodNone, progress));
    EXPECT_EQ(progress.steps, 0);
    EXPECT_EQ(Bytes(jig.Images[kMaskSlot]), before);
    ASSERT_TRUE(RefreshEffects(jig, kEmbossCardboard, kWoodWood, progress));
    EXPECT_EQ(progress.steps, 1);
    EXPECT_NE(Bytes(jig.Images[kMaskSlot]), before);
    EXPECT_GT(jig.Images[kEffectSlot].Width, 0);
    EXPECT_EQ(jig.Images[kEffectSlot + 1].Width, 0);
  }
}

TEST(EffectPreview, WoodShadowAndEmboss) {
  // A 10 x 10 black square piece at (5, 5) in a 30 x 30 white mask.
  DIB_P mask, picture;
  DibCreate24(mask, 30, 30);
  DibFillRect(mask, 0, 0, 30, 30, MakeRGB(255, 255, 255));
  DibFillRect(mask, 5, 5, 10, 10, 0);
  DibCreate24(picture, 30, 30);
  DibFillRect(picture, 0, 0, 30, 30, MakeRGB(100, 100, 100));
  const uint32_t bg = MakeRGB(200, 200, 200), wood = MakeRGB(150, 100, 5);
  auto render = [&](int32_t woodStyle, int32_t emboss) {
    DIB_P out;
    DibCreate24(out, 30, 30);
    DibFillRect(out, 0, 0, 30, 30, bg);
    RenderEffectPreview(out, mask, picture, wood, woodStyle, emboss);
    return out;
  };
  DIB_P w = render(kWoodWood, kEmbossNone);
  EXPECT_EQ(static_cast<uint32_t>(DibGetPixel(w, 15, 15)), wood);               // d = 1
  EXPECT_EQ(static_cast<uint32_t>(DibGetPixel(w, 16, 16)), MakeRGB(140, 90, 0));  // d = 2, blue kept at 0
  EXPECT_EQ(static_cast<uint32_t>(DibGetPixel(w, 18, 18)), bg);                  // beyond 3
  EXPECT_EQ(static_cast<uint32_t>(DibGetPixel(w, 10, 10)), MakeRGB(100, 100, 100));
  DIB_P s = render(kWoodShadows, kEmbossNone);
  EXPECT_EQ(static_cast<uint32_t>(DibGetPixel(s, 15, 15)), MakeRGB(100, 100, 100));  // 200 x 128 / 256
  EXPECT_EQ(static_cast<uint32_t>(DibGetPixel(s, 19, 19)), MakeRGB(187, 187, 187));  // 200 x 240 / 256
  EXPECT_EQ(static_cast<uint32_t>(DibGetPixel(s, 20, 20)), bg);
  DIB_P e = render(kWoodNone, kEmbossPaper);
  EXPECT_GT(ColorToRGB(DibGetPixel(e, 5, 10)).r, 100);   // lit upper-left rim
  EXPECT_LT(ColorToRGB(DibGetPixel(e, 14, 10)).r, 100);  // shaded lower-right rim
  EXPECT_EQ(static_cast<uint32_t>(DibGetPixel(e, 10, 10)), MakeRGB(100, 100, 100));
}

}  // namespace
}  // namespace varlo

namespace varlo {
namespace {

TEST(RefreshEffects, SharedWorkGivesTheSameBytesAsOneAfterTheOther) {
  for (bool rotate : {false, true}) {
    Jigsaw a, b;
    CutJigsaw(a, 320, 240, 6, 1, rotate);
    CutJigsaw(b, 320, 240, 6, 1, rotate);
    NullProgress progress;
    ASSERT_TRUE(RefreshEffects(a, kEmbossFatCard, kWoodShadows, progress));
    const int32_t rotations = rotate ? 4 : 1;
    for (int32_t r = 0; r < rotations; ++r) ASSERT_TRUE(ComputeEffects(b, r, kEmbossFatCard, kWoodShadows));
    for (int32_t r = 0; r < rotations; ++r) {
      EXPECT_EQ(Bytes(a.Images[kMaskSlot + r]), Bytes(b.Images[kMaskSlot + r])) << r;
      EXPECT_EQ(Bytes(a.Images[kEffectSlot + r]), Bytes(b.Images[kEffectSlot + r])) << r;
    }
  }
}

}  // namespace
}  // namespace varlo
