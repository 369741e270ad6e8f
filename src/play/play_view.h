// What the play field tells the main window: menu check marks, enabled
// commands, captions, toolbar buttons, the area of the field to show, the
// finish window and the file dialog of the solved image. The main window
// implements it; tests record it. Every call has a do-nothing default so a
// headless field (varlo-tool) needs no window at all.
#pragma once

#include <cstdint>
#include <string>

#include "play/game_command.h"
#include "raster/rect.h"

namespace varlo {

// Toolbar buttons the play field drives.
enum ToolButtonIndex : int32_t {
  kTbBkgCur = 4,
  kTbSide1 = 5,
  kTbSide2 = 6,
  kTbThumb = 7,
  kTbPocket1 = 9,  // 9..12
  kTbSelectAll = 13,
  kTbWeight = 16,
};

class PlayView {
 public:
  virtual ~PlayView() = default;
  // The field picture changed inside area (field coordinates): show it.
  virtual void ShowField(const XRECT& /*area*/) {}
  virtual void SetMenuChecked(Command /*item*/, bool /*checked*/) {}
  virtual void SetMenuEnabled(Command /*item*/, bool /*enabled*/) {}
  virtual void SetMenuCaption(Command /*item*/, const std::string& /*caption*/) {}
  // image: the toolbar image to show, or -1 to keep it.
  virtual void SetToolButton(int32_t /*button*/, int32_t /*image*/, bool /*down*/) {}
  virtual void SetToolEnabled(int32_t /*button*/, bool /*enabled*/) {}
  virtual void RefreshToolHint(int32_t /*button*/) {}
  // Pockets show "full" or "empty" on their toolbar buttons.
  virtual void SetPocketButton(int32_t /*pocket*/, bool /*shown*/, bool /*holdsGroups*/) {}
  // The toolbar forgets the button under the pointer (the pointer is on the field).
  virtual void ClearToolbarHover() {}
  // The main window's rectangle on the screen, and a new right-bottom corner
  // for it (a side's corner box resizes the main window).
  virtual XRECT MainWindowRect() { return XRECT{}; }
  virtual void ResizeMainWindow(int32_t /*right*/, int32_t /*bottom*/) {}
  // The finish window, modal; true when it ended with OK (save the picture).
  virtual bool ShowFinish() { return false; }
  // The save dialog of the solved image: start folder and file name; the
  // chosen path, or empty for Cancel.
  virtual std::string AskSolvedImagePath(const std::string& /*folder*/, const std::string& /*name*/) {
    return {};
  }
  // The date in the player's short date format.
  virtual std::string ShortDate() { return {}; }
  // The solved image could not be written.
  virtual void ReportError(const std::string& /*message*/) {}
};

}  // namespace varlo
