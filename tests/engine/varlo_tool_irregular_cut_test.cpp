// varlo-tool cut with the irregular shape styles, run as a developer would.
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
const std::string kPhoto = "/usr/share/backgrounds/friends_by_Aitzol_Berasategi.jpg";

TEST(VarloToolIrregularCut, CutsAPhotographInEachIrregularStyle) {
  if (!fs::exists(kTool)) GTEST_SKIP() << "varlo-tool is not built";
  if (!fs::exists(kPhoto)) GTEST_SKIP() << "no wallpaper photographs installed";
  TempDir dir;
  for (int shape : {0, 1, 2}) {
    SCOPED_TRACE("shape " + std::to_string(shape));
    const std::string common = "cut --picture '" + kPhoto + "' --shape " + std::to_string(shape) +
                               " --level 5 --border " + std::to_string(shape % 2) + " --fit 800x600 ";
    const std::string a = dir.path() + "a.png", b = dir.path() + "b.png", c = dir.path() + "c.png";
    std::string out;
    ASSERT_EQ(RunTool(common + "--seed 11 --mask '" + a + "'", out), 0) << out;
    EXPECT_EQ(out.find("warning"), std::string::npos) << out;
    ASSERT_EQ(RunTool(common + "--seed 11 --mask '" + b + "'", out), 0) << out;
    ASSERT_EQ(RunTool(common + "--seed 12 --mask '" + c + "'", out), 0) << out;
    EXPECT_EQ(ReadFile(a), ReadFile(b));
    EXPECT_NE(ReadFile(a), ReadFile(c));

    DIB_P mask;
    std::string error;
    ASSERT_TRUE(DibLoadPictureFile(mask, a, &error)) << error;
    // 2056 x 3088 fitted into 800 x 600 is 399 x 600, plus the black strips.
    ASSERT_EQ(mask.Width, 399 + 5);
    ASSERT_EQ(mask.Height, 600 + 5);
    int32_t white = 0;
    for (int32_t y = 0; y < 600; ++y)
      for (int32_t x = 0; x < 399; ++x) white += DibGetPixel(mask, x, y) == 0xFFFFFF;
    EXPECT_EQ(white, 0);
  }
}

}  // namespace
