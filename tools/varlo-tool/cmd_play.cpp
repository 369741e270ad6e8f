// varlo-tool play GAME.sv1 --script EVENTS: replays pointer events and menu
// commands on a headless play field, through the same calls the main
// window makes, and reports the state of the game as JSON.
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>

#include "app/folders.h"
#include "command.h"
#include "play/game_command.h"
#include "cut/effect_layer.h"
#include "cut/refresh_effects.h"
#include "play/game_flags.h"
#include "files/saved_game.h"
#include "files/saved_game_writer.h"
#include "raster/file_calls.h"
#include "raster/picture_codecs.h"
#include "play/play_field.h"
#include "platform/bitmap_text.h"

namespace varlo::tool {
namespace {

// The desktop of a headless field: a clock that runs only on "wait", and
// questions answered Yes.
class ScriptDesktop : public MessageBoxes, public Clock {
 public:
  int32_t ShowMessage(const std::string&, const std::string&, int32_t style) override {
    return style == kMsgQuestionYesNo || style == kMsgQuestionYesNoCancel ? kMsgYes : kMsgOk;
  }
  int64_t NowMs() override { return now; }
  int64_t WallSeconds() override { return 1700000000 + now / 1000; }
  int64_t now = 0;
};

struct Modifiers {
  int32_t button = -1;
  int32_t held = 0;
  int32_t mods = 0;
};

bool ParseButton(const std::string& w, int32_t& b) {
  if (w == "left") b = kMbLeft;
  else if (w == "right") b = kMbRight;
  else if (w == "middle") b = kMbMiddle;
  else return false;
  return true;
}

bool ParseInt(const std::string& w, long long lo, long long hi, int32_t& out) {
  try {
    size_t used = 0;
    const long long v = std::stoll(w, &used);
    if (used != w.size() || v < lo || v > hi) return false;
    out = static_cast<int32_t>(v);
    return true;
  } catch (...) {
    return false;
  }
}

// Trailing words of a pointer line: held buttons and modifier keys.
bool ParseFlags(const std::vector<std::string>& words, size_t from, bool buttons, Modifiers& m,
                std::string& error) {
  for (size_t k = from; k < words.size(); ++k) {
    const std::string& w = words[k];
    int32_t b;
    if (w == "shift") m.mods |= kSsShift;
    else if (w == "ctrl") m.mods |= kSsCtrl;
    else if (w == "alt") m.mods |= kSsAlt;
    else if (buttons && ParseButton(w, b)) m.held |= 1 << b;
    else {
      error = "unknown word \"" + w + "\"";
      return false;
    }
  }
  return true;
}

int32_t CountAllGroups(Jigsaw& jig) {
  SortPieces(jig, false);
  int32_t g = 0;
  for (size_t k = 0; k < jig.Sort.size(); ++k)
    if (k == 0 || jig.Sort[k].Key != jig.Sort[k - 1].Key) ++g;
  return g;
}

int RunPlay(const std::vector<std::string>& argv) {
  const std::string cmd = "play";
  std::string error;
  auto args = Args::Parse(argv, {}, &error);
  if (!args) return Fail(cmd, error);
  for (const std::string& name : args->Names())
    if (name != "script" && name != "field" && name != "out" && name != "screenshot")
      return Fail(cmd, "unknown option --" + name);
  if (args->positional().size() != 1 || !args->Has("script"))
    return Fail(cmd, "usage: varlo-tool play GAME.sv1 --script EVENTS [--field WxH] [--out OUT.sv1] "
                     "[--screenshot OUT.png]");
  int fw = 1920, fh = 1080;
  if (args->Has("field") && !args->GetSize("field", fw, fh, &error)) return Fail(cmd, error);
  if (fw < 64 || fh < 64 || fw > 8192 || fh > 8192) return Fail(cmd, "--field must be 64x64 .. 8192x8192");

  // The script first: a bad line stops before anything is loaded.
  // A script is a text of events: a FIFO, a device or a huge file in its
  // place is refused before anything is read.
  constexpr uint64_t kMaxScriptBytes = uint64_t{16} << 20;
  std::vector<uint8_t> scriptBytes;
  if (!ReadRegularFile(args->Get("script"), kMaxScriptBytes, scriptBytes, &error))
    return Fail(cmd, "cannot read the script: " + error);
  std::istringstream in(std::string(scriptBytes.begin(), scriptBytes.end()));
  std::vector<std::vector<std::string>> lines;
  std::vector<int> lineNumbers;
  {
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
      ++number;
      const size_t hash = line.find('#');
      if (hash != std::string::npos) line.resize(hash);
      std::istringstream words(line);
      std::vector<std::string> w;
      for (std::string s; words >> s;) w.push_back(s);
      if (w.empty()) continue;
      lines.push_back(std::move(w));
      lineNumbers.push_back(number);
    }
  }

  SolveRead read;
  if (OpenSolve(args->positional()[0], OpenMode::Play, read, &error) != OpenResult::Ok)
    return Fail(cmd, error.empty() ? "not a saved game: " + args->positional()[0] : error);
  SavedGame& g = read.Game;

  Jigsaw jig;
  jig.Jig = g.Jig;
  const int32_t n = g.Jig.TotalTileNum;
  if (!AllocPieces(jig, n + 1)) return Fail(cmd, "the saved game has too many pieces");
  jig.Tiles.assign(g.Pieces.begin(), g.Pieces.end());
  if (!DibFromBitmap(jig.Images[kPictureSlot], g.Picture) || !DibFromBitmap(jig.Images[kMaskSlot], g.Mask))
    return Fail(cmd, "out of memory");
  NullProgress progress;
  if (!MakeRotatedImages(jig, progress)) return Fail(cmd, "out of memory turning the pictures");
  for (int32_t i = 0; i < n; ++i) PlaceRotated(jig, i);
  // The game's default look: paper emboss and shadows.
  const uint8_t emboss = 1, wood = kWoodShadows;
  RefreshEffects(jig, emboss, wood, progress);

  ScriptDesktop desktop;
  BitmapText captions;  // the pocket and thumbnail captions, without a font library
  Platform platform;
  platform.Messages = &desktop;
  platform.Time = &desktop;
  platform.Text = &captions;
  GameFlags flags;
  PlayField field(platform, nullptr, nullptr, &flags);
  const std::string install = FindInstallDir();
  PlaySkins skins;
  if (!LoadPlaySkins(skins, install + "resources", &error))
    std::cerr << "varlo-tool play: skins missing, frames are not drawn (" << error << ")\n";
  field.SetSkins(std::move(skins));
  FieldPaths paths;
  paths.BkgPicDir = install + "bkg-pics/";
  field.SetPaths(paths);
  FieldOptions options;
  options.Play = DecodePlayOptions(g.Settings.PlayOptions.data());
  options.Look.EmbossStyle = emboss;
  options.Look.WoodStyle = wood;
  options.Look.EdgeW = BandWidth(wood);
  field.SetOptions(options);
  field.Resize(fw, fh, fw, fh);
  field.OpenGame(&jig);
  field.SetGameTexts(g.Name, g.Info);
  field.ApplyPocketRecords(g.Pockets.data(), kPocketCount);
  field.SetWeightedPiece(g.Weighted);
  BkgBlock bkgs = field.Backgrounds();
  bkgs.lBkg = g.Settings.lBkg;
  for (int32_t k = 0; k < kBkgWindows; ++k) bkgs.Win[k] = g.Settings.WinBkg[k];
  field.SetBackgrounds(bkgs);
  field.Present();

  for (size_t k = 0; k < lines.size(); ++k) {
    const std::vector<std::string>& w = lines[k];
    const std::string where = "line " + std::to_string(lineNumbers[k]) + ": ";
    Modifiers m;
    int32_t x = 0, y = 0;
    const std::string& verb = w[0];
    if (verb == "down" || verb == "up") {
      if (w.size() < 4 || !ParseButton(w[1], m.button) || !ParseInt(w[2], -100000, 100000, x) ||
          !ParseInt(w[3], -100000, 100000, y))
        return Fail(cmd, where + verb + " needs left|right|middle X Y");
      if (!ParseFlags(w, 4, false, m, error)) return Fail(cmd, where + error);
      if (verb == "down")
        field.PointerDown(m.button, m.mods, x, y);
      else
        field.PointerUp(m.button, m.mods, x, y);
    } else if (verb == "move") {
      if (w.size() < 3 || !ParseInt(w[1], -100000, 100000, x) || !ParseInt(w[2], -100000, 100000, y))
        return Fail(cmd, where + "move needs X Y");
      if (!ParseFlags(w, 3, true, m, error)) return Fail(cmd, where + error);
      field.PointerMove(m.held, m.mods, x, y);
    } else if (verb == "wheel") {
      if (w.size() != 4 || (w[1] != "up" && w[1] != "down") || !ParseInt(w[2], -100000, 100000, x) ||
          !ParseInt(w[3], -100000, 100000, y))
        return Fail(cmd, where + "wheel needs up|down X Y");
      field.Wheel(w[1] == "up", x, y);
    } else if (verb == "cmd") {
      if (w.size() != 2) return Fail(cmd, where + "cmd needs one command name");
      // Script words are the menu items' names; only the field's commands run here.
      const std::optional<varlo::Command> command = CommandByName(w[1]);
      if (!command || !field.RunCommand(*command)) return Fail(cmd, where + "unknown command " + w[1]);
    } else if (verb == "wait") {
      int32_t ms = 0;
      if (w.size() != 2 || !ParseInt(w[1], 0, 3600000, ms)) return Fail(cmd, where + "wait needs MS (0..3600000)");
      // The clock runs in small steps, so animations advance as on screen.
      for (int32_t t = 0; t < ms; t += 10) {
        desktop.now += Min(10, ms - t);
        field.Present();
      }
    } else {
      return Fail(cmd, where + "unknown event \"" + verb + "\"");
    }
  }
  field.Present();

  if (args->Has("out")) {
    g.Pieces.assign(jig.Tiles.begin(), jig.Tiles.begin() + n);
    field.StorePocketRecords(g.Pockets.data(), kPocketCount);
    g.Weighted = field.WeightedPiece();
    EncodePlayOptions(field.Options().Play, g.Settings.PlayOptions.data());
    g.Settings.lBkg = field.Backgrounds().lBkg;
    for (int32_t k = 0; k < kBkgWindows; ++k) g.Settings.WinBkg[k] = field.Backgrounds().Win[k];
    SaveContext ctx;
    const std::string out = args->Get("out");
    ctx.SaveTemp = out + ".svt";
    // No autosave path: a save of the game would otherwise also copy the
    // whole game to the autosave file.
    ctx.Flags = &flags;
    const SaveOutcome saved = SaveSolve(out, false, ViewOf(g), ctx);
    if (!saved.Saved) return Fail(cmd, "saving " + out + ": " + saved.Error);
  }
  if (args->Has("screenshot")) {
    DIB_P shot;
    std::vector<uint8_t> png;
    const int32_t shotW = field.FieldWidth(), shotH = field.FieldHeight();
    if (!DibCreate24(shot, shotW, shotH)) return Fail(cmd, "out of memory");
    DibBlit(shot, 0, 0, field.Image(), 0, 0, shotW, shotH);
    if (!DibSavePng(shot, png, &error)) return Fail(cmd, error);
    std::ofstream o(args->Get("screenshot"), std::ios::binary);
    o.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
    if (!o) return Fail(cmd, "cannot write " + args->Get("screenshot"));
  }
  std::cout << "{\"pieces\":" << n << ",\"groups\":" << CountAllGroups(jig)
            << ",\"solved\":" << (field.Solved() ? "true" : "false") << ",\"joins\":" << field.Joins()
            << ",\"side\":" << field.ShownSide() << "}\n";
  return 0;
}

}  // namespace

VARLO_TOOL_COMMAND("play",
                   "  play GAME.sv1 --script EVENTS [--field WxH] [--out OUT.sv1] [--screenshot OUT.png]\n"
                   "                          replays pointer events and menu commands on the saved game",
                   RunPlay);

}  // namespace varlo::tool
