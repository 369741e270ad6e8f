// The knob atlas the rectangular cut copies short knob outlines from.
#include "baker.h"
#include "cut/knob_atlas.h"
#include "raster/picture_codecs.h"

namespace varlo::bake {
namespace {

bool BakeKnobAtlas(const std::string& outPath, std::string* error) {
  DIB_P atlas;
  if (!DrawKnobAtlas(atlas)) {
    if (error) *error = "the knob outlines do not fit the atlas bands";
    return false;
  }
  std::vector<uint8_t> png;
  if (!DibSavePng(atlas, png, error)) return false;
  return WriteFileAtomically(outPath, png, error);
}

}  // namespace

VARLO_BAKER("knob-atlas", BakeKnobAtlas);

}  // namespace varlo::bake
