// The jigsaw in play: its parameters, the piece table, the sort table that
// orders pieces by group, and the twelve jigsaw images.
//
// A group is a set of joined pieces sharing one Group key; the key is also
// the group's place in the stacking order (larger keys lie above). The
// operations here keep keys, turned boxes and turned images consistent; the
// cuts fill the cut fields of each piece, the play field moves pieces around.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "raster/dib.h"
#include "jigsaw/jig_params.h"
#include "raster/random.h"
#include "platform/progress.h"

namespace varlo {

// Image slots: the picture turned 0..3 quarter turns clockwise, the piece
// mask turned likewise (each with its black margin at the right and bottom),
// and the edge-effect layers for the same turns. Without rotation only the
// unturned slot of each kind exists.
inline constexpr int kJigImageSlots = 12;
inline constexpr int kPictureSlot = 0;  // + quarter turns
inline constexpr int kMaskSlot = 4;     // + quarter turns
inline constexpr int kEffectSlot = 8;   // + quarter turns
inline constexpr int32_t kMaskMargin = 5;

// Piece indices must fit the 16-bit neighbour slots of TILE_P.
inline constexpr int32_t kMaxPieceSlots = 32768;

// One entry of the sort table: a piece's group key and its index.
struct SortEntry {
  int32_t Key = 0;
  int32_t Index = 0;
  friend bool operator==(const SortEntry&, const SortEntry&) = default;
};

struct Jigsaw {
  JIG_P Jig;                     // the play copy of the parameters
  std::vector<TILE_P> Tiles;     // room for the pieces; Jig.TotalTileNum are in use
  std::vector<SortEntry> Sort;   // filled by SortPieces
  std::array<DIB_P, kJigImageSlots> Images;
  // Counts changes made to the images in place (the shading of the masks
  // and the effect layers computed again); what is kept from the images
  // (the field's paint lists) compares it. Whoever writes into an image
  // slot in place counts it here.
  uint32_t ImageStamp = 0;
};

// Sizes the placement works with: the content size of the two sides and the
// visible size of the play field.
struct PlayArea {
  int32_t ContentW = 0;
  int32_t ContentH = 0;
  int32_t FieldW = 0;
  int32_t FieldH = 0;
};

// A piece's turned box: its top-left in the turned picture and mask, its size.
struct TurnedBox {
  int32_t MapX = 0;
  int32_t MapY = 0;
  int32_t RotW = 0;
  int32_t RotH = 0;
  friend bool operator==(const TurnedBox&, const TurnedBox&) = default;
};

struct SolvedCounts {
  int32_t UnsolvedNum = -1;    // groups left to join (N for a fresh game)
  int32_t SolvedPercent = -1;
  friend bool operator==(const SolvedCounts&, const SolvedCounts&) = default;
};

// ---- the table ----
// Pieces in use: Jig.TotalTileNum, limited to the records allocated.
int32_t PieceCount(const Jigsaw& jig);
// Index of the border piece (the last piece with BorderStyle 1), else -1.
int32_t BorderPieceIndex(const Jigsaw& jig);
// Replace the piece table by n fresh records and empty the sort table.
// False (and the table left empty) for n outside 0..kMaxPieceSlots.
bool AllocPieces(Jigsaw& jig, int32_t n);
void FreePieces(Jigsaw& jig);
// Release all twelve image slots.
void FreeJigsawImages(Jigsaw& jig);

// Fill the sort table with (Group, index) of every piece in use, ordered by
// key and, among equal keys, by index; descending is the exact reverse.
// Ascending is the painting order, descending the hit-testing order. The
// border frame's group always comes first (last descending): it lies under
// every other group.
void SortPieces(Jigsaw& jig, bool descending);

// ---- turned boxes and images ----
// The box of piece t turned by `rot` quarter turns (taken mod 4), addressing
// the same pixels in picture slot rot and mask slot 4 + rot.
TurnedBox TurnedBoxFor(const Jigsaw& jig, const TILE_P& t, int32_t rot);
// Recompute RotW, RotH, MapX, MapY of piece i from its Rot and box.
void PlaceRotated(Jigsaw& jig, int32_t i);
// With Rotate set build picture slots 1..3 and mask slots 5..7 from slots 0
// and 4, one progress step per image (six in all); without Rotate free them.
// False when a turned image could not be made (the turned slots are then
// freed).
bool MakeRotatedImages(Jigsaw& jig, Progress& progress);

// ---- placement ----
// Initial placement of the loose pieces (groups of one) of window w, the
// border piece left out: in a shuffled grid (spread) or scattered at random.
void SpreadPieces(Jigsaw& jig, int32_t window, bool spread, const PlayArea& area,
                  RandomGenerator& random);
// After a cut: the turned images, every piece its own group on side 0 with a
// random turn (when Rotate is set), spread by SpreadOut, the border piece
// centred. Leaves the sort table ascending. False when the turned images
// could not be made (out of memory): the game cannot be played then.
bool SetupNewGame(Jigsaw& jig, const PlayArea& area, RandomGenerator& random,
                  Progress& progress);

// ---- stacking order ----
// `weighted` is the weighted piece's index, -1 when none.
// Move piece i's group to the top (nothing for the weighted group).
void BringToFront(Jigsaw& jig, int32_t i, int32_t weighted);
// Move all selected groups to the top in their previous order and renumber
// the keys densely 0, 1, 2, ...
void SelectionToFront(Jigsaw& jig);
// Move the weighted group to the bottom (nothing when none is weighted).
void WeightToBack(Jigsaw& jig, int32_t weighted);

// ---- counts ----
// Number of groups among the pieces of window w, from the sort table
// (refreshed first, ascending, when resort is set).
int32_t CountGroups(Jigsaw& jig, int32_t window, bool resort);
// Groups left to join and the solved percentage; 100 % once the jigsaw has
// been completed; (-1, -1) for an empty piece table (no game). Sorts
// ascending.
SolvedCounts SolvedStats(Jigsaw& jig, bool completed);

}  // namespace varlo
