// varlo-tool cut: cuts a picture as a new game would and writes the piece
// mask, optionally the piece table as JSON and a preview of the pieces.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "command.h"
#include "cut/effect_layer.h"
#include "cut/emboss.h"
#include "cut/irregular_cut.h"
#include "cut/knob_atlas.h"
#include "cut/level_table.h"
#include "cut/rect_cut.h"
#include "cut/refresh_effects.h"
#include "cut/shape_library.h"
#include "cut/shape_placement.h"
#include "platform/platform.h"
#include "jigsaw_preview.h"
#include "raster/picture_codecs.h"
#include "jigsaw/pieces.h"

namespace varlo::tool {
namespace {

constexpr const char* kUsage =
    "  cut --picture FILE --shape S --level L [--border 0|1] [--seed N] [--fit WxH]\n"
    "      --mask OUT.png [--pieces OUT.json] [--preview OUT.png] [--shapes LIBRARY.dat]\n"
    "                          cut a picture into pieces (shapes 0..6) and write the mask; shape 3\n"
    "                          takes its drawings from --shapes, else pic_varlo.dat beside the tool";

class PhaseTimer {
 public:
  void Done(const char* phase) {
    const auto now = std::chrono::steady_clock::now();
    std::fprintf(stderr, "%-10s %8.1f ms\n", phase,
                 std::chrono::duration<double, std::milli>(now - last_).count());
    last_ = now;
  }

 private:
  std::chrono::steady_clock::time_point last_ = std::chrono::steady_clock::now();
};

// Writes through a temporary file, so that a failure leaves no file behind.
bool WriteOut(const std::string& path, const std::string& bytes, std::string* error) {
  const std::string temp = path + ".tmp";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) {
      std::error_code ec;
      std::filesystem::remove(temp, ec);
      if (error) *error = "cannot write " + path;
      return false;
    }
  }
  std::error_code ec;
  std::filesystem::rename(temp, path, ec);
  if (ec) {
    std::filesystem::remove(temp, ec);
    if (error) *error = "cannot write " + path + ": " + ec.message();
    return false;
  }
  return true;
}

bool PngBytes(const DIB_P& d, std::string& out, std::string* error) {
  std::vector<uint8_t> png;
  if (!DibSavePng(d, png, error)) return false;
  out.assign(png.begin(), png.end());
  return true;
}

std::string PiecesJson(const Jigsaw& jig) {
  std::ostringstream o;
  const JIG_P& p = jig.Jig;
  o << "{\"TotalTileNum\":" << p.TotalTileNum << ",\"ImageW\":" << p.ImageW << ",\"ImageH\":" << p.ImageH
    << ",\"pieces\":[";
  for (int32_t i = 0; i < p.TotalTileNum; ++i) {
    const TILE_P& t = jig.Tiles[static_cast<size_t>(i)];
    o << (i ? "," : "") << "{\"index\":" << i << ",\"Key\":" << int(t.Key) << ",\"KeyBit\":" << int(t.KeyBit)
      << ",\"BoxX\":" << t.BoxX << ",\"BoxY\":" << t.BoxY << ",\"BoxW\":" << t.BoxW << ",\"BoxH\":" << t.BoxH
      << ",\"CellX\":" << t.CellX << ",\"CellY\":" << t.CellY << ",\"CellW\":" << t.CellW
      << ",\"CellH\":" << t.CellH << ",\"Nb\":[";
    for (int s = 0; s < kNeighbourSlots; ++s) o << (s ? "," : "") << t.Nb[s];
    o << "],\"Artistic\":" << int(t.Artistic) << "}";
  }
  o << "]}\n";
  return o.str();
}

// The knob atlas the game ships, from the data tree next to the tool; drawn
// afresh when it is not there (a tool run outside a build tree).
void LoadAtlas(DIB_P& atlas) {
  std::error_code ec;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  std::string error;
  if (!ec && LoadKnobAtlas(atlas, (exe.parent_path() / "resources").string(), &error)) return;
  DrawKnobAtlas(atlas);
}

int RunCut(const std::vector<std::string>& argv) {
  std::string error;
  auto args = Args::Parse(argv, {}, &error);
  if (!args) return Fail("cut", error);
  for (const std::string& name : args->Names()) {
    static const char* known[] = {"picture", "shape", "level", "border", "seed", "fit", "mask", "pieces", "preview", "shapes"};
    bool ok = false;
    for (const char* k : known) ok |= name == k;
    if (!ok) return Fail("cut", "unknown option --" + name);
  }
  if (!args->positional().empty()) return Fail("cut", "unexpected argument " + args->positional()[0]);
  if (!args->Has("picture") || !args->Has("shape") || !args->Has("level") || !args->Has("mask"))
    return Fail("cut", std::string("usage:\n") + kUsage);
  long long shape = 0, level = 0, border = 0, seed = 0;
  if (!args->GetInt("shape", 0, shape, &error) || !args->GetInt("level", 0, level, &error) ||
      !args->GetInt("border", 0, border, &error) || !args->GetInt("seed", 1, seed, &error))
    return Fail("cut", error);
  if (shape < 0 || shape > 6) return Fail("cut", "--shape must be 0..6");
  if (level < 0 || level >= kLevelCount) return Fail("cut", "--level must be 0..13");
  if (border < 0 || border > 1) return Fail("cut", "--border must be 0 or 1");
  if (seed < INT32_MIN || seed > UINT32_MAX) return Fail("cut", "--seed must fit 32 bits");
  int fitW = 0, fitH = 0;
  if (!args->GetSize("fit", fitW, fitH, &error)) return Fail("cut", error);

  PhaseTimer timer;
  Jigsaw jig;
  DIB_P& picture = jig.Images[kPictureSlot];
  if (!DibLoadPictureFile(picture, args->Get("picture"), &error)) return Fail("cut", error);
  timer.Done("load");
  if (fitW > 0) {
    int32_t w = 0, h = 0;
    FitPictureSize(picture.Width, picture.Height, fitW, fitH, w, h);
    if (w != picture.Width || h != picture.Height) {
      DIB_P fitted;
      if (!DibCreate24(fitted, w, h)) return Fail("cut", "out of memory fitting the picture");
      DibScale(fitted, picture);
      picture = std::move(fitted);
    }
    timer.Done("fit");
  }

  JIG_P& p = jig.Jig;
  p.GameSeed = static_cast<int32_t>(static_cast<uint32_t>(seed));
  p.ImageW = picture.Width;
  p.ImageH = picture.Height;
  p.ShapeStyle = static_cast<uint8_t>(shape);
  p.BorderStyle = static_cast<uint8_t>(border);
  p.Level = static_cast<int32_t>(level);
  LevelTable table{};
  if (!EvaluateLevelCounts(p, table))
    return Fail("cut", "level " + std::to_string(level) + " gives " + std::to_string(p.TotalTileNum) +
                           " pieces; at most 4000 can be played");
  if (p.TileNum <= 0) return Fail("cut", "the picture is too small for a single piece");
  if (!AllocPieces(jig, p.TotalTileNum + 1)) return Fail("cut", "too many pieces");

  DIB_P atlas;
  LoadAtlas(atlas);
  RandomGenerator random(static_cast<uint32_t>(p.GameSeed));
  NullProgress progress;
  PaintError paintError;
  // Shape style 3: the whole library is read before the cut.
  ShapeLibrary shapes;
  if (shape == 3) {
    std::string path = args->Get("shapes");
    if (path.empty()) {
      std::error_code ec;
      path = (std::filesystem::read_symlink("/proc/self/exe", ec).parent_path() / "pic_varlo.dat").string();
    }
    const Platform quiet;  // no boxes on the command line: the warning below says it
    const ShapeLibraryResult loaded = LoadShapeLibrary(path, shapes, quiet, &error);
    if (loaded == ShapeLibraryResult::WrongMagic)
      std::fprintf(stderr, "warning: Invalid DAT file! %s: the pieces stay plain\n", path.c_str());
    else if (loaded != ShapeLibraryResult::Loaded)
      return Fail("cut", error);
    timer.Done("shapes");
  }
  ShapePlacement placement(shapes);
  if (shape < 4) {
    IrregularCutReport report;
    if (!CutIrregular(p, jig.Tiles, jig.Images[kMaskSlot], random, progress, report, &placement))
      return Fail("cut", "the picture could not be cut");
    if (shape == 3) {
      const ShapePlacementCounts& c = placement.Counts();
      std::fprintf(stderr, "artistic: %d placed, %d rejected, %d failed attempts%s\n", c.Placed, c.Rejected,
                   c.Failed, report.ArtisticFailed ? " (cut with plain pieces)" : "");
    }
    paintError = report.Error;
    if (report.FirstEdgeFailures > 0)
      std::fprintf(stderr, "warning: Finding first edge failed!%s\n",
                   report.GridFallback ? " (the pieces follow the grid)" : "");
    if (report.Attempts > 1) std::fprintf(stderr, "note: %d drawing attempts\n", report.Attempts);
  } else if (!CutRectangular(p, jig.Tiles, jig.Images[kMaskSlot], atlas, random, progress, paintError)) {
    return Fail("cut", "the picture could not be cut");
  }
  timer.Done("cut");
  if (paintError.Any)
    std::fprintf(stderr, "warning: piece %d could not be filled from (%d, %d)\n", paintError.Index,
                 paintError.X, paintError.Y);

  // Everything is encoded before the first file is written, so that a
  // failure leaves no file behind.
  std::string maskPng, previewPng, piecesJson;
  if (!PngBytes(jig.Images[kMaskSlot], maskPng, &error)) return Fail("cut", error);
  if (args->Has("pieces")) piecesJson = PiecesJson(jig);
  timer.Done("encode");
  if (args->Has("preview")) {
    Jigsaw& j = jig;
    // Loose pieces, each its own group, as a new game starts.
    for (int32_t i = 0; i < p.TotalTileNum; ++i) j.Tiles[static_cast<size_t>(i)].Group = i;
    if (!RefreshEffects(j, kEmbossPaper, kWoodShadows, progress)) return Fail("cut", "out of memory");
    timer.Done("effects");
    DIB_P preview;
    // Far enough apart that no knob reaches into its neighbour.
    const int32_t gap = 2 * p.KnobS + std::max(4, p.TileS / 8);
    if (!RenderJigsawPreview(j, kWoodShadows, MakeRGB(188, 143, 96), MakeRGB(92, 104, 116), gap, preview))
      return Fail("cut", "out of memory drawing the preview");
    if (!PngBytes(preview, previewPng, &error)) return Fail("cut", error);
    timer.Done("preview");
  }
  if (!WriteOut(args->Get("mask"), maskPng, &error)) return Fail("cut", error);
  if (args->Has("pieces") && !WriteOut(args->Get("pieces"), piecesJson, &error)) return Fail("cut", error);
  if (args->Has("preview") && !WriteOut(args->Get("preview"), previewPng, &error)) return Fail("cut", error);
  timer.Done("write");
  std::fprintf(stderr, "%d pieces, TileS %d, %dx%d\n", p.TotalTileNum, p.TileS, p.ImageW, p.ImageH);
  return 0;
}

}  // namespace

VARLO_TOOL_COMMAND("cut", kUsage, RunCut);

}  // namespace varlo::tool
