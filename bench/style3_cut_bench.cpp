// Shape style 3, the irregular cut with artistic pieces from the built
// shape library (pic_varlo.dat next to this program in the build's bin/
// folder): 1920 x 1200 at about 1000 pieces and 12 MP at the finest level.
// Its time budget is the irregular cut's; the CPU column is the one to
// read on a machine busy with other work.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "cut/irregular_cut.h"
#include "cut/level_table.h"
#include "cut/shape_placement.h"
#include "platform/platform.h"
#include "platform/progress.h"

namespace varlo {
namespace {

JIG_P Style3Level(int32_t w, int32_t h, int32_t level) {
  JIG_P p;
  p.ImageW = w;
  p.ImageH = h;
  p.ShapeStyle = 3;
  p.Level = level;
  LevelTable table{};
  EvaluateLevelCounts(p, table);
  return p;
}

// The level whose piece count comes closest to `pieces`; the finest for 0.
JIG_P ParamsFor(int32_t w, int32_t h, int32_t pieces) {
  JIG_P best;
  int32_t bestGap = 1 << 30;
  for (int32_t level = 0; level < kLevelCount; ++level) {
    const JIG_P p = Style3Level(w, h, level);
    if (p.TotalTileNum <= 0) continue;
    const int32_t gap = pieces > 0 ? std::abs(p.TotalTileNum - pieces) : -p.TotalTileNum;
    if (gap < bestGap) {
      bestGap = gap;
      best = p;
    }
  }
  return best;
}

// The library the build made; empty when it is missing or does not load.
ShapeLibrary BuiltLibrary() {
  std::error_code ec;
  const std::string path =
      (std::filesystem::read_symlink("/proc/self/exe", ec).parent_path() / "pic_varlo.dat").string();
  const Platform quiet;
  ShapeLibrary lib;
  if (LoadShapeLibrary(path, lib, quiet, nullptr) != ShapeLibraryResult::Loaded) lib.Entries.clear();
  return lib;
}

void BM_Style3Cut(benchmark::State& state) {
  const ShapeLibrary lib = BuiltLibrary();
  if (lib.Empty()) {
    state.SkipWithError("pic_varlo.dat missing next to the benchmark");
    return;
  }
  const auto w = static_cast<int32_t>(state.range(0)), h = static_cast<int32_t>(state.range(1));
  const JIG_P params = ParamsFor(w, h, static_cast<int32_t>(state.range(2)));
  uint32_t seed = 1;
  int64_t placed = 0, cuts = 0;
  for (auto _ : state) {
    JIG_P p = params;
    std::vector<TILE_P> tiles;
    DIB_P mask;
    RandomGenerator random(seed++);
    NullProgress progress;
    IrregularCutReport report;
    ShapePlacement placement(lib);
    const bool ok = CutIrregular(p, tiles, mask, random, progress, report, &placement);
    if (!ok || report.Error.Any) state.SkipWithError("cut failed");
    placed += placement.Counts().Placed;
    ++cuts;
    benchmark::DoNotOptimize(mask.Bits);
  }
  state.counters["pieces"] = params.TileNum;
  state.counters["level"] = params.Level;
  // Drawings kept per cut, over all its drawing attempts.
  state.counters["placed"] = cuts ? static_cast<double>(placed) / static_cast<double>(cuts) : 0;
}
BENCHMARK(BM_Style3Cut)
    ->Args({1920, 1200, 1000})
    ->Args({4000, 3000, 0})
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime();

}  // namespace
}  // namespace varlo
