#include "cut/rect_cut.h"

#include <array>

#include "cut/cell_layout.h"
#include "cut/knob_edge.h"
#include "cut/level_table.h"
#include "jigsaw/pieces.h"

namespace varlo {
namespace {

// The cell's inclusive corners and the knob side of each of its edges.
struct CornerRec {
  int32_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  std::array<uint8_t, 4> side{};  // left, top, right, bottom
};
enum { kLeft = 0, kTop = 1, kRight = 2, kBottom = 3 };

void SetCandidates(KnobEdgeContext& ctx, int32_t shapeStyle) {
  const int32_t count = shapeStyle == 4 ? 1 : shapeStyle == 5 ? 4 : 6;
  for (int32_t i = 0; i < count; ++i) ctx.Candidates[i] = i;
  ctx.CandidateCount = count;
}

// A straight line with both end pixels.
void StraightLine(DIB_P& mask, int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint32_t colour) {
  DibLine(mask, x0, y0, x1, y1, colour);
}

// Where the cell's diagonals cross, rounded.
void FillPoint(const CornerRec& c, int32_t& x, int32_t& y) {
  // Diagonal a: (x1, y1) -> (x2, y2); diagonal b: (x2, y1) -> (x1, y2).
  const double ax = c.x1, ay = c.y1, adx = c.x2 - c.x1, ady = c.y2 - c.y1;
  const double bx = c.x2, by = c.y1, bdx = c.x1 - c.x2, bdy = c.y2 - c.y1;
  const double den = adx * bdy - ady * bdx;
  double t = 0.5;
  if (den != 0) t = ((bx - ax) * bdy - (by - ay) * bdx) / den;
  x = RoundHalfEven(ax + t * adx);
  y = RoundHalfEven(ay + t * ady);
}

}  // namespace

bool CutRectangular(JIG_P& p, std::vector<TILE_P>& tiles, DIB_P& maskSlot, const DIB_P& atlas,
                    RandomGenerator& random, Progress& progress, PaintError& error) {
  error = PaintError{};
  if (p.ShapeStyle < 4 || p.ShapeStyle > 6) return false;
  const int32_t cols = p.TilePX, rows = p.TilePY;
  if (cols <= 0 || rows <= 0 || p.ImageW <= 0 || p.ImageH <= 0 || p.TileS <= 0) return false;
  // Piece indices must fit the 16-bit neighbour slots, the border included.
  if (int64_t{cols} * rows >= 32767) return false;
  p.TileNum = cols * rows;
  p.TotalTileNum = p.TileNum;

  KnobEdgeContext ctx;
  SetCandidates(ctx, p.ShapeStyle);
  DIB_P mask;
  if (!CreateCutMask(mask, p.ImageW, p.ImageH)) return false;
  progress.Step();

  LoadTemplateSet(ctx.Templates, TemplateSet::Grid);
  ctx.Atlas = &atlas;
  ctx.AtlasData = MeasureKnobAtlas(atlas);
  ctx.Mask = &mask;
  ctx.ImageW = p.ImageW;
  ctx.ImageH = p.ImageH;
  ctx.KnobS = p.KnobS;
  ctx.Random = &random;
  progress.Step();

  SetJigsawRect(p);
  LayOutCells(p, tiles);
  std::vector<CornerRec> corners(static_cast<size_t>(p.TileNum));
  for (int32_t i = 0; i < rows; ++i) {
    for (int32_t j = 0; j < cols; ++j) {
      const int32_t n = i * cols + j;
      TILE_P& t = tiles[static_cast<size_t>(n)];
      CornerRec& c = corners[static_cast<size_t>(n)];
      c.x1 = t.CellX;
      c.y1 = t.CellY;
      c.x2 = t.CellX + t.CellW - 1;
      c.y2 = t.CellY + t.CellH - 1;
      t.WoodSlot = c.x1;
      t.WoodBit = c.y1;
      t.CornerX2 = c.x2;
      t.CornerY2 = c.y2;
      if (j > 0) t.Nb[kLeft] = static_cast<int16_t>(n - 1);
      if (i > 0) t.Nb[kTop] = static_cast<int16_t>(n - cols);
      if (j < cols - 1) t.Nb[kRight] = static_cast<int16_t>(n + 1);
      if (i < rows - 1) t.Nb[kBottom] = static_cast<int16_t>(n + cols);
    }
  }
  progress.Step();

  for (int32_t i = 0; i < rows; ++i) {
    for (int32_t j = 0; j < cols; ++j) {
      CornerRec& c = corners[static_cast<size_t>(i) * cols + j];
      if (j > 0) c.side[kLeft] = corners[static_cast<size_t>(i) * cols + j - 1].side[kRight];
      if (j < cols - 1) c.side[kRight] = static_cast<uint8_t>(random.Random(2));
      if (i > 0) c.side[kTop] = corners[static_cast<size_t>(i - 1) * cols + j].side[kBottom];
      if (i < rows - 1) c.side[kBottom] = static_cast<uint8_t>(random.Random(2));
    }
  }
  progress.Step();

  for (int32_t j = 0; j + 1 < cols; ++j) {
    for (int32_t i = 0; i < rows; ++i) {
      const int32_t n = i * cols + j;
      const CornerRec& c = corners[static_cast<size_t>(n)];
      DrawKnobEdge(ctx, 0, c.side[kRight], {c.x2, c.y1}, {c.x2, c.y2},
                   PieceColour(tiles[static_cast<size_t>(n)].Key));
    }
  }
  progress.Step();
  for (int32_t i = 0; i + 1 < rows; ++i) {
    for (int32_t j = 0; j < cols; ++j) {
      const int32_t n = i * cols + j;
      const CornerRec& c = corners[static_cast<size_t>(n)];
      DrawKnobEdge(ctx, 0, c.side[kBottom], {c.x1, c.y2}, {c.x2, c.y2},
                   PieceColour(tiles[static_cast<size_t>(n)].Key));
    }
  }
  progress.Step();

  if (p.BorderStyle == 1) {
    // The outline of the jigsaw rectangle, in the colour of the cell inside.
    for (int32_t i = 0; i < rows; ++i) {
      const int32_t first = i * cols, last = i * cols + cols - 1;
      const CornerRec& a = corners[static_cast<size_t>(first)];
      const CornerRec& b = corners[static_cast<size_t>(last)];
      StraightLine(mask, a.x1, a.y1, a.x1, a.y2, PieceColour(tiles[static_cast<size_t>(first)].Key));
      StraightLine(mask, b.x2, b.y1, b.x2, b.y2, PieceColour(tiles[static_cast<size_t>(last)].Key));
    }
    for (int32_t j = 0; j < cols; ++j) {
      const int32_t first = j, last = (rows - 1) * cols + j;
      const CornerRec& a = corners[static_cast<size_t>(first)];
      const CornerRec& b = corners[static_cast<size_t>(last)];
      StraightLine(mask, a.x1, a.y1, a.x2, a.y1, PieceColour(tiles[static_cast<size_t>(first)].Key));
      StraightLine(mask, b.x1, b.y2, b.x2, b.y2, PieceColour(tiles[static_cast<size_t>(last)].Key));
    }
  }
  progress.Step();

  for (int32_t n = 0; n < p.TileNum; ++n) {
    int32_t x = 0, y = 0;
    FillPoint(corners[static_cast<size_t>(n)], x, y);
    if (!FillPiece(mask, x, y, PieceColour(tiles[static_cast<size_t>(n)].Key), nullptr)) {
      error.Any = true;
      error.Index = n;
      error.X = x;
      error.Y = y;
    }
  }
  progress.Step();
  if (p.BorderStyle == 1) FillPiece(mask, 0, 0, PieceColour(kBorderKey), nullptr);
  progress.Step();

  for (int32_t n = 0; n < p.TileNum; ++n) {
    TILE_P& t = tiles[static_cast<size_t>(n)];
    XRECT search;
    RectSetXYWH(search, t.BoxX, t.BoxY, t.BoxW, t.BoxH);
    RectGrow(search, -2 * p.KnobS, -2 * p.KnobS, 4 * p.KnobS, 4 * p.KnobS);
    if (auto r = PieceRectangle(mask, search, p.ImageW, p.ImageH, PieceColour(t.Key))) {
      t.BoxX = r->Left;
      t.BoxY = r->Top;
      t.BoxW = r->Width;
      t.BoxH = r->Height;
    }
  }
  progress.Step();

  if (p.BorderStyle == 1) AddBorderPiece(p, tiles, true);
  HandOverMask(mask, maskSlot);
  progress.Step();
  return true;
}

bool CutRectangularJigsaw(Jigsaw& jig, const DIB_P& atlas, RandomGenerator& random,
                          Progress& progress, const Platform& platform) {
  PaintError error;
  if (!CutRectangular(jig.Jig, jig.Tiles, jig.Images[kMaskSlot], atlas, random, progress, error))
    return false;
  jig.Sort.clear();
  ReportPaintError(platform, error, CutKind::Rectangular, {});
  return true;
}

}  // namespace varlo
