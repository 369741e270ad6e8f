// varlo-tool inspect FILE: reads a jigsaw pack or a saved game with the
// game's own readers (so every check the game makes is made) and prints one
// JSON object describing it.
#include <cstring>
#include <iostream>
#include <sstream>

#include "command.h"
#include "files/byte_source.h"
#include "files/entry_coding.h"
#include "files/jigsaw_pack.h"
#include "files/saved_game.h"

namespace varlo::tool {
namespace {

template <typename T, size_t N>
std::string List(const std::array<T, N>& a) {
  std::ostringstream o;
  o << '[';
  for (size_t i = 0; i < N; ++i) o << (i ? "," : "") << static_cast<int64_t>(a[i]);
  o << ']';
  return o.str();
}

std::string JigJson(const JIG_P& j) {
  std::ostringstream o;
  o << "{\"GameSeed\":" << j.GameSeed << ",\"MaskS\":" << j.MaskS << ",\"TileS\":" << j.TileS
    << ",\"KnobS\":" << j.KnobS << ",\"SnapS\":" << j.SnapS << ",\"TilePX\":" << j.TilePX
    << ",\"TilePY\":" << j.TilePY << ",\"TileNum\":" << j.TileNum << ",\"PicPX\":" << j.PicPX
    << ",\"PicPY\":" << j.PicPY << ",\"PicNum\":" << j.PicNum << ",\"TotalTileNum\":" << j.TotalTileNum
    << ",\"ImageW\":" << j.ImageW << ",\"ImageH\":" << j.ImageH << ",\"FitImageW\":" << j.FitImageW
    << ",\"FitImageH\":" << j.FitImageH << ",\"JigsL\":" << j.JigsL << ",\"JigsT\":" << j.JigsT
    << ",\"JigsR\":" << j.JigsR << ",\"JigsB\":" << j.JigsB << ",\"Level\":" << j.Level
    << ",\"Rotate\":" << int(j.Rotate) << ",\"BorderStyle\":" << int(j.BorderStyle)
    << ",\"ShapeStyle\":" << int(j.ShapeStyle) << ",\"SpreadOut\":" << int(j.SpreadOut)
    << ",\"FitToScreen\":" << int(j.FitToScreen) << ",\"Pad89\":" << List(j.Pad89)
    << ",\"SideNum\":" << j.SideNum << ",\"SideInd\":" << j.SideInd << ",\"PackTag\":" << j.PackTag
    << ",\"Reserved104\":" << j.Reserved104 << ",\"ThumbEnd\":" << List(j.ThumbEnd) << "}";
  return o.str();
}

void TileJson(std::ostream& o, const TILE_P& t) {
  o << "{\"X\":" << t.X << ",\"Y\":" << t.Y << ",\"Group\":" << t.Group << ",\"Win\":" << int(t.Win)
    << ",\"Rot\":" << int(t.Rot) << ",\"Sel\":" << int(t.Sel) << ",\"Pad15\":" << int(t.Pad15)
    << ",\"CellX\":" << t.CellX << ",\"CellY\":" << t.CellY << ",\"CellW\":" << t.CellW
    << ",\"CellH\":" << t.CellH << ",\"BoxX\":" << t.BoxX << ",\"BoxY\":" << t.BoxY
    << ",\"BoxW\":" << t.BoxW << ",\"BoxH\":" << t.BoxH << ",\"MapX\":" << t.MapX << ",\"MapY\":" << t.MapY
    << ",\"RotW\":" << t.RotW << ",\"RotH\":" << t.RotH << ",\"WoodSlot\":" << t.WoodSlot
    << ",\"WoodBit\":" << t.WoodBit << ",\"CornerX2\":" << t.CornerX2 << ",\"CornerY2\":" << t.CornerY2
    << ",\"CentreX\":" << t.CentreX << ",\"CentreY\":" << t.CentreY << ",\"Artistic\":" << int(t.Artistic)
    << ",\"Pad89\":" << int(t.Pad89) << ",\"Nb\":" << List(t.Nb) << ",\"Key\":" << int(t.Key)
    << ",\"KeyBit\":" << int(t.KeyBit) << ",\"Pad110\":" << List(t.Pad110) << "}";
}

// Payload sizes of the entries that follow the header at offset `at`.
bool EntrySizes(ByteSource& in, uint64_t at, int count, std::vector<uint32_t>& sizes, std::string* error) {
  if (!in.Seek(at)) return false;
  for (int i = 0; i < count; ++i) {
    EntryRead e;
    if (!SkipEntry(in, &e, error)) return false;
    sizes.push_back(e.Size);
  }
  return true;
}

int InspectPack(const std::string& path) {
  PackRead io;
  std::string error;
  OpenResult r = OpenJig(path, OpenMode::Preview, io, &error);
  if (r == OpenResult::Ok) r = OpenJig(path, OpenMode::Play, io, &error);
  if (r != OpenResult::Ok)
    return Fail("inspect", error.empty() ? "\"" + path + "\" is not a valid jigsaw pack" : error);
  FileSource in;
  std::vector<uint32_t> sizes;
  if (!in.Open(path, &error) || !EntrySizes(in, kPackHeaderBytes, 3, sizes, &error)) return Fail("inspect", error);
  std::cout << "{\"kind\":\"pack\",\"ImageW\":" << io.Jig.ImageW << ",\"ImageH\":" << io.Jig.ImageH
            << ",\"PackTag\":" << io.Jig.PackTag << ",\"entries\":{\"thumbnail\":" << sizes[0]
            << ",\"info\":" << sizes[1] << ",\"picture\":" << sizes[2] << "}}\n";
  return 0;
}

int InspectSavedGame(const std::string& path) {
  SolveRead io;
  std::string error;
  const OpenResult r = OpenSolve(path, OpenMode::Play, io, &error);
  if (r != OpenResult::Ok)
    return Fail("inspect", error.empty() ? "\"" + path + "\" is not a valid saved game" : error);
  const SavedGame& g = io.Game;
  FileSource in;
  std::vector<uint32_t> sizes;
  // The name field may hold bytes after its zero byte: take L from the file.
  uint8_t l[4];
  if (!in.Open(path, &error) || !in.Seek(19) || !in.Read(l, 4)) return Fail("inspect", "cannot read " + path);
  const uint64_t at = 23 + static_cast<uint64_t>(l[0] | (l[1] << 8) | (l[2] << 16) | (uint32_t(l[3]) << 24)) +
                      kJigParamsBytes;
  if (!EntrySizes(in, at, 4, sizes, &error)) return Fail("inspect", error);
  std::ostringstream o;
  o << "{\"kind\":\"saved-game\",\"name\":" << JsonString(g.Name) << ",\"GameSeed\":" << g.HeaderSeed
    << ",\"jig\":" << JigJson(g.Jig) << ",\"pieces\":[";
  for (size_t i = 0; i < g.Pieces.size(); ++i) {
    if (i) o << ',';
    TileJson(o, g.Pieces[i]);
  }
  o << "],\"pockets\":[";
  for (size_t i = 0; i < g.Pockets.size(); ++i) {
    const PocketRecord& p = g.Pockets[i];
    o << (i ? "," : "") << "{\"Shown\":" << int(p.Shown) << ",\"Left\":" << p.Left << ",\"Top\":" << p.Top
      << ",\"Right\":" << p.Right << ",\"Bottom\":" << p.Bottom << ",\"ScrollX\":" << p.ScrollX
      << ",\"ScrollY\":" << p.ScrollY << "}";
  }
  o << "],\"weighted\":" << g.Weighted << ",\"trailer\":" << (g.HasTrailer ? "true" : "false")
    << ",\"entries\":{\"thumbnail\":" << sizes[0] << ",\"picture\":" << sizes[1] << ",\"mask\":" << sizes[2]
    << ",\"info\":" << sizes[3] << "}}\n";
  std::cout << o.str();
  return 0;
}

int RunInspect(const std::vector<std::string>& argv) {
  if (argv.size() != 1) return Fail("inspect", "usage: varlo-tool inspect FILE");
  const std::string& path = argv[0];
  FileSource in;
  std::string error;
  if (!in.Open(path, &error)) return Fail("inspect", error);
  char magic[kSolveMagicBytes] = {};
  const bool got = in.Read(magic, in.Size() < sizeof magic ? static_cast<size_t>(in.Size()) : sizeof magic);
  if (got && std::memcmp(magic, kSolveMagic, kSolveMagicBytes) == 0) return InspectSavedGame(path);
  if (got && std::memcmp(magic, kPackMagic, 9) == 0) return InspectPack(path);
  return Fail("inspect", "\"" + path + "\" is neither a jigsaw pack nor a saved game");
}

}  // namespace

VARLO_TOOL_COMMAND("inspect", "  inspect FILE            describe a jigsaw pack or a saved game as JSON", RunInspect);

}  // namespace varlo::tool
