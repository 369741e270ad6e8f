#include "support/ui_fixtures.h"

#include <filesystem>

#include "files/jigsaw_pack.h"
#include "files/saved_game.h"
#include "files/saved_game_writer.h"
#include "platform/progress.h"
#include "raster/picture_codecs.h"
#include "support/synthetic_game.h"
#include "support/temp_home.h"

namespace varlo::uitest {

namespace fs = std::filesystem;

namespace {

void Gradient(DIB_P& d, int32_t w, int32_t h, uint32_t seed) {
  DibCreate24(d, w, h);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) {
      uint8_t* p = DibPixel(d, x, y);
      p[0] = static_cast<uint8_t>(x * 255 / w);
      p[1] = static_cast<uint8_t>((y * 255 / h + seed * 60) & 0xFF);
      p[2] = static_cast<uint8_t>(((x / 16 + y / 16) % 2) ? 200 : 60 + seed * 20);
    }
}

std::vector<uint8_t> Jpeg(const DIB_P& d) {
  std::vector<uint8_t> out;
  DibSaveJpeg(d, 90, out, nullptr);
  return out;
}

}  // namespace

std::vector<uint8_t> PackBytes(int32_t w, int32_t h, int32_t tw, int32_t th, uint32_t seed) {
  DIB_P picture, thumb;
  Gradient(picture, w, h, seed);
  Gradient(thumb, tw, th, seed);
  PackParts parts;
  parts.ImageW = w;
  parts.ImageH = h;
  parts.ShortText = "test";
  parts.Thumbnail = Jpeg(thumb);
  const std::string info = "\xEF\xBB\xBF" "A test picture";
  parts.Info.assign(info.begin(), info.end());
  parts.Picture = Jpeg(picture);
  return BuildPack(parts);
}

void WritePack(const std::string& path, int32_t w, int32_t h, uint32_t seed) {
  const std::vector<uint8_t> bytes = PackBytes(w, h, 160, 120, seed);
  testing::WriteFile(path, std::string(bytes.begin(), bytes.end()));
}

void WriteSavedGame(const std::string& path, const std::string& name, int32_t cols,
                    int32_t rows, int32_t joined, int32_t thumbColour) {
  SavedGame g;
  testing::SyntheticGameSpec spec;
  spec.Name = name;
  spec.Cols = cols;
  spec.Rows = rows;
  spec.ImageW = cols * 16;
  spec.ImageH = rows * 16;
  testing::MakeSyntheticGame(g, spec);
  for (int32_t i = 1; i < joined && i < static_cast<int32_t>(g.Pieces.size()); ++i)
    g.Pieces[static_cast<size_t>(i)].Group = g.Pieces[0].Group;
  if (thumbColour >= 0)
    DibFillRect(g.Thumbnail, 0, 0, g.Thumbnail.Width, g.Thumbnail.Height,
                static_cast<uint32_t>(thumbColour));
  GameFlags flags;
  NullProgress panel;
  SaveContext ctx;
  const std::string dir = fs::path(path).parent_path().string() + "/";
  ctx.SaveTemp = dir + "varlo.svt";
  // The autosave copy goes elsewhere, so the folder holds only this game.
  testing::TempDir elsewhere;
  ctx.AutoSave = elsewhere.path() + "autosaved.sv1";
  ctx.Flags = &flags;
  ctx.Panel = &panel;
  SaveSolve(path, false, ViewOf(g), ctx);
}

void MakeInstallation(const std::string& dir, const std::vector<StarterPack>& packs) {
  std::string dist, jigs;
  uint32_t seed = 0;
  for (const StarterPack& p : packs) {
    WritePack(dir + "jigsaws/" + p.Name + ".ast", p.W, p.H, ++seed);
    dist += p.Name + ".ast\r\n";
    jigs += p.Name + "\r\n";
  }
  testing::WriteFile(dir + "jigsaws/distjiglist.txt", dist);
  testing::WriteFile(dir + "thumb/jiglist.txt", jigs);
  fs::create_directories(dir + "language");
  for (const char* lang : {"english.lng", "german.lng"})
    fs::copy_file(std::string(VARLO_SOURCE_DIR) + "/data/language/" + lang,
                  dir + "language/" + lang, fs::copy_options::overwrite_existing);
}

int32_t ScriptedBoxes::ShowMessage(const std::string& text, const std::string&, int32_t style) {
  shown.push_back({text, style});
  if (answers.empty()) return style == kMsgQuestionYesNo ? kMsgNo : (style == kMsgQuestionOkCancel || style == kMsgQuestionYesNoCancel ? kMsgCancel : kMsgOk);
  const int32_t a = answers.front();
  answers.pop_front();
  return a;
}

}  // namespace varlo::uitest
