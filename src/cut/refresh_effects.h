// Computing the piece effects of a jigsaw: the emboss shade in the masks
// and the edge-effect layers, for every rotation the game has.
#pragma once

#include <cstdint>

#include "platform/progress.h"

namespace varlo {

struct Jigsaw;

// The effects of rotation rot: the emboss shade into mask slot 4 + rot
// (when embossStyle is not 0) and the layer in slot 8 + rot (built when
// woodStyle is not 0, freed otherwise). False when a layer could not be
// made.
bool ComputeEffects(Jigsaw& jig, int32_t rot, int32_t embossStyle, int32_t woodStyle);

// Frees the four layers, sorts the pieces into painting order and, unless
// both styles are 0, computes the effects of rotation 0 and, with Rotate,
// of rotations 1..3, one progress step after each rotation. A mask whose
// emboss style changes must have its shading reset first (ResetShading).
// False when a layer could not be made.
bool RefreshEffects(Jigsaw& jig, int32_t embossStyle, int32_t woodStyle, Progress& progress);

// Progress steps RefreshEffects takes.
int32_t RefreshEffectsSteps(const Jigsaw& jig, int32_t embossStyle, int32_t woodStyle);

}  // namespace varlo
