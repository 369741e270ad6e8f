// Fuzz target: the shape library reader on arbitrary bytes, then the first
// entries it accepts turned, flipped and played as a placement would.
#include <cstddef>
#include <cstdint>

#include "cut/emf_player.h"
#include "cut/shape_library.h"
#include "raster/dib.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (size_t{1} << 18)) return 0;
  varlo::ShapeLibrary lib;
  if (varlo::ParseShapeLibrary(data, size, lib, nullptr) != varlo::ShapeLibraryResult::Loaded) return 0;
  varlo::DIB_P out;
  if (!varlo::DibCreate24(out, 40, 40)) return 0;
  for (size_t i = 0; i < lib.Entries.size() && i < 4; ++i) {
    const varlo::ShapeEntry& e = lib.Entries[i];
    varlo::EmfDrawing d = e.Drawing;
    varlo::EmfFlip(d, e.FlipLeftRight, e.FlipTopBottom);
    varlo::EmfTurn(d, -30 + static_cast<int>(i) * 17);
    varlo::EmfRecolour(d, 0x010080);
    varlo::EmfPlay(d, out, 1, 1, 36, 30);
  }
  return 0;
}
