#include "cut/irregular_relax.h"

#include "cut/level_table.h"

namespace varlo {

JigsawRect JigsawRectOf(const JIG_P& p) { return {p.JigsL, p.JigsT, p.JigsR, p.JigsB}; }

Diagram GridDiagram(const JIG_P& p, const std::vector<TILE_P>& cells) {
  const int32_t cols = p.TilePX, rows = p.TilePY;
  Diagram d(static_cast<size_t>(cols) * rows);
  for (int32_t i = 0; i < rows; ++i) {
    for (int32_t j = 0; j < cols; ++j) {
      const int32_t n = i * cols + j;
      const TILE_P& t = cells[static_cast<size_t>(n)];
      const double x0 = j == 0 ? p.JigsL : t.CellX, y0 = i == 0 ? p.JigsT : t.CellY;
      const double x1 = j == cols - 1 ? p.JigsR : t.CellX + t.CellW;
      const double y1 = i == rows - 1 ? p.JigsB : t.CellY + t.CellH;
      auto nb = [](bool exists, int32_t index) { return static_cast<int16_t>(exists ? index : -1); };
      DiagramCell& c = d[static_cast<size_t>(n)];
      c.Edges = {{x0, y0, x1, y0, nb(i > 0, n - cols)},
                 {x0, y1, x1, y1, nb(i < rows - 1, n + cols)},
                 {x0, y0, x0, y1, nb(j > 0, n - 1)},
                 {x1, y0, x1, y1, nb(j < cols - 1, n + 1)}};
      c.Middle = {(x0 + x1) / 2, (y0 + y1) / 2};
    }
  }
  return d;
}

RelaxedDiagram BuildRelaxedDiagram(const JIG_P& p, const std::vector<TILE_P>& cells,
                                   std::vector<PointI> seeds, Progress& progress) {
  RelaxedDiagram r;
  const JigsawRect rect = JigsawRectOf(p);
  const DiagramResult first = BuildDiagram(seeds, rect, r.Cells);
  progress.Step();
  if (first != DiagramResult::Built) {
    r.FirstEdgeFailures += first == DiagramResult::FirstEdgeFailed;
    r.Cells = GridDiagram(p, cells);
    r.GridFallback = true;
    r.Seeds = std::move(seeds);
    progress.Step();
    progress.Step();
    return r;
  }
  r.Seeds = seeds;
  for (int32_t round = 0; round < 2; ++round) {
    std::vector<PointI> moved(r.Seeds.size());
    for (size_t s = 0; s < moved.size(); ++s)
      moved[s] = {RoundHalfEven(r.Cells[s].Middle.x), RoundHalfEven(r.Cells[s].Middle.y)};
    Diagram next;
    const DiagramResult result = BuildDiagram(moved, rect, next);
    progress.Step();
    if (result != DiagramResult::Built) {
      // Keep the last good diagram; the remaining round is not tried.
      r.FirstEdgeFailures += result == DiagramResult::FirstEdgeFailed;
      if (round == 0) progress.Step();
      break;
    }
    r.Cells = std::move(next);
    r.Seeds = std::move(moved);
  }
  return r;
}

}  // namespace varlo
