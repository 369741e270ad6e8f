#include "cut/irregular_edges.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace varlo {

void OrderEndPoints(IrregularEdge& e) {
  if (e.Y2 < e.Y1 || (e.Y1 == e.Y2 && e.X2 < e.X1)) {
    std::swap(e.X1, e.X2);
    std::swap(e.Y1, e.Y2);
  }
}

void SortEdgesByLength(std::vector<IrregularEdge>& edges) {
  const size_t n = edges.size();
  for (size_t i = 0; i < n; ++i)
    for (size_t j = i + 1; j < n; ++j)
      if (edges[j].Length > edges[i].Length) std::swap(edges[i], edges[j]);
}

void SetBoxFromEdges(const std::vector<IrregularEdge>& edges, TILE_P& t) {
  double left = 0, top = 0, right = 0, bottom = 0;
  bool any = false;
  for (const IrregularEdge& e : edges) {
    if (e.Length <= 1) break;  // sorted: the rest are as short
    if (!any) {
      left = right = e.X1;
      top = bottom = e.Y1;
      any = true;
    }
    left = std::min({left, e.X1, e.X2});
    right = std::max({right, e.X1, e.X2});
    top = std::min({top, e.Y1, e.Y2});
    bottom = std::max({bottom, e.Y1, e.Y2});
  }
  if (!any) return;
  // End points are whole pixels by the time boxes are made.
  t.BoxX = static_cast<int32_t>(std::floor(left));
  t.BoxY = static_cast<int32_t>(std::floor(top));
  t.BoxW = static_cast<int32_t>(std::ceil(right)) - t.BoxX + 1;
  t.BoxH = static_cast<int32_t>(std::ceil(bottom)) - t.BoxY + 1;
}

void SetNeighboursFromEdges(const std::vector<IrregularEdge>& edges, int32_t borderPiece, TILE_P& t) {
  t.Nb.fill(-1);
  size_t slot = 0;
  for (const IrregularEdge& e : edges) {
    if (e.Length <= 1 || slot >= t.Nb.size()) break;
    int32_t nb = e.Neighbour;
    if (nb < 0 && borderPiece >= 0) nb = borderPiece;
    t.Nb[slot++] = static_cast<int16_t>(nb);
  }
}

void LinkTwins(std::vector<IrregularCell>& cells) {
  const auto count = static_cast<int32_t>(cells.size());
  for (int32_t c = 0; c < count; ++c) {
    std::vector<IrregularEdge>& own = cells[static_cast<size_t>(c)].Edges;
    for (size_t i = 0; i < own.size(); ++i) {
      IrregularEdge& e = own[i];
      if (!e.Active || e.Neighbour < 0 || e.Neighbour >= count || e.Twin >= 0) continue;
      std::vector<IrregularEdge>& other = cells[static_cast<size_t>(e.Neighbour)].Edges;
      for (size_t j = 0; j < other.size(); ++j) {
        IrregularEdge& f = other[j];
        if (f.Neighbour != c || f.Twin >= 0) continue;
        e.Twin = static_cast<int16_t>(j);
        f.Twin = static_cast<int16_t>(i);
        break;
      }
    }
  }
}

IrregularEdge* TwinOf(std::vector<IrregularCell>& cells, int32_t cell, int32_t edge) {
  const IrregularEdge& e = cells[static_cast<size_t>(cell)].Edges[static_cast<size_t>(edge)];
  if (e.Twin < 0 || e.Neighbour < 0 || static_cast<size_t>(e.Neighbour) >= cells.size()) return nullptr;
  std::vector<IrregularEdge>& other = cells[static_cast<size_t>(e.Neighbour)].Edges;
  if (static_cast<size_t>(e.Twin) >= other.size()) return nullptr;
  return &other[static_cast<size_t>(e.Twin)];
}

}  // namespace varlo
