// A whole new game as Open makes it (pack read, cut, set-up, paper emboss
// and shadows on a 1920 x 1080 field) and the resume of the saved result,
// on a photograph scaled to 12 MP and to 1920 x 1200.
//   build/bin/bench_newgame --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
// The pack is made from a desktop background when one is installed, else
// from a drawn picture with photo-like detail.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <string>

#include "cut/knob_atlas.h"
#include "cut/level_table.h"
#include "play/game_flags.h"
#include "files/info_text.h"
#include "files/jigsaw_pack.h"
#include "app/open_flow.h"
#include "raster/picture_codecs.h"
#include "play/play_field.h"
#include "ui/lang.h"

namespace {

using namespace varlo;

std::string ScratchFolder() {
  static std::string folder = [] {
    char tmpl[] = "/tmp/varlo-newgame-bench-XXXXXX";
    const char* d = mkdtemp(tmpl);
    return std::string(d ? d : "/tmp") + "/";
  }();
  return folder;
}

void DrawnPicture(DIB_P& d, int32_t w, int32_t h) {
  DibCreate24(d, w, h);
  for (int32_t y = 0; y < h; ++y) {
    uint8_t* p = DibRow(d, y);
    for (int32_t x = 0; x < w; ++x) {
      p[x * 3] = static_cast<uint8_t>((x * x + y * 7) >> 5);
      p[x * 3 + 1] = static_cast<uint8_t>((x ^ y) * 3);
      p[x * 3 + 2] = static_cast<uint8_t>(y * 255 / h);
    }
  }
}

// A pack of a w x h picture, made once per size.
const std::string& PackOf(int32_t w, int32_t h) {
  static std::map<int64_t, std::string> made;
  std::string& path = made[int64_t{w} << 32 | h];
  if (!path.empty()) return path;
  DIB_P photo, picture, thumb;
  if (!DibLoadPictureFile(photo, "/usr/share/backgrounds/greentock_by_Peter_Nerlich.jpg", nullptr))
    DrawnPicture(photo, w, h);
  DibCreate24(picture, w, h);
  DibScale(picture, photo);
  DibCreate24(thumb, 240, 180);
  DibScale(thumb, picture);
  PackParts parts;
  parts.ImageW = w;
  parts.ImageH = h;
  parts.ShortText = "Bench";
  DibSaveJpeg(picture, 92, parts.Picture, nullptr);
  DibSaveJpeg(thumb, 92, parts.Thumbnail, nullptr);
  parts.Info = EncodeInfoUtf8("A benchmark jigsaw");
  const std::vector<uint8_t> bytes = BuildPack(parts);
  path = ScratchFolder() + "bench" + std::to_string(w) + "x" + std::to_string(h) + ".ast";
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                              static_cast<std::streamsize>(bytes.size()));
  return path;
}

// The open dialog's level for the pack: the finest level whose count is
// nearest `pieces`, unfitted.
JIG_P LevelFor(const std::string& pack, int32_t shape, bool rotate, int32_t pieces) {
  PackRead io;
  io.Jig.ShapeStyle = static_cast<uint8_t>(shape);
  io.Jig.Rotate = rotate ? 1 : 0;
  OpenJig(pack, OpenMode::Preview, io, nullptr);
  JIG_P p = io.Jig;
  p.FitImageW = p.ImageW;
  p.FitImageH = p.ImageH;
  LevelTable table{};
  int32_t best = 0;
  for (int32_t level = 0; level < kLevelCount; ++level) {
    p.Level = level;
    EvaluateLevelCounts(p, table);
    JIG_P b = p;
    b.Level = best;
    EvaluateLevelCounts(b, table);
    if (std::abs(p.TotalTileNum - pieces) < std::abs(b.TotalTileNum - pieces)) best = level;
  }
  p.Level = best;
  EvaluateLevelCounts(p, table);
  return p;
}

struct NewGameRun {
  Platform platform;
  GameFlags flags;
  PlayField field{platform, nullptr, nullptr, &flags};
  DIB_P atlas;
  LANG_P lang;
  NewGameRun() {
    field.Resize(1920, 1080, 1920, 1080);
    DrawKnobAtlas(atlas);
  }
  std::unique_ptr<GameSession> Start(const std::string& pack, const JIG_P& level, RandomGenerator& random) {
    NewGameRequest req;
    req.PackPath = pack;
    req.Level = level;
    req.EmbossStyle = 1;
    req.WoodStyle = 2;
    req.KnobAtlas = &atlas;
    NullProgress progress;
    std::string error;
    return StartNewGame(req, field, random, progress, platform, lang, &error);
  }
  bool Save(GameSession& s, const std::string& path) {
    AttachGame(field, s);
    SaveContext ctx;
    ctx.SaveTemp = path + ".svt";
    ctx.Flags = &flags;
    const bool saved = SaveSession(path, false, s, field, ctx).Saved;
    field.CloseGame();
    return saved;
  }
};

// args: picture width, height, shape style, rotation, pieces; with save.
void BM_WholeNewGame(benchmark::State& state) {
  const int32_t w = static_cast<int32_t>(state.range(0)), h = static_cast<int32_t>(state.range(1));
  const std::string& pack = PackOf(w, h);
  const JIG_P level = LevelFor(pack, static_cast<int32_t>(state.range(2)), state.range(3) != 0,
                               static_cast<int32_t>(state.range(4)));
  NewGameRun run;
  RandomGenerator random(12345);
  const std::string out = ScratchFolder() + "new.sv1";
  for (auto _ : state) {
    std::unique_ptr<GameSession> s = run.Start(pack, level, random);
    if (!s || !run.Save(*s, out)) {
      state.SkipWithError("new game failed");
      return;
    }
  }
  state.counters["pieces"] = level.TotalTileNum;
}
BENCHMARK(BM_WholeNewGame)
    ->ArgNames({"w", "h", "shape", "rot", "pieces"})
    ->Args({4000, 3000, 4, 1, 4000})
    ->Args({4000, 3000, 4, 0, 4000})
    ->Args({4000, 3000, 0, 1, 4000})
    ->Args({4000, 3000, 0, 0, 4000})
    ->Args({1920, 1200, 4, 0, 1000})
    ->Args({1920, 1200, 0, 0, 1000})
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Iterations(1);

// args: rotation and effects (0: neither).
void BM_ResumeSavedGame(benchmark::State& state) {
  const bool full = state.range(0) != 0;
  const std::string& pack = PackOf(4000, 3000);
  const JIG_P level = LevelFor(pack, 4, full, 4000);
  const std::string saved = ScratchFolder() + (full ? "resume-rot.sv1" : "resume.sv1");
  {
    NewGameRun run;
    RandomGenerator random(777);
    std::unique_ptr<GameSession> s = run.Start(pack, level, random);
    if (!s || !run.Save(*s, saved)) {
      state.SkipWithError("no saved game");
      return;
    }
  }
  for (auto _ : state) {
    NullProgress progress;
    std::string error;
    std::unique_ptr<GameSession> s =
        ResumeSavedGame(saved, full ? 1 : 0, full ? 2 : 0, "", progress, &error);
    if (!s) {
      state.SkipWithError(error.c_str());
      return;
    }
    benchmark::DoNotOptimize(s.get());
  }
}
BENCHMARK(BM_ResumeSavedGame)
    ->ArgName("rotation_and_effects")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Iterations(1);

}  // namespace
