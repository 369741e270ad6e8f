// varlo-tool pack and inspect, run as the player would run them: the tool
// builds packs the game reads, and describes packs and saved games the game
// wrote.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "files/entry_coding.h"
#include "files/jigsaw_pack.h"
#include "files/saved_game_writer.h"
#include "raster/picture_codecs.h"
#include "support/synthetic_game.h"
#include "support/run_tool.h"
#include "support/temp_home.h"

namespace fs = std::filesystem;
using namespace varlo;
using namespace varlo::testing;

namespace {

const std::string kTool = ToolPath();

size_t Count(const std::string& s, const std::string& what) {
  size_t n = 0;
  for (size_t at = s.find(what); at != std::string::npos; at = s.find(what, at + 1)) ++n;
  return n;
}

class VarloToolFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!fs::exists(kTool)) GTEST_SKIP() << "varlo-tool is not built";
  }
  TempDir dir;
};

}  // namespace

TEST_F(VarloToolFiles, PackMakesWhatTheGameReadsAndInspectDescribesIt) {
  // An Exif JPEG must come out re-encoded with the JFIF start.
  const std::string info = dir.path() + "info.txt";
  WriteFile(info, std::string("\xFF\xFE" "H\0i\0", 6));  // UTF-16LE "Hi"
  const std::string pack = dir.path() + "Photo.ast";
  std::string out;
  ASSERT_EQ(RunTool("pack --picture '" + FixturePath("pictures/photo-160x120-exif.jpg") + "' --info '" + info +
                    "' --out '" + pack + "' --tag Tag",
                out),
            0)
      << out;
  PackRead io;
  std::string error;
  ASSERT_EQ(OpenJig(pack, OpenMode::Preview, io, &error), OpenResult::Ok) << error;
  ASSERT_EQ(OpenJig(pack, OpenMode::Play, io, &error), OpenResult::Ok) << error;
  EXPECT_EQ(io.Picture.Width, 160);
  EXPECT_EQ(io.Picture.Height, 120);
  EXPECT_EQ(io.Info, "Hi");
  EXPECT_EQ(io.Jig.PackTag, 'g');
  // A photograph smaller than 240 x 180 is not blown up for its thumbnail.
  EXPECT_EQ(io.Thumbnail.Width, 160);
  EXPECT_EQ(io.Thumbnail.Height, 120);
  EXPECT_FALSE(fs::exists(pack + ".part"));

  ASSERT_EQ(RunTool("inspect '" + pack + "'", out), 0) << out;
  EXPECT_EQ(out.rfind("{\"kind\":\"pack\",\"ImageW\":160,\"ImageH\":120,\"PackTag\":103,\"entries\":{\"thumbnail\":", 0), 0u)
      << out;
  EXPECT_NE(out.find("\"info\":5,"), std::string::npos) << out;  // BOM + "Hi"

  // Downscaling keeps the proportions.
  ASSERT_EQ(RunTool("pack --picture '" + FixturePath("pictures/photo-160x120-exif.jpg") + "' --info '" + info +
                    "' --out '" + pack + "' --max-width 100",
                out),
            0)
      << out;
  ASSERT_EQ(RunTool("inspect '" + pack + "'", out), 0) << out;
  EXPECT_NE(out.find("\"ImageW\":100,\"ImageH\":75"), std::string::npos) << out;
  ASSERT_EQ(OpenJig(pack, OpenMode::Thumbnail, io, &error), OpenResult::Ok) << error;
  EXPECT_EQ(io.Thumbnail.Width, 100);
}

TEST_F(VarloToolFiles, InspectDescribesASavedGame) {
  SavedGame g;
  MakeSyntheticGame(g, {96, 64, 6, 4, true, 4321, "Quote \" and slash \\"});
  SaveContext ctx;
  ctx.SaveTemp = dir.path() + "varlo.svt";
  const std::string path = dir.path() + "game.sv1";
  ASSERT_TRUE(SaveSolve(path, true, ViewOf(g), ctx).Saved);
  std::string out;
  ASSERT_EQ(RunTool("inspect '" + path + "'", out), 0) << out;
  EXPECT_EQ(out.rfind("{\"kind\":\"saved-game\",\"name\":\"Quote \\\" and slash \\\\\",\"GameSeed\":4321,\"jig\":{", 0), 0u)
      << out.substr(0, 200);
  EXPECT_NE(out.find("\"TotalTileNum\":24,"), std::string::npos);
  EXPECT_EQ(Count(out, "\"Group\":"), 24u);
  EXPECT_EQ(Count(out, "\"ScrollY\":"), 4u);
  EXPECT_NE(out.find("\"Nb\":[-1,-1,1,6,-1,-1,-1,-1,-1]"), std::string::npos);
  EXPECT_NE(out.find("\"weighted\":2,\"trailer\":true,\"entries\":{\"thumbnail\":"), std::string::npos);
  const size_t bmp = 54 + ((96 * 3 + 3) & ~3) * 64;
  EXPECT_NE(out.find("\"picture\":" + std::to_string(bmp) + ","), std::string::npos) << out.substr(out.size() - 150);

  // A damaged file is refused with the reader's reason.
  std::vector<uint8_t> f;
  ASSERT_TRUE(ReadWholeFile(path, f, nullptr));
  f.resize(f.size() - 400);
  WriteFile(path, std::string(f.begin(), f.end()));
  EXPECT_EQ(RunTool("inspect '" + path + "'", out), 2);
  EXPECT_NE(out.find("play state"), std::string::npos) << out;
}

// The tool never writes a pack the game refuses or cannot cut: a picture too
// small to cut and an info text longer than a pack holds are refused with
// what is wrong, and no pack is left behind.
TEST_F(VarloToolFiles, PackRefusesWhatTheGameCouldNotUse) {
  const std::string smallInfo = dir.path() + "info.txt";
  WriteFile(smallInfo, "A picture.");
  const std::string longInfo = dir.path() + "long.txt";
  WriteFile(longInfo, std::string(5500000, 'x'));
  DIB_P tiny;
  DibCreate24(tiny, 1, 1);
  std::vector<uint8_t> bmp;
  ASSERT_TRUE(DibSaveBmp(tiny, bmp, nullptr));
  const std::string tinyPath = dir.path() + "tiny.bmp";
  WriteFile(tinyPath, std::string(bmp.begin(), bmp.end()));
  const std::string photo = FixturePath("pictures/photo-160x120-exif.jpg");
  struct Case {
    const char* name;
    std::string picture, info;
    const char* says;
  } cases[] = {
      {"1 x 1 picture", tinyPath, smallInfo, "1 x 1 pixels"},
      {"5.5 MB info text", photo, longInfo, "info text"},
  };
  for (const Case& c : cases) {
    const std::string pack = dir.path() + "out.ast";
    std::string out;
    EXPECT_EQ(RunTool("pack --picture '" + c.picture + "' --info '" + c.info + "' --out '" + pack + "'", out), 2)
        << c.name << ": " << out;
    EXPECT_NE(out.find(c.says), std::string::npos) << c.name << ": " << out;
    EXPECT_FALSE(fs::exists(pack)) << c.name;
  }
}
