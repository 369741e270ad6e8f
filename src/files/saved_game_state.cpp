// The state block of saved games and the checks of a piece table.
#include <cstring>

#include "raster/byte_io.h"
#include "raster/output_file.h"
#include "files/picture_size.h"
#include "files/saved_game.h"
#include "jigsaw/pieces.h"

namespace varlo {

static_assert(kBackgroundBlockBytes == 9 * 4, "background block: two reserved, lBkg, six windows");
// Reserved, Shown, Outer as four int32 and the scroll position as two int16:
// the 22 bytes the state block has always given each pocket.
static_assert(kPocketRecordBytes == 1 + 1 + 4 * 4 + 2 + 2, "pocket record");
static_assert(kTrailerBytes == 4 + 4 + 256, "trailer: magic, weighted piece, zeros");

uint64_t SolveStateBytes(int32_t totalTileNum) {
  return kBackgroundBlockBytes + kStateOptionBytes +
         static_cast<uint64_t>(totalTileNum) * kTileBytes + kPocketCount * kPocketRecordBytes +
         kTrailerBytes;
}

SaveGameView ViewOf(const SavedGame& g) {
  SaveGameView v;
  v.Name = &g.Name;
  v.Jig = &g.Jig;
  v.Thumbnail = &g.Thumbnail;
  v.Picture = &g.Picture;
  v.Mask = &g.Mask;
  v.Info = &g.Info;
  v.State.Settings = g.Settings;
  v.State.Pieces = g.Pieces;
  v.State.Pockets = g.Pockets;
  v.State.Weighted = g.Weighted;
  return v;
}

std::vector<uint8_t> EncodeSolveState(const SolveStateView& s) {
  std::vector<uint8_t> out(SolveStateBytes(static_cast<int32_t>(s.Pieces.size())), 0);
  uint8_t* p = out.data();
  PutI32(p, s.Settings.Reserved0);
  PutI32(p + 4, s.Settings.Reserved1);
  PutI32(p + 8, s.Settings.lBkg);
  for (int i = 0; i < kPlayWindowCount; ++i) PutI32(p + 12 + 4 * i, s.Settings.WinBkg[i]);
  p += kBackgroundBlockBytes;
  std::memcpy(p, s.Settings.PlayOptions.data(), kStateOptionBytes);
  p += kStateOptionBytes;
  for (const TILE_P& t : s.Pieces) {
    EncodeTile(t, p);
    p += kTileBytes;
  }
  for (const PocketRecord& r : s.Pockets) {
    p[0] = r.Reserved;
    p[1] = r.Shown;
    PutI32(p + 2, r.Left);
    PutI32(p + 6, r.Top);
    PutI32(p + 10, r.Right);
    PutI32(p + 14, r.Bottom);
    PutI16(p + 18, r.ScrollX);
    PutI16(p + 20, r.ScrollY);
    p += kPocketRecordBytes;
  }
  PutI32(p, kTrailerMagic);
  PutI32(p + 4, s.Weighted);
  p += kTrailerBytes;  // the 256 bytes after them stay zero
  (void)p;
  return out;
}

bool WriteSolveState(OutputFile& out, const SolveStateView& state, std::string* error) {
  const std::vector<uint8_t> block = EncodeSolveState(state);
  out.Write(block.data(), block.size());
  if (!out.Flush()) {
    if (error) *error = out.failure();
    return false;
  }
  return true;
}

namespace {

bool InRange(int64_t v, int64_t lo, int64_t hi) { return v >= lo && v <= hi; }

std::string PieceFault(size_t i, const std::string& what) {
  return "Piece " + std::to_string(i) + " of the saved game " + what + ".";
}

}  // namespace

std::string CheckPieces(const JIG_P& jig, std::span<const TILE_P> pieces) {
  const int64_t n = static_cast<int64_t>(pieces.size());
  Jigsaw shape;  // no images: turned boxes follow from the picture size
  shape.Jig = jig;
  const int32_t side = kMaxPictureSide + 5;
  for (size_t i = 0; i < pieces.size(); ++i) {
    const TILE_P& t = pieces[i];
    if (t.Win >= kPlayWindowCount) return PieceFault(i, "lies in no window (" + std::to_string(t.Win) + ")");
    if (t.Rot > 3 || (jig.Rotate == 0 && t.Rot != 0))
      return PieceFault(i, "has an impossible turn (" + std::to_string(t.Rot) + ")");
    if (!InRange(t.Group, 0, n - 1))
      return PieceFault(i, "has a group key outside 0.." + std::to_string(n - 1));
    if (!InRange(t.X, -kMaxCoordinate, kMaxCoordinate) || !InRange(t.Y, -kMaxCoordinate, kMaxCoordinate))
      return PieceFault(i, "lies far outside its window");
    for (int16_t nb : t.Nb)
      if (!InRange(nb, -1, n - 1)) return PieceFault(i, "names a neighbour that does not exist");
    if (!InRange(t.BoxW, 0, side) || !InRange(t.BoxH, 0, side) || !InRange(t.BoxX, -side, side) ||
        !InRange(t.BoxY, -side, side))
      return PieceFault(i, "has a box outside the picture");
    // The turned box must be where the turn puts it (the painter reads the
    // turned picture and mask there).
    const TurnedBox b = TurnedBoxFor(shape, t, t.Rot);
    if (t.RotW != b.RotW || t.RotH != b.RotH || t.MapX != b.MapX || t.MapY != b.MapY)
      return PieceFault(i, "has a turned box that does not match its turn");
  }
  return {};
}

}  // namespace varlo
