// The play field at the largest jigsaw size: 4000 pieces spread over a
// 1920 x 1080 field. One pointer move while a 100-piece group is dragged,
// a full recompose of the field, a drop that snaps, and the glass moved
// over the field.
#include <benchmark/benchmark.h>

#include "../tests/support/play_jigsaw.cpp"  // the small jigsaws of the tests, at full size
#include "app/settings.h"
#include "cut/refresh_effects.h"
#include "platform/platform.h"

namespace varlo {
using testing::Probe;

namespace {

constexpr int32_t kFieldW = 1920, kFieldH = 1080;
constexpr int32_t kCols = 80, kRows = 50;  // 4000 pieces of 24 pixels: a 1920 x 1200 picture

class QuietClock : public Clock {
 public:
  int64_t NowMs() override { return now; }
  int64_t WallSeconds() override { return 1700000000; }
  int64_t now = 0;
};

struct Game {
  QuietClock clock;
  Platform platform;
  Jigsaw jig;
  std::unique_ptr<PlayField> field;

  // look: 0 plain pieces, 1 embossed, 2 embossed with shadows (the
  // game's default look, with edge-effect layers).
  explicit Game(int look, int threads = 1) {
    platform.Time = &clock;
    testing::PlayJigsawSpec spec;
    spec.Cols = kCols;
    spec.Rows = kRows;
    spec.Cell = 24;
    spec.Knob = 5;
    testing::MakePlayJigsaw(jig, spec);
    if (look == 2) {
      NullProgress progress;
      RefreshEffects(jig, 1, 2, progress);
    }
    field = std::make_unique<PlayField>(platform);
    Probe(field).ComposeThreads() = threads;
    Probe(field).options().Look.EmbossStyle = look != 0 ? 1 : 0;
    if (look == 2) {
      Probe(field).options().Look.WoodStyle = 2;
      Probe(field).options().Look.EdgeW = WoodEdgeWidth(2);
    }
    field->Resize(kFieldW, kFieldH, kFieldW, kFieldH);
    field->OpenGame(&jig);
    PlayArea area{Probe(field).CW(), Probe(field).CH(), kFieldW, kFieldH};
    RandomGenerator random(7);
    SpreadPieces(jig, 0, true, area, random);
    // A 10 x 10 block of the picture joined into one group, in the middle.
    for (int32_t gy = 0; gy < 10; ++gy)
      for (int32_t gx = 0; gx < 10; ++gx) {
        TILE_P& t = jig.Tiles[gy * kCols + gx];
        t.Group = 0;
        t.X = 700 + t.BoxX;
        t.Y = 400 + t.BoxY;
      }
    BringToFront(jig, 0, -1);
    field->Present();
  }
};

void BM_DragMoveOfA100PieceGroup(benchmark::State& state) {
  Game g(static_cast<int>(state.range(0)));
  PlayField& f = *g.field;
  int32_t cx, cy;
  testing::OwnPoint(g.jig, 0, cx, cy);
  f.PointerDown(kMbLeft, 0, cx, cy);
  if (Probe(f).DragState() != kDragPieces) state.SkipWithError("the group was not picked");
  int32_t step = 0;
  for (auto _ : state) {
    ++step;
    const int32_t dx = (step % 40) * 3, dy = (step % 25) * 2;
    f.PointerMove(kHeldLeft, 0, cx + dx, cy + dy);
    benchmark::DoNotOptimize(Probe(f).FieldImg().Bits);
  }
}
BENCHMARK(BM_DragMoveOfA100PieceGroup)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// Arguments: the look, the compose threads. CPU time is the whole
// process's, both threads together.
void BM_FullRecompose(benchmark::State& state) {
  Game g(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  PlayField& f = *g.field;
  for (auto _ : state) {
    Probe(f).Compose(Probe(f).FieldImg(), Probe(f).FieldClip(), kComposeAll);
    benchmark::DoNotOptimize(Probe(f).FieldImg().Bits);
  }
}
BENCHMARK(BM_FullRecompose)
    ->ArgsProduct({{0, 1, 2}, {1, 2}})
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

// The first compose of a game just opened, which also makes the paint
// list of every piece in view (the default look, the game's two threads).
void BM_FirstComposeAfterOpening(benchmark::State& state) {
  Game g(2, 2);
  PlayField& f = *g.field;
  for (auto _ : state) {
    state.PauseTiming();
    f.OpenGame(&g.jig);  // drops the lists
    state.ResumeTiming();
    Probe(f).Compose(Probe(f).FieldImg(), Probe(f).FieldClip(), kComposeAll);
    benchmark::DoNotOptimize(Probe(f).FieldImg().Bits);
  }
}
BENCHMARK(BM_FirstComposeAfterOpening)->MeasureProcessCPUTime()->UseRealTime()->Unit(benchmark::kMillisecond);

// Pick a loose piece, drop it beside its neighbour (it joins, the field is
// recomposed and presented), then put the table back for the next round.
void BM_SnappingDrop(benchmark::State& state) {
  Game g(0);
  PlayField& f = *g.field;
  Probe(g.field).options().ShowJoins = true;
  const int32_t piece = 25 * kCols + 40, neighbour = piece - 1;
  TILE_P& n = g.jig.Tiles[neighbour];
  n.X = 1200;
  n.Y = 300;
  SortPieces(g.jig, false);
  const std::vector<TILE_P> start = g.jig.Tiles;
  for (auto _ : state) {
    state.PauseTiming();
    g.jig.Tiles = start;
    SortPieces(g.jig, false);
    f.Invalidate();
    int32_t cx, cy;
    testing::OwnPoint(g.jig, piece, cx, cy);
    const TILE_P& t = g.jig.Tiles[piece];
    const int32_t gx = cx - t.X, gy = cy - t.Y;
    const int32_t tx = n.X + 24 + 2 + gx, ty = n.Y - 1 + gy;
    state.ResumeTiming();
    f.PointerDown(kMbLeft, 0, cx, cy);
    f.PointerMove(kHeldLeft, 0, tx, ty);
    f.PointerUp(kMbLeft, 0, tx, ty);
    if (Probe(f).JoinCount() == 0) state.SkipWithError("no join");
    g.clock.now += 1000;
  }
}
BENCHMARK(BM_SnappingDrop)->Unit(benchmark::kMillisecond);

// Moving the glass over the 4000-piece field with the default look: each
// pointer move puts the field back where the glass was and draws the lens
// anew, magnifying (zoom 2) what lies under it. Argument: the glass's side.
void BM_GlassMove(benchmark::State& state) {
  Game g(2, 2);
  PlayField& f = *g.field;
  PlaySkins skins;
  testing::MakeTestSkins(skins);
  f.SetSkins(std::move(skins));
  f.RunCommand(Command::GameGlass);
  const int32_t side = static_cast<int32_t>(state.range(0));
  TMyWin& w = Probe(f).Glass();
  RectSetXYWH(w.Outer, 600, 300, side, side);
  SetSize(w, false, 0, 0);
  Probe(f).LensA() = w.Client.Width / 2.0;
  Probe(f).LensB() = w.Client.Height / 2.0;
  Probe(f).MakeLensMask();
  f.Invalidate();
  // Pressed on the housing's left edge, where the test skin is opaque.
  const int32_t px = w.Outer.Left + 5, py = w.Outer.Top + 40;
  f.PointerDown(kMbLeft, 0, px, py);
  if (Probe(f).Frame().Code != kHitMove) state.SkipWithError("the glass was not taken");
  int32_t step = 0;
  for (auto _ : state) {
    ++step;
    const int32_t dx = (step % 40) * 7, dy = (step % 25) * 5;
    f.PointerMove(kHeldLeft, 0, px + dx, py + dy);
    benchmark::DoNotOptimize(Probe(f).FieldImg().Bits);
  }
}
BENCHMARK(BM_GlassMove)->Arg(240)->Arg(480)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace varlo
