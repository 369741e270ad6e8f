#include "browser/dirview.h"

#include <QAction>
#include <QDateTime>
#include <QFileInfo>
#include <QLocale>
#include <QElapsedTimer>
#include <QApplication>
#include <QBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <algorithm>
#include <filesystem>

#include "app/folders.h"
#include "browser/browser_files.h"
#include "browser/choice_widgets.h"
#include "browser/level_art.h"
#include "browser/level_page.h"
#include "browser/thumb_delegate.h"
#include "play/game_flags.h"
#include "files/thumb_draw.h"
#include "platform/qt/dib_image.h"
#include "ui/lang.h"
#include "raster/path_ascii.h"

namespace varlo {

namespace {

namespace fs = std::filesystem;

constexpr int kThumbTimerMs = 100;
constexpr int kThumbSliceMs = 100;  // a tenth of a second of work per tick
constexpr int kPreviewW = 240, kPreviewH = 180;
constexpr uint32_t kPlaceholderFrame = 0x800000;  // navy

std::string Trim(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
  while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
  return s.substr(b, e - b);
}

// The name after the last folder separator ("/" or a typed "\").
std::string NamePart(const std::string& s) {
  const size_t cut = s.find_last_of("/\\");
  return cut == std::string::npos ? s : s.substr(cut + 1);
}

// The extension with its dot, as written; empty when there is none.
std::string ExtensionOf(const std::string& name) {
  const size_t dot = name.find_last_of('.');
  if (dot == std::string::npos || dot == 0) return "";
  return name.substr(dot);
}

std::string WithoutExtension(const std::string& name) {
  const std::string ext = ExtensionOf(name);
  return name.substr(0, name.size() - ext.size());
}

QString Q(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

TF_DirView::TF_DirView(const DirViewContext& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx) {
  setObjectName("TF_DirView");
  setModal(true);
  face_ = QColorToColour(QApplication::palette().color(QPalette::Window));
  if (ctx_.DefaultLevel) browserJig_ = *ctx_.DefaultLevel;

  // The cache starts with the placeholder: white in a navy frame.
  DIB_P placeholder;
  DibCreate24(placeholder, kListThumbW, kListThumbH);
  DibFillRect(placeholder, 0, 0, kListThumbW, kListThumbH, 0xFFFFFF);
  DibFrame(placeholder, 2, 2, 177, 132, kPlaceholderFrame);
  ilAllThumbs_.push_back(DibToImage(placeholder));
  lbAllThumbs_.push_back("---");
  thumbStamps_.emplace_back();
  thumbNotes_.emplace_back();
  DibCreate24(iThumb_, kPreviewW, kPreviewH);
  MakeSaveIcon(saveIcon_);

  tAddItem_ = new QTimer(this);
  tAddItem_->setObjectName("T_AddItem");
  tAddItem_->setInterval(kThumbTimerMs);
  connect(tAddItem_, &QTimer::timeout, this, &TF_DirView::T_AddItemTimer);

  BuildControls();
  ApplyTexts();
  LayOutOnWorkArea();
}

TF_DirView::~TF_DirView() { tAddItem_->stop(); }

// ---- building ----

QListWidget* TF_DirView::MakeList(const QString& name, int noteLines) {
  auto* list = new QListWidget;
  list->setObjectName(name);
  list->setViewMode(QListView::IconMode);
  list->setMovement(QListView::Static);
  list->setResizeMode(QListView::Adjust);
  list->setUniformItemSizes(true);
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  list->setSpacing(2);
  list->setGridSize(QSize(kListCellW + 4,
                          kListPictureH + list->fontMetrics().height() * (1 + noteLines) + 12));
  list->setItemDelegate(
      new ThumbDelegate(&ilAllThumbs_, [this] { return drawingOn_; }, list));
  list->setContextMenuPolicy(Qt::CustomContextMenu);
  list->installEventFilter(this);
  connect(list, &QListWidget::itemClicked, this, [this, list] { LV_JigsClick(list); });
  connect(list, &QListWidget::itemDoubleClicked, this, [this, list] { LV_JigsDblClick(list); });
  connect(list, &QWidget::customContextMenuRequested, this,
          [this, list](const QPoint& pos) { ShowListMenu(list, pos); });
  return list;
}

void TF_DirView::BuildControls() {
  auto* root = new QVBoxLayout(this);
  root->setContentsMargins(8, 8, 8, 8);
  root->setSpacing(6);

  pcPages_ = new QTabWidget(this);
  pcPages_->setObjectName("PC_Pages");
  tsJigs_ = new QWidget;
  tsJigs_->setObjectName("TS_Jigs");
  lvJigs_ = MakeList("LV_Jigs", 0);
  auto* jl = new QVBoxLayout(tsJigs_);
  jl->setContentsMargins(4, 4, 4, 4);
  jl->addWidget(lvJigs_);
  tsGames_ = new QWidget;
  tsGames_->setObjectName("TS_Games");
  lvGames_ = MakeList("LV_Games", 1);
  auto* gl = new QVBoxLayout(tsGames_);
  gl->setContentsMargins(4, 4, 4, 4);
  gl->addWidget(lvGames_);
  // Said over the list while the folder holds no saved game.
  lNoGames_ = new QLabel(lvGames_->viewport());
  lNoGames_->setObjectName("L_NoSavedGames");
  lNoGames_->setAlignment(Qt::AlignCenter);
  lNoGames_->setWordWrap(true);
  lNoGames_->setAttribute(Qt::WA_TransparentForMouseEvents);
  lNoGames_->hide();
  lvGames_->viewport()->installEventFilter(this);
  level_ = new LevelPage(browserJig_, ctx_.DefaultLevel ? *ctx_.DefaultLevel : browserJig_, nullptr);
  level_->SetSavedGameTest([this] { return selectedKind_ == kSavedGame; });
  connect(level_, &LevelPage::levelAcceptable, this, [this](bool ok) { bOk_->setEnabled(ok); });
  pcPages_->addTab(tsJigs_, "TS_Jigs");
  pcPages_->addTab(tsGames_, "TS_Games");
  pcPages_->addTab(level_, "TS_Level");
  connect(pcPages_, &QTabWidget::currentChanged, this, [this] { PC_PagesChange(); });
  root->addWidget(pcPages_, 1);

  pFileName_ = new QWidget(this);
  pFileName_->setObjectName("P_FileName");
  auto* fl = new QHBoxLayout(pFileName_);
  fl->setContentsMargins(4, 0, 4, 0);
  lFileNameCap_ = new QLabel(pFileName_);
  lFileNameCap_->setObjectName("L_FileNameCap");
  eFileName_ = new QLineEdit(pFileName_);
  eFileName_->setObjectName("E_FileName");
  eFileName_->setMaxLength(200);
  connect(eFileName_, &QLineEdit::returnPressed, this, &TF_DirView::B_OkClick);
  fl->addWidget(lFileNameCap_);
  fl->addWidget(eFileName_, 1);
  root->addWidget(pFileName_);

  pButBar_ = new ClickPanel("P_ButBar", this);
  connect(pButBar_, &ClickPanel::pressed, this, &TF_DirView::P_ButBarMouseDown);
  auto* bl = new QHBoxLayout(pButBar_);
  bl->setContentsMargins(4, 2, 4, 2);
  bExtra_ = new QPushButton(pButBar_);
  bExtra_->setObjectName("B_Extra");
  bExtra_->setMinimumHeight(40);
  bExtra_->setEnabled(static_cast<bool>(ctx_.RunDownload));
  connect(bExtra_, &QPushButton::clicked, this, &TF_DirView::B_ExtraClick);
  bl->addWidget(bExtra_);
  pSeed_ = new QWidget(pButBar_);
  pSeed_->setObjectName("P_Seed");
  auto* sl = new QHBoxLayout(pSeed_);
  sl->setContentsMargins(0, 0, 0, 0);
  eSeed_ = new QLineEdit(pSeed_);
  eSeed_->setObjectName("E_Seed");
  eSeed_->setFixedWidth(110);
  eSeed_->setMaxLength(11);
  sl->addWidget(new QLabel("#", pSeed_));
  sl->addWidget(eSeed_);
  pSeed_->hide();
  bl->addWidget(pSeed_);
  bl->addStretch(1);
  lComment_ = new QLabel(pButBar_);
  lComment_->setObjectName("L_Comment");
  QFont bold = lComment_->font();
  bold.setBold(true);
  lComment_->setFont(bold);
  lComment_->setStyleSheet("color: #B00020;");
  lComment_->hide();
  bl->addWidget(lComment_);
  bl->addSpacing(12);
  bHelp_ = new QPushButton("?", pButBar_);
  bHelp_->setObjectName("B_Help");
  bHelp_->setFixedWidth(36);
  connect(bHelp_, &QPushButton::clicked, this, &TF_DirView::B_HelpClick);
  bl->addWidget(bHelp_);
  bOk_ = new QPushButton(pButBar_);
  bOk_->setObjectName("B_Ok");
  bOk_->setDefault(true);
  bOk_->setMinimumWidth(96);
  connect(bOk_, &QPushButton::clicked, this, &TF_DirView::B_OkClick);
  bl->addWidget(bOk_);
  bCancel_ = new QPushButton(pButBar_);
  bCancel_->setObjectName("B_Cancel");
  bCancel_->setMinimumWidth(96);
  connect(bCancel_, &QPushButton::clicked, this, &TF_DirView::B_CancelClick);
  bl->addWidget(bCancel_);
  root->addWidget(pButBar_);

  pmJigs_ = new QMenu(this);
  pmJigs_->setObjectName("PM_Jigs");
  pmiJigsOpen_ = pmJigs_->addAction("PMI_JigsOpen", this, &TF_DirView::B_OkClick);
  pmiJigsDel_ = pmJigs_->addAction("PMI_JigsDel", this, &TF_DirView::PMI_JigsDelClick);
  pmJigs_->addSeparator();
  pmiJigsDelAll_ = pmJigs_->addAction("PMI_JigsDelAll", this, &TF_DirView::PMI_JigsDelAllClick);
  pmGames_ = new QMenu(this);
  pmGames_->setObjectName("PM_Games");
  pmiGamesOpen_ = pmGames_->addAction("PMI_GamesOpen", this, &TF_DirView::B_OkClick);
  pmiGamesDel_ = pmGames_->addAction("PMI_GamesDel", this, &TF_DirView::PMI_GamesDelClick);
  pmGames_->addSeparator();
  pmiGamesDelAll_ =
      pmGames_->addAction("PMI_GamesDelAll", this, &TF_DirView::PMI_GamesDelAllClick);
}

void TF_DirView::ApplyTexts() {
  if (!ctx_.Lang) return;
  const LANG_P& lang = *ctx_.Lang;
  bOk_->setText(Q(LangText(lang, kLangAll, "B_Ok")));
  bCancel_->setText(Q(LangText(lang, kLangAll, "B_Cancel")));
  lComment_->setText(Q(LangText(lang, kLangLoadSave, "L_Comment")));
  lNoGames_->setText(Q(LangText(lang, kLangLoadSave, "L_NoSavedGames")));
  level_->ApplyTexts(lang);
  pcPages_->setTabText(0, Q(LangText(lang, kLangLoadSave, "TS_Jigs")));
  pcPages_->setTabText(1, Q(LangText(lang, kLangLoadSave, "TS_Games")));
  pcPages_->setTabText(2, Q(LangText(lang, kLangLoadSave, "TS_Level")));
  lFileNameCap_->setText(Q(LangText(lang, kLangLoadSave, "L_FileNameCap")));
  pmiJigsOpen_->setText(Q(LangText(lang, kLangLoadSave, "PMI_JigsOpen")));
  pmiJigsDel_->setText(Q(LangText(lang, kLangLoadSave, "PMI_JigsDel")));
  pmiJigsDelAll_->setText(Q(LangText(lang, kLangLoadSave, "PMI_JigsDelAll")));
  pmiGamesOpen_->setText(Q(LangText(lang, kLangLoadSave, "PMI_GamesOpen")));
  pmiGamesDel_->setText(Q(LangText(lang, kLangLoadSave, "PMI_GamesDel")));
  pmiGamesDelAll_->setText(Q(LangText(lang, kLangLoadSave, "PMI_GamesDelAll")));
  QString extra = Q(LangTextBr(lang, kLangLoadSave, "B_Extra"));
  extra.replace("\r\n", "\n");
  bExtra_->setText(extra);
  UpdateOkCaption();
}

void TF_DirView::LayOutOnWorkArea() {
  resize(905, 534);
  SizeForMode();
}

void TF_DirView::SizeForMode() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect work = screen->availableGeometry();
  // Opening: at least four fifths of the work area.
  QSize size(std::max(905, work.width() * 4 / 5), std::max(534, work.height() * 4 / 5));
  if (mode_ == kSave) {
    // Saving needs the name box and enough of the saved games to pick one
    // to replace: four tiles across and two rows, never more than opening.
    const QSize grid = lvGames_->gridSize();
    const int chrome = 60;  // the page's frame and margins and a scroll bar
    const QSize content(4 * grid.width() + chrome,
                        2 * grid.height() + chrome + pcPages_->tabBar()->sizeHint().height() +
                            pFileName_->sizeHint().height() + pButBar_->sizeHint().height() + 24);
    size = size.boundedTo(content);
  }
  sizedFor_ = mode_;
  resize(size);
  move(work.x() + (work.width() - size.width()) / 2, work.y() + (work.height() - size.height()) / 2);
}

std::string TF_DirView::Text(const char* key) const {
  return ctx_.Lang ? LangText(*ctx_.Lang, kLangLoadSave, key) : std::string(key);
}

int32_t TF_DirView::ShowMessage(const std::string& text, int32_t style) {
  static const Platform kNoPlatform;
  return MsgBox(ctx_.Plat ? *ctx_.Plat : kNoPlatform, text, style);
}

void TF_DirView::SetFileNameText(const std::string& text) { eFileName_->setText(Q(text)); }

bool TF_DirView::SeedPanelVisible() const { return !pSeed_->isHidden(); }

std::string TF_DirView::SeedText() const { return SeedPanelVisible() ? seedText_ : std::string(); }

int TF_DirView::ItemImageIndex(const QListWidgetItem* item) const {
  return item ? item->data(kImageIndexRole).toInt() : 0;
}

// ---- showing ----

void TF_DirView::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (!e->spontaneous()) FormActivate();
}

void TF_DirView::resizeEvent(QResizeEvent* e) {
  QDialog::resizeEvent(e);
  level_->FormResize();
}

bool TF_DirView::IsGamesPage() const { return pcPages_->currentWidget() == tsGames_; }
bool TF_DirView::IsLevelPage() const { return pcPages_->currentWidget() == level_; }

void TF_DirView::ShowThumbPanels(bool show) { level_->ShowPanels(show); }

void TF_DirView::FormActivate() {
  SetKind(kNone);
  drawingOn_ = false;
  lvJigs_->viewport()->update();
  lvGames_->viewport()->update();
  if (!chosenFile_.empty() && !IsRegularFile(chosenFile_)) chosenFile_.clear();
  const bool open = mode_ == kOpen;
  // Each mode has its own size; a size the player gave stays while the
  // mode does.
  if (sizedFor_ != mode_) SizeForMode();

  QTabBar* tabs = pcPages_->tabBar();
  tabs->setTabVisible(0, open);
  tabs->setTabVisible(2, open);
  bExtra_->setVisible(open);
  {
    const QSignalBlocker block(pcPages_);
    if (!open) {
      pcPages_->setCurrentWidget(tsGames_);
    } else if (!chosenFile_.empty() && ExtensionOf(chosenFile_) != ".sv1" &&
               AsciiLower(ExtensionOf(chosenFile_)) != ".sv1") {
      pcPages_->setCurrentWidget(gameOpenedBefore_ ? static_cast<QWidget*>(level_) : tsJigs_);
    } else if (!chosenFile_.empty()) {
      pcPages_->setCurrentWidget(tsGames_);
    } else {
      pcPages_->setCurrentWidget(tsJigs_);
    }
  }
  PC_PagesChange();
  lComment_->hide();

  const bool gameOpen = ctx_.Names && ctx_.Names->bJigLoaded;
  if (open) {
    setWindowTitle(Q(Text("Cap_Load")));
    FillLists();
    if (!gameOpen) {
      level_->EnableLevelControls(false);
      ShowThumbPanels(false);
    }
    PreviewFile(true);
    pFileName_->hide();
  } else {
    setWindowTitle(Q(Text("Cap_Save")));
    FillLists();
    std::string name;
    if (ctx_.Names) name = !ctx_.Names->sSolve.empty() ? ctx_.Names->sSolve : ctx_.Names->sJig;
    eFileName_->setText(Q(WithoutExtension(NamePart(name))));
    level_->SetPieceCountText(ctx_.PlayJig ? ctx_.PlayJig->TotalTileNum : 0);
    if (ctx_.PlayThumb && ctx_.PlayThumb->Width > 0) {
      DrawThumb(iThumb_, kPreviewW, kPreviewH, *ctx_.PlayThumb,
                ThumbOptions{&saveIcon_, &browserThumb_, face_, false});
      level_->SetThumbnail(iThumb_);
    }
    level_->EnableLevelControls(false);
    ShowThumbPanels(true);
    bOk_->setEnabled(true);
    pFileName_->show();
    eFileName_->setFocus();
    eFileName_->selectAll();
  }
  drawingOn_ = true;
  lvJigs_->viewport()->update();
  lvGames_->viewport()->update();
}

void TF_DirView::PC_PagesChange() {
  folder_ = ctx_.Names ? (IsGamesPage() ? ctx_.Names->sSolveDir : ctx_.Names->sUserJigDir) : "";
  UpdateOkCaption();
}

void TF_DirView::UpdateOkCaption() {
  const char* key = "B_Open";
  if (mode_ == kSave)
    key = "B_Save";
  else if (pcPages_->currentWidget() == tsJigs_ && ExtensionOf(ChosenPath()) != ".sv1")
    key = "B_Next";
  bOk_->setText(Q(Text(key)));
}

std::string TF_DirView::ChosenPath() const {
  const std::string name = NamePart(Trim(eFileName_->text().toStdString()));
  if (!ctx_.Names) return name;
  if (mode_ == kSave) return ctx_.Names->sSolveDir + WithoutExtension(name) + ".sv1";
  return folder_ + name;
}

// ---- the lists ----

void TF_DirView::FillOne(QListWidget* list, const std::string& folder, const char* ext) {
  const auto names = ListFiles(folder, ext, false);
  if (!names) return;
  for (const std::string& n : *names) {
    // Only the lower-case extension: the item's file is found again by its
    // caption and that extension.
    if (ExtensionOf(n) != ext) continue;
    const QString caption = Q(WithoutExtension(n));
    auto* item = new QListWidgetItem(caption, list);
    item->setData(kImageIndexRole, 0);
    const bool games = list == lvGames_;
    // A saved game has a note line, empty until its file was read.
    if (games) item->setData(kNoteRole, QString());
    const int lines = games ? 2 : 1;
    item->setSizeHint(QSize(kListCellW, kListPictureH + list->fontMetrics().height() * lines + 8));
    // A caption the cell cuts short is shown whole in the tooltip.
    if (list->fontMetrics().horizontalAdvance(caption) > kListCellW - 12) item->setToolTip(caption);
  }
}

void TF_DirView::ShowEmptyGamesMessage() {
  const bool empty = lvGames_->count() == 0;
  if (empty) lNoGames_->setGeometry(lvGames_->viewport()->rect().adjusted(12, 12, -12, -12));
  lNoGames_->setVisible(empty);
}

QString TF_DirView::ItemNote(const QListWidgetItem* item) const {
  return item ? item->data(kNoteRole).toString() : QString();
}

void TF_DirView::UseCachedThumb(QListWidgetItem* item, size_t index) {
  item->setData(kImageIndexRole, static_cast<int>(index));
  if (item->listWidget() == lvGames_) item->setData(kNoteRole, thumbNotes_[index]);
}

void TF_DirView::FillLists() {
  tAddItem_->stop();
  lvJigs_->clear();
  lvGames_->clear();
  if (ctx_.Names) {
    if (mode_ == kOpen) FillOne(lvJigs_, ctx_.Names->sUserJigDir, ".ast");
    FillOne(lvGames_, ctx_.Names->sSolveDir, ".sv1");
  }
  ShowEmptyGamesMessage();

  bool found = false;
  if (!chosenFile_.empty()) {
    const std::string name = NamePart(chosenFile_);
    const bool isGame = AsciiLower(ExtensionOf(name)) == ".sv1";
    QListWidget* list = isGame ? lvGames_ : lvJigs_;
    const QString caption = Q(WithoutExtension(name));
    for (int i = 0; i < list->count(); ++i) {
      if (list->item(i)->text().compare(caption, Qt::CaseInsensitive) != 0) continue;
      list->setCurrentRow(i);
      if ((isGame && IsGamesPage()) || (!isGame && pcPages_->currentWidget() == tsJigs_))
        list->setFocus();
      list->scrollToItem(list->item(i));
      found = true;
      break;
    }
    chosenFile_.clear();
  }
  thumbIndex_ = -1;
  thumbPhase_ = 0;
  if (mode_ == kOpen && !found) {
    {
      const QSignalBlocker block(pcPages_);
      pcPages_->setCurrentWidget(tsJigs_);
    }
    PC_PagesChange();
    if (lvJigs_->count() > 0) {
      lvJigs_->setCurrentRow(0);
      eFileName_->setText(lvJigs_->item(0)->text() + ".ast");
    } else {
      eFileName_->clear();
    }
    PreviewFile(false);
  }
  tAddItem_->start();
}

bool TF_DirView::AddNextThumb() {
  ++thumbIndex_;
  if (thumbPhase_ == 0 && thumbIndex_ >= lvJigs_->count()) {
    thumbPhase_ = 1;
    thumbIndex_ = 0;
  }
  if (thumbPhase_ == 1 && thumbIndex_ >= lvGames_->count()) return false;
  QListWidget* list = thumbPhase_ == 0 ? lvJigs_ : lvGames_;
  QListWidgetItem* item = list->item(thumbIndex_);
  const std::string name = item->text().toStdString() + (thumbPhase_ == 0 ? ".ast" : ".sv1");
  const std::string key = AsciiLower(name);
  if (!ctx_.Names) return true;
  const std::string path =
      (thumbPhase_ == 0 ? ctx_.Names->sUserJigDir : ctx_.Names->sSolveDir) + name;
  // A cached picture counts only while its file is unchanged: a save or an
  // autosave since then makes it again, in the same place of the cache.
  const FileStamp stamp = StampOf(path);
  size_t slot = 0;
  for (size_t i = 1; i < lbAllThumbs_.size(); ++i) {
    if (lbAllThumbs_[i] != key) continue;
    if (thumbStamps_[i] == stamp) {
      UseCachedThumb(item, i);
      return true;
    }
    slot = i;
    break;
  }
  DIB_P loaded;
  ++thumbReads_;
  if (LoadListThumbnail(path, thumbPhase_ == 0 ? ctx_.Names->sThumbDir : "", loaded)) {
    DIB_P listThumb;
    DrawListThumb(listThumb, loaded, thumbPhase_ == 1 ? &saveIcon_ : nullptr);
    QString note;
    if (thumbPhase_ == 1) {
      // The day of the last save: short enough to leave room for the share.
      const QString date = stamp.Ok ? QLocale().toString(QFileInfo(Q(path)).lastModified().date(),
                                                         QLocale::ShortFormat)
                                    : QString();
      const int32_t solved = SavedGameSolvedPercent(path);
      note = solved >= 0 ? Q(LangFormat(Text("L_SavedNote"), {date.toStdString(), solved}))
                         : date;
    }
    if (slot == 0) {
      lbAllThumbs_.push_back(key);
      ilAllThumbs_.emplace_back();
      thumbStamps_.emplace_back();
      thumbNotes_.emplace_back();
      slot = ilAllThumbs_.size() - 1;
    }
    ilAllThumbs_[slot] = DibToImage(listThumb);
    thumbStamps_[slot] = stamp;
    thumbNotes_[slot] = note;
    UseCachedThumb(item, slot);
  } else if (slot != 0) {
    // The file no longer gives a picture: the old one must not stand for it.
    lbAllThumbs_[slot].clear();
  }
  return true;
}

void TF_DirView::T_AddItemTimer() {
  tAddItem_->stop();
  const Platform* plat = ctx_.Plat;
  QElapsedTimer fallback;
  fallback.start();
  auto now = [&] { return plat && plat->Time ? plat->Time->NowMs() : fallback.elapsed(); };
  const int64_t start = now();
  bool more = true;
  while (more) {
    more = AddNextThumb();
    if (now() - start >= kThumbSliceMs) break;
  }
  if (more) tAddItem_->start();
}

// ---- selecting and previewing ----

void TF_DirView::PreviewFile(bool updateOk) {
  if (updateOk) {
    bOk_->setEnabled(false);
    UpdateOkCaption();
  }
  lComment_->hide();
  const std::string path = ChosenPath();
  if (!IsRegularFile(path)) {
    level_->EnableLevelControls(false);
    ShowThumbPanels(false);
    SetKind(kNone);
    return;
  }
  bool acceptable = false, ok = false;
  const std::string ext = AsciiLower(ExtensionOf(path));
  if (ext == ".ast") {
    if (ctx_.DefaultLevel) browserJig_ = *ctx_.DefaultLevel;
    FilePreview p = PreviewPack(path, browserJig_);
    if (p.Ok) {
      browserJig_ = p.Jig;
      DrawThumb(iThumb_, kPreviewW, kPreviewH, p.Thumbnail,
                ThumbOptions{nullptr, &browserThumb_, face_, false});
      level_->SetThumbnail(iThumb_);
      SetKind(kJigsaw);
      FitSize();
      level_->SetLevelControls(browserJig_);
      acceptable = level_->EvaluateLevel(true);
      ShowThumbPanels(true);
      level_->EnableLevelControls(true);
      ok = true;
    }
  } else if (ext == ".sv1") {
    FilePreview p = PreviewSavedGame(path);
    if (p.Ok) {
      browserJig_ = p.Jig;
      if (ctx_.Names) ctx_.Names->sSolveJig = p.SolveJig;
      DrawThumb(iThumb_, kPreviewW, kPreviewH, p.Thumbnail,
                ThumbOptions{&saveIcon_, &browserThumb_, face_, false});
      level_->SetThumbnail(iThumb_);
      SetKind(kSavedGame);
      level_->SetLevelControls(browserJig_);
      level_->EvaluateLevel(false);
      ShowThumbPanels(true);
      level_->EnableLevelControls(false);
      acceptable = ok = true;
    }
  }
  if (ok) {
    level_->SetThumbCaption(Q(WithoutExtension(NamePart(path))));
  } else {
    SetKind(kNone);
    lComment_->show();
    level_->EnableLevelControls(false);
    ShowThumbPanels(false);
    level_->SetThumbCaption(QString());
  }
  if (updateOk) bOk_->setEnabled(acceptable);
}

void TF_DirView::FitSize() {
  int32_t aw = 0, ah = 0;
  if (ctx_.FieldArea) {
    ctx_.FieldArea(aw, ah);
  } else if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    // Without the main window's measures: the work area less a window
    // frame and caption.
    const QRect work = screen->availableGeometry();
    const int caption = style()->pixelMetric(QStyle::PM_TitleBarHeight);
    aw = work.width() - 8;
    ah = work.height() - 8 - caption;
  }
  if (aw <= 0 || ah <= 0) {
    browserJig_.FitImageW = browserJig_.ImageW;
    browserJig_.FitImageH = browserJig_.ImageH;
    return;
  }
  FitPictureSize(browserJig_.ImageW, browserJig_.ImageH, aw, ah, browserJig_.FitImageW,
                 browserJig_.FitImageH);
}

void TF_DirView::LV_JigsClick(QListWidget* list) {
  QListWidgetItem* item = list->currentItem();
  if (!item) return;
  if (list == lvJigs_) {
    eFileName_->setText(item->text() + ".ast");
    lvGames_->clearSelection();
  } else {
    eFileName_->setText(item->text() + ".sv1");
    lvJigs_->clearSelection();
  }
  PreviewFile(true);
}

void TF_DirView::LV_JigsDblClick(QListWidget* list) {
  LV_JigsClick(list);
  if (bOk_->isEnabled()) B_OkClick();
}

void TF_DirView::LV_JigsKeyUp(QListWidget* list, int key) {
  if (key == Qt::Key_Return || key == Qt::Key_Enter) {
    LV_JigsDblClick(list);
  } else if (key == Qt::Key_Delete) {
    if (list == lvJigs_)
      PMI_JigsDelClick();
    else
      PMI_GamesDelClick();
  } else {
    LV_JigsClick(list);
  }
}

bool TF_DirView::eventFilter(QObject* watched, QEvent* event) {
  if ((watched == lvJigs_ || watched == lvGames_) && event->type() == QEvent::KeyRelease) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (!key->isAutoRepeat()) LV_JigsKeyUp(static_cast<QListWidget*>(watched), key->key());
  }
  if (lvGames_ && watched == lvGames_->viewport() && event->type() == QEvent::Resize)
    ShowEmptyGamesMessage();
  return QDialog::eventFilter(watched, event);
}

// ---- OK and Cancel ----

void TF_DirView::B_OkClick() {
  const std::string typed = Trim(eFileName_->text().toStdString());
  if (mode_ == kOpen && !IsLevelPage() && ExtensionOf(typed) != ".sv1") {
    // A pack always passes through the level page.
    pcPages_->setCurrentWidget(level_);
    return;
  }
  if (typed.empty()) return;
  if (mode_ == kSave) {
    // A folder typed in front of the name (up to the last "\") is dropped;
    // what remains must be a plain file name.
    const size_t cut = typed.find_last_of('\\');
    std::string bare = cut == std::string::npos ? typed : typed.substr(cut + 1);
    // Everything from the last dot is the extension, even at the start.
    if (const size_t dot = bare.find_last_of('.'); dot != std::string::npos) bare.resize(dot);
    if (Trim(bare).empty()) {
      ShowMessage(Text("MS_EnterFileName"), kMsgExclamationOk);
      return;
    }
    const bool invalid = std::any_of(bare.begin(), bare.end(), [](char c) {
      return c == '/' || c == '\\' || c == '?' || static_cast<unsigned char>(c) < 32;
    });
    if (invalid || bare == "." || bare == "..") {
      ShowMessage(Text("MS_InvalidFileName"), kMsgExclamationOk);
      return;
    }
    eFileName_->setText(Q(bare));
  }
  chosenFile_ = ChosenPath();
  if (mode_ == kOpen) {
    if (!IsRegularFile(chosenFile_)) {
      ShowMessage(LangFormat(Text("MS_CantFindFile"), {typed}), kMsgExclamationOk);
      return;
    }
    PreviewFile(true);
    if (!bOk_->isEnabled()) return;
    seedText_ = Trim(eSeed_->text().toStdString());
    tAddItem_->stop();
    gameOpenedBefore_ = true;
    accept();
    return;
  }
  if (IsRegularFile(chosenFile_) &&
      ShowMessage(LangFormat(Text("Q_OverwriteFile"), {eFileName_->text().toStdString()}),
                  kMsgQuestionOkCancel) != kMsgOk)
    return;
  tAddItem_->stop();
  accept();
}

void TF_DirView::B_CancelClick() { reject(); }

void TF_DirView::reject() {
  tAddItem_->stop();
  QDialog::reject();
}

void TF_DirView::B_HelpClick() {
  if (ctx_.Plat && ctx_.Plat->Shell && ctx_.Names)
    ctx_.Plat->Shell->ShowHelpTopic(ctx_.Names->sHelpFile, mode_ == kSave ? "save.htm" : "open.htm");
}

void TF_DirView::B_ExtraClick() {
  if (mode_ != kOpen || !ctx_.RunDownload || !ctx_.Names) return;
  const std::string left = ctx_.RunDownload();
  if (left.empty()) return;
  const std::string name = WithoutExtension(NamePart(left)) + ".ast";
  if (!IsRegularFile(ctx_.Names->sUserJigDir + name)) return;
  FillLists();
  const QString caption = Q(WithoutExtension(name));
  for (int i = 0; i < lvJigs_->count(); ++i) {
    if (lvJigs_->item(i)->text().compare(caption, Qt::CaseInsensitive) != 0) continue;
    lvJigs_->setCurrentRow(i);
    lvJigs_->scrollToItem(lvJigs_->item(i));
    eFileName_->setText(lvJigs_->item(i)->text() + ".ast");
    PreviewFile(true);
    break;
  }
}

void TF_DirView::P_ButBarMouseDown(Qt::KeyboardModifiers modifiers) {
  if (modifiers & Qt::ControlModifier) pSeed_->setVisible(pSeed_->isHidden());
}

// ---- deleting ----

bool TF_DirView::IsDistJigsaw(const std::string& fileName) const {
  if (!ctx_.Names) return false;
  return std::any_of(ctx_.Names->DistJigList.begin(), ctx_.Names->DistJigList.end(),
                     [&](const std::string& line) { return EqualsIgnoreAsciiCase(Trim(line), fileName); });
}

void TF_DirView::DeleteListedFile(const std::string& path) {
  if (!IsRegularFile(path)) return;
  std::error_code ec;
  if (!fs::remove(path, ec) || ec) {
    ShowMessage(LangFormat(Text("MS_CantDeleteFile"), {NamePart(path)}), kMsgExclamationOk);
    return;
  }
  const std::string name = NamePart(path);
  QListWidget* list = AsciiLower(ExtensionOf(name)) == ".sv1" ? lvGames_ : lvJigs_;
  const QString caption = Q(WithoutExtension(name));
  for (int i = 0; i < list->count(); ++i) {
    if (list->item(i)->text() == caption) {
      delete list->takeItem(i);
      if (list == lvGames_) ShowEmptyGamesMessage();
      // The thumbnail walk must not skip the item that moved up.
      if (((list == lvJigs_ && thumbPhase_ == 0) || (list == lvGames_ && thumbPhase_ == 1)) &&
          i <= thumbIndex_)
        --thumbIndex_;
      break;
    }
  }
  const std::string key = AsciiLower(name);
  for (size_t i = 1; i < lbAllThumbs_.size(); ++i)
    if (lbAllThumbs_[i] == key) lbAllThumbs_[i].clear();
  if (ctx_.Names && EqualsIgnoreAsciiCase(path, ctx_.Names->sSolve)) {
    ctx_.Names->sSolve.clear();
    if (ctx_.Flags) SetDirty(*ctx_.Flags);
  }
}

void TF_DirView::SelectAfterDelete(QListWidget* list, int row) {
  if (mode_ != kOpen && list == lvJigs_) return;
  const char* ext = list == lvJigs_ ? ".ast" : ".sv1";
  if (list->count() == 0) {
    eFileName_->clear();
  } else {
    row = std::clamp(row, 0, list->count() - 1);
    list->setCurrentRow(row);
    eFileName_->setText(list->item(row)->text() + ext);
  }
  PreviewFile(true);
}

void TF_DirView::PMI_JigsDelClick() {
  QListWidgetItem* item = lvJigs_->currentItem();
  if (!item || !item->isSelected() || !ctx_.Names) return;
  const std::string caption = item->text().toStdString();
  if (IsDistJigsaw(caption + ".ast")) {
    ShowMessage(LangFormat(Text("MS_CantDeleteFile"), {caption}), kMsgExclamationOk);
    return;
  }
  const std::string path = ctx_.Names->sUserJigDir + caption + ".ast";
  if (!IsRegularFile(path)) return;
  if (ShowMessage(LangFormat(Text("Q_DeleteFile"), {caption}), kMsgQuestionOkCancel) != kMsgOk)
    return;
  const int row = lvJigs_->row(item);
  DeleteListedFile(path);
  SelectAfterDelete(lvJigs_, row);
}

void TF_DirView::PMI_JigsDelAllClick() {
  if (!ctx_.Names) return;
  if (ShowMessage(Text("Q_DelAllJigs"), kMsgQuestionYesNo) != kMsgYes) return;
  if (const auto names = ListFiles(ctx_.Names->sUserJigDir, ".ast", false))
    for (const std::string& n : *names)
      if (ExtensionOf(n) == ".ast" && !IsDistJigsaw(n)) DeleteListedFile(ctx_.Names->sUserJigDir + n);
  int row = lvJigs_->currentRow();
  if (row < 0 || !lvJigs_->currentItem()->isSelected()) row = 0;
  SelectAfterDelete(lvJigs_, row);
}

void TF_DirView::PMI_GamesDelClick() {
  QListWidgetItem* item = lvGames_->currentItem();
  if (!item || !item->isSelected() || !ctx_.Names) return;
  const std::string caption = item->text().toStdString();
  const std::string path = ctx_.Names->sSolveDir + caption + ".sv1";
  if (!IsRegularFile(path)) return;
  if (ShowMessage(LangFormat(Text("Q_DeleteFile"), {caption}), kMsgQuestionOkCancel) != kMsgOk)
    return;
  const int row = lvGames_->row(item);
  DeleteListedFile(path);
  if (mode_ == kOpen) SelectAfterDelete(lvGames_, row);
}

void TF_DirView::PMI_GamesDelAllClick() {
  if (!ctx_.Names) return;
  if (ShowMessage(Text("Q_DelAllGames"), kMsgQuestionYesNo) != kMsgYes) return;
  if (const auto names = ListFiles(ctx_.Names->sSolveDir, ".sv1", false))
    for (const std::string& n : *names)
      if (ExtensionOf(n) == ".sv1") DeleteListedFile(ctx_.Names->sSolveDir + n);
  if (mode_ == kOpen) SelectAfterDelete(lvGames_, 0);
}

void TF_DirView::ShowListMenu(QListWidget* list, const QPoint& pos) {
  const bool selected = list->currentItem() && list->currentItem()->isSelected();
  if (list == lvJigs_) {
    pmiJigsOpen_->setEnabled(selected);
    pmiJigsDel_->setEnabled(selected);
    pmJigs_->popup(list->viewport()->mapToGlobal(pos));
  } else {
    pmiGamesOpen_->setEnabled(selected);
    pmiGamesDel_->setEnabled(selected);
    pmiGamesDelAll_->setEnabled(list->count() > 0);
    pmGames_->popup(list->viewport()->mapToGlobal(pos));
  }
}

}  // namespace varlo
