// The irregular cut on the reference picture sizes: 1920 x 1200 and 12 MP,
// about 1000 and about 4000 pieces, shape style 0 (the others cost the same
// within a few per cent).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <vector>

#include "cut/irregular_cut.h"
#include "cut/level_table.h"

namespace varlo {
namespace {

// The level whose piece count comes closest to `pieces`.
JIG_P ParamsFor(int32_t w, int32_t h, int32_t pieces) {
  JIG_P best;
  int32_t bestGap = 1 << 30;
  for (int32_t level = 0; level < kLevelCount; ++level) {
    JIG_P p;
    p.ImageW = w;
    p.ImageH = h;
    p.ShapeStyle = 0;
    p.Level = level;
    LevelTable table{};
    if (!EvaluateLevelCounts(p, table)) continue;
    const int32_t gap = std::abs(p.TotalTileNum - pieces);
    if (gap < bestGap) {
      bestGap = gap;
      best = p;
    }
  }
  return best;
}

void BM_IrregularCut(benchmark::State& state) {
  const auto w = static_cast<int32_t>(state.range(0)), h = static_cast<int32_t>(state.range(1));
  const JIG_P params = ParamsFor(w, h, static_cast<int32_t>(state.range(2)));
  uint32_t seed = 1;
  for (auto _ : state) {
    JIG_P p = params;
    std::vector<TILE_P> tiles;
    DIB_P mask;
    RandomGenerator random(seed++);
    NullProgress progress;
    IrregularCutReport report;
    const bool ok = CutIrregular(p, tiles, mask, random, progress, report);
    if (!ok || report.Error.Any) state.SkipWithError("cut failed");
    benchmark::DoNotOptimize(mask.Bits);
  }
  state.counters["pieces"] = params.TileNum;
}
BENCHMARK(BM_IrregularCut)
    ->Args({1920, 1200, 1000})
    ->Args({1920, 1200, 4000})
    ->Args({4000, 3000, 1000})
    ->Args({4000, 3000, 4000})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
}  // namespace varlo
