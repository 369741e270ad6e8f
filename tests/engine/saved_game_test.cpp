// Saved games: round trips, the quick state rewrite and its journal, the
// autosave copy, saves that fail without harming the previous file,
// refusal of damaged files, and bitmap payloads that another decoder reads.
#include "files/saved_game.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <zlib.h>
#include <sys/stat.h>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>

#include "raster/byte_io.h"
#include "files/byte_source.h"
#include "files/entry_coding.h"
#include "files/info_text.h"
#include "files/saved_game_writer.h"
#include "files/state_journal.h"
#include "platform/progress.h"
#include "raster/picture_codecs.h"
#include "support/fake_platform.h"
#include "support/synthetic_game.h"
#include "support/temp_home.h"

namespace fs = std::filesystem;
using namespace varlo;
using namespace varlo::testing;

namespace {

std::vector<uint8_t> Bytes(const std::string& path) {
  std::vector<uint8_t> b;
  ReadWholeFile(path, b, nullptr);
  return b;
}

void PutBytes(const std::string& path, const std::vector<uint8_t>& b) {
  WriteFile(path, std::string(b.begin(), b.end()));
}

bool SamePixels(const DIB_P& a, const DIB_P& b) {
  if (a.Width != b.Width || a.Height != b.Height) return false;
  for (int32_t y = 0; y < a.Height; ++y)
    for (int32_t x = 0; x < a.Width; ++x)
      if (std::memcmp(DibPixel(a, x, y), DibPixel(b, x, y), 3) != 0) return false;
  return true;
}

// A saved-games folder with the game's two fixed names.
struct SaveFolder {
  TempDir dir;
  FakePlatform platform;
  GameFlags flags;
  NullProgress panel;
  SaveContext ctx;
  SaveFolder() {
    ctx.SaveTemp = dir.path() + "varlo.svt";
    ctx.AutoSave = dir.path() + "autosaved.sv1";
    ctx.Flags = &flags;
    ctx.Messages = &platform;
    ctx.Panel = &panel;
  }
  std::string Path(const std::string& name) const { return dir.path() + name; }
  SaveOutcome Save(const std::string& name, const SavedGame& g, bool autosave = false) {
    return SaveSolve(Path(name), autosave, ViewOf(g), ctx);
  }
};

SavedGame ReadPlay(const std::string& path, OpenResult expect = OpenResult::Ok) {
  SolveRead io;
  std::string error;
  EXPECT_EQ(OpenSolve(path, OpenMode::Play, io, &error), expect) << error;
  return std::move(io.Game);
}

// Offsets inside a file the game wrote.
struct Layout {
  uint64_t thumbAt, pictureAt, maskAt, infoAt, stateAt;
};
Layout LayoutOf(const std::vector<uint8_t>& f) {
  Layout l{};
  const uint64_t nameLen = GetU32(f.data() + 19);
  l.thumbAt = 23 + nameLen + kJigParamsBytes;
  l.pictureAt = l.thumbAt + 4 + GetU32(f.data() + l.thumbAt);
  l.maskAt = l.pictureAt + 4 + GetU32(f.data() + l.pictureAt);
  l.infoAt = l.maskAt + 4 + GetU32(f.data() + l.maskAt);
  l.stateAt = l.infoAt + 4 + GetU32(f.data() + l.infoAt);
  return l;
}

// Plain value at a payload offset of an entry (the entries are XORed with
// a constant key).
void PatchPayloadI32(std::vector<uint8_t>& f, uint64_t entryAt, uint8_t key, size_t offset, int32_t v) {
  uint8_t b[4];
  PutI32(b, v);
  for (int i = 0; i < 4; ++i) f[entryAt + 4 + offset + i] = b[i] ^ key;
}

}  // namespace

// ---- round trips ----

TEST(SavedGame, SaveAndResumeGiveBackTheSameGame) {
  const SyntheticGameSpec specs[] = {
      {},                                        // turned pieces
      {101, 77, 5, 7, false, -5, "No Turns"},    // odd sizes: padded bitmap rows
      {40, 30, 1, 1, false, 0, ""},              // one piece, empty name
      {64, 48, 8, 6, true, 31, std::string(255, 'n')},  // the longest name
  };
  for (const SyntheticGameSpec& spec : specs) {
    SaveFolder folder;
    SavedGame g;
    MakeSyntheticGame(g, spec);
    const SaveOutcome out = folder.Save("game.sv1", g);
    ASSERT_TRUE(out.Saved) << out.Error;
    EXPECT_FALSE(out.StateOnly);
    EXPECT_FALSE(fs::exists(folder.ctx.SaveTemp));
    const std::vector<uint8_t> file = Bytes(folder.Path("game.sv1"));
    EXPECT_EQ(GetI32(file.data() + 19), static_cast<int32_t>(spec.Name.size() + 1));
    const Layout l = LayoutOf(file);
    EXPECT_EQ(GetU32(file.data() + 15), l.stateAt);
    EXPECT_EQ(file.size() - l.stateAt, SolveStateBytes(g.Jig.TotalTileNum));

    SolveRead preview;
    std::string error;
    ASSERT_EQ(OpenSolve(folder.Path("game.sv1"), OpenMode::Preview, preview, &error), OpenResult::Ok)
        << error;
    EXPECT_EQ(preview.SolveJig, spec.Name);
    EXPECT_EQ(preview.Jig.ThumbEnd[1], static_cast<int32_t>(l.pictureAt));
    EXPECT_TRUE(SamePixels(preview.Thumbnail, g.Thumbnail));

    const SavedGame r = ReadPlay(folder.Path("game.sv1"));
    JIG_P expected = g.Jig;
    expected.ThumbEnd[1] = static_cast<int32_t>(l.pictureAt);
    EXPECT_EQ(r.Jig, expected);
    EXPECT_EQ(r.Jig, preview.Jig);
    EXPECT_EQ(r.Name, spec.Name);
    EXPECT_EQ(r.HeaderSeed, spec.Seed);
    EXPECT_EQ(r.Pieces, g.Pieces);
    EXPECT_TRUE(SamePixels(r.Picture, g.Picture));
    EXPECT_TRUE(SamePixels(r.Mask, g.Mask));
    EXPECT_TRUE(SamePixels(r.Thumbnail, g.Thumbnail));
    EXPECT_EQ(r.Info, g.Info);
    EXPECT_EQ(r.Settings, g.Settings);
    EXPECT_EQ(r.Pockets, g.Pockets);
    EXPECT_EQ(r.Weighted, g.Weighted);
    EXPECT_TRUE(r.HasTrailer);

    // A resumed game saved again is the same file, byte for byte, but for
    // the thumbnail end the reader records in the parameter block.
    ASSERT_TRUE(folder.Save("again.sv1", r).Saved);
    std::vector<uint8_t> expectedFile = file;
    PutI32(expectedFile.data() + 23 + spec.Name.size() + 1 + 112, static_cast<int32_t>(l.pictureAt));
    EXPECT_EQ(Bytes(folder.Path("again.sv1")), expectedFile) << spec.Name;
  }
}

TEST(SavedGame, StateBlockSizeFollowsThePieceCount) {
  EXPECT_EQ(SolveStateBytes(300), 36u + 8 + 33600 + 88 + 264);
  SavedGame g;
  MakeSyntheticGame(g, {120, 100, 20, 15, false, 9, "x"});
  ASSERT_EQ(g.Jig.TotalTileNum, 300);
  EXPECT_EQ(EncodeSolveState(ViewOf(g).State).size(), SolveStateBytes(300));
}

// ---- the quick rewrite and the autosave ----

TEST(SavedGame, SecondSaveRewritesOnlyTheStateAndMatchesAFullSave) {
  SaveFolder folder;
  SavedGame g;
  MakeSyntheticGame(g);
  ASSERT_TRUE(folder.Save("game.sv1", g).Saved);
  const std::vector<uint8_t> first = Bytes(folder.Path("game.sv1"));
  PlayALittle(g, 5);
  const SaveOutcome out = folder.Save("game.sv1", g);
  ASSERT_TRUE(out.Saved) << out.Error;
  EXPECT_TRUE(out.StateOnly);
  const std::vector<uint8_t> second = Bytes(folder.Path("game.sv1"));
  ASSERT_EQ(second.size(), first.size());
  const uint64_t s = GetU32(first.data() + 15);
  EXPECT_TRUE(std::equal(first.begin(), first.begin() + static_cast<ptrdiff_t>(s), second.begin()));
  EXPECT_NE(first, second);
  // The same bytes as writing the whole file anew.
  ASSERT_TRUE(folder.Save("fresh.sv1", g).Saved);
  EXPECT_EQ(Bytes(folder.Path("fresh.sv1")), second);
  EXPECT_EQ(ReadPlay(folder.Path("game.sv1")).Pieces, g.Pieces);
  EXPECT_FALSE(fs::exists(StateJournalPath(folder.Path("game.sv1"))));
  // A game resumed from the file is the same game: its saves stay in place.
  SavedGame resumed = ReadPlay(folder.Path("game.sv1"));
  PlayALittle(resumed, 6);
  const SaveOutcome again = folder.Save("game.sv1", resumed);
  ASSERT_TRUE(again.Saved) << again.Error;
  EXPECT_TRUE(again.StateOnly);
}

// ---- interrupted state rewrites ----

namespace {

// A journal as a rewrite leaves it once it is complete: the documented
// header, then the new state block. The game is named by the digest of the
// bytes before S of the file given; version 1 has no digest.
std::vector<uint8_t> JournalFor(const std::vector<uint8_t>& game, const std::vector<uint8_t>& block,
                                uint32_t version = 2) {
  const uint64_t offset = GetU32(game.data() + 15);
  std::vector<uint8_t> j(version == 1 ? kJournalV1HeaderBytes : kJournalHeaderBytes);
  std::memcpy(j.data(), "VJSJ", 4);
  PutU32(j.data() + 4, version);
  PutI32(j.data() + 8, GetI32(game.data() + 11));
  PutU32(j.data() + 12, static_cast<uint32_t>(offset));
  PutU32(j.data() + 16, static_cast<uint32_t>(offset >> 32));
  PutU32(j.data() + 20, static_cast<uint32_t>(block.size()));
  PutU32(j.data() + 24, static_cast<uint32_t>(crc32(0L, block.data(), static_cast<uInt>(block.size()))));
  if (version != 1) {
    DigestBuilder d;
    d.Add(game.data(), offset);
    const GameDigest digest = d.Finish();
    std::memcpy(j.data() + 28, digest.data(), digest.size());
  }
  j.insert(j.end(), block.begin(), block.end());
  return j;
}

}  // namespace

// A rewrite stopped after its journal was complete is finished when the
// game is opened next, whatever it had written in place; one stopped while
// the journal was written leaves the old state. Either way the journal goes.
TEST(SavedGame, InterruptedRewriteIsFinishedOrDroppedOnTheNextOpen) {
  struct Case {
    const char* name;
    std::function<void(std::vector<uint8_t>& journal, std::vector<uint8_t>& game, uint64_t s)> damage;
    bool newState;
    uint32_t version = 2;
  };
  const Case cases[] = {
      {"journal complete, block not yet written", [](auto&, auto&, uint64_t) {}, true},
      {"journal complete, block torn",
       [](auto& j, auto& f, uint64_t s) {
         // Half of the new block went over the old one.
         const size_t half = (j.size() - kJournalHeaderBytes) / 2;
         std::copy(j.begin() + kJournalHeaderBytes, j.begin() + kJournalHeaderBytes + half, f.begin() + s);
       },
       true},
      {"journal cut short", [](auto& j, auto&, uint64_t) { j.resize(j.size() - 100); }, false},
      {"journal damaged", [](auto& j, auto&, uint64_t) { j[kJournalHeaderBytes + 40] ^= 0x5A; }, false},
      {"journal of another game", [](auto& j, auto&, uint64_t) { PutI32(j.data() + 8, GetI32(j.data() + 8) + 1); },
       false},
      {"journal of another layout", [](auto& j, auto&, uint64_t) { PutU32(j.data() + 4, 3); }, false},
      {"journal naming another game", [](auto& j, auto&, uint64_t) { j[40] ^= 1; }, false},
      // Journals of the first layout name the game by seed and S only.
      {"layout 1, complete", [](auto&, auto&, uint64_t) {}, true, 1},
      {"layout 1, pieces the game cannot hold",
       [](auto& j, auto&, uint64_t) {
         uint8_t* turn = j.data() + kJournalV1HeaderBytes + 44 + 13;
         *turn = 7;
         PutU32(j.data() + 24, static_cast<uint32_t>(crc32(0L, j.data() + kJournalV1HeaderBytes,
                                                           static_cast<uInt>(j.size() - kJournalV1HeaderBytes))));
       },
       false, 1},
  };
  for (const Case& c : cases) {
    SaveFolder folder;
    SavedGame g;
    MakeSyntheticGame(g);
    ASSERT_TRUE(folder.Save("game.sv1", g).Saved);
    const std::string path = folder.Path("game.sv1");
    std::vector<uint8_t> file = Bytes(path);
    const std::vector<TILE_P> oldPieces = g.Pieces;
    PlayALittle(g, 4);
    const uint64_t s = GetU32(file.data() + 15);
    std::vector<uint8_t> journal = JournalFor(file, EncodeSolveState(ViewOf(g).State), c.version);
    c.damage(journal, file, s);
    PutBytes(path, file);
    PutBytes(StateJournalPath(path), journal);
    EXPECT_EQ(ReadPlay(path).Pieces, c.newState ? g.Pieces : oldPieces) << c.name;
    EXPECT_FALSE(fs::exists(StateJournalPath(path))) << c.name;
    if (c.newState) {
      ASSERT_TRUE(folder.Save("fresh.sv1", g).Saved);
      EXPECT_EQ(Bytes(path), Bytes(folder.Path("fresh.sv1"))) << c.name << ": the same bytes as a whole save";
    }
  }
}

// A journal left beside a file that was then written whole belongs to
// nothing: it is removed and never replayed over the new game.
TEST(SavedGame, WholeSaveRemovesAStaleJournal) {
  SaveFolder folder;
  SavedGame g, other;
  MakeSyntheticGame(g);
  ASSERT_TRUE(folder.Save("game.sv1", g).Saved);
  const std::string path = folder.Path("game.sv1");
  const std::vector<uint8_t> file = Bytes(path);
  PlayALittle(g, 2);
  PutBytes(StateJournalPath(path), JournalFor(file, EncodeSolveState(ViewOf(g).State)));
  MakeSyntheticGame(other, {200, 150, 10, 6, true, 2, "New"});
  const SaveOutcome out = folder.Save("game.sv1", other);
  ASSERT_TRUE(out.Saved) << out.Error;
  EXPECT_FALSE(out.StateOnly);
  EXPECT_FALSE(fs::exists(StateJournalPath(path)));
  EXPECT_EQ(ReadPlay(path).Pieces, other.Pieces);
}

// A journal left by one game never goes into another game saved under the
// same name since: neither one with another piece count (its block would
// not fit) nor one with the same count (its pieces would be cut otherwise).
TEST(SavedGame, JournalOfAnotherGameUnderTheSameNameIsDropped) {
  const SyntheticGameSpec others[] = {
      {96, 64, 3, 4, true, 777, "Harbour at Dawn"},   // same seed and S, another level
      {96, 64, 6, 4, false, 777, "Harbour at Dawn"},  // same seed, count and S, no turning
  };
  for (const SyntheticGameSpec& spec : others) {
    SaveFolder folder;
    SavedGame a, b;
    MakeSyntheticGame(a);
    MakeSyntheticGame(b, spec);
    const std::string path = folder.Path("game.sv1");
    ASSERT_TRUE(folder.Save("game.sv1", a).Saved);
    const std::vector<uint8_t> fileA = Bytes(path);
    PlayALittle(a, 6);
    const std::vector<uint8_t> journal = JournalFor(fileA, EncodeSolveState(ViewOf(a).State));
    ASSERT_TRUE(folder.Save("game.sv1", b).Saved);
    const std::vector<uint8_t> fileB = Bytes(path);
    ASSERT_EQ(GetU32(fileA.data() + 15), GetU32(fileB.data() + 15)) << "the case needs the same S";
    PutBytes(StateJournalPath(path), journal);
    EXPECT_EQ(ReadPlay(path).Pieces, b.Pieces) << spec.Cols << " columns";
    EXPECT_EQ(Bytes(path), fileB) << spec.Cols << " columns";
    EXPECT_FALSE(fs::exists(StateJournalPath(path)));
  }
}

TEST(SavedGame, AnotherGameAtThePathIsWrittenWhole) {
  struct Case {
    const char* name;
    SyntheticGameSpec other;
    std::function<void(SavedGame&)> change;
  } cases[] = {
      {"other seed", {96, 64, 6, 4, true, 778, "Other"}, nullptr},
      // A typed seed can repeat with another level: same seed, other pieces.
      {"same seed, other piece count", {96, 64, 3, 4, true, 777, "Other"}, nullptr},
      {"same seed, other picture", {100, 64, 6, 4, true, 777, "Other"}, nullptr},
      // ... or with the same level and other options, or another pack:
      // only the parameter block or the pictures tell them apart.
      {"same seed and level, no turning", {96, 64, 6, 4, false, 777, "Harbour at Dawn"}, nullptr},
      {"same seed and level, other shape style", {}, [](SavedGame& g) { g.Jig.ShapeStyle = 5; }},
      {"same seed and level, with a border", {}, [](SavedGame& g) { g.Jig.BorderStyle = 1; }},
      {"same seed and level, other pack tag", {}, [](SavedGame& g) { g.Jig.PackTag = 'x'; }},
      {"same seed and level, other name", {}, [](SavedGame& g) { g.Name = "Harbour at Dusk"; }},
      {"same seed and level, other picture pixels",
       {}, [](SavedGame& g) { DibPixel(g.Picture, 50, 40)[1] ^= 0xFF; }},
      {"same seed and level, other piece shapes",
       {}, [](SavedGame& g) { DibPixel(g.Mask, 20, 20)[0] = 9; }},
      {"same seed and level, other thumbnail",
       {}, [](SavedGame& g) { DibPixel(g.Thumbnail, 1, 1)[2] ^= 1; }},
      {"same seed and level, other info text", {}, [](SavedGame& g) { g.Info += "."; }},
  };
  for (const Case& c : cases) {
    SaveFolder folder;
    SavedGame first, second;
    MakeSyntheticGame(first);
    MakeSyntheticGame(second, c.other);
    if (c.change) c.change(second);
    ASSERT_TRUE(folder.Save("game.sv1", first).Saved);
    const SaveOutcome out = folder.Save("game.sv1", second);
    ASSERT_TRUE(out.Saved) << c.name << ": " << out.Error;
    EXPECT_FALSE(out.StateOnly) << c.name;
    ASSERT_TRUE(folder.Save("fresh.sv1", second).Saved);
    EXPECT_EQ(Bytes(folder.Path("game.sv1")), Bytes(folder.Path("fresh.sv1"))) << c.name;
  }
  // A file that is not a saved game is replaced too, not patched.
  SaveFolder folder;
  WriteFile(folder.Path("game.sv1"), "just some text that happens to be here");
  SavedGame g;
  MakeSyntheticGame(g);
  EXPECT_FALSE(folder.Save("game.sv1", g).StateOnly);
  EXPECT_EQ(ReadPlay(folder.Path("game.sv1")).Name, g.Name);
}

// The progress panel of a save, looking at the busy flag whenever the
// save reports progress.
class BusyWatch final : public Progress {
 public:
  explicit BusyWatch(const GameFlags& flags) : flags_(flags) {}
  void Begin(const std::string&, int32_t) override { Look(); }
  void Step() override { Look(); }
  void End() override { Look(); }
  bool alwaysBusy = true;
  int32_t looks = 0;

 private:
  void Look() {
    ++looks;
    alwaysBusy = alwaysBusy && flags_.bBusy == 1;
  }
  const GameFlags& flags_;
};

TEST(SavedGame, ASaveLeavesTheBusyFlagAsItFoundIt) {
  // Busy while the file is written; afterwards as before, so that a save
  // inside a command (Open asking to save the game first) leaves the
  // command running until it ends itself.
  struct Case {
    const char* name;
    uint8_t before;
    bool twice;    // the second save only rewrites the state
    bool refused;  // into a folder that does not exist
  } cases[] = {
      {"written whole inside a command", 1, false, false},
      {"state only inside a command", 1, true, false},
      {"refused inside a command", 1, false, true},
      {"written whole on its own", 0, false, false},
      {"refused on its own", 0, false, true},
  };
  for (const Case& c : cases) {
    SaveFolder folder;
    SavedGame g;
    MakeSyntheticGame(g);
    BusyWatch watch(folder.flags);
    folder.ctx.Panel = &watch;
    const std::string name = c.refused ? "missing/game.sv1" : "game.sv1";
    if (c.twice) {
      ASSERT_TRUE(folder.Save(name, g).Saved) << c.name;
    }
    folder.flags.bBusy = c.before;
    const SaveOutcome out = folder.Save(name, g);
    EXPECT_EQ(out.Saved, !c.refused) << c.name;
    EXPECT_EQ(out.StateOnly, c.twice) << c.name;
    EXPECT_GT(watch.looks, 0) << c.name;
    EXPECT_TRUE(watch.alwaysBusy) << c.name;
    EXPECT_EQ(folder.flags.bBusy, c.before) << c.name;
  }
}

TEST(SavedGame, FlagsAndTheAutosaveCopy) {
  SaveFolder folder;
  SavedGame g;
  MakeSyntheticGame(g);
  SetDirty(folder.flags);

  // An autosave leaves the unsaved-changes flag set.
  SaveOutcome out = folder.Save("autosaved.sv1", g, true);
  ASSERT_TRUE(out.Saved);
  EXPECT_EQ(folder.flags.bDirty, 1);
  EXPECT_EQ(folder.flags.bAutoDirty, 0);
  EXPECT_EQ(folder.flags.bBusy, 0);

  // A save by the player brings the autosave of the same game up to date
  // in place and clears both flags.
  PlayALittle(g, 9);
  SetDirty(folder.flags);
  out = folder.Save("mine.sv1", g);
  ASSERT_TRUE(out.Saved) << out.Error;
  EXPECT_TRUE(out.AutosaveRefreshed);
  EXPECT_FALSE(out.AutosaveReplaced);
  EXPECT_EQ(folder.flags.bDirty, 0);
  EXPECT_EQ(folder.flags.bAutoDirty, 0);
  EXPECT_EQ(ReadPlay(folder.ctx.AutoSave).Pieces, g.Pieces);

  // An autosave of another game is replaced by a copy of the new file.
  SavedGame other;
  MakeSyntheticGame(other, {80, 60, 4, 3, false, 1, "Other"});
  out = folder.Save("other.sv1", other);
  ASSERT_TRUE(out.Saved);
  EXPECT_TRUE(out.AutosaveReplaced);
  EXPECT_EQ(Bytes(folder.ctx.AutoSave), Bytes(folder.Path("other.sv1")));
  EXPECT_FALSE(fs::exists(folder.ctx.SaveTemp));
  EXPECT_TRUE(folder.platform.messages.empty());
}

// ---- failed saves ----

TEST(SavedGame, FailedSavesLeaveThePreviousFileAsItWas) {
  struct Case {
    const char* name;
    std::function<void(SaveFolder&)> arrange, undo;
  };
  const Case cases[] = {
      {"disk full while writing",
       [](SaveFolder&) {
         std::signal(SIGXFSZ, SIG_IGN);
         rlimit lim{};
         getrlimit(RLIMIT_FSIZE, &lim);
         lim.rlim_cur = 20000;  // the new file grows past this, the old one stays
         setrlimit(RLIMIT_FSIZE, &lim);
       },
       [](SaveFolder&) {
         rlimit lim{};
         getrlimit(RLIMIT_FSIZE, &lim);
         lim.rlim_cur = lim.rlim_max;
         setrlimit(RLIMIT_FSIZE, &lim);
       }},
      {"temporary file cannot be made",
       [](SaveFolder& f) { f.ctx.SaveTemp = f.dir.path() + "no-such-folder/varlo.svt"; },
       [](SaveFolder&) {}},
      {"rename refused",
       [](SaveFolder& f) { fs::create_directories(f.Path("busy.sv1") + "/inside"); },
       [](SaveFolder&) {}},
  };
  for (const Case& c : cases) {
    SaveFolder folder;
    SavedGame old, g;
    MakeSyntheticGame(old, {96, 64, 6, 4, true, 1, "Old"});
    MakeSyntheticGame(g, {200, 150, 10, 6, true, 2, "New"});
    ASSERT_TRUE(folder.Save("game.sv1", old).Saved);
    const std::vector<uint8_t> before = Bytes(folder.Path("game.sv1"));
    SetDirty(folder.flags);
    c.arrange(folder);
    const std::string target = std::string(c.name) == "rename refused" ? "busy.sv1" : "game.sv1";
    const SaveOutcome out = folder.Save(target, g);
    c.undo(folder);
    EXPECT_FALSE(out.Saved) << c.name;
    EXPECT_FALSE(out.Error.empty()) << c.name;
    ASSERT_EQ(folder.platform.messages.size(), 1u) << c.name;
    EXPECT_EQ(folder.platform.messages[0].style, kMsgExclamationOk);
    EXPECT_EQ(Bytes(folder.Path("game.sv1")), before) << c.name;
    EXPECT_FALSE(fs::exists(folder.ctx.SaveTemp)) << c.name << ": a left-over would hold off the autosave";
    EXPECT_EQ(folder.flags.bAutoDirty, 1) << c.name;
    EXPECT_EQ(folder.flags.bDirty, 1) << c.name;
    EXPECT_EQ(folder.flags.bBusy, 0) << c.name;
  }
}

TEST(SavedGame, FailedStateRewriteKeepsTheFile) {
  SaveFolder folder;
  SavedGame g;
  MakeSyntheticGame(g);
  ASSERT_TRUE(folder.Save("game.sv1", g).Saved);
  const std::vector<uint8_t> before = Bytes(folder.Path("game.sv1"));
  PlayALittle(g, 3);
  // The journal cannot be written: a folder stands where it is built.
  fs::create_directory(folder.Path("game.sv1-journal.new"));
  std::string error;
  EXPECT_EQ(UpdateSolve(folder.Path("game.sv1"), ViewOf(g), &error), UpdateResult::Failed);
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(Bytes(folder.Path("game.sv1")), before);
  EXPECT_FALSE(fs::exists(folder.Path("game.sv1-journal")));
}

TEST(SavedGame, WriterRefusesAGameItCouldNotReadBack) {
  SaveFolder folder;
  SavedGame g;
  MakeSyntheticGame(g);
  g.Pieces[3].Rot = 5;
  const SaveOutcome out = folder.Save("game.sv1", g);
  EXPECT_FALSE(out.Saved);
  EXPECT_FALSE(fs::exists(folder.Path("game.sv1")));
  MakeSyntheticGame(g);
  g.Name = std::string(256, 'x');
  EXPECT_FALSE(folder.Save("game.sv1", g).Saved);
}

// ---- damaged files ----

TEST(SavedGame, DamagedFilesAreRefusedAndTheOpenGameStays) {
  SavedGame g;
  MakeSyntheticGame(g);
  SaveFolder folder;
  ASSERT_TRUE(folder.Save("good.sv1", g).Saved);
  const std::vector<uint8_t> good = Bytes(folder.Path("good.sv1"));
  const Layout l = LayoutOf(good);
  const uint64_t jigAt = 23 + GetU32(good.data() + 19);
  const uint64_t piecesAt = l.stateAt + 44;
  auto piece = [&](int i, size_t field) { return piecesAt + i * kTileBytes + field; };

  struct Case {
    const char* name;
    std::function<void(std::vector<uint8_t>&)> damage;
    OpenResult expected = OpenResult::Failed;
  };
  const int32_t n = g.Jig.TotalTileNum;
  const Case cases[] = {
      {"other magic", [](auto& f) { f[3] = 'X'; }, OpenResult::NotValid},
      {"header cut short", [](auto& f) { f.resize(17); }},
      {"name length 257", [](auto& f) { PutI32(f.data() + 19, 257); }},
      {"name length 0", [](auto& f) { PutI32(f.data() + 19, 0); }},
      {"no pieces", [&](auto& f) { PutI32(f.data() + jigAt + 44, 0); }},
      {"4002 pieces", [&](auto& f) { PutI32(f.data() + jigAt + 44, 4002); }},
      {"piece count beyond the state block", [&](auto& f) { PutI32(f.data() + jigAt + 44, n + 1); }},
      {"piece count short of the state block", [&](auto& f) { PutI32(f.data() + jigAt + 44, n - 3); }},
      {"picture wider than 20000", [&](auto& f) { PutI32(f.data() + jigAt + 48, 20001); }},
      {"negative thumbnail length", [&](auto& f) { PutI32(f.data() + l.thumbAt, -1); }},
      {"picture entry past the end", [&](auto& f) { PutI32(f.data() + l.pictureAt, 0x7FFFFFF0); }},
      {"picture narrower than the header says",
       [&](auto& f) { PatchPayloadI32(f, l.pictureAt, kSolvePictureByte, 18, g.Jig.ImageW - 1); }},
      {"mask of the wrong size",
       [&](auto& f) { PatchPayloadI32(f, l.maskAt, kSolveMaskByte, 18, g.Jig.ImageW + 4); }},
      {"state offset elsewhere", [&](auto& f) { PutI32(f.data() + 15, static_cast<int32_t>(l.stateAt) - 1); }},
      {"piece in window 6", [&](auto& f) { f[piece(4, 12)] = 6; }},
      {"piece turned 4 times", [&](auto& f) { f[piece(4, 13)] = 4; }},
      {"group key beyond the table", [&](auto& f) { PutI32(f.data() + piece(2, 8), n); }},
      {"negative group key", [&](auto& f) { PutI32(f.data() + piece(2, 8), -1); }},
      {"neighbour that does not exist", [&](auto& f) { PutI16(f.data() + piece(0, 92), static_cast<int16_t>(n)); }},
      {"turned box off its turn", [&](auto& f) { PutI32(f.data() + piece(5, 48), 9999); }},
      {"piece a world away", [&](auto& f) { PutI32(f.data() + piece(5, 0), 2000000000); }},
      {"pocket a world away", [&](auto& f) { PutI32(f.data() + l.stateAt + 44 + n * kTileBytes + 2, -2000000000); }},
      {"weighted piece that does not exist",
       [&](auto& f) { PutI32(f.data() + f.size() - 260, n); }},
      {"state block cut in the pieces", [&](auto& f) { f.resize(f.size() - 264 - 88 - 10); }},
      {"bytes after the trailer", [](auto& f) { f.push_back(0); }},
  };
  SaveFolder other;
  SavedGame open;
  MakeSyntheticGame(open, {80, 60, 4, 3, false, 1, "The Open Game"});
  for (const Case& c : cases) {
    std::vector<uint8_t> f = good;
    c.damage(f);
    PutBytes(folder.Path("bad.sv1"), f);
    SolveRead io;
    MakeSyntheticGame(io.Game, {80, 60, 4, 3, false, 1, "The Open Game"});
    std::string error;
    EXPECT_EQ(OpenSolve(folder.Path("bad.sv1"), OpenMode::Play, io, &error), c.expected) << c.name;
    if (c.expected == OpenResult::Failed) {
      EXPECT_FALSE(error.empty()) << c.name;
    }
    EXPECT_EQ(io.Game.Name, "The Open Game") << c.name;
    EXPECT_EQ(io.Game.Pieces, open.Pieces) << c.name;
    EXPECT_TRUE(SamePixels(io.Game.Picture, open.Picture)) << c.name;
  }

  // A turn on a jigsaw without turning is out of range too.
  SavedGame flat;
  MakeSyntheticGame(flat, {96, 64, 6, 4, false, 4, "flat"});
  ASSERT_TRUE(folder.Save("flat.sv1", flat).Saved);
  std::vector<uint8_t> f = Bytes(folder.Path("flat.sv1"));
  f[LayoutOf(f).stateAt + 44 + 13] = 1;
  PutBytes(folder.Path("flat.sv1"), f);
  ReadPlay(folder.Path("flat.sv1"), OpenResult::Failed);
}

TEST(SavedGame, TrailerIsOptional) {
  SavedGame g;
  MakeSyntheticGame(g);
  SaveFolder folder;
  ASSERT_TRUE(folder.Save("good.sv1", g).Saved);
  const std::vector<uint8_t> good = Bytes(folder.Path("good.sv1"));
  struct Case {
    const char* name;
    std::function<void(std::vector<uint8_t>&)> change;
    int32_t weighted;
  } cases[] = {
      {"whole trailer", [](auto&) {}, 2},
      {"no trailer", [](auto& f) { f.resize(f.size() - 264); }, -1},
      {"trailer cut short", [](auto& f) { f.resize(f.size() - 100); }, -1},
      {"trailer with another magic", [](auto& f) { PutI32(f.data() + f.size() - 264, 0x1234); }, -1},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> f = good;
    c.change(f);
    PutBytes(folder.Path("t.sv1"), f);
    const SavedGame r = ReadPlay(folder.Path("t.sv1"));
    EXPECT_EQ(r.Weighted, c.weighted) << c.name;
    EXPECT_EQ(r.Pieces, g.Pieces) << c.name;
  }
  // A game without its trailer is brought up to date in place, and gets it.
  std::vector<uint8_t> f = good;
  f.resize(f.size() - 264);
  PutBytes(folder.Path("t.sv1"), f);
  const SaveOutcome out = folder.Save("t.sv1", g);
  EXPECT_TRUE(out.StateOnly);
  EXPECT_EQ(Bytes(folder.Path("t.sv1")), good);
}

TEST(SavedGame, MaskWithoutMarginGetsOne) {
  SavedGame g;
  MakeSyntheticGame(g);
  DIB_P narrow;
  ASSERT_TRUE(DibCreate24(narrow, g.Jig.ImageW, g.Jig.ImageH));
  DibBlit(narrow, 0, 0, g.Mask, 0, 0, g.Jig.ImageW, g.Jig.ImageH);
  // Some shading, as a mask of an old game may carry: reset on reading.
  DibPixel(narrow, 3, 3)[1] = 77;
  DibPixel(narrow, 3, 3)[2] = 20;
  RawSavedGame raw;
  raw.Name = g.Name;
  raw.Jig = g.Jig;
  raw.Thumbnail = BmpBytes(g.Thumbnail);
  raw.Picture = BmpBytes(g.Picture);
  raw.Mask = BmpBytes(narrow);
  raw.Info = EncodeInfoUtf16Le(g.Info);
  raw.State = ViewOf(g).State;
  TempDir dir;
  PutBytes(dir.path() + "old.sv1", BuildRawSavedGame(raw));
  const SavedGame r = ReadPlay(dir.path() + "old.sv1");
  ASSERT_EQ(r.Mask.Width, g.Jig.ImageW + 5);
  ASSERT_EQ(r.Mask.Height, g.Jig.ImageH + 5);
  for (int32_t y = 0; y < g.Jig.ImageH; ++y)
    for (int32_t x = 0; x < g.Jig.ImageW; ++x)
      ASSERT_EQ(DibPixel(r.Mask, x, y)[0], DibPixel(g.Mask, x, y)[0]) << x << "," << y;
  EXPECT_EQ(DibPixel(r.Mask, 3, 3)[1], 0);
  EXPECT_EQ(DibPixel(r.Mask, 3, 3)[2], 128);
  EXPECT_EQ(DibPixel(r.Mask, g.Jig.ImageW + 2, 1)[0], 0);  // the margin holds no piece
}

// ---- another decoder reads the bitmaps ----

TEST(SavedGame, BitmapPayloadsDecodeWithImageMagick) {
  if (std::system("command -v convert >/dev/null 2>&1") != 0) GTEST_SKIP() << "ImageMagick missing";
  SavedGame g;
  MakeSyntheticGame(g, {101, 77, 5, 7, true, 3, "odd"});
  SaveFolder folder;
  ASSERT_TRUE(folder.Save("g.sv1", g).Saved);
  const std::vector<uint8_t> f = Bytes(folder.Path("g.sv1"));
  const Layout l = LayoutOf(f);
  struct Entry {
    const char* name;
    uint64_t at;
    uint8_t key;
    const DIB_P* expected;
  } entries[] = {{"thumbnail", l.thumbAt, kThumbBaseByte, &g.Thumbnail},
                 {"picture", l.pictureAt, kSolvePictureByte, &g.Picture},
                 {"mask", l.maskAt, kSolveMaskByte, &g.Mask}};
  for (const Entry& e : entries) {
    MemorySource in(f.data(), f.size());
    ASSERT_TRUE(in.Seek(e.at));
    std::vector<uint8_t> payload;
    ASSERT_TRUE(ReadEntry(in, e.key, false, f.size(), payload, nullptr, nullptr));
    const std::string bmp = folder.Path(std::string(e.name) + ".bmp");
    const std::string rgb = folder.Path(std::string(e.name) + ".rgb");
    PutBytes(bmp, payload);
    const std::string cmd = "convert '" + bmp + "' -depth 8 'rgb:" + rgb + "' 2>&1";
    ASSERT_EQ(std::system(cmd.c_str()), 0) << e.name;
    const std::vector<uint8_t> pixels = Bytes(rgb);
    const DIB_P& d = *e.expected;
    ASSERT_EQ(pixels.size(), static_cast<size_t>(d.Width) * d.Height * 3) << e.name;
    for (int32_t y = 0; y < d.Height; ++y)
      for (int32_t x = 0; x < d.Width; ++x) {
        const uint8_t* p = DibPixel(d, x, y);
        const uint8_t* q = &pixels[(static_cast<size_t>(y) * d.Width + x) * 3];
        ASSERT_TRUE(q[0] == p[2] && q[1] == p[1] && q[2] == p[0]) << e.name << " at " << x << "," << y;
      }
  }
}

// ---- limits shared with the reader ----

// The writer never makes a saved game its reader refuses: a game whose
// thumbnail would not fit its entry is not saved (and the good file at the
// path stays), and an info text as long as a pack may hold comes back.
TEST(SavedGame, WriterAndReaderAgreeOnSizes) {
  SaveFolder folder;
  SavedGame good;
  MakeSyntheticGame(good);
  ASSERT_TRUE(folder.Save("game.sv1", good).Saved);
  const std::vector<uint8_t> before = Bytes(folder.Path("game.sv1"));

  SavedGame big;
  MakeSyntheticGame(big, {96, 64, 6, 4, true, 5, "Big Thumbnail"});
  DibCreate24(big.Thumbnail, 2400, 2400);  // 17 MB as a bitmap
  const SaveOutcome out = folder.Save("game.sv1", big);
  EXPECT_FALSE(out.Saved);
  EXPECT_NE(out.Error.find("thumbnail"), std::string::npos) << out.Error;
  EXPECT_EQ(Bytes(folder.Path("game.sv1")), before);

  // A pack's info text may have 4 MiB; a saved game holds it as UTF-16.
  SavedGame wordy;
  MakeSyntheticGame(wordy, {96, 64, 6, 4, true, 6, "Wordy"});
  wordy.Info.assign(4u << 20, 'w');
  const SaveOutcome saved = folder.Save("wordy.sv1", wordy);
  ASSERT_TRUE(saved.Saved) << saved.Error;
  EXPECT_EQ(ReadPlay(folder.Path("wordy.sv1")).Info, wordy.Info);
  wordy.Info.assign((4u << 20) + 1, 'w');
  wordy.Info += "\xE2\x80\x94";
  EXPECT_FALSE(folder.Save("wordy2.sv1", wordy).Saved);
  EXPECT_FALSE(fs::exists(folder.Path("wordy2.sv1")));
}

// ---- leftovers of interrupted saves ----

// What a stopped save leaves under the game's own names beside a file is
// removed when that file is next opened or saved; other files stay.
TEST(SavedGame, LeftoversAreRemovedOnTheNextOpenOrSave) {
  for (const bool byOpen : {true, false}) {
    SaveFolder folder;
    SavedGame g;
    MakeSyntheticGame(g);
    const std::string path = folder.Path("game.sv1");
    ASSERT_TRUE(folder.Save("game.sv1", g).Saved);
    WriteFile(path + ".svt", std::string(5000, 'x'));
    WriteFile(StateJournalPath(path) + ".new", "VJSJ half");
    WriteFile(folder.Path("other.sv1.svt"), "another game's");
    if (byOpen) {
      ReadPlay(path);
    } else {
      PlayALittle(g, 8);
      ASSERT_TRUE(folder.Save("game.sv1", g).Saved);
    }
    EXPECT_FALSE(fs::exists(path + ".svt")) << byOpen;
    EXPECT_FALSE(fs::exists(StateJournalPath(path) + ".new")) << byOpen;
    EXPECT_TRUE(fs::exists(folder.Path("other.sv1.svt"))) << byOpen;
  }
}
