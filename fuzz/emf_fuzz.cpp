// Fuzz target: the EMF walk, the in-place edits and the player on arbitrary
// bytes. A drawing is refused or played; nothing may read outside its
// records, write outside the bitmap, hang or leak.
#include <cstddef>
#include <cstdint>

#include "cut/emf_drawing.h"
#include "cut/emf_player.h"
#include "raster/dib.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (size_t{1} << 16)) return 0;  // the walk's own limit is far higher; keep runs quick
  varlo::EmfDrawing d;
  if (!varlo::EmfLoadDrawing(data, size, d, nullptr)) return 0;
  varlo::DIB_P out;
  if (!varlo::DibCreate24(out, 48, 40)) return 0;
  varlo::EmfPlay(d, out, 2, 3, 40, 30);
  varlo::EmfDrawing edited = d;
  const uint8_t knob = data[size - 1];
  varlo::EmfFlip(edited, knob & 1, knob & 2);
  varlo::EmfTurn(edited, static_cast<int>(knob % 60) - 30);
  varlo::EmfRecolour(edited, 0x4D0080);
  varlo::EmfPlay(edited, out, -5, -7, 60, 50);
  return 0;
}
