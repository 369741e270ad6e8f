// A real game for the play-field tests: a photograph cut by the game's
// rectangular cut.
#pragma once

#include <cstdint>

#include "raster/dib.h"
#include "jigsaw/pieces.h"

namespace varlo::testing {

// A real game: about 60 turning pieces of the 720 x 480 photograph of the
// fixtures with the rectangular cut, spread over side 0 of a fw x fh
// field; no effects computed yet.
bool MakeCutPhotoGame(Jigsaw& jig, int32_t fw, int32_t fh);

// The same from a picture of the caller's, with the caller's seed and
// rotation setting.
bool CutPhotoGame(Jigsaw& jig, const DIB_P& pic, int32_t seed, bool rotate, int32_t fw, int32_t fh);

}  // namespace varlo::testing
