#include "play/piece_look.h"

namespace varlo {

int32_t EdgeWidthFor(const Jigsaw& jig, const PieceLook& look, int32_t rot) {
  if (look.WoodStyle == 0 || look.EdgeW <= 0) return 0;
  const DIB_P& eff = jig.Images[kEffectSlot + (rot & 3)];
  const DIB_P& mask = jig.Images[kMaskSlot + (rot & 3)];
  if (eff.Width != mask.Width || eff.Height != mask.Height || eff.Width <= 0) return 0;
  return look.EdgeW;
}

}  // namespace varlo
