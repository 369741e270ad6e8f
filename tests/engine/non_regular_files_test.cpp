// Outside files that are not regular files: a FIFO, a device or a folder
// under a jigsaw's, a saved game's, a journal's or a script's name is
// refused at once with a message, never waited on or read without end.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>

#include "cut/shape_library.h"
#include "files/byte_source.h"
#include "files/entry_coding.h"
#include "files/jigsaw_pack.h"
#include "files/saved_game.h"
#include "files/saved_game_writer.h"
#include "files/state_journal.h"
#include "platform/progress.h"
#include "raster/file_calls.h"
#include "raster/picture_codecs.h"
#include "support/fake_platform.h"
#include "support/run_tool.h"
#include "support/synthetic_game.h"
#include "support/temp_home.h"

namespace fs = std::filesystem;
using namespace varlo;
using namespace varlo::testing;

namespace {

// A read that waits on a FIFO would hold the test until the alarm ends it.
struct Watchdog {
  Watchdog() { ::alarm(20); }
  ~Watchdog() { ::alarm(0); }
};

std::string MakeFifo(const std::string& path) {
  EXPECT_EQ(::mkfifo(path.c_str(), 0644), 0) << path;
  return path;
}

bool Mentions(const std::string& text, const std::string& what) { return text.find(what) != std::string::npos; }

// Saving into folder, with the game's temporary file there.
SaveContext ContextIn(const std::string& folder, FakePlatform& platform, GameFlags& flags) {
  SaveContext ctx;
  ctx.SaveTemp = folder + "varlo.svt";
  ctx.Flags = &flags;
  ctx.Messages = &platform;
  return ctx;
}

}  // namespace

TEST(NonRegularFiles, ReadersRefuseThemWithoutWaiting) {
  Watchdog watchdog;
  TempDir dir;
  const std::string fifoAst = MakeFifo(dir.path() + "pipe.ast");
  const std::string fifoSv1 = MakeFifo(dir.path() + "pipe.sv1");
  const std::string fifoPic = MakeFifo(dir.path() + "pipe.jpg");
  fs::create_directory(dir.path() + "folder.sv1");

  struct Case {
    const char* name;
    std::string path;
    const char* what;  // the kind the message names
  } cases[] = {
      {"FIFO", fifoAst, "a pipe"},
      {"device", "/dev/zero", "a device"},
      {"folder", dir.path() + "folder.sv1", "a folder"},
  };
  for (const Case& c : cases) {
    FileSource in;
    std::string error;
    EXPECT_FALSE(in.Open(c.path, &error)) << c.name;
    EXPECT_TRUE(Mentions(error, "not a regular file") && Mentions(error, c.what)) << c.name << ": " << error;
    std::vector<uint8_t> bytes;
    error.clear();
    EXPECT_FALSE(ReadWholeFile(c.path, bytes, &error)) << c.name;
    EXPECT_TRUE(Mentions(error, c.what)) << c.name << ": " << error;
  }

  // The open dialog's readers: a FIFO pack shows as no jigsaw, a FIFO saved
  // game as no saved game in the list and as a refusal when opened to play.
  PackRead pack;
  EXPECT_EQ(OpenJig(fifoAst, OpenMode::Thumbnail, pack, nullptr), OpenResult::NotValid);
  EXPECT_EQ(PictureKind(fifoPic), 0);
  SolveRead io;
  EXPECT_EQ(OpenSolve(fifoSv1, OpenMode::Preview, io, nullptr), OpenResult::NotValid);
  std::string error;
  EXPECT_EQ(OpenSolve(fifoSv1, OpenMode::Play, io, &error), OpenResult::Failed);
  EXPECT_TRUE(Mentions(error, "a pipe")) << error;
  ShapeLibrary lib;
  FakePlatform platform;
  EXPECT_EQ(LoadShapeLibrary(fifoPic, lib, platform.platform(), &error), ShapeLibraryResult::Unreadable);
}

// A FIFO under the journal's name is no journal: the game opens and saves
// past it and never blocks on it.
TEST(NonRegularFiles, FifoJournalIsPassedBy) {
  Watchdog watchdog;
  TempDir dir;
  SavedGame g;
  MakeSyntheticGame(g);
  FakePlatform platform;
  GameFlags flags;
  SaveContext ctx = ContextIn(dir.path(), platform, flags);
  const std::string path = dir.path() + "game.sv1";
  ASSERT_TRUE(SaveSolve(path, false, ViewOf(g), ctx).Saved);
  MakeFifo(StateJournalPath(path));
  MakeFifo(StateJournalPath(path) + ".new");
  EXPECT_EQ(RecoverStateJournal(path, nullptr), JournalRecovery::None);
  SolveRead io;
  std::string error;
  EXPECT_EQ(OpenSolve(path, OpenMode::Play, io, &error), OpenResult::Ok) << error;
  PlayALittle(g, 3);
  // The journal is built beside and renamed over the FIFO.
  fs::remove(StateJournalPath(path) + ".new");
  const SaveOutcome out = SaveSolve(path, false, ViewOf(g), ctx);
  EXPECT_TRUE(out.Saved) << out.Error;
  EXPECT_EQ(OpenSolve(path, OpenMode::Play, io, &error), OpenResult::Ok) << error;
  EXPECT_EQ(io.Game.Pieces, g.Pieces);
}

TEST(NonRegularFiles, ToolRefusesThem) {
  if (!fs::exists(ToolPath())) GTEST_SKIP() << "varlo-tool is not built";
  Watchdog watchdog;
  TempDir dir;
  const std::string fifoAst = MakeFifo(dir.path() + "pipe.ast");
  const std::string fifoSv1 = MakeFifo(dir.path() + "pipe.sv1");
  SavedGame g;
  MakeSyntheticGame(g);
  FakePlatform platform;
  GameFlags flags;
  SaveContext ctx = ContextIn(dir.path(), platform, flags);
  const std::string game = dir.path() + "game.sv1";
  ASSERT_TRUE(SaveSolve(game, false, ViewOf(g), ctx).Saved);
  MakeFifo(StateJournalPath(game));
  struct Case {
    const char* name;
    std::string args;
    int exit;
    const char* says;
  } cases[] = {
      {"inspect of a FIFO pack", "inspect '" + fifoAst + "'", 2, "a pipe"},
      {"inspect of a FIFO saved game", "inspect '" + fifoSv1 + "'", 2, "a pipe"},
      {"inspect of a game whose journal is a FIFO", "inspect '" + game + "'", 0, "\"pieces\""},
      {"play with the script a device", "play '" + game + "' --script /dev/zero", 2, "a device"},
  };
  for (const Case& c : cases) {
    std::string out;
    const int code = RunTool(c.args, out);
    EXPECT_EQ(code, c.exit) << c.name << ": " << out;
    EXPECT_TRUE(Mentions(out, c.says)) << c.name << ": " << out;
  }
}
