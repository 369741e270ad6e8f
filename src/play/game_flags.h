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

// Every change to the game calls this.
void SetDirty(GameFlags& flags);

struct AutosaveSettings {
  uint8_t AutoSave_bEnabled = 1;
  int32_t AutoSave_iIntervalMin = 10;
};

// The autosave timer's decision, a pure function of the flags, the clock and
// whether a save is being written (the temporary save file exists). The
// interval is measured on the steady clock, so changing the system time or
// a daylight-saving switch neither fires nor holds off an autosave.
bool AutosaveDue(uint8_t bJigLoaded, const GameFlags& flags, const AutosaveSettings& settings,
                 int64_t nowMs, bool saveTempExists);

}  // namespace varlo
