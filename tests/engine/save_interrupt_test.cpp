// The save paths stopped at every call that changes the disk: the whole
// save (with the autosave copy), the in-place state rewrite through the
// journal, and the journal's recovery when the game is opened again, which
// may itself be stopped anywhere. Whatever the stop, the files then open as
// the old game or the new one, byte for byte, and nothing of the game's own
// naming is left beside them.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "files/saved_game.h"
#include "files/saved_game_writer.h"
#include "platform/progress.h"
#include "raster/file_calls.h"
#include "raster/picture_codecs.h"
#include "support/fake_platform.h"
#include "support/synthetic_game.h"
#include "support/temp_home.h"

namespace fs = std::filesystem;
using namespace varlo;
using namespace varlo::testing;

namespace {

using Files = std::map<std::string, std::string>;  // name in the folder: bytes

Files Snapshot(const std::string& dir) {
  Files f;
  for (const auto& e : fs::directory_iterator(dir)) f[e.path().filename().string()] = ReadFile(e.path().string());
  return f;
}

void Restore(const std::string& dir, const Files& files) {
  for (const auto& e : fs::directory_iterator(dir)) fs::remove_all(e.path());
  for (const auto& [name, bytes] : files) WriteFile(dir + name, bytes);
}

std::string Show(const Files& f) {
  std::string s;
  for (const auto& [name, bytes] : f) s += name + " (" + std::to_string(bytes.size()) + ") ";
  return s;
}

// Stops the file calls at call n for the life of the object.
struct StopAt {
  explicit StopAt(int64_t n) { fcall::StopFileCallsAt(n); }
  ~StopAt() { fcall::StopFileCallsAt(0); }
  int64_t made() const { return fcall::FileCallsMade(); }
};

struct Folder {
  TempDir dir;
  FakePlatform platform;
  GameFlags flags;
  NullProgress panel;
  SaveContext ctx;
  Folder() {
    // The tool's naming of the temporary file: the next open of the game
    // removes one left by a stop.
    ctx.SaveTemp = Path("game.sv1") + ".svt";
    ctx.AutoSave = Path("autosaved.sv1");
    ctx.Flags = &flags;
    ctx.Messages = &platform;
    ctx.Panel = &panel;
  }
  std::string Path(const std::string& name) const { return dir.path() + name; }
  SaveOutcome Save(const SavedGame& g) { return SaveSolve(Path("game.sv1"), false, ViewOf(g), ctx); }
  // What the game does when it opens both files again after a stop.
  void OpenBoth() {
    for (const char* name : {"game.sv1", "autosaved.sv1"}) {
      SolveRead io;
      OpenSolve(Path(name), OpenMode::Play, io, nullptr);
    }
  }
};

struct Scenario {
  const char* name;
  SavedGame before, after;
  bool inPlace;  // the second save rewrites the state block only
};

void RunScenario(const Scenario& sc) {
  // The bytes a whole save of each game gives.
  std::string oldBytes, newBytes, autosaveAfter;
  {
    Folder ref;
    ref.Save(sc.before);
    oldBytes = ReadFile(ref.Path("game.sv1"));
    EXPECT_EQ(ref.Save(sc.after).StateOnly, sc.inPlace) << sc.name;
    autosaveAfter = ReadFile(ref.Path("autosaved.sv1"));
    EXPECT_TRUE(autosaveAfter == (sc.inPlace ? oldBytes : ReadFile(ref.Path("game.sv1")))) << sc.name;
    const SaveOutcome again = SaveSolve(ref.Path("whole.sv1"), false, ViewOf(sc.after), ref.ctx);
    ASSERT_TRUE(again.Saved);
    newBytes = ReadFile(ref.Path("whole.sv1"));
    ASSERT_TRUE(ReadFile(ref.Path("game.sv1")) == newBytes) << sc.name << (ReadFile(ref.Path("game.sv1")) == oldBytes ? " old" : " other");
  }
  Folder folder;
  folder.Save(sc.before);
  const Files start = Snapshot(folder.dir.path());
  ASSERT_EQ(start.size(), 2u) << Show(start);
  ASSERT_TRUE(start.at("game.sv1") == oldBytes);
  ASSERT_TRUE(start.at("autosaved.sv1") == oldBytes);

  auto check = [&](const std::string& where) {
    const Files now = Snapshot(folder.dir.path());
    ASSERT_EQ(now.size(), 2u) << where << ": left " << Show(now);
    for (const char* name : {"game.sv1", "autosaved.sv1"}) {
      const std::string& b = now.at(name);
      EXPECT_TRUE(b == oldBytes || b == newBytes) << where << ": " << name << " is neither game";
      SolveRead io;
      std::string error;
      EXPECT_EQ(OpenSolve(folder.Path(name), OpenMode::Play, io, &error), OpenResult::Ok)
          << where << ": " << name << ": " << error;
    }
  };

  int64_t stops = 0;
  for (int64_t n = 1;; ++n) {
    Restore(folder.dir.path(), start);
    int64_t made = 0;
    {
      StopAt stop(n);
      folder.Save(sc.after);
      made = stop.made();
    }
    const bool ranThrough = made < n;
    const Files afterStop = Snapshot(folder.dir.path());
    // The game opened again without a stop, and with a stop at every call
    // of that open in turn: each ends as the uninterrupted open does.
    folder.OpenBoth();
    const Files settled = Snapshot(folder.dir.path());
    check("save stopped at call " + std::to_string(n));
    for (int64_t m = 1; !ranThrough; ++m) {
      Restore(folder.dir.path(), afterStop);
      int64_t openMade = 0;
      {
        StopAt stop(m);
        folder.OpenBoth();
        openMade = stop.made();
      }
      folder.OpenBoth();
      const std::string where = "save stopped at call " + std::to_string(n) + ", open at call " + std::to_string(m);
      EXPECT_TRUE(Snapshot(folder.dir.path()) == settled) << where << ": " << Show(Snapshot(folder.dir.path()))
                                                         << " instead of " << Show(settled);
      check(where);
      ++stops;
      if (openMade < m) break;
    }
    if (ranThrough) {
      const Files done = Snapshot(folder.dir.path());
      EXPECT_TRUE(done.at("game.sv1") == newBytes) << sc.name;
      // A save rewritten in place leaves the autosave as it was; one written
      // whole brings it up to date.
      EXPECT_TRUE(done.at("autosaved.sv1") == autosaveAfter) << sc.name;
      EXPECT_GT(n, 5) << sc.name << ": the save made fewer calls than a save needs";
      break;
    }
    ++stops;
    ASSERT_LT(n, 1000) << sc.name << ": the save never ends";
  }
  EXPECT_GT(stops, 5) << sc.name;
}

}  // namespace

TEST(SaveInterrupt, EveryStopLeavesTheOldOrTheNewGame) {
  Scenario whole{"whole save of another game", {}, {}, false};
  MakeSyntheticGame(whole.before);
  MakeSyntheticGame(whole.after, {120, 80, 8, 5, true, 31, "Another Game"});
  RunScenario(whole);

  Scenario inPlace{"state rewrite in place", {}, {}, true};
  MakeSyntheticGame(inPlace.before);
  MakeSyntheticGame(inPlace.after);
  PlayALittle(inPlace.after, 11);
  RunScenario(inPlace);

  // Same seed and level, other options: written whole, never patched.
  Scenario sameSeed{"same seed, other options", {}, {}, false};
  MakeSyntheticGame(sameSeed.before);
  MakeSyntheticGame(sameSeed.after, {96, 64, 6, 4, false, 777, "Harbour at Dawn"});
  RunScenario(sameSeed);
}
