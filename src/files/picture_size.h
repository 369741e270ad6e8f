// The pixel size a picture file claims, read from its header without
// decoding it, so that readers can refuse an oversized or mismatching
// picture before any pixel memory is allocated.
#pragma once

#include <cstddef>
#include <cstdint>

namespace varlo {

// Largest picture side a pack or saved game may hold.
inline constexpr int32_t kMaxPictureSide = 20000;

// BMP, JPEG (first SOF marker) and PNG (IHDR). False when no size is found.
bool PeekPictureSize(const uint8_t* data, size_t size, int32_t& width, int32_t& height);

}  // namespace varlo
