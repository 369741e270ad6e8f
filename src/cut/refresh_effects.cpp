#include "cut/refresh_effects.h"

#include <system_error>
#include <thread>

#include "cut/effect_layer.h"
#include "cut/emboss.h"
#include "jigsaw/pieces.h"

namespace varlo {

bool ComputeEffects(Jigsaw& jig, int32_t rot, int32_t embossStyle, int32_t woodStyle) {
  ++jig.ImageStamp;
  if (EmbossWidth(embossStyle) > 0) EmbossJigsaw(jig, rot, embossStyle);
  return BuildEffectLayer(jig, rot, woodStyle);
}

int32_t RefreshEffectsSteps(const Jigsaw& jig, int32_t embossStyle, int32_t woodStyle) {
  if (EmbossWidth(embossStyle) == 0 && BandWidth(woodStyle) == 0) return 0;
  return jig.Jig.Rotate ? 4 : 1;
}

bool RefreshEffects(Jigsaw& jig, int32_t embossStyle, int32_t woodStyle, Progress& progress) {
  ++jig.ImageStamp;
  for (int32_t r = 0; r < 4; ++r) DibFree(jig.Images[kEffectSlot + r]);
  SortPieces(jig, false);
  if (EmbossWidth(embossStyle) == 0 && BandWidth(woodStyle) == 0) return true;
  if (BandWidth(woodStyle) > 0) AssignLayerClasses(jig);
  // Each rotation has its own mask and layer and only reads the piece
  // table, so with Rotate the rotations 2 and 3 are computed on a second
  // thread while this one does 0 and 1 and keeps the progress display
  // going; the bytes are the same as one after the other.
  auto one = [&jig, embossStyle, woodStyle](int32_t r) {
    if (EmbossWidth(embossStyle) > 0) EmbossJigsaw(jig, r, embossStyle);
    return CastLayer(jig, r, woodStyle);
  };
  if (!jig.Jig.Rotate) {
    // The emboss writes only the mask's red bytes and the layer reads only
    // its blue bytes, so the two can share the work of the one rotation.
    bool layerOk = true;
    auto layer = [&jig, woodStyle, &layerOk]() noexcept {
      try {
        layerOk = CastLayer(jig, 0, woodStyle);
      } catch (...) {
        layerOk = false;
      }
    };
    std::thread side;
    if (EmbossWidth(embossStyle) > 0 && BandWidth(woodStyle) > 0) {
      try {
        side = std::thread(layer);
      } catch (const std::system_error&) {
      }
    }
    if (EmbossWidth(embossStyle) > 0) EmbossJigsaw(jig, 0, embossStyle);
    if (side.joinable())
      side.join();
    else
      layer();
    progress.Step();
    return layerOk;
  }
  bool laterOk = true;
  auto later = [&one, &laterOk]() noexcept {
    try {
      laterOk = one(2);
      laterOk = one(3) && laterOk;
    } catch (...) {
      laterOk = false;
    }
  };
  std::thread second;
  bool threaded = true;
  try {
    second = std::thread(later);
  } catch (const std::system_error&) {
    threaded = false;  // no second thread to be had: all four here
  }
  bool ok = true;
  for (int32_t r = 0; r < 2; ++r) {
    ok = one(r) && ok;
    progress.Step();
  }
  if (threaded)
    second.join();
  else
    later();
  progress.Step();
  progress.Step();
  return ok && laterOk;
}

}  // namespace varlo
