// The small windows of the play field: the two sides, four pockets, the
// thumbnail and the glass. Each is a TMyWin drawn into the field picture
// with an optional caption bar, border, scroll bars and skinned buttons.
//
// This file holds the record and the geometry of one window (layout from
// its outer rectangle, size limits, scroll bars, frame hit testing). What
// needs all windows at once (stacking order, the current window, pockets
// placed beside each other) belongs to the play field.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "play/game_command.h"
#include "raster/dib.h"
#include "raster/rect.h"

namespace varlo {

enum WindowKind : uint8_t { kKindSide = 0, kKindPocket = 1, kKindThumb = 2, kKindGlass = 3 };

// Window array indexes; pieces carry the first six in TILE_P::Win.
inline constexpr int32_t MW_SIDE0 = 0;
inline constexpr int32_t MW_SIDE1 = 1;
inline constexpr int32_t MW_POCKET = 2;  // pockets 1..4 are MW_POCKET + 0..3
inline constexpr int32_t kPocketWindows = 4;
inline constexpr int32_t kThumbWindow = 6;
inline constexpr int32_t kFieldWindows = 7;
// The glass is not in the array; references to windows use this for it.
inline constexpr int32_t kGlassRef = 7;
inline constexpr int32_t kNoWindow = -1;

// Frame hit codes: what a press on a window's frame does.
enum HitCode : int32_t {
  kHitNone = 0,
  kHitMove = 1,
  kHitLeft = 10,
  kHitTop = 11,
  kHitRight = 12,
  kHitBottom = 13,
  kHitTopLeft = 14,
  kHitTopRight = 15,  // no window has this corner; kept for the pointer shapes
  kHitBottomLeft = 16,
  kHitBottomRight = 17,
  kHitHThumb = 20,
  kHitScrollLeft = 21,
  kHitScrollRight = 22,
  kHitVThumb = 23,
  kHitScrollUp = 24,
  kHitScrollDown = 25,
  kHitClose = 26,
  kHitZoom3 = 27,
  kHitZoom2 = 28,
  kHitPan = 29,
};

// Button indexes inside a window.
enum ButtonIndex : int32_t {
  kBtnClose = 0,
  kBtnZoom3 = 1,
  kBtnZoom2 = 2,
  kBtnLeft = 3,
  kBtnRight = 4,
  kBtnHThumb = 5,
  kBtnUp = 6,
  kBtnDown = 7,
  kBtnVThumb = 8,
  kButtonCount = 9,
};

enum ButtonLook : int32_t { kLookNormal = 0, kLookHover, kLookActive, kLookActiveHover, kLookPressed };

struct WinButton {
  int32_t Id = 0;
  int32_t W = 0, H = 0;
  XRECT Rect;                    // field coordinates; empty when not placed
  std::array<XRECT, 5> Src;      // skin areas by ButtonLook
  int32_t AnchorL = kRectUnset, AnchorT = kRectUnset, AnchorR = kRectUnset, AnchorB = kRectUnset;
  uint8_t Visible = 0;
  uint8_t ActiveLook = 0;
  uint8_t Hover = 0;
  uint8_t Pressed = 0;
  uint8_t ThreeH = 0;     // drawn as left end, stretched middle, right end
  uint8_t ThreeV = 0;
  uint8_t FourState = 0;  // has its own active looks in the skin
  uint8_t FromGlassSkin = 0;
  int32_t HitCode = 0;
};

struct TMyWin {
  int32_t Index = 0;
  uint8_t Kind = kKindSide;
  XRECT Outer;
  XRECT Client;
  int32_t CaptionH = 0;
  int32_t Border = 0;
  int32_t MinW = 0, MinH = 0;
  int32_t MaxW = 0, MaxH = 0;  // 0: no limit
  int32_t FrameW = 0;          // 2 x Border
  int32_t FrameH = 0;          // 2 x Border + CaptionH
  uint8_t HasScroll = 0;
  int32_t ScrollX = 0, ScrollY = 0;
  int32_t ContentW = 0, ContentH = 0;
  XRECT HTrack, VTrack;
  XRECT CornerBox;
  XRECT SizeGrip;
  XRECT EdgeL, EdgeT, EdgeR, EdgeB;
  XRECT CornerTL, CornerBL, CornerBR;
  uint8_t HBar = 0, VBar = 0;
  XRECT CaptionText;
  int32_t GlassCorner = 0;
  std::array<XRECT, 4> GlassCornerSrc;  // top-left, top-right, bottom-left, bottom-right
  std::array<XRECT, 4> GlassCornerDst;
  std::array<WinButton, kButtonCount> Buttons;
  int32_t HotButton = -1;  // button index, -1 none
  uint8_t Shown = 0;
  uint8_t Active = 0;
  uint8_t Floating = 0;
  uint8_t DragByClient = 0;
  uint8_t Resizable = 0;
  uint8_t KeepAspect = 0;
  std::string Title;
  std::string Name;
  DIB_P TitleBmp;  // 32-bit: the caption text's pixels in the alpha channel
  XRECT TitleBox;
  uint8_t HasBkg = 0;
  int32_t Bkg = 0x989898;
  std::optional<Command> MenuItem;  // the menu item whose check mark mirrors Shown
  int32_t ToolButton = -1; // toolbar button mirroring the window
  int32_t Groups = 0;      // pockets: groups of pieces inside
};

inline constexpr int32_t kBarSize = 17;
inline constexpr int32_t kTitleBmpWidth = 300;

// Sets up a window of the given kind at (x, y) with an outer size, its
// buttons placed from the skin layout, then SetSize with the current size.
void InitWindow(TMyWin& w, int32_t x, int32_t y, uint8_t kind, int32_t width, int32_t height);
// Client, caption area, buttons, scroll tracks and resize areas from Outer.
void Relayout(TMyWin& w);
// Applies a client size (given) or the current one through the limits and
// the scroll-bar rules, then Relayout.
void SetSize(TMyWin& w, bool given, int32_t cw, int32_t ch);
// The same without the size limits (after LimitSize during a resize).
void SetSizeFree(TMyWin& w);
// Limits an outer size while resizing; with KeepAspect the other dimension
// follows the leading one.
void LimitSize(const TMyWin& w, int32_t& outerW, int32_t& outerH, bool widthLeads);
// Scroll-bar actions of one window (codes 20..25 and 29); dx, dy are the
// thumb positions for 20, 23 and the pan distances for 29.
void ScrollWindow(TMyWin& w, int32_t code, int32_t dx, int32_t dy);
// The other side takes w's geometry, so the two sides always match.
void CopySideGeometry(TMyWin& to, const TMyWin& from);
// Frame hit code of (x, y), or 0. Clears the buttons' hover flags first; a
// button hit becomes HotButton and gets Hover (and Pressed when pressing).
int32_t HitFrame(TMyWin& w, int32_t x, int32_t y, bool pressing);
// Looks of a button by its flags on a window that is active or not.
int32_t ButtonLookOf(const WinButton& b);

// A content point of a field point.
inline int32_t ContentX(const TMyWin& w, int32_t x) { return x + w.ScrollX - w.Client.Left; }
inline int32_t ContentY(const TMyWin& w, int32_t y) { return y + w.ScrollY - w.Client.Top; }

}  // namespace varlo
