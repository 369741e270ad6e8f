// Start-up after the splash: the game's entry sequence with the splash held
// 0 ms, from the program's clock up to the start-up open dialog on the
// screen, on the offscreen platform (QT_QPA_PLATFORM chooses another). The
// player's home has been started in once before; the data tree is the
// build tree's, with its starter jigsaws.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QEvent>
#include <QTimer>

#include "support/temp_home.h"
#include "app/qt/main_window.h"
#include "app/qt/startup.h"
#include "browser/dirview.h"

namespace varlo {
namespace {

// Notes when the open dialog is first shown and closes it right away, so
// that the entry sequence returns.
class OpenDialogWatch : public QObject {
 public:
  explicit OpenDialogWatch(const QElapsedTimer& clock) : clock_(clock) {}
  qint64 shownAtNs = -1;

 protected:
  bool eventFilter(QObject* o, QEvent* e) override {
    if (e->type() == QEvent::Show && shownAtNs < 0) {
      if (auto* dialog = qobject_cast<TF_DirView*>(o)) {
        shownAtNs = clock_.nsecsElapsed();
        QTimer::singleShot(0, dialog, &QDialog::reject);
      }
    }
    return false;
  }

 private:
  const QElapsedTimer& clock_;
};

// One start; the time until the open dialog showed, -1 when it never did.
double StartOnce() {
  QElapsedTimer started;
  started.start();
  OpenDialogWatch watch(started);
  qApp->installEventFilter(&watch);
  StartupOptions options;
  options.SplashMs = 0;
  auto main = RunEntrySequence(started, options);
  qApp->removeEventFilter(&watch);
  main.reset();
  return watch.shownAtNs < 0 ? -1.0 : static_cast<double>(watch.shownAtNs) / 1e9;
}

void BM_StartUpToTheOpenDialog(benchmark::State& state) {
  // The first start of the process is a first run too (the starter files
  // are copied, fonts and plugins load): reported apart, not counted.
  const double first = StartOnce();
  if (first < 0) {
    state.SkipWithError("the open dialog never showed");
    return;
  }
  state.counters["first_run_ms"] = first * 1000;
  for (auto _ : state) {
    const double seconds = StartOnce();
    if (seconds < 0) {
      state.SkipWithError("the open dialog never showed");
      return;
    }
    state.SetIterationTime(seconds);
  }
}
BENCHMARK(BM_StartUpToTheOpenDialog)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace
}  // namespace varlo

int main(int argc, char** argv) {
  varlo::testing::TempHome home;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
