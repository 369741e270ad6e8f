// Fuzzing the saved-game reader: the preview and the full play read.
#include <cstddef>
#include <cstdint>
#include <string>

#include "files/byte_source.h"
#include "files/saved_game.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace varlo;
  for (OpenMode mode : {OpenMode::Preview, OpenMode::Play}) {
    MemorySource in(data, size);
    SolveRead io;
    std::string error;
    ReadSolve(in, mode, io, &error);
  }
  return 0;
}
