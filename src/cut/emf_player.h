// Plays an EMF drawing into a bitmap, stretched into a rectangle.
//
// The player follows the records a filled silhouette needs: pens and brushes
// (created, stock, selected, deleted), the fill mode, the current position,
// lines, polylines, polygons and Béziers in their 16- and 32-bit forms,
// poly-polygons, paths (begin, end, close figure, fill, stroke, stroke and
// fill), the world transform, the mapping modes with window and viewport
// extents and origins, SaveDC/RestoreDC and single pixels. Other records are
// skipped. The drawing's frame is what is stretched into the rectangle.
//
// A filled area covers every pixel whose centre lies inside the outline
// (by the fill mode: alternate or winding) plus the pixels of the outline
// itself, so a filled drawing is one solid area in its colour, with no gap
// between its inside and its edge however small it is drawn.
#pragma once

#include <cstdint>

#include "cut/emf_drawing.h"
#include "raster/dib.h"

namespace varlo {

// Plays d into target (24- or 32-bit; the alpha byte is left alone), the
// frame stretched to the w x h rectangle at (x, y). Drawing is clipped to
// the bitmap. False when there is nothing to draw into or d is empty.
bool EmfPlay(const EmfDrawing& d, DIB_P& target, int32_t x, int32_t y, int32_t w, int32_t h);

}  // namespace varlo
