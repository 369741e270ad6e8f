// Counting the areas a colour makes in a bitmap: its pixel count, its
// 4-connected pieces, and the holes it encloses. Drawings of the shape
// library must come out as one solid area.
#pragma once

#include <cstdint>
#include <vector>

#include "raster/dib.h"

namespace varlo::testing_pixels {

inline int32_t CountColour(const DIB_P& d, uint32_t colour) {
  int32_t n = 0;
  for (int32_t y = 0; y < d.Height; ++y)
    for (int32_t x = 0; x < d.Width; ++x) n += DibGetPixel(d, x, y) == static_cast<int32_t>(colour);
  return n;
}

// Number of areas whose pixels are (inside == true) or are not (inside ==
// false) of the colour; pixels join through their 4 or 8 neighbours.
inline int32_t CountAreas(const DIB_P& d, uint32_t colour, bool inside, int neighbours) {
  std::vector<uint8_t> seen(static_cast<size_t>(d.Width) * d.Height, 0);
  auto member = [&](int32_t x, int32_t y) {
    return (DibGetPixel(d, x, y) == static_cast<int32_t>(colour)) == inside;
  };
  int32_t areas = 0;
  std::vector<std::pair<int32_t, int32_t>> stack;
  for (int32_t y0 = 0; y0 < d.Height; ++y0)
    for (int32_t x0 = 0; x0 < d.Width; ++x0) {
      const size_t i0 = static_cast<size_t>(y0) * d.Width + x0;
      if (seen[i0] || !member(x0, y0)) continue;
      ++areas;
      seen[i0] = 1;
      stack.push_back({x0, y0});
      while (!stack.empty()) {
        auto [x, y] = stack.back();
        stack.pop_back();
        const int32_t nx[8] = {x - 1, x + 1, x, x, x - 1, x + 1, x - 1, x + 1};
        const int32_t ny[8] = {y, y, y - 1, y + 1, y - 1, y - 1, y + 1, y + 1};
        for (int k = 0; k < neighbours; ++k) {
          if (nx[k] < 0 || ny[k] < 0 || nx[k] >= d.Width || ny[k] >= d.Height) continue;
          const size_t i = static_cast<size_t>(ny[k]) * d.Width + nx[k];
          if (seen[i] || !member(nx[k], ny[k])) continue;
          seen[i] = 1;
          stack.push_back({nx[k], ny[k]});
        }
      }
    }
  return areas;
}

// Pieces of the colour, joined through all eight neighbours as the game's
// clean-up sees a piece (a one-pixel diagonal line holds together, and no
// 4-connected fill can cross it), and holes in it: areas of other pixels,
// 4-connected as the fills spread, that do not reach the bitmap's rim (the
// caller leaves a free rim around the drawing).
inline int32_t Components(const DIB_P& d, uint32_t colour) { return CountAreas(d, colour, true, 8); }
inline int32_t Components4(const DIB_P& d, uint32_t colour) { return CountAreas(d, colour, true, 4); }
inline int32_t Holes(const DIB_P& d, uint32_t colour) { return CountAreas(d, colour, false, 4) - 1; }

}  // namespace varlo::testing_pixels
