// varlo-tool levels: the 14 piece-size levels the open dialog offers for a
// picture size, shape style and border style.
#include <iostream>
#include <sstream>

#include "command.h"
#include "cut/level_table.h"

namespace varlo::tool {
namespace {

int RunLevels(const std::vector<std::string>& argv) {
  std::string error;
  auto args = Args::Parse(argv, {}, &error);
  if (!args) return Fail("levels", error);
  for (const std::string& name : args->Names()) {
    if (name != "width" && name != "height" && name != "shape" && name != "border")
      return Fail("levels", "unknown option --" + name);
  }
  if (!args->positional().empty()) return Fail("levels", "unexpected argument " + args->positional()[0]);
  if (!args->Has("width") || !args->Has("height"))
    return Fail("levels", "usage: varlo-tool levels --width W --height H [--shape S] [--border B]");
  long long w = 0, h = 0, shape = 0, border = 0;
  if (!args->GetInt("width", 0, w, &error) || !args->GetInt("height", 0, h, &error) ||
      !args->GetInt("shape", 0, shape, &error) || !args->GetInt("border", 0, border, &error))
    return Fail("levels", error);
  if (w <= 0 || h <= 0 || w > 30000 || h > 30000)
    return Fail("levels", "--width and --height must be 1..30000");
  if (shape < 0 || shape > 6) return Fail("levels", "--shape must be 0..6");
  if (border < 0 || border > 1) return Fail("levels", "--border must be 0 or 1");

  LevelTable table{};
  MakeLevelTable(table, static_cast<int32_t>(w), static_cast<int32_t>(h),
                 static_cast<int32_t>(shape), static_cast<int32_t>(border));
  std::ostringstream o;
  o << "{\"levels\":[";
  for (int32_t i = 0; i < kLevelCount; ++i) {
    const LEVEL_P& r = table[i];
    o << (i ? "," : "") << "{\"level\":" << i << ",\"TileS\":" << r.TileS << ",\"MaskS\":" << r.MaskS
      << ",\"KnobS\":" << r.KnobS << ",\"columns\":" << r.Columns << ",\"rows\":" << r.Rows
      << ",\"pieces\":" << r.Total << ",\"PicNum\":" << r.PicNum << "}";
  }
  o << "]}\n";
  std::cout << o.str();
  return 0;
}

}  // namespace

VARLO_TOOL_COMMAND("levels",
                   "  levels --width W --height H [--shape 0..6] [--border 0|1]\n"
                   "                          the 14 piece-size levels of a picture, as JSON",
                   RunLevels);

}  // namespace varlo::tool
