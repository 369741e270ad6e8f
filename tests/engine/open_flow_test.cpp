// The open and save flows without a window: a new game from a pack made by
// the pack writer, saving it, resuming it, the seed rule and the progress
// step counts.
#include <gtest/gtest.h>

#include <cstring>

#include "cut/level_table.h"
#include "app/open_flow.h"
#include "files/saved_game.h"
#include "play/game_flags.h"
#include "play/play_field.h"
#include "support/small_pack.h"
#include "support/fake_platform.h"
#include "support/field_probe.h"
#include "support/temp_home.h"
#include "ui/lang.h"

namespace varlo {
using testing::Probe;

namespace {

using testing::FakePlatform;
using testing::TempDir;

class CountingProgress : public Progress {
 public:
  void Begin(const std::string&, int32_t steps) override {
    ++begins;
    announced = steps;
  }
  void Step() override { ++steps; }
  void End() override { ++ends; }
  int begins = 0, ends = 0, steps = 0, announced = 0;
};

JIG_P Level(int32_t shape, int32_t level, bool rotate) {
  JIG_P p;
  p.ImageW = 240;
  p.ImageH = 180;
  p.ShapeStyle = static_cast<uint8_t>(shape);
  p.Level = level;
  p.Rotate = rotate ? 1 : 0;
  LevelTable table{};
  EvaluateLevelCounts(p, table);
  return p;
}

struct Flow : ::testing::Test {
  TempDir dir;
  FakePlatform fake;
  LANG_P lang;
  PlayField field{fake.platform()};
  RandomGenerator random{12345};
  std::string pack = dir.path() + "Blocks.ast";
  void SetUp() override {
    testing::WriteSmallPack(pack);
    field.Resize(800, 600, 800, 600);
  }
  std::unique_ptr<GameSession> NewGame(const JIG_P& level, Progress& progress, std::string* error) {
    NewGameRequest req;
    req.PackPath = pack;
    req.Level = level;
    req.EmbossStyle = 1;
    req.WoodStyle = 2;
    return StartNewGame(req, field, random, progress, fake.platform(), lang, error);
  }
};

TEST(OpenFlowSteps, NewGameStepCounts) {
  JIG_P p;
  EXPECT_EQ(NewGameProgressSteps(p, 0, 0), 13);
  EXPECT_EQ(NewGameProgressSteps(p, 1, 0), 14);
  p.Rotate = 1;
  EXPECT_EQ(NewGameProgressSteps(p, 0, 0), 19);
  EXPECT_EQ(NewGameProgressSteps(p, 0, 2), 23);
}

TEST(OpenFlowSeed, TypedSeedReproducesOtherwiseRunningSeed) {
  struct Case {
    bool shown;
    const char* text;
    int32_t expect;  // 0: the generator's running seed
  };
  const Case cases[] = {{true, "4711", 4711}, {true, "-5", -5},   {true, "abc", 0},
                        {true, "12x", 0},     {true, "", 0},      {false, "4711", 0},
                        {true, "99999999999", 0}};
  for (const Case& c : cases) {
    RandomGenerator r(777);
    JIG_P p;
    ChooseGameSeed(p, r, c.shown, c.text);
    if (c.expect) {
      EXPECT_EQ(p.GameSeed, c.expect) << c.text;
      EXPECT_EQ(r.Seed(), static_cast<uint32_t>(c.expect)) << c.text;
    } else {
      EXPECT_EQ(p.GameSeed, 777) << c.text;
      EXPECT_EQ(r.Seed(), 777u) << c.text;
    }
  }
}

TEST_F(Flow, NewGameFromPackEveryPieceOnTheFirstSide) {
  for (int32_t shape : {0, 3, 5}) {
    CountingProgress progress;
    std::string error;
    const JIG_P level = Level(shape, 10, true);
    auto game = NewGame(level, progress, &error);
    ASSERT_TRUE(game) << "shape " << shape << ": " << error;
    const Jigsaw& jig = game->Jig;
    EXPECT_EQ(jig.Jig.TotalTileNum, level.TotalTileNum) << shape;
    EXPECT_GT(jig.Jig.TotalTileNum, 1);
    EXPECT_EQ(game->JigName, "Blocks");
    EXPECT_EQ(game->Info, "A small test jigsaw");
    EXPECT_GT(game->Thumbnail.Width, 0);
    for (int32_t i = 0; i < PieceCount(jig); ++i) {
      const TILE_P& t = jig.Tiles[static_cast<size_t>(i)];
      EXPECT_EQ(t.Win, 0);
      EXPECT_EQ(t.Group, i);
    }
    for (int slot : {1, 2, 3, 5, 6, 7}) EXPECT_GT(jig.Images[static_cast<size_t>(slot)].Width, 0) << slot;
    EXPECT_EQ(progress.announced, 23);
    EXPECT_EQ(progress.begins, progress.ends);
    EXPECT_TRUE(fake.messages.empty());
  }
}

TEST_F(Flow, SameTypedSeedSameCut) {
  CountingProgress progress;
  std::string error;
  NewGameRequest req;
  req.PackPath = pack;
  req.Level = Level(0, 9, false);
  req.SeedPanelShown = true;
  req.SeedText = "2024";
  auto a = StartNewGame(req, field, random, progress, fake.platform(), lang, &error);
  random.Random(1000);  // the running sequence moved on
  auto b = StartNewGame(req, field, random, progress, fake.platform(), lang, &error);
  ASSERT_TRUE(a && b) << error;
  EXPECT_EQ(a->Jig.Jig.GameSeed, 2024);
  const DIB_P& ma = a->Jig.Images[kMaskSlot];
  const DIB_P& mb = b->Jig.Images[kMaskSlot];
  ASSERT_EQ(ma.Width, mb.Width);
  for (int32_t y = 0; y < ma.Height; ++y)
    ASSERT_EQ(0, std::memcmp(DibRow(ma, y), DibRow(mb, y), static_cast<size_t>(ma.Width) * 3)) << y;
}

TEST_F(Flow, BadPackFailsWithAReason) {
  testing::WriteFile(pack, "not a pack at all");
  CountingProgress progress;
  std::string error;
  EXPECT_FALSE(NewGame(Level(5, 10, false), progress, &error));
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(progress.begins, progress.ends);  // the panel does not stay up
}

TEST_F(Flow, SaveAndResumeKeepsThePlayState) {
  CountingProgress progress;
  std::string error;
  auto game = NewGame(Level(5, 10, true), progress, &error);
  ASSERT_TRUE(game) << error;
  AttachGame(field, *game);
  // Play a little: two pieces to the second side, one turned.
  game->Jig.Tiles[0].Win = 1;
  game->Jig.Tiles[1].Win = 1;
  game->Jig.Tiles[1].Rot = 2;
  PlaceRotated(game->Jig, 1);
  Probe(field).options().Play.bClickToDrag = 1;

  GameFlags flags;
  flags.bDirty = flags.bAutoDirty = 1;
  SaveContext ctx;
  ctx.SaveTemp = dir.path() + "varlo.svt";
  ctx.AutoSave = dir.path() + "autosaved.sv1";
  ctx.Flags = &flags;
  const std::string saved = dir.path() + "mine.sv1";
  const SaveOutcome out = SaveSession(saved, false, *game, field, ctx);
  ASSERT_TRUE(out.Saved) << out.Error;
  EXPECT_EQ(flags.bDirty, 0);

  auto back = ResumeSavedGame(saved, 1, 2, "Prog_OpenJig", progress, &error);
  ASSERT_TRUE(back) << error;
  EXPECT_TRUE(back->FromSave);
  EXPECT_EQ(back->JigName, "Blocks");
  ASSERT_EQ(PieceCount(back->Jig), PieceCount(game->Jig));
  for (int32_t i = 0; i < PieceCount(back->Jig); ++i) {
    const TILE_P& a = game->Jig.Tiles[static_cast<size_t>(i)];
    const TILE_P& b = back->Jig.Tiles[static_cast<size_t>(i)];
    EXPECT_EQ(a.X, b.X);
    EXPECT_EQ(a.Y, b.Y);
    EXPECT_EQ(a.Win, b.Win);
    EXPECT_EQ(a.Rot, b.Rot);
    EXPECT_EQ(a.RotW, b.RotW);
  }
  PlayField other(fake.platform());
  other.Resize(800, 600, 800, 600);
  AttachGame(other, *back);
  EXPECT_EQ(other.Options().Play.bClickToDrag, 1);  // the saved game's play options
  EXPECT_TRUE(other.GameOpen());
}

TEST_F(Flow, ResumeCountsItsStepsAndShowsTheProgressBeforeReading) {
  struct Case {
    bool rotate;
    int32_t emboss, wood;
    int32_t steps;
  } cases[] = {{false, 0, 0, 5}, {false, 1, 2, 6}, {true, 0, 0, 11}, {true, 3, 0, 15}};
  for (const Case& c : cases) {
    CountingProgress made;
    std::string error;
    auto game = NewGame(Level(5, 10, c.rotate), made, &error);
    ASSERT_TRUE(game) << error;
    AttachGame(field, *game);
    GameFlags flags;
    SaveContext ctx;
    ctx.SaveTemp = dir.path() + "varlo.svt";
    ctx.AutoSave = dir.path() + "autosaved.sv1";
    ctx.Flags = &flags;
    const std::string saved = dir.path() + (c.rotate ? "turned.sv1" : "plain.sv1");
    ASSERT_TRUE(SaveSession(saved, false, *game, field, ctx).Saved);

    CountingProgress progress;
    ASSERT_TRUE(ResumeSavedGame(saved, c.emboss, c.wood, "Prog_OpenJig", progress, &error)) << error;
    EXPECT_EQ(progress.announced, c.steps) << c.rotate << c.emboss << c.wood;
    EXPECT_EQ(progress.steps, c.steps) << c.rotate << c.emboss << c.wood;
    EXPECT_EQ(ResumeProgressSteps(game->Jig.Jig, c.emboss, c.wood), c.steps);
    EXPECT_EQ(progress.ends, 1);

    // A file whose picture cannot be read: the panel was up while it was
    // read, and is taken down again.
    SolveRead head;
    ASSERT_EQ(OpenSolve(saved, OpenMode::Preview, head, nullptr), OpenResult::Ok);
    const std::string bytes = testing::ReadFile(saved);
    const std::string cut = dir.path() + "cut.sv1";
    testing::WriteFile(cut, bytes.substr(0, static_cast<size_t>(head.Jig.ThumbEnd[1]) + 200));
    CountingProgress failed;
    EXPECT_FALSE(ResumeSavedGame(cut, c.emboss, c.wood, "Prog_OpenJig", failed, &error));
    EXPECT_EQ(failed.begins, 1);
    EXPECT_EQ(failed.ends, 1);
  }
}

TEST(OpenFlowSide, ResumedGameShowsTheSideEveryPieceLiesOn) {
  Jigsaw jig;
  ASSERT_TRUE(AllocPieces(jig, 3));
  jig.Jig.TotalTileNum = 3;
  for (auto& t : jig.Tiles) t.Win = 1;
  EXPECT_EQ(SideToShow(jig), 1);
  jig.Tiles[2].Win = 3;  // one in a pocket
  EXPECT_EQ(SideToShow(jig), 0);
  for (auto& t : jig.Tiles) t.Win = 4;  // all in one pocket
  EXPECT_EQ(SideToShow(jig), 0);
}

}  // namespace
}  // namespace varlo
