// The game played as a player plays it, on the offscreen platform: a small
// jigsaw chosen in the real open dialog, solved piece by piece through the
// field widget's mouse events up to the finish window, the solved picture
// saved through the file dialog; and a saved game left at exit and resumed
// from the recent files after a fresh start in the same home folder.
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QTimer>
#include <QtTest>
#include <filesystem>
#include <functional>
#include <memory>

#include "app/qt/field_widget.h"
#include "app/qt/main_window.h"
#include "app/qt/startup.h"
#include "browser/dirview.h"
#include "browser/level_page.h"
#include "raster/picture_codecs.h"
#include "support/play_jigsaw.h"
#include "support/temp_home.h"
#include "support/ui_fixtures.h"
#include "ui/qt/small_windows.h"

using namespace varlo;
namespace fs = std::filesystem;

namespace {

// Small enough to be laid out between the spread pieces.
constexpr int kPicW = 120, kPicH = 90;
constexpr int kRectangularShape = 4;
constexpr int kCoarsestLevel = 13;

// Runs step every 20 ms from the event loop (so also inside the modal
// windows the game opens) until it answers true or ten seconds have passed.
class Poller {
 public:
  void Until(std::function<bool()> step) {
    auto* t = new QTimer;
    auto started = std::make_shared<QElapsedTimer>();
    started->start();
    t->setInterval(20);
    QObject::connect(t, &QTimer::timeout, t, [t, step, started] {
      if (step()) {
        t->stop();
        t->deleteLater();
      } else if (started->elapsed() > 10000) {
        // The awaited window never came or was never answered: close what
        // is modal, so the test fails instead of hanging.
        if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
        t->stop();
        t->deleteLater();
      }
    });
    t->start();
  }
};

// The state of a piece that a saved game must bring back.
struct PiecePlace {
  int32_t X, Y, Group;
  uint8_t Win, Rot;
  friend bool operator==(const PiecePlace&, const PiecePlace&) = default;
};

std::vector<PiecePlace> Places(const Jigsaw& jig) {
  std::vector<PiecePlace> out;
  for (int32_t i = 0; i < PieceCount(jig); ++i) {
    const TILE_P& t = jig.Tiles[i];
    out.push_back({t.X, t.Y, t.Group, t.Win, t.Rot});
  }
  return out;
}

// One player with one home folder; the game can be started more than once.
struct Player {
  testing::TempHome home;
  std::string install;
  uitest::ScriptedBoxes boxes;
  std::unique_ptr<TF_Main> main;
  TF_Main* window = nullptr;  // known from the start, before main is returned
  Poller poll;

  Player() {
    install = home.path() + "install/";
    uitest::MakeInstallation(install, {{"Blocks", kPicW, kPicH}});
  }

  // Starts the game as the entry sequence does; script runs just before
  // the start-up open dialog.
  void Start(const std::function<void()>& script) {
    QElapsedTimer started;
    started.start();
    StartupOptions o;
    o.InstallDir = install;
    o.SplashMs = 0;
    o.BeforeOpen = [&](TF_Main& m) {
      window = &m;
      m.Plat().platform().Messages = &boxes;
      script();
    };
    main = RunEntrySequence(started, o);
  }

  // The open dialog, once it is up and shows the starter pack.
  TF_DirView* ShownDialog(TF_DirView::Mode mode) {
    TF_DirView* dlg = window ? window->DirView() : nullptr;
    if (!dlg || !dlg->isVisible() || dlg->GetMode() != mode) return nullptr;
    return dlg;
  }

  // Answers the next open dialog: the pack, then on the level page the
  // rectangular cut without turning, spread out, at the largest pieces,
  // with the border frame when asked. Sets *done when the dialog was
  // answered.
  void ChooseBlocksInTheDialog(bool* done, int border = 0) {
    poll.Until([this, done, border] {
      TF_DirView* dlg = ShownDialog(TF_DirView::kOpen);
      if (!dlg) return false;
      const auto items = dlg->JigsList()->findItems("Blocks", Qt::MatchExactly);
      if (items.isEmpty()) return false;
      dlg->Pages()->setCurrentIndex(0);
      dlg->JigsList()->setCurrentItem(items.first());
      dlg->LV_JigsClick(dlg->JigsList());
      dlg->B_OkClick();
      LevelPage* level = dlg->Level();
      if (dlg->Pages()->currentWidget() != level) return true;  // the test sees no game
      level->ShapeMouseDown(kRectangularShape);
      level->BorderMouseDown(border);
      level->MixMouseDown(1);
      if (dlg->BrowserJig().Rotate) level->I_RotationMouseDown();
      if (dlg->BrowserJig().FitToScreen) level->I_FitToScreenMouseDown();
      level->PieceSizeSlider()->setValue(kCoarsestLevel);
      dlg->B_OkClick();
      *done = true;
      return true;
    });
  }

  // Answers the next save dialog with a name.
  void SaveAsInTheDialog(const QString& name, bool* done) {
    poll.Until([this, name, done] {
      TF_DirView* dlg = ShownDialog(TF_DirView::kSave);
      if (!dlg) return false;
      dlg->FileNameBox()->setText(name);
      dlg->B_OkClick();
      *done = true;
      return true;
    });
  }

  PlayField& Field() { return main->Field(); }
  Jigsaw& Jig() { return *main->Field().Game(); }
  FieldWidget* View() { return main->FieldView(); }

  // A point of piece i on the field that picks the piece itself (no other
  // piece lies over it there), nearest to the middle of its box.
  bool GrabPoint(int32_t i, QPoint& at) {
    const Jigsaw& jig = Jig();
    const TILE_P& t = jig.Tiles[i];
    const TMyWin& w = Field().Window(t.Win);
    const DIB_P& mask = jig.Images[kMaskSlot + (t.Rot & 3)];
    int64_t best = -1;
    for (int32_t y = 0; y < t.RotH; ++y)
      for (int32_t x = 0; x < t.RotW; ++x) {
        if (DibPixel(mask, t.MapX + x, t.MapY + y)[0] != t.Key) continue;
        const int32_t fx = testing::FieldX(w, t.X + x), fy = testing::FieldY(w, t.Y + y);
        if (!View()->rect().contains(fx, fy) || varlo::testing::Probe(Field()).PickPiece(fx, fy) != i) continue;
        const int64_t d = int64_t{x - t.RotW / 2} * (x - t.RotW / 2) + int64_t{y - t.RotH / 2} * (y - t.RotH / 2);
        if (best < 0 || d < best) {
          best = d;
          at = QPoint(fx, fy);
        }
      }
    return best >= 0;
  }

  // Drags piece i with the left button, in a few steps, so that its box's
  // top-left lands on content point (x, y) of its side.
  void Drag(int32_t i, int32_t x, int32_t y) {
    QPoint from;
    QVERIFY2(GrabPoint(i, from), qPrintable(QString("piece %1 cannot be grabbed").arg(i)));
    const TILE_P& t = Jig().Tiles[i];
    const TMyWin& w = Field().Window(t.Win);
    const int32_t gx = testing::FieldX(w, t.X) - from.x(), gy = testing::FieldY(w, t.Y) - from.y();
    const QPoint to(testing::FieldX(w, x) - gx, testing::FieldY(w, y) - gy);
    QVERIFY(View()->rect().contains(to));
    QTest::mousePress(View(), Qt::LeftButton, Qt::NoModifier, from);
    for (int k = 1; k <= 4; ++k) QTest::mouseMove(View(), from + (to - from) * k / 4);
    QTest::mouseRelease(View(), Qt::LeftButton, Qt::NoModifier, to);
  }

  // A content point of side 0 where the whole picture fits on the visible
  // field without covering any piece.
  bool FreeCorner(int32_t& x, int32_t& y) { return FreeArea(kPicW, kPicH, -1, x, y); }

  // A content point of side 0 where a w x h area lies on the visible field
  // without covering any piece but piece skip.
  bool FreeArea(int32_t aw, int32_t ah, int32_t skip, int32_t& x, int32_t& y) {
    const TMyWin& w = Field().Window(0);
    const Jigsaw& jig = Jig();
    const int32_t margin = 12;
    for (int32_t cy = w.ScrollY + margin; cy + ah + margin <= w.ScrollY + View()->height(); cy += 8)
      for (int32_t cx = w.ScrollX + margin; cx + aw + margin <= w.ScrollX + View()->width(); cx += 8) {
        bool clear = true;
        for (int32_t i = 0; i < PieceCount(jig) && clear; ++i) {
          if (i == skip) continue;
          const TILE_P& t = jig.Tiles[i];
          clear = t.X + t.RotW + margin <= cx || t.X >= cx + aw + margin ||
                  t.Y + t.RotH + margin <= cy || t.Y >= cy + ah + margin;
        }
        if (clear) {
          x = cx;
          y = cy;
          return true;
        }
      }
    return false;
  }

  // No piece outside the frame's group has a point of its own that is
  // hidden under the frame: wherever a loose piece and the frame overlap,
  // a press picks the piece.
  bool NoLoosePieceUnderTheFrame(QString& which) {
    const Jigsaw& jig = Jig();
    const int32_t frame = BorderPieceIndex(jig);
    const TILE_P& b = jig.Tiles[frame];
    const TMyWin& w = Field().Window(b.Win);
    for (int32_t i = 0; i < PieceCount(jig); ++i) {
      const TILE_P& t = jig.Tiles[i];
      if (t.Group == b.Group || t.Win != b.Win) continue;
      if (t.X >= b.X + b.RotW || b.X >= t.X + t.RotW || t.Y >= b.Y + b.RotH || b.Y >= t.Y + t.RotH) continue;
      const DIB_P& mask = jig.Images[kMaskSlot + (t.Rot & 3)];
      for (int32_t y = 0; y < t.RotH; ++y)
        for (int32_t x = 0; x < t.RotW; ++x) {
          if (DibPixel(mask, t.MapX + x, t.MapY + y)[0] != t.Key) continue;
          const int32_t fx = testing::FieldX(w, t.X + x), fy = testing::FieldY(w, t.Y + y);
          if (!View()->rect().contains(fx, fy)) continue;
          const int32_t hit = varlo::testing::Probe(Field()).PickPiece(fx, fy);
          if (hit >= 0 && jig.Tiles[hit].Group == b.Group) {
            which = QString("piece %1 at %2,%3").arg(i).arg(fx).arg(fy);
            return false;
          }
        }
    }
    return true;
  }
};

}  // namespace

class PlayThroughTest : public QObject {
  Q_OBJECT
 private slots:
  void solvedFromTheOpenDialogToTheSavedPicture() {
    Player p;
    bool chosen = false;
    p.Start([&] { p.ChooseBlocksInTheDialog(&chosen); });
    QVERIFY(chosen);
    PlayField& f = p.Field();
    QVERIFY(f.GameOpen());
    Jigsaw& jig = p.Jig();
    const int32_t n = PieceCount(jig);
    QVERIFY2(n >= 12 && n <= 40, qPrintable(QString::number(n)));
    QCOMPARE(int(jig.Jig.Rotate), 0);
    for (int32_t i = 0; i < n; ++i) QCOMPARE(int(jig.Tiles[i].Win), 0);

    // Piece 0 is laid where the picture fits, then every other piece
    // beside its neighbours there, each joining the growing group.
    int32_t ox = 0, oy = 0;
    QVERIFY(p.FreeCorner(ox, oy));
    p.Drag(0, ox + jig.Tiles[0].BoxX, oy + jig.Tiles[0].BoxY);
    QCOMPARE(jig.Tiles[0].X, ox + jig.Tiles[0].BoxX);

    // The finish window, and then the file dialog, are answered from the
    // event loop they run in, armed before the last piece is laid.
    const std::string target = p.home.path() + "solved/Blocks picture.bmp";
    fs::create_directories(p.home.path() + "solved");
    bool finishSeen = false;
    QString offeredName;
    auto AnswerTheFinish = [&] {
      p.poll.Until([&] {
        auto* finish = qobject_cast<TF_Finish*>(QApplication::activeModalWidget());
        if (!finish) return false;
        // The star of the last join plays out while the finish window is
        // up; it is not left standing on the solved picture.
        if (f.AnimationRunning()) return false;
        finishSeen = finish->isVisible();
        finish->SaveButton()->click();
        return true;
      });
      p.poll.Until([&] {
        auto* dlg = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dlg) return false;
        const QStringList offered = dlg->selectedFiles();
        if (offeredName.isEmpty() && !offered.isEmpty()) offeredName = QFileInfo(offered.first()).fileName();
        // The dialog reads folders in the background and may put its own
        // name back after a change of folder: change the folder first, then
        // type the name, and accept once the dialog holds exactly the target.
        const QString folder = QFileInfo(QString::fromStdString(target)).absolutePath();
        if (dlg->directory().absolutePath() != folder) {
          dlg->setDirectory(folder);
          return false;
        }
        // Typed into the name box, as a player does.
        auto* name = dlg->findChild<QLineEdit*>("fileNameEdit");
        if (!name) return false;
        name->setText(QFileInfo(QString::fromStdString(target)).fileName());
        if (dlg->selectedFiles() != QStringList{QString::fromStdString(target)}) return false;
        QMetaObject::invokeMethod(dlg, "accept");
        return true;
      });
    };

    for (int32_t i = 1; i < n; ++i) {
      QVERIFY(!finishSeen);
      if (i == n - 1) AnswerTheFinish();
      p.Drag(i, ox + jig.Tiles[i].BoxX, oy + jig.Tiles[i].BoxY);
      QVERIFY2(jig.Tiles[i].Group == jig.Tiles[0].Group, qPrintable(QString("piece %1 did not join").arg(i)));
    }
    QVERIFY(finishSeen);
    QVERIFY(f.Solved());
    QCOMPARE(offeredName, QString("Blocks.bmp"));

    std::vector<uint8_t> bytes;
    std::string error;
    QVERIFY2(ReadWholeFile(target, bytes, &error), error.c_str());
    DIB_P solved;
    QVERIFY2(DibLoadBmp(solved, bytes.data(), bytes.size(), &error), error.c_str());
    // The picture in its one-pixel frame, with the two caption lines below.
    QCOMPARE(solved.Width, kPicW + 2);
    QCOMPARE(solved.Height, kPicH + 52);
    QVERIFY(!fs::exists(target + ".tmp~"));
    // The middle of the picture is the picture, not the field's grey.
    const uint8_t* mid = DibPixel(solved, kPicW / 2, kPicH / 2);
    QVERIFY(!(mid[0] == 0x98 && mid[1] == 0x98 && mid[2] == 0x98));
    QVERIFY(p.main->Menu().Enabled(Command::FileSaveImage));
  }

  // With the border frame on, loose pieces lying across the frame are never
  // hidden under it: after the set-up, and while the pieces are laid into
  // the frame one by one.
  void framedGameKeepsLoosePiecesAboveTheFrame() {
    Player p;
    bool chosen = false;
    p.Start([&] { p.ChooseBlocksInTheDialog(&chosen, 1); });
    QVERIFY(chosen);
    Jigsaw& jig = p.Jig();
    const int32_t frame = BorderPieceIndex(jig);
    QVERIFY(frame > 0);
    QString which;
    QVERIFY2(p.NoLoosePieceUnderTheFrame(which), qPrintable("after the set-up: " + which));
    // A loose piece laid across the frame's band lies over it.
    const TILE_P& b = jig.Tiles[frame];
    p.Drag(0, b.X + 2, b.Y + 2);
    QVERIFY2(p.NoLoosePieceUnderTheFrame(which), qPrintable("a piece across the band: " + which));
    // The frame moved to a free place, then every piece but the last laid
    // into it, each joining it.
    int32_t fx = 0, fy = 0;
    QVERIFY(p.FreeArea(b.RotW, b.RotH, frame, fx, fy));
    p.Drag(frame, fx, fy);
    QCOMPARE(b.X, fx);
    for (int32_t i = 0; i + 1 < frame; ++i) {
      p.Drag(i, b.X + jig.Tiles[i].BoxX - b.BoxX, b.Y + jig.Tiles[i].BoxY - b.BoxY);
      QVERIFY2(jig.Tiles[i].Group == b.Group, qPrintable(QString("piece %1 did not join").arg(i)));
      QVERIFY2(p.NoLoosePieceUnderTheFrame(which), qPrintable(QString("after piece %1: ").arg(i) + which));
    }
    QVERIFY(!p.Field().Solved());
  }

  void savedAtExitAndResumedFromTheRecentFiles() {
    Player p;
    bool chosen = false;
    p.Start([&] { p.ChooseBlocksInTheDialog(&chosen); });
    QVERIFY(chosen);
    // Two moves, so the game differs from its fresh layout.
    int32_t ox = 0, oy = 0;
    QVERIFY(p.FreeCorner(ox, oy));
    p.Drag(0, ox + p.Jig().Tiles[0].BoxX, oy + p.Jig().Tiles[0].BoxY);
    p.Drag(1, ox + p.Jig().Tiles[1].BoxX, oy + p.Jig().Tiles[1].BoxY);
    QCOMPARE(p.Jig().Tiles[1].Group, p.Jig().Tiles[0].Group);
    QCOMPARE(int(p.main->Flags().bDirty), 1);
    const std::vector<PiecePlace> before = Places(p.Jig());

    // Closing asks; Yes with no file yet asks for a name in the save dialog.
    p.boxes.answers.push_back(kMsgYes);
    bool named = false;
    p.SaveAsInTheDialog("Evening", &named);
    QVERIFY(p.main->close());
    QVERIFY(named);
    const std::string saved = p.main->Names().sSolveDir + "Evening.sv1";
    QVERIFY(fs::exists(saved));
    QCOMPARE(p.boxes.shown.size(), size_t(1));
    p.main.reset();

    // A fresh start in the same home: the start-up dialog is cancelled,
    // the game comes back from the first recent file in the menu.
    bool cancelled = false;
    p.Start([&] {
      p.poll.Until([&] {
        TF_DirView* dlg = p.ShownDialog(TF_DirView::kOpen);
        if (!dlg) return false;
        QListWidgetItem* current = dlg->GamesList()->currentItem();
        cancelled = current && current->text() == "Evening";
        dlg->B_CancelClick();
        return true;
      });
    });
    QVERIFY2(cancelled, "the start-up dialog offers the saved game");
    QVERIFY(!p.Field().GameOpen());
    QAction* recent = p.main->Action(Command::FileLast0);
    QVERIFY(recent);
    QVERIFY(recent->isVisible());
    QVERIFY(recent->isEnabled());
    QCOMPARE(recent->text(), QString("&1. Evening.sv1"));
    recent->trigger();
    QTRY_VERIFY(p.Field().GameOpen());
    QCOMPARE(p.main->Names().sSolve, saved);
    QVERIFY(Places(p.Jig()) == before);
    QCOMPARE(int(p.main->Flags().bDirty), 0);
    // Resumed as it was: the two pieces still joined, on the field.
    QCOMPARE(p.Jig().Tiles[1].Group, p.Jig().Tiles[0].Group);
    QPoint at;
    QVERIFY(p.GrabPoint(1, at));
  }
};

QTEST_MAIN(PlayThroughTest)
#include "play_through_test.moc"
