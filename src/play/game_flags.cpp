// Change marking and the autosave decision.
#include "play/game_flags.h"

namespace varlo {

void SetDirty(GameFlags& flags) {
  flags.bDirty = 1;
  flags.bAutoDirty = 1;
}

bool AutosaveDue(uint8_t bJigLoaded, const GameFlags& flags, const AutosaveSettings& settings,
                 int64_t nowMs, bool saveTempExists, bool buttonHeld) {
  if (!bJigLoaded || !settings.AutoSave_bEnabled || !flags.bAutoDirty || flags.bBusy || buttonHeld)
    return false;
  const int64_t minutes = settings.AutoSave_iIntervalMin < 0 ? 0 : settings.AutoSave_iIntervalMin;
  if (nowMs - flags.LastAutosaveMs < minutes * 60 * 1000) return false;
  return !saveTempExists;
}

}  // namespace varlo
