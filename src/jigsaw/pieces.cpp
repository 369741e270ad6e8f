// The piece table of the jigsaw in play and the operations on it.
#include "jigsaw/pieces.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <system_error>
#include <thread>

namespace varlo {

namespace {

bool ValidPiece(const Jigsaw& jig, int32_t i) { return i >= 0 && i < PieceCount(jig); }

// Round to the nearest integer, halves to even.
int64_t RoundHalfEven(int64_t num, int64_t den) {
  int64_t q = num / den;
  int64_t rem = num % den;
  if (rem < 0) {  // keep the remainder non-negative (den > 0)
    rem += den;
    q -= 1;
  }
  if (2 * rem > den || (2 * rem == den && (q & 1) != 0)) ++q;
  return q;
}

// Where a piece of length `size` goes on a side of length `side` when the
// range it would be placed in is empty (the side is too small for the
// usual margins): at the margin if it still fits there, else as far in as
// it fits, never before the side's start.
int32_t CollapsedPos(int32_t margin, int32_t side, int32_t size) {
  return std::max(0, std::min(margin, side - size));
}

// Mask size for a turn, for when the mask slot is not (yet) there: the
// unturned mask is (ImageW + margin) x (ImageH + margin).
void MaskSizeFor(const Jigsaw& jig, int32_t rot, int32_t& kw, int32_t& kh) {
  const DIB_P& slot = jig.Images[kMaskSlot + rot];
  if (slot.Width > 0) {
    kw = slot.Width;
    kh = slot.Height;
    return;
  }
  const int32_t w = jig.Jig.ImageW + kMaskMargin;
  const int32_t h = jig.Jig.ImageH + kMaskMargin;
  kw = (rot & 1) ? h : w;
  kh = (rot & 1) ? w : h;
}

// Where the cells of one axis of the spread grid lie. The grid's own
// pitch (span div cells from the margin) is kept while the pieces fit side
// by side in it and the last one ends inside the side. Otherwise the used
// cells are spread evenly from 0 to the side's end less the widest piece:
// the pieces overlap only when they do not fit side by side, and then all
// by the same amount, and none ends past the side, which may have no scroll
// bar (Fit to Screen).
struct AxisLayout {
  bool Grid = true;
  int32_t Cells = 1, Used = 1, Margin = 0, Side = 0;
  int64_t Span = 0, Room = 0;
  int32_t Position(int32_t cell, int32_t size) const {
    if (Grid) {
      return Span > 0 ? static_cast<int32_t>(cell * Span / Cells + Margin) : CollapsedPos(Margin, Side, size);
    }
    if (Room <= 0) return 0;
    if (Used <= 1) return static_cast<int32_t>(std::min<int64_t>(Room, Margin));
    return static_cast<int32_t>(cell * Room / (Used - 1));
  }
};

AxisLayout SpreadAxis(int32_t used, int32_t cells, int64_t span, int32_t margin, int32_t side, int32_t widest) {
  AxisLayout a;
  a.Cells = cells;
  a.Used = used;
  a.Margin = margin;
  a.Side = side;
  a.Span = span;
  if (span <= 0) return a;  // a side too small for the margins: collapsed
  const int64_t pitch = span / cells;
  const int64_t lastEnd = (used - 1) * span / cells + margin + widest;
  if (pitch >= widest && lastEnd <= side) return a;
  a.Grid = false;
  a.Room = static_cast<int64_t>(side) - widest;
  return a;
}

// Is the key of each piece shared with any other piece? Indexed by piece.
std::vector<bool> SharedKeys(const Jigsaw& jig) {
  const int32_t n = PieceCount(jig);
  std::vector<SortEntry> byKey(static_cast<size_t>(n));
  for (int32_t i = 0; i < n; ++i) byKey[i] = {jig.Tiles[i].Group, i};
  std::sort(byKey.begin(), byKey.end(),
            [](const SortEntry& a, const SortEntry& b) { return a.Key < b.Key; });
  std::vector<bool> shared(static_cast<size_t>(n), false);
  for (int32_t p = 1; p < n; ++p) {
    if (byKey[p].Key == byKey[p - 1].Key) {
      shared[byKey[p].Index] = true;
      shared[byKey[p - 1].Index] = true;
    }
  }
  return shared;
}

void FreeTurnedImages(Jigsaw& jig) {
  for (int r = 1; r < 4; ++r) {
    DibFree(jig.Images[kPictureSlot + r]);
    DibFree(jig.Images[kMaskSlot + r]);
  }
}

// Grid of the spread placement: columns from the field's aspect ratio, rows
// to hold the rest.
void SpreadGrid(int32_t n, const PlayArea& area, int32_t& cols, int32_t& rows) {
  // n * FW div FH, an integer division before the square root.
  int64_t ratio = n;
  if (area.FieldW > 0 && area.FieldH > 0) {
    ratio = static_cast<int64_t>(n) * area.FieldW / area.FieldH;
  }
  // The square root of an integer is never exactly halfway, so rounding to
  // nearest is also rounding half to even here.
  int64_t c = std::llround(std::sqrt(static_cast<double>(ratio)));
  // At least one column, and no more columns than pieces, so that there is
  // at least one row to divide the height by.
  c = std::clamp<int64_t>(c, 1, n);
  int64_t r = n / c;
  if (c * r < n) {
    if (r * (c + 1) < c * (r + 1)) {
      ++c;
    } else {
      ++r;
    }
  }
  // One extra column does not always make room for the rest (14 pieces in
  // 5 x 2 become 6 x 2); the pieces left over would land on the bottom edge
  // of the side, so the grid gets the rows it needs.
  while (c * r < n) ++r;
  cols = static_cast<int32_t>(c);
  rows = static_cast<int32_t>(r);
}

}  // namespace

// ---- the table ----

int32_t PieceCount(const Jigsaw& jig) {
  const int64_t n = std::max(jig.Jig.TotalTileNum, 0);
  return static_cast<int32_t>(std::min<int64_t>(n, static_cast<int64_t>(jig.Tiles.size())));
}

int32_t BorderPieceIndex(const Jigsaw& jig) {
  const int32_t n = PieceCount(jig);
  return (jig.Jig.BorderStyle == 1 && n > 0) ? n - 1 : -1;
}

bool AllocPieces(Jigsaw& jig, int32_t n) {
  FreePieces(jig);
  if (n < 0 || n > kMaxPieceSlots) return false;
  jig.Tiles.assign(static_cast<size_t>(n), TILE_P{});
  jig.Sort.reserve(static_cast<size_t>(n));
  return true;
}

void FreePieces(Jigsaw& jig) {
  std::vector<TILE_P>().swap(jig.Tiles);
  std::vector<SortEntry>().swap(jig.Sort);
}

void FreeJigsawImages(Jigsaw& jig) {
  for (DIB_P& d : jig.Images) DibFree(d);
}

void SortPieces(Jigsaw& jig, bool descending) {
  const int32_t n = PieceCount(jig);
  jig.Sort.resize(static_cast<size_t>(n));
  for (int32_t i = 0; i < n; ++i) jig.Sort[i] = {jig.Tiles[i].Group, i};
  // Entries start in index order, so a stable sort by key alone orders equal
  // keys by index. The border frame's group comes first whatever its key:
  // the frame lies under every other group, and no key is changed for it,
  // so the keys a saved game stores stay the game's own.
  const int32_t border = BorderPieceIndex(jig);
  if (border >= 0) {
    const int32_t frameKey = jig.Tiles[border].Group;
    std::stable_sort(jig.Sort.begin(), jig.Sort.end(), [frameKey](const SortEntry& a, const SortEntry& b) {
      const bool fa = a.Key == frameKey, fb = b.Key == frameKey;
      if (fa != fb) return fa;
      return a.Key < b.Key;
    });
  } else {
    std::stable_sort(jig.Sort.begin(), jig.Sort.end(),
                     [](const SortEntry& a, const SortEntry& b) { return a.Key < b.Key; });
  }
  if (descending) std::reverse(jig.Sort.begin(), jig.Sort.end());
}

// ---- turned boxes and images ----

TurnedBox TurnedBoxFor(const Jigsaw& jig, const TILE_P& t, int32_t rot) {
  const int32_t r = rot & 3;
  int32_t kw = 0, kh = 0;
  MaskSizeFor(jig, r, kw, kh);
  TurnedBox b;
  b.RotW = (r & 1) ? t.BoxH : t.BoxW;
  b.RotH = (r & 1) ? t.BoxW : t.BoxH;
  // The margin lies at the right and bottom of every turned mask, so the
  // turned picture and the turned mask share these coordinates.
  switch (r) {
    case 0:
      b.MapX = t.BoxX;
      b.MapY = t.BoxY;
      break;
    case 1:
      b.MapX = kw - b.RotW - t.BoxY - kMaskMargin;
      b.MapY = t.BoxX;
      break;
    case 2:
      b.MapX = kw - b.RotW - t.BoxX - kMaskMargin;
      b.MapY = kh - b.RotH - t.BoxY - kMaskMargin;
      break;
    default:
      b.MapX = t.BoxY;
      b.MapY = kh - b.RotH - t.BoxX - kMaskMargin;
      break;
  }
  return b;
}

void PlaceRotated(Jigsaw& jig, int32_t i) {
  if (!ValidPiece(jig, i)) return;
  TILE_P& t = jig.Tiles[i];
  const TurnedBox b = TurnedBoxFor(jig, t, t.Rot);
  t.MapX = b.MapX;
  t.MapY = b.MapY;
  t.RotW = b.RotW;
  t.RotH = b.RotH;
}

bool MakeRotatedImages(Jigsaw& jig, Progress& progress) {
  // Copies left from an earlier game go first, so that they do not add to
  // the peak memory of making the new ones.
  FreeTurnedImages(jig);
  if (!jig.Jig.Rotate) return true;
  // The picture and the mask chains are independent: the masks turn on a
  // second thread while this one turns the pictures and keeps the progress
  // display going. Each chain gives the same bytes as when run alone.
  bool masksMade = false;
  auto turnMasks = [&jig, &masksMade]() noexcept {
    try {
      masksMade = true;
      for (int i = 0; i < 3 && masksMade; ++i) {
        masksMade = DibRotate90Margin(jig.Images[kMaskSlot + i + 1], jig.Images[kMaskSlot + i],
                                      kMaskMargin);
      }
    } catch (...) {
      masksMade = false;
    }
  };
  std::thread maskThread;
  try {
    maskThread = std::thread(turnMasks);
  } catch (const std::system_error&) {
    turnMasks();  // no second thread to be had: turn the masks here first
  }
  bool picturesMade = true;
  for (int i = 0; i < 3 && picturesMade; ++i) {
    picturesMade = DibRotate90(jig.Images[kPictureSlot + i + 1], jig.Images[kPictureSlot + i]);
    if (picturesMade) progress.Step();
  }
  if (maskThread.joinable()) maskThread.join();
  if (!picturesMade || !masksMade) {
    FreeTurnedImages(jig);
    return false;
  }
  for (int i = 0; i < 3; ++i) progress.Step();
  return true;
}

// ---- placement ----

void SpreadPieces(Jigsaw& jig, int32_t window, bool spread, const PlayArea& area,
                  RandomGenerator& random) {
  const int32_t count = PieceCount(jig);
  const int32_t border = BorderPieceIndex(jig);
  const std::vector<bool> shared = SharedKeys(jig);
  std::vector<int32_t> loose;
  for (int32_t i = 0; i < count; ++i) {
    if (i != border && !shared[i] && jig.Tiles[i].Win == window) loose.push_back(i);
  }
  const int32_t n = static_cast<int32_t>(loose.size());
  if (n == 0) return;

  const int32_t cw = std::max(area.ContentW, 0);
  const int32_t ch = std::max(area.ContentH, 0);
  const int32_t m = jig.Jig.KnobS;

  if (spread) {
    for (int32_t j = 0; j < n; ++j) std::swap(loose[j], loose[random.Random(n)]);
    int32_t cols = 1, rows = 1;
    SpreadGrid(n, area, cols, rows);
    const int64_t spanX = static_cast<int64_t>(cw) - 2 * static_cast<int64_t>(m);
    const int64_t spanY = static_cast<int64_t>(ch) - 2 * static_cast<int64_t>(m);
    int32_t maxW = 0, maxH = 0;
    for (const int32_t i : loose) {
      maxW = std::max(maxW, jig.Tiles[i].RotW);
      maxH = std::max(maxH, jig.Tiles[i].RotH);
    }
    const int32_t usedCols = std::min(cols, n);
    const int32_t usedRows = (n + cols - 1) / cols;
    const AxisLayout ax = SpreadAxis(usedCols, cols, spanX, m, cw, maxW);
    const AxisLayout ay = SpreadAxis(usedRows, rows, spanY, m, ch, maxH);
    for (int32_t j = 0; j < n; ++j) {
      TILE_P& t = jig.Tiles[loose[j]];
      t.X = ax.Position(j % cols, t.RotW);
      t.Y = ay.Position(j / cols, t.RotH);
    }
    return;
  }

  // Scatter: one draw for x, then one for y, per piece in order. A side too
  // small for the margins still takes both draws, so the sequence of the
  // generator does not depend on the side's size.
  const int64_t rangeX = static_cast<int64_t>(cw) - 4 * static_cast<int64_t>(m) - jig.Jig.TileS;
  const int64_t rangeY = static_cast<int64_t>(ch) - 4 * static_cast<int64_t>(m) - jig.Jig.TileS;
  for (int32_t j = 0; j < n; ++j) {
    TILE_P& t = jig.Tiles[loose[j]];
    const int32_t dx = random.Random(rangeX > 0 ? static_cast<int32_t>(rangeX) : 0);
    t.X = rangeX > 0 ? dx + m : CollapsedPos(m, cw, t.RotW);
    const int32_t dy = random.Random(rangeY > 0 ? static_cast<int32_t>(rangeY) : 0);
    t.Y = rangeY > 0 ? dy + m : CollapsedPos(m, ch, t.RotH);
  }
}

bool SetupNewGame(Jigsaw& jig, const PlayArea& area, RandomGenerator& random,
                  Progress& progress) {
  const bool imagesMade = MakeRotatedImages(jig, progress);
  const int32_t n = PieceCount(jig);
  for (int32_t k = 0; k < n; ++k) {
    TILE_P& t = jig.Tiles[k];
    t.Group = k;
    t.Win = 0;
    // One draw per piece in index order, the border piece included.
    t.Rot = jig.Jig.Rotate ? static_cast<uint8_t>(random.Random(4)) : 0;
    t.Sel = 0;
    PlaceRotated(jig, k);
  }
  SpreadPieces(jig, 0, jig.Jig.SpreadOut != 0, area, random);
  const int32_t border = BorderPieceIndex(jig);
  if (border >= 0) {
    TILE_P& b = jig.Tiles[border];
    // Centred even when the picture is larger than the side (negative).
    b.X = (area.ContentW - jig.Jig.ImageW) / 2;
    b.Y = (area.ContentH - jig.Jig.ImageH) / 2;
    b.Rot = 0;
    PlaceRotated(jig, border);
  }
  SortPieces(jig, false);
  return imagesMade;
}

// ---- stacking order ----

void BringToFront(Jigsaw& jig, int32_t i, int32_t weighted) {
  if (!ValidPiece(jig, i)) return;
  const int32_t key = jig.Tiles[i].Group;
  if (ValidPiece(jig, weighted) && jig.Tiles[weighted].Group == key) return;
  const int32_t n = PieceCount(jig);
  for (int32_t p = 0; p < n; ++p) {
    int32_t& g = jig.Tiles[p].Group;
    if (g == key) {
      g = n - 1;
    } else if (g > key) {
      --g;
    }
  }
  SortPieces(jig, false);
}

void SelectionToFront(Jigsaw& jig) {
  const int32_t n = PieceCount(jig);
  if (n == 0) return;
  int64_t top = jig.Tiles[0].Group;
  for (int32_t p = 1; p < n; ++p) top = std::max<int64_t>(top, jig.Tiles[p].Group);
  // Selected groups are lifted above everything in 64 bits (a key from a
  // damaged file could overflow 32), then all keys are renumbered by rank.
  struct Lifted {
    int64_t key;
    int32_t index;
  };
  std::vector<Lifted> order(static_cast<size_t>(n));
  for (int32_t p = 0; p < n; ++p) {
    const TILE_P& t = jig.Tiles[p];
    order[p] = {t.Sel ? t.Group + top + 1000 : t.Group, p};
  }
  std::stable_sort(order.begin(), order.end(),
                   [](const Lifted& a, const Lifted& b) { return a.key < b.key; });
  int32_t rank = 0;
  for (int32_t p = 0; p < n; ++p) {
    if (p > 0 && order[p].key != order[p - 1].key) ++rank;
    jig.Tiles[order[p].index].Group = rank;
  }
  SortPieces(jig, false);
}

void WeightToBack(Jigsaw& jig, int32_t weighted) {
  if (!ValidPiece(jig, weighted)) return;
  const int32_t key = jig.Tiles[weighted].Group;
  const int32_t n = PieceCount(jig);
  for (int32_t p = 0; p < n; ++p) {
    int32_t& g = jig.Tiles[p].Group;
    if (g == key) {
      g = 0;
    } else if (g < key) {
      ++g;
    }
  }
  SortPieces(jig, false);
}

// ---- counts ----

int32_t CountGroups(Jigsaw& jig, int32_t window, bool resort) {
  if (resort) SortPieces(jig, false);
  const int32_t n = PieceCount(jig);
  int32_t groups = 0;
  for (size_t p = 0; p < jig.Sort.size(); ++p) {
    const int32_t i = jig.Sort[p].Index;
    if (i < 0 || i >= n) continue;  // a table sorted before the pieces changed
    if (jig.Tiles[i].Win != window) continue;
    if (p == 0 || jig.Sort[p].Key != jig.Sort[p - 1].Key) ++groups;
  }
  return groups;
}

SolvedCounts SolvedStats(Jigsaw& jig, bool completed) {
  SortPieces(jig, false);
  const int32_t n = PieceCount(jig);
  if (n == 0) return {};
  int32_t u = 0;
  for (int32_t p = 1; p < n; ++p) {
    if (jig.Sort[p].Key != jig.Sort[p - 1].Key) ++u;
  }
  // No two pieces joined yet: every piece is still to be placed.
  if (u + 1 == n) u = n;
  SolvedCounts s;
  s.UnsolvedNum = u;
  s.SolvedPercent =
      completed ? 100 : static_cast<int32_t>(RoundHalfEven(static_cast<int64_t>(n - u) * 100, n));
  return s;
}

}  // namespace varlo
