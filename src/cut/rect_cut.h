// The rectangular cut of shape styles 4, 5 and 6: a grid of cells whose
// shared edges carry one knob each, drawn from the grid templates.
//
// The same GameSeed (the generator's seed on entry), picture size and level
// give the same mask bit for bit: the generator is drawn in a fixed order,
// first every knob side in cell order, then for each edge in drawing order
// its template and its mirror.
#pragma once

#include <cstdint>
#include <vector>

#include "cut/piece_mask.h"
#include "raster/dib.h"
#include "jigsaw/jig_params.h"
#include "raster/random.h"
#include "platform/progress.h"

namespace varlo {

struct Jigsaw;
struct Platform;

inline constexpr int32_t kRectCutProgressSteps = 11;

// Cuts p's ImageW x ImageH picture into p.TilePX x p.TilePY pieces (plus the
// border piece with BorderStyle 1): sets the jigsaw rectangle, fills the cut
// fields of the pieces (tiles grows to hold them), sets TotalTileNum, and
// leaves the finished mask in maskSlot. atlas is the knob atlas resource;
// without a usable one every edge is drawn as a curve. Advances progress
// 11 steps. A fill point that was not white is recorded in error and the
// cut goes on. False (nothing handed over) for a shape style that is not
// rectangular, an empty grid or a mask that could not be made.
bool CutRectangular(JIG_P& p, std::vector<TILE_P>& tiles, DIB_P& maskSlot, const DIB_P& atlas,
                    RandomGenerator& random, Progress& progress, PaintError& error);

// The cut of a jigsaw in play, its mask into the mask slot, and a failed
// fill reported to the player after the hand-over.
bool CutRectangularJigsaw(Jigsaw& jig, const DIB_P& atlas, RandomGenerator& random,
                          Progress& progress, const Platform& platform);

}  // namespace varlo
