// Pictures of the open dialog for a player's eye: the jigsaw list, the
// level page and the save mode, on a real installation. Runs only when
// VARLO_SCREENSHOT_DIR names a folder (and VARLO_SHOT_INSTALL an
// installation with its starter jigsaws); otherwise it skips.
//
//   VARLO_SHOT_INSTALL=build/bin VARLO_SCREENSHOT_DIR=/tmp/shots (one line)
//   xvfb-run -a -s "-screen 0 1920x1080x24" build/tests/dirview_shots_test
#include <QApplication>
#include <QListWidget>
#include <QTabWidget>
#include <QTimer>
#include <QtTest>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "app/folders.h"
#include "browser/dirview.h"
#include "browser/level_page.h"
#include "cut/level_table.h"
#include "play/game_flags.h"
#include "support/temp_home.h"
#include "support/ui_fixtures.h"
#include "ui/lang.h"

using namespace varlo;

class DirViewShots : public QObject {
  Q_OBJECT
 private slots:
  void shots();
};

void DirViewShots::shots() {
  const char* out = std::getenv("VARLO_SCREENSHOT_DIR");
  const char* install = std::getenv("VARLO_SHOT_INSTALL");
  if (!out || !install) QSKIP("VARLO_SCREENSHOT_DIR and VARLO_SHOT_INSTALL are not set");
  const std::string dir = out;
  testing::TempHome home;
  FILE_NAMES names;
  SetupFolders(names, install);
  // Saved games at different stages, one with a name the tile cuts short.
  uitest::WriteSavedGame(names.sSolveDir + "Half Done.sv1", "Harbour", 8, 6, 24);
  uitest::WriteSavedGame(names.sSolveDir + "Evening at the harbour with all the boats.sv1", "Harbour",
                         6, 4, 6, 0x8A5A2E);
  uitest::WriteSavedGame(names.sSolveDir + "autosaved.sv1", "Meadow", 5, 4, 0, 0x3C8C4A);
  LANG_P lang;
  uitest::ScriptedBoxes boxes;
  Platform platform;
  platform.Messages = &boxes;
  LangLoad(lang, platform, LangFilePath(names.sLangDir, "english"));
  GameFlags flags;
  JIG_P def;
  def.ShapeStyle = 3;
  def.Level = 6;
  def.FitToScreen = 1;
  DirViewContext ctx;
  ctx.Names = &names;
  ctx.DefaultLevel = &def;
  ctx.Lang = &lang;
  ctx.Plat = &platform;
  ctx.Flags = &flags;
  TF_DirView dlg(ctx);
  dlg.SetMode(TF_DirView::kOpen);
  dlg.show();
  QTRY_VERIFY_WITH_TIMEOUT(!dlg.ThumbTimer()->isActive(), 20000);
  QTest::qWait(200);
  auto shoot = [&](const char* name) {
    QTest::qWait(150);
    dlg.grab().save(QString::fromStdString(dir + "/" + name));
    if (const char* cmd = std::getenv("VARLO_SHOT_CMD")) {
      const std::string line = std::string(cmd) + " \"" + dir + "/screen-" + name + "\"";
      QVERIFY(std::system(line.c_str()) == 0);
    }
  };
  shoot("open-jigsaws.png");
  dlg.JigsList()->setCurrentRow(2);
  dlg.LV_JigsClick(dlg.JigsList());
  dlg.B_OkClick();
  shoot("open-level.png");
  dlg.Pages()->setCurrentIndex(1);
  dlg.GamesList()->setCurrentRow(0);
  dlg.LV_JigsClick(dlg.GamesList());
  dlg.Pages()->setCurrentIndex(2);
  shoot("open-level-saved-game.png");
  dlg.Pages()->setCurrentIndex(1);
  shoot("open-games.png");

  // The level page of a pack at the fewest and at the most pieces.
  dlg.Pages()->setCurrentIndex(0);
  dlg.JigsList()->setCurrentRow(0);
  dlg.LV_JigsClick(dlg.JigsList());
  dlg.Pages()->setCurrentIndex(2);
  LevelPage* page = dlg.Level();
  page->ShapeMouseDown(4);
  page->PieceSizeSlider()->setValue(kLevelCount - 1);
  std::printf("fewest pieces: %d\n", dlg.BrowserJig().TotalTileNum);
  shoot("open-level-fewest.png");
  page->PieceSizeSlider()->setValue(0);
  std::printf("most pieces: %d\n", dlg.BrowserJig().TotalTileNum);
  shoot("open-level-most.png");

  // The save mode: the name box and the saved games, at its own size.
  dlg.hide();
  names.bJigLoaded = 1;
  names.sSolve = names.sSolveDir + "Half Done.sv1";
  dlg.SetMode(TF_DirView::kSave);
  dlg.show();
  QTRY_VERIFY_WITH_TIMEOUT(!dlg.ThumbTimer()->isActive(), 20000);
  shoot("save.png");
}

QTEST_MAIN(DirViewShots)
#include "dirview_shots_test.moc"
