// Fuzz target: the JPEG reader on arbitrary bytes. It must fail cleanly (or
// succeed) without crashing, reading outside its input or leaking.
#include <cstddef>
#include <cstdint>
#include <string>

#include "raster/picture_codecs.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  varlo::DIB_P d;
  std::string error;
  varlo::DibLoadJpeg(d, data, size, &error);
  return 0;
}
