#include "app/toolbar_layout.h"

#include <cstddef>

namespace varlo {

const std::array<ToolButtonDef, kToolButtonCount> kToolButtons = {{
    {"BI_Open", 0, Command::FileOpen},
    {"BI_Save", 1, Command::FileSave},
    {"BI_Download", 2, Command::FileDownload},
    {"BI_BkgAll", 3, Command::GameBkgAll},
    {"BI_BkgCur", 4, Command::GameBkgCur},
    {"BI_Win1", 5, Command::GameWin1},
    {"BI_Win2", 6, Command::GameWin2},
    {"BI_Thumb", 7, Command::GameThumb},
    {"BI_Info", 8, Command::GameInfo},
    {"BI_Pocket1", 9, Command::PocketsPocket1},
    {"BI_Pocket2", 9, Command::PocketsPocket2},
    {"BI_Pocket3", 9, Command::PocketsPocket3},
    {"BI_Pocket4", 9, Command::PocketsPocket4},
    {"BI_SelectAll", 11, Command::GameSelectAll},
    {"BI_Arrange", 12, Command::GameArrange},
    {"BI_Glass", 13, Command::GameGlass},
    {"BI_Weight", 14, Command::GameWeight},
    {"BI_Options", 16, Command::Options},
    {"BI_Help", 17, Command::HelpCont},
    {"BI_App", 18, Command::Menu},
    {"BI_Min", 19, Command::Min},
    {"BI_FullScreen", 21, Command::FullScreen},
    {"BI_Close", 20, Command::Exit},
}};

ToolbarGaps ToolbarGapsFor(int32_t w, bool fullScreen) {
  if (w <= 640) return {10, 1};
  if (w <= 800) return {fullScreen ? 8 : 12, 2};
  if (w <= 1024) return {fullScreen ? 20 : 24, 8};
  return {26, 10};
}

std::array<ToolButtonPlace, kToolButtonCount> LayoutToolbar(int32_t w, bool fullScreen) {
  const ToolbarGaps g = ToolbarGapsFor(w, fullScreen);
  std::array<ToolButtonPlace, kToolButtonCount> places{};
  places[kBiApp].X = 4;
  int32_t right = places[kBiApp].X + kToolButtonSize;
  // Left to right, each with the gap before it.
  struct Step {
    int32_t Button;
    bool Inside;
  };
  static constexpr Step kOrder[] = {
      {kBiOpen, false},      {kBiSave, true},       {kBiDownload, false},  {kBiBkgAll, false},
      {kBiBkgCur, true},     {kBiThumb, false},     {kBiInfo, false},      {kBiWin1, false},
      {kBiWin2, true},       {kBiPocket1, false},   {kBiPocket2, true},    {kBiPocket3, true},
      {kBiPocket4, true},    {kBiSelectAll, false}, {kBiArrange, true},    {kBiGlass, false},
      {kBiWeight, false},    {kBiFullScreen, false}, {kBiOptions, false},  {kBiHelp, false},
  };
  for (const Step& s : kOrder) {
    ToolButtonPlace& p = places[static_cast<std::size_t>(s.Button)];
    p.X = right + (s.Inside ? g.Inside : g.Between);
    right = p.X + p.Width;
  }
  ToolButtonPlace& close = places[kBiClose];
  ToolButtonPlace& min = places[kBiMin];
  close.Width = min.Width = kToolButtonNarrow;
  close.X = w - 30;
  min.X = close.X - g.Inside - kToolButtonNarrow;
  close.Visible = min.Visible = fullScreen;
  return places;
}

}  // namespace varlo
