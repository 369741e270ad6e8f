// The Voronoi diagram of the seeds, clipped to the jigsaw rectangle: every
// cell's polygon as a list of edges, each with the cell on its other side.
//
// Two triangles of a seed that share a second seed D give the edge between
// their circumcentres, toward D; a triangle side on the convex hull gives a
// ray from the circumcentre outward along the side's perpendicular bisector.
// The edges are clipped to the jigsaw rectangle, and where a cell reaches
// the rectangle its outline is closed along the rectangle's sides.
#pragma once

#include <cstdint>
#include <vector>

#include "cut/knob_templates.h"
#include "raster/dib.h"

namespace varlo {

struct JigsawRect {
  int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;  // inclusive
};

// One edge of a finished diagram, end points ordered (Y1 < Y2, or Y1 == Y2
// and X1 <= X2).
struct DiagramEdge {
  double X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
  int16_t Neighbour = -1;  // -1 on the rectangle's sides
};

struct DiagramCell {
  PointD Middle;  // mean of all end points of the edges (not the centroid)
  std::vector<DiagramEdge> Edges;
};

using Diagram = std::vector<DiagramCell>;

enum class DiagramResult {
  Built,
  FirstEdgeFailed,  // fewer than two seeds, or no hull edge free of a third seed
  NoTriangles,      // the seeds lie on one line
};

// Builds the cells of all seeds (index = seed index). On failure every cell
// is left without edges and with its seed as middle point.
DiagramResult BuildDiagram(const std::vector<PointI>& seeds, const JigsawRect& rect, Diagram& out,
                           bool indexed = true);

// Clips the segment a-b (ray: b is a direction, the segment runs on for
// ever) to the rectangle; an end cut off lands exactly on the side it was
// cut at. False when nothing but a point is left.
bool ClipToJigsawRect(const JigsawRect& rect, PointD a, PointD b, bool ray, PointD& outA, PointD& outB);

}  // namespace varlo
