// A play field on a small jigsaw, with the recording platform and a view
// that records what the main window would be told.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "play/game_flags.h"
#include "play/play_field.h"
#include "support/fake_platform.h"
#include "support/play_jigsaw.h"

namespace varlo::testing {

class RecordingView : public PlayView {
 public:
  std::map<Command, bool> checked, enabled;
  std::map<Command, std::string> captions;
  int32_t finishShown = 0;
  bool finishAnswer = false;
  std::string savePath;  // answer of the solved-image dialog
  std::vector<std::string> errors;
  int32_t shows = 0;
  XRECT mainWindow;                      // what MainWindowRect answers
  int32_t resizedRight = 0, resizedBottom = 0;  // the last ResizeMainWindow
  void ShowField(const XRECT&) override { ++shows; }
  XRECT MainWindowRect() override { return mainWindow; }
  void ResizeMainWindow(int32_t right, int32_t bottom) override {
    resizedRight = right;
    resizedBottom = bottom;
  }
  void SetMenuChecked(Command item, bool on) override { checked[item] = on; }
  void SetMenuEnabled(Command item, bool on) override { enabled[item] = on; }
  void SetMenuCaption(Command item, const std::string& c) override { captions[item] = c; }
  bool ShowFinish() override {
    ++finishShown;
    return finishAnswer;
  }
  std::string AskSolvedImagePath(const std::string&, const std::string&) override { return savePath; }
  std::string ShortDate() override { return "1/2/2024"; }
  void ReportError(const std::string& m) override { errors.push_back(m); }
};

class PlayFieldTest : public ::testing::Test {
 protected:
  FakePlatform fake;
  RecordingView view;
  GameFlags flags;
  Jigsaw jig;
  std::unique_ptr<PlayField> field;

  void Open(const PlayJigsawSpec& spec = {}, int32_t fw = 400, int32_t fh = 300) {
    MakePlayJigsaw(jig, spec);
    field = std::make_unique<PlayField>(fake.platform(), &view, nullptr, &flags);
    PlaySkins skins;
    MakeTestSkins(skins);
    field->SetSkins(std::move(skins));
    Probe(field).options().StuckKoef = 10;
    field->Resize(fw, fh, fw, fh);
    field->OpenGame(&jig);
    field->Present();
  }
  TILE_P& T(int32_t i) { return jig.Tiles[i]; }
  // Piece i at content (x, y), far from where it would join anything.
  void Put(int32_t i, int32_t x, int32_t y) {
    T(i).X = x;
    T(i).Y = y;
  }
  // Every piece on a loose grid, 60 pixels apart.
  void Scatter(int32_t startX = 10, int32_t startY = 10) {
    const int32_t n = PieceCount(jig);
    for (int32_t i = 0; i < n; ++i) {
      if (i == BorderPieceIndex(jig)) continue;
      Put(i, startX + (i % 5) * 60, startY + (i / 5) * 60);
    }
    SortPieces(jig, false);
    field->Invalidate();
  }
  // Where piece i belongs relative to piece a as they lie now (rotation 0).
  int32_t HomeX(int32_t i, int32_t a) { return T(a).X + T(i).BoxX - T(a).BoxX; }
  int32_t HomeY(int32_t i, int32_t a) { return T(a).Y + T(i).BoxY - T(a).BoxY; }
  int32_t Sounds(const std::string& name) {
    int32_t k = 0;
    for (const std::string& s : fake.sounds) k += s.size() >= name.size() && s.substr(s.size() - name.size()) == name;
    return k;
  }
  // Presses and releases a button on piece i's own point.
  void Click(int32_t i, int32_t button, int32_t mods) {
    int32_t cx, cy;
    OwnPoint(jig, i, cx, cy);
    const TMyWin& w = Probe(field).Wins()[T(i).Win];
    field->PointerDown(button, mods, FieldX(w, cx), FieldY(w, cy));
    field->PointerUp(button, mods, FieldX(w, cx), FieldY(w, cy));
  }
};

}  // namespace varlo::testing
