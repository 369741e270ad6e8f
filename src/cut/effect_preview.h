// The sample piece of the options dialog, shown with the chosen emboss and
// edge effect.
#pragma once

#include <cstdint>

#include "raster/dib.h"

namespace varlo {

// Renders the piece of `mask` (black where the piece is, any other colour
// elsewhere) into `out`, which the dialog has filled with its background:
// the piece's pixels from `picture` with the emboss shade added, and around
// it the wooden edge (woodColour, darker outward) or the shadow that falls
// down and right of it. All three bitmaps are 24-bit; only the area they
// share is drawn.
void RenderEffectPreview(DIB_P& out, const DIB_P& mask, const DIB_P& picture, uint32_t woodColour,
                         int32_t woodStyle, int32_t embossStyle);

}  // namespace varlo
