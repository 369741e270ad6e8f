// The open and save dialog on the offscreen platform: lists of a fresh
// installation, thumbnails over timer ticks and from the cache, damaged
// files, deleting with its questions, the level page against the engine's
// level table, and the save mode's name checks.
#include <QApplication>
#include <QFileInfo>
#include <QLocale>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QTimer>
#include <QtTest>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "app/folders.h"
#include "browser/dirview.h"
#include "browser/choice_widgets.h"
#include "browser/level_art.h"
#include "browser/level_page.h"
#include "cut/piece_preview.h"
#include "cut/level_table.h"
#include "play/game_flags.h"
#include "support/temp_home.h"
#include "support/ui_fixtures.h"
#include "ui/lang.h"

using namespace varlo;
namespace fs = std::filesystem;

namespace {

// A fresh player on a fresh installation, with the dialog made as the game
// makes it.
struct Game {
  testing::TempHome home;
  std::string install;
  FILE_NAMES names;
  LANG_P lang;
  uitest::ScriptedBoxes boxes;
  Platform platform;
  GameFlags flags;
  JIG_P defaultLevel;
  JIG_P playJig;
  DIB_P playThumb;
  std::unique_ptr<TF_DirView> dlg;

  explicit Game(const std::vector<uitest::StarterPack>& packs = {{"Harbour", 1000, 750},
                                                                   {"Meadow", 800, 600},
                                                                   {"Alps", 640, 480}}) {
    install = home.path() + "install/";
    uitest::MakeInstallation(install, packs);
    SetupFolders(names, install);
    platform.Messages = &boxes;
    LangLoad(lang, platform, LangFilePath(names.sLangDir, "english"));
    defaultLevel.ShapeStyle = 3;
    defaultLevel.Level = 6;
    DirViewContext ctx;
    ctx.Names = &names;
    ctx.DefaultLevel = &defaultLevel;
    ctx.Lang = &lang;
    ctx.Plat = &platform;
    ctx.Flags = &flags;
    ctx.PlayJig = &playJig;
    ctx.PlayThumb = &playThumb;
    ctx.FieldArea = [](int32_t& w, int32_t& h) { w = 1024; h = 738; };
    dlg = std::make_unique<TF_DirView>(ctx);
  }
  void Open(const std::string& chosen = "") {
    dlg->SetMode(TF_DirView::kOpen);
    dlg->SetChosenFile(chosen);
    dlg->SetFileNameText(fs::path(chosen).filename().string());
    dlg->show();
  }
  void WaitForThumbs() {
    QTRY_VERIFY_WITH_TIMEOUT(!dlg->ThumbTimer()->isActive(), 10000);
  }
  QListWidgetItem* Item(QListWidget* list, const QString& caption) {
    const auto found = list->findItems(caption, Qt::MatchExactly);
    return found.isEmpty() ? nullptr : found.first();
  }
  void Click(QListWidget* list, const QString& caption) {
    QListWidgetItem* item = Item(list, caption);
    QVERIFY(item);
    list->setCurrentItem(item);
    dlg->LV_JigsClick(list);
  }
};

QStringList Captions(QListWidget* list) {
  QStringList out;
  for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
  return out;
}

// Whether a cached list picture holds more than the placeholder's white.
bool HasPicture(const QImage& img) {
  int coloured = 0;
  for (int y = 0; y < img.height(); y += 5)
    for (int x = 0; x < img.width(); x += 5)
      if (img.pixel(x, y) != qRgb(255, 255, 255)) ++coloured;
  return coloured > 150;
}

}  // namespace

class DirViewTest : public QObject {
  Q_OBJECT
 private slots:
  void listsOfAFreshInstallationAndThumbnailsInSlices();
  void readyMadeThumbnailIsUsedWithoutOpeningThePack();
  void damagedPackIsAnInvalidJigsaw();
  void deletingAsksAndKeepsDistributedJigsaws();
  void deletingTheOpenGamesFileMarksTheGameChanged();
  void levelPageCountsAsTheLevelTable();
  void savedGameShowsItsLevelLocked();
  void okLeadsThroughTheLevelPage();
  void saveModeNameChecks();
  void seedPanelOnCtrlClick();
  void savedGamesListFollowsItsFiles();
  void shapeMasksHaveWholeKnobsOfACutPiece();
  void samplePieceIsTrueSizeOrScaledToFit();
  void sliderEndsAndSwitchesSayWhatTheyDo();
  void saveDialogIsSizedToItsContent();
};

void DirViewTest::listsOfAFreshInstallationAndThumbnailsInSlices() {
  Game g;
  uitest::WriteSavedGame(g.names.sSolveDir + "Evening.sv1", "Meadow");
  // Only lower-case extensions are listed.
  uitest::WritePack(g.names.sUserJigDir + "Upper.AST", 200, 150);
  g.Open();
  QCOMPARE(Captions(g.dlg->JigsList()), QStringList({"Alps", "Harbour", "Meadow"}));
  QCOMPARE(Captions(g.dlg->GamesList()), QStringList({"Evening"}));
  // The first jigsaw is selected and previewed; nothing is drawn yet.
  QCOMPARE(g.dlg->FileNameBox()->text(), QString("Alps.ast"));
  QCOMPARE(g.dlg->SelectedKind(), TF_DirView::kJigsaw);
  for (QListWidget* list : {g.dlg->JigsList(), g.dlg->GamesList()})
    for (int i = 0; i < list->count(); ++i) QCOMPARE(g.dlg->ItemImageIndex(list->item(i)), 0);
  QVERIFY(g.dlg->ThumbTimer()->isActive());

  g.WaitForThumbs();
  QSet<int> indexes;
  for (QListWidget* list : {g.dlg->JigsList(), g.dlg->GamesList()})
    for (int i = 0; i < list->count(); ++i) {
      const int index = g.dlg->ItemImageIndex(list->item(i));
      QVERIFY(index > 0);
      if (list == g.dlg->JigsList())
        QVERIFY(HasPicture(g.dlg->CachedThumbs()[static_cast<size_t>(index)]));
      indexes.insert(index);
    }
  QCOMPARE(indexes.size(), 4);
  QCOMPARE(g.dlg->ThumbReads(), 4);

  // Shown again: every picture comes from the cache.
  g.dlg->hide();
  g.Open();
  g.WaitForThumbs();
  QCOMPARE(g.dlg->ThumbReads(), 4);
  for (int i = 0; i < g.dlg->JigsList()->count(); ++i)
    QVERIFY(g.dlg->ItemImageIndex(g.dlg->JigsList()->item(i)) > 0);
}

void DirViewTest::readyMadeThumbnailIsUsedWithoutOpeningThePack() {
  Game g({{"Harbour", 400, 300}});
  // The player's copy is damaged, but the installation holds its picture.
  testing::WriteFile(g.names.sUserJigDir + "Harbour.ast", "VARLO1.0 damaged");
  QImage img(180, 120, QImage::Format_RGB32);
  img.fill(QColor(20, 120, 200));
  QVERIFY(img.save(QString::fromStdString(g.names.sThumbDir + "Harbour.jpg"), "JPG"));
  g.Open();
  g.WaitForThumbs();
  const int index = g.dlg->ItemImageIndex(g.Item(g.dlg->JigsList(), "Harbour"));
  QVERIFY(index > 0);
  const QImage& pic = g.dlg->CachedThumbs()[static_cast<size_t>(index)];
  // The 180 x 120 picture sits centred in the 180 x 135 cell.
  QCOMPARE(QColor(pic.pixel(90, 67)).blue() > 150, true);
  QCOMPARE(pic.pixel(90, 3), qRgb(255, 255, 255));
}

void DirViewTest::damagedPackIsAnInvalidJigsaw() {
  Game g;
  // A pack cut short inside its thumbnail entry.
  const std::vector<uint8_t> bytes = uitest::PackBytes(300, 200);
  testing::WriteFile(g.names.sUserJigDir + "Broken.ast", std::string(bytes.begin(), bytes.begin() + 40));
  g.Open();
  g.WaitForThumbs();
  QCOMPARE(g.dlg->ItemImageIndex(g.Item(g.dlg->JigsList(), "Broken")), 0);
  g.Click(g.dlg->JigsList(), "Broken");
  QVERIFY(g.dlg->CommentLabel()->isVisibleTo(g.dlg.get()));
  QCOMPARE(g.dlg->CommentLabel()->text(), QString("Invalid Jigsaw"));
  QVERIFY(!g.dlg->OkButton()->isEnabled());
  QVERIFY(!g.dlg->Level()->LevelControlsEnabled());
  QCOMPARE(g.dlg->SelectedKind(), TF_DirView::kNone);
  // A good pack afterwards clears the comment.
  g.Click(g.dlg->JigsList(), "Meadow");
  QVERIFY(!g.dlg->CommentLabel()->isVisibleTo(g.dlg.get()));
  QVERIFY(g.dlg->OkButton()->isEnabled());
}

void DirViewTest::deletingAsksAndKeepsDistributedJigsaws() {
  Game g;
  uitest::WritePack(g.names.sUserJigDir + "Mine.ast", 300, 200);
  uitest::WritePack(g.names.sUserJigDir + "Yours.ast", 300, 200);
  g.Open();
  g.WaitForThumbs();
  QListWidget* jigs = g.dlg->JigsList();

  struct Case {
    const char* caption;
    int32_t answer;
    bool gone;
    const char* message;
    int32_t style;
  } cases[] = {
      {"Mine", kMsgCancel, false, "Delete Mine?", kMsgQuestionOkCancel},
      {"Harbour", kMsgOk, false, "The file Harbour cannot be deleted.", kMsgExclamationOk},
      {"Mine", kMsgOk, true, "Delete Mine?", kMsgQuestionOkCancel},
  };
  for (const Case& c : cases) {
    g.boxes.shown.clear();
    g.boxes.answers = {c.answer};
    g.Click(jigs, c.caption);
    const int row = jigs->currentRow();
    g.dlg->PMI_JigsDelClick();
    QCOMPARE(g.boxes.shown.size(), size_t{1});
    QCOMPARE(QString::fromStdString(g.boxes.shown[0].Text), QString(c.message));
    QCOMPARE(g.boxes.shown[0].Style, c.style);
    const std::string path = g.names.sUserJigDir + c.caption + ".ast";
    QCOMPARE(!fs::exists(path), c.gone);
    QCOMPARE(g.Item(jigs, c.caption) == nullptr, c.gone);
    if (c.gone) {
      // The item that moved up is selected and previewed.
      QCOMPARE(jigs->currentRow(), row);
      QCOMPARE(g.dlg->FileNameBox()->text(), jigs->item(row)->text() + ".ast");
      QVERIFY(g.dlg->OkButton()->isEnabled());
    }
  }

  // Delete all: No keeps everything, Yes removes the player's own only.
  g.boxes.answers = {kMsgNo};
  g.dlg->PMI_JigsDelAllClick();
  QVERIFY(fs::exists(g.names.sUserJigDir + "Yours.ast"));
  g.boxes.answers = {kMsgYes};
  g.dlg->PMI_JigsDelAllClick();
  QVERIFY(!fs::exists(g.names.sUserJigDir + "Yours.ast"));
  QCOMPARE(Captions(jigs), QStringList({"Alps", "Harbour", "Meadow"}));
  for (const char* n : {"Alps", "Harbour", "Meadow"})
    QVERIFY(fs::exists(g.names.sUserJigDir + n + ".ast"));
}

void DirViewTest::deletingTheOpenGamesFileMarksTheGameChanged() {
  Game g;
  uitest::WriteSavedGame(g.names.sSolveDir + "Evening.sv1", "Meadow");
  uitest::WriteSavedGame(g.names.sSolveDir + "Morning.sv1", "Alps");
  g.names.sSolve = g.names.sSolveDir + "evening.SV1";  // names compare without case
  g.Open(g.names.sSolveDir + "Evening.sv1");
  QCOMPARE(g.dlg->Pages()->currentWidget()->objectName(), QString("TS_Games"));
  QCOMPARE(g.dlg->GamesList()->currentItem()->text(), QString("Evening"));
  g.dlg->LV_JigsClick(g.dlg->GamesList());
  g.boxes.answers = {kMsgOk};
  g.dlg->PMI_GamesDelClick();
  QVERIFY(!fs::exists(g.names.sSolveDir + "Evening.sv1"));
  QVERIFY(g.names.sSolve.empty());
  QCOMPARE(g.flags.bDirty, uint8_t{1});
  QCOMPARE(Captions(g.dlg->GamesList()), QStringList({"Morning"}));
  // Delete all saved games: the list is empty afterwards.
  g.boxes.answers = {kMsgYes};
  g.dlg->PMI_GamesDelAllClick();
  QCOMPARE(g.dlg->GamesList()->count(), 0);
  QCOMPARE(g.dlg->FileNameBox()->text(), QString());
}

void DirViewTest::levelPageCountsAsTheLevelTable() {
  Game g;
  g.Open();
  g.Click(g.dlg->JigsList(), "Harbour");  // 1000 x 750
  LevelPage* page = g.dlg->Level();
  QVERIFY(page->LevelControlsEnabled());

  // The count shown must be the engine's for the picture, shape, border and
  // level; mix and rotation never change it.
  auto expected = [&](int shape, int border, int level, bool fit) {
    JIG_P p;
    p.ImageW = 1000;
    p.ImageH = 750;
    p.FitImageW = 1000;
    p.FitImageH = 750;
    p.ShapeStyle = static_cast<uint8_t>(shape);
    p.BorderStyle = static_cast<uint8_t>(border);
    p.Level = level;
    p.FitToScreen = fit;
    LevelTable t;
    EvaluateLevelCounts(p, t);
    return QString("Pieces: %1").arg(p.TotalTileNum);
  };
  QCOMPARE(page->PieceSizeLabel()->text(), expected(3, 0, 6, false));
  struct Step {
    std::function<void()> act;
    int shape, border, level;
  } steps[] = {
      {[&] { page->ShapeMouseDown(4); }, 4, 0, 6},
      {[&] { page->BorderMouseDown(1); }, 4, 1, 6},
      {[&] { page->PieceSizeSlider()->setValue(0); }, 4, 1, 0},
      {[&] { page->PieceSizeSlider()->setValue(13); }, 4, 1, 13},
      {[&] { page->ShapeMouseDown(0); }, 0, 1, 13},
      {[&] { page->MixMouseDown(1); }, 0, 1, 13},
      {[&] { page->I_RotationMouseDown(); }, 0, 1, 13},
  };
  for (const Step& s : steps) {
    s.act();
    QCOMPARE(page->PieceSizeLabel()->text(), expected(s.shape, s.border, s.level, false));
    QVERIFY(g.dlg->OkButton()->isEnabled());
  }
  // The choices are the game's level and are remembered as the default.
  const JIG_P& b = g.dlg->BrowserJig();
  QCOMPARE(int(b.ShapeStyle), 0);
  QCOMPARE(int(b.BorderStyle), 1);
  QCOMPARE(b.Level, 13);
  QCOMPARE(int(b.SpreadOut), 1);
  QCOMPARE(int(b.Rotate), 1);
  QCOMPARE(int(g.defaultLevel.ShapeStyle), 0);
  QCOMPARE(g.defaultLevel.Level, 13);
  QCOMPARE(int(g.defaultLevel.Rotate), 1);
  // Level 0 stays under 4000 pieces, level 13 at 16 or more.
  page->PieceSizeSlider()->setValue(0);
  QVERIFY(b.TotalTileNum <= 4000 && b.TotalTileNum > 1000);
  page->PieceSizeSlider()->setValue(13);
  QVERIFY(b.TotalTileNum >= 16);

  // Fit to screen on a 1024 x 738 field does not shrink a 1000 x 750
  // picture's width: it is fitted to 984 x 738.
  page->I_FitToScreenMouseDown();
  QCOMPARE(b.FitImageW, 984);
  QCOMPARE(b.FitImageH, 738);
  JIG_P fitted;
  fitted.ImageW = 984;
  fitted.ImageH = 738;
  fitted.ShapeStyle = 0;
  fitted.BorderStyle = 1;
  fitted.Level = 13;
  LevelTable t;
  EvaluateLevelCounts(fitted, t);
  QCOMPARE(b.TotalTileNum, fitted.TotalTileNum);
}

void DirViewTest::savedGameShowsItsLevelLocked() {
  Game g;
  uitest::WriteSavedGame(g.names.sSolveDir + "Evening.sv1", "Meadow", 6, 4);
  g.Open();
  g.dlg->Pages()->setCurrentIndex(1);
  g.Click(g.dlg->GamesList(), "Evening");
  LevelPage* page = g.dlg->Level();
  QCOMPARE(g.dlg->SelectedKind(), TF_DirView::kSavedGame);
  QVERIFY(!page->LevelControlsEnabled());
  QCOMPARE(page->PieceSizeLabel()->text(), QString("Pieces: 24"));
  const JIG_P before = g.dlg->BrowserJig();
  const JIG_P defBefore = g.defaultLevel;
  page->ShapeMouseDown(6);
  page->BorderMouseDown(1 - before.BorderStyle);
  page->I_RotationMouseDown();
  page->I_FitToScreenMouseDown();
  QVERIFY(g.dlg->BrowserJig() == before);
  QVERIFY(g.defaultLevel == defBefore);
  QVERIFY(g.dlg->OkButton()->isEnabled());
  QCOMPARE(g.dlg->OkButton()->text(), QString("Open"));
  // A saved game opens straight from its list.
  g.dlg->B_OkClick();
  QCOMPARE(g.dlg->result(), int(QDialog::Accepted));
  QCOMPARE(g.dlg->ChosenFile(), g.names.sSolveDir + "Evening.sv1");
}

void DirViewTest::okLeadsThroughTheLevelPage() {
  Game g;
  g.Open();
  g.Click(g.dlg->JigsList(), "Meadow");
  QCOMPARE(g.dlg->OkButton()->text(), QString("Next"));
  g.dlg->B_OkClick();
  QVERIFY(g.dlg->isVisible());
  QCOMPARE(g.dlg->Pages()->currentWidget(), static_cast<QWidget*>(g.dlg->Level()));
  QCOMPARE(g.dlg->OkButton()->text(), QString("Open"));
  // The pack vanishes before the second OK.
  fs::rename(g.names.sUserJigDir + "Meadow.ast", g.home.path() + "Meadow.ast");
  g.dlg->B_OkClick();
  QVERIFY(g.dlg->isVisible());
  QCOMPARE(QString::fromStdString(g.boxes.shown.back().Text),
           QString("Cannot find the file Meadow.ast."));
  fs::rename(g.home.path() + "Meadow.ast", g.names.sUserJigDir + "Meadow.ast");
  g.dlg->B_OkClick();
  QCOMPARE(g.dlg->result(), int(QDialog::Accepted));
  QCOMPARE(g.dlg->ChosenFile(), g.names.sUserJigDir + "Meadow.ast");
  QCOMPARE(g.dlg->BrowserJig().ImageW, 800);
  QVERIFY(g.dlg->BrowserThumb().Width > 0);

  // Shown again with that pack: straight to the level page.
  g.Open(g.names.sUserJigDir + "Meadow.ast");
  QCOMPARE(g.dlg->Pages()->currentWidget(), static_cast<QWidget*>(g.dlg->Level()));
  QCOMPARE(g.dlg->FileNameBox()->text(), QString("Meadow.ast"));
}

void DirViewTest::saveModeNameChecks() {
  Game g;
  uitest::WriteSavedGame(g.names.sSolveDir + "Evening.sv1", "Meadow");
  g.names.bJigLoaded = 1;
  g.names.sJig = g.names.sUserJigDir + "Meadow.ast";
  g.playJig.TotalTileNum = 48;
  g.dlg->SetMode(TF_DirView::kSave);
  g.dlg->show();
  QVERIFY(!g.dlg->Pages()->tabBar()->isTabVisible(0));
  QVERIFY(!g.dlg->Pages()->tabBar()->isTabVisible(2));
  QCOMPARE(g.dlg->FileNameBox()->text(), QString("Meadow"));
  QCOMPARE(g.dlg->OkButton()->text(), QString("Save"));
  QCOMPARE(g.dlg->JigsList()->count(), 0);

  struct Case {
    const char* typed;
    const char* message;  // nullptr: no message
    bool accepted;
    const char* file;     // expected chosen file name when accepted
  } cases[] = {
      {"   ", nullptr, false, nullptr},
      {"C:\\Games\\.sv1", "Please enter a file name.", false, nullptr},
      {"a/b", "A file name must not contain the characters \\ / ?", false, nullptr},
      {"what?", "A file name must not contain the characters \\ / ?", false, nullptr},
      {"..", "A file name must not contain the characters \\ / ?", false, nullptr},
      {"C:\\Games\\Lake Shore.sv1", nullptr, true, "Lake Shore.sv1"},
      {" Rainy Day ", nullptr, true, "Rainy Day.sv1"},
  };
  for (const Case& c : cases) {
    g.boxes.shown.clear();
    g.dlg->show();
    g.dlg->FileNameBox()->setText(c.typed);
    g.dlg->B_OkClick();
    QCOMPARE(g.boxes.shown.empty(), c.message == nullptr);
    if (c.message) QCOMPARE(QString::fromStdString(g.boxes.shown[0].Text), QString(c.message));
    QCOMPARE(!g.dlg->isVisible(), c.accepted);
    if (c.accepted) QCOMPARE(g.dlg->ChosenFile(), g.names.sSolveDir + c.file);
  }

  // An existing name asks before it is replaced.
  for (int32_t answer : {kMsgCancel, kMsgOk}) {
    g.dlg->show();
    g.dlg->FileNameBox()->setText("Evening");
    g.boxes.shown.clear();
    g.boxes.answers = {answer};
    g.dlg->B_OkClick();
    QCOMPARE(g.boxes.shown.size(), size_t{1});
    QCOMPARE(g.boxes.shown[0].Style, kMsgQuestionOkCancel);
    QCOMPARE(QString::fromStdString(g.boxes.shown[0].Text),
             QString("Evening already exists.\r\nDo you want to replace it?"));
    QCOMPARE(g.dlg->isVisible(), answer == kMsgCancel);
  }
  QCOMPARE(g.dlg->ChosenFile(), g.names.sSolveDir + "Evening.sv1");
}

void DirViewTest::seedPanelOnCtrlClick() {
  Game g;
  g.Open();
  QVERIFY(!g.dlg->SeedPanelVisible());
  g.dlg->P_ButBarMouseDown(Qt::NoModifier);
  QVERIFY(!g.dlg->SeedPanelVisible());
  g.dlg->P_ButBarMouseDown(Qt::ControlModifier);
  QVERIFY(g.dlg->SeedPanelVisible());
  g.dlg->findChild<QLineEdit*>("E_Seed")->setText("  4242 ");
  g.dlg->B_OkClick();  // to the level page
  g.dlg->B_OkClick();
  QCOMPARE(g.dlg->result(), int(QDialog::Accepted));
  QCOMPARE(g.dlg->SeedText(), std::string("4242"));
  g.dlg->P_ButBarMouseDown(Qt::ControlModifier);
  QCOMPARE(g.dlg->SeedText(), std::string());
}

void DirViewTest::savedGamesListFollowsItsFiles() {
  Game g;
  // No saved game yet: the list says so.
  g.Open();
  g.WaitForThumbs();
  QCOMPARE(g.dlg->GamesList()->count(), 0);
  QVERIFY(g.dlg->EmptyGamesLabel()->isVisibleTo(g.dlg->GamesList()));
  QVERIFY(g.dlg->EmptyGamesLabel()->text().startsWith("No saved games yet"));
  g.dlg->hide();

  const std::string evening = g.names.sSolveDir + "Evening.sv1";
  const QString longName = "The harbour at dusk with every boat of the regatta";
  uitest::WriteSavedGame(evening, "Meadow", 6, 4);
  uitest::WriteSavedGame(g.names.sSolveDir + longName.toStdString() + ".sv1", "Alps");
  g.Open();
  g.WaitForThumbs();
  QVERIFY(!g.dlg->EmptyGamesLabel()->isVisibleTo(g.dlg->GamesList()));
  QListWidgetItem* item = g.Item(g.dlg->GamesList(), "Evening");
  QVERIFY(item);
  // Under the name: the save date and the solved share (nothing joined).
  const QString date = QLocale().toString(
      QFileInfo(QString::fromStdString(evening)).lastModified().date(), QLocale::ShortFormat);
  QCOMPARE(g.dlg->ItemNote(item), date + " · 0% solved");
  // Only a name the cell cuts short has a tooltip, with the whole name.
  QVERIFY(item->toolTip().isEmpty());
  QCOMPARE(g.Item(g.dlg->GamesList(), longName)->toolTip(), longName);

  // The game is saved again (half joined, another picture): the next
  // showing reads that file again, and only that file.
  const int index = g.dlg->ItemImageIndex(item);
  const QImage before = g.dlg->CachedThumbs()[static_cast<size_t>(index)];
  const int reads = g.dlg->ThumbReads();
  g.dlg->hide();
  // Another game of the same size under the same name (as the autosave
  // file gets): only the modification time tells.
  fs::remove(evening);
  uitest::WriteSavedGame(evening, "Meadow", 6, 4, 12, 0x208020);
  fs::last_write_time(evening, fs::last_write_time(evening) + std::chrono::seconds(90));
  g.Open();
  g.WaitForThumbs();
  QCOMPARE(g.dlg->ThumbReads(), reads + 1);
  item = g.Item(g.dlg->GamesList(), "Evening");
  QCOMPARE(g.dlg->ItemImageIndex(item), index);
  QVERIFY(g.dlg->CachedThumbs()[static_cast<size_t>(index)] != before);
  const QString later = QLocale().toString(
      QFileInfo(QString::fromStdString(evening)).lastModified().date(), QLocale::ShortFormat);
  QCOMPARE(g.dlg->ItemNote(item), later + " · 50% solved");

  // Unchanged files come from the cache.
  g.dlg->hide();
  g.Open();
  g.WaitForThumbs();
  QCOMPARE(g.dlg->ThumbReads(), reads + 1);
}

void DirViewTest::saveDialogIsSizedToItsContent() {
  Game g;
  uitest::WriteSavedGame(g.names.sSolveDir + "Evening.sv1", "Meadow");
  g.Open();
  const QSize openSize = g.dlg->size();
  g.dlg->hide();
  g.names.bJigLoaded = 1;
  g.names.sJig = g.names.sUserJigDir + "Meadow.ast";
  g.dlg->SetMode(TF_DirView::kSave);
  g.dlg->show();
  // Four tiles across and two rows, not the open dialog's size.
  const QSize grid = g.dlg->GamesList()->gridSize();
  QVERIFY2(g.dlg->width() < openSize.width(),
           qPrintable(QString("save %1 wide, open %2").arg(g.dlg->width()).arg(openSize.width())));
  QVERIFY(g.dlg->width() >= 4 * grid.width());
  QVERIFY(g.dlg->height() >= 2 * grid.height());
  QVERIFY(g.dlg->height() <= openSize.height());
  g.dlg->hide();
  g.Open();
  QCOMPARE(g.dlg->size(), openSize);
}

// Columns of a picture holding a pixel unlike the background colour of its
// top-left corner: first and last, -1 when none.
std::pair<int, int> DrawnColumns(const DIB_P& pic, int x0 = 0, int w = -1, int level = 40) {
  if (w < 0) w = pic.Width;
  const uint8_t* bg = DibPixel(pic, x0, 0);
  const uint8_t b0 = bg[0], b1 = bg[1], b2 = bg[2];
  int first = -1, last = -1;
  for (int x = 0; x < w; ++x)
    for (int y = 0; y < pic.Height; ++y) {
      const uint8_t* p = DibPixel(pic, x0 + x, y);
      if (std::abs(p[0] - b0) > level || std::abs(p[1] - b1) > level || std::abs(p[2] - b2) > level) {
        if (first < 0) first = x;
        last = x;
        break;
      }
    }
  return {first, last};
}

void DirViewTest::shapeMasksHaveWholeKnobsOfACutPiece() {
  DIB_P masks;
  QVERIFY(MakeShapeMasks(masks));
  auto white = [&](int k, int x, int y) {
    return DibPixel(masks, k * kShapeMaskPitch + 1 + x, y)[0] >= 128;
  };
  // No shape touches the edge of its mask: nothing of it is cut off.
  for (int k = 0; k < kShapeCount; ++k) {
    for (int x = 0; x < kShapeMaskW; ++x)
      QVERIFY2(!white(k, x, 0) && !white(k, x, kShapeMaskH - 1), qPrintable(QString("shape %1").arg(k)));
    for (int y = 0; y < kShapeMaskH; ++y)
      QVERIFY2(!white(k, 0, y) && !white(k, kShapeMaskW - 1, y), qPrintable(QString("shape %1").arg(k)));
  }
  // The classic piece: holes left and right, knobs up and down. Its width
  // is the cell; the knobs reach out about a quarter of it and their heads
  // are a fifth of it wide, as on the pieces the cut makes.
  const int k = 4;
  int left = kShapeMaskW, right = -1, top = kShapeMaskH, bottom = -1;
  for (int y = 0; y < kShapeMaskH; ++y)
    for (int x = 0; x < kShapeMaskW; ++x)
      if (white(k, x, y)) {
        left = std::min(left, x), right = std::max(right, x);
        top = std::min(top, y), bottom = std::max(bottom, y);
      }
  const int cell = right - left + 1;
  QVERIFY2(std::abs(cell - kShapeCellInMask) <= 2, qPrintable(QString("cell %1").arg(cell)));
  const double reach = ((bottom - top + 1) - cell) / 2.0;
  QVERIFY2(reach >= 0.2 * cell && reach <= 0.32 * cell, qPrintable(QString("reach %1").arg(reach)));
  int head = 0;
  for (int y = top; y < top + reach; ++y) {
    int run = 0;
    for (int x = left; x <= right; ++x)
      if (white(k, x, y)) head = std::max(head, ++run);
      else run = 0;
  }
  QVERIFY2(head >= 0.18 * cell, qPrintable(QString("knob head %1 of a %2 cell").arg(head).arg(cell)));
  // Its neck, between the head and the cell, is not a thin stalk.
  std::vector<int> widths;
  for (int y = top; y < top + reach; ++y) {
    int n = 0;
    for (int x = left; x <= right; ++x) n += white(k, x, y) ? 1 : 0;
    widths.push_back(n);
  }
  const auto widest = std::max_element(widths.begin(), widths.end());
  const auto stem = std::max(widest + 1, widths.end() - 2);  // the flare into the cell aside
  const int neck = *std::min_element(widest, stem);
  QVERIFY2(neck >= 0.45 * *widest, qPrintable(QString("neck %1 under a head of %2").arg(neck).arg(*widest)));
}

void DirViewTest::samplePieceIsTrueSizeOrScaledToFit() {
  Game g;
  g.Open();
  g.Click(g.dlg->JigsList(), "Harbour");
  LevelPage* page = g.dlg->Level();
  page->ShapeMouseDown(4);
  const QWidget* img = page->PiecePreviewImage();
  bool scaled = false, trueSize = false;
  for (int level = 0; level < kLevelCount; ++level) {
    page->PieceSizeSlider()->setValue(level);
    const QString at = QString("level %1").arg(level);
    // The sample lies inside its sunken box at every piece size.
    QVERIFY2(img->parentWidget()->contentsRect().contains(img->geometry()), qPrintable(at));
    const DIB_P& pic = page->PiecePreview();
    QCOMPARE(QSize(pic.Width, pic.Height), img->size());
    const auto [first, last] = DrawnColumns(pic);
    QVERIFY2(first > 0 && last < pic.Width - 1, qPrintable(at + " touches its box"));
    // The classic piece's cell is as wide as a piece of the game, or as the
    // box allows for its knobs.
    const int32_t t = page->Table()[static_cast<size_t>(level)].TileS;
    const double f = PiecePreviewScale(pic.Width, pic.Height, t);
    const int expected = static_cast<int>(std::lround(kShapeCellInMask * f));
    QVERIFY2(std::abs((last - first + 1) - expected) <= 2,
             qPrintable(at + QString(": %1 wide, %2 expected").arg(last - first + 1).arg(expected)));
    if (t * kShapeMaskW <= pic.Width * kShapeCellInMask && t * kShapeMaskH <= pic.Height * kShapeCellInMask) {
      QVERIFY2(std::abs((last - first + 1) - t) <= 2, qPrintable(at + " not at its true size"));
      trueSize = true;
    } else {
      scaled = true;
    }
  }
  // The fewest pieces need the scaling, the most show the true size.
  QVERIFY(scaled);
  QVERIFY(trueSize);
}

void DirViewTest::sliderEndsAndSwitchesSayWhatTheyDo() {
  Game g;
  g.Open();
  g.Click(g.dlg->JigsList(), "Harbour");
  LevelPage* page = g.dlg->Level();
  // Each end of the slider shows the count the page shows at that end, for
  // every shape and border.
  for (int shape : {0, 3, 4})
    for (int border : {0, 1}) {
      page->ShapeMouseDown(shape);
      page->BorderMouseDown(border);
      const QString ends = page->MostPiecesLabel()->text() + " / " + page->FewestPiecesLabel()->text();
      for (int level : {0, kLevelCount - 1}) {
        page->PieceSizeSlider()->setValue(level);
        const QString count = QString("%1 pieces").arg(g.dlg->BrowserJig().TotalTileNum);
        QCOMPARE(level == 0 ? page->MostPiecesLabel()->text() : page->FewestPiecesLabel()->text(), count);
      }
      // Moving the slider does not change what the ends say.
      QCOMPARE(page->MostPiecesLabel()->text() + " / " + page->FewestPiecesLabel()->text(), ends);
      QVERIFY(page->MostPiecesLabel()->isVisibleTo(page));
    }

  // Rotation and fit to screen look plainly different on and off.
  for (ChoicePicture* pic : {page->RotationPicture(), page->FitToScreenPicture()}) {
    auto toggle = [&] {
      pic == page->RotationPicture() ? page->I_RotationMouseDown() : page->I_FitToScreenMouseDown();
    };
    const int before = pic->Switch();
    QVERIFY(before == 0 || before == 1);
    const QImage first = pic->grab().toImage();
    toggle();
    QCOMPARE(pic->Switch(), 1 - before);
    const QImage second = pic->grab().toImage();
    int changed = 0;
    for (int y = 0; y < first.height(); ++y)
      for (int x = 0; x < first.width(); ++x)
        if (first.pixel(x, y) != second.pixel(x, y)) ++changed;
    QVERIFY2(changed > first.width() * first.height() / 4, qPrintable(QString("%1 pixels").arg(changed)));
    toggle();
    QCOMPARE(pic->grab().toImage(), first);
  }
}

QTEST_MAIN(DirViewTest)
#include "dirview_test.moc"
