// A text renderer without a font library: ASCII in a built-in 5 x 7 pixel
// font, for the headless tools (varlo-tool play draws the pocket captions
// with it). The desktop game renders text with the system's fonts.
#pragma once

#include <string>

#include "platform/platform.h"

namespace varlo {

class BitmapText final : public TextRenderer {
 public:
  // One line, clipped to box and to the bitmap, vertically centred; each
  // character not in printable ASCII shows as "?". With EndEllipsis a text
  // wider than the box loses characters from its end for "...".
  void DrawText(DIB_P& target, const XRECT& box, const std::string& text, const TextStyle& style) override;
  int32_t TextWidth(const std::string& text, const TextStyle& style) override;
  int32_t TextHeight(const TextStyle& style) override;
};

}  // namespace varlo
