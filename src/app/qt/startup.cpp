#include "app/qt/startup.h"

#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QIcon>
#include <QTimer>

#include "app/qt/main_window.h"
#include "ui/qt/small_windows.h"

namespace varlo {

std::unique_ptr<TF_Main> RunEntrySequence(const QElapsedTimer& started, const StartupOptions& options) {
  QApplication::setApplicationName(kProductTitle);
  // Every window of the game carries the game's icon in its frame and in
  // the task bar; the desktop entry names the same picture.
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/varlo-jigsaw.svg")));
  QGuiApplication::setDesktopFileName(QStringLiteral("varlo-jigsaw"));

  // The about window as the splash, painted at once.
  auto splash = std::make_unique<TF_AboutVarloUsa>(true, nullptr);
  splash->show();
  splash->repaint();
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);

  // The windows in their order; the main window resolves the folders first.
  auto main = std::make_unique<TF_Main>(options.InstallDir);
  main->CreateDialogs();
  // A save that was cut short leaves its temporary file behind.
  QFile::remove(QString::fromStdString(main->Names().sSaveTemp));
  main->LoadToolbarSkin();
  main->SetReady();
  main->show();
  main->ReadSettings();
  splash->raise();

  // Hold the splash until the least time has passed, waiting in the event
  // loop (painting goes on, input waits) rather than spinning on the clock.
  const qint64 left = options.SplashMs - started.elapsed();
  if (left > 0) {
    QEventLoop wait;
    QTimer::singleShot(static_cast<int>(left), &wait, &QEventLoop::quit);
    wait.exec(QEventLoop::ExcludeUserInputEvents);
  }
  splash->hide();
  splash.reset();

  main->activateWindow();
  if (options.BeforeOpen) options.BeforeOpen(*main);
  main->StartupOpen();
  main->PlaceQuickHelp();
  return main;
}

}  // namespace varlo
