// Fuzzing the jigsaw pack reader in its three modes. The play read is given
// the header's own picture size, as after a preview, so that it reaches the
// info and picture entries.
#include <cstddef>
#include <cstdint>
#include <string>

#include "raster/byte_io.h"
#include "files/byte_source.h"
#include "files/jigsaw_pack.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace varlo;
  for (OpenMode mode : {OpenMode::Preview, OpenMode::Thumbnail, OpenMode::Play}) {
    MemorySource in(data, size);
    PackRead io;
    if (mode == OpenMode::Play && size >= 17) {
      io.Jig.ImageW = GetI32(data + 9);
      io.Jig.ImageH = GetI32(data + 13);
    }
    std::string error;
    ReadPack(in, mode, io, &error);
  }
  return 0;
}
