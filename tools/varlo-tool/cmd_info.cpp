// varlo-tool info PICTURE: reads a picture with the game's own loader and
// prints its size and kind, or why it cannot be read.
#include <iostream>

#include "command.h"
#include "raster/picture_codecs.h"

namespace varlo::tool {
namespace {

int RunInfo(const std::vector<std::string>& argv) {
  if (argv.size() != 1) return Fail("info", "usage: varlo-tool info PICTURE");
  std::vector<uint8_t> bytes;
  std::string error;
  if (!ReadWholeFile(argv[0], bytes, &error)) return Fail("info", error);
  const PictureFormat format = SniffPicture(bytes.data(), bytes.size());
  DIB_P picture;
  if (!DibLoadPicture(picture, bytes.data(), bytes.size(), &error)) return Fail("info", error);
  const char* kind = format == PictureFormat::Bmp ? "bmp" : format == PictureFormat::Jpeg ? "jpeg" : "png";
  std::cout << "{\"kind\":\"" << kind << "\",\"width\":" << picture.Width
            << ",\"height\":" << picture.Height << ",\"bytes\":" << bytes.size() << "}\n";
  return 0;
}

}  // namespace

VARLO_TOOL_COMMAND("info", "  info PICTURE            size and kind of a BMP, JPEG or PNG picture", RunInfo);

}  // namespace varlo::tool
