#include "app/qt/main_window.h"

#include "app/home_pages.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDateTime>
#include <QFile>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLocale>
#include <QMenu>
#include <QScreen>
#include <QUrl>
#include <QWindow>
#include <QWheelEvent>
#include <filesystem>

#include "app/field_rescale.h"
#include "app/qt/drag_cursors.h"
#include "app/qt/field_widget.h"
#include "app/qt/progress_panel.h"
#include "app/qt/skin_toolbar.h"
#include "app/recent_files.h"
#include "app/toolbar_layout.h"
#include "browser/dirview.h"
#include "cut/knob_atlas.h"
#include "files/jigsaw_pack.h"
#include "ui/qt/small_windows.h"
#include "raster/path_ascii.h"

namespace varlo {
namespace {

// Commands whose windows come with later work (options, background
// pickers, info, download, help contents, report, credits): in the menu,
// but disabled, so nothing pretends to work.
bool NotYetAvailable(Command command) {
  switch (command) {
    case Command::FileDownload:
    case Command::GameBkgAll:
    case Command::GameBkgCur:
    case Command::GameInfo:
    case Command::Options:
    case Command::HelpCont:
    case Command::HelpReport:
    case Command::HelpCredits: return true;
    default: return false;
  }
}

// The extension of a file name, dot included, in lower case ("" without one).
std::string LowerExt(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  const size_t dot = path.rfind('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
  return AsciiLower(std::string_view(path).substr(dot));
}

// The two home pages of the Help menu, set once when the game is configured
// (VARLO_HOME_URL, VARLO_PRODUCT_URL). An address without a scheme names a
// page of the installation folder.

// The toolbar buttons that follow the game commands.
constexpr int32_t kGameButtons[] = {kBiSave, kBiBkgAll, kBiBkgCur, kBiWin1, kBiWin2, kBiThumb, kBiInfo,
                                    kBiPocket1, kBiPocket2, kBiPocket3, kBiPocket4, kBiGlass, kBiWeight,
                                    kBiSelectAll};

}  // namespace

TF_Main::TF_Main(const std::string& installDir, QWidget* parent) : QWidget(parent) {
  setObjectName("TF_Main");
  setWindowTitle(kProductTitle);
  setFocusPolicy(Qt::StrongFocus);
  SetupFolders(names_, installDir.empty() ? FindInstallDir() : installDir);
  random_.SetSeed(static_cast<uint32_t>(QDateTime::currentMSecsSinceEpoch()));
  settings_ = DefaultSettings(names_);

  qt_ = std::make_unique<QtPlatform>(nullptr);
  field_ = std::make_unique<PlayField>(qt_->platform(), this, &lang_, &flags_);
  field_->SetRandom(&random_);
  field_->SetPaths(FieldPaths{names_.sExeDir, names_.sBkgPicDir, names_.sPicturesDir});
  const std::string resources = names_.sExeDir + "resources";
  PlaySkins skins;
  std::string error;
  LoadPlaySkins(skins, resources, &error);  // a missing skin only leaves its parts undrawn
  field_->SetSkins(std::move(skins));
  LoadKnobAtlas(knobAtlas_, resources, &error);

  toolbar_ = new SkinToolbar(this);
  toolbar_->Clicked = [this](int32_t b) { RunMenuItem(kToolButtons[static_cast<size_t>(b)].MenuItem); };
  fieldView_ = new FieldWidget(*field_, this);
  fieldView_->AfterInput = [this] { PresentField(); };
  fieldView_->Wheel = [this](bool up, int x, int y) { FieldWheel(up, x, y); };
  progress_ = new ProgressPanel(this);
  progress_->FieldRect = [this] { return fieldView_->geometry(); };
  progress_->EnableCommands = [this](bool on) { EnableCommands(on); };

  qt_->cursors().SetWidget(fieldView_);
  qt_->cursors().SetCustomCursor(CursorShape::DragOne, DragCursor(0));
  qt_->cursors().SetCustomCursor(CursorShape::DragGroup, DragCursor(1));
  qt_->cursors().SetCustomCursor(CursorShape::DragWeight, DragCursor(2));

  BuildMenu();
  lang_.ApplyToWindows = [this](const LANG_P&) { ApplyTexts(); };

  // The window fills the desktop's work area, and follows it.
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    setGeometry(ClientRectOnWorkArea(screen->availableGeometry()));
    connect(screen, &QScreen::availableGeometryChanged, this, [this](const QRect& a) { WorkAreaChanged(a); });
  }
  toolbar_->setGeometry(0, 0, width(), kToolbarHeight);
  fieldView_->setGeometry(0, kToolbarHeight, width(), std::max(0, height() - kToolbarHeight));
  ComputeFieldSize();

  EnableGameCommands(false);
  SetMenuEnabledState(Command::FileSaveImage, false);
  SetMenuEnabledState(Command::GameArrange, false);
  toolbar_->SetButtonEnabled(kBiArrange, false);
  flags_.bDirty = flags_.bAutoDirty = 0;
  EnableCommands(true);

  tAutoSave_.setInterval(5000);
  connect(&tAutoSave_, &QTimer::timeout, this, [this] { T_AutoSaveTimer(); });
  tStar_.setSingleShot(true);
  connect(&tStar_, &QTimer::timeout, this, [this] { PresentField(); });
  frameWatch_.setInterval(50);
  connect(&frameWatch_, &QTimer::timeout, this, [this] { WatchFrame(); });

  RunJigsawDialog = [this](bool save, const std::string& path) { return RunDirView(save, path); };
  field_->RequestFullRedraw();
}

TF_Main::~TF_Main() {
  tAutoSave_.stop();
  field_->CloseGame();
  game_.reset();
  FreeFolders(names_);
}

std::string TF_Main::Text(int32_t section, const char* key) const { return LangText(lang_, section, key); }

QAction* TF_Main::Action(const std::string& name) const {
  auto it = actions_.find(name);
  return it == actions_.end() ? nullptr : it->second;
}

QAction* TF_Main::Action(Command command) const { return Action(std::string(CommandName(command))); }

// ---------------------------------------------------------------- menu

void TF_Main::BuildMenu() {
  pmMenu_ = new QMenu(this);
  pmMenu_->setObjectName("PM_Menu");
  std::function<void(QMenu*, const std::vector<int32_t>&)> fill = [&](QMenu* into,
                                                                      const std::vector<int32_t>& list) {
    for (int32_t index : list) {
      const MenuItem& m = menu_.At(index);
      QAction* a = nullptr;
      if (m.Separator) {
        a = into->addSeparator();
      } else if (!m.Children.empty()) {
        QMenu* sub = into->addMenu(QString::fromStdString(m.Caption));
        sub->setObjectName(QString::fromStdString(m.Name));
        submenus_[m.Name] = sub;
        a = sub->menuAction();
        fill(sub, m.Children);
      } else {
        a = into->addAction(QString::fromStdString(m.Caption));
        a->setCheckable(m.Checkable);
        const Command command = *m.Cmd;  // every item that is no submenu runs a command
        connect(a, &QAction::triggered, this, [this, command] {
          // The menu closes first; the command runs from the event loop.
          QTimer::singleShot(0, this, [this, command] { RunMenuItem(command); });
        });
      }
      if (!m.Name.empty()) {
        a->setObjectName(QString::fromStdString(m.Name));
        actions_[m.Name] = a;
      }
      a->setVisible(m.Visible);
      a->setEnabled(m.Enabled);
    }
  };
  fill(pmMenu_, menu_.TopLevel());
  for (const MenuItem& m : menu_.Items())
    if (m.Cmd && NotYetAvailable(*m.Cmd)) SetMenuEnabledState(*m.Cmd, false);
  ApplyTexts();
}

std::string TF_Main::MenuCaption(const std::string& item) const {
  // The product's home page item is captioned with the product's name.
  const char* key = item == "MI_HelpProductHomePage" ? "MI_HelpVarloHomePage" : item.c_str();
  const std::string t = Text(kLangMainForm, key);
  if (t != key) return t;
  if (t != item) return t;
  const MenuItem* m = menu_.Find(item);
  return m ? m->Caption : item;
}

void TF_Main::ApplyTexts() {
  for (const MenuItem& m : menu_.Items()) {
    if (m.Separator || m.Name.empty() || m.Tag >= 100) continue;
    QAction* a = Action(m.Name);
    if (!a) continue;
    QString text = QString::fromStdString(MenuCaption(m.Name));
    if (!m.KeyText.empty()) text += "\t" + QString::fromStdString(m.KeyText);
    a->setText(text);
  }
  for (int32_t b = 0; b < kToolButtonCount; ++b) RefreshToolHint(b);
  if (quickHelp_) quickHelp_->ApplyTexts(lang_);
  if (field_) field_->UpdateWindowCaptions();
  if (dirView_) dirView_->ApplyTexts();
}

void TF_Main::SetMenuEnabledState(Command command, bool on) {
  SetMenuItemEnabled(std::string(CommandName(command)), on && !NotYetAvailable(command));
}

void TF_Main::SetMenuItemEnabled(const std::string& item, bool on) {
  if (MenuItem* m = menu_.Find(item)) m->Enabled = on;
  if (QAction* a = Action(item)) a->setEnabled(on);
}

void TF_Main::RefreshRecentItems() {
  const RECENT_FILES& r = settings_.Recent;
  for (int32_t k = 0; k < kRecentFileMax; ++k) {
    const Command recent = RecentFileCommand(k);
    MenuItem* m = menu_.Find(recent);
    QAction* a = Action(recent);
    const bool shown = k < r.Count;
    if (m) m->Visible = shown;
    if (a) {
      a->setVisible(shown);
      if (shown) a->setText(QString::fromStdString(RecentCaption(r, k)));
    }
    if (shown) SetMenuEnabledState(recent, !progress_->Shown());
  }
  if (MenuItem* sep = menu_.Find("MI_FileLastSep")) sep->Visible = r.Count > 0;
  if (QAction* a = Action("MI_FileLastSep")) a->setVisible(r.Count > 0);
}

void TF_Main::RunMenuItem(Command command) {
  if (command != Command::Menu && !menu_.Enabled(command)) return;
  const BusyScope busy(flags_);
  switch (command) {
    case Command::Menu: return MI_MenuClick();
    case Command::FileOpen: return MI_FileOpenClick();
    case Command::FileSave: return MI_FileSaveClick();
    case Command::FileSaveAs: return MI_FileSaveAsClick();
    case Command::FileLast0:
    case Command::FileLast1:
    case Command::FileLast2:
    case Command::FileLast3: return MI_FileLastClick(RecentFileOfCommand(command));
    case Command::FullScreen: return MI_FullScreenClick();
    case Command::Min: return MI_MinClick();
    case Command::Exit: return MI_ExitClick();
    case Command::HelpAbout: return MI_HelpAboutClick();
    case Command::HelpQuick: return MI_HelpQuickClick();
    case Command::HelpCont: return MI_HelpContClick();
    case Command::HelpHomePage: return MI_HelpHomePageClick(false);
    case Command::HelpProductHomePage: return MI_HelpHomePageClick(true);
    default: break;
  }
  if (field_->RunCommand(command)) PresentField();
}

void TF_Main::MI_MenuClick() {
  if (progress_->Shown()) return;
  const QRect app = toolbar_->ButtonRect(kBiApp);
  pmMenu_->popup(toolbar_->mapToGlobal(QPoint(app.left(), app.bottom() + 1)));
}

// ---------------------------------------------------------------- enabling

void TF_Main::EnableGameCommands(bool on) {
  SetMenuEnabledState(Command::FileSave, on);
  SetMenuEnabledState(Command::FileSaveAs, on);
  SetMenuItemEnabled("MI_Game", on);
  SetMenuItemEnabled("MI_Pockets", on);
  for (int32_t b : kGameButtons) toolbar_->SetButtonEnabled(b, on && !NotYetAvailable(kToolButtons[static_cast<size_t>(b)].MenuItem));
  if (on) {
    const bool two = field_->Options().Play.bSingleWin == 0;
    SetMenuEnabledState(Command::GameWin1, two);
    SetMenuEnabledState(Command::GameWin2, two);
    toolbar_->SetButtonEnabled(kBiWin1, two);
    toolbar_->SetButtonEnabled(kBiWin2, two);
  }
}

void TF_Main::EnableCommands(bool on) {
  EnableGameCommands(on && names_.bJigLoaded);
  for (Command c : {Command::FileOpen, Command::FileDownload, Command::FullScreen}) SetMenuEnabledState(c, on);
  for (int32_t k = 0; k < settings_.Recent.Count; ++k) SetMenuEnabledState(RecentFileCommand(k), on);
  for (int32_t b : {kBiOpen, kBiDownload, kBiFullScreen})
    toolbar_->SetButtonEnabled(b, on && !NotYetAvailable(kToolButtons[static_cast<size_t>(b)].MenuItem));
  toolbar_->SetButtonEnabled(kBiOptions, false);
  toolbar_->SetButtonEnabled(kBiHelp, false);
  SetMenuEnabledState(Command::FileSaveImage, on && solvedImageAvailable_);
  field_->SetInputEnabled(on && ready_);
}

// ---------------------------------------------------------------- PlayView

void TF_Main::ShowField(const XRECT& area) {
  if (RectIsEmpty(area)) return;
  fieldView_->RequestRepaint(QRect(area.Left, area.Top, area.Right - area.Left + 1, area.Bottom - area.Top + 1));
}

void TF_Main::SetMenuChecked(Command item, bool checked) {
  if (MenuItem* m = menu_.Find(item)) m->Checked = checked;
  if (QAction* a = Action(item)) {
    a->setCheckable(true);
    a->setChecked(checked);
  }
}

void TF_Main::SetMenuEnabled(Command item, bool enabled) {
  if (item == Command::FileSaveImage) solvedImageAvailable_ = enabled;
  if (item == Command::GameArrange) toolbar_->SetButtonEnabled(kBiArrange, enabled);
  SetMenuEnabledState(item, enabled && !progress_->Shown());
}

void TF_Main::SetMenuCaption(Command item, const std::string& caption) {
  QAction* a = Action(item);
  if (!a) return;
  const MenuItem* m = menu_.Find(item);
  QString text = QString::fromStdString(caption);
  if (m && !m->KeyText.empty()) text += "\t" + QString::fromStdString(m->KeyText);
  a->setText(text);
}

void TF_Main::SetToolButton(int32_t button, int32_t image, bool down) {
  if (button < 0 || button >= kToolButtonCount) return;
  if (image >= 0) toolbar_->SetButtonImage(button, image);
  toolbar_->SetButtonDown(button, down);
}

void TF_Main::SetToolEnabled(int32_t button, bool enabled) {
  if (button < 0 || button >= kToolButtonCount) return;
  toolbar_->SetButtonEnabled(button, enabled && !progress_->Shown());
}

void TF_Main::RefreshToolHint(int32_t button) {
  if (button < 0 || button >= kToolButtonCount) return;
  const ToolButtonDef& def = kToolButtons[static_cast<size_t>(button)];
  const MenuItem* m = menu_.Find(def.MenuItem);
  QString caption = QString::fromStdString(MenuCaption(std::string(CommandName(def.MenuItem))));
  if (QAction* a = Action(def.MenuItem)) caption = a->text().section('\t', 0, 0);
  toolbar_->SetHint(button, QString::fromStdString(
                                ToolbarHintText(caption.toStdString(), m ? m->KeyText : std::string())));
}

void TF_Main::SetPocketButton(int32_t pocket, bool shown, bool holdsGroups) {
  if (pocket < 0 || pocket > 3) return;
  const int32_t b = kBiPocket1 + pocket;
  toolbar_->SetButtonImage(b, holdsGroups ? kSkinPocketFull : -1);
  toolbar_->SetButtonDown(b, shown);
  SetMenuChecked(PocketCommand(pocket), shown);
}

void TF_Main::ClearToolbarHover() { toolbar_->ClearHot(); }

XRECT TF_Main::MainWindowRect() {
  XRECT r;
  const QRect g = geometry();
  RectSetXYWH(r, g.x(), g.y(), g.width(), g.height());
  return r;
}

void TF_Main::ResizeMainWindow(int32_t right, int32_t bottom) {
  if (fullScreen_) return;
  const QRect g = geometry();
  resize(std::max(320, right - g.x() + 1), std::max(240, bottom - g.y() + 1));
}

bool TF_Main::ShowFinish() {
  // The star of the last join plays out behind the finish window: its
  // timer runs in the window's event loop, so it must be going already.
  if (field_->AnimationRunning() && !tStar_.isActive()) tStar_.start(18);
  if (RunFinish) return RunFinish();
  TF_Finish dlg(lang_, this);
  return dlg.exec() == QDialog::Accepted;
}

std::string TF_Main::AskSolvedImagePath(const std::string& folder, const std::string& name) {
  if (RunSolvedImageDialog) return RunSolvedImageDialog(folder, name);
  // Qt's own dialog rather than the desktop's: it looks the same on every
  // desktop, and it is a widget of this process that a test can fill in.
  QFileDialog dlg(this, QString::fromStdString(Text(kLangMainForm, "SD_SaveImage")),
                  QString::fromStdString(folder), "Bitmap (*.bmp)");
  dlg.setObjectName("SD_SaveImage");
  dlg.setOption(QFileDialog::DontUseNativeDialog);
  dlg.setAcceptMode(QFileDialog::AcceptSave);
  dlg.setFileMode(QFileDialog::AnyFile);
  dlg.setDefaultSuffix("bmp");
  dlg.selectFile(QString::fromStdString(name));
  if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return {};
  std::string p = dlg.selectedFiles().first().toStdString();
  if (!p.empty() && LowerExt(p) != ".bmp") p += ".bmp";
  return p;
}

std::string TF_Main::ShortDate() {
  return QLocale().toString(QDate::currentDate(), QLocale::ShortFormat).toStdString();
}

void TF_Main::ReportError(const std::string& message) { ReportFailure(message); }

void TF_Main::ReportFailure(const std::string& message) {
  MsgBox(qt_->platform(), message, kMsgExclamationOk);
}

void TF_Main::PresentField() {
  field_->Present();
  if (field_->AnimationRunning() && !tStar_.isActive()) tStar_.start(18);
}

// ---------------------------------------------------------------- start-up

void TF_Main::CreateDialogs() {
  if (!quickHelp_) {
    quickHelp_ = new TF_Help(this, [this](int column) { return toolbar_->Face(column, kFaceNormal); });
    quickHelp_->KeyToMain = [this](int key, Qt::KeyboardModifiers mods, bool down, bool repeat) {
      if (repeat) return;
      if (down)
        FormKeyDown(GameKey(key), GameMods(mods));
      else
        FormKeyUp(GameKey(key), GameMods(mods));
    };
    quickHelp_->ApplyTexts(lang_);
  }
}

void TF_Main::LoadToolbarSkin() {
  const QString dir = QString::fromStdString(names_.sExeDir + "resources/");
  toolbar_->LoadSkins(dir + "toolbar_skin.png", dir + "window_skin.png");
  progress_->LoadSkin(toolbar_->WindowSkin());
  if (quickHelp_) {
    // The quick help shows the button faces: rebuild it with the skin.
    const bool show = quickHelp_->ShowAtStart()->isChecked();
    delete quickHelp_;
    quickHelp_ = nullptr;
    CreateDialogs();
    quickHelp_->ShowAtStart()->setChecked(show);
  }
  toolbar_->Layout(width(), fullScreen_);
}

void TF_Main::ApplySettingsToField() {
  FieldOptions o = field_->Options();
  o.Play = settings_.Play;
  o.StuckKoef = settings_.Opt.iStuckKoef;
  o.SoundOn = settings_.bSoundPlay != 0;
  o.ShowJoins = settings_.bShowConj != 0;
  o.Look.EmbossStyle = settings_.Opt.EmbossStyle;
  o.Look.WoodStyle = settings_.Opt.WoodStyle;
  o.Look.EdgeW = WoodEdgeWidth(settings_.Opt.WoodStyle);
  o.Look.WoodColor = settings_.Opt.WoodColor;
  field_->SetOptions(o);
  BkgBlock bkgs = field_->Backgrounds();
  bkgs.lBkg = settings_.lBkg;
  for (size_t i = 0; i < bkgs.Win.size(); ++i) bkgs.Win[i] = settings_.WindowBkg[i];
  field_->SetBackgrounds(bkgs);
}

void TF_Main::StoreFieldSettings() {
  settings_.bFullScreen = fullScreen_ ? 1 : 0;
  if (quickHelp_) settings_.ShowQuickHelp = quickHelp_->ShowAtStart()->isChecked() ? 1 : 0;
}

void TF_Main::ReadSettings() {
  LoadSettings(settings_, names_, lang_, qt_->platform());
  ApplyTexts();
  ApplySettingsToField();
  RefreshRecentItems();
  if (quickHelp_) quickHelp_->ShowAtStart()->setChecked(settings_.ShowQuickHelp != 0);
  if (settings_.bFullScreen && !fullScreen_) MI_FullScreenClick();
  FormResize();
}

void TF_Main::StartupOpen() {
  const std::string path = settings_.Recent.Count > 0 ? settings_.Recent.Items[0].sPath : std::string();
  ShowOpenDialog(path, false);
}

void TF_Main::PlaceQuickHelp() {
  if (!quickHelp_) return;
  const bool show = quickHelp_->ShowAtStart()->isChecked();
  // Sizes and the frame the window system adds are known once it is shown.
  if (show) quickHelp_->show();
  quickHelp_->ApplyTexts(lang_);
  const QRect g = frameGeometry();
  const QSize h = show ? quickHelp_->frameGeometry().size() : quickHelp_->size() + QSize(2, 24);
  quickHelp_->move(g.left() + g.width() - h.width() - 10, g.top() + (g.height() - h.height()) / 2);
}

// ---------------------------------------------------------------- layout

void TF_Main::ComputeFieldSize() {
  fieldW_ = std::max(0, width());
  fieldH_ = std::max(0, height() - kToolbarHeight);
  QSize screen(fieldW_, fieldH_ + kToolbarHeight);
  if (QScreen* s = this->screen() ? this->screen() : QGuiApplication::primaryScreen()) screen = s->size();
  field_->Resize(fieldW_, fieldH_, std::max(screen.width(), fieldW_), std::max(screen.height(), fieldH_));
}

void TF_Main::resizeEvent(QResizeEvent* e) {
  QWidget::resizeEvent(e);
  toolbar_->setGeometry(0, 0, width(), kToolbarHeight);
  fieldView_->setGeometry(0, kToolbarHeight, width(), std::max(0, height() - kToolbarHeight));
  toolbar_->Layout(width(), fullScreen_);
  if (!ready_ || switching_) return;
  FormResize();
}

void TF_Main::FormResize() {
  if (!ready_ || switching_) return;
  toolbar_->Layout(width(), fullScreen_);
  ComputeFieldSize();
  field_->RequestFullRedraw();
  PresentField();
  fieldView_->update();
}

QRect TF_Main::ClientRectOnWorkArea(const QRect& area) {
  // The window manager's frame (title bar and borders) must fit too; its
  // size is known once the window is shown, and followed when it changes.
  const QWindow* w = windowHandle();
  fittedFrame_ = w ? w->frameMargins() : QMargins();
  return area.marginsRemoved(fittedFrame_);
}

void TF_Main::showEvent(QShowEvent* e) {
  QWidget::showEvent(e);
  // A window manager frames the window a moment after it is shown, and the
  // client does not move when it does: look for the frame for two seconds.
  frameWatchTicks_ = 0;
  if (!fullScreen_) frameWatch_.start();
}

void TF_Main::WatchFrame() {
  const QWindow* w = windowHandle();
  if (fullScreen_ || !w || ++frameWatchTicks_ > 40) {
    frameWatch_.stop();
    return;
  }
  if (w->frameMargins() == fittedFrame_ || switching_) return;
  frameWatch_.stop();
  if (QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen())
    WorkAreaChanged(s->availableGeometry());
}

void TF_Main::moveEvent(QMoveEvent* e) {
  QWidget::moveEvent(e);
  const QWindow* w = windowHandle();
  if (fullScreen_ || switching_ || !w || w->frameMargins() == fittedFrame_) return;
  if (QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen())
    WorkAreaChanged(s->availableGeometry());
}

void TF_Main::WorkAreaChanged(const QRect& area) {
  if (fullScreen_ || isMinimized() || area.isEmpty()) return;
  const QRect client = ClientRectOnWorkArea(area);
  if (client == geometry()) return;
  const int32_t w0 = fieldW_, h0 = fieldH_;
  switching_ = true;
  setGeometry(client);
  toolbar_->setGeometry(0, 0, width(), kToolbarHeight);
  fieldView_->setGeometry(0, kToolbarHeight, width(), std::max(0, height() - kToolbarHeight));
  ComputeFieldSize();
  MovePiecesToFieldSize(w0, h0);
  switching_ = false;
  FormResize();
}

void TF_Main::MovePiecesToFieldSize(int32_t w0, int32_t h0) {
  if (!game_ || !names_.bJigLoaded) return;
  Jigsaw& jig = game_->Jig;
  field_->SetSideContent(jig.Jig.ImageW, jig.Jig.ImageH);
  for (int32_t win = 0; win < kPlayWindowCount; ++win)
    MoveGroupsToFieldSize(jig, win, w0, h0, fieldW_, fieldH_);
  field_->KeepReachable();
}

void TF_Main::MI_FullScreenClick() {
  fullScreen_ = !fullScreen_;
  SetMenuChecked(Command::FullScreen, fullScreen_);
  toolbar_->SetButtonDown(kBiFullScreen, fullScreen_);
  switching_ = true;
  const int32_t w0 = fieldW_, h0 = fieldH_;
  QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
  if (fullScreen_) {
    setWindowFlags(windowFlags() | Qt::FramelessWindowHint);
    if (s) setGeometry(s->geometry());
    showFullScreen();
  } else {
    setWindowFlags(windowFlags() & ~Qt::FramelessWindowHint);
    showNormal();
    // Back onto the work area, not onto the bounds before full screen.
    if (s) setGeometry(ClientRectOnWorkArea(s->availableGeometry()));
    show();
  }
  toolbar_->setGeometry(0, 0, width(), kToolbarHeight);
  fieldView_->setGeometry(0, kToolbarHeight, width(), std::max(0, height() - kToolbarHeight));
  ComputeFieldSize();
  MovePiecesToFieldSize(w0, h0);
  switching_ = false;
  FormResize();
  activateWindow();
  setFocus();
}

void TF_Main::MI_MinClick() { showMinimized(); }

void TF_Main::MI_ExitClick() { close(); }

void TF_Main::MI_HelpAboutClick() {
  const BusyScope busy(flags_);
  TF_AboutVarloUsa about(false, &lang_, this);
  about.exec();
}

void TF_Main::MI_HelpQuickClick() {
  if (!quickHelp_) CreateDialogs();
  quickHelp_->show();
  quickHelp_->raise();
}

void TF_Main::MI_HelpContClick() {
  if (qt_->platform().Shell) qt_->platform().Shell->ShowHelpTopic(names_.sHelpFile, "cont-usa.htm");
}

std::string TF_Main::HomePageAddress(bool product) const {
  const std::string configured = product ? VARLO_PRODUCT_URL : VARLO_HOME_URL;
  if (configured.find("://") != std::string::npos) return configured;
  return QUrl::fromLocalFile(QString::fromStdString(names_.sExeDir))
      .resolved(QUrl(QString::fromStdString(configured)))
      .toString()
      .toStdString();
}

void TF_Main::MI_HelpHomePageClick(bool product) {
  const std::string address = HomePageAddress(product);
  const Platform& plat = qt_->platform();
  // Without a browser the player at least learns where the page is.
  if (!plat.Shell || !plat.Shell->OpenUrl(address))
    MsgBox(plat, LangFormat(Text(kLangMainForm, "MS_CantOpenAddress"), {address}),
           kMsgExclamationOk);
}

// ---------------------------------------------------------------- keys

int32_t TF_Main::GameKey(int qtKey) {
  if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return qtKey;  // the same codes
  if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return qtKey;
  switch (qtKey) {
    case Qt::Key_Space: return kKeySpace;
    case Qt::Key_F1: return kKeyF1;
    case Qt::Key_Escape: return kKeyEscape;
    case Qt::Key_Return:
    case Qt::Key_Enter: return kKeyReturn;
    default: return 0;
  }
}

int32_t TF_Main::GameMods(Qt::KeyboardModifiers m) {
  int32_t s = 0;
  if (m & Qt::ShiftModifier) s |= kModShift;
  if (m & Qt::AltModifier) s |= kModAlt;
  if (m & Qt::ControlModifier) s |= kModCtrl;
  return s;
}

void TF_Main::keyPressEvent(QKeyEvent* e) {
  e->accept();
  // A held key repeats its presses; only the first one counts.
  if (e->isAutoRepeat()) return;
  FormKeyDown(GameKey(e->key()), GameMods(e->modifiers()));
}

void TF_Main::keyReleaseEvent(QKeyEvent* e) {
  e->accept();
  if (e->isAutoRepeat()) return;
  FormKeyUp(GameKey(e->key()), GameMods(e->modifiers()));
}

bool TF_Main::event(QEvent* e) {
  // Tab and Space belong to the game, not to focus handling.
  if (e->type() == QEvent::KeyPress) {
    auto* k = static_cast<QKeyEvent*>(e);
    if (k->key() == Qt::Key_Tab || k->key() == Qt::Key_Backtab) {
      keyPressEvent(k);
      return true;
    }
  }
  return QWidget::event(e);
}

void TF_Main::FormKeyDown(int32_t key, int32_t mods) {
  if (progress_->Shown()) return;
  keys_.Down(key, mods);
  // Escape acts at once, also while a button is held: it ends a selection
  // band and clears the selection.
  if (key == kKeyEscape && ready_ && field_->GameOpen()) {
    field_->EscapeKey();
    PresentField();
  }
}

void TF_Main::FormKeyUp(int32_t key, int32_t) {
  if (progress_->Shown()) return;
  const int32_t mods = keys_.Mods();  // as pressed; see KeyGate
  if (!keys_.Up(key)) return;
  if (key == kKeySpace) {
    if (ready_ && menu_.Enabled("MI_Game") && field_->Options().Play.bSingleWin == 0 && field_->GameOpen()) {
      const BusyScope busy(flags_);
      field_->SpaceKey();
      PresentField();
    }
    return;
  }
  if (const MenuItem* m = menu_.MatchShortcut(key, mods); m && m->Cmd) RunMenuItem(*m->Cmd);
}

void TF_Main::wheelEvent(QWheelEvent* e) { e->accept(); }

void TF_Main::FieldWheel(bool up, int32_t x, int32_t y) {
  if (!field_->GameOpen() || progress_->Shown() || !names_.bJigLoaded) return;
  if (x < 0 || y < 0 || x >= field_->Image().Width || y >= field_->Image().Height) return;
  {
    const BusyScope busy(flags_);
    field_->Wheel(up, x, y);
  }
  PresentField();
}

// ---------------------------------------------------------------- close

void TF_Main::closeEvent(QCloseEvent* e) {
  if (progress_->Shown()) {
    e->ignore();
    return;
  }
  {
    const BusyScope busy(flags_);
    if (!AskSaveChanges()) {
      e->ignore();
      return;
    }
  }
  // Busy from here on: no autosave may start during shutdown.
  shutdown_.emplace(flags_);
  tAutoSave_.stop();
  StoreFieldSettings();
  std::string error;
  if (!SaveSettings(settings_, names_, &error) && !error.empty())
    ReportFailure(error);
  if (quickHelp_) quickHelp_->hide();
  e->accept();
}

// ---------------------------------------------------------------- open and save

JigsawChoice TF_Main::RunDirView(bool saveMode, const std::string& path) {
  static JIG_P noJig;
  static DIB_P noThumb;
  if (!dirView_) {
    DirViewContext ctx;
    ctx.Names = &names_;
    ctx.DefaultLevel = &settings_.DefJig;
    ctx.Lang = &lang_;
    ctx.Plat = &qt_->platform();
    ctx.Flags = &flags_;
    ctx.PlayJig = &dvPlayJig_;
    ctx.PlayThumb = &dvPlayThumb_;
    ctx.FieldArea = [this](int32_t& w, int32_t& h) {
      QScreen* s = QGuiApplication::primaryScreen();
      const QRect a = s ? s->availableGeometry() : QRect(0, 0, 1024, 768);
      w = fullScreen_ ? a.width() : fieldW_;
      h = fullScreen_ ? a.height() - kToolbarHeight : fieldH_;
    };
    dirView_ = new TF_DirView(ctx, this);
  }
  if (game_) {
    dvPlayJig_ = game_->Jig.Jig;
    DibFromBitmap(dvPlayThumb_, game_->Thumbnail);
  }
  dirView_->SetMode(saveMode ? TF_DirView::kSave : TF_DirView::kOpen);
  dirView_->SetChosenFile(path);
  dirView_->SetFileNameText(FileNameOfPath(path));
  JigsawChoice c;
  c.Ok = dirView_->exec() == QDialog::Accepted;
  if (!c.Ok) return c;
  c.Path = dirView_->ChosenFile();
  c.Jig = dirView_->BrowserJig();
  c.Thumb = &dirView_->BrowserThumb();
  c.SeedShown = dirView_->SeedPanelVisible();
  c.SeedText = dirView_->SeedText();
  return c;
}

bool TF_Main::SaveTo(const std::string& path, bool autosave) {
  if (!game_) return false;
  SaveContext ctx;
  ctx.SaveTemp = names_.sSaveTemp;
  ctx.AutoSave = names_.sAutoSave;
  ctx.Flags = &flags_;
  ctx.Messages = &qt_->messages();
  ctx.Panel = progress_;
  ctx.Text = [this](const std::string& key) { return LangText(lang_, kLangMainForm, key); };
  return SaveSession(path, autosave, *game_, *field_, ctx).Saved;
}

bool TF_Main::AskSaveChanges() {
  if (!flags_.bDirty) return true;
  const int32_t r = MsgBox(qt_->platform(), Text(kLangMainForm, "Q_SaveChanges"), kMsgQuestionYesNoCancel);
  if (r == kMsgNo) return true;
  if (r != kMsgYes) return false;
  if (SamePathNoCase(names_.sSolve, names_.sAutoSave)) names_.sSolve.clear();
  // Only a save that worked lets the game be replaced or closed. A game
  // saved here joins the recent files as Save enters it, so the game saved
  // at exit is the one offered at the next start.
  const bool saved = !names_.sSolve.empty() ? SaveTo(names_.sSolve, false) : SaveAsDialog();
  if (saved) AddRecentFile(names_.sSolve);
  return saved;
}

bool TF_Main::SaveAsDialog() {
  if (!game_) return false;
  const JigsawChoice c = RunJigsawDialog(true, names_.sSolve);
  if (!c.Ok || c.Path.empty()) return false;
  if (!SaveTo(c.Path, false)) return false;
  names_.sSolve = c.Path;
  return true;
}

void TF_Main::MI_FileOpenClick() {
  const BusyScope busy(flags_);
  if (field_->HasSelection()) field_->ClearSelection();
  ShowOpenDialog(std::string(), false);
}

void TF_Main::MI_FileSaveClick() { SaveCommand(false); }

void TF_Main::MI_FileSaveAsClick() { SaveCommand(true); }

void TF_Main::SaveCommand(bool askName) {
  const BusyScope busy(flags_);
  if (field_->HasSelection()) {
    field_->ClearSelection();
    PresentField();
  }
  // Save never writes over the autosave file: it asks for a name instead.
  if (!askName && SamePathNoCase(names_.sSolve, names_.sAutoSave)) names_.sSolve.clear();
  if (askName || names_.sSolve.empty())
    SaveAsDialog();
  else
    SaveTo(names_.sSolve, false);
  AddRecentFile(names_.sSolve);
}

void TF_Main::MI_FileLastClick(int32_t k) {
  if (k < 0 || k >= settings_.Recent.Count) return;
  const std::string path = settings_.Recent.Items[static_cast<size_t>(k)].sPath;
  const BusyScope busy(flags_);
  ShowOpenDialog(path, true);
}

void TF_Main::AddRecentFile(const std::string& path) {
  if (path.empty()) return;
  varlo::AddRecentFile(settings_.Recent, path);
  RefreshRecentItems();
}

void TF_Main::ShowOpenDialog(const std::string& path, bool direct) {
  if (!AskSaveChanges()) return;
  if (direct && IsRegularFile(path) && LowerExt(path) == ".sv1") {
    SolveRead preview;
    if (OpenSolve(path, OpenMode::Preview, preview, nullptr) == OpenResult::Ok) {
      names_.sSolveJig = preview.SolveJig;
      OpenGame(path, nullptr);
      return;
    }
  }
  std::string p = path;
  if (p.empty()) p = IsRegularFile(names_.sSolve) ? names_.sSolve : IsRegularFile(names_.sJig) ? names_.sJig : "";
  const JigsawChoice c = RunJigsawDialog(false, p);
  if (c.Ok && !c.Path.empty()) OpenGame(c.Path, &c);
}

bool TF_Main::OpenGame(const std::string& path, const JigsawChoice* choice) {
  const BusyScope busy(flags_);
  const std::string ext = LowerExt(path);
  std::string error;
  std::unique_ptr<GameSession> session;
  const int32_t emboss = settings_.Opt.EmbossStyle, wood = settings_.Opt.WoodStyle;
  if (ext == ".ast") {
    NewGameRequest req;
    req.PackPath = path;
    if (choice) {
      req.Level = choice->Jig;
      req.Thumbnail = choice->Thumb;
      req.SeedPanelShown = choice->SeedShown;
      req.SeedText = choice->SeedText;
    } else {
      req.Level = settings_.DefJig;
    }
    req.EmbossStyle = emboss;
    req.WoodStyle = wood;
    req.KnobAtlas = &knobAtlas_;
    if (!shapes_) shapes_ = std::make_unique<GameShapes>(names_.sShapeLib);
    shapes_->Prepare(req, qt_->platform());
    session = StartNewGame(req, *field_, random_, *progress_, qt_->platform(), lang_, &error);
  } else if (ext == ".sv1") {
    session = ResumeSavedGame(path, emboss, wood, Text(kLangMainForm, "Prog_OpenJig"), *progress_, &error);
  } else {
    error = "\"" + path + "\" is neither a jigsaw nor a saved game";
  }
  if (!session) {
    progress_->HideProgress();
    // The game that was open stays as it was.
    if (game_) field_->SetSideContent(game_->Jig.Jig.ImageW, game_->Jig.Jig.ImageH);
    field_->RequestFullRedraw();
    PresentField();
    if (!error.empty()) ReportFailure(error);
    return false;
  }
  const bool thumbShown = field_->Window(kThumbWindow).Shown != 0;
  const bool glassShown = field_->Window(kGlassRef).Shown != 0;
  field_->CloseGame();
  game_ = std::move(session);
  ApplySettingsToField();
  AttachGame(*field_, *game_);
  if (ext == ".ast") {
    names_.sJig = path;
    names_.sSolve.clear();
  } else {
    names_.sJig = game_->JigName;
    names_.sSolve = path;
  }
  names_.sJigName = game_->JigName;
  names_.bJigLoaded = 1;
  AddRecentFile(path);
  solvedImageAvailable_ = false;
  EnableCommands(true);
  SetMenuEnabledState(Command::FileSaveImage, false);
  // The thumbnail and the glass stay as the player had them. Their commands
  // toggle, so they run only for a window the new game does not show as
  // it was (the field keeps both windows across games).
  if (thumbShown != (field_->Window(kThumbWindow).Shown != 0)) field_->RunCommand(Command::GameThumb);
  if (glassShown != (field_->Window(kGlassRef).Shown != 0)) field_->RunCommand(Command::GameGlass);
  field_->RequestFullRedraw();
  PresentField();
  fieldView_->update();
  flags_.bDirty = flags_.bAutoDirty = 0;
  flags_.LastAutosaveMs = qt_->clock().NowMs();
  tAutoSave_.start();
  return true;
}

void TF_Main::T_AutoSaveTimer() {
  if (!game_) return;
  AutosaveSettings a;
  a.AutoSave_bEnabled = settings_.AutoSave_bEnabled;
  a.AutoSave_iIntervalMin = settings_.AutoSave_iIntervalMin;
  const int64_t now = qt_->clock().NowMs();
  // A button held on the field or anywhere else (the toolbar) waits too.
  const bool held = fieldView_->ButtonsHeld() != Qt::NoButton || QGuiApplication::mouseButtons() != Qt::NoButton;
  if (!AutosaveDue(names_.bJigLoaded, flags_, a, now, IsRegularFile(names_.sSaveTemp), held)) return;
  const BusyScope busy(flags_);
  SaveTo(names_.sAutoSave, true);
  flags_.LastAutosaveMs = qt_->clock().NowMs();
}

}  // namespace varlo
