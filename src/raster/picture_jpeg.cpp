// JPEG pictures through libjpeg-turbo: the pictures of jigsaw packs, their
// thumbnails and the background pictures.
//
// libjpeg stops on errors through error_exit, which here jumps back with
// longjmp. As with PNG, each setjmp sits in a function of its own working on
// a caller-owned state record. Its warnings are counted; a truncated file
// only warns (and would come out with grey rows), so a premature end is
// turned into an error here.
#include <cstdio>  // jpeglib.h needs FILE and size_t declared first

#include <jerror.h>
#include <jpeglib.h>

#include <csetjmp>
#include <cstdlib>
#include <cstring>
#include <new>

#include "raster/file_limits.h"
#include "raster/picture_codecs.h"

namespace varlo {

namespace {

struct JpegErrorManager {
  jpeg_error_mgr pub;  // first, so that libjpeg's pointer is ours too
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX] = {};
  int warnings = 0;
  bool prematureEnd = false;
};

void JpegErrorExit(j_common_ptr cinfo) {
  auto* err = reinterpret_cast<JpegErrorManager*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, err->message);
  std::longjmp(err->jump, 1);
}

void JpegEmitMessage(j_common_ptr cinfo, int level) {
  if (level >= 0) return;  // trace messages
  auto* err = reinterpret_cast<JpegErrorManager*>(cinfo->err);
  ++err->warnings;
  const int code = cinfo->err->msg_code;
  if (code == JWRN_JPEG_EOF || code == JWRN_HIT_MARKER) {
    if (!err->prematureEnd) (*cinfo->err->format_message)(cinfo, err->message);
    err->prematureEnd = true;
  }
}

struct JpegReadState {
  jpeg_decompress_struct cinfo{};
  JpegErrorManager err;
  bool created = false;
  bool unsupportedColours = false;
  bool tooLarge = false;
  DIB_P out;
};

bool JpegDecode(JpegReadState& s, const uint8_t* data, size_t size) {
  s.cinfo.err = jpeg_std_error(&s.err.pub);
  s.err.pub.error_exit = JpegErrorExit;
  s.err.pub.emit_message = JpegEmitMessage;
  if (setjmp(s.err.jump)) return false;
  jpeg_create_decompress(&s.cinfo);
  s.created = true;
  // Progressive pictures keep all coefficients in memory; a damaged header
  // must not make that a few gigabytes.
  s.cinfo.mem->max_memory_to_use = static_cast<long>(2 * kDibMaxBytes);
  jpeg_mem_src(&s.cinfo, data, static_cast<unsigned long>(size));
  jpeg_read_header(&s.cinfo, TRUE);
  if (s.cinfo.jpeg_color_space == JCS_CMYK || s.cinfo.jpeg_color_space == JCS_YCCK) {
    s.unsupportedColours = true;
    return false;
  }
  if (s.cinfo.image_width == 0 || s.cinfo.image_height == 0 ||
      s.cinfo.image_width > static_cast<JDIMENSION>(kDibMaxSide) ||
      s.cinfo.image_height > static_cast<JDIMENSION>(kDibMaxSide) ||
      int64_t{s.cinfo.image_width} * s.cinfo.image_height * 3 > kDibMaxBytes ||
      !PictureSizeAllowed(s.cinfo.image_width, s.cinfo.image_height)) {
    s.tooLarge = true;
    return false;
  }
  s.cinfo.out_color_space = JCS_EXT_BGR;  // straight into the bitmap's byte order; grey is expanded
  jpeg_start_decompress(&s.cinfo);
  if (s.cinfo.output_components != 3 ||
      !DibCreate24(s.out, static_cast<int32_t>(s.cinfo.output_width), static_cast<int32_t>(s.cinfo.output_height))) {
    s.tooLarge = true;
    return false;
  }
  while (s.cinfo.output_scanline < s.cinfo.output_height) {
    JSAMPROW row = DibRow(s.out, static_cast<int32_t>(s.cinfo.output_scanline));
    if (jpeg_read_scanlines(&s.cinfo, &row, 1) != 1) break;  // the memory source never suspends
    if (s.err.prematureEnd) return false;                     // the rest would be made-up grey
  }
  if (s.err.prematureEnd) return false;
  jpeg_finish_decompress(&s.cinfo);
  return !s.err.prematureEnd;
}

struct JpegWriteState {
  jpeg_compress_struct cinfo{};
  JpegErrorManager err;
  bool created = false;
  unsigned char* buffer = nullptr;
  unsigned long bufferSize = 0;
};

bool JpegEncode(JpegWriteState& s, const DIB_P& d, int quality) {
  s.cinfo.err = jpeg_std_error(&s.err.pub);
  s.err.pub.error_exit = JpegErrorExit;
  s.err.pub.emit_message = JpegEmitMessage;
  if (setjmp(s.err.jump)) return false;
  jpeg_create_compress(&s.cinfo);
  s.created = true;
  jpeg_mem_dest(&s.cinfo, &s.buffer, &s.bufferSize);
  s.cinfo.image_width = static_cast<JDIMENSION>(d.Width);
  s.cinfo.image_height = static_cast<JDIMENSION>(d.Height);
  s.cinfo.input_components = d.BytesPerPixel;
  s.cinfo.in_color_space = d.BytesPerPixel == 4 ? JCS_EXT_BGRX : JCS_EXT_BGR;
  jpeg_set_defaults(&s.cinfo);
  jpeg_set_quality(&s.cinfo, quality < 1 ? 1 : (quality > 100 ? 100 : quality), TRUE);
  // Jigsaw packs accept a picture only with the plain JFIF header.
  s.cinfo.write_JFIF_header = TRUE;
  s.cinfo.JFIF_major_version = 1;
  s.cinfo.JFIF_minor_version = 1;
  jpeg_start_compress(&s.cinfo, TRUE);
  while (s.cinfo.next_scanline < s.cinfo.image_height) {
    JSAMPROW row = DibRow(d, static_cast<int32_t>(s.cinfo.next_scanline));
    jpeg_write_scanlines(&s.cinfo, &row, 1);
  }
  jpeg_finish_compress(&s.cinfo);
  return true;
}

bool Fail(std::string* error, const std::string& text) {
  if (error) *error = text;
  return false;
}

}  // namespace

bool DibLoadJpeg(DIB_P& d, const uint8_t* data, size_t size, std::string* error) {
  if (!data || size < 3 || data[0] != 0xFF || data[1] != 0xD8 || data[2] != 0xFF)
    return Fail(error, "JPEG: not a JPEG file");
  auto s = std::make_unique<JpegReadState>();
  const bool ok = JpegDecode(*s, data, size);
  if (s->created) jpeg_destroy_decompress(&s->cinfo);
  if (!ok) {
    if (s->unsupportedColours) return Fail(error, "JPEG: CMYK pictures are not supported");
    if (s->tooLarge)
      return Fail(error, "JPEG: the picture size is out of range (" + std::to_string(s->cinfo.image_width) +
                             " x " + std::to_string(s->cinfo.image_height) + ")");
    if (s->err.prematureEnd) return Fail(error, std::string("JPEG: the file is cut short (") + s->err.message + ")");
    return Fail(error, std::string("JPEG: ") + s->err.message);
  }
  d = std::move(s->out);
  return true;
}

bool DibSaveJpeg(const DIB_P& d, int quality, std::vector<uint8_t>& out, std::string* error) {
  if (d.Width <= 0 || d.Height <= 0 || (d.BytesPerPixel != 3 && d.BytesPerPixel != 4))
    return Fail(error, "JPEG: no 24- or 32-bit picture to save");
  auto s = std::make_unique<JpegWriteState>();
  const bool ok = JpegEncode(*s, d, quality);
  if (s->created) jpeg_destroy_compress(&s->cinfo);
  std::string problem = ok ? std::string() : std::string("JPEG: ") + s->err.message;
  if (ok) {
    try {
      out.assign(s->buffer, s->buffer + s->bufferSize);
    } catch (const std::bad_alloc&) {
      problem = "JPEG: out of memory";
    }
  }
  std::free(s->buffer);  // jpeg_mem_dest's buffer comes from malloc
  if (!problem.empty()) return Fail(error, problem);
  return true;
}

}  // namespace varlo
