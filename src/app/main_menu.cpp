#include "app/main_menu.h"

namespace varlo {
namespace {

MenuItem Item(Command command, const char* caption, int32_t key = 0, int32_t mods = 0) {
  MenuItem m;
  m.Name = CommandName(command);
  m.Cmd = command;
  m.Caption = caption;
  m.Key = key;
  m.Mods = mods;
  m.KeyText = ShortcutText(key, mods);
  return m;
}

MenuItem Submenu(const char* name, const char* caption) {
  MenuItem m;
  m.Name = name;
  m.Caption = caption;
  return m;
}

MenuItem Separator(const char* name = "") {
  MenuItem m;
  m.Name = name;
  m.Caption = "-";
  m.Separator = true;
  return m;
}

}  // namespace

std::string ShortcutText(int32_t key, int32_t mods) {
  if (key == 0) return {};
  std::string s;
  if (mods & kModCtrl) s += "Ctrl+";
  if (mods & kModAlt) s += "Alt+";
  if (mods & kModShift) s += "Shift+";
  if (key == kKeySpace)
    s += "Space";
  else if (key >= kKeyF1 && key < kKeyF1 + 12)
    s += "F" + std::to_string(key - kKeyF1 + 1);
  else if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9'))
    s += static_cast<char>(key);
  else
    s += "#" + std::to_string(key);
  return s;
}

int32_t MainMenu::Add(const MenuItem& item, int32_t parent) {
  const int32_t index = static_cast<int32_t>(items_.size());
  items_.push_back(item);
  items_.back().Parent = parent;
  if (parent < 0)
    top_.push_back(index);
  else
    items_[static_cast<size_t>(parent)].Children.push_back(index);
  return index;
}

MainMenu::MainMenu() {
  MenuItem menu = Item(Command::Menu, "Menu (hidden)", 'M');
  menu.Visible = false;
  Add(menu, -1);

  const int32_t file = Add(Submenu("MI_File", "File"), -1);
  Add(Item(Command::FileOpen, "Open", 'O'), file);
  Add(Item(Command::FileSave, "Save", 'S'), file);
  Add(Item(Command::FileSaveAs, "Save As", 'S', kModShift), file);
  Add(Separator(), file);
  Add(Item(Command::FileSaveImage, "Save Solved Image"), file);
  Add(Separator("MI_FileDownloadSep"), file);
  Add(Item(Command::FileDownload, "Download Jigsaws", 'D'), file);
  MenuItem lastSep = Separator("MI_FileLastSep");
  lastSep.Visible = false;
  Add(lastSep, file);
  for (int32_t k = 0; k < 4; ++k) {
    const std::string caption = "Last" + std::to_string(k);
    MenuItem last = Item(RecentFileCommand(k), caption.c_str());
    last.Tag = 100 + k;
    last.Enabled = false;
    last.Visible = false;
    Add(last, file);
  }

  Add(Separator(), -1);
  const int32_t game = Add(Submenu("MI_Game", "Game"), -1);
  for (Command side : {Command::GameWin1, Command::GameWin2}) {
    MenuItem m = Item(side, side == Command::GameWin1 ? "First Win" : "Second Win");
    m.KeyText = "Space";  // the window handles Space itself
    m.Checkable = true;
    Add(m, game);
  }
  Add(Separator(), game);
  MenuItem thumb = Item(Command::GameThumb, "Thumbnail", 'T');
  thumb.Checkable = true;
  Add(thumb, game);
  Add(Separator(), game);
  Add(Item(Command::GameBkgAll, "Bkg for All Wins", 'B'), game);
  Add(Item(Command::GameBkgCur, "Bkg for Cur Win", 'B', kModShift), game);
  Add(Separator(), game);
  Add(Item(Command::GameInfo, "Info", 'I'), game);
  Add(Separator(), game);
  Add(Item(Command::GameSelectAll, "Select All", 'A'), game);
  Add(Item(Command::GameArrange, "Arrange", 'R'), game);
  Add(Item(Command::GameGather, "Gather"), game);
  Add(Separator(), game);
  MenuItem glass = Item(Command::GameGlass, "Glass", 'G');
  glass.Checkable = true;
  Add(glass, game);
  MenuItem weight = Item(Command::GameWeight, "Weight", 'W');
  weight.Checkable = true;
  Add(weight, game);

  Add(Separator(), -1);
  const int32_t pockets = Add(Submenu("MI_Pockets", "Pockets"), -1);
  for (int32_t k = 1; k <= 4; ++k) {
    const std::string caption = "Pocket " + std::to_string(k);
    MenuItem m = Item(PocketCommand(k - 1), caption.c_str(), '0' + k);
    m.Checkable = true;
    Add(m, pockets);
  }
  Add(Separator(), pockets);
  Add(Item(Command::PocketsTile, "Tile", 'L'), pockets);
  Add(Item(Command::PocketsCascade, "Cascade", 'C'), pockets);

  Add(Separator(), -1);
  Add(Item(Command::Options, "Options"), -1);
  Add(Separator(), -1);
  const int32_t help = Add(Submenu("MI_Help", "Help"), -1);
  Add(Item(Command::HelpCont, "Contents", kKeyF1), help);
  Add(Item(Command::HelpQuick, "Quick Help"), help);
  Add(Separator(), help);
  Add(Item(Command::HelpHomePage, "Tovak Games Home"), help);
  Add(Item(Command::HelpProductHomePage, "Product Home"), help);
  Add(Separator(), help);
  Add(Item(Command::HelpReport, "Create Report"), help);
  Add(Separator(), help);
  Add(Item(Command::HelpCredits, "Credits"), help);
  Add(Item(Command::HelpAbout, "About"), help);
  Add(Separator(), -1);
  MenuItem full = Item(Command::FullScreen, "Full Screen", 'U');
  full.Checkable = true;
  Add(full, -1);
  Add(Separator(), -1);
  Add(Item(Command::Min, "Minimize"), -1);
  Add(Item(Command::Exit, "Exit"), -1);
}

int32_t MainMenu::IndexOf(std::string_view name) const {
  if (name.empty()) return -1;
  for (size_t i = 0; i < items_.size(); ++i)
    if (items_[i].Name == name) return static_cast<int32_t>(i);
  return -1;
}

MenuItem* MainMenu::Find(std::string_view name) {
  const int32_t i = IndexOf(name);
  return i < 0 ? nullptr : &items_[static_cast<size_t>(i)];
}

const MenuItem* MainMenu::Find(std::string_view name) const {
  const int32_t i = IndexOf(name);
  return i < 0 ? nullptr : &items_[static_cast<size_t>(i)];
}

MenuItem* MainMenu::Find(Command command) {
  for (MenuItem& m : items_)
    if (m.Cmd == command) return &m;
  return nullptr;
}

const MenuItem* MainMenu::Find(Command command) const {
  for (const MenuItem& m : items_)
    if (m.Cmd == command) return &m;
  return nullptr;
}

bool MainMenu::Enabled(Command command) const {
  const MenuItem* m = Find(command);
  return m && m->Enabled;
}

bool MainMenu::Enabled(std::string_view name) const {
  const MenuItem* m = Find(name);
  return m && m->Enabled;
}

const MenuItem* MainMenu::MatchIn(const std::vector<int32_t>& list, int32_t key, int32_t mods,
                                  bool* stop) const {
  for (int32_t index : list) {
    const MenuItem& m = items_[static_cast<size_t>(index)];
    if (m.Separator) continue;
    if (m.Key != 0 && m.Key == key && m.Mods == mods) {
      *stop = true;
      return m.Enabled ? &m : nullptr;
    }
    if (m.Enabled && !m.Children.empty()) {
      const MenuItem* found = MatchIn(m.Children, key, mods, stop);
      if (*stop) return found;
    }
  }
  return nullptr;
}

const MenuItem* MainMenu::MatchShortcut(int32_t key, int32_t mods) const {
  if (key == 0) return nullptr;
  bool stop = false;
  return MatchIn(top_, key, mods & (kModShift | kModAlt | kModCtrl), &stop);
}

}  // namespace varlo
