// Where a piece's mask carries its key, kept as runs per row of its turned
// box. Painting a piece from its runs copies or shades whole runs and never
// tests a mask pixel again; a full recompose of a big game spends most of
// its time on those tests otherwise.
#pragma once

#include <cstdint>
#include <vector>

#include "play/pieces.h"

namespace varlo {

struct PieceRun {
  uint16_t X = 0;    // from the left of the turned box
  uint16_t Len = 0;  // pixels
};

// The runs of one piece in one rotation. Row r of the box holds
// Runs[RowStart[r]] .. Runs[RowStart[r + 1] - 1]; only pixels inside the
// picture count (the mask's margin is never the piece's).
struct PieceRunList {
  std::vector<uint32_t> RowStart;  // box height + 1 entries
  std::vector<PieceRun> Runs;
  // What the list was built from; a mismatch builds it again.
  const uint8_t* MaskBits = nullptr;
  int32_t MapX = -1, MapY = -1, W = -1, H = -1;
  uint8_t Key = 0;
};

// Run lists of the pieces of one jigsaw, built the first time a piece is
// painted in a rotation. The field owns one and drops it with the game.
// The mask's keys must not change while the lists are in use.
class PieceRunCache {
 public:
  void Clear() { lists_.clear(); }
  // The runs of piece i in its current rotation (built when needed); null
  // when the piece has no mask. While frozen nothing is built: a list not
  // ready is null, and several threads may call Get at once.
  const PieceRunList* Get(const Jigsaw& jig, int32_t i);
  void Freeze(bool on) { frozen_ = on; }

 private:
  bool frozen_ = false;
  std::vector<PieceRunList> lists_;  // four per piece
};

}  // namespace varlo
