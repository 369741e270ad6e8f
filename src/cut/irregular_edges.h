// The working records of the irregular cut: one cell per grid cell, each with
// the polygon edges that separate it from its neighbours, and the steps that
// turn a cell's edges into the piece's box, neighbour list and twin links.
#pragma once

#include <cstdint>
#include <vector>

#include "cut/knob_templates.h"
#include "raster/dib.h"
#include "jigsaw/jig_params.h"

namespace varlo {

// One side of a cell's polygon. The end points are kept ordered (Y1 < Y2, or
// Y1 == Y2 and X1 <= X2), so the two cells that share an edge see the same
// end points in the same order.
struct IrregularEdge {
  double X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
  // The edge's supporting line extended both ways to the jigsaw rectangle;
  // used when artistic pieces reshape the cells around them.
  double LineX1 = 0, LineY1 = 0, LineX2 = 0, LineY2 = 0;
  int16_t Neighbour = -1;     // cell on the other side, -1 on the jigsaw rectangle's sides
  int16_t ArtisticEnd1 = -1;  // artistic piece an end was moved onto, -1 none
  int16_t ArtisticEnd2 = -1;
  double Length = 0;
  int16_t Twin = -1;          // index of the same edge in the neighbour's list, -1 none
  uint8_t KnobSide = 0;
  uint8_t Active = 0;         // 1: part of the outline
  uint8_t Changed = 0;        // 1: moved by the artistic placement
};

// How many edges a cell is meant to hold. The list grows beyond it when a
// degenerate diagram gives a cell more, so the outline always stays closed;
// the artistic placement uses it as the room for edges it adds.
inline constexpr int32_t kCellEdgeSlots = 20;

struct IrregularCell {
  PointI Seed;
  PointD Middle;  // mean of the edges' end points
  std::vector<IrregularEdge> Edges;
};

// Puts the end points in the order described above.
void OrderEndPoints(IrregularEdge& e);

// Longest first: for each position from the first, every later edge strictly
// longer than the one now at that position is swapped into it.
void SortEdgesByLength(std::vector<IrregularEdge>& edges);

// BoxX..BoxH = the smallest rectangle holding the end points of the edges
// longer than one pixel (both bounds counted); nothing changes when there
// are none. Edges must be sorted.
void SetBoxFromEdges(const std::vector<IrregularEdge>& edges, TILE_P& t);

// Nb = the neighbours of the first (at most nine) edges longer than one
// pixel, in sorted order; -1 becomes borderPiece when that is not -1.
void SetNeighboursFromEdges(const std::vector<IrregularEdge>& edges, int32_t borderPiece, TILE_P& t);

// Links every active edge that has a neighbour with the neighbour's edge
// back to this cell, both ways.
void LinkTwins(std::vector<IrregularCell>& cells);

// The twin of cells[cell].Edges[edge], or nullptr.
IrregularEdge* TwinOf(std::vector<IrregularCell>& cells, int32_t cell, int32_t edge);

}  // namespace varlo
