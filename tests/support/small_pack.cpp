#include "small_pack.h"

#include <stdexcept>

#include "files/info_text.h"
#include "files/jigsaw_pack.h"
#include "raster/picture_codecs.h"
#include "temp_home.h"

namespace varlo::testing {
namespace {

DIB_P Blocks(int32_t w, int32_t h) {
  DIB_P d;
  if (!DibCreate24(d, w, h)) throw std::runtime_error("out of memory");
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) {
      uint8_t* p = DibPixel(d, x, y);
      p[0] = static_cast<uint8_t>(x * 255 / w);
      p[1] = static_cast<uint8_t>(y * 255 / h);
      p[2] = static_cast<uint8_t>((x / 20 + y / 20) % 2 ? 210 : 50);
    }
  return d;
}

std::vector<uint8_t> Bmp(const DIB_P& d) {
  std::vector<uint8_t> out;
  std::string error;
  if (!DibSaveBmp(d, out, &error)) throw std::runtime_error(error);
  return out;
}

}  // namespace

void WriteSmallPack(const std::string& path, int32_t w, int32_t h, const std::string& info) {
  PackParts parts;
  parts.ImageW = w;
  parts.ImageH = h;
  parts.ShortText = "Blocks";
  parts.Thumbnail = Bmp(Blocks(w / 2, h / 2));
  parts.Info = EncodeInfoUtf8(info);
  parts.Picture = Bmp(Blocks(w, h));
  const std::vector<uint8_t> bytes = BuildPack(parts);
  WriteFile(path, std::string(bytes.begin(), bytes.end()));
}

}  // namespace varlo::testing
