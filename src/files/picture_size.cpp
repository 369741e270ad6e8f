// Header-only size look-up of BMP, JPEG and PNG files.
#include "files/picture_size.h"

#include <cstring>

#include "raster/byte_io.h"

namespace varlo {

namespace {

uint16_t GetBE16(const uint8_t* p) { return static_cast<uint16_t>((p[0] << 8) | p[1]); }
uint32_t GetBE32(const uint8_t* p) {
  return (static_cast<uint32_t>(p[0]) << 24) | (static_cast<uint32_t>(p[1]) << 16) |
         (static_cast<uint32_t>(p[2]) << 8) | p[3];
}

bool PeekJpeg(const uint8_t* d, size_t n, int32_t& w, int32_t& h) {
  size_t i = 2;
  while (i + 1 < n) {
    if (d[i] != 0xFF) return false;
    const uint8_t m = d[i + 1];
    if (m == 0xFF) {  // fill byte
      ++i;
      continue;
    }
    i += 2;
    if (m == 0xD8 || m == 0x01 || (m >= 0xD0 && m <= 0xD7)) continue;  // no length
    if (m == 0xD9 || m == 0xDA || i + 2 > n) return false;             // no frame before the scan
    const size_t len = GetBE16(d + i);
    if (len < 2) return false;
    const bool sof = m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC;
    if (sof) {
      if (len < 7 || i + 7 > n) return false;
      h = GetBE16(d + i + 3);
      w = GetBE16(d + i + 5);
      return true;
    }
    i += len;
  }
  return false;
}

}  // namespace

bool PeekPictureSize(const uint8_t* d, size_t n, int32_t& width, int32_t& height) {
  if (n >= 26 && d[0] == 'B' && d[1] == 'M') {
    const uint32_t header = GetU32(d + 14);
    if (header == 12) {
      width = GetU16(d + 18);
      height = GetU16(d + 20);
    } else {
      width = GetI32(d + 18);
      const int32_t h = GetI32(d + 22);
      if (h == INT32_MIN) return false;
      height = h < 0 ? -h : h;  // top-down bitmaps have a negative height
    }
    return true;
  }
  if (n >= 4 && d[0] == 0xFF && d[1] == 0xD8 && d[2] == 0xFF) return PeekJpeg(d, n, width, height);
  static const uint8_t kPng[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  if (n >= 24 && std::memcmp(d, kPng, 8) == 0 && std::memcmp(d + 12, "IHDR", 4) == 0) {
    const uint32_t w = GetBE32(d + 16), h = GetBE32(d + 20);
    if (w > 0x7FFFFFFF || h > 0x7FFFFFFF) return false;
    width = static_cast<int32_t>(w);
    height = static_cast<int32_t>(h);
    return true;
  }
  return false;
}

}  // namespace varlo
