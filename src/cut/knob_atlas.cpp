#include "cut/knob_atlas.h"

#include <algorithm>
#include <vector>

#include "cut/bezier.h"
#include "cut/knob_templates.h"
#include "raster/picture_codecs.h"

namespace varlo {
namespace {

// Knob depth of the atlas outlines for an edge of L pixels: about a fifth of
// the edge, as deep as the curves the cut draws for pieces of that size.
double AtlasDepth(int32_t L) { return 3.5 + (L - kAtlasMinEdge) * 0.22; }

enum : uint8_t { kCellWhite = 0, kCellGreen = 1, kCellRed = 2 };

// One band cell: L x 22 pixels, the two outlines of template `slot` with
// their ends on row `base`.
struct BandCell {
  int32_t L = 0;
  std::vector<uint8_t> px;  // kCell* by row
  uint8_t at(int32_t x, int32_t y) const { return px[static_cast<size_t>(y) * L + x]; }
};

BandCell DrawBandCell(int32_t slot, int32_t L, int32_t base) {
  const KnobTemplate t = MakeTemplate(TemplateSet::Grid, slot);
  DIB_P scratch;
  DibCreate24(scratch, L, kAtlasBandRows);
  DibFillRect(scratch, 0, 0, L, kAtlasBandRows, kAtlasWhite);
  const double depth = AtlasDepth(L);
  const double length = L - 1;
  std::vector<PointD> pts(t.Count);
  for (int32_t i = 0; i < t.Count; ++i) {
    pts[i].x = t.Points[i].x * length / t.Width;
    pts[i].y = base - (t.Baseline - t.Points[i].y) * depth / t.Baseline;
  }
  DrawBezierChain(scratch, pts.data(), t.Count, kAtlasGreen);
  DibSetPixel(scratch, 0, base, kAtlasGreen);
  DibSetPixel(scratch, L - 1, base, kAtlasGreen);
  // The outer line is the curve itself. Everything above it is outside the
  // knob; the inner line is made of the pixels below the outer line that
  // touch it on a side, so it follows the outer one a pixel further in and
  // is a complete outline of its own.
  constexpr uint32_t kOutside = MakeRGB(1, 2, 3);
  DibFloodFill(scratch, 0, 0, kOutside, nullptr);
  BandCell cell;
  cell.L = L;
  cell.px.assign(static_cast<size_t>(L) * kAtlasBandRows, kCellWhite);
  auto colour = [&](int32_t x, int32_t y) { return static_cast<uint32_t>(DibGetPixel(scratch, x, y)); };
  for (int32_t y = 0; y < kAtlasBandRows; ++y) {
    for (int32_t x = 0; x < L; ++x) {
      const uint32_t c = colour(x, y);
      if (c == kAtlasGreen) {
        cell.px[static_cast<size_t>(y) * L + x] = kCellGreen;
      } else if (c == kAtlasWhite) {
        const bool touches = (x > 0 && colour(x - 1, y) == kAtlasGreen) ||
                             (x + 1 < L && colour(x + 1, y) == kAtlasGreen) ||
                             (y > 0 && colour(x, y - 1) == kAtlasGreen) ||
                             (y + 1 < kAtlasBandRows && colour(x, y + 1) == kAtlasGreen);
        if (touches) cell.px[static_cast<size_t>(y) * L + x] = kCellRed;
      }
    }
  }
  return cell;
}

// The outlines must leave row 0 free (it carries the measured white run and
// keeps the outside in one piece), end above the blue row, and stay within
// the rows the cut reads: L div 2 + base from the line's first row.
bool CellFits(const BandCell& c, int32_t base) {
  for (int32_t y = 0; y < kAtlasBandRows; ++y) {
    for (int32_t x = 0; x < c.L; ++x) {
      const uint8_t v = c.at(x, y);
      if (v == kCellWhite) continue;
      const int32_t firstRow = v == kCellGreen ? 0 : 1;
      if (y == 0 || y >= kAtlasBandRows - 1 || y - firstRow >= c.L / 2 + base) return false;
    }
  }
  return true;
}

// The legend sits on the first column's outer and inner line of template 0.
bool LegendFits(const BandCell& c) {
  return c.at(4, 5) == kCellWhite && c.at(4, 6) == kCellGreen && c.at(4, 7) == kCellRed &&
         c.at(4, 8) == kCellWhite;
}

}  // namespace

bool DrawKnobAtlas(DIB_P& atlas) {
  if (!DibCreate24(atlas, kAtlasWidth, kAtlasHeight)) return false;
  DibFillRect(atlas, 0, 0, kAtlasWidth, kAtlasHeight, kAtlasWhite);
  for (int32_t k = 0; k < kAtlasColumns; ++k) {
    const int32_t L = kAtlasMinEdge + k;
    const int32_t x0 = AtlasColumnX(k);
    // The lowest baseline at which all six outlines fit; the first column
    // also has to carry the legend.
    std::array<BandCell, kAtlasBands> cells;
    int32_t base = 1;
    for (; base < kAtlasBandRows; ++base) {
      bool ok = true;
      for (int32_t b = 0; b < kAtlasBands && ok; ++b) {
        cells[b] = DrawBandCell(b, L, base);
        ok = CellFits(cells[b], base) && (k != 0 || b != 0 || LegendFits(cells[b]));
      }
      if (ok) break;
    }
    if (base >= kAtlasBandRows) return false;
    for (int32_t b = 0; b < kAtlasBands; ++b) {
      const int32_t y0 = b * kAtlasBandRows;
      for (int32_t y = 0; y < kAtlasBandRows - 1; ++y) {
        uint8_t* p = DibPixel(atlas, x0, y0 + y);
        for (int32_t x = 0; x < L; ++x, p += 3) {
          const uint8_t v = cells[b].at(x, y);
          if (v == kCellWhite) continue;
          const RGB8 c = ColorToRGB(v == kCellGreen ? kAtlasGreen : kAtlasRed);
          p[0] = c.b;
          p[1] = c.g;
          p[2] = c.r;
        }
      }
      DibFillRect(atlas, x0, y0 + kAtlasBandRows - 1, L, 1, kAtlasBlue);
    }
    DibFillRect(atlas, x0 + L, 0, 1, kAtlasHeight, kAtlasSilver);
  }
  DibSetPixel(atlas, 4, 5, kAtlasWhite);
  DibSetPixel(atlas, 4, 6, kAtlasGreen);
  DibSetPixel(atlas, 4, 7, kAtlasRed);
  DibSetPixel(atlas, 4, 8, kAtlasBlue);
  return true;
}

AtlasInfo MeasureKnobAtlas(const DIB_P& atlas) {
  AtlasInfo info;
  if (atlas.Width != kAtlasWidth || atlas.Height != kAtlasHeight) return info;
  info.Usable = true;
  info.White = static_cast<uint32_t>(DibGetPixel(atlas, 4, 5));
  info.Green = static_cast<uint32_t>(DibGetPixel(atlas, 4, 6));
  info.Red = static_cast<uint32_t>(DibGetPixel(atlas, 4, 7));
  info.Blue = static_cast<uint32_t>(DibGetPixel(atlas, 4, 8));
  for (int32_t k = 0; k < kAtlasColumns; ++k) {
    const int32_t x = AtlasColumnX(k);
    int32_t white = 0;
    bool met = false;
    for (int32_t y = 0; y < k + 20; ++y) {
      if (static_cast<uint32_t>(DibGetPixel(atlas, x, y)) != info.White) {
        met = true;
        break;
      }
      ++white;
    }
    info.Base[k] = met ? white : 0;
  }
  return info;
}

bool LoadKnobAtlas(DIB_P& atlas, const std::string& resourceDir, std::string* error) {
  return DibLoadPngResource(atlas, resourceDir, kKnobAtlasResource, error);
}

}  // namespace varlo
