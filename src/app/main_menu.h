// The main window's pop-up menu as the game keeps it: every item with its
// caption, shortcut, enabled, visible and checked state, and the rules by
// which a released key finds its command.
//
// The window has no menu bar; all commands live in one pop-up menu and the
// window dispatches the shortcuts itself. The desktop builds its menu from
// this tree and mirrors every state change; the key rules are here so they
// can be checked without a display.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "play/game_command.h"

namespace varlo {

// Key codes of the shortcuts: letters and digits are their upper-case ASCII
// codes, the rest the classic virtual-key numbers.
enum KeyCodes : int32_t {
  kKeySpace = 0x20,
  kKeyEscape = 0x1B,
  kKeyReturn = 0x0D,
  kKeyF1 = 0x70,
};
// Modifier bits of a key (the same bits the play options use).
enum KeyMods : int32_t { kModShift = 1, kModAlt = 2, kModCtrl = 4 };

struct MenuItem {
  std::string Name;      // MI_...: the command's name, or a submenu's or separator's
  std::optional<Command> Cmd;  // what the item runs; none for submenus and separators
  std::string Caption;   // design caption; the language file replaces it
  int32_t Key = 0;       // shortcut key, 0 for none
  int32_t Mods = 0;      // its modifiers, matched exactly
  std::string KeyText;   // what the menu shows as the shortcut ("Space" for the sides)
  bool Separator = false;
  bool Enabled = true;
  bool Visible = true;
  bool Checked = false;
  bool Checkable = false;
  int32_t Tag = 0;       // the recent-file items carry 100..103
  int32_t Parent = -1;   // index of the submenu item, -1 at the top
  std::vector<int32_t> Children;
};

class MainMenu {
 public:
  // The whole tree with the design captions and shortcuts.
  MainMenu();

  const std::vector<MenuItem>& Items() const { return items_; }
  const std::vector<int32_t>& TopLevel() const { return top_; }
  // -1 for a name that is not in the menu.
  int32_t IndexOf(std::string_view name) const;
  MenuItem* Find(std::string_view name);
  const MenuItem* Find(std::string_view name) const;
  MenuItem* Find(Command command);
  const MenuItem* Find(Command command) const;
  MenuItem& At(int32_t index) { return items_[static_cast<size_t>(index)]; }
  bool Enabled(std::string_view name) const;
  bool Enabled(Command command) const;

  // The item a key released with exactly these modifiers runs, or null:
  // the top-level items are walked in order; an item whose shortcut matches
  // ends the search (it runs when enabled); an enabled submenu is searched
  // the same way, a disabled one is not, so the game shortcuts do nothing
  // while no game is open.
  const MenuItem* MatchShortcut(int32_t key, int32_t mods) const;

 private:
  int32_t Add(const MenuItem& item, int32_t parent);
  const MenuItem* MatchIn(const std::vector<int32_t>& list, int32_t key, int32_t mods,
                          bool* stop) const;
  std::vector<MenuItem> items_;
  std::vector<int32_t> top_;
};

// "Shift+S", "F1", "4": the text of a shortcut as the menu and the toolbar
// hints show it; empty for no key.
std::string ShortcutText(int32_t key, int32_t mods);

// Only a key released after its own key press acts: a release without its
// press (pressed before the window had the focus, or while the progress
// panel was up) does nothing, and a held key acts once. The shortcut is the
// key with the modifiers held at its press: a Shift let go right after the
// key can reach the window before the key's release does, and the release
// then carries no Shift (Shift+S would run Save instead of Save As).
class KeyGate {
 public:
  void Down(int32_t key, int32_t mods = 0) {
    last_ = key;
    mods_ = mods;
  }
  // True when this release belongs to the last press; the press is
  // forgotten then.
  bool Up(int32_t key) {
    if (key == 0 || key != last_) return false;
    last_ = 0;
    return true;
  }
  void Forget() { last_ = 0; }
  int32_t Last() const { return last_; }
  // The modifiers held when the last key went down.
  int32_t Mods() const { return mods_; }

 private:
  int32_t last_ = 0;
  int32_t mods_ = 0;
};

}  // namespace varlo
