// Artistic pieces in a new game: shape style 3 through the open flow with
// the run's shape library. A library with drawings gives artistic pieces;
// one that cannot serve gives a playable jigsaw of plain pieces; the file
// is read once per run and only for style 3.
#include "app/game_shapes.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "cut/emf_records.h"
#include "cut/emf_writer.h"
#include "cut/level_table.h"
#include "app/open_flow.h"
#include "play/play_field.h"
#include "support/fake_platform.h"
#include "support/small_pack.h"
#include "support/temp_home.h"
#include "ui/lang.h"

namespace varlo {
namespace {

using testing::FakePlatform;
using testing::TempDir;

// A library of one plump diamond that may be flipped both ways.
std::vector<uint8_t> DiamondLibrary() {
  EmfWriter w(40, 40);
  w.CreateBrush(1, 0);
  w.SelectObject(1);
  w.PointList(kEmrPolygon, {{20, 0}, {39, 20}, {20, 39}, {0, 20}}, false);
  return BuildShapeLibrary({{w.Finish(), 40, 40, true, true}});
}

void WriteBytes(const std::string& path, const std::vector<uint8_t>& b) {
  testing::WriteFile(path, std::string(b.begin(), b.end()));
}

struct NewGames : ::testing::Test {
  TempDir dir;
  FakePlatform fake;
  LANG_P lang;
  PlayField field{fake.platform()};
  RandomGenerator random{777};
  std::string pack = dir.path() + "Blocks.ast";
  std::string library = dir.path() + "pic_varlo.dat";
  void SetUp() override {
    testing::WriteSmallPack(pack, 640, 480);
    field.Resize(1000, 800, 1000, 800);
  }
  // A new game the way the desktop starts one; the artistic pieces it has.
  int32_t ArtisticPieces(GameShapes& shapes, int32_t shape, uint32_t seed = 5) {
    NewGameRequest req;
    req.PackPath = pack;
    req.Level.ImageW = 640;
    req.Level.ImageH = 480;
    req.Level.ShapeStyle = static_cast<uint8_t>(shape);
    req.Level.Level = 6;
    LevelTable table{};
    EXPECT_TRUE(EvaluateLevelCounts(req.Level, table));
    req.SeedPanelShown = true;
    req.SeedText = std::to_string(seed);
    shapes.Prepare(req, fake.platform());
    NullProgress progress;
    std::string error;
    auto game = StartNewGame(req, field, random, progress, fake.platform(), lang, &error);
    EXPECT_TRUE(game) << error;
    if (!game) return -1;
    EXPECT_GT(game->Jig.Jig.TotalTileNum, 20);
    int32_t n = 0;
    for (int32_t i = 0; i < game->Jig.Jig.TotalTileNum; ++i) n += game->Jig.Tiles[static_cast<size_t>(i)].Artistic == 1;
    return n;
  }
};

TEST_F(NewGames, Style3HasArtisticPiecesOnlyWithAUsableLibrary) {
  std::vector<uint8_t> wrongMagic = DiamondLibrary();
  wrongMagic[0] = 'X';
  std::vector<uint8_t> truncated = DiamondLibrary();
  truncated.resize(truncated.size() - 8);
  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;  // none: no file at all
    bool artistic;
    ShapeLibraryResult result;
    size_t boxes;  // "Invalid DAT file!" shown
  };
  const Case cases[] = {
      {"drawings", DiamondLibrary(), true, ShapeLibraryResult::Loaded, 0},
      {"no entries", BuildShapeLibrary({}), false, ShapeLibraryResult::Loaded, 0},
      {"wrong magic", wrongMagic, false, ShapeLibraryResult::WrongMagic, 1},
      {"damaged", truncated, false, ShapeLibraryResult::Damaged, 0},
      {"missing", {}, false, ShapeLibraryResult::Unreadable, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fake.messages.clear();
    std::filesystem::remove(library);
    if (!c.bytes.empty()) WriteBytes(library, c.bytes);
    GameShapes shapes(library);
    const int32_t artistic = ArtisticPieces(shapes, 3);
    if (c.artistic) {
      EXPECT_GT(artistic, 0);
    } else {
      EXPECT_EQ(artistic, 0);
    }
    EXPECT_EQ(shapes.ReadResult(), c.result);
    EXPECT_NE(shapes.Library().Empty(), c.artistic);
    ASSERT_EQ(fake.messages.size(), c.boxes);
    for (const auto& m : fake.messages) EXPECT_EQ(m.text, "Invalid DAT file!");
  }
}

TEST_F(NewGames, LibraryIsReadOncePerRunAndOnlyForStyle3) {
  std::vector<uint8_t> wrongMagic = DiamondLibrary();
  wrongMagic[0] = 'X';
  WriteBytes(library, wrongMagic);
  GameShapes quiet(library);
  EXPECT_EQ(ArtisticPieces(quiet, 0), 0);
  EXPECT_FALSE(quiet.Read());
  EXPECT_TRUE(fake.messages.empty());
  // A wrong file warns once, however many style-3 games follow.
  EXPECT_EQ(ArtisticPieces(quiet, 3), 0);
  EXPECT_EQ(ArtisticPieces(quiet, 3), 0);
  EXPECT_EQ(fake.messages.size(), 1u);

  // A good library stays with the run once read.
  WriteBytes(library, DiamondLibrary());
  GameShapes shapes(library);
  const int32_t first = ArtisticPieces(shapes, 3, 9);
  EXPECT_GT(first, 0);
  std::filesystem::remove(library);
  EXPECT_EQ(ArtisticPieces(shapes, 3, 9), first);
  EXPECT_EQ(ArtisticPieces(shapes, 0), 0);
}

}  // namespace
}  // namespace varlo
