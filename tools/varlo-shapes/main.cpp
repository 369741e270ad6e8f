// varlo-shapes: builds the shape library pic_varlo.dat from the committed
// SVG silhouettes and their manifest, and draws a contact sheet of a
// library with the game's own EMF player.
//
//   varlo-shapes build <manifest> <svg folder> <out.dat>
//   varlo-shapes sheet <library.dat> <out.png>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cut/emf_player.h"
#include "cut/emf_records.h"
#include "cut/emf_writer.h"
#include "cut/shape_library.h"
#include "raster/dib.h"
#include "raster/picture_codecs.h"
#include "svg_path.h"

using namespace varlo;
using varlo_shapes::Contour;
using varlo_shapes::Pt;

namespace {

int Fail(const std::string& why) {
  std::fprintf(stderr, "varlo-shapes: %s\n", why.c_str());
  return 1;
}

struct ManifestLine {
  std::string name, file, contours;
  int longSide = 0, flipTopBottom = 0, flipLeftRight = 0;
};

bool ReadManifest(const std::string& path, std::vector<ManifestLine>& out, std::string& error) {
  std::ifstream in(path);
  if (!in) return error = "cannot open " + path, false;
  std::string line;
  int number = 0;
  while (std::getline(in, line)) {
    ++number;
    const size_t hash = line.find('#');
    if (hash != std::string::npos) line.resize(hash);
    std::istringstream ls(line);
    ManifestLine m;
    if (!(ls >> m.name)) continue;
    if (!(ls >> m.file >> m.longSide >> m.flipTopBottom >> m.flipLeftRight >> m.contours) || m.longSide < 8 ||
        m.longSide > 1000 || (m.contours != "outer" && m.contours != "all"))
      return error = path + ":" + std::to_string(number) + ": expected name file long-side flip-tb flip-lr outer|all",
             false;
    out.push_back(m);
  }
  return true;
}

// Points on the outline, for its tight box.
void OutlinePoints(const Contour& c, std::vector<Pt>& pts) {
  Pt from = c.start;
  pts.push_back(from);
  for (size_t i = 0; i + 2 < c.cubics.size(); i += 3) {
    const Pt a = c.cubics[i], b = c.cubics[i + 1], e = c.cubics[i + 2];
    for (int k = 1; k <= 16; ++k) {
      const double t = k / 16.0, u = 1 - t;
      pts.push_back({u * u * u * from.x + 3 * u * u * t * a.x + 3 * u * t * t * b.x + t * t * t * e.x,
                     u * u * u * from.y + 3 * u * u * t * a.y + 3 * u * t * t * b.y + t * t * t * e.y});
    }
    from = e;
  }
}

bool MakeEntry(const ManifestLine& m, const std::string& svgRoot, ShapeSource& out, std::string& error) {
  varlo_shapes::SvgOutline svg;
  if (!varlo_shapes::ReadSvgOutline(svgRoot + "/" + m.file, svg, &error)) return false;
  std::vector<Contour> chosen;
  if (m.contours == "all") {
    chosen = svg.contours;
  } else {  // the outer contour: the one with the largest area
    size_t best = 0;
    for (size_t i = 1; i < svg.contours.size(); ++i)
      if (std::fabs(varlo_shapes::ContourArea(svg.contours[i])) >
          std::fabs(varlo_shapes::ContourArea(svg.contours[best])))
        best = i;
    chosen.push_back(svg.contours[best]);
  }
  std::vector<Pt> pts;
  for (const Contour& c : chosen) OutlinePoints(c, pts);
  double minX = pts[0].x, maxX = pts[0].x, minY = pts[0].y, maxY = pts[0].y;
  for (const Pt& p : pts) {
    minX = std::min(minX, p.x), maxX = std::max(maxX, p.x);
    minY = std::min(minY, p.y), maxY = std::max(maxY, p.y);
  }
  const double bw = maxX - minX, bh = maxY - minY;
  if (bw <= 0 || bh <= 0) return error = m.file + ": empty outline", false;
  const double s = (m.longSide - 1) / std::max(bw, bh);
  const int32_t w = static_cast<int32_t>(std::lround(bw * s)) + 1;
  const int32_t h = static_cast<int32_t>(std::lround(bh * s)) + 1;
  auto grid = [&](Pt p) {
    return EmfPoint{static_cast<int32_t>(std::lround((p.x - minX) * s)),
                    static_cast<int32_t>(std::lround((p.y - minY) * s))};
  };

  // One black brush and pen (the placement recolours both), one path with
  // every chosen contour as a closed figure of 16-bit Béziers.
  EmfWriter emf(w, h);
  emf.CreateBrush(1, 0);
  emf.CreatePen(2, 0);
  emf.SelectObject(1);
  emf.SelectObject(2);
  emf.SetPolyFillMode(m.contours == "all" ? 1 : 2);
  emf.BeginPath();
  for (const Contour& c : chosen) {
    const EmfPoint start = grid(c.start);
    emf.MoveTo(start.x, start.y);
    std::vector<EmfPoint> cubics;
    for (const Pt& p : c.cubics) cubics.push_back(grid(p));
    emf.PointList(kEmrPolyBezierTo, cubics, false);
    emf.CloseFigure();
  }
  emf.EndPath();
  emf.StrokeAndFillPath();
  emf.SelectObject(0x80000000u);  // stock objects back in before deleting ours
  emf.SelectObject(0x80000007u);
  emf.DeleteObject(1);
  emf.DeleteObject(2);
  out.Emf = emf.Finish();
  out.DesignWidth = w;
  out.DesignHeight = h;
  out.FlipTopBottom = m.flipTopBottom != 0;
  out.FlipLeftRight = m.flipLeftRight != 0;
  return true;
}

bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  const std::string temp = path + ".tmp";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size())))
      return false;
  }
  return std::rename(temp.c_str(), path.c_str()) == 0;
}

int Build(const std::string& manifest, const std::string& svgRoot, const std::string& outPath) {
  std::vector<ManifestLine> lines;
  std::string error;
  if (!ReadManifest(manifest, lines, error)) return Fail(error);
  std::vector<ShapeSource> entries;
  for (const ManifestLine& m : lines) {
    ShapeSource e;
    if (!MakeEntry(m, svgRoot, e, error)) return Fail(error);
    entries.push_back(std::move(e));
  }
  const std::vector<uint8_t> bytes = BuildShapeLibrary(entries);
  ShapeLibrary check;
  if (ParseShapeLibrary(bytes.data(), bytes.size(), check, &error) != ShapeLibraryResult::Loaded)
    return Fail("the library just built does not read back: " + error);
  if (!WriteFile(outPath, bytes)) return Fail("cannot write " + outPath);
  return 0;
}

// Each entry twice: as designed (enlarged 1.2 times, like a placement into a
// roomy cell), and flipped where allowed and turned by -25 degrees.
int Sheet(const std::string& libPath, const std::string& pngPath) {
  std::ifstream in(libPath, std::ios::binary);
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ShapeLibrary lib;
  std::string error;
  if (ParseShapeLibrary(bytes.data(), bytes.size(), lib, &error) != ShapeLibraryResult::Loaded) return Fail(error);
  constexpr int32_t kCell = 150, kColumns = 8;
  const int32_t rows = (static_cast<int32_t>(lib.Entries.size()) + kColumns - 1) / kColumns;
  DIB_P sheet;
  if (!DibCreate24(sheet, kCell * kColumns * 2, std::max(rows, 1) * kCell)) return Fail("out of memory");
  DibFillRect(sheet, 0, 0, sheet.Width, sheet.Height, MakeRGB(255, 255, 255));
  for (size_t i = 0; i < lib.Entries.size(); ++i) {
    const ShapeEntry& e = lib.Entries[i];
    const int32_t cx = static_cast<int32_t>(i % kColumns) * kCell * 2, cy = static_cast<int32_t>(i / kColumns) * kCell;
    DibFrame(sheet, cx, cy, kCell * 2, kCell, MakeRGB(200, 200, 200));
    const uint32_t colour = MakeRGB(128, 0, static_cast<uint32_t>(i + 1));
    EmfDrawing plain = e.Drawing;
    EmfRecolour(plain, colour);
    const int32_t w = std::lround(e.DesignWidth * 1.2), h = std::lround(e.DesignHeight * 1.2);
    EmfPlay(plain, sheet, cx + (kCell - w) / 2, cy + (kCell - h) / 2, w, h);
    EmfDrawing turned = e.Drawing;
    EmfFlip(turned, e.FlipLeftRight, e.FlipTopBottom);
    EmfTurn(turned, -25);
    EmfRecolour(turned, MakeRGB(0, 90, 160));
    const double scale = 1.2;
    const int32_t tw = std::lround(turned.Width * scale), th = std::lround(turned.Height * scale);
    EmfPlay(turned, sheet, cx + kCell + (kCell - tw) / 2, cy + (kCell - th) / 2, tw, th);
  }
  std::vector<uint8_t> png;
  if (!DibSavePng(sheet, png, &error)) return Fail(error);
  if (!WriteFile(pngPath, png)) return Fail("cannot write " + pngPath);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() == 4 && args[0] == "build") return Build(args[1], args[2], args[3]);
  if (args.size() == 3 && args[0] == "sheet") return Sheet(args[1], args[2]);
  return Fail("usage: varlo-shapes build <manifest> <svg folder> <out.dat> | sheet <library.dat> <out.png>");
}
