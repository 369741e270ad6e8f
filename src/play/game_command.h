// The game's commands: every item of the main menu that does something,
// the toolbar buttons that run them and the words of varlo-tool's play
// scripts. Each has one name, MI_..., kept in one table here: it is the
// menu item's name, the key of its caption in the language files, and the
// script word.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace varlo {

enum class Command : int32_t {
  Menu,
  FileOpen,
  FileSave,
  FileSaveAs,
  FileSaveImage,
  FileDownload,
  FileLast0,  // the four recent files, in order
  FileLast1,
  FileLast2,
  FileLast3,
  GameWin1,
  GameWin2,
  GameThumb,
  GameBkgAll,
  GameBkgCur,
  GameInfo,
  GameSelectAll,
  GameArrange,
  GameGather,
  GameGlass,
  GameWeight,
  PocketsPocket1,  // the four pockets, in order
  PocketsPocket2,
  PocketsPocket3,
  PocketsPocket4,
  PocketsTile,
  PocketsCascade,
  Options,
  HelpCont,
  HelpQuick,
  HelpHomePage,
  HelpProductHomePage,
  HelpReport,
  HelpCredits,
  HelpAbout,
  FullScreen,
  Min,
  Exit,
};
inline constexpr int32_t kCommandCount = static_cast<int32_t>(Command::Exit) + 1;

// "MI_GameThumb" for Command::GameThumb.
std::string_view CommandName(Command command);
// The command of a name, exactly as CommandName spells it; nothing for any
// other text.
std::optional<Command> CommandByName(std::string_view name);

// Pocket p (0..3) and recent file k (0..3); -1 when the command is none of them.
Command PocketCommand(int32_t pocket);
int32_t PocketOfCommand(Command command);
Command RecentFileCommand(int32_t k);
int32_t RecentFileOfCommand(Command command);

}  // namespace varlo
