// The piece table's hot operations at the largest jigsaw size: sorting on
// every press and drop, bringing a group to the front, and the turned
// picture and mask copies of a 12 MP game with rotation.
#include <benchmark/benchmark.h>

#include "jigsaw/pieces.h"

namespace varlo {
namespace {

constexpr int32_t kPieces = 4000;

Jigsaw MakeTable(int32_t n) {
  Jigsaw jig;
  jig.Jig.TotalTileNum = n;
  AllocPieces(jig, n + 1);
  RandomGenerator random(42);
  // Keys of a game in progress: some joined groups, scattered order.
  for (int32_t k = 0; k < n; ++k) jig.Tiles[k].Group = random.Random(n / 3);
  return jig;
}

void BM_SortPieces(benchmark::State& state) {
  Jigsaw jig = MakeTable(kPieces);
  for (auto _ : state) {
    SortPieces(jig, state.range(0) != 0);
    benchmark::DoNotOptimize(jig.Sort.data());
  }
}
BENCHMARK(BM_SortPieces)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_BringToFront(benchmark::State& state) {
  Jigsaw jig = MakeTable(kPieces);
  int32_t i = 0;
  for (auto _ : state) {
    BringToFront(jig, i, -1);
    i = (i + 997) % kPieces;
  }
}
BENCHMARK(BM_BringToFront)->Unit(benchmark::kMicrosecond);

void BM_SpreadScatter(benchmark::State& state) {
  Jigsaw jig = MakeTable(kPieces);
  for (int32_t k = 0; k < kPieces; ++k) jig.Tiles[k].Group = k;
  jig.Jig.KnobS = 12;
  jig.Jig.TileS = 50;
  RandomGenerator random(7);
  for (auto _ : state) SpreadPieces(jig, 0, state.range(0) != 0, {3000, 2000, 1920, 1080}, random);
}
BENCHMARK(BM_SpreadScatter)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_MakeRotatedImages12MP(benchmark::State& state) {
  Jigsaw jig;
  jig.Jig.ImageW = 4000;
  jig.Jig.ImageH = 3000;
  jig.Jig.Rotate = 1;
  DibCreate24(jig.Images[kPictureSlot], 4000, 3000);
  DibCreate24(jig.Images[kMaskSlot], 4000 + kMaskMargin, 3000 + kMaskMargin);
  NullProgress progress;
  for (auto _ : state) {
    if (!MakeRotatedImages(jig, progress)) state.SkipWithError("turn failed");
  }
}
BENCHMARK(BM_MakeRotatedImages12MP)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
}  // namespace varlo
