// The pixel size a picture file claims, read from its header without
// decoding it, so that readers can refuse an oversized or mismatching
// picture before any pixel memory is allocated.
#pragma once

#include <cstddef>
#include <cstdint>

#include "raster/file_limits.h"

namespace varlo {

// BMP, JPEG (first SOF marker) and PNG (IHDR). False when no size is found.
bool PeekPictureSize(const uint8_t* data, size_t size, int32_t& width, int32_t& height);

}  // namespace varlo
