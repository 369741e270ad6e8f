// The irregular cut of shape styles 0 to 3: polygonal pieces from a relaxed
// Voronoi diagram of one random seed per grid cell, with a template knob on
// every edge between two pieces.
//
// The same generator seed on entry (GameSeed), picture size and level give
// the same mask bit for bit. The generator is drawn in this order: the
// seeds; then, per drawing attempt, the artistic placement (style 3), the
// knob sides, and per knobbed edge its template, its mirror and one mirror
// per fallback template tried.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "cut/irregular_artistic.h"
#include "cut/knob_templates.h"
#include "cut/piece_mask.h"
#include "raster/dib.h"
#include "jigsaw/jig_params.h"
#include "raster/random.h"
#include "platform/progress.h"

namespace varlo {

struct Jigsaw;
struct Platform;

inline constexpr int32_t kIrregularCutProgressSteps = 9;
inline constexpr int32_t kIrregularCutAttempts = 3;

struct IrregularCutReport {
  PaintError Error;               // of the last attempt
  int32_t Attempts = 0;           // drawing attempts made, 1..3
  int32_t FirstEdgeFailures = 0;  // diagram builds that found no first edge
  bool GridFallback = false;      // no diagram could be built: the pieces are the grid cells
  bool ArtisticFailed = false;    // the last attempt could not place the artistic pieces
};

// Cuts p's ImageW x ImageH picture into TilePX x TilePY pieces (plus the
// border piece with BorderStyle 1): sets the jigsaw rectangle, fills the cut
// fields of the pieces (tiles grows to hold them), sets TileNum and
// TotalTileNum and leaves the finished mask in maskSlot. Advances progress
// 9 steps. Shape style 3 needs the artistic placement. False (nothing
// handed over) for another shape style, an empty grid, cells too small to
// hold a seed, or a mask that could not be made.
bool CutIrregular(JIG_P& p, std::vector<TILE_P>& tiles, DIB_P& maskSlot, RandomGenerator& random,
                  Progress& progress, IrregularCutReport& report, ArtisticPlacement* artistic = nullptr);

// The same cut from given seeds (one per cell, strictly inside the jigsaw
// rectangle) instead of drawn ones.
bool CutIrregularFromSeeds(JIG_P& p, std::vector<TILE_P>& tiles, DIB_P& maskSlot,
                           std::vector<PointI> seeds, RandomGenerator& random, Progress& progress,
                           IrregularCutReport& report, ArtisticPlacement* artistic = nullptr);

// What the player is told after the hand-over: "Finding first edge failed!"
// once for each diagram that could not be built, then a fill that still
// failed after the last attempt (or an artistic placement that failed), told
// by paintErrorText (MS_PaintError in the player's language).
void ReportIrregularCut(const Platform& platform, std::string_view paintErrorText,
                        const IrregularCutReport& report);

// The cut of a jigsaw in play: its mask into the mask slot, then the
// messages: "Finding first edge failed!" for a diagram that could not be
// built, and a fill that still failed after the last attempt.
bool CutIrregularJigsaw(Jigsaw& jig, RandomGenerator& random, Progress& progress, const Platform& platform,
                        std::string_view paintErrorText, ArtisticPlacement* artistic = nullptr);

}  // namespace varlo
