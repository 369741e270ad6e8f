// varlo-tool newgame, run as a player would run it: a pack becomes a saved
// game that inspect describes and play resumes; what play did not touch
// comes back byte for byte; bad requests leave no file behind.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>

#include "play/game_flags.h"
#include "app/open_flow.h"
#include "files/saved_game.h"
#include "play/play_field.h"
#include "support/play_jigsaw.h"
#include "support/small_pack.h"
#include "support/run_tool.h"
#include "support/temp_home.h"

namespace fs = std::filesystem;
using namespace varlo;
using namespace varlo::testing;

namespace {

const std::string kTool = ToolPath();

bool ReadGame(const std::string& path, SavedGame& g) {
  SolveRead io;
  std::string error;
  if (OpenSolve(path, OpenMode::Play, io, &error) != OpenResult::Ok) {
    ADD_FAILURE() << path << ": " << error;
    return false;
  }
  g = std::move(io.Game);
  return true;
}

std::vector<uint8_t> Pixels(const DIB_P& d) {
  std::vector<uint8_t> v;
  for (int32_t y = 0; y < d.Height; ++y) {
    const uint8_t* row = DibRow(d, y);
    v.insert(v.end(), row, row + static_cast<size_t>(d.Width) * 3);
  }
  return v;
}

// The inspect output without its piece list, which play may change.
std::string WithoutPieces(const std::string& json) {
  const size_t a = json.find("\"pieces\":["), b = json.find("],\"pockets\":");
  if (a == std::string::npos || b == std::string::npos) return json;
  return json.substr(0, a) + json.substr(b);
}

class VarloToolNewGame : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!fs::exists(kTool)) GTEST_SKIP() << "varlo-tool is not built";
    pack = dir.path() + "Blocks.ast";
    WriteSmallPack(pack, 480, 360, "Blocks for the new game");
  }
  TempDir dir;
  std::string pack;
};

}  // namespace

TEST_F(VarloToolNewGame, StartsTheGameTheOpenWouldStart) {
  struct Case {
    const char* options;
    int32_t shape, imageW, imageH;
    bool rotate, border;
  };
  for (const Case& c : {Case{"--shape 0 --level 2", 0, 480, 360, false, false},
                        Case{"--shape 4 --level 3 --rotate --border 1", 4, 480, 360, true, true},
                        Case{"--shape 6 --level 2 --spread --fit 240x240", 6, 240, 180, false, false},
                        Case{"--shape 3 --level 1 --rotate", 3, 480, 360, true, false}}) {
    SCOPED_TRACE(c.options);
    const std::string game = dir.path() + "game.sv1";
    std::string out;
    ASSERT_EQ(RunTool("newgame --pack '" + pack + "' " + c.options + " --seed 4242 --field 1280x720 --out '" + game +
                          "'",
                      out),
              0)
        << out;
    for (const char* phase : {"preview", "read", "fit", "seed", "cut", "setup", "effects", "save", "total"})
      EXPECT_NE(("\n" + out).find(std::string("\n") + phase + " "), std::string::npos) << phase << "\n" << out;
    // Nothing but the game is written: no temporary file, no autosave copy.
    for (const fs::directory_entry& e : fs::directory_iterator(dir.path())) {
      const std::string name = e.path().filename().string();
      EXPECT_TRUE(name == "Blocks.ast" || name == "game.sv1" || name == "again.sv1") << name;
    }

    SavedGame g;
    ASSERT_TRUE(ReadGame(game, g));
    EXPECT_EQ(g.Name, "Blocks");
    EXPECT_EQ(g.Info, "Blocks for the new game");
    EXPECT_EQ(g.Jig.GameSeed, 4242);
    EXPECT_EQ(g.Jig.ShapeStyle, c.shape);
    EXPECT_EQ(g.Picture.Width, c.imageW);
    EXPECT_EQ(g.Picture.Height, c.imageH);
    // The mask carries a few columns and rows to spare.
    EXPECT_GE(g.Mask.Width, c.imageW);
    EXPECT_GE(g.Mask.Height, c.imageH);
    EXPECT_EQ(g.Jig.BorderStyle, c.border ? 1 : 0);
    const int32_t n = g.Jig.TotalTileNum;
    ASSERT_GT(n, 4);
    ASSERT_EQ(static_cast<int32_t>(g.Pieces.size()), n);
    // Every piece a group of its own on the first side; turned only with
    // rotation, and never the border frame (the last piece).
    std::set<int32_t> groups;
    int32_t turned = 0;
    for (int32_t i = 0; i < n; ++i) {
      const TILE_P& t = g.Pieces[static_cast<size_t>(i)];
      groups.insert(t.Group);
      EXPECT_EQ(t.Win, 0) << i;
      turned += t.Rot != 0;
    }
    EXPECT_EQ(static_cast<int32_t>(groups.size()), n);
    if (c.rotate) {
      EXPECT_GT(turned, 0);
    } else {
      EXPECT_EQ(turned, 0);
    }
    if (c.border) {
      EXPECT_EQ(g.Pieces.back().Rot, 0);
    }

    // The same seed cuts and spreads the same game again.
    const std::string again = dir.path() + "again.sv1";
    ASSERT_EQ(RunTool("newgame --pack '" + pack + "' " + c.options + " --seed 4242 --field 1280x720 --out '" +
                          again + "'",
                      out),
              0)
        << out;
    SavedGame h;
    ASSERT_TRUE(ReadGame(again, h));
    EXPECT_TRUE(g.Pieces == h.Pieces);
    EXPECT_EQ(Pixels(g.Mask), Pixels(h.Mask));
  }
}

TEST_F(VarloToolNewGame, RoundTripThroughInspectAndPlayKeepsWhatDidNotMove) {
  const std::string game = dir.path() + "new.sv1";
  std::string out;
  ASSERT_EQ(RunTool("newgame --pack '" + pack + "' --shape 5 --level 3 --rotate --seed 99 --field 1280x720 --out '" +
                        game + "'",
                    out),
            0)
      << out;
  std::string inspected;
  ASSERT_EQ(RunTool("inspect '" + game + "'", inspected), 0) << inspected;
  EXPECT_EQ(inspected.rfind("{\"kind\":\"saved-game\",\"name\":\"Blocks\",\"GameSeed\":99,", 0), 0u)
      << inspected.substr(0, 200);

  // The game as the desktop resumes it, to find a point of piece 0.
  NullProgress progress;
  std::string error;
  std::unique_ptr<GameSession> resumed = ResumeSavedGame(game, 1, 2, "", progress, &error);
  ASSERT_TRUE(resumed) << error;
  {
    // Resumed and saved again by the game, untouched: the same game.
    Platform platform;
    GameFlags flags;
    PlayField field(platform, nullptr, nullptr, &flags);
    field.Resize(1280, 720, 1280, 720);
    AttachGame(field, *resumed);
    SaveContext ctx;
    ctx.SaveTemp = dir.path() + "resaved.svt";
    ctx.Flags = &flags;
    const std::string resaved = dir.path() + "resaved.sv1";
    const SaveOutcome saved = SaveSession(resaved, false, *resumed, field, ctx);
    ASSERT_TRUE(saved.Saved) << saved.Error;
    SavedGame first, second;
    ASSERT_TRUE(ReadGame(game, first));
    ASSERT_TRUE(ReadGame(resaved, second));
    EXPECT_TRUE(first.Pieces == second.Pieces);
    EXPECT_EQ(Pixels(first.Picture), Pixels(second.Picture));
    EXPECT_EQ(Pixels(first.Mask), Pixels(second.Mask));
    EXPECT_EQ(Pixels(first.Thumbnail), Pixels(second.Thumbnail));
    EXPECT_EQ(first.Info, second.Info);
    EXPECT_EQ(first.Weighted, second.Weighted);
    EXPECT_TRUE(first.Pockets == second.Pockets);
    field.CloseGame();
  }
  const int32_t n = PieceCount(resumed->Jig);
  const int32_t moved = 0;
  int32_t cx, cy;
  OwnPoint(resumed->Jig, moved, cx, cy);
  const std::string script = dir.path() + "move.txt";
  std::ofstream(script) << "move " << cx << " " << cy << "\n"
                        << "down left " << cx << " " << cy << "\n"
                        << "move " << cx + 20 << " " << cy + 11 << " left\n"
                        << "move " << cx + 41 << " " << cy + 23 << " left\n"
                        << "up left " << cx + 41 << " " << cy + 23 << "\n";
  const std::string played = dir.path() + "played.sv1";
  ASSERT_EQ(RunTool("play '" + game + "' --script '" + script + "' --field 1280x720 --out '" + played + "'", out), 0)
      << out;
  EXPECT_NE(out.find("\"joins\":0"), std::string::npos) << out;
  std::string reinspected;
  ASSERT_EQ(RunTool("inspect '" + played + "'", reinspected), 0) << reinspected;
  EXPECT_EQ(WithoutPieces(reinspected), WithoutPieces(inspected));

  SavedGame a, b;
  ASSERT_TRUE(ReadGame(game, a));
  ASSERT_TRUE(ReadGame(played, b));
  EXPECT_EQ(Pixels(a.Picture), Pixels(b.Picture));
  EXPECT_EQ(Pixels(a.Mask), Pixels(b.Mask));
  EXPECT_EQ(Pixels(a.Thumbnail), Pixels(b.Thumbnail));
  ASSERT_EQ(static_cast<int32_t>(b.Pieces.size()), n);
  const TILE_P& before = a.Pieces[moved];
  const TILE_P& after = b.Pieces[moved];
  EXPECT_EQ(after.X - before.X, 41);
  EXPECT_EQ(after.Y - before.Y, 23);
  // Everything else of the moved piece, and every field of the others but
  // the stacking order (the dragged piece comes to the top), is as cut.
  for (int32_t i = 0; i < n; ++i) {
    TILE_P x = a.Pieces[static_cast<size_t>(i)], y = b.Pieces[static_cast<size_t>(i)];
    if (i == moved) {
      x.X = y.X;
      x.Y = y.Y;
    }
    x.Group = y.Group;
    EXPECT_TRUE(x == y) << "piece " << i;
  }
}

TEST_F(VarloToolNewGame, RefusesBadRequestsWithoutWritingAFile) {
  const std::string junk = dir.path() + "junk.ast";
  WriteFile(junk, std::string(300, 'x'));
  // A pack cut short in its picture.
  const std::string cut = dir.path() + "cut.ast";
  const std::string whole = ReadFile(pack);
  WriteFile(cut, whole.substr(0, whole.size() * 2 / 3));
  const std::string game = dir.path() + "game.sv1";
  const std::string p = "--pack '" + pack + "' ";
  const std::string o = " --out '" + game + "'";
  struct Case {
    std::string args, message;
  };
  for (const Case& c : std::vector<Case>{
           {p + "--shape 0" + o, "usage"},
           {p + "--shape 0 --level 2", "usage"},
           {p + "--shape 7 --level 2" + o, "--shape must be 0..6"},
           {p + "--shape 0 --level 14" + o, "--level must be 0..13"},
           {p + "--shape 0 --level x" + o, "level"},
           {p + "--shape 0 --level 2 --border 2" + o, "--border must be 0 or 1"},
           {p + "--shape 0 --level 2 --field 10x10" + o, "--field must be"},
           {p + "--shape 0 --level 2 --fit 0x5" + o, "--fit"},
           {p + "--shape 0 --level 2 --fit 30000x20" + o, "--fit must be"},
           {p + "--shape 0 --level 2 --seed 99999999999" + o, "--seed must fit 32 bits"},
           {p + "--shape 0 --level 2 --colour red" + o, "unknown option --colour"},
           {p + "--shape 0 --level 2 --out '" + dir.path() + "no/such/game.sv1'", "no folder"},
           {"--pack '" + dir.path() + "missing.ast' --shape 0 --level 2" + o, "missing.ast: no such file"},
           {"--pack '" + junk + "' --shape 0 --level 2" + o, "junk.ast\" is not a jigsaw"},
           {"--pack '" + cut + "' --shape 0 --level 2" + o, "runs past the end of the file"},
       }) {
    SCOPED_TRACE(c.args);
    std::string out;
    EXPECT_EQ(RunTool("newgame " + c.args, out), 2) << out;
    EXPECT_NE(out.find(c.message), std::string::npos) << out;
    EXPECT_FALSE(fs::exists(game));
    EXPECT_FALSE(fs::exists(game + ".svt"));
  }
}
