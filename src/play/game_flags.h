// The state flags of the running game that saving and the autosave read,
// and the autosave decision.
//
// bJigLoaded itself lives in FILE_NAMES (a game is open and playable).
#pragma once

#include <cstdint>

namespace varlo {

struct GameFlags {
  uint8_t bDirty = 0;      // changes the player has not saved
  uint8_t bAutoDirty = 0;  // changes since the last save of any kind
  uint8_t bBusy = 0;       // a user command runs; the autosave waits
  // Steady-clock time (Clock::NowMs) of the last autosave, or of the
  // opening of the game.
  int64_t LastAutosaveMs = 0;
};

// "A command is running" for as long as the scope lives. The flag is set
// on entry and put back as it was on exit, so a scope inside another (a
// save inside Open, a field command inside a window command) leaves it set
// until the outermost one ends. Every writer of bBusy goes through this.
// Null flags: nothing to mark (a headless field).
class BusyScope {
 public:
  explicit BusyScope(GameFlags* flags) : flags_(flags), before_(flags ? flags->bBusy : 0) {
    if (flags_) flags_->bBusy = 1;
  }
  explicit BusyScope(GameFlags& flags) : BusyScope(&flags) {}
  ~BusyScope() {
    if (flags_) flags_->bBusy = before_;
  }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  GameFlags* flags_;
  uint8_t before_;
};

// Every change to the game calls this.
void SetDirty(GameFlags& flags);

struct AutosaveSettings {
  uint8_t AutoSave_bEnabled = 1;
  int32_t AutoSave_iIntervalMin = 10;
};

// The autosave timer's decision, a pure function of the flags, the clock,
// whether a save is being written (the temporary save file exists) and
// whether a mouse button is held. The interval is measured on the steady
// clock, so changing the system time or a daylight-saving switch neither
// fires nor holds off an autosave. A held button (a drag under way) holds
// it off: the save's progress panel takes the field's input while it runs
// and would swallow the release that ends the drag.
bool AutosaveDue(uint8_t bJigLoaded, const GameFlags& flags, const AutosaveSettings& settings,
                 int64_t nowMs, bool saveTempExists, bool buttonHeld);

}  // namespace varlo
