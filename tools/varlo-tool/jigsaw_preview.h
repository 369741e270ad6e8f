// A picture of a freshly cut jigsaw with its pieces pulled slightly apart,
// drawn with the game's piece rule (emboss shade and edge band), so that the
// shapes of a cut can be judged by eye.
#pragma once

#include <cstdint>

#include "raster/dib.h"

namespace varlo {
struct Jigsaw;
}

namespace varlo::tool {

// Draws every piece of jig (effects already computed for rotation 0) at its
// place in the picture moved by `gap` pixels per grid step; the border
// piece's four quarters move outward. woodStyle 0..2 as in the options.
bool RenderJigsawPreview(const Jigsaw& jig, int32_t woodStyle, uint32_t woodColour,
                         uint32_t background, int32_t gap, DIB_P& out);

}  // namespace varlo::tool
