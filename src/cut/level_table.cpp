#include "cut/level_table.h"

#include <algorithm>
#include <cmath>

namespace varlo {

int32_t RoundHalfEven(double v) { return static_cast<int32_t>(std::nearbyint(v)); }

void MakeLevel(LEVEL_P& r, int32_t w, int32_t h, int32_t shapeStyle, int32_t borderStyle,
               int32_t t) {
  r = LEVEL_P{};
  r.MaskS = (t - 20) / 4 * 6 + 28;
  r.TileS = t;
  r.KnobS = (r.MaskS - t) / 2;
  if (t >= 1) {
    // With a border the frame takes 20 pixels on every side.
    const int32_t inner = borderStyle == 1 ? 40 : 0;
    r.Columns = std::max(0, (w - inner) / t);
    r.Rows = std::max(0, (h - inner) / t);
  }
  r.Cells = r.Columns * r.Rows;
  if (shapeStyle == 3) {
    r.PicPX = r.Columns / 2;
    r.PicPY = r.Rows / 2;
    r.PicNum = r.PicPX * r.PicPY;
  }
  r.Total = r.Cells + r.PicNum;
}

namespace {

// The coarsest level: a quarter of the shorter side, then moved toward 16
// pieces in 1 % steps of the piece size.
LEVEL_P CoarsestLevel(int32_t w, int32_t h, int32_t s, int32_t b) {
  const int32_t start = std::max(1, std::min(w, h) / 4);
  LEVEL_P r;
  MakeLevel(r, w, h, s, b, start);
  double x = start;
  if (r.Total < 16) {
    // Smaller pieces until there are at least 16; a picture too small for
    // 16 one-pixel pieces stops at piece size 1 instead of dividing by 0.
    while (r.Total < 16 && r.TileS > 1) {
      x *= 0.99;
      MakeLevel(r, w, h, s, b, std::max(1, RoundHalfEven(x)));
    }
  } else if (r.Total > 16) {
    for (;;) {
      x *= 1.01;
      LEVEL_P q;
      MakeLevel(q, w, h, s, b, RoundHalfEven(x));
      if (q.Total <= 16) break;
      if (q.Total < r.Total) {
        r = q;
        break;
      }
    }
  }
  return r;
}

}  // namespace

void MakeLevelTable(LevelTable& table, int32_t w, int32_t h, int32_t s, int32_t b) {
  if (w <= 0 || h <= 0) return;
  LEVEL_P finest;
  for (int32_t t = 20;; ++t) {
    MakeLevel(finest, w, h, s, b, t);
    if (finest.Total < kMaxPlayablePieces) break;
  }
  table[0] = finest;
  table[kLevelCount - 1] = CoarsestLevel(w, h, s, b);
  const double step =
      std::pow(static_cast<double>(table[kLevelCount - 1].TileS) / table[0].TileS, 1.0 / 13.0);
  double m = table[0].TileS;
  for (int32_t level = 1; level < kLevelCount - 1; ++level) {
    m *= step;
    MakeLevel(table[level], w, h, s, b, RoundHalfEven(m));
  }
}

int32_t CutPictureWidth(const JIG_P& p) { return p.FitToScreen ? p.FitImageW : p.ImageW; }
int32_t CutPictureHeight(const JIG_P& p) { return p.FitToScreen ? p.FitImageH : p.ImageH; }

bool ApplyLevel(JIG_P& p, const LevelTable& table) {
  const LEVEL_P& r = table[std::clamp<int32_t>(p.Level, 0, kLevelCount - 1)];
  p.MaskS = r.MaskS;
  p.TileS = r.TileS;
  p.KnobS = r.KnobS;
  p.SnapS = std::max(p.KnobS / 2, 4);
  LEVEL_P grid;
  MakeLevel(grid, CutPictureWidth(p), CutPictureHeight(p), 4, p.BorderStyle, p.TileS);
  p.TilePX = grid.Columns;
  p.TilePY = grid.Rows;
  p.TileNum = p.TilePX * p.TilePY;
  p.PicPX = 0;
  p.PicPY = 0;
  p.PicNum = 0;
  p.TotalTileNum = p.TileNum;
  return p.TotalTileNum <= kMaxPlayablePieces;
}

bool EvaluateLevelCounts(JIG_P& p, LevelTable& table) {
  MakeLevelTable(table, CutPictureWidth(p), CutPictureHeight(p), p.ShapeStyle, p.BorderStyle);
  return ApplyLevel(p, table);
}

void FitPictureSize(int32_t imageW, int32_t imageH, int32_t availW, int32_t availH,
                    int32_t& fitW, int32_t& fitH) {
  fitW = imageW;
  fitH = imageH;
  if (imageW <= 0 || imageH <= 0 || availW <= 0 || availH <= 0) return;
  if (imageW <= availW && imageH <= availH) return;
  if (static_cast<double>(availW) / availH > static_cast<double>(imageW) / imageH) {
    fitW = static_cast<int32_t>(int64_t{availH} * imageW / imageH);
    fitH = availH;
  } else {
    fitW = availW;
    fitH = static_cast<int32_t>(int64_t{availW} * imageH / imageW);
  }
}

}  // namespace varlo
