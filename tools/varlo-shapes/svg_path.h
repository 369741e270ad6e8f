// Reading the outlines of simple icon files: the viewBox and the path data
// of their <path> elements, every command turned into cubic Bézier
// segments (lines, quadratics and elliptical arcs included).
#pragma once

#include <string>
#include <vector>

namespace varlo_shapes {

struct Pt {
  double x = 0, y = 0;
};

// One closed figure: its start and the cubic segments (three points each:
// two control points and the end) that run round it back to the start.
struct Contour {
  Pt start;
  std::vector<Pt> cubics;  // size is a multiple of 3
};

struct SvgOutline {
  double viewX = 0, viewY = 0, viewW = 0, viewH = 0;
  std::vector<Contour> contours;
};

// Parses path data (M/m L/l H/h V/v C/c S/s Q/q T/t A/a Z/z) into contours;
// every figure is closed. False with *error for data it cannot read.
bool ParsePathData(const std::string& d, std::vector<Contour>& out, std::string* error);

// Reads the file's viewBox and the d attribute of every <path>.
bool ReadSvgOutline(const std::string& path, SvgOutline& out, std::string* error);

// Signed area of the contour's outline (flattened), in the file's units.
double ContourArea(const Contour& c);

}  // namespace varlo_shapes
