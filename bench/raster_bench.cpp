// The raster operations on the game's reference sizes: a 12 MP picture
// (4000 x 3000), its key map with the 5-pixel margin, and a 1920 x 1080 field.
#include <benchmark/benchmark.h>

#include "raster/dib.h"

namespace varlo {
namespace {

// A picture with some texture, so that no loop sees only one colour.
DIB_P MakePicture(int32_t w, int32_t h, bool alpha) {
  DIB_P d;
  if (!(alpha ? DibCreate32(d, w, h) : DibCreate24(d, w, h))) return d;
  for (int32_t y = 0; y < h; ++y) {
    uint8_t* p = DibRow(d, y);
    for (int32_t x = 0; x < w; ++x, p += d.BytesPerPixel) {
      p[0] = static_cast<uint8_t>(x * 3 + y);
      p[1] = static_cast<uint8_t>(x ^ y);
      p[2] = static_cast<uint8_t>(y * 5 - x);
      // Alpha: whole runs of clear, opaque and blended pixels, as a piece
      // shadow or a skin has.
      if (alpha) p[3] = static_cast<uint8_t>((x / 64 + y / 64) % 3 == 0 ? 0 : ((x / 64) % 3 == 1 ? 255 : (x + y) & 255));
    }
  }
  return d;
}

// What a new 12 MP bitmap costs by itself (allocation and zeroing), the
// floor under every operation that makes its result fresh.
void BM_Create12MP(benchmark::State& state) {
  for (auto _ : state) {
    DIB_P d;
    DibCreate24(d, 4000, 3000);
    benchmark::DoNotOptimize(d.Bits);
  }
}
BENCHMARK(BM_Create12MP)->Unit(benchmark::kMillisecond);

void BM_Rotate90(benchmark::State& state) {
  const DIB_P src = MakePicture(4000, 3000, false);
  DIB_P dst;
  for (auto _ : state) {
    DibRotate90(dst, src);
    benchmark::DoNotOptimize(dst.Bits);
  }
}
BENCHMARK(BM_Rotate90)->Unit(benchmark::kMillisecond);

void BM_Rotate90Margin(benchmark::State& state) {
  const DIB_P src = MakePicture(4005, 3005, false);
  DIB_P dst;
  for (auto _ : state) {
    DibRotate90Margin(dst, src, 5);
    benchmark::DoNotOptimize(dst.Bits);
  }
}
BENCHMARK(BM_Rotate90Margin)->Unit(benchmark::kMillisecond);

void BM_Scale(benchmark::State& state) {
  const DIB_P src = MakePicture(4000, 3000, false);
  DIB_P dst;
  DibCreate24(dst, static_cast<int32_t>(state.range(0)), static_cast<int32_t>(state.range(1)));
  for (auto _ : state) {
    DibScale(dst, src);
    benchmark::DoNotOptimize(dst.Bits);
  }
}
BENCHMARK(BM_Scale)->Args({2000, 1500})->Args({1920, 1440})->Unit(benchmark::kMillisecond);

void BM_FloodFill12MP(benchmark::State& state) {
  // A 12 MP area with a few walls across it, filled back and forth between
  // two colours so that every round fills the whole area again.
  DIB_P d = MakePicture(4000, 3000, false);
  DibFillRect(d, 0, 0, 4000, 3000, 0);
  for (int32_t y = 100; y < 3000; y += 400) {
    DibLine(d, 0, y, 3900, y, MakeRGB(255, 255, 255));
    DibLine(d, 100, y + 200, 3999, y + 200, MakeRGB(255, 255, 255));
  }
  uint32_t colour = MakeRGB(0, 0, 200);
  uint32_t seed = 0;
  for (auto _ : state) {
    XRECT bounds;
    DibFloodFill(d, 10, 10, colour, &bounds);
    benchmark::DoNotOptimize(bounds);
    std::swap(colour, seed);
  }
}
BENCHMARK(BM_FloodFill12MP)->Unit(benchmark::kMillisecond);

void BM_DrawField(benchmark::State& state) {
  const bool alpha = state.range(0) != 0;
  const DIB_P src = MakePicture(1920, 1080, alpha);
  DIB_P dst = MakePicture(1920, 1080, false);
  XRECT clip;
  RectSetXYWH(clip, 0, 0, 1920, 1080);
  for (auto _ : state) {
    DibDraw(dst, 0, 0, clip, src, 0, 0, 1920, 1080, 1920, 1080);
    benchmark::DoNotOptimize(dst.Bits);
  }
}
BENCHMARK(BM_DrawField)->Arg(0)->Arg(1)->ArgName("alpha")->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace varlo
