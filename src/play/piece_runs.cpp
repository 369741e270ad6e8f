// Building the paint lists of the pieces from the mask, the picture and the
// effect layer of their rotation.
#include "play/piece_runs.h"

#include <algorithm>

#include "raster/dib.h"

namespace varlo {

namespace {

struct Sources {
  const DIB_P* pic;
  const DIB_P* mask;
  const DIB_P* eff;  // null without an edge effect
  int32_t e;
  bool shaded;
};

// The runs of a list while it is built, before they go into its block.
struct Layout {
  std::vector<uint32_t> rowStart, edgeStart;
  std::vector<PieceRun> runs, edgeRuns;
  uint32_t pixels = 0, levels = 0;
};

// Where the mask carries the piece's key, row by row.
void FindPieceRuns(Layout& l, const Sources& s, const TILE_P& t) {
  const DIB_P& mask = *s.mask;
  const DIB_P& pic = *s.pic;
  const int32_t mb = mask.BytesPerPixel;
  l.rowStart.assign(1, 0);
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
        if (x > start) {
          l.runs.push_back({static_cast<uint16_t>(start - t.MapX), static_cast<uint16_t>(x - start), l.pixels});
          l.pixels += static_cast<uint32_t>(x - start);
        }
      }
    }
    l.rowStart.push_back(static_cast<uint32_t>(l.runs.size()));
  }
}

// The band around the piece: every pixel of its box and band (inside the
// layer) that is not one of its own and where its band has a level.
void FindEdgeRuns(Layout& l, const Sources& s, const TILE_P& t) {
  if (!s.eff) return;
  const DIB_P& eff = *s.eff;
  const int32_t shift = EdgeShiftOf(t);
  const int32_t rows = t.RotH + s.e;
  const int32_t c0 = Max(0, -t.MapX), c1 = Min(t.RotW + s.e, eff.Width - t.MapX);
  l.edgeStart.assign(1, 0);
  for (int32_t r = 0; r < rows; ++r) {
    const int32_t y = t.MapY + r;
    if (y >= 0 && y < eff.Height && c0 < c1) {
      const uint8_t* frow = EffectPixel(eff, t.MapX, y);
      auto level = [&](int32_t x) { return EdgeLevelAt(frow + static_cast<ptrdiff_t>(x) * kEffectPixelBytes, t, shift); };
      // The piece's own runs of this row, skipped in step.
      uint32_t k = r < t.RotH ? l.rowStart[r] : 0;
      const uint32_t kEnd = r < t.RotH ? l.rowStart[r + 1] : 0;
      int32_t x = c0;
      while (x < c1) {
        while (k < kEnd && l.runs[k].X + l.runs[k].Len <= x) ++k;
        if (k < kEnd && l.runs[k].X <= x) {
          x = l.runs[k].X + l.runs[k].Len;
          continue;
        }
        const int32_t stop = k < kEnd ? Min(c1, l.runs[k].X) : c1;
        while (x < stop && level(x) == 0) ++x;
        const int32_t start = x;
        while (x < stop && level(x) != 0) ++x;
        if (x > start) {
          l.edgeRuns.push_back({static_cast<uint16_t>(start), static_cast<uint16_t>(x - start), l.levels});
          l.levels += static_cast<uint32_t>(x - start);
        }
      }
    }
    l.edgeStart.push_back(static_cast<uint32_t>(l.edgeRuns.size()));
  }
}

template <typename T>
size_t BytesOf(const std::vector<T>& v) {
  return v.size() * sizeof(T);
}

// Puts the layout into the list's block and fills in the pixels (shaded
// by the mask's red when the look embosses: each channel plus red minus
// 128, clamped) and the band levels.
void FillBlock(PieceRunList& list, const Layout& l, const Sources& s, const TILE_P& t) {
  const size_t rowsAt = 0, runsAt = rowsAt + BytesOf(l.rowStart), edgeRowsAt = runsAt + BytesOf(l.runs);
  const size_t edgeRunsAt = edgeRowsAt + BytesOf(l.edgeStart), levelsAt = edgeRunsAt + BytesOf(l.edgeRuns);
  const size_t pixelsAt = levelsAt + l.levels, size = pixelsAt + size_t{l.pixels} * 3;
  static_assert(sizeof(PieceRun) == 8 && alignof(PieceRun) <= 4, "runs follow the row tables unpadded");
  list.Block = std::make_unique<unsigned char[]>(Max(1, static_cast<int32_t>(size)));
  unsigned char* block = list.Block.get();
  std::copy(l.rowStart.begin(), l.rowStart.end(), reinterpret_cast<uint32_t*>(block + rowsAt));
  std::copy(l.runs.begin(), l.runs.end(), reinterpret_cast<PieceRun*>(block + runsAt));
  std::copy(l.edgeStart.begin(), l.edgeStart.end(), reinterpret_cast<uint32_t*>(block + edgeRowsAt));
  std::copy(l.edgeRuns.begin(), l.edgeRuns.end(), reinterpret_cast<PieceRun*>(block + edgeRunsAt));
  list.RowStart = reinterpret_cast<const uint32_t*>(block + rowsAt);
  list.Runs = reinterpret_cast<const PieceRun*>(block + runsAt);
  list.EdgeStart = l.edgeStart.empty() ? nullptr : reinterpret_cast<const uint32_t*>(block + edgeRowsAt);
  list.EdgeRuns = reinterpret_cast<const PieceRun*>(block + edgeRunsAt);
  list.Levels = block + levelsAt;
  list.Pixels = block + pixelsAt;
  list.Rows = static_cast<int32_t>(l.rowStart.size()) - 1;
  list.EdgeRows = l.edgeStart.empty() ? 0 : static_cast<int32_t>(l.edgeStart.size()) - 1;

  const DIB_P& mask = *s.mask;
  const DIB_P& pic = *s.pic;
  const int32_t mb = mask.BytesPerPixel;
  uint8_t* out = block + pixelsAt;
  for (int32_t r = 0; r < list.Rows; ++r) {
    const uint32_t first = l.rowStart[r], last = l.rowStart[r + 1];
    if (first == last) continue;
    const int32_t y = t.MapY + r;
    const uint8_t* prow = DibRow(pic, y) + static_cast<ptrdiff_t>(t.MapX) * 3;
    const uint8_t* mrow = DibRow(mask, y) + static_cast<ptrdiff_t>(t.MapX) * mb;
    for (uint32_t k = first; k < last; ++k) {
      const PieceRun& run = l.runs[k];
      const uint8_t* p = prow + 3 * run.X;
      if (!s.shaded) {
        out = std::copy(p, p + 3 * run.Len, out);
        continue;
      }
      const uint8_t* m = mrow + static_cast<ptrdiff_t>(run.X) * mb;
      for (int32_t i = 0; i < run.Len; ++i, p += 3, m += mb, out += 3) {
        const int32_t shade = m[2] - 128;
        out[0] = static_cast<uint8_t>(ClampByte(p[0] + shade));
        out[1] = static_cast<uint8_t>(ClampByte(p[1] + shade));
        out[2] = static_cast<uint8_t>(ClampByte(p[2] + shade));
      }
    }
  }
  uint8_t* lv = block + levelsAt;
  const int32_t shift = EdgeShiftOf(t);
  for (int32_t r = 0; r < list.EdgeRows; ++r) {
    const uint32_t first = l.edgeStart[r], last = l.edgeStart[r + 1];
    if (first == last) continue;
    const uint8_t* frow = EffectPixel(*s.eff, t.MapX, t.MapY + r);
    for (uint32_t k = first; k < last; ++k) {
      const PieceRun& run = l.edgeRuns[k];
      for (int32_t x = run.X; x < run.X + run.Len; ++x)
        *lv++ = static_cast<uint8_t>(EdgeLevelAt(frow + static_cast<ptrdiff_t>(x) * kEffectPixelBytes, t, shift));
    }
  }
}

// The sources of piece t with the look; false when it has no mask or a
// box the lists cannot hold (boxes are far below 65536 pixels wide).
bool SourcesOf(const Jigsaw& jig, const TILE_P& t, const PieceLook& look, Sources& s) {
  const int32_t r = t.Rot & 3;
  s.pic = &jig.Images[kPictureSlot + r];
  s.mask = &jig.Images[kMaskSlot + r];
  s.e = EdgeWidthFor(jig, look, r);
  s.eff = s.e > 0 ? &jig.Images[kEffectSlot + r] : nullptr;
  s.shaded = look.EmbossStyle != 0;
  return s.mask->Width > 0 && s.pic->Width > 0 && s.pic->BytesPerPixel == 3 && t.RotW > 0 && t.RotH > 0 &&
         t.RotW + s.e <= 65535;
}

bool Matches(const PieceRunList& list, const Jigsaw& jig, const TILE_P& t, const Sources& s) {
  return list.Rot == (t.Rot & 3) && list.MaskBits == s.mask->Bits && list.PictureBits == s.pic->Bits &&
         list.EffectBits == (s.eff ? s.eff->Bits : nullptr) && list.Stamp == jig.ImageStamp &&
         list.MapX == t.MapX && list.MapY == t.MapY && list.W == t.RotW && list.H == t.RotH &&
         list.Key == t.Key && list.EdgeW == s.e && list.Shaded == s.shaded &&
         (!s.eff || (list.WoodBit == t.WoodBit && list.WoodSlot == t.WoodSlot));
}

void Build(PieceRunList& list, const Jigsaw& jig, const TILE_P& t, const Sources& s) {
  Layout l;
  FindPieceRuns(l, s, t);
  FindEdgeRuns(l, s, t);
  FillBlock(list, l, s, t);
  list.MaskBits = s.mask->Bits;
  list.PictureBits = s.pic->Bits;
  list.EffectBits = s.eff ? s.eff->Bits : nullptr;
  list.Stamp = jig.ImageStamp;
  list.MapX = t.MapX;
  list.MapY = t.MapY;
  list.W = t.RotW;
  list.H = t.RotH;
  list.EdgeW = s.e;
  list.WoodBit = t.WoodBit;
  list.WoodSlot = t.WoodSlot;
  list.Key = t.Key;
  list.Rot = static_cast<uint8_t>(t.Rot & 3);
  list.Shaded = s.shaded;
}

}  // namespace

void PieceRunCache::Reserve(const Jigsaw& jig) {
  const size_t need = static_cast<size_t>(PieceCount(jig));
  if (lists_.size() != need) {
    lists_.clear();
    lists_.resize(need);
  }
}

const PieceRunList* PieceRunCache::Get(const Jigsaw& jig, int32_t i, const PieceLook& look) {
  if (i < 0 || i >= PieceCount(jig)) return nullptr;
  const TILE_P& t = jig.Tiles[i];
  Sources s;
  if (!SourcesOf(jig, t, look, s)) return nullptr;
  if (lists_.size() != static_cast<size_t>(PieceCount(jig))) {
    if (frozen_) return nullptr;
    Reserve(jig);
  }
  PieceRunList& list = lists_[static_cast<size_t>(i)];
  if (!Matches(list, jig, t, s)) {
    if (frozen_) return nullptr;
    Build(list, jig, t, s);
  }
  return &list;
}

void PieceRunCache::Prepare(const Jigsaw& jig, int32_t i, const PieceLook& look) {
  if (lists_.size() != static_cast<size_t>(PieceCount(jig))) return;
  // The border piece is painted as its four bands, never from a list.
  if (i < 0 || i >= PieceCount(jig) || i == BorderPieceIndex(jig)) return;
  const TILE_P& t = jig.Tiles[i];
  Sources s;
  if (!SourcesOf(jig, t, look, s)) return;
  PieceRunList& list = lists_[static_cast<size_t>(i)];
  if (!Matches(list, jig, t, s)) Build(list, jig, t, s);
}

void PieceRunCache::Prefetch(int32_t i) const {
  if (i < 0 || static_cast<size_t>(i) >= lists_.size()) return;
  const PieceRunList& list = lists_[static_cast<size_t>(i)];
  // The start of the tables and of the pixels; the rest follow as they
  // are read.
  if (const unsigned char* block = list.Block.get()) {
    __builtin_prefetch(block);
    __builtin_prefetch(block + 64);
    __builtin_prefetch(list.Pixels);
  }
}

void PieceRunCache::Forget(int32_t i) {
  if (i >= 0 && static_cast<size_t>(i) < lists_.size()) lists_[static_cast<size_t>(i)].Rot = 255;
}

}  // namespace varlo
