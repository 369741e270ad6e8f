// The game's open and save dialog (TF_DirView): the jigsaw list, the
// saved-game list and the level page, with thumbnails built in slices by a
// timer and kept for the whole run.
//
// How the main window uses it (one dialog object, made once at start-up):
//
//   TF_DirView dlg(ctx, mainWindow);            // ctx: the game's records
//   dlg.SetMode(TF_DirView::kOpen);             // or kSave
//   dlg.SetChosenFile(path);                    // may be empty
//   dlg.SetFileNameText(FileNameOfPath(path));
//   if (dlg.exec() == QDialog::Accepted) {
//     dlg.ChosenFile();   // the file to open, or the path to save to
//     dlg.BrowserJig();   // open mode, a pack: the level for the new game
//     dlg.BrowserThumb(); // the full-size thumbnail the game keeps
//     dlg.SeedText();     // the typed seed when the seed panel is shown
//   }
#pragma once

#include <QDialog>
#include <QImage>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "browser/browser_files.h"
#include "raster/dib.h"
#include "jigsaw/jig_params.h"

class QListWidget;
class QListWidgetItem;
class QTabWidget;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;
class QMenu;
class QAction;

namespace varlo {

struct FILE_NAMES;
struct LANG_P;
struct GameFlags;
struct Platform;
class LevelPage;
class ClickPanel;

// What the dialog needs of the game. Everything must outlive the dialog.
struct DirViewContext {
  FILE_NAMES* Names = nullptr;   // folders, sSolve, sJig, DistJigList
  JIG_P* DefaultLevel = nullptr; // the remembered default level (settings DefJig)
  LANG_P* Lang = nullptr;
  const Platform* Plat = nullptr;  // message boxes, clock, help
  GameFlags* Flags = nullptr;      // marked changed when the open game's file is deleted
  // Save mode: the open game's parameters and stored thumbnail.
  const JIG_P* PlayJig = nullptr;
  const DIB_P* PlayThumb = nullptr;
  // The play field size of a normal main window on the current work area,
  // for fit to screen. None: the screen's work area less the window frame.
  std::function<void(int32_t& w, int32_t& h)> FieldArea;
  // Runs the download window; answers the name of the first jigsaw it left
  // (empty for none). None: the "Extra Jigsaws" button is disabled.
  std::function<std::string()> RunDownload;
};

class TF_DirView : public QDialog {
  Q_OBJECT
 public:
  enum Mode { kOpen = 1, kSave = 2 };
  enum Kind { kNone = 0, kJigsaw = 1, kSavedGame = 2 };

  explicit TF_DirView(const DirViewContext& ctx, QWidget* parent = nullptr);
  ~TF_DirView() override;

  // ---- set by the caller before showing ----
  void SetMode(Mode mode) { mode_ = mode; }
  Mode GetMode() const { return mode_; }
  void SetChosenFile(const std::string& path) { chosenFile_ = path; }
  void SetFileNameText(const std::string& text);
  // Whether a game was opened before in this run (the dialog then starts on
  // the level page for a chosen pack). The dialog sets it on every OK in
  // open mode.
  void SetGameOpenedBefore(bool on) { gameOpenedBefore_ = on; }

  // ---- read by the caller after OK ----
  const std::string& ChosenFile() const { return chosenFile_; }
  const JIG_P& BrowserJig() const { return browserJig_; }
  DIB_P& BrowserThumb() { return browserThumb_; }
  bool SeedPanelVisible() const;
  std::string SeedText() const;  // trimmed on OK; empty when the panel is hidden
  Kind SelectedKind() const { return selectedKind_; }

  // The texts of the dialog from the current language (the language pass).
  void ApplyTexts();

  // ---- handlers, named as the game's windows name them ----
  void FormActivate();
  void FillLists();
  bool AddNextThumb();
  void T_AddItemTimer();
  void PreviewFile(bool updateOk);
  std::string ChosenPath() const;
  void UpdateOkCaption();
  void DeleteListedFile(const std::string& path);
  bool IsDistJigsaw(const std::string& fileName) const;
  void B_OkClick();
  void B_CancelClick();
  void B_HelpClick();
  void B_ExtraClick();
  void LV_JigsClick(QListWidget* list);
  void LV_JigsDblClick(QListWidget* list);
  void LV_JigsKeyUp(QListWidget* list, int key);
  void PC_PagesChange();
  void PMI_JigsDelClick();
  void PMI_JigsDelAllClick();
  void PMI_GamesDelClick();
  void PMI_GamesDelAllClick();
  void P_ButBarMouseDown(Qt::KeyboardModifiers modifiers);

  // ---- for tests and screenshots ----
  QListWidget* JigsList() const { return lvJigs_; }
  QListWidget* GamesList() const { return lvGames_; }
  QTabWidget* Pages() const { return pcPages_; }
  LevelPage* Level() const { return level_; }
  QPushButton* OkButton() const { return bOk_; }
  QLineEdit* FileNameBox() const { return eFileName_; }
  QLabel* CommentLabel() const { return lComment_; }
  QTimer* ThumbTimer() const { return tAddItem_; }
  // The cache: image index of a list item (0: the placeholder) and the
  // pictures.
  int ItemImageIndex(const QListWidgetItem* item) const;
  const std::vector<QImage>& CachedThumbs() const { return ilAllThumbs_; }
  int ThumbReads() const { return thumbReads_; }
  // The line under a saved game's name: its save date and solved share.
  QString ItemNote(const QListWidgetItem* item) const;
  // The message over an empty saved-games list.
  QLabel* EmptyGamesLabel() const { return lNoGames_; }

 protected:
  void showEvent(QShowEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void reject() override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildControls();
  void BuildTexts();
  void LayOutOnWorkArea();
  QListWidget* MakeList(const QString& name, int noteLines);
  void UseCachedThumb(QListWidgetItem* item, size_t index);
  void ShowEmptyGamesMessage();
  void SizeForMode();
  void FillOne(QListWidget* list, const std::string& folder, const char* ext);
  QListWidget* ActiveList() const;
  std::string FolderOf(QListWidget* list) const;
  const char* ExtOf(QListWidget* list) const;
  void SelectAfterDelete(QListWidget* list, int row);
  void FitSize();
  bool IsGamesPage() const;
  bool IsLevelPage() const;
  void ShowThumbPanels(bool show);
  void SetKind(Kind k) { selectedKind_ = k; }
  void ShowListMenu(QListWidget* list, const QPoint& pos);
  int32_t ShowMessage(const std::string& text, int32_t style);
  std::string Text(const char* key) const;

  DirViewContext ctx_;
  Mode mode_ = kOpen;
  int sizedFor_ = 0;  // the mode the dialog was last sized for
  std::string chosenFile_;
  std::string folder_;
  Kind selectedKind_ = kNone;
  bool drawingOn_ = false;
  bool gameOpenedBefore_ = false;
  std::string seedText_;

  JIG_P browserJig_;
  DIB_P browserThumb_;
  DIB_P iThumb_;     // 240 x 180
  DIB_P saveIcon_;   // 16 x 16
  uint32_t face_ = 0xF0F0F0;

  // The thumbnail cache, kept for the life of the dialog. Index for index
  // with the pictures: the lower-case file name, the stamp of the file the
  // picture was made from, and the note line of a saved game.
  std::vector<QImage> ilAllThumbs_;
  std::vector<std::string> lbAllThumbs_;
  std::vector<FileStamp> thumbStamps_;
  std::vector<QString> thumbNotes_;
  int thumbPhase_ = 0;  // 0 jigsaws, 1 games
  int thumbIndex_ = -1;
  int thumbReads_ = 0;  // files opened for list pictures

  QTabWidget* pcPages_ = nullptr;
  QWidget* tsJigs_ = nullptr;
  QWidget* tsGames_ = nullptr;
  LevelPage* level_ = nullptr;
  QListWidget* lvJigs_ = nullptr;
  QListWidget* lvGames_ = nullptr;
  QWidget* pFileName_ = nullptr;
  QLabel* lFileNameCap_ = nullptr;
  QLineEdit* eFileName_ = nullptr;
  QLabel* lComment_ = nullptr;
  QLabel* lNoGames_ = nullptr;
  ClickPanel* pButBar_ = nullptr;
  QWidget* pSeed_ = nullptr;
  QLineEdit* eSeed_ = nullptr;
  QPushButton* bOk_ = nullptr;
  QPushButton* bCancel_ = nullptr;
  QPushButton* bHelp_ = nullptr;
  QPushButton* bExtra_ = nullptr;
  QTimer* tAddItem_ = nullptr;
  QMenu* pmJigs_ = nullptr;
  QMenu* pmGames_ = nullptr;
  QAction* pmiJigsOpen_ = nullptr;
  QAction* pmiJigsDel_ = nullptr;
  QAction* pmiJigsDelAll_ = nullptr;
  QAction* pmiGamesOpen_ = nullptr;
  QAction* pmiGamesDel_ = nullptr;
  QAction* pmiGamesDelAll_ = nullptr;
};

}  // namespace varlo
