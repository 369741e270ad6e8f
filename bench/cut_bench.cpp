// Cutting and piece effects at the sizes the game must handle: 4000 pieces
// on a 12 MP picture, about 1000 on 1920 x 1200, and the emboss and shadow
// layers of all four rotations of a 12 MP jigsaw. The cut depends only on
// the picture's size, not on its content.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "cut/effect_layer.h"
#include "cut/emboss.h"
#include "cut/knob_atlas.h"
#include "cut/level_table.h"
#include "cut/piece_mask.h"
#include "cut/rect_cut.h"
#include "cut/refresh_effects.h"
#include "jigsaw/pieces.h"

namespace varlo {
namespace {

const DIB_P& Atlas() {
  static DIB_P* atlas = [] {
    auto* a = new DIB_P;
    if (!DrawKnobAtlas(*a)) std::abort();
    return a;
  }();
  return *atlas;
}

// The level of w x h whose piece count is closest to `pieces`.
int32_t LevelNear(int32_t w, int32_t h, int32_t shape, int32_t pieces) {
  LevelTable table{};
  MakeLevelTable(table, w, h, shape, 0);
  int32_t best = 0;
  for (int32_t i = 1; i < kLevelCount; ++i)
    if (std::abs(table[i].Total - pieces) < std::abs(table[best].Total - pieces)) best = i;
  return best;
}

void SetUpCut(Jigsaw& jig, int32_t w, int32_t h, int32_t shape, int32_t level, bool rotate) {
  jig.Jig = JIG_P{};
  jig.Jig.ImageW = w;
  jig.Jig.ImageH = h;
  jig.Jig.ShapeStyle = static_cast<uint8_t>(shape);
  jig.Jig.Level = level;
  jig.Jig.Rotate = rotate ? 1 : 0;
  LevelTable table{};
  if (!EvaluateLevelCounts(jig.Jig, table)) std::abort();
  AllocPieces(jig, jig.Jig.TotalTileNum + 1);
}

void BM_RectCut(benchmark::State& state, int32_t w, int32_t h, int32_t pieces) {
  const int32_t shape = static_cast<int32_t>(state.range(0));
  const int32_t level = pieces >= 4000 ? 0 : LevelNear(w, h, shape, pieces);
  NullProgress progress;
  int32_t made = 0;
  for (auto _ : state) {
    Jigsaw jig;
    SetUpCut(jig, w, h, shape, level, false);
    RandomGenerator random(12345);
    PaintError error;
    if (!CutRectangular(jig.Jig, jig.Tiles, jig.Images[kMaskSlot], Atlas(), random, progress, error))
      state.SkipWithError("cut failed");
    made = jig.Jig.TotalTileNum;
    benchmark::DoNotOptimize(jig.Images[kMaskSlot].Bits);
  }
  state.counters["pieces"] = made;
}
BENCHMARK_CAPTURE(BM_RectCut, finest_4000x3000, 4000, 3000, 4000)
    ->Arg(4)->Arg(5)->Arg(6)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_RectCut, about1000_1920x1200, 1920, 1200, 1000)
    ->Arg(4)->Arg(6)->Unit(benchmark::kMillisecond);

// Emboss (Paper) and shadow layers for every rotation of a 12 MP jigsaw of
// about 4000 pieces; the masks are reset before each round, as the options
// dialog does before a style change.
void BM_EffectsAllRotations(benchmark::State& state) {
  Jigsaw jig;
  SetUpCut(jig, 4000, 3000, 5, 0, true);
  DibCreate24(jig.Images[kPictureSlot], 4000, 3000);
  RandomGenerator random(7);
  NullProgress progress;
  PaintError error;
  if (!CutRectangular(jig.Jig, jig.Tiles, jig.Images[kMaskSlot], Atlas(), random, progress, error) ||
      !MakeRotatedImages(jig, progress)) {
    state.SkipWithError("set-up failed");
    return;
  }
  for (int32_t i = 0; i < jig.Jig.TotalTileNum; ++i) jig.Tiles[i].Group = i;
  const int32_t emboss = static_cast<int32_t>(state.range(0));
  const int32_t wood = static_cast<int32_t>(state.range(1));
  for (auto _ : state) {
    state.PauseTiming();
    for (int32_t r = 0; r < 4; ++r) ResetShading(jig.Images[kMaskSlot + r]);
    state.ResumeTiming();
    if (!RefreshEffects(jig, emboss, wood, progress)) state.SkipWithError("effects failed");
  }
}
BENCHMARK(BM_EffectsAllRotations)
    ->Args({kEmbossPaper, kWoodShadows})
    ->Args({kEmbossPaper, kWoodNone})
    ->Args({kEmbossNone, kWoodShadows})
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace varlo

namespace varlo {
namespace {

// The same without rotation: one mask, one layer.
void BM_EffectsNoRotation(benchmark::State& state) {
  Jigsaw jig;
  SetUpCut(jig, 4000, 3000, 5, 0, false);
  RandomGenerator random(7);
  NullProgress progress;
  PaintError error;
  if (!CutRectangular(jig.Jig, jig.Tiles, jig.Images[kMaskSlot], Atlas(), random, progress, error)) {
    state.SkipWithError("set-up failed");
    return;
  }
  for (int32_t i = 0; i < jig.Jig.TotalTileNum; ++i) jig.Tiles[i].Group = i;
  for (auto _ : state) {
    state.PauseTiming();
    ResetShading(jig.Images[kMaskSlot]);
    state.ResumeTiming();
    if (!RefreshEffects(jig, kEmbossPaper, kWoodShadows, progress)) state.SkipWithError("effects failed");
  }
}
BENCHMARK(BM_EffectsNoRotation)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace varlo
