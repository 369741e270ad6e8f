// The colours of the game's chrome, kept in one place so that the toolbar,
// the window frames and the progress panel belong together.
#pragma once

#include <QColor>

namespace varlo::art::palette {

// Window frames: the current window in a calm steel blue, the others in slate.
inline const QColor kActiveTop{0x56, 0x88, 0xAF};
inline const QColor kActiveBottom{0x3A, 0x69, 0x91};
inline const QColor kActiveEdge{0x1E, 0x3B, 0x55};
inline const QColor kInactiveTop{0xA3, 0xAB, 0xB4};
inline const QColor kInactiveBottom{0x87, 0x90, 0x9A};
inline const QColor kInactiveEdge{0x4C, 0x55, 0x5F};

// Scroll bars.
inline const QColor kTrack{0xE4, 0xE7, 0xEB};
inline const QColor kTrackEdge{0xD2, 0xD7, 0xDD};
inline const QColor kThumb{0xAE, 0xB6, 0xC0};
inline const QColor kThumbHover{0x93, 0x9D, 0xA9};
inline const QColor kThumbPressed{0x5E, 0x86, 0xAC};
inline const QColor kArrow{0x5B, 0x65, 0x71};

// Toolbar and panels: light surfaces with slate icons.
inline const QColor kBarTop{0xF8, 0xF9, 0xFB};
inline const QColor kBarBottom{0xE6, 0xE9, 0xEE};
inline const QColor kBarLine{0xB4, 0xBB, 0xC4};
inline const QColor kIcon{0x35, 0x40, 0x4D};
inline const QColor kIconDisabled{0xB5, 0xBB, 0xC3};
inline const QColor kAccent{0x2F, 0x6F, 0xA6};
inline const QColor kAccentLight{0x5A, 0x9A, 0xD0};
inline const QColor kHotFill{0xDD, 0xE8, 0xF4};
inline const QColor kHotEdge{0x93, 0xB3, 0xD4};

// Close buttons turn a soft red under the pointer.
inline const QColor kCloseHover{0xD9, 0x4F, 0x4F};
inline const QColor kClosePressed{0xA8, 0x36, 0x36};

}  // namespace varlo::art::palette
