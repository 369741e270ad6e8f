// The main window on the offscreen platform: the entry sequence up to the
// start-up open dialog, a new game from a small pack, the key rules, the
// toolbar gaps, full screen in and out, and the save question at exit.
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QScreen>
#include <QUrl>
#include <QWindow>
#include <QtTest>
#include <ctime>
#include <filesystem>

#include "app/qt/field_widget.h"
#include "app/qt/main_window.h"
#include "app/qt/progress_panel.h"
#include "app/qt/skin_toolbar.h"
#include "app/qt/startup.h"
#include "cut/level_table.h"
#include "files/jigsaw_pack.h"
#include "support/field_probe.h"
#include "support/temp_home.h"
#include "support/ui_fixtures.h"
#include "ui/qt/small_windows.h"

using namespace varlo;
namespace fs = std::filesystem;

namespace {

// A fresh player on a fresh installation, the game started as the entry
// sequence starts it, with the open and save dialog answered by a script.
struct Session {
  testing::TempHome home;
  std::string install;
  uitest::ScriptedBoxes boxes;
  std::unique_ptr<TF_Main> main;
  TF_Main* window = nullptr;  // known from the start, before main is returned
  struct DialogCall {
    bool save;
    std::string path;
    uint8_t busy;  // the "command running" flag while the dialog was up
  };
  std::vector<DialogCall> dialogCalls;
  std::string nextSavePath;
  bool openPack = false;
  JIG_P chosenLevel;
  qint64 msBeforeOpen = 0;
  double cpuMsDuringStart = 0;

  explicit Session(int splashMs = 200) {
    install = home.path() + "install/";
    uitest::MakeInstallation(install, {{"Blocks", 320, 240}});
    QElapsedTimer started;
    started.start();
    const std::clock_t cpu0 = std::clock();
    StartupOptions o;
    o.InstallDir = install;
    o.SplashMs = splashMs;
    o.BeforeOpen = [&](TF_Main& m) {
      msBeforeOpen = started.elapsed();
      cpuMsDuringStart = 1000.0 * double(std::clock() - cpu0) / CLOCKS_PER_SEC;
      window = &m;
      m.Plat().platform().Messages = &boxes;
      m.RunJigsawDialog = [this](bool save, const std::string& path) { return Dialog(save, path); };
    };
    main = RunEntrySequence(started, o);
  }

  JigsawChoice Dialog(bool save, const std::string& path) {
    dialogCalls.push_back({save, path, window->Flags().bBusy});
    JigsawChoice c;
    if (save) {
      c.Ok = !nextSavePath.empty();
      c.Path = nextSavePath;
      return c;
    }
    if (!openPack) return c;
    c.Ok = true;
    c.Path = main->Names().sUserJigDir + "Blocks.ast";
    PackRead preview;
    if (OpenJig(c.Path, OpenMode::Preview, preview, nullptr) != OpenResult::Ok) return JigsawChoice{};
    c.Jig = preview.Jig;
    c.Jig.ShapeStyle = 5;
    c.Jig.Level = 11;
    c.Jig.FitToScreen = 0;
    LevelTable table{};
    EvaluateLevelCounts(c.Jig, table);
    chosenLevel = c.Jig;
    return c;
  }

  void OpenBlocks() {
    openPack = true;
    main->RunMenuItem(Command::FileOpen);
  }

  // A saved game of the game's own writer, resumed as the recent files
  // resume one.
  void ResumeSavedGame() {
    const std::string path = main->Names().sSolveDir + "Resumed.sv1";
    fs::create_directories(main->Names().sSolveDir);
    uitest::WriteSavedGame(path, "Resumed");
    QVERIFY(main->OpenGame(path, nullptr));
    QCOMPARE(main->Names().sSolve, path);
  }

  void Key(int key, Qt::KeyboardModifiers mods = Qt::NoModifier, bool press = true, bool repeat = false) {
    QKeyEvent e(press ? QEvent::KeyPress : QEvent::KeyRelease, key, mods, QString(), repeat);
    QApplication::sendEvent(main.get(), &e);
  }
  void Tap(int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    Key(key, mods, true);
    Key(key, mods, false);
  }
};

bool FieldShowsPieces(const PlayField& f) {
  const DIB_P& img = f.Image();
  int coloured = 0;
  for (int32_t y = 0; y < img.Height; y += 7)
    for (int32_t x = 0; x < img.Width; x += 7) {
      const uint8_t* p = DibPixel(img, x, y);
      if (!(p[0] == 0x98 && p[1] == 0x98 && p[2] == 0x98)) ++coloured;
    }
  return coloured > 50;
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT
 private slots:
  void startupHoldsTheSplashWithoutSpinningAndOpensTheDialog() {
    Session s(2000);
    QVERIFY(s.msBeforeOpen >= 2000);
    // The hold waits in the event loop: a busy loop would burn the two
    // seconds of processor time.
    QVERIFY2(s.cpuMsDuringStart < 1200, qPrintable(QString::number(s.cpuMsDuringStart)));
    QCOMPARE(s.dialogCalls.size(), size_t(1));
    QVERIFY(!s.dialogCalls[0].save);
    QVERIFY(s.main->isVisible());
    QVERIFY(s.main->IsReady());
    // The game's icon is in every frame, drawn from the built-in picture.
    QVERIFY(!QApplication::windowIcon().pixmap(32, 32).isNull());
    QVERIFY(!s.main->windowIcon().pixmap(32, 32).isNull());
    // First run: the starter pack was copied into the player's folder.
    QVERIFY(fs::exists(s.main->Names().sUserJigDir + "Blocks.ast"));
    // No game yet: Save is disabled, the game shortcuts do nothing.
    QVERIFY(!s.main->Menu().Enabled(Command::FileSave));
    QVERIFY(!s.main->Toolbar()->ButtonEnabled(kBiSave));
    // The quick help stands at the right of the main window.
    TF_Help* help = s.main->QuickHelp();
    QVERIFY(help->isVisible());
    const QRect hf = help->frameGeometry(), mf = s.main->frameGeometry();
    QVERIFY2(hf.right() <= mf.right() - 9 && hf.right() >= mf.right() - 12,
             qPrintable(QString("help %1..%2, main %3..%4").arg(hf.left()).arg(hf.right()).arg(mf.left()).arg(mf.right())));
  }

  void openingAPackPutsItsPiecesOnTheField() {
    Session s;
    s.OpenBlocks();
    PlayField& f = s.main->Field();
    QVERIFY(f.GameOpen());
    QCOMPARE(s.main->Names().bJigLoaded, uint8_t(1));
    QCOMPARE(PieceCount(*f.Game()), s.chosenLevel.TotalTileNum);
    QVERIFY(FieldShowsPieces(f));
    QVERIFY(!s.main->Panel()->Shown());
    QVERIFY(s.main->Panel()->StepsTaken >= 13);
    QVERIFY(s.main->Menu().Enabled(Command::FileSave));
    QVERIFY(s.main->Toolbar()->ButtonEnabled(kBiThumb));
    QCOMPARE(s.main->Settings().Recent.Items[0].sName, std::string("Blocks.ast"));
    QVERIFY(s.main->AutoSaveTimer()->isActive());
    QCOMPARE(s.main->AutoSaveTimer()->interval(), 5000);
  }

  void keysActOnReleaseWithExactModifiersOnce() {
    Session s;
    s.OpenBlocks();
    TF_Main& m = *s.main;
    const size_t calls = s.dialogCalls.size();
    // Ctrl+S runs nothing.
    s.Tap(Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(s.dialogCalls.size(), calls);
    // Shift+S is Save As: the dialog in save mode.
    s.nextSavePath = m.Names().sSolveDir + "mine.sv1";
    s.Tap(Qt::Key_S, Qt::ShiftModifier);
    QCOMPARE(s.dialogCalls.size(), calls + 1);
    QVERIFY(s.dialogCalls.back().save);
    QVERIFY(fs::exists(s.nextSavePath));
    QCOMPARE(m.Names().sSolve, s.nextSavePath);
    // S is Save: to the same file, without the dialog.
    SetDirty(m.Flags());
    s.Tap(Qt::Key_S);
    QCOMPARE(s.dialogCalls.size(), calls + 1);
    QCOMPARE(m.Flags().bDirty, uint8_t(0));

    // A held key acts once: the thumbnail goes on and stays on.
    PlayField& f = m.Field();
    QVERIFY(!f.Window(kThumbWindow).Shown);
    s.Key(Qt::Key_T);
    for (int i = 0; i < 4; ++i) {
      s.Key(Qt::Key_T, Qt::NoModifier, false, true);
      s.Key(Qt::Key_T, Qt::NoModifier, true, true);
    }
    s.Key(Qt::Key_T, Qt::NoModifier, false);
    QVERIFY(f.Window(kThumbWindow).Shown);
    // A release without its press does nothing.
    s.Key(Qt::Key_T, Qt::NoModifier, false);
    QVERIFY(f.Window(kThumbWindow).Shown);
    // Nothing while the progress panel is up.
    m.Panel()->ShowProgress("busy", 3);
    s.Tap(Qt::Key_T);
    m.Panel()->HideProgress();
    QVERIFY(f.Window(kThumbWindow).Shown);

    // Space shows the other side and back.
    QCOMPARE(f.ShownSide(), 0);
    s.Tap(Qt::Key_Space);
    QCOMPARE(f.ShownSide(), 1);
    s.Tap(Qt::Key_Space);
    QCOMPARE(f.ShownSide(), 0);
    // Not with one side only.
    varlo::testing::Probe(f).options().Play.bSingleWin = 1;
    s.Tap(Qt::Key_Space);
    QCOMPARE(f.ShownSide(), 0);

    // Escape clears the selection.
    QVERIFY(f.RunCommand(Command::GameSelectAll));
    QVERIFY(f.HasSelection());
    s.Key(Qt::Key_Escape);
    QVERIFY(!f.HasSelection());
    s.Key(Qt::Key_Escape, Qt::NoModifier, false);
  }

  void shiftSInAResumedGameIsSaveAs() {
    // A resumed game has a file: Save writes it without a word, so a
    // Shift+S taken for S looks like nothing at all. The Shift may be let
    // go right after the S, and its release reach the window first: the
    // S then comes up without Shift.
    struct Way {
      const char* name;
      Qt::KeyboardModifiers releaseMods;
    } ways[] = {{"Shift held to the end", Qt::ShiftModifier}, {"Shift let go first", Qt::NoModifier}};
    for (const Way& w : ways) {
      Session s;
      s.ResumeSavedGame();
      TF_Main& m = *s.main;
      const std::string resumed = m.Names().sSolve;
      const size_t calls = s.dialogCalls.size();
      s.nextSavePath = m.Names().sSolveDir + "Copy.sv1";
      s.Key(Qt::Key_Shift, Qt::ShiftModifier);
      s.Key(Qt::Key_S, Qt::ShiftModifier);
      s.Key(Qt::Key_S, w.releaseMods, false);
      s.Key(Qt::Key_Shift, Qt::NoModifier, false);
      QVERIFY2(s.dialogCalls.size() == calls + 1, w.name);
      QVERIFY2(s.dialogCalls.back().save, w.name);
      QCOMPARE(s.dialogCalls.back().path, resumed);
      QVERIFY2(fs::exists(s.nextSavePath), w.name);
      QCOMPARE(m.Names().sSolve, s.nextSavePath);
    }
  }

  void openingAnotherGameKeepsTheThumbnailAndTheGlassAsTheyWere() {
    for (const bool shown : {true, false}) {
      Session s;
      s.OpenBlocks();
      TF_Main& m = *s.main;
      PlayField& f = m.Field();
      if (shown) {
        m.RunMenuItem(Command::GameThumb);
        m.RunMenuItem(Command::GameGlass);
      }
      QCOMPARE(f.Window(kThumbWindow).Shown != 0, shown);
      QCOMPARE(f.Window(kGlassRef).Shown != 0, shown);
      m.Flags().bDirty = 0;
      for (int open = 0; open < 2; ++open) {  // a pack, then a saved game
        if (open == 0)
          s.OpenBlocks();
        else
          s.ResumeSavedGame();
        QVERIFY(f.GameOpen());
        QCOMPARE(f.Window(kThumbWindow).Shown != 0, shown);
        QCOMPARE(f.Window(kGlassRef).Shown != 0, shown);
        QCOMPARE(m.Menu().Find(Command::GameThumb)->Checked, shown);
        QCOMPARE(m.Menu().Find(Command::GameGlass)->Checked, shown);
        QCOMPARE(m.Toolbar()->ButtonDown(kBiThumb), shown);
      }
    }
  }

  void aSaveInsideACommandLeavesItBusyUntilItEnds() {
    Session s;
    s.OpenBlocks();
    TF_Main& m = *s.main;
    SetDirty(m.Flags());
    // Open asks to save the changes first; Yes with no file yet asks for a
    // name, saves, and only then shows the open dialog.
    s.boxes.answers.push_back(kMsgYes);
    s.nextSavePath = m.Names().sSolveDir + "first.sv1";
    s.openPack = false;
    const size_t calls = s.dialogCalls.size();
    m.RunMenuItem(Command::FileOpen);
    QCOMPARE(s.dialogCalls.size(), calls + 2);
    QVERIFY(fs::exists(s.nextSavePath));
    QVERIFY(s.dialogCalls[calls].save);
    QCOMPARE(s.dialogCalls[calls].busy, uint8_t(1));
    QVERIFY(!s.dialogCalls[calls + 1].save);
    QCOMPARE(s.dialogCalls[calls + 1].busy, uint8_t(1));  // after the save
    QCOMPARE(m.Flags().bBusy, uint8_t(0));
  }

  void autosaveWaitsWhileAMouseButtonIsHeld() {
    Session s;
    s.OpenBlocks();
    TF_Main& m = *s.main;
    m.Settings().AutoSave_iIntervalMin = 0;  // due at every tick
    SetDirty(m.Flags());
    const QPoint middle(m.FieldView()->width() / 2, m.FieldView()->height() / 2);
    QTest::mousePress(m.FieldView(), Qt::LeftButton, Qt::NoModifier, middle);
    m.T_AutoSaveTimer();
    QVERIFY(!fs::exists(m.Names().sAutoSave));
    QCOMPARE(m.Flags().bAutoDirty, uint8_t(1));
    QVERIFY(m.Field().InputEnabled());
    QTest::mouseMove(m.FieldView(), middle + QPoint(30, 20));
    m.T_AutoSaveTimer();
    QVERIFY(!fs::exists(m.Names().sAutoSave));
    // The release reaches the field; the next tick saves.
    QTest::mouseRelease(m.FieldView(), Qt::LeftButton, Qt::NoModifier, middle + QPoint(30, 20));
    QCOMPARE(testing::FieldProbe(m.Field()).DragState(), int32_t(kDragIdle));
    m.T_AutoSaveTimer();
    QVERIFY(fs::exists(m.Names().sAutoSave));
    QCOMPARE(m.Flags().bAutoDirty, uint8_t(0));
  }

  void toolbarGapsFollowTheWidth() {
    Session s;
    SkinToolbar* t = s.main->Toolbar();
    for (auto [w, g1, g2] : {std::tuple{1024, 24, 8}, std::tuple{1025, 26, 10}}) {
      s.main->resize(w, 700);
      QCOMPARE(t->width(), w);
      QCOMPARE(t->ButtonRect(kBiOpen).left() - (t->ButtonRect(kBiApp).right() + 1), g1);
      QCOMPARE(t->ButtonRect(kBiSave).left() - (t->ButtonRect(kBiOpen).right() + 1), g2);
    }
  }

  void fullScreenInAndOut() {
    Session s;
    s.OpenBlocks();
    TF_Main& m = *s.main;
    const QRect work = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    m.RunMenuItem(Command::FullScreen);
    QVERIFY(m.IsFullScreen());
    QTRY_COMPARE(m.geometry().size(), screen.size());
    QVERIFY(m.Toolbar()->ButtonVisible(kBiClose));
    QVERIFY(m.Toolbar()->ButtonDown(kBiFullScreen));
    QVERIFY(m.Menu().Find(Command::FullScreen)->Checked);
    QCOMPARE(m.FieldW(), m.width());
    m.RunMenuItem(Command::FullScreen);
    QVERIFY(!m.IsFullScreen());
    QVERIFY(!m.Toolbar()->ButtonVisible(kBiClose));
    // Back with its frame on the work area.
    QTRY_COMPARE(m.frameGeometry(), work);
    QVERIFY(m.Field().GameOpen());
  }

  void frameFitsTheWorkArea() {
    Session s;
    TF_Main& m = *s.main;
    const QRect work = QGuiApplication::primaryScreen()->availableGeometry();
    // The platform frames the window as a window manager does; the frame,
    // title bar included, lies on the work area, not above or beside it.
    QVERIFY(m.windowHandle());
    QVERIFY(!m.windowHandle()->frameMargins().isNull());
    QTRY_COMPARE(m.frameGeometry(), work);
    QCOMPARE(m.FieldH(), m.height() - kToolbarHeight);
  }

  void windowFollowsTheWorkArea() {
    Session s;
    s.OpenBlocks();
    TF_Main& m = *s.main;
    const QRect work = QGuiApplication::primaryScreen()->availableGeometry();
    // A panel of 120 pixels appears at the bottom: the window and the field
    // shrink, and every piece stays on the field.
    const QRect smaller(work.x(), work.y(), work.width(), work.height() - 120);
    m.WorkAreaChanged(smaller);
    QCOMPARE(m.frameGeometry(), smaller);
    QCOMPARE(m.FieldH(), m.height() - kToolbarHeight);
    QCOMPARE(m.Field().FieldHeight(), m.FieldH());
    const Jigsaw& jig = *m.Field().Game();
    for (int32_t i = 0; i < PieceCount(jig); ++i) {
      const TILE_P& t = jig.Tiles[i];
      QVERIFY2(t.Y < m.FieldH() && t.X < m.FieldW(), qPrintable(QString("piece %1 at %2,%3").arg(i).arg(t.X).arg(t.Y)));
    }
    // Full screen keeps the whole screen whatever the work area does.
    m.RunMenuItem(Command::FullScreen);
    QTRY_COMPARE(m.geometry().size(), QGuiApplication::primaryScreen()->geometry().size());
    m.WorkAreaChanged(work);
    QCOMPARE(m.geometry().size(), QGuiApplication::primaryScreen()->geometry().size());
  }

  void saveQuestionAtExit() {
    Session s;
    s.OpenBlocks();
    TF_Main& m = *s.main;
    SetDirty(m.Flags());
    // Cancel keeps the game open.
    s.boxes.answers.push_back(kMsgCancel);
    QVERIFY(!m.close());
    QCOMPARE(s.boxes.shown.size(), size_t(1));
    QCOMPARE(s.boxes.shown[0].Style, int32_t(kMsgQuestionYesNoCancel));
    QVERIFY(m.isVisible());
    QCOMPARE(m.Flags().bBusy, uint8_t(0));
    // Yes with no file yet asks for a name; a cancelled name keeps it open.
    s.boxes.answers.push_back(kMsgYes);
    s.nextSavePath.clear();
    QVERIFY(!m.close());
    QVERIFY(s.dialogCalls.back().save);
    // No closes without saving and writes the settings.
    s.boxes.answers.push_back(kMsgNo);
    QVERIFY(m.close());
    QVERIFY(fs::exists(m.Names().sIniFile));
    QVERIFY(!fs::exists(m.Names().sSolveDir + "mine.sv1"));
  }

  void helpMenuHomePages() {
    // A desktop that records the addresses and may have no browser.
    struct Browser : Desktop {
      std::vector<std::string> opened;
      bool works = true;
      bool OpenUrl(const std::string& url) override {
        opened.push_back(url);
        return works;
      }
      bool OpenFile(const std::string&) override { return works; }
      bool ShowHelpTopic(const std::string&, const std::string&) override { return works; }
    } browser;
    Session s;
    TF_Main& m = *s.main;
    m.Plat().platform().Shell = &browser;
    // The product item is captioned with the product's name.
    QCOMPARE(m.Action("MI_HelpProductHomePage")->text(), QString("Varlo Jigsaw Home Page"));

    // The configured pages; the default ones are pages of the installation.
    const QString home = QUrl::fromLocalFile(QString::fromStdString(m.Names().sExeDir + "home.html")).toString();
    struct Case {
      Command item;
      QString address;
    } cases[] = {{Command::HelpHomePage, home}, {Command::HelpProductHomePage, home + "#varlo-jigsaw"}};
    for (const Case& c : cases) {
      browser.opened.clear();
      s.boxes.shown.clear();
      browser.works = true;
      m.RunMenuItem(c.item);
      QCOMPARE(browser.opened.size(), size_t(1));
      QCOMPARE(QString::fromStdString(browser.opened[0]), c.address);
      QVERIFY(s.boxes.shown.empty());
      // Without a browser a message tells the address.
      browser.works = false;
      m.RunMenuItem(c.item);
      QCOMPARE(s.boxes.shown.size(), size_t(1));
      QVERIFY2(QString::fromStdString(s.boxes.shown[0].Text).contains(c.address),
               s.boxes.shown[0].Text.c_str());
    }
    // The page that ships with the game is there to be opened.
    QVERIFY(fs::exists(std::string(VARLO_SOURCE_DIR) + "/data/home.html"));
  }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
