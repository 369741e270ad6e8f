// Building the run lists of the pieces from the mask.
#include "play/piece_runs.h"

#include "play/dib.h"

namespace varlo {

namespace {

void BuildRuns(PieceRunList& list, const DIB_P& mask, const DIB_P& pic, const TILE_P& t) {
  list.RowStart.assign(1, 0);
  list.Runs.clear();
  const int32_t mb = mask.BytesPerPixel;
  for (int32_t r = 0; r < t.RotH; ++r) {
    const int32_t y = t.MapY + r;
    if (y >= 0 && y < mask.Height && y < pic.Height) {
      const int32_t x0 = Max(0, t.MapX);
      const int32_t x1 = Min(t.MapX + t.RotW, Min(mask.Width, pic.Width));
      const uint8_t* m = DibRow(mask, y);
      int32_t x = x0;
      while (x < x1) {
        while (x < x1 && m[x * mb] != t.Key) ++x;
        const int32_t start = x;
        while (x < x1 && m[x * mb] == t.Key) ++x;
        if (x > start)
          list.Runs.push_back({static_cast<uint16_t>(start - t.MapX), static_cast<uint16_t>(x - start)});
      }
    }
    list.RowStart.push_back(static_cast<uint32_t>(list.Runs.size()));
  }
  list.MaskBits = mask.Bits;
  list.MapX = t.MapX;
  list.MapY = t.MapY;
  list.W = t.RotW;
  list.H = t.RotH;
  list.Key = t.Key;
}

}  // namespace

const PieceRunList* PieceRunCache::Get(const Jigsaw& jig, int32_t i) {
  if (i < 0 || i >= PieceCount(jig)) return nullptr;
  const TILE_P& t = jig.Tiles[i];
  const int32_t r = t.Rot & 3;
  const DIB_P& mask = jig.Images[kMaskSlot + r];
  const DIB_P& pic = jig.Images[kPictureSlot + r];
  // Boxes are far below 65536 pixels wide; a larger one is not cached.
  if (mask.Width <= 0 || pic.Width <= 0 || t.RotW <= 0 || t.RotH <= 0 || t.RotW > 65535) return nullptr;
  const size_t need = static_cast<size_t>(PieceCount(jig)) * 4;
  if (lists_.size() != need) {
    if (frozen_) return nullptr;
    lists_.assign(need, PieceRunList{});
  }
  PieceRunList& list = lists_[static_cast<size_t>(i) * 4 + r];
  if (list.MaskBits != mask.Bits || list.MapX != t.MapX || list.MapY != t.MapY || list.W != t.RotW ||
      list.H != t.RotH || list.Key != t.Key) {
    if (frozen_) return nullptr;
    BuildRuns(list, mask, pic, t);
  }
  return &list;
}

}  // namespace varlo
