// The play options: which mouse button and modifier keys turn a piece or
// send it to the other side, single-side play and click-to-drag.
//
// The eight bytes are stored in this order in saved games and replaced from
// them when a saved game is opened; the settings file keeps them too.
#pragma once

#include <cstddef>
#include <cstdint>

namespace varlo {

// Mouse buttons and modifier bits as the play options store them.
enum MouseButtonCode : uint8_t { kMbLeft = 0, kMbRight = 1, kMbMiddle = 2 };
enum ShiftBits : uint8_t { kSsShift = 1, kSsAlt = 2, kSsCtrl = 4 };

inline constexpr size_t kPlayOptionBytes = 8;

struct PLAY_OPT_P {
  // The "Standard" schema: turn clockwise with right + Ctrl, counter-clockwise
  // with left + Ctrl, send to the other side with the right button alone.
  uint8_t RotCW_Button = kMbRight;
  uint8_t RotCW_Shift = kSsCtrl;
  uint8_t RotCCW_Button = kMbLeft;
  uint8_t RotCCW_Shift = kSsCtrl;
  uint8_t MoveOW_Button = kMbRight;
  uint8_t MoveOW_Shift = 0;
  uint8_t bSingleWin = 0;    // play on one side only
  uint8_t bClickToDrag = 0;  // click to pick up, click to drop

  friend bool operator==(const PLAY_OPT_P&, const PLAY_OPT_P&) = default;
};

inline void EncodePlayOptions(const PLAY_OPT_P& p, uint8_t* out) {
  out[0] = p.RotCW_Button;
  out[1] = p.RotCW_Shift;
  out[2] = p.RotCCW_Button;
  out[3] = p.RotCCW_Shift;
  out[4] = p.MoveOW_Button;
  out[5] = p.MoveOW_Shift;
  out[6] = p.bSingleWin;
  out[7] = p.bClickToDrag;
}

inline PLAY_OPT_P DecodePlayOptions(const uint8_t* in) {
  PLAY_OPT_P p;
  p.RotCW_Button = in[0];
  p.RotCW_Shift = in[1];
  p.RotCCW_Button = in[2];
  p.RotCCW_Shift = in[3];
  p.MoveOW_Button = in[4];
  p.MoveOW_Shift = in[5];
  p.bSingleWin = in[6];
  p.bClickToDrag = in[7];
  return p;
}

}  // namespace varlo
