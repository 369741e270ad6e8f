// PNG pictures through libpng: the skins, the weight image and pictures the
// player brings. Every PNG ends up as 8-bit BGR, or BGRA when it carries any
// transparency.
//
// libpng reports errors by longjmp. Each setjmp sits in a small function of
// its own that works on a state record owned by the caller, so that nothing
// the caller reads after a jump is an indeterminate local of the jumping
// frame, and no C++ object is skipped by the jump.
#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <new>

#include "raster/file_limits.h"
#include "raster/picture_codecs.h"

namespace varlo {

namespace {

struct PngReadState {
  const uint8_t* data = nullptr;
  size_t size = 0;
  size_t pos = 0;
  char message[200] = {};
  png_structp png = nullptr;
  png_infop info = nullptr;
  png_uint_32 width = 0, height = 0;
  int channels = 0;  // after the transforms: 3 or 4
  size_t rowBytes = 0;
};

void PngError(png_structp png, png_const_charp msg) {
  auto* s = static_cast<PngReadState*>(png_get_error_ptr(png));
  std::snprintf(s->message, sizeof s->message, "%s", msg ? msg : "unknown error");
  png_longjmp(png, 1);
}

void PngWarning(png_structp, png_const_charp) {}  // benign chunk trouble: the picture still decodes

void PngRead(png_structp png, png_bytep out, png_size_t n) {
  auto* s = static_cast<PngReadState*>(png_get_io_ptr(png));
  if (n > s->size - s->pos) png_error(png, "the file ends too early");
  std::memcpy(out, s->data + s->pos, n);
  s->pos += n;
}

// Reads the header and sets up the conversion to 8-bit BGR(A).
bool PngReadHeader(PngReadState& s) {
  if (setjmp(png_jmpbuf(s.png))) return false;
  png_set_user_limits(s.png, kDibMaxSide, kDibMaxSide);
  png_set_chunk_malloc_max(s.png, 8u << 20);  // text and profile chunks: a few MB at most
  png_set_read_fn(s.png, &s, PngRead);
  png_read_info(s.png, s.info);
  int depth = 0, colourType = 0, interlace = 0;
  png_get_IHDR(s.png, s.info, &s.width, &s.height, &depth, &colourType, &interlace, nullptr, nullptr);
  if (s.width == 0 || s.height == 0 || s.width > static_cast<png_uint_32>(kDibMaxSide) ||
      s.height > static_cast<png_uint_32>(kDibMaxSide) || !PictureSizeAllowed(s.width, s.height))
    png_error(s.png, "the picture size is out of range");
  if (colourType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(s.png);
  if (colourType == PNG_COLOR_TYPE_GRAY && depth < 8) png_set_expand_gray_1_2_4_to_8(s.png);
  if (png_get_valid(s.png, s.info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(s.png);
  if (depth == 16) png_set_strip_16(s.png);
  if (colourType == PNG_COLOR_TYPE_GRAY || colourType == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(s.png);
  png_set_bgr(s.png);
  png_set_interlace_handling(s.png);
  png_read_update_info(s.png, s.info);
  s.channels = png_get_channels(s.png, s.info);
  s.rowBytes = png_get_rowbytes(s.png, s.info);
  if ((s.channels != 3 && s.channels != 4) || png_get_bit_depth(s.png, s.info) != 8 ||
      s.rowBytes != static_cast<size_t>(s.width) * s.channels)
    png_error(s.png, "unexpected pixel layout");
  return true;
}

bool PngReadPixels(PngReadState& s, png_bytepp rows) {
  if (setjmp(png_jmpbuf(s.png))) return false;
  png_read_image(s.png, rows);
  return true;
}

struct PngWriteState {
  std::vector<uint8_t>* out = nullptr;
  char message[200] = {};
  png_structp png = nullptr;
  png_infop info = nullptr;
};

void PngWriteError(png_structp png, png_const_charp msg) {
  auto* s = static_cast<PngWriteState*>(png_get_error_ptr(png));
  std::snprintf(s->message, sizeof s->message, "%s", msg ? msg : "unknown error");
  png_longjmp(png, 1);
}

void PngWrite(png_structp png, png_bytep data, png_size_t n) {
  auto* s = static_cast<PngWriteState*>(png_get_io_ptr(png));
  bool ok = true;
  try {
    s->out->insert(s->out->end(), data, data + n);
  } catch (const std::bad_alloc&) {
    ok = false;  // no exception may pass through libpng's C frames
  }
  if (!ok) png_error(png, "out of memory");
}

void PngFlush(png_structp) {}

bool PngWriteAll(PngWriteState& s, const DIB_P& d, png_bytepp rows) {
  if (setjmp(png_jmpbuf(s.png))) return false;
  png_set_write_fn(s.png, &s, PngWrite, PngFlush);
  png_set_IHDR(s.png, s.info, static_cast<png_uint_32>(d.Width), static_cast<png_uint_32>(d.Height), 8,
               d.HasAlpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(s.png, s.info);
  png_set_bgr(s.png);
  png_write_image(s.png, rows);
  png_write_end(s.png, nullptr);
  return true;
}

bool Fail(std::string* error, const std::string& text) {
  if (error) *error = text;
  return false;
}

}  // namespace

bool DibLoadPng(DIB_P& d, const uint8_t* data, size_t size, std::string* error) {
  if (!data || size < 8 || png_sig_cmp(data, 0, 8) != 0) return Fail(error, "PNG: not a PNG file");
  PngReadState s;
  s.data = data;
  s.size = size;
  s.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &s, PngError, PngWarning);
  if (!s.png) return Fail(error, "PNG: out of memory");
  s.info = png_create_info_struct(s.png);
  if (!s.info) {
    png_destroy_read_struct(&s.png, nullptr, nullptr);
    return Fail(error, "PNG: out of memory");
  }
#ifdef VARLO_FUZZING
  // Mutated inputs almost never carry valid checksums; let the fuzzer past
  // them so it reaches the decoder behind.
  png_set_crc_action(s.png, PNG_CRC_QUIET_USE, PNG_CRC_QUIET_USE);
#endif
  DIB_P out;
  std::vector<png_bytep> rows;
  bool ok = PngReadHeader(s);
  if (ok) {
    const bool made = s.channels == 4 ? DibCreate32(out, static_cast<int32_t>(s.width), static_cast<int32_t>(s.height))
                                      : DibCreate24(out, static_cast<int32_t>(s.width), static_cast<int32_t>(s.height));
    if (!made) {
      std::snprintf(s.message, sizeof s.message, "the picture is too large (%u x %u)", s.width, s.height);
      ok = false;
    }
  }
  if (ok) {
    try {
      rows.resize(s.height);
    } catch (const std::bad_alloc&) {
      std::snprintf(s.message, sizeof s.message, "out of memory");
      ok = false;
    }
  }
  if (ok) {
    // Rows arrive top first; the bitmap keeps its top row last in memory.
    for (png_uint_32 y = 0; y < s.height; ++y) rows[y] = DibRow(out, static_cast<int32_t>(y));
    ok = PngReadPixels(s, rows.data());
  }
  png_destroy_read_struct(&s.png, &s.info, nullptr);
  if (!ok) return Fail(error, std::string("PNG: ") + s.message);
  d = std::move(out);
  return true;
}

bool DibSavePng(const DIB_P& d, std::vector<uint8_t>& out, std::string* error) {
  if (d.Width <= 0 || d.Height <= 0 || (d.BytesPerPixel != 3 && d.BytesPerPixel != 4))
    return Fail(error, "PNG: no 24- or 32-bit picture to save");
  std::vector<uint8_t> bytes;
  std::vector<png_bytep> rows;
  try {
    rows.resize(static_cast<size_t>(d.Height));
  } catch (const std::bad_alloc&) {
    return Fail(error, "PNG: out of memory");
  }
  for (int32_t y = 0; y < d.Height; ++y) rows[static_cast<size_t>(y)] = DibRow(d, y);
  PngWriteState s;
  s.out = &bytes;
  s.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &s, PngWriteError, PngWarning);
  if (!s.png) return Fail(error, "PNG: out of memory");
  s.info = png_create_info_struct(s.png);
  if (!s.info) {
    png_destroy_write_struct(&s.png, nullptr);
    return Fail(error, "PNG: out of memory");
  }
  const bool ok = PngWriteAll(s, d, rows.data());
  png_destroy_write_struct(&s.png, &s.info);
  if (!ok) return Fail(error, std::string("PNG: ") + s.message);
  out = std::move(bytes);
  return true;
}

}  // namespace varlo
