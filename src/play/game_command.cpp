// The command name table.
#include "play/game_command.h"

#include <array>

namespace varlo {
namespace {

constexpr std::array<std::string_view, kCommandCount> kNames = {
    "MI_Menu",
    "MI_FileOpen",
    "MI_FileSave",
    "MI_FileSaveAs",
    "MI_FileSaveImage",
    "MI_FileDownload",
    "MI_FileLast0",
    "MI_FileLast1",
    "MI_FileLast2",
    "MI_FileLast3",
    "MI_GameWin1",
    "MI_GameWin2",
    "MI_GameThumb",
    "MI_GameBkgAll",
    "MI_GameBkgCur",
    "MI_GameInfo",
    "MI_GameSelectAll",
    "MI_GameArrange",
    "MI_GameGather",
    "MI_GameGlass",
    "MI_GameWeight",
    "MI_PocketsPocket1",
    "MI_PocketsPocket2",
    "MI_PocketsPocket3",
    "MI_PocketsPocket4",
    "MI_PocketsTile",
    "MI_PocketsCascade",
    "MI_Options",
    "MI_HelpCont",
    "MI_HelpQuick",
    "MI_HelpHomePage",
    "MI_HelpProductHomePage",
    "MI_HelpReport",
    "MI_HelpCredits",
    "MI_HelpAbout",
    "MI_FullScreen",
    "MI_Min",
    "MI_Exit",
};

int32_t Offset(Command command, Command first, int32_t count) {
  const int32_t k = static_cast<int32_t>(command) - static_cast<int32_t>(first);
  return k >= 0 && k < count ? k : -1;
}

}  // namespace

std::string_view CommandName(Command command) {
  const auto i = static_cast<size_t>(command);
  return i < kNames.size() ? kNames[i] : std::string_view();
}

std::optional<Command> CommandByName(std::string_view name) {
  for (size_t i = 0; i < kNames.size(); ++i)
    if (kNames[i] == name) return static_cast<Command>(i);
  return std::nullopt;
}

Command PocketCommand(int32_t pocket) {
  return static_cast<Command>(static_cast<int32_t>(Command::PocketsPocket1) + pocket);
}

int32_t PocketOfCommand(Command command) { return Offset(command, Command::PocketsPocket1, 4); }

Command RecentFileCommand(int32_t k) {
  return static_cast<Command>(static_cast<int32_t>(Command::FileLast0) + k);
}

int32_t RecentFileOfCommand(Command command) { return Offset(command, Command::FileLast0, 4); }

}  // namespace varlo
