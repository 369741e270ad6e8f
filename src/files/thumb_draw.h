// Thumbnails of jigsaws and saved games: the open dialog's preview and list
// pictures, and the info window's picture.
#pragma once

#include <cstdint>

#include "raster/dib.h"

namespace varlo {

inline constexpr int32_t kListThumbW = 180;
inline constexpr int32_t kListThumbH = 135;

// Draws source into the W x H target on a background colour: fitted and
// stretched when the source is larger than 180 x 135, else copied unscaled
// (a small source that does not fit is cut, not scaled), centred. The
// 16 x 16 overlay (the save icon) goes to the picture's top-left corner, one
// pixel further out where there is room. With makeNew the target becomes a
// fresh W x H bitmap; with fullCopy the source is also copied unchanged.
struct ThumbOptions {
  const DIB_P* Overlay = nullptr;
  DIB_P* FullCopy = nullptr;
  uint32_t Background = 0xFFFFFF;
  bool MakeNew = true;
};
void DrawThumb(DIB_P& target, int32_t W, int32_t H, const DIB_P& source,
               const ThumbOptions& options);

// The 180 x 135 picture of a list item: white, the source fitted and
// centred, with the overlay (the save icon of saved games) when given.
void DrawListThumb(DIB_P& target, const DIB_P& source, const DIB_P* overlay);

// The drawn rectangle of a w x h source in a W x H area (fitted when larger,
// centred).
XRECT ThumbRect(int32_t w, int32_t h, int32_t W, int32_t H);

}  // namespace varlo
