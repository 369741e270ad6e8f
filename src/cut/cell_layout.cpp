#include "cut/cell_layout.h"

#include <algorithm>

namespace varlo {

uint8_t CellKey(int32_t row, int32_t column) {
  static constexpr uint8_t kKeys[3][3] = {{25, 150, 75}, {200, 125, 50}, {175, 100, 225}};
  return kKeys[row % 3][column % 3];
}

uint8_t CellKeyBit(int32_t row, int32_t column) {
  static constexpr uint8_t kBits[2][3] = {{1, 2, 4}, {8, 16, 32}};
  return kBits[row % 2][column % 3];
}

void SetJigsawRect(JIG_P& p) {
  const int32_t inset = p.BorderStyle == 1 ? 20 : 0;
  p.JigsL = inset;
  p.JigsT = inset;
  p.JigsR = p.ImageW - 1 - inset;
  p.JigsB = p.ImageH - 1 - inset;
}

bool CreateCutMask(DIB_P& mask, int32_t imageW, int32_t imageH) {
  if (!DibCreate24(mask, imageW + kMaskMarginPixels, imageH + kMaskMarginPixels)) return false;
  // Created black; only the picture area turns white.
  for (int32_t y = 0; y < imageH; ++y) std::fill_n(DibRow(mask, y), size_t(imageW) * 3, uint8_t{255});
  return true;
}

void LayOutCells(const JIG_P& p, std::vector<TILE_P>& tiles) {
  const int32_t cols = p.TilePX, rows = p.TilePY;
  const size_t need = static_cast<size_t>(std::max(p.TotalTileNum, cols * rows));
  if (tiles.size() < need) tiles.resize(need);
  if (cols <= 0 || rows <= 0) return;
  const int32_t spareW = p.ImageW - (cols * p.TileS + 2 * p.JigsL);
  const int32_t extraW = spareW / cols, remW = spareW % cols;
  const int32_t spareH = p.ImageH - (rows * p.TileS + 2 * p.JigsT);
  const int32_t extraH = spareH / rows, remH = spareH % rows;
  const int32_t k = p.KnobS;
  int32_t y = p.JigsT;
  for (int32_t i = 0; i < rows; ++i) {
    const int32_t h = p.TileS + extraH + (i < remH ? 1 : 0);
    int32_t x = p.JigsL;
    for (int32_t j = 0; j < cols; ++j) {
      const int32_t w = p.TileS + extraW + (j < remW ? 1 : 0);
      TILE_P& t = tiles[static_cast<size_t>(i) * cols + j];
      t.CellX = x;
      t.CellY = y;
      t.CellW = w;
      t.CellH = h;
      t.BoxX = x;
      t.BoxY = y;
      t.BoxW = w;
      t.BoxH = h;
      if (j > 0) {
        t.BoxX -= k;
        t.BoxW += k;
      }
      if (i > 0) {
        t.BoxY -= k;
        t.BoxH += k;
      }
      if (j < cols - 1) t.BoxW += k;
      if (i < rows - 1) t.BoxH += k;
      t.Key = CellKey(i, j);
      t.KeyBit = CellKeyBit(i, j);
      t.Nb.fill(-1);
      t.Artistic = 0;
      if (p.ShapeStyle == 3 && j > 0 && j < cols - 1 && i > 0 && i < rows - 1 && i % 2 == 1) {
        const bool oddColumn = j % 2 == 1;
        t.Artistic = ((i - 1) % 4 == 0) == oddColumn ? 1 : 0;
      }
      x += w;
    }
    y += h;
  }
}

}  // namespace varlo
