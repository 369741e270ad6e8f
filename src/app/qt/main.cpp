// varlo-jigsaw: the desktop game.
#include <QApplication>
#include <QElapsedTimer>

#include "app/qt/main_window.h"
#include "app/qt/startup.h"

int main(int argc, char** argv) {
  QElapsedTimer started;
  started.start();
  QApplication app(argc, argv);
  auto window = varlo::RunEntrySequence(started, varlo::StartupOptions{});
  return app.exec();
}
