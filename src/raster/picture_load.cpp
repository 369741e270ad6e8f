// Picking the codec for a picture by its signature, and reading picture
// files whole.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>

#include "raster/file_calls.h"
#include "raster/file_limits.h"
#include "raster/picture_codecs.h"

namespace varlo {

namespace {

constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

// No picture file the game can use is larger than the largest bitmap it
// will make; anything bigger is refused before it is read.

bool Fail(std::string* error, const std::string& text) {
  if (error) *error = text;
  return false;
}

}  // namespace

PictureFormat SniffPicture(const uint8_t* data, size_t size) {
  if (!data) return PictureFormat::Unknown;
  if (size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF) return PictureFormat::Jpeg;
  if (size >= 8 && std::memcmp(data, kPngSignature, 8) == 0) return PictureFormat::Png;
  if (size >= 2 && data[0] == 'B' && data[1] == 'M') return PictureFormat::Bmp;
  return PictureFormat::Unknown;
}

bool DibLoadPicture(DIB_P& d, const uint8_t* data, size_t size, std::string* error) {
  DIB_P out;
  bool ok = false;
  switch (SniffPicture(data, size)) {
    case PictureFormat::Bmp:
      ok = DibLoadBmp(out, data, size, error);
      break;
    case PictureFormat::Jpeg:
      ok = DibLoadJpeg(out, data, size, error);
      break;
    case PictureFormat::Png:
      ok = DibLoadPng(out, data, size, error);
      // The game's pictures are 24-bit; transparency has no meaning there.
      if (ok && out.BytesPerPixel != 3) {
        DIB_P flat;
        ok = DibFromBitmap(flat, out);
        if (!ok) Fail(error, "PNG: the picture is too large");
        out = std::move(flat);
      }
      break;
    case PictureFormat::Unknown:
      return Fail(error, "not a picture in a known format (BMP, JPEG or PNG)");
  }
  if (!ok) return false;
  d = std::move(out);
  return true;
}

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& out, std::string* error) {
  return ReadRegularFile(path, kMaxPictureFileBytes, out, error);
}

bool DibLoadPictureFile(DIB_P& d, const std::string& path, std::string* error) {
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(path, bytes, error)) return false;
  std::string problem;
  if (!DibLoadPicture(d, bytes.data(), bytes.size(), &problem)) return Fail(error, path + ": " + problem);
  return true;
}

bool DibLoadPngResource(DIB_P& d, const std::string& resourceDir, const std::string& name,
                        std::string* error) {
  // A resource that fails to load leaves no stale picture behind.
  DibClear(d);
  std::string path = resourceDir;
  if (!path.empty() && path.back() != '/') path += '/';
  path += name + ".png";
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(path, bytes, error)) return false;
  std::string problem;
  if (!DibLoadPng(d, bytes.data(), bytes.size(), &problem)) return Fail(error, path + ": " + problem);
  return true;
}

}  // namespace varlo
