// varlo-tool newgame: starts a new game from a jigsaw pack the way the
// game's Open does (the open dialog's preview and level, then the engine's
// new-game sequence) on a headless field, and writes it as a saved game.
// Each phase's wall and processor time goes to stderr.
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <iostream>

#include "app/settings.h"
#include "command.h"
#include "cut/knob_atlas.h"
#include "cut/level_table.h"
#include "cut/shape_library.h"
#include "cut/shape_placement.h"
#include "play/game_flags.h"
#include "files/jigsaw_pack.h"
#include "app/open_flow.h"
#include "play/play_field.h"
#include "ui/lang.h"

namespace varlo::tool {
namespace {

constexpr const char* kUsage =
    "  newgame --pack FILE.ast --shape S --level L [--border 0|1] [--rotate] [--spread]\n"
    "      [--fit WxH] [--seed N] [--field WxH] --out GAME.sv1\n"
    "                          starts a new game from the pack as Open does (default look: paper\n"
    "                          emboss and shadows; field 1920x1080; --fit fits the picture into WxH)\n"
    "                          and writes it as a saved game; phase times go to stderr";

double CpuMs() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1e3 + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e3;
}

// Wall and processor time of each phase; the machine may be shared, so the
// processor time is the steadier figure.
class PhaseTimer {
 public:
  void Done(const char* phase) {
    const auto now = std::chrono::steady_clock::now();
    const double cpu = CpuMs();
    std::fprintf(stderr, "%-8s %9.1f ms wall %9.1f ms cpu\n", phase,
                 std::chrono::duration<double, std::milli>(now - last_).count(), cpu - lastCpu_);
    last_ = now;
    lastCpu_ = cpu;
  }
  void Total() {
    std::fprintf(stderr, "%-8s %9.1f ms wall %9.1f ms cpu\n", "total",
                 std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start_).count(),
                 CpuMs() - startCpu_);
  }

 private:
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now(), last_ = start_;
  double startCpu_ = CpuMs(), lastCpu_ = startCpu_;
};

// The cut's message boxes become lines on stderr.
class StderrMessages final : public MessageBoxes {
 public:
  int32_t ShowMessage(const std::string& text, const std::string&, int32_t) override {
    std::fprintf(stderr, "varlo-tool newgame: message: %s\n", text.c_str());
    return kMsgOk;
  }
};

std::filesystem::path ToolDir() {
  std::error_code ec;
  return std::filesystem::read_symlink("/proc/self/exe", ec).parent_path();
}

int RunNewGame(const std::vector<std::string>& argv) {
  const std::string cmd = "newgame";
  PhaseTimer timer;
  std::string error;
  auto args = Args::Parse(argv, {"rotate", "spread"}, &error);
  if (!args) return Fail(cmd, error);
  for (const std::string& name : args->Names()) {
    static const char* known[] = {"pack", "shape", "level", "border", "rotate", "spread", "fit", "seed", "field", "out"};
    bool ok = false;
    for (const char* k : known) ok |= name == k;
    if (!ok) return Fail(cmd, "unknown option --" + name);
  }
  if (!args->positional().empty()) return Fail(cmd, "unexpected argument " + args->positional()[0]);
  if (!args->Has("pack") || !args->Has("shape") || !args->Has("level") || !args->Has("out"))
    return Fail(cmd, std::string("usage:\n") + kUsage);
  long long shape = 0, level = 0, border = 0, seed = 0;
  if (!args->GetInt("shape", 0, shape, &error) || !args->GetInt("level", 0, level, &error) ||
      !args->GetInt("border", 0, border, &error) || !args->GetInt("seed", 0, seed, &error))
    return Fail(cmd, error);
  if (shape < 0 || shape > 6) return Fail(cmd, "--shape must be 0..6");
  if (level < 0 || level >= kLevelCount) return Fail(cmd, "--level must be 0.." + std::to_string(kLevelCount - 1));
  if (border < 0 || border > 1) return Fail(cmd, "--border must be 0 or 1");
  if (seed < INT32_MIN || seed > UINT32_MAX) return Fail(cmd, "--seed must fit 32 bits");
  int fitW = 0, fitH = 0, fieldW = 1920, fieldH = 1080;
  if (!args->GetSize("fit", fitW, fitH, &error) || !args->GetSize("field", fieldW, fieldH, &error))
    return Fail(cmd, error);
  if (args->Has("fit") && (fitW < 1 || fitH < 1 || fitW > 20000 || fitH > 20000))
    return Fail(cmd, "--fit must be 1x1 .. 20000x20000");
  if (fieldW < 64 || fieldH < 64 || fieldW > 8192 || fieldH > 8192)
    return Fail(cmd, "--field must be 64x64 .. 8192x8192");
  const std::string packPath = args->Get("pack"), out = args->Get("out");
  {
    std::error_code ec;
    const std::filesystem::path folder = std::filesystem::path(out).parent_path();
    if (!folder.empty() && !std::filesystem::is_directory(folder, ec))
      return Fail(cmd, "no folder " + folder.string() + " for " + out);
  }

  // The open dialog: the level starts as the default level with the
  // player's choices, the pack's header and thumbnail are read, the picture
  // fitted to the field area when asked, and the level evaluated.
  JIG_P level0 = DefaultLevel();
  level0.ShapeStyle = static_cast<uint8_t>(shape);
  level0.Level = static_cast<int32_t>(level);
  level0.BorderStyle = static_cast<uint8_t>(border);
  level0.Rotate = args->Has("rotate") ? 1 : 0;
  level0.SpreadOut = args->Has("spread") ? 1 : 0;
  level0.FitToScreen = args->Has("fit") ? 1 : 0;
  {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(packPath, ec)) return Fail(cmd, "cannot read " + packPath + ": no such file");
  }
  PackRead preview;
  preview.Jig = level0;
  const OpenResult previewed = OpenJig(packPath, OpenMode::Preview, preview, &error);
  if (previewed != OpenResult::Ok)
    return Fail(cmd, previewed == OpenResult::NotValid || error.empty() ? "\"" + packPath + "\" is not a jigsaw"
                                                                        : error);
  JIG_P& chosen = preview.Jig;
  if (chosen.FitToScreen)
    FitPictureSize(chosen.ImageW, chosen.ImageH, fitW, fitH, chosen.FitImageW, chosen.FitImageH);
  else {
    chosen.FitImageW = chosen.ImageW;
    chosen.FitImageH = chosen.ImageH;
  }
  LevelTable table{};
  if (!EvaluateLevelCounts(chosen, table))
    return Fail(cmd, "level " + std::to_string(level) + " gives " + std::to_string(chosen.TotalTileNum) +
                         " pieces on this picture; at most " + std::to_string(kMaxPlayablePieces) +
                         " can be played");
  if (chosen.TileNum <= 0) return Fail(cmd, "the picture is too small for a single piece");
  timer.Done("preview");

  // The main window's part: the generator seeded from the clock once, the
  // knob atlas and shape library of the installation, a field of the
  // given size.
  RandomGenerator random(static_cast<uint32_t>(std::time(nullptr)));
  DIB_P atlas;
  if (!LoadKnobAtlas(atlas, (ToolDir() / "resources").string(), &error)) DrawKnobAtlas(atlas);
  StderrMessages messages;
  Platform platform;
  platform.Messages = &messages;
  ShapeLibrary shapes;
  if (shape == 3) {
    const std::string libPath = (ToolDir() / "pic_varlo.dat").string();
    const Platform quiet;
    if (LoadShapeLibrary(libPath, shapes, quiet, &error) != ShapeLibraryResult::Loaded)
      std::fprintf(stderr, "varlo-tool newgame: warning: no shape library at %s: the pieces stay plain\n",
                   libPath.c_str());
  }
  ShapePlacement placement(shapes);
  GameFlags flags;
  PlayField field(platform, nullptr, nullptr, &flags);
  field.Resize(fieldW, fieldH, fieldW, fieldH);
  const LANG_P lang;
  const OPT_P look;  // the default options: paper emboss and shadows
  timer.Done("setup0");

  NewGameRequest req;
  req.PackPath = packPath;
  req.Level = chosen;
  req.Thumbnail = &preview.Thumbnail;
  req.SeedPanelShown = args->Has("seed");
  // The seed panel reads a signed 32-bit number; an unsigned one is the
  // same seed.
  req.SeedText = std::to_string(static_cast<int32_t>(static_cast<uint32_t>(seed)));
  req.EmbossStyle = look.EmbossStyle;
  req.WoodStyle = look.WoodStyle;
  req.KnobAtlas = &atlas;
  req.Artistic = &placement;
  req.PhaseDone = [&timer](const char* phase) { timer.Done(phase); };
  NullProgress progress;
  std::unique_ptr<GameSession> session =
      StartNewGame(req, field, random, progress, platform, lang, &error);
  if (!session) return Fail(cmd, error);
  AttachGame(field, *session);
  timer.Done("attach");

  SaveContext ctx;
  // No autosave file: a save by the player would bring one up to date too.
  ctx.SaveTemp = out + ".svt";
  ctx.Flags = &flags;
  const SaveOutcome saved = SaveSession(out, false, *session, field, ctx);
  if (!saved.Saved) return Fail(cmd, "saving " + out + ": " + saved.Error);
  timer.Done("save");
  timer.Total();
  const JIG_P& p = session->Jig.Jig;
  std::fprintf(stderr, "%d pieces, picture %d x %d, seed %d\n", p.TotalTileNum, p.ImageW, p.ImageH, p.GameSeed);
  return 0;
}

}  // namespace

VARLO_TOOL_COMMAND("newgame", kUsage, RunNewGame);

}  // namespace varlo::tool
