#include "cut/refresh_effects.h"

#include "cut/effect_layer.h"
#include "cut/emboss.h"
#include "play/pieces.h"

namespace varlo {

bool ComputeEffects(Jigsaw& jig, int32_t rot, int32_t embossStyle, int32_t woodStyle) {
  if (EmbossWidth(embossStyle) > 0) EmbossJigsaw(jig, rot, embossStyle);
  return BuildEffectLayer(jig, rot, woodStyle);
}

int32_t RefreshEffectsSteps(const Jigsaw& jig, int32_t embossStyle, int32_t woodStyle) {
  if (EmbossWidth(embossStyle) == 0 && BandWidth(woodStyle) == 0) return 0;
  return jig.Jig.Rotate ? 4 : 1;
}

bool RefreshEffects(Jigsaw& jig, int32_t embossStyle, int32_t woodStyle, Progress& progress) {
  for (int32_t r = 0; r < 4; ++r) DibFree(jig.Images[kEffectSlot + r]);
  SortPieces(jig, false);
  if (EmbossWidth(embossStyle) == 0 && BandWidth(woodStyle) == 0) return true;
  const int32_t rotations = jig.Jig.Rotate ? 4 : 1;
  bool ok = true;
  for (int32_t r = 0; r < rotations; ++r) {
    ok = ComputeEffects(jig, r, embossStyle, woodStyle) && ok;
    progress.Step();
  }
  return ok;
}

}  // namespace varlo
