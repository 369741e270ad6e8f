// varlo-tool levels and cut, run as a developer would run them.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "raster/picture_codecs.h"
#include "support/run_tool.h"
#include "support/temp_home.h"

namespace fs = std::filesystem;
using namespace varlo;
using namespace varlo::testing;

namespace {

const std::string kTool = ToolPath();
const std::string kPhoto = "/usr/share/backgrounds/life_by_Aitzol_Berasategi.jpg";

class VarloToolCut : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!fs::exists(kTool)) GTEST_SKIP() << "varlo-tool is not built";
  }
  TempDir dir;
};

TEST_F(VarloToolCut, LevelsPrintsTheTable) {
  std::string out;
  ASSERT_EQ(RunTool("levels --width 800 --height 600 --shape 0 --border 0", out), 0) << out;
  EXPECT_EQ(out.rfind("{\"levels\":[{\"level\":0,\"TileS\":20,\"MaskS\":28,\"KnobS\":4,\"columns\":40,\"rows\":30,"
                      "\"pieces\":1200,\"PicNum\":0},",
                      0),
            0u)
      << out;
  EXPECT_NE(out.find("{\"level\":13,\"TileS\":150,\"MaskS\":220,\"KnobS\":35,\"columns\":5,\"rows\":4,\"pieces\":20,"),
            std::string::npos)
      << out;
  for (const char* bad : {"levels --width 0 --height 600", "levels --width 800", "levels --width 800 --height 600 --shape 7",
                          "levels --width 800 --height 600 --border 2", "levels --width x --height 600",
                          "levels --width 800 --height 600 --colour 1"}) {
    EXPECT_NE(RunTool(bad, out), 0) << bad;
    EXPECT_NE(out.find("varlo-tool levels:"), std::string::npos) << out;
  }
}

TEST_F(VarloToolCut, CutsAPhotographDeterministically) {
  if (!fs::exists(kPhoto)) GTEST_SKIP() << "no wallpaper photographs installed";
  const std::string a = dir.path() + "a.png", b = dir.path() + "b.png", c = dir.path() + "c.png";
  const std::string pieces = dir.path() + "p.json", preview = dir.path() + "v.png";
  std::string out;
  const std::string common = "cut --picture '" + kPhoto + "' --shape 6 --level 8 --border 1 --fit 800x600 ";
  ASSERT_EQ(RunTool(common + "--seed 5 --mask '" + a + "' --pieces '" + pieces + "' --preview '" + preview + "'", out),
            0)
      << out;
  EXPECT_NE(out.find("cut "), std::string::npos);  // phase times on stderr
  ASSERT_EQ(RunTool(common + "--seed 5 --mask '" + b + "'", out), 0) << out;
  ASSERT_EQ(RunTool(common + "--seed 6 --mask '" + c + "'", out), 0) << out;
  EXPECT_EQ(ReadFile(a), ReadFile(b));
  EXPECT_NE(ReadFile(a), ReadFile(c));

  DIB_P mask;
  std::string error;
  ASSERT_TRUE(DibLoadPictureFile(mask, a, &error)) << error;
  // The photograph is 3088 x 2056; fitted into 800 x 600 it is 800 x 532.
  EXPECT_EQ(mask.Width, 805);
  EXPECT_EQ(mask.Height, 537);
  const std::string json = ReadFile(pieces);
  EXPECT_EQ(json.rfind("{\"TotalTileNum\":", 0), 0u);
  EXPECT_NE(json.find("\"ImageW\":800,\"ImageH\":532"), std::string::npos);
  EXPECT_NE(json.find("\"Key\":5,\"KeyBit\":128,\"BoxX\":0,\"BoxY\":0,\"BoxW\":800,\"BoxH\":532"), std::string::npos);
  DIB_P shown;
  ASSERT_TRUE(DibLoadPictureFile(shown, preview, &error)) << error;
  EXPECT_GT(shown.Width, 800);
}

TEST_F(VarloToolCut, FailuresWriteNothing) {
  const std::string mask = dir.path() + "m.png";
  const std::string picture = FixturePath("pictures/photo-160x120-exif.jpg");
  std::string out;
  struct Case {
    std::string args, says;
  };
  const Case cases[] = {
      {"cut --picture '" + dir.path() + "missing.jpg' --shape 4 --level 0 --mask '" + mask + "'", ""},
      {"cut --picture '" + picture + "' --shape -1 --level 0 --mask '" + mask + "'", "--shape"},
      {"cut --picture '" + picture + "' --shape 9 --level 0 --mask '" + mask + "'", "--shape"},
      {"cut --picture '" + picture + "' --shape 4 --level 14 --mask '" + mask + "'", "--level"},
      {"cut --picture '" + picture + "' --shape 4 --level 0 --border 3 --mask '" + mask + "'", "--border"},
      {"cut --picture '" + picture + "' --shape 4 --level 0 --fit 80 --mask '" + mask + "'", "--fit"},
      {"cut --picture '" + picture + "' --shape 4 --level 0", "usage"},
      {"cut --picture '" + picture + "' --shape 4 --level 0 --mask '" + dir.path() + "no/such/dir/m.png'", "cannot write"},
  };
  for (const Case& c : cases) {
    EXPECT_NE(RunTool(c.args, out), 0) << c.args;
    EXPECT_NE(out.find("varlo-tool cut:"), std::string::npos) << out;
    EXPECT_NE(out.find(c.says), std::string::npos) << out;
    EXPECT_FALSE(fs::exists(mask)) << c.args;
  }
  // The same small picture cuts fine.
  ASSERT_EQ(RunTool("cut --picture '" + picture + "' --shape 4 --level 0 --mask '" + mask + "'", out), 0) << out;
  EXPECT_TRUE(fs::exists(mask));
}

}  // namespace
