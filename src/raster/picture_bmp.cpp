// Windows bitmaps, read and written by the game itself: the pictures inside
// jigsaw packs, solved pictures the player saves, language flags.
//
// The reader takes the old 12-byte core header, BITMAPINFOHEADER and its
// later V2 to V5 forms; 1, 4 and 8 bits with a palette, 16 bits (5-5-5 or
// bit fields), 24 bits, and 32 bits plain or with bit fields; rows stored
// bottom-up or top-down; 8- and 4-bit run-length compression (what
// ImageMagick writes for 8-bit pictures by default). Bitmaps that embed JPEG
// or PNG data are refused with a message. Every field is checked against the
// file before anything is allocated.
#include <cstring>

#include "raster/byte_io.h"
#include "raster/file_limits.h"
#include "raster/picture_codecs.h"

namespace varlo {

namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kOs2HeaderSize = 64;  // OS/2 2.x: the first 40 bytes read like BITMAPINFOHEADER
constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiRle8 = 1;
constexpr uint32_t kBiRle4 = 2;
constexpr uint32_t kBiBitfields = 3;
constexpr uint32_t kBiAlphaBitfields = 6;

bool Fail(std::string* error, const std::string& text) {
  if (error) *error = "BMP: " + text;
  return false;
}

// One colour channel described by a bit mask: where it sits and how to scale
// it to 8 bits.
struct Channel {
  uint32_t mask = 0;
  int shift = 0;
  int bits = 0;

  bool Set(uint32_t m) {
    mask = m;
    shift = 0;
    bits = 0;
    if (m == 0) return true;
    while (!((m >> shift) & 1)) ++shift;
    while (shift + bits < 32 && ((m >> (shift + bits)) & 1)) ++bits;
    // Only one contiguous run of bits makes sense for a colour channel.
    return (m >> shift) == ((bits == 32) ? 0xFFFFFFFFu : ((1u << bits) - 1));
  }
  uint8_t Get(uint32_t v) const {
    if (bits == 0) return 0;
    const uint32_t c = (v & mask) >> shift;
    if (bits >= 8) return static_cast<uint8_t>(c >> (bits - 8));
    // Short channels repeat their bits downwards (5 bits abcde give
    // abcdeabc), as the platform and ImageMagick expand them.
    uint32_t e = c << (8 - bits);
    for (int filled = bits; filled < 8; filled *= 2) e |= e >> filled;
    return static_cast<uint8_t>(e);
  }
};

struct BmpInfo {
  uint32_t headerSize = 0;
  int64_t width = 0;
  int64_t height = 0;  // positive
  bool topDown = false;
  uint32_t bitCount = 0;
  uint32_t compression = kBiRgb;
  uint32_t coloursUsed = 0;
  size_t paletteAt = 0;
  size_t paletteEntrySize = 4;
  Channel red, green, blue;
};

using Palette = uint8_t[256][3];  // b, g, r

inline void PutIndex(DIB_P& out, int64_t x, int64_t row, const Palette& palette, uint32_t index) {
  if (x >= out.Width || row >= out.Height) return;  // runs may overshoot the row
  uint8_t* o = DibPixel(out, static_cast<int32_t>(x), out.Height - 1 - static_cast<int32_t>(row));
  o[0] = palette[index][0];
  o[1] = palette[index][1];
  o[2] = palette[index][2];
}

// Run-length data of 8 or 4 bits per index; rows are counted from the
// bottom. Pixels the data skips stay black.
bool DecodeRle(const uint8_t* s, size_t n, uint32_t bits, const Palette& palette, DIB_P& out,
               std::string* error) {
  size_t pos = 0;
  int64_t x = 0, row = 0;
  while (row < out.Height) {
    if (n - pos < 2) return Fail(error, "the file ends inside its pixel data");
    const uint32_t count = s[pos], value = s[pos + 1];
    pos += 2;
    if (count > 0) {  // a run of one index (8 bits) or two alternating ones (4 bits)
      for (uint32_t i = 0; i < count; ++i, ++x) {
        const uint32_t index = bits == 8 ? value : (i % 2 == 0 ? value >> 4 : value & 15);
        PutIndex(out, x, row, palette, index);
      }
    } else if (value == 0) {  // end of row
      x = 0;
      ++row;
    } else if (value == 1) {  // end of picture
      break;
    } else if (value == 2) {  // skip right and up
      if (n - pos < 2) return Fail(error, "the file ends inside its pixel data");
      x += s[pos];
      row += s[pos + 1];
      pos += 2;
    } else {  // literal indexes, padded to a 16-bit boundary
      const size_t bytes = bits == 8 ? value : (value + 1) / 2;
      const size_t padded = (bytes + 1) & ~size_t{1};
      if (n - pos < padded) return Fail(error, "the file ends inside its pixel data");
      for (uint32_t i = 0; i < value; ++i, ++x) {
        const uint32_t b = s[pos + (bits == 8 ? i : i / 2)];
        const uint32_t index = bits == 8 ? b : (i % 2 == 0 ? b >> 4 : b & 15);
        PutIndex(out, x, row, palette, index);
      }
      pos += padded;
    }
  }
  return true;
}

}  // namespace

bool DibLoadBmp(DIB_P& d, const uint8_t* data, size_t size, std::string* error) {
  if (!data || size < kFileHeaderSize + kCoreHeaderSize || data[0] != 'B' || data[1] != 'M')
    return Fail(error, "not a Windows bitmap");
  ByteReader in(data, size);
  in.Skip(10);
  const uint32_t pixelsAt = in.U32();
  BmpInfo bi;
  bi.headerSize = in.U32();
  if (bi.headerSize == kCoreHeaderSize) {
    bi.width = in.U16();
    bi.height = in.U16();
    in.Skip(2);  // planes
    bi.bitCount = in.U16();
    bi.paletteEntrySize = 3;
  } else if (bi.headerSize >= kInfoHeaderSize && bi.headerSize <= 124) {
    if (size < kFileHeaderSize + kInfoHeaderSize) return Fail(error, "the file ends inside its header");
    bi.width = in.I32();
    const int32_t h = in.I32();
    bi.topDown = h < 0;
    bi.height = h < 0 ? -int64_t{h} : int64_t{h};
    in.Skip(2);  // planes
    bi.bitCount = in.U16();
    bi.compression = in.U32();
    in.Skip(12);  // image size, resolution
    bi.coloursUsed = in.U32();
    in.Skip(4);  // important colours
    if (bi.headerSize == kOs2HeaderSize && bi.compression != kBiRgb)
      return Fail(error, "compressed OS/2 bitmaps are not supported");
  } else {
    return Fail(error, "unknown header size " + std::to_string(bi.headerSize));
  }
  if (in.failed() || kFileHeaderSize + bi.headerSize > size) return Fail(error, "the file ends inside its header");
  if (bi.width <= 0 || bi.height <= 0 || bi.width > kDibMaxSide || bi.height > kDibMaxSide ||
      !PictureSizeAllowed(bi.width, bi.height))
    return Fail(error, "the picture size is out of range (" + std::to_string(bi.width) + " x " +
                           std::to_string(bi.height) + ")");
  if (bi.topDown && bi.compression != kBiRgb && bi.compression != kBiBitfields &&
      bi.compression != kBiAlphaBitfields)
    return Fail(error, "a top-down bitmap cannot be compressed");

  const uint32_t bits = bi.bitCount;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
    return Fail(error, "unsupported bit count " + std::to_string(bits));
  const bool rle = (bi.compression == kBiRle8 && bits == 8) || (bi.compression == kBiRle4 && bits == 4);
  const bool masked = bi.compression == kBiBitfields || bi.compression == kBiAlphaBitfields;
  if (bi.compression != kBiRgb && !rle && !(masked && (bits == 16 || bits == 32)))
    return Fail(error, "unsupported compression " + std::to_string(bi.compression));

  // Channel masks: inside the header from V2 on, else right after it.
  size_t afterHeader = kFileHeaderSize + bi.headerSize;
  if (masked) {
    size_t masksAt = kFileHeaderSize + kInfoHeaderSize;
    if (bi.headerSize == kInfoHeaderSize) afterHeader += bi.compression == kBiAlphaBitfields ? 16 : 12;
    if (masksAt + 12 > size) return Fail(error, "the file ends inside its colour masks");
    if (!bi.red.Set(GetU32(data + masksAt)) || !bi.green.Set(GetU32(data + masksAt + 4)) ||
        !bi.blue.Set(GetU32(data + masksAt + 8)))
      return Fail(error, "colour masks are not contiguous");
  } else if (bits == 16) {
    bi.red.Set(0x7C00);
    bi.green.Set(0x03E0);
    bi.blue.Set(0x001F);
  }

  // The palette.
  Palette palette = {};  // indexes past the palette read as black
  if (bits <= 8) {
    const uint32_t maxColours = 1u << bits;
    uint32_t count = bi.coloursUsed == 0 ? maxColours : bi.coloursUsed;
    if (count > maxColours) count = maxColours;  // entries no pixel can name
    bi.paletteAt = afterHeader;
    const size_t need = bi.paletteAt + size_t{count} * bi.paletteEntrySize;
    if (need > size) return Fail(error, "the file ends inside its palette");
    for (uint32_t i = 0; i < count; ++i) {
      const uint8_t* p = data + bi.paletteAt + size_t{i} * bi.paletteEntrySize;
      palette[i][0] = p[0];
      palette[i][1] = p[1];
      palette[i][2] = p[2];
    }
  }

  if (rle) {
    if (pixelsAt < kFileHeaderSize + kCoreHeaderSize || pixelsAt > size)
      return Fail(error, "the pixel data lies outside the file");
    DIB_P out;
    if (!DibCreate24(out, static_cast<int32_t>(bi.width), static_cast<int32_t>(bi.height)))
      return Fail(error, "the picture is too large");
    if (!DecodeRle(data + pixelsAt, size - pixelsAt, bits, palette, out, error)) return false;
    d = std::move(out);
    return true;
  }

  // The pixel rows, padded to four bytes.
  const int64_t rowBytes = (bi.width * bits + 31) / 32 * 4;
  const int64_t pixelBytes = rowBytes * bi.height;
  if (pixelsAt < kFileHeaderSize + kCoreHeaderSize || pixelsAt > size ||
      pixelBytes > static_cast<int64_t>(size - pixelsAt))
    return Fail(error, "the file ends before its last pixel row");

  DIB_P out;
  if (!DibCreate24(out, static_cast<int32_t>(bi.width), static_cast<int32_t>(bi.height)))
    return Fail(error, "the picture is too large");
  const int32_t w = out.Width;
  for (int32_t fileRow = 0; fileRow < out.Height; ++fileRow) {
    const uint8_t* s = data + pixelsAt + fileRow * rowBytes;
    const int32_t y = bi.topDown ? fileRow : out.Height - 1 - fileRow;
    uint8_t* o = DibRow(out, y);
    switch (bits) {
      case 24:
        std::memcpy(o, s, static_cast<size_t>(w) * 3);
        break;
      case 32:
        if (!masked) {
          for (int32_t x = 0; x < w; ++x, o += 3, s += 4) {
            o[0] = s[0];
            o[1] = s[1];
            o[2] = s[2];
          }
          break;
        }
        for (int32_t x = 0; x < w; ++x, o += 3, s += 4) {
          const uint32_t v = GetU32(s);
          o[0] = bi.blue.Get(v);
          o[1] = bi.green.Get(v);
          o[2] = bi.red.Get(v);
        }
        break;
      case 16:
        for (int32_t x = 0; x < w; ++x, o += 3, s += 2) {
          const uint32_t v = GetU16(s);
          o[0] = bi.blue.Get(v);
          o[1] = bi.green.Get(v);
          o[2] = bi.red.Get(v);
        }
        break;
      default: {  // 1, 4 or 8 bits per palette index, first pixel in the high bits
        const uint32_t perByte = 8 / bits, mask = (1u << bits) - 1;
        for (int32_t x = 0; x < w; ++x, o += 3) {
          const uint32_t byte = s[x / perByte];
          const uint32_t shift = 8 - bits * (x % perByte + 1);
          const uint8_t* c = palette[(byte >> shift) & mask];
          o[0] = c[0];
          o[1] = c[1];
          o[2] = c[2];
        }
      }
    }
  }
  d = std::move(out);
  return true;
}

bool DibSaveBmp(const DIB_P& d, std::vector<uint8_t>& out, std::string* error) {
  if (d.Width <= 0 || d.Height <= 0 || (d.BytesPerPixel != 3 && d.BytesPerPixel != 4))
    return Fail(error, "no 24- or 32-bit picture to save");
  const uint32_t rowBytes = (static_cast<uint32_t>(d.Width) * 3 + 3) & ~3u;
  const uint64_t pixelBytes = uint64_t{rowBytes} * static_cast<uint32_t>(d.Height);
  const uint64_t fileSize = kFileHeaderSize + kInfoHeaderSize + pixelBytes;
  if (fileSize > 0xFFFFFFFFu) return Fail(error, "the picture is too large for a bitmap file");
  std::vector<uint8_t> bytes;
  try {
    bytes.assign(static_cast<size_t>(fileSize), 0);
  } catch (const std::bad_alloc&) {
    return Fail(error, "out of memory");
  }
  uint8_t* p = bytes.data();
  p[0] = 'B';
  p[1] = 'M';
  PutU32(p + 2, static_cast<uint32_t>(fileSize));
  PutU32(p + 6, 0);  // reserved
  PutU32(p + 10, kFileHeaderSize + kInfoHeaderSize);
  uint8_t* h = p + kFileHeaderSize;
  PutU32(h + 0, kInfoHeaderSize);
  PutI32(h + 4, d.Width);
  PutI32(h + 8, d.Height);  // positive: bottom row first
  PutU16(h + 12, 1);        // planes
  PutU16(h + 14, 24);
  PutU32(h + 16, kBiRgb);
  PutU32(h + 20, static_cast<uint32_t>(pixelBytes));
  PutI32(h + 24, 2835);  // 72 dots per inch, in dots per metre
  PutI32(h + 28, 2835);
  PutU32(h + 32, 0);  // colours used
  PutU32(h + 36, 0);  // important colours
  static_assert(kFileHeaderSize + kInfoHeaderSize == 54, "bitmap headers are 14 + 40 bytes");
  uint8_t* row = p + kFileHeaderSize + kInfoHeaderSize;
  for (int32_t y = d.Height - 1; y >= 0; --y, row += rowBytes) {
    const uint8_t* s = DibRow(d, y);
    if (d.BytesPerPixel == 3) {
      std::memcpy(row, s, static_cast<size_t>(d.Width) * 3);
    } else {
      uint8_t* o = row;
      for (int32_t x = 0; x < d.Width; ++x, o += 3, s += 4) {
        o[0] = s[0];
        o[1] = s[1];
        o[2] = s[2];
      }
    }
  }
  out = std::move(bytes);
  return true;
}

}  // namespace varlo
