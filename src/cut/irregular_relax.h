// The diagram the irregular cut draws from: built from the seeds, then
// evened out twice by moving every seed to the middle of its cell.
#pragma once

#include <cstdint>
#include <vector>

#include "cut/irregular_voronoi.h"
#include "jigsaw/jig_params.h"
#include "platform/progress.h"

namespace varlo {

struct RelaxedDiagram {
  Diagram Cells;
  std::vector<PointI> Seeds;      // the seeds of the final diagram
  int32_t FirstEdgeFailures = 0;  // builds that found no first edge
  bool GridFallback = false;      // the very first build failed: the cells are the grid's
};

JigsawRect JigsawRectOf(const JIG_P& p);

// Builds the diagram, then twice moves every seed to its cell's middle point
// rounded and builds again; one progress step after each build. A build
// that fails keeps the previous round's diagram; when even the first fails,
// the pieces fall back to the grid cells (straight sides with neighbours,
// so the cut still gives a playable jigsaw).
RelaxedDiagram BuildRelaxedDiagram(const JIG_P& p, const std::vector<TILE_P>& cells,
                                   std::vector<PointI> seeds, Progress& progress);

// The grid cells as a diagram: four edges each, the shared sides on the
// left and top side of the right and lower cell, the outer sides on the
// jigsaw rectangle.
Diagram GridDiagram(const JIG_P& p, const std::vector<TILE_P>& cells);

}  // namespace varlo
