// Saving and resuming a large game: a 12 MP picture cut into 4000 pieces.
//   build/bin/bench_files --benchmark_min_time=1
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "files/saved_game_writer.h"
#include "jigsaw/pieces.h"

namespace {

using namespace varlo;

constexpr int32_t kW = 4000, kH = 3000, kCols = 80, kRows = 50;

std::string ScratchFolder() {
  static std::string folder = [] {
    char tmpl[] = "/tmp/varlo-files-bench-XXXXXX";
    const char* d = mkdtemp(tmpl);
    return std::string(d ? d : "/tmp") + "/";
  }();
  return folder;
}

// A 4000-piece game on a 12 MP picture with pieces strewn over both sides.
const SavedGame& BigGame() {
  static SavedGame g = [] {
    SavedGame s;
    s.Name = "Benchmark";
    JIG_P& j = s.Jig;
    j.GameSeed = 99;
    j.TilePX = kCols;
    j.TilePY = kRows;
    j.TileNum = j.TotalTileNum = kCols * kRows;
    j.ImageW = kW;
    j.ImageH = kH;
    DibCreate24(s.Picture, kW, kH);
    for (int32_t y = 0; y < kH; ++y) {
      uint8_t* p = DibRow(s.Picture, y);
      for (int32_t x = 0; x < kW * 3; ++x) p[x] = static_cast<uint8_t>(x * 7 + y * 3);
    }
    DibCreate24(s.Mask, kW + 5, kH + 5);
    const int32_t cw = kW / kCols, ch = kH / kRows;
    for (int32_t y = 0; y < kH; ++y) {
      uint8_t* p = DibRow(s.Mask, y);
      for (int32_t x = 0; x < kW; ++x) {
        p[x * 3] = static_cast<uint8_t>(((y / ch) * kCols + x / cw) % 250 + 1);
        p[x * 3 + 2] = 128;
      }
    }
    DibCreate24(s.Thumbnail, 240, 180);
    Jigsaw shape;
    shape.Jig = j;
    shape.Tiles.resize(static_cast<size_t>(j.TotalTileNum));
    for (int32_t i = 0; i < j.TotalTileNum; ++i) {
      TILE_P& t = shape.Tiles[i];
      t.BoxX = t.CellX = (i % kCols) * cw;
      t.BoxY = t.CellY = (i / kCols) * ch;
      t.BoxW = t.CellW = cw;
      t.BoxH = t.CellH = ch;
      t.Group = i;
      t.Win = static_cast<uint8_t>(i % 2);
      t.X = (i * 37) % 1800;
      t.Y = (i * 53) % 1000;
      PlaceRotated(shape, i);
    }
    s.Pieces = shape.Tiles;
    s.Info = "A benchmark picture";
    return s;
  }();
  return g;
}

SaveContext Context() {
  SaveContext ctx;
  ctx.SaveTemp = ScratchFolder() + "varlo.svt";
  ctx.AutoSave = ScratchFolder() + "autosaved.sv1";
  return ctx;
}

// The whole file, through the temporary file, flushed to the disk.
void BM_FullSave(benchmark::State& state) {
  const SaveGameView view = ViewOf(BigGame());
  const std::string path = ScratchFolder() + "full.sv1";
  SaveContext ctx = Context();
  for (auto _ : state) {
    state.PauseTiming();
    std::remove(path.c_str());
    state.ResumeTiming();
    // An autosave: the player's save would also copy the file to the autosave.
    const SaveOutcome out = SaveSolve(path, true, view, ctx);
    if (!out.Saved || out.StateOnly) state.SkipWithError("not a full save");
  }
}
BENCHMARK(BM_FullSave)->Unit(benchmark::kMillisecond);

// A second save of the same game: only the play state changes.
void BM_StateRewrite(benchmark::State& state) {
  SaveGameView view = ViewOf(BigGame());
  const std::string path = ScratchFolder() + "state.sv1";
  SaveContext ctx = Context();
  if (!SaveSolve(path, true, view, ctx).Saved) state.SkipWithError("first save failed");
  for (auto _ : state) {
    const SaveOutcome out = SaveSolve(path, true, view, ctx);
    if (!out.StateOnly) state.SkipWithError("not a state rewrite");
  }
}
BENCHMARK(BM_StateRewrite)->Unit(benchmark::kMillisecond);

// Resuming without rotation: header, bitmaps, mask clean-up, piece checks.
void BM_Resume(benchmark::State& state) {
  const std::string path = ScratchFolder() + "resume.sv1";
  SaveContext ctx = Context();
  if (!SaveSolve(path, true, ViewOf(BigGame()), ctx).Saved) state.SkipWithError("save failed");
  for (auto _ : state) {
    SolveRead io;
    std::string error;
    if (OpenSolve(path, OpenMode::Play, io, &error) != OpenResult::Ok) state.SkipWithError(error.c_str());
    benchmark::DoNotOptimize(io.Game.Pieces.data());
  }
}
BENCHMARK(BM_Resume)->Unit(benchmark::kMillisecond);

}  // namespace
