// A piece ready to paint: where its mask carries its key, kept as runs per
// row of its turned box together with the piece's own pixels (shaded by
// the emboss when the look has one) and the band levels of its edge
// effect. Painting a piece from its list copies whole runs from one
// sequential buffer and shades its band from another; it never reads the
// mask, the picture or the effect layer, whose rows lie far apart. A full
// recompose of a big game spends most of its time on those reads
// otherwise.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "play/piece_look.h"
#include "jigsaw/pieces.h"

namespace varlo {

struct PieceRun {
  uint16_t X = 0;     // from the left of the turned box
  uint16_t Len = 0;   // pixels
  uint32_t Data = 0;  // first pixel of the run in Pixels (or Levels)
};

// One piece in one rotation. Row r of the box holds
// Runs[RowStart[r]] .. Runs[RowStart[r + 1] - 1]; only pixels inside the
// picture count (the mask's margin is never the piece's). Edge rows (the
// box and its band, EdgeW more rows and columns) hold the pixels of the
// band around the piece, in EdgeRuns with their level in Levels. All of
// it lies in one block, so that painting a piece reads one stretch of
// memory.
struct alignas(64) PieceRunList {
  // What painting reads, in the first cache line.
  const uint32_t* RowStart = nullptr;  // Rows + 1 entries
  const PieceRun* Runs = nullptr;
  const uint32_t* EdgeStart = nullptr;  // EdgeRows + 1 entries (none without an edge effect)
  const PieceRun* EdgeRuns = nullptr;
  const uint8_t* Levels = nullptr;  // 1..7, a byte a pixel, in run order
  const uint8_t* Pixels = nullptr;  // 3 bytes a pixel, in run order
  int32_t Rows = 0, EdgeRows = 0;
  std::unique_ptr<unsigned char[]> Block;
  // What the list was built from, in the second; a mismatch builds it
  // again.
  const uint8_t* MaskBits = nullptr;
  const uint8_t* PictureBits = nullptr;
  const uint8_t* EffectBits = nullptr;
  uint32_t Stamp = 0;
  int32_t MapX = -1, MapY = -1, W = -1, H = -1;
  int32_t EdgeW = -1, WoodBit = -1, WoodSlot = -1;
  uint8_t Key = 0, Rot = 255;
  bool Shaded = false;

  uint32_t RunCount() const { return RowStart ? RowStart[Rows] : 0; }
  uint32_t EdgeRunCount() const { return EdgeStart ? EdgeStart[EdgeRows] : 0; }
};
static_assert(sizeof(PieceRunList) == 128, "a list's entry fills two cache lines");

// The lists of the pieces of one jigsaw, one per piece for its current
// rotation, built the first time a piece is painted with a look. The
// field owns one and drops it with the game. A list is built again when
// the piece turns, moves in the mask, the look changes or the jigsaw's
// images change in place (Jigsaw::ImageStamp); a change to a
// piece's band in place (a seam cleared on a join) must be told with
// Forget.
class PieceRunCache {
 public:
  void Clear() { lists_.clear(); }
  // The list of piece i in its current rotation (built when needed); null
  // when the piece has no mask. While frozen nothing is built: a list not
  // ready is null, and several threads may call Get at once.
  const PieceRunList* Get(const Jigsaw& jig, int32_t i, const PieceLook& look);
  // Makes the list of piece i ready for the look (the border piece has
  // none). Different pieces may be prepared on different threads at once,
  // after Reserve for the jigsaw.
  void Prepare(const Jigsaw& jig, int32_t i, const PieceLook& look);
  void Reserve(const Jigsaw& jig);
  void Forget(int32_t i);
  // Hints: start fetching piece i's list into the cache, ready or not;
  // PrefetchEntry only what says where the list lies.
  void Prefetch(int32_t i) const;
  void PrefetchEntry(int32_t i) const {
    if (i < 0 || static_cast<size_t>(i) >= lists_.size()) return;
    const PieceRunList* entry = &lists_[static_cast<size_t>(i)];
    __builtin_prefetch(entry);
    __builtin_prefetch(reinterpret_cast<const char*>(entry) + 64);
  }
  void Freeze(bool on) { frozen_ = on; }

 private:
  bool frozen_ = false;
  std::vector<PieceRunList> lists_;  // one per piece
};

}  // namespace varlo
