// The main window's toolbar: its 23 buttons, where their faces sit in the
// toolbar skin, which menu item each runs, and where they stand for a given
// window width.
#pragma once

#include <array>
#include <cstdint>

#include "play/game_command.h"

namespace varlo {

inline constexpr int32_t kToolButtonCount = 23;
inline constexpr int32_t kToolbarHeight = 35;
inline constexpr int32_t kToolButtonSize = 29;   // faces are 29 x 29
inline constexpr int32_t kToolButtonNarrow = 25; // BI_Min and BI_Close
inline constexpr int32_t kToolButtonTop = 2;

// The toolbar skin: 22 columns 30 pixels apart, rows for the normal, the
// hot (or pressed) and the disabled face.
inline constexpr int32_t kToolSkinColumns = 22;
inline constexpr int32_t kToolSkinPitch = 30;
enum ToolFace : int32_t { kFaceNormal = 0, kFaceHot = 1, kFaceDisabled = 2 };

enum ToolButton : int32_t {
  kBiOpen = 0, kBiSave, kBiDownload, kBiBkgAll, kBiBkgCur, kBiWin1, kBiWin2, kBiThumb, kBiInfo,
  kBiPocket1, kBiPocket2, kBiPocket3, kBiPocket4, kBiSelectAll, kBiArrange, kBiGlass, kBiWeight,
  kBiOptions, kBiHelp, kBiApp, kBiMin, kBiFullScreen, kBiClose,
};

struct ToolButtonDef {
  const char* Name;      // BI_...
  int32_t SkinColumn;    // the face's column in the skin
  Command MenuItem;      // the menu item the button runs
};
extern const std::array<ToolButtonDef, kToolButtonCount> kToolButtons;

// Skin columns of the two-state buttons.
inline constexpr int32_t kSkinPocketFull = 10;
inline constexpr int32_t kSkinWeightSet = 15;

// Top-left of a face in the skin.
inline int32_t ToolFaceX(int32_t column) { return column * kToolSkinPitch + 1; }
inline int32_t ToolFaceY(int32_t face) { return face * kToolSkinPitch + 1; }

struct ToolbarGaps {
  int32_t Between = 0;  // g1, between groups
  int32_t Inside = 0;   // g2, inside a group
};
// The gaps for width w (the window width in full screen, the client width
// otherwise).
ToolbarGaps ToolbarGapsFor(int32_t w, bool fullScreen);

struct ToolButtonPlace {
  int32_t X = 0;
  int32_t Width = kToolButtonSize;
  bool Visible = true;
};
// Where every button stands; BI_Min and BI_Close are shown in full screen
// only, at the right end.
std::array<ToolButtonPlace, kToolButtonCount> LayoutToolbar(int32_t w, bool fullScreen);

}  // namespace varlo
