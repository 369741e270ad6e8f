// One pocket as a saved game keeps it (22 bytes in the file): the pocket
// window's shown flag, outer rectangle (four int32, inclusive corners) and
// scroll position (two int16; a pocket's content is far smaller than 32767
// pixels). The field hands its pockets out and takes them back in this form.
#pragma once

#include <cstdint>

namespace varlo {

struct PocketRecord {
  uint8_t Reserved = 0;  // written 0; the scroll position is applied only when 0
  uint8_t Shown = 0;
  int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
  int16_t ScrollX = 0, ScrollY = 0;

  friend bool operator==(const PocketRecord&, const PocketRecord&) = default;
};

}  // namespace varlo
