#include "cut/piece_mask.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "cut/cell_layout.h"
#include "platform/platform.h"
#include "platform/message_box.h"

namespace varlo {
namespace {

inline uint32_t Px(const uint8_t* p) { return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16; }
inline void PutPx(uint8_t* p, uint32_t bgr) {
  p[0] = static_cast<uint8_t>(bgr);
  p[1] = static_cast<uint8_t>(bgr >> 8);
  p[2] = static_cast<uint8_t>(bgr >> 16);
}
// Pixel bytes (blue, green, red) of a colour value.
inline uint32_t Bgr(uint32_t colour) {
  const RGB8 c = ColorToRGB(colour);
  return uint32_t{c.b} | uint32_t{c.g} << 8 | uint32_t{c.r} << 16;
}
constexpr uint32_t kWhiteBgr = 0xFFFFFF;

}  // namespace

bool FillPiece(DIB_P& mask, int32_t x, int32_t y, uint32_t colour, XRECT* bounds) {
  if (x < 0 || y < 0 || x >= mask.Width || y >= mask.Height) return false;
  if (Px(DibPixel(mask, x, y)) != kWhiteBgr) return false;
  DibFloodFill(mask, x, y, colour, bounds);
  return true;
}

std::optional<XRECT> PieceRectangle(DIB_P& mask, XRECT search, int32_t imageW, int32_t imageH,
                                    uint32_t colour) {
  const int32_t x0 = std::max(search.Left, 0), y0 = std::max(search.Top, 0);
  const int32_t x1 = std::min({search.Right, imageW - 1, mask.Width - 1});
  const int32_t y1 = std::min({search.Bottom, imageH - 1, mask.Height - 1});
  int32_t left = 10000, top = 10000, right = -10000, bottom = -10000;
  const uint32_t want = Bgr(colour);
  const int32_t stride = mask.Stride;
  for (int32_t y = y0; y <= y1; ++y) {
    uint8_t* row = DibRow(mask, y);
    const bool innerRow = y > y0 && y < y1;
    bool found = false;
    const uint8_t keyByte = static_cast<uint8_t>(want);
    for (int32_t x = x0; x <= x1; ++x) {
      uint8_t* p = row + static_cast<ptrdiff_t>(x) * 3;
      // Most pixels belong to other pieces: their blue byte alone tells
      // that they are neither this piece's colour nor white.
      if (p[0] != keyByte && p[0] != 0xFF) continue;
      const uint32_t v = Px(p);
      if (v == want) {
        if (!found) {
          left = std::min(left, x);
          found = true;
        }
        right = std::max(right, x);
        continue;
      }
      if (v != kWhiteBgr || !innerRow || x == x0 || x == x1) continue;
      // Rows are stored bottom-up: the row above lies one stride higher.
      const int32_t around = (Px(p - 3) == want) + (Px(p + 3) == want) + (Px(p + stride) == want) +
                             (Px(p - stride) == want);
      if (around == 4)
        PutPx(p, want);
      else if (around > 0)
        DibFloodFill(mask, x, y, colour, nullptr);
    }
    if (found) {
      top = std::min(top, y);
      bottom = y;
    }
  }
  if (left == 10000) return std::nullopt;
  XRECT r;
  RectSetLTRB(r, left, top, right, bottom);
  return r;
}

void Despeckle(DIB_P& mask, int32_t left, int32_t top, int32_t right, int32_t bottom) {
  left = std::max(left, 0);
  top = std::max(top, 0);
  right = std::min(right, mask.Width - 1);
  bottom = std::min(bottom, mask.Height - 1);
  if (right - left < 2 || bottom - top < 2) return;
  auto at = [&](int32_t x, int32_t y) { return DibPixel(mask, x, y); };
  // A pixel on a side that forms a one-pixel notch: it continues along the
  // side into its next pixel, while behind it and inside it one colour
  // surrounds it.
  auto side = [&](int32_t x, int32_t y, int32_t dx, int32_t dy, int32_t ix, int32_t iy) {
    uint8_t* p = at(x, y);
    const uint32_t self = Px(p);
    if (Px(at(x + dx, y + dy)) != self) return;
    const uint32_t prev = Px(at(x - dx, y - dy));
    if (Px(at(x + ix, y + iy)) == prev && Px(at(x + dx + ix, y + dy + iy)) == prev) PutPx(p, prev);
  };
  for (int32_t x = left + 1; x < right; ++x) side(x, top, 1, 0, 0, 1);
  for (int32_t x = right - 1; x > left; --x) side(x, top, -1, 0, 0, 1);
  for (int32_t x = left + 1; x < right; ++x) side(x, bottom, 1, 0, 0, -1);
  for (int32_t x = right - 1; x > left; --x) side(x, bottom, -1, 0, 0, -1);
  for (int32_t y = top + 1; y < bottom; ++y) side(left, y, 0, 1, 1, 0);
  for (int32_t y = bottom - 1; y > top; --y) side(left, y, 0, -1, 1, 0);
  for (int32_t y = top + 1; y < bottom; ++y) side(right, y, 0, 1, -1, 0);
  for (int32_t y = bottom - 1; y > top; --y) side(right, y, 0, -1, -1, 0);

  const int32_t stride = mask.Stride;
  for (int32_t y = top + 1; y < bottom; ++y) {
    uint8_t* p = at(left + 1, y);
    for (int32_t x = left + 1; x < right; ++x, p += 3) {
      const uint32_t self = Px(p);
      // Clockwise from the top-left; the row above is one stride higher.
      const std::array<uint32_t, 8> ring = {Px(p + stride - 3), Px(p + stride), Px(p + stride + 3),
                                            Px(p + 3),          Px(p - stride + 3), Px(p - stride),
                                            Px(p - stride - 3), Px(p - 3)};
      int32_t same = 0;
      for (uint32_t c : ring) same += c == self;
      if (same > 1) continue;
      int32_t pick = -1;
      for (int32_t i = 0; i < 8 && pick < 0; ++i)
        if (ring[i] == ring[(i + 1) & 7] && ring[i] == ring[(i + 2) & 7]) pick = i;
      for (int32_t i = 0; i < 8 && pick < 0; ++i)
        if (ring[i] == ring[(i + 1) & 7]) pick = i;
      if (pick >= 0) PutPx(p, ring[pick]);
    }
  }
}

void AddBorderPiece(JIG_P& p, std::vector<TILE_P>& tiles, bool rectangularNeighbours) {
  const int32_t index = p.TotalTileNum;
  if (tiles.size() <= static_cast<size_t>(index)) tiles.resize(static_cast<size_t>(index) + 1);
  TILE_P& b = tiles[static_cast<size_t>(index)];
  b.BoxX = 0;
  b.BoxY = 0;
  b.BoxW = p.ImageW;
  b.BoxH = p.ImageH;
  b.Key = kBorderKey;
  b.KeyBit = kBorderKeyBit;
  b.Nb.fill(-1);
  p.TotalTileNum = index + 1;
  if (!rectangularNeighbours) return;
  const int32_t cols = p.TilePX, rows = p.TilePY;
  const auto nb = static_cast<int16_t>(index);
  for (int32_t j = 0; j < cols; ++j) {
    tiles[static_cast<size_t>(j)].Nb[1] = nb;
    tiles[static_cast<size_t>(rows - 1) * cols + j].Nb[3] = nb;
  }
  for (int32_t i = 0; i < rows; ++i) {
    tiles[static_cast<size_t>(i) * cols].Nb[0] = nb;
    tiles[static_cast<size_t>(i) * cols + cols - 1].Nb[2] = nb;
  }
}

void HandOverMask(DIB_P& cutMask, DIB_P& maskSlot) {
  DibFree(maskSlot);
  maskSlot = std::move(cutMask);
  DibClear(cutMask);
}

void ResetShading(DIB_P& mask) {
  if (mask.Width <= 0) return;
  const int32_t bpp = mask.BytesPerPixel;
  for (int32_t y = 0; y < mask.Height; ++y) {
    uint8_t* p = DibRow(mask, y);
    for (int32_t x = 0; x < mask.Width; ++x, p += bpp) {
      p[1] = 0;
      p[2] = kPieceRed;
    }
  }
}

void ReportPaintError(const Platform& platform, const PaintError& error, CutKind kind,
                      std::string_view paintErrorText) {
  if (kind != CutKind::IrregularArtistic) {
    if (!error.Any) return;
    char text[128];
    std::snprintf(text, sizeof text, "PaintError: Ind = %d, CellX = %d, CellY = %d", error.Index,
                  error.X, error.Y);
    ShowGameMessage(platform, text, kMsgExclamationOk);
  }
  if (kind == CutKind::Rectangular)
    ShowGameMessage(platform, "Jigsaw has not been cut properly! Please reopen the puzzle.", kMsgExclamationOk);
  else
    ShowGameMessage(platform, paintErrorText, kMsgExclamationOk);
}

}  // namespace varlo
