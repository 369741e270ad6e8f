// varlo-tool play on a saved game made from a photograph with the
// rectangular cut: a scripted join, pockets and the thumbnail, the saved
// result read back, the screenshot written, and bad script lines refused.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <fstream>
#include <sstream>

#include "files/saved_game.h"
#include "files/saved_game_writer.h"
#include "raster/picture_codecs.h"
#include "support/play_jigsaw.h"
#include "support/play_photo_game.h"
#include "support/run_tool.h"
#include "support/temp_home.h"

namespace varlo::testing {
namespace {

const std::string kTool = ToolPath();

bool MakePicture(DIB_P& pic) {
  DIB_P photo;
  const char* path = "/usr/share/backgrounds/greentock_by_Peter_Nerlich.jpg";
  if (DibLoadPictureFile(photo, path, nullptr) || DibLoadPictureFile(photo, std::string(VARLO_FIXTURE_DIR) + "/pictures/photo-160x120-exif.jpg", nullptr)) {
    if (!DibCreate24(pic, 720, 480)) return false;
    DibScale(pic, photo);
    return true;
  }
  return false;
}

// A new game of about 60 pieces, spread over the first side, saved.
bool MakeSavedGame(const std::string& path, Jigsaw& jig, int32_t fw, int32_t fh) {
  DIB_P pic;
  if (!MakePicture(pic)) return false;
  if (!CutPhotoGame(jig, pic, 99, false, fw, fh)) return false;

  SavedGame g;
  g.Name = "Greentock";
  g.Jig = jig.Jig;
  DibCreate24(g.Thumbnail, 120, 80);
  DibScale(g.Thumbnail, pic);
  DibFromBitmap(g.Picture, pic);
  DibFromBitmap(g.Mask, jig.Images[kMaskSlot]);
  g.Info = "Greentock, a photograph from the desktop backgrounds.";
  g.Pieces.assign(jig.Tiles.begin(), jig.Tiles.begin() + jig.Jig.TotalTileNum);
  for (PocketRecord& r : g.Pockets) {
    r.Left = 10;
    r.Top = 10;
    r.Right = 200;
    r.Bottom = 150;
  }
  GameFlags flags;
  SaveContext ctx;
  ctx.SaveTemp = path + ".svt";
  // No autosave path: only the game file is written.
  ctx.Flags = &flags;
  return SaveSolve(path, false, ViewOf(g), ctx).Saved;
}

// "varlo-tool play <args>"; each run keeps its output to itself, so tests
// running side by side never read each other's.
int RunPlay(const std::string& args, std::string& out) { return RunTool("play " + args, out); }

class PlayToolTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::ifstream(kTool)) GTEST_SKIP() << "varlo-tool is not built";
  }
  TempDir dir;
};

TEST_F(PlayToolTest, ScriptJoinsTwoPiecesAndSavesTheGame) {
  const std::string game = dir.path() + "game.sv1";
  Jigsaw jig;
  ASSERT_TRUE(MakeSavedGame(game, jig, 1280, 720));
  const int32_t n = jig.Jig.TotalTileNum;
  // Drag piece 1 to 3 pixels beside where it belongs next to piece 0.
  int32_t cx, cy;
  OwnPoint(jig, 1, cx, cy);
  const TILE_P& a = jig.Tiles[0];
  const TILE_P& b = jig.Tiles[1];
  const int32_t tx = a.X + b.BoxX - a.BoxX + 3 + (cx - b.X), ty = a.Y + b.BoxY - a.BoxY - 2 + (cy - b.Y);
  const std::string script = dir.path() + "play.txt";
  std::ofstream(script) << "# join two pieces\n"
                        << "move " << cx << " " << cy << "\n"
                        << "down left " << cx << " " << cy << "\n"
                        << "move " << (cx + tx) / 2 << " " << (cy + ty) / 2 << " left\n"
                        << "move " << tx << " " << ty << " left\n"
                        << "up left " << tx << " " << ty << "\n"
                        << "wait 200\n"
                        << "cmd MI_PocketsPocket1\n"
                        << "cmd MI_GameThumb\n";
  const std::string out = dir.path() + "out.sv1";
  const std::string shot = std::string(VARLO_BINARY_DIR) + "/play-tool-screenshot.png";
  std::string text;
  ASSERT_EQ(RunPlay(game + " --script " + script + " --field 1280x720 --out " + out + " --screenshot " + shot, text), 0)
      << text;
  std::ostringstream expect;
  expect << "{\"pieces\":" << n << ",\"groups\":" << n - 1 << ",\"solved\":false,\"joins\":1,\"side\":0}\n";
  EXPECT_NE(text.find(expect.str()), std::string::npos) << text;
  // The save leaves nothing behind but the game itself: no temporary file,
  // no autosave copy.
  std::set<std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
    files.insert(entry.path().filename().string());
  EXPECT_EQ(files, (std::set<std::string>{"game.sv1", "out.sv1", "play.txt"}));

  SolveRead read;
  std::string error;
  ASSERT_EQ(OpenSolve(out, OpenMode::Play, read, &error), OpenResult::Ok) << error;
  const TILE_P& a2 = read.Game.Pieces[0];
  const TILE_P& b2 = read.Game.Pieces[1];
  EXPECT_EQ(a2.Group, b2.Group);
  EXPECT_EQ(b2.X - a2.X, b2.BoxX - a2.BoxX);
  EXPECT_EQ(b2.Y - a2.Y, b2.BoxY - a2.BoxY);
  EXPECT_EQ(read.Game.Pockets[0].Shown, 1);
  DIB_P png;
  ASSERT_TRUE(DibLoadPictureFile(png, shot, &error)) << error;
  EXPECT_EQ(png.Width, 1280);
  EXPECT_EQ(png.Height, 720);
}

TEST_F(PlayToolTest, BadScriptLinesStopWithTheirNumber) {
  const std::string game = dir.path() + "game.sv1";
  Jigsaw jig;
  ASSERT_TRUE(MakeSavedGame(game, jig, 640, 480));
  struct Case {
    const char* line;
    const char* message;
  };
  for (const Case c : {Case{"jump 1 2", "unknown event"}, Case{"down sideways 1 2", "left|right|middle"},
                       Case{"move 1", "move needs X Y"}, Case{"move 1 2 hop", "unknown word"},
                       Case{"wheel left 1 2", "wheel needs"}, Case{"cmd MI_Nothing", "unknown command"},
                       Case{"wait -5", "wait needs"}}) {
    const std::string script = dir.path() + "bad.txt";
    std::ofstream(script) << "# fine\nmove 5 5\n" << c.line << "\n";
    std::string text;
    EXPECT_EQ(RunPlay(game + " --script " + script + " --field 640x480", text), 2) << c.line;
    EXPECT_NE(text.find("line 3: "), std::string::npos) << text;
    EXPECT_NE(text.find(c.message), std::string::npos) << text;
  }
  std::string text;
  EXPECT_EQ(RunPlay(dir.path() + "missing.sv1 --script " + dir.path() + "bad.txt", text), 2);
}

}  // namespace
}  // namespace varlo::testing
