// The game's name as every window title and message box shows it.
#pragma once

namespace varlo {

inline constexpr const char* kProductTitle = "Varlo Jigsaw USA Edition";

}  // namespace varlo
