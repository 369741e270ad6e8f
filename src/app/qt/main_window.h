// TF_Main: the game's one main window. A skinned toolbar strip on top, the
// play field below; no menu bar: every command lives in one pop-up menu
// whose shortcuts the window dispatches itself. The window owns the game's
// records (file names, settings, language, flags), the play field and the
// game in play, and runs the open and save flows with the progress panel.
#pragma once

#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "app/folders.h"
#include "app/main_menu.h"
#include "app/settings.h"
#include "play/game_flags.h"
#include "app/game_shapes.h"
#include "app/open_flow.h"
#include "play/play_field.h"
#include "play/play_view.h"
#include "raster/random.h"
#include "platform/qt/qt_platform.h"
#include "ui/lang.h"

class QMenu;
class QAction;

namespace varlo {

class FieldWidget;
class SkinToolbar;
class ProgressPanel;
class TF_DirView;
class TF_Help;

// What the open and save dialog answered.
struct JigsawChoice {
  bool Ok = false;
  std::string Path;
  JIG_P Jig;              // open mode, a pack: the chosen level
  const DIB_P* Thumb = nullptr;  // the full-size thumbnail (valid until the next dialog)
  bool SeedShown = false;
  std::string SeedText;
};

class TF_Main : public QWidget, public PlayView {
  Q_OBJECT
 public:
  // installDir: the data tree; empty: FindInstallDir().
  explicit TF_Main(const std::string& installDir = {}, QWidget* parent = nullptr);
  ~TF_Main() override;

  // ---- start-up steps (the entry sequence calls them in order) ----
  void CreateDialogs();
  void LoadToolbarSkin();
  void SetReady() { ready_ = true; }
  void ReadSettings();
  void StartupOpen();
  void PlaceQuickHelp();

  // ---- the records ----
  FILE_NAMES& Names() { return names_; }
  SETTINGS_P& Settings() { return settings_; }
  LANG_P& Lang() { return lang_; }
  GameFlags& Flags() { return flags_; }
  PlayField& Field() { return *field_; }
  GameSession* Game() { return game_.get(); }
  MainMenu& Menu() { return menu_; }
  QtPlatform& Plat() { return *qt_; }
  FieldWidget* FieldView() { return fieldView_; }
  SkinToolbar* Toolbar() { return toolbar_; }
  ProgressPanel* Panel() { return progress_; }
  TF_Help* QuickHelp() { return quickHelp_; }
  QMenu* PopupMenu() { return pmMenu_; }
  QAction* Action(const std::string& name) const;
  QAction* Action(Command command) const;
  bool IsFullScreen() const { return fullScreen_; }
  bool IsReady() const { return ready_; }
  QTimer* AutoSaveTimer() { return &tAutoSave_; }
  TF_DirView* DirView() { return dirView_; }

  // The open and save dialog; tests replace it with a script.
  std::function<JigsawChoice(bool saveMode, const std::string& path)> RunJigsawDialog;
  // The finish window; tests replace it. True: save the solved picture.
  std::function<bool()> RunFinish;
  // The file dialog of the solved picture; tests replace it.
  std::function<std::string(const std::string& folder, const std::string& name)> RunSolvedImageDialog;

  // ---- commands (menu items, toolbar buttons and keys end here) ----
  // Every command runs inside a busy scope: no autosave starts meanwhile.
  void RunMenuItem(Command command);
  void MI_MenuClick();
  void MI_FileOpenClick();
  void MI_FileSaveClick();
  void MI_FileSaveAsClick();
  void MI_FileLastClick(int32_t k);
  void MI_FullScreenClick();
  void MI_MinClick();
  void MI_ExitClick();
  void MI_HelpAboutClick();
  void MI_HelpQuickClick();
  void MI_HelpContClick();
  void MI_HelpHomePageClick(bool product);
  // The address a home page item opens: the configured one, with a page of
  // the installation folder made a file address.
  std::string HomePageAddress(bool product) const;

  // ---- flows ----
  bool AskSaveChanges();
  bool SaveAsDialog();
  void ShowOpenDialog(const std::string& path, bool direct);
  bool OpenGame(const std::string& path, const JigsawChoice* choice);
  void AddRecentFile(const std::string& path);
  void EnableCommands(bool on);
  void EnableGameCommands(bool on);
  void T_AutoSaveTimer();
  // A command's item; the commands that come with later work stay disabled.
  void SetMenuEnabledState(Command command, bool on);
  // Any item by name, submenus included.
  void SetMenuItemEnabled(const std::string& item, bool on);

  // ---- keys and wheel, also fed by the quick help window ----
  // A shortcut runs at the release of its key, with the modifiers held at
  // its press (the release's own modifiers are not looked at; see KeyGate).
  void FormKeyDown(int32_t key, int32_t mods);
  void FormKeyUp(int32_t key, int32_t mods);
  void FieldWheel(bool up, int32_t x, int32_t y);
  // Qt key to the game's key code (0 for keys the game does not use).
  static int32_t GameKey(int qtKey);
  static int32_t GameMods(Qt::KeyboardModifiers m);

  // ---- layout ----
  void FormResize();
  void ComputeFieldSize();
  // After the field changed from w0 x h0: the pieces moved group by group
  // onto the new size and the floating windows kept reachable.
  void MovePiecesToFieldSize(int32_t w0, int32_t h0);
  // The desktop's work area changed (a panel appeared, grew or went away):
  // a window that is not full screen follows it, and the pieces are moved
  // onto the new field size as full screen moves them.
  void WorkAreaChanged(const QRect& area);
  int32_t FieldW() const { return fieldW_; }
  int32_t FieldH() const { return fieldH_; }

  // ---- PlayView ----
  void ShowField(const XRECT& area) override;
  void SetMenuChecked(Command item, bool checked) override;
  void SetMenuEnabled(Command item, bool enabled) override;
  void SetMenuCaption(Command item, const std::string& caption) override;
  void SetToolButton(int32_t button, int32_t image, bool down) override;
  void SetToolEnabled(int32_t button, bool enabled) override;
  void RefreshToolHint(int32_t button) override;
  void SetPocketButton(int32_t pocket, bool shown, bool holdsGroups) override;
  void ClearToolbarHover() override;
  XRECT MainWindowRect() override;
  void ResizeMainWindow(int32_t right, int32_t bottom) override;
  bool ShowFinish() override;
  std::string AskSolvedImagePath(const std::string& folder, const std::string& name) override;
  std::string ShortDate() override;
  void ReportError(const std::string& message) override;

  // The texts of the window from the current language.
  void ApplyTexts();
  // Present the field and keep the join star running.
  void PresentField();

 protected:
  void closeEvent(QCloseEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void keyReleaseEvent(QKeyEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void moveEvent(QMoveEvent* e) override;
  void showEvent(QShowEvent* e) override;
  void wheelEvent(QWheelEvent* e) override;
  bool event(QEvent* e) override;

 private:
  void BuildMenu();
  void RefreshRecentItems();
  void ApplySettingsToField();
  void StoreFieldSettings();
  void ReportFailure(const std::string& message);
  std::string Text(int32_t section, const char* key) const;
  std::string MenuCaption(const std::string& item) const;
  // The client rectangle whose frame fills the work area.
  QRect ClientRectOnWorkArea(const QRect& area);
  void WatchFrame();
  JigsawChoice RunDirView(bool saveMode, const std::string& path);
  bool SaveTo(const std::string& path, bool autosave);
  // Save and Save As: askName always asks for the file name, Save only
  // when the game has none yet.
  void SaveCommand(bool askName);

  FILE_NAMES names_;
  SETTINGS_P settings_;
  LANG_P lang_;
  GameFlags flags_;
  // Held from an accepted close on: no autosave starts during shutdown.
  std::optional<BusyScope> shutdown_;
  RandomGenerator random_;
  MainMenu menu_;
  KeyGate keys_;
  std::unique_ptr<QtPlatform> qt_;
  std::unique_ptr<PlayField> field_;
  std::unique_ptr<GameSession> game_;
  DIB_P knobAtlas_;
  // The artistic pieces' drawings, read at the first style-3 game of the run.
  std::unique_ptr<GameShapes> shapes_;
  // The open game's parameters and thumbnail as the save dialog shows them.
  JIG_P dvPlayJig_;
  DIB_P dvPlayThumb_;

  QMenu* pmMenu_ = nullptr;
  std::map<std::string, QAction*> actions_;
  std::map<std::string, QMenu*> submenus_;
  SkinToolbar* toolbar_ = nullptr;
  FieldWidget* fieldView_ = nullptr;
  ProgressPanel* progress_ = nullptr;
  TF_DirView* dirView_ = nullptr;
  TF_Help* quickHelp_ = nullptr;
  QTimer tAutoSave_;
  QTimer tStar_;
  QTimer frameWatch_;  // looks for the window manager's frame after showing
  int frameWatchTicks_ = 0;

  bool ready_ = false;
  bool fullScreen_ = false;
  bool switching_ = false;
  QMargins fittedFrame_;  // the frame the window was last fitted with
  bool solvedImageAvailable_ = false;
  int32_t fieldW_ = 0, fieldH_ = 0;
};

}  // namespace varlo
