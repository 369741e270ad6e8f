// The baked artwork against the layouts the game cuts it by: sizes, alpha
// where parts must be see-through or solid, stretch sources that match the
// parts they stand for, star frames keyed on white, toolbar faces that sit
// seamlessly on the strip, and background pictures large enough for the
// field.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>
#include <sys/stat.h>

#include "raster/dib.h"
#include "raster/picture_codecs.h"
#include "play/play_field.h"

namespace varlo {
namespace {

const std::string kResources = VARLO_BINARY_DIR "/bin/resources/";
const std::string kBkgPics = VARLO_BINARY_DIR "/bin/bkg-pics/";
// The main window's toolbar skin (the play field's skins are named in
// play_field.h).
constexpr const char* kToolbarSkin = "toolbar_skin";

bool Exists(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0;
}

// In a build with the baker the files must be there; an engine-only build
// has no baker and skips.
#ifdef VARLO_ART_BAKED
#define REQUIRE_BAKED(path) ASSERT_TRUE(Exists(path)) << path << " was not baked"
#else
#define REQUIRE_BAKED(path)                              \
  if (!Exists(path)) {                                     \
    GTEST_SKIP() << "no baker in this build: " << path;    \
  }
#endif

class ArtTest : public ::testing::Test {
 protected:
  void Load(DIB_P& d, const std::string& name) {
    std::string error;
    ASSERT_TRUE(DibLoadPngResource(d, kResources, name, &error)) << error;
  }
  // Blue, green, red (and alpha) of one pixel.
  static uint32_t Raw(const DIB_P& d, int x, int y) {
    const uint8_t* p = DibPixel(d, x, y);
    uint32_t v = p[0] | p[1] << 8 | p[2] << 16;
    if (d.BytesPerPixel == 4) v |= uint32_t{p[3]} << 24;
    return v;
  }
};

struct SkinCase {
  const char* name;
  int width, height;
  bool alpha;
};

TEST_F(ArtTest, ResourcesHaveTheirLayoutSizeAndDepth) {
  const SkinCase cases[] = {
      {kWindowSkinResource, 390, 170, true}, {kGlassSkinResource, 290, 189, true},
      {kWeightResource, 29, 37, true},       {kStarResource, 119, 23, false},
      {kToolbarSkin, 661, 91, false},
  };
  for (const SkinCase& c : cases) {
    SCOPED_TRACE(c.name);
    REQUIRE_BAKED(kResources + c.name + ".png");
    DIB_P d;
    Load(d, c.name);
    EXPECT_EQ(d.Width, c.width);
    EXPECT_EQ(d.Height, c.height);
    EXPECT_EQ(d.HasAlpha != 0, c.alpha);
  }
}

struct AlphaCase {
  const char* name;
  int x, y;
  int minAlpha, maxAlpha;
  const char* what;
};

TEST_F(ArtTest, AlphaIsSolidOrClearWhereThePartsNeedIt) {
  const AlphaCase cases[] = {
      // Frames of the other windows (x 1..100) and the current one (103..202).
      {kWindowSkinResource, 1 + 50, 1 + 10, 255, 255, "caption of another window"},
      {kWindowSkinResource, 103 + 50, 1 + 10, 255, 255, "caption of the current window"},
      {kWindowSkinResource, 1, 1, 0, 127, "rounded top-left corner"},
      {kWindowSkinResource, 103 + 99, 1, 0, 127, "rounded top-right corner"},
      {kWindowSkinResource, 1 + 50, 1 + 50, 0, 0, "client of a frame block"},
      {kWindowSkinResource, 103 + 1, 31, 200, 255, "left border band"},
      {kWindowSkinResource, 103 + 98, 31, 200, 255, "right border band"},
      {kWindowSkinResource, 103 + 50, 98, 200, 255, "bottom border band"},
      // Close button faces at (2 + 23k, 110), 20 x 20.
      {kWindowSkinResource, 2, 110, 0, 0, "close button corner shows the caption"},
      {kWindowSkinResource, 2 + 23 * 1 + 9, 110 + 11, 200, 255, "close button disc under the pointer"},
      {kWindowSkinResource, 2 + 23 * 4 + 9, 110 + 11, 200, 255, "pressed close button"},
      // Scroll bar parts, tracks, corner box, panel, bars and toolbar strip.
      {kWindowSkinResource, 211 + 8, 1 + 8, 255, 255, "scroll button"},
      {kWindowSkinResource, 251 + 8, 101 + 8, 255, 255, "pressed vertical thumb"},
      {kWindowSkinResource, 276 + 8, 21, 255, 255, "vertical track row"},
      {kWindowSkinResource, 296, 1 + 8, 255, 255, "horizontal track column"},
      {kWindowSkinResource, 276 + 8, 1 + 8, 255, 255, "corner box"},
      {kWindowSkinResource, 308 + 5, 1 + 50, 255, 255, "progress panel"},
      {kWindowSkinResource, 350 + 5, 1 + 10, 255, 255, "full bar"},
      {kWindowSkinResource, 360 + 9, 22 + 19, 255, 255, "empty bar corner"},
      {kWindowSkinResource, 318 + 25, 115 + 17, 255, 255, "toolbar strip"},
      // Glass: the housing can be grabbed at each corner; its opening is clear.
      {kGlassSkinResource, 30, 8, 201, 255, "top-left corner of the housing"},
      {kGlassSkinResource, 96 + 62, 8, 201, 255, "top-right corner"},
      {kGlassSkinResource, 30, 96 + 84, 201, 255, "bottom-left corner"},
      {kGlassSkinResource, 96 + 62, 96 + 84, 201, 255, "bottom-right corner"},
      {kGlassSkinResource, 96 + 77, 96 + 77, 201, 255, "resize grip"},
      {kGlassSkinResource, 92, 92, 0, 0, "lens opening"},
      {kGlassSkinResource, 94, 40, 0, 0, "gap between corners"},
      {kGlassSkinResource, 196 + 7, 2 + 7, 200, 255, "close button"},
      {kGlassSkinResource, 196 + 13, 25 + 13, 200, 255, "zoom 3 button"},
      {kGlassSkinResource, 256 + 13, 55 + 13, 200, 255, "pressed zoom 2 button"},
      {kGlassSkinResource, 230 + 7, 2 + 7, 200, 255, "pressed close button"},
      {kGlassSkinResource, 196 + 30 * 3, 25, 0, 0, "beyond the buttons"},
      // Weight: solid body, clear corners.
      {kWeightResource, 14, 22, 255, 255, "weight body"},
      {kWeightResource, 0, 0, 0, 0, "weight corner"},
      {kWeightResource, 28, 36, 0, 0, "weight foot corner"},
  };
  for (const AlphaCase& c : cases) {
    SCOPED_TRACE(std::string(c.name) + ": " + c.what);
    REQUIRE_BAKED(kResources + c.name + ".png");
    DIB_P d;
    Load(d, c.name);
    ASSERT_TRUE(d.HasAlpha);
    const int a = DibGetAlpha(d, c.x, c.y);
    EXPECT_GE(a, c.minAlpha);
    EXPECT_LE(a, c.maxAlpha);
  }
}

// The game stretches one column or row of a part across a window of any
// size; that column must look like the template it replaces.
TEST_F(ArtTest, StretchedColumnsAndRowsMatchTheTemplate) {
  REQUIRE_BAKED(kResources + kWindowSkinResource + ".png");
  DIB_P d;
  Load(d, kWindowSkinResource);
  for (int b : {1, 103}) {
    SCOPED_TRACE(b);
    for (int y = 1; y <= 22; ++y)  // caption middle, column b + 6
      for (int x = b + 7; x <= b + 93; ++x) ASSERT_EQ(Raw(d, x, y), Raw(d, b + 6, y)) << x << "," << y;
    for (int y = 97; y <= 100; ++y)  // bottom band middle, column b + 10
      for (int x = b + 11; x <= b + 89; ++x) ASSERT_EQ(Raw(d, x, y), Raw(d, b + 10, y)) << x << "," << y;
    for (int y = 28; y <= 96; ++y)  // side bands below their first five rows
      for (int x = 0; x < 4; ++x) {
        ASSERT_EQ(Raw(d, b + x, y), Raw(d, b + x, 31)) << y;
        ASSERT_EQ(Raw(d, b + 96 + x, y), Raw(d, b + 96 + x, 31)) << y;
      }
  }
  for (int y = 19; y <= 40; ++y)  // vertical track, row 21
    for (int x = 276; x <= 292; ++x) ASSERT_EQ(Raw(d, x, y), Raw(d, x, 21));
  for (int x = 318; x <= 367; ++x)  // toolbar tile
    for (int y = 115; y <= 149; ++y) ASSERT_EQ(Raw(d, x, y), Raw(d, 318, y));
  for (int s = 0; s < 3; ++s) {  // thumbs run straight through their middle
    const int x0 = 211 + 20 * s;
    for (int x = x0 + 6; x <= x0 + 10; ++x)
      for (int y = 41; y <= 57; ++y) ASSERT_EQ(Raw(d, x, y), Raw(d, x0 + 8, y));
    for (int y = 101 + 6; y <= 101 + 10; ++y)
      for (int x = x0; x <= x0 + 16; ++x) ASSERT_EQ(Raw(d, x, y), Raw(d, x, 101 + 8));
  }
}

struct FaceRow {
  const char* skin;
  int x, y, w, h, step;
  std::vector<int> differFromFirst;  // faces that must not look like face 0
  const char* what;
};

// Every state of a button must be told apart from its normal look, or the
// player gets no feedback under the pointer or on a press.
TEST_F(ArtTest, ButtonFacesDifferByState) {
  const FaceRow rows[] = {
      {kWindowSkinResource, 2, 110, 20, 20, 23, {1, 2, 3, 4}, "window close"},
      {kGlassSkinResource, 196, 2, 14, 14, 17, {1, 2}, "glass close"},
      {kGlassSkinResource, 196, 25, 27, 27, 30, {1, 2}, "zoom 3"},
      {kGlassSkinResource, 196, 55, 27, 27, 30, {1, 2}, "zoom 2"},
      {kWindowSkinResource, 211, 1, 17, 17, 20, {1, 2}, "scroll left"},
      {kWindowSkinResource, 211, 41, 17, 17, 20, {1, 2}, "horizontal thumb"},
      {kWindowSkinResource, 211, 81, 17, 17, 20, {1, 2}, "scroll down"},
      {kWindowSkinResource, 211, 101, 17, 17, 20, {1, 2}, "vertical thumb"},
  };
  for (const FaceRow& r : rows) {
    SCOPED_TRACE(r.what);
    REQUIRE_BAKED(kResources + r.skin + ".png");
    DIB_P d;
    Load(d, r.skin);
    for (int k : r.differFromFirst) {
      int differ = 0;
      for (int y = 0; y < r.h; ++y)
        for (int x = 0; x < r.w; ++x) differ += Raw(d, r.x + x, r.y + y) != Raw(d, r.x + k * r.step + x, r.y + y);
      EXPECT_GT(differ, 10) << "face " << k;
    }
  }
}

TEST_F(ArtTest, StarFramesAreKeyedOnWhite) {
  REQUIRE_BAKED(kResources + kStarResource + ".png");
  DIB_P d;
  Load(d, kStarResource);
  const uint32_t white = 0xFFFFFF;
  int previous = 0;
  for (int k = 0; k < 5; ++k) {
    SCOPED_TRACE(k);
    int star = 0;
    for (int y = 0; y < 23; ++y)
      for (int x = 0; x < 23; ++x) star += Raw(d, 24 * k + x, y) != white;
    EXPECT_GT(star, 4);
    EXPECT_NE(Raw(d, 24 * k + 11, 11), white) << "the star's centre";
    EXPECT_EQ(Raw(d, 24 * k, 0), white) << "the frame's corner";
    if (k > 0) {
      EXPECT_EQ(Raw(d, 24 * k - 1, 11), white) << "the column between frames";
    }
    if (k == 2) {
      EXPECT_GT(star, previous) << "the sparkle grows";
    }
    if (k == 4) {
      EXPECT_LT(star, previous) << "and fades";
    }
    previous = star;
  }
}

// Button faces are opaque 29 x 29 pictures on the toolbar strip 2 rows below
// its top, so their background must be the strip's own rows.
TEST_F(ArtTest, ToolbarFacesSitOnTheStripAndDifferByState) {
  REQUIRE_BAKED(kResources + kToolbarSkin + ".png");
  REQUIRE_BAKED(kResources + kWindowSkinResource + ".png");
  DIB_P bar, skin;
  Load(bar, kToolbarSkin);
  Load(skin, kWindowSkinResource);
  auto rgb = [](uint32_t v) { return v & 0xFFFFFF; };
  for (int col = 0; col < 22; ++col) {
    SCOPED_TRACE(col);
    const int x0 = col * 30 + 1;
    for (int row : {0, 1, 2})
      for (int y = 0; y < 29; ++y) {
        ASSERT_EQ(rgb(Raw(bar, x0, row * 30 + 1 + y)), rgb(Raw(skin, 318, 115 + 2 + y))) << row << "," << y;
      }
    int hotDiffers = 0, offDiffers = 0;
    for (int y = 0; y < 29; ++y)
      for (int x = 0; x < 29; ++x) {
        const uint32_t normal = Raw(bar, x0 + x, 1 + y);
        hotDiffers += Raw(bar, x0 + x, 31 + y) != normal;
        offDiffers += Raw(bar, x0 + x, 61 + y) != normal;
      }
    EXPECT_GT(hotDiffers, 40);
    EXPECT_GT(offDiffers, 20);
  }
  // Pocket with pieces and weight set differ from their plain faces.
  for (auto [a, b] : {std::pair{9, 10}, std::pair{14, 15}}) {
    int differ = 0;
    for (int y = 0; y < 29; ++y)
      for (int x = 0; x < 29; ++x) differ += Raw(bar, a * 30 + 1 + x, 1 + y) != Raw(bar, b * 30 + 1 + x, 1 + y);
    EXPECT_GT(differ, 20) << a << " and " << b;
  }
}

TEST_F(ArtTest, BackgroundPicturesCoverTheFieldAndHaveButtons) {
  for (const char* name : kBkgPictureNames) {
    SCOPED_TRACE(name);
    const std::string full = kBkgPics + name + "-1600.jpg";
    const std::string button = kBkgPics + name + "-but.jpg";
    REQUIRE_BAKED(full);
    REQUIRE_BAKED(button);
    DIB_P d;
    std::string error;
    ASSERT_TRUE(DibLoadPictureFile(d, full, &error)) << error;
    EXPECT_GE(d.Width, 1920);
    EXPECT_GE(d.Height, 1200);
    // A texture, not a flat fill: the picture varies.
    int32_t lo = 255, hi = 0;
    for (int x = 0; x < d.Width; x += 37) {
      const int32_t g = (DibGetPixel(d, x, d.Height / 2) >> 8) & 0xFF;
      lo = std::min(lo, g);
      hi = std::max(hi, g);
    }
    EXPECT_GT(hi - lo, 8);
    DIB_P b;
    ASSERT_TRUE(DibLoadPictureFile(b, button, &error)) << error;
    EXPECT_EQ(b.Width, 63);
    EXPECT_EQ(b.Height, 50);
  }
}

}  // namespace
}  // namespace varlo
