// A message box under the game's title, for any layer that has to tell the
// player something.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/platform.h"

namespace varlo {

// Shows text as it is (line breaks already made) in the given style and
// answers the pressed button; a platform without message boxes answers as a
// box closed without a choice (Cancel, else No, else OK).
int32_t ShowGameMessage(const Platform& platform, std::string_view text, int32_t style);

// The answer of a box closed without a choice.
int32_t ClosedAnswer(int32_t style);

}  // namespace varlo
