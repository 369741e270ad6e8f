// The piece-size levels of a picture.
//
// A level is not a fixed piece size: for every picture size and choice of
// shape and border the open dialog computes 14 piece sizes, from the finest
// one that still gives fewer than 4000 pieces (level 0) to the coarsest that
// still gives at least 16 (level 13), with geometric steps between them.
// Applying a level copies its sizes into a jigsaw's parameters and
// recomputes the grid from the picture size the cut will use.
#pragma once

#include <array>
#include <cstdint>

#include "jigsaw/jig_params.h"

namespace varlo {

inline constexpr int32_t kLevelCount = 14;
inline constexpr int32_t kMaxPlayablePieces = 4000;

struct LEVEL_P {
  int32_t MaskS = 0;
  int32_t TileS = 0;
  int32_t KnobS = 0;
  int32_t Columns = 0;
  int32_t Rows = 0;
  int32_t Cells = 0;
  int32_t PicPX = 0;  // artistic pieces across (shape style 3 only)
  int32_t PicPY = 0;
  int32_t PicNum = 0;
  int32_t Total = 0;  // cells + artistic pieces

  friend bool operator==(const LEVEL_P&, const LEVEL_P&) = default;
};

using LevelTable = std::array<LEVEL_P, kLevelCount>;

// Rounding of real sizes to whole pixels: to the nearest, halves to even.
int32_t RoundHalfEven(double v);

// The record for piece size t on a w x h picture with the given shape and
// border style. A piece size below 1 gives an empty grid.
void MakeLevel(LEVEL_P& record, int32_t w, int32_t h, int32_t shapeStyle, int32_t borderStyle,
               int32_t t);

// Fills all 14 records; leaves the table untouched when w or h is not
// positive.
void MakeLevelTable(LevelTable& table, int32_t w, int32_t h, int32_t shapeStyle,
                    int32_t borderStyle);

// The picture size the cut works on: the fitted size when fitting to the
// screen is on, else the picture's own size.
int32_t CutPictureWidth(const JIG_P& p);
int32_t CutPictureHeight(const JIG_P& p);

// Copies the sizes of level p.Level (kept within 0..13) into p, sets SnapS,
// recomputes TilePX, TilePY, TileNum from the cut's picture size and border
// style, clears PicPX, PicPY, PicNum and sets TotalTileNum = TileNum.
// True when the level may be played (at most 4000 pieces).
bool ApplyLevel(JIG_P& p, const LevelTable& table);

// The level page's evaluation: rebuilds the table for the cut's picture
// size, shape and border of p, then applies p's level. True when the level
// may be played.
bool EvaluateLevelCounts(JIG_P& p, LevelTable& table);

// Fit to screen: the size a picture is scaled to so that it fits an
// available area of availW x availH, keeping its proportions; the picture's
// own size when it fits already.
void FitPictureSize(int32_t imageW, int32_t imageH, int32_t availW, int32_t availH,
                    int32_t& fitW, int32_t& fitH);

}  // namespace varlo
