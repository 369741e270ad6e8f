#include "cut/irregular_cut.h"

#include <cmath>

#include "cut/cell_layout.h"
#include "cut/irregular_edges.h"
#include "cut/irregular_knob.h"
#include "cut/irregular_relax.h"
#include "cut/irregular_seeds.h"
#include "cut/level_table.h"
#include "platform/platform.h"
#include "jigsaw/pieces.h"
#include "platform/message_box.h"

namespace varlo {
namespace {

bool Prepare(JIG_P& p, std::vector<TILE_P>& tiles, ArtisticPlacement* artistic) {
  if (p.ShapeStyle > 3 || (p.ShapeStyle == 3 && !artistic)) return false;
  const int32_t cols = p.TilePX, rows = p.TilePY;
  if (cols <= 0 || rows <= 0 || p.ImageW <= 0 || p.ImageH <= 0 || p.TileS <= 0) return false;
  // Piece indices must fit the 16-bit neighbour slots, the border included.
  if (int64_t{cols} * rows >= 32767) return false;
  p.TileNum = cols * rows;
  p.TotalTileNum = p.TileNum;
  SetJigsawRect(p);
  LayOutCells(p, tiles);
  return CellsHoldSeeds(p, tiles);
}

void WidenBox(TILE_P& t, const XRECT& r) {
  if (RectIsEmpty(r)) return;
  const int32_t left = std::min(t.BoxX, r.Left), top = std::min(t.BoxY, r.Top);
  const int32_t right = std::max(t.BoxX + t.BoxW - 1, r.Right), bottom = std::max(t.BoxY + t.BoxH - 1, r.Bottom);
  t.BoxX = left;
  t.BoxY = top;
  t.BoxW = right - left + 1;
  t.BoxH = bottom - top + 1;
}

// The line through the edge, run out to the rectangle beyond each end.
void ExtendToRect(const JigsawRect& rect, IrregularEdge& e) {
  e.LineX1 = e.X1;
  e.LineY1 = e.Y1;
  e.LineX2 = e.X2;
  e.LineY2 = e.Y2;
  const PointD d{e.X2 - e.X1, e.Y2 - e.Y1};
  if (d.x == 0 && d.y == 0) return;
  PointD from, to;
  if (ClipToJigsawRect(rect, {e.X1, e.Y1}, {-d.x, -d.y}, true, from, to)) {
    e.LineX1 = to.x;
    e.LineY1 = to.y;
  }
  if (ClipToJigsawRect(rect, {e.X2, e.Y2}, d, true, from, to)) {
    e.LineX2 = to.x;
    e.LineY2 = to.y;
  }
}

bool IsWhite(const DIB_P& mask, int32_t imageW, int32_t imageH, int32_t x, int32_t y) {
  if (x < 0 || y < 0 || x >= imageW || y >= imageH) return false;
  const uint8_t* px = DibPixel(mask, x, y);
  return px[0] == 255 && px[1] == 255 && px[2] == 255;
}

// Gives every pixel no fill reached to the piece beside it. Where an edge
// meets a side of the jigsaw rectangle at a slant, its line can wall off a
// single pixel on the outermost row or column, which neither the pocket
// rule of the piece rectangles (it leaves the search rectangle's rim alone)
// nor despeckling (it keeps that pixel's row) hands on; the player would
// see a hole there. The piece that takes it widens its box to hold it.
void AssignLeftoverPixels(const JIG_P& p, std::vector<TILE_P>& tiles, DIB_P& mask) {
  for (int32_t y = 0; y < p.ImageH; ++y) {
    const uint8_t* row = DibRow(mask, y);
    for (int32_t x = 0; x < p.ImageW; ++x) {
      const uint8_t* px = row + static_cast<ptrdiff_t>(x) * 3;
      if ((px[0] & px[1] & px[2]) != 255) continue;
      static constexpr int32_t kAround[4][2] = {{-1, 0}, {0, -1}, {1, 0}, {0, 1}};
      for (const auto& d : kAround) {
        const int32_t nx = x + d[0], ny = y + d[1];
        if (nx < 0 || ny < 0 || nx >= p.ImageW || ny >= p.ImageH) continue;
        const int32_t colour = DibGetPixel(mask, nx, ny);
        if (colour < 0 || static_cast<uint32_t>(colour) == kMaskWhite) continue;
        XRECT filled;
        DibFloodFill(mask, x, y, static_cast<uint32_t>(colour), &filled);
        const auto key = static_cast<uint8_t>(static_cast<uint32_t>(colour) >> 16);
        for (int32_t n = 0; n < p.TileNum; ++n) {
          TILE_P& t = tiles[static_cast<size_t>(n)];
          if (t.Key != key || nx < t.BoxX || ny < t.BoxY || nx >= t.BoxX + t.BoxW || ny >= t.BoxY + t.BoxH) continue;
          WidenBox(t, filled);
          break;
        }
        break;
      }
    }
  }
}

class IrregularCutRun {
 public:
  IrregularCutRun(JIG_P& p, std::vector<TILE_P>& tiles, RandomGenerator& random, Progress& progress,
                  ArtisticPlacement* artistic)
      : p_(p), tiles_(tiles), random_(random), progress_(progress), artistic_(artistic) {}

  enum class Outcome { Filled, PaintError, ArtisticFailed, NoMask };

  // One drawing attempt from the saved geometry.
  Outcome Attempt(int32_t number, bool withArtistic, bool stepProgress, PaintError& error) {
    if (!CreateCutMask(mask_, p_.ImageW, p_.ImageH)) return Outcome::NoMask;
    LayOutCells(p_, tiles_);
    if (!withArtistic)
      for (int32_t n = 0; n < p_.TileNum; ++n) tiles_[static_cast<size_t>(n)].Artistic = 0;
    Restore();
    const int32_t borderPiece = p_.BorderStyle == 1 ? p_.TotalTileNum : -1;
    for (int32_t n = 0; n < p_.TileNum; ++n) {
      IrregularCell& c = cells_[static_cast<size_t>(n)];
      TILE_P& t = tiles_[static_cast<size_t>(n)];
      SortEdgesByLength(c.Edges);
      SetBoxFromEdges(c.Edges, t);
      t.CentreX = RoundHalfEven(c.Middle.x);
      t.CentreY = RoundHalfEven(c.Middle.y);
      SetNeighboursFromEdges(c.Edges, borderPiece, t);
    }
    LinkTwins(cells_);
    if (stepProgress) progress_.Step();

    bool placed = true;
    if (withArtistic && artistic_) {
      IrregularAttempt attempt{p_, tiles_, cells_, mask_, random_, number};
      placed = artistic_->Place(attempt);
    }
    if (stepProgress) progress_.Step();
    if (!placed) return Outcome::ArtisticFailed;

    ChooseKnobSides();
    DrawEdges(withArtistic);
    if (p_.BorderStyle == 1) DrawBorderLines();
    return Fill(withArtistic, error) ? Outcome::Filled : Outcome::PaintError;
  }

  RelaxedDiagram& Geometry() { return geometry_; }
  DIB_P& Mask() { return mask_; }

 private:
  bool Artistic(int32_t n) const { return p_.ShapeStyle == 3 && tiles_[static_cast<size_t>(n)].Artistic; }

  void Restore() {
    const JigsawRect rect = JigsawRectOf(p_);
    cells_.assign(static_cast<size_t>(p_.TileNum), IrregularCell{});
    for (int32_t n = 0; n < p_.TileNum; ++n) {
      const DiagramCell& saved = geometry_.Cells[static_cast<size_t>(n)];
      IrregularCell& c = cells_[static_cast<size_t>(n)];
      c.Seed = geometry_.Seeds[static_cast<size_t>(n)];
      c.Middle = saved.Middle;
      c.Edges.reserve(saved.Edges.size());
      for (const DiagramEdge& d : saved.Edges) {
        IrregularEdge e;
        e.X1 = RoundHalfEven(d.X1);
        e.Y1 = RoundHalfEven(d.Y1);
        e.X2 = RoundHalfEven(d.X2);
        e.Y2 = RoundHalfEven(d.Y2);
        OrderEndPoints(e);  // rounding can make a slanted edge level
        e.Neighbour = d.Neighbour;
        e.Active = 1;
        e.Length = std::hypot(e.X2 - e.X1, e.Y2 - e.Y1);
        if (p_.ShapeStyle == 3) ExtendToRect(rect, e);
        c.Edges.push_back(e);
      }
    }
  }

  void ChooseKnobSides() {
    const bool byDirection = (IrregularCutFlags(p_.ShapeStyle) & kKnobSideFollowsDirection) != 0;
    for (int32_t n = 0; n < p_.TileNum; ++n) {
      std::vector<IrregularEdge>& edges = cells_[static_cast<size_t>(n)].Edges;
      for (size_t i = 0; i < edges.size(); ++i) {
        IrregularEdge& e = edges[i];
        if (!e.Active || e.Length <= 3 || e.Neighbour <= n) continue;
        if (byDirection)
          e.KnobSide = std::abs(e.Y1 - e.Y2) > std::abs(e.X1 - e.X2) ? 1 : 0;
        else
          e.KnobSide = static_cast<uint8_t>(random_.Random(2));
        if (IrregularEdge* twin = TwinOf(cells_, n, static_cast<int32_t>(i))) twin->KnobSide = 1 - e.KnobSide;
      }
    }
  }

  void DrawEdges(bool withArtistic) {
    IrregularKnobContext ctx = MakeKnobContext(p_, mask_, random_);
    for (int32_t n = 0; n < p_.TileNum; ++n) {
      if (withArtistic && Artistic(n)) continue;
      TILE_P& t = tiles_[static_cast<size_t>(n)];
      const uint32_t colour = PieceColour(t.Key);
      const PointI own{t.CentreX, t.CentreY};
      for (const IrregularEdge& e : cells_[static_cast<size_t>(n)].Edges) {
        // Edges on the rectangle's sides and those the other cell owns are
        // not drawn here.
        if (!e.Active || e.Neighbour <= n || e.Neighbour >= p_.TileNum) continue;
        if (withArtistic && Artistic(e.Neighbour)) continue;
        const auto x1 = static_cast<int32_t>(e.X1), y1 = static_cast<int32_t>(e.Y1);
        const auto x2 = static_cast<int32_t>(e.X2), y2 = static_cast<int32_t>(e.Y2);
        if (!IsStraightEdge(e.Length, p_.TileS, ctx.Flags)) {
          TILE_P& nb = tiles_[static_cast<size_t>(e.Neighbour)];
          XRECT box;
          if (DrawKnobbedEdge(ctx, e, own, {nb.CentreX, nb.CentreY}, colour, box)) {
            WidenBox(t, box);
            WidenBox(nb, box);
            continue;
          }
        }
        DibLine(mask_, x1, y1, x2, y2, colour);
      }
    }
  }

  void DrawBorderLines() {
    const uint32_t c = PieceColour(kBorderKey);
    const int32_t l = p_.JigsL - 1, t = p_.JigsT - 1, r = p_.JigsR + 1, b = p_.JigsB + 1;
    DibLine(mask_, l, t, r, t, c);
    DibLine(mask_, l, b, r, b, c);
    DibLine(mask_, l, t, l, b, c);
    DibLine(mask_, r, t, r, b, c);
  }

  // Fills every piece from its centre, or from the mean of its edges'
  // mid-points when an outline runs over the centre. False when a piece
  // could not be filled (the last one is in error).
  bool Fill(bool withArtistic, PaintError& error) {
    error = PaintError{};
    for (int32_t n = 0; n < p_.TileNum; ++n) {
      if (withArtistic && Artistic(n)) continue;
      TILE_P& t = tiles_[static_cast<size_t>(n)];
      int32_t x = t.CentreX, y = t.CentreY;
      if (!IsWhite(mask_, p_.ImageW, p_.ImageH, x, y)) {
        double sx = 0, sy = 0;
        int32_t count = 0;
        for (const IrregularEdge& e : cells_[static_cast<size_t>(n)].Edges) {
          if (!e.Active) continue;
          if (withArtistic && e.Neighbour >= 0 && Artistic(e.Neighbour)) continue;
          sx += (e.X1 + e.X2) / 2;
          sy += (e.Y1 + e.Y2) / 2;
          ++count;
        }
        if (count > 0) {
          const int32_t mx = RoundHalfEven(sx / count), my = RoundHalfEven(sy / count);
          if (IsWhite(mask_, p_.ImageW, p_.ImageH, mx, my)) {
            x = t.CentreX = mx;
            y = t.CentreY = my;
          }
        }
      }
      XRECT filled;
      if (FillPiece(mask_, x, y, PieceColour(t.Key), &filled)) {
        WidenBox(t, filled);
      } else {
        error = {true, n, x, y};
      }
    }
    return !error.Any;
  }

  JIG_P& p_;
  std::vector<TILE_P>& tiles_;
  RandomGenerator& random_;
  Progress& progress_;
  ArtisticPlacement* artistic_;
  RelaxedDiagram geometry_;
  std::vector<IrregularCell> cells_;
  DIB_P mask_;
};

bool RunCut(JIG_P& p, std::vector<TILE_P>& tiles, DIB_P& maskSlot, std::vector<PointI> seeds,
            RandomGenerator& random, Progress& progress, IrregularCutReport& report,
            ArtisticPlacement* artistic) {
  IrregularCutRun run(p, tiles, random, progress, artistic);
  run.Geometry() = BuildRelaxedDiagram(p, tiles, std::move(seeds), progress);
  report.FirstEdgeFailures = run.Geometry().FirstEdgeFailures;
  report.GridFallback = run.Geometry().GridFallback;

  const bool withArtistic = p.ShapeStyle == 3;
  for (int32_t attempt = 1; attempt <= kIrregularCutAttempts; ++attempt) {
    report.Attempts = attempt;
    using Outcome = IrregularCutRun::Outcome;
    Outcome outcome = run.Attempt(attempt, withArtistic, attempt == 1, report.Error);
    report.ArtisticFailed = outcome == Outcome::ArtisticFailed;
    if (outcome == Outcome::ArtisticFailed && attempt == kIrregularCutAttempts) {
      // A jigsaw without its artistic pieces is still a jigsaw: the last
      // attempt is drawn again with plain pieces only, rather than handing
      // over a mask with nothing filled.
      outcome = run.Attempt(attempt, false, false, report.Error);
    }
    if (outcome == Outcome::NoMask) return false;
    if (outcome == Outcome::Filled) break;
  }

  DIB_P& mask = run.Mask();
  if (p.BorderStyle == 1) FillPiece(mask, 0, 0, PieceColour(kBorderKey), nullptr);
  AssignLeftoverPixels(p, tiles, mask);
  progress.Step();  // the working records go with `run`

  for (int32_t n = 0; n < p.TileNum; ++n) {
    TILE_P& t = tiles[static_cast<size_t>(n)];
    XRECT search;
    RectSetLTRB(search, t.BoxX, t.BoxY, t.BoxX + t.BoxW + 1, t.BoxY + t.BoxH + 1);
    const auto found = PieceRectangle(mask, search, p.ImageW, p.ImageH, PieceColour(t.Key));
    if (found && p.ShapeStyle == 3 && t.Artistic) {
      t.BoxX = found->Left;
      t.BoxY = found->Top;
      t.BoxW = found->Width;
      t.BoxH = found->Height;
    }
  }
  Despeckle(mask, p.JigsL, p.JigsT, p.JigsR, p.JigsB);
  if (p.BorderStyle == 1) AddBorderPiece(p, tiles, false);
  progress.Step();
  HandOverMask(mask, maskSlot);
  progress.Step();
  return true;
}

}  // namespace

bool CutIrregular(JIG_P& p, std::vector<TILE_P>& tiles, DIB_P& maskSlot, RandomGenerator& random,
                  Progress& progress, IrregularCutReport& report, ArtisticPlacement* artistic) {
  report = IrregularCutReport{};
  if (!Prepare(p, tiles, artistic)) return false;
  std::vector<PointI> seeds = PlaceSeeds(p, tiles, random);
  progress.Step();
  return RunCut(p, tiles, maskSlot, std::move(seeds), random, progress, report, artistic);
}

bool CutIrregularFromSeeds(JIG_P& p, std::vector<TILE_P>& tiles, DIB_P& maskSlot,
                           std::vector<PointI> seeds, RandomGenerator& random, Progress& progress,
                           IrregularCutReport& report, ArtisticPlacement* artistic) {
  report = IrregularCutReport{};
  if (!Prepare(p, tiles, artistic) || seeds.size() != static_cast<size_t>(p.TileNum)) return false;
  progress.Step();
  return RunCut(p, tiles, maskSlot, std::move(seeds), random, progress, report, artistic);
}

bool CutIrregularJigsaw(Jigsaw& jig, RandomGenerator& random, Progress& progress, const Platform& platform,
                        std::string_view paintErrorText, ArtisticPlacement* artistic) {
  IrregularCutReport report;
  if (!CutIrregular(jig.Jig, jig.Tiles, jig.Images[kMaskSlot], random, progress, report, artistic))
    return false;
  jig.Sort.clear();
  ReportIrregularCut(platform, paintErrorText, report);
  return true;
}

void ReportIrregularCut(const Platform& platform, std::string_view paintErrorText,
                        const IrregularCutReport& report) {
  for (int32_t i = 0; i < report.FirstEdgeFailures; ++i)
    ShowGameMessage(platform, "Finding first edge failed!", kMsgExclamationOk);
  ReportPaintError(platform, report.Error,
                   report.ArtisticFailed ? CutKind::IrregularArtistic : CutKind::Irregular, paintErrorText);
}

}  // namespace varlo
