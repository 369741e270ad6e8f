// The autosave decision and the change marker.
#include <gtest/gtest.h>

#include "play/game_flags.h"

using namespace varlo;

TEST(Autosave, SetDirtyMarksBothKindsOfChange) {
  GameFlags f;
  SetDirty(f);
  EXPECT_EQ(f.bDirty, 1);
  EXPECT_EQ(f.bAutoDirty, 1);
  EXPECT_EQ(f.bBusy, 0);
}

TEST(Autosave, DueOnlyWhenEverythingAllows) {
  constexpr int64_t kMin = 60 * 1000;
  struct Case {
    const char* name;
    uint8_t loaded, autoDirty, busy, enabled;
    int32_t interval;
    int64_t sinceLastMs;
    bool tempExists;
    bool due;
    bool buttonHeld = false;
  } cases[] = {
      {"interval passed", 1, 1, 0, 1, 10, 10 * kMin, false, true},
      {"just short of the interval", 1, 1, 0, 1, 10, 10 * kMin - 1, false, false},
      {"long past", 1, 1, 0, 1, 10, 500 * kMin, false, true},
      {"no game open", 0, 1, 0, 1, 10, 20 * kMin, false, false},
      {"nothing changed since the last save", 1, 0, 0, 1, 10, 20 * kMin, false, false},
      {"a command is running", 1, 1, 1, 1, 10, 20 * kMin, false, false},
      {"switched off", 1, 1, 0, 0, 10, 20 * kMin, false, false},
      {"a save is being written", 1, 1, 0, 1, 10, 20 * kMin, true, false},
      {"one-minute interval", 1, 1, 0, 1, 1, kMin, false, true},
      {"interval 0: every tick", 1, 1, 0, 1, 0, 0, false, true},
      {"negative interval counts as 0", 1, 1, 0, 1, -5, 0, false, true},
      {"a mouse button is held (a drag)", 1, 1, 0, 1, 10, 20 * kMin, false, false, true},
      {"held at every tick", 1, 1, 0, 1, 0, 0, false, false, true},
  };
  for (const Case& c : cases) {
    GameFlags f;
    f.bAutoDirty = c.autoDirty;
    f.bBusy = c.busy;
    f.LastAutosaveMs = 1'000'000;
    AutosaveSettings s;
    s.AutoSave_bEnabled = c.enabled;
    s.AutoSave_iIntervalMin = c.interval;
    EXPECT_EQ(AutosaveDue(c.loaded, f, s, f.LastAutosaveMs + c.sinceLastMs, c.tempExists, c.buttonHeld), c.due)
        << c.name;
  }
}
