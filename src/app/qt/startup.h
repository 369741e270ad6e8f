// The program's entry sequence: the splash, the windows in their order,
// the settings, the splash held for at least two seconds from the start,
// the start-up open dialog and the quick help beside the main window.
#pragma once

#include <QElapsedTimer>
#include <functional>
#include <memory>
#include <string>

namespace varlo {

class TF_Main;

struct StartupOptions {
  std::string InstallDir;   // empty: FindInstallDir()
  int SplashMs = 2000;      // the least time the splash stays up
  // Runs after the windows exist and before the start-up open dialog
  // (tests script the dialogs here).
  std::function<void(TF_Main&)> BeforeOpen;
};

// Runs the sequence up to the message loop and returns the main window.
// started: the clock started at the program's entry.
std::unique_ptr<TF_Main> RunEntrySequence(const QElapsedTimer& started, const StartupOptions& options);

}  // namespace varlo
