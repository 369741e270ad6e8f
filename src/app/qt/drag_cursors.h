// The pointer shapes of a drag: one piece (DRAGAAA), a group (DRAGBBB) and
// the weight, drawn once at start-up.
#pragma once

#include <QCursor>

namespace varlo {

QCursor DragCursor(int kind /* 0 one piece, 1 group, 2 weight */);

}  // namespace varlo
