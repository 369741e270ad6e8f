#include "browser/level_page.h"

#include <QApplication>
#include <QLabel>
#include <QPalette>
#include <QSlider>

#include "browser/choice_widgets.h"
#include "browser/level_art.h"
#include "cut/piece_preview.h"
#include "platform/qt/dib_image.h"
#include "ui/lang.h"

namespace varlo {

namespace {

constexpr int kContentW = 726, kContentH = 550;
constexpr int kShapePicW = 61, kShapePicH = 63;
constexpr uint32_t kShapeTransparent = 0xFF00FF;  // FF00FF: magenta, either byte order
constexpr uint32_t kWhite = 0xFFFFFF;

QFrame* Panel(const QString& name, QWidget* parent, QRect geometry) {
  auto* f = new QFrame(parent);
  f->setObjectName(name);
  f->setFrameShape(QFrame::StyledPanel);
  f->setFrameShadow(QFrame::Raised);
  f->setGeometry(geometry);
  return f;
}

ClickLabel* Caption(const QString& name, QWidget* parent, QRect geometry,
                    Qt::Alignment align = Qt::AlignHCenter | Qt::AlignVCenter) {
  auto* l = new ClickLabel(name, parent);
  l->setGeometry(geometry);
  l->setAlignment(align);
  return l;
}

}  // namespace

LevelPage::LevelPage(JIG_P& browserJig, JIG_P& defaultJig, QWidget* parent)
    : QWidget(parent), jig_(browserJig), def_(defaultJig) {
  setObjectName("TS_Level");
  setMinimumSize(734, 584);
  face_ = QColorToColour(QApplication::palette().color(QPalette::Window));
  // The page stands on the face colour its pictures are drawn on.
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, QApplication::palette().color(QPalette::Window));
  setPalette(pal);
  BuildArt();
  BuildControls();
  SetLevelControls(def_);
}

LevelPage::~LevelPage() = default;

void LevelPage::BuildArt() {
  MakeShapeMasks(shapeMasks_);
  MakeShapeTexture(shapeTexture_);
  // The shape pictures are sample pieces as large as the picture holds.
  DibCreate24(shapeStrip_, kShapeCount * kShapePicW, 2 * kShapePicH);
  DibFillRect(shapeStrip_, 0, 0, shapeStrip_.Width, shapeStrip_.Height, kShapeTransparent);
  const PiecePreviewArt art{&shapeMasks_, &shapeTexture_};
  DIB_P one;
  DibCreate24(one, kShapePicW, kShapePicH);
  for (int k = 0; k < kShapeCount; ++k) {
    DrawPiecePreview(one, 1000, k, art, face_);
    DibBlit(shapeStrip_, k * kShapePicW, 0, one, 0, 0, kShapePicW, kShapePicH);
  }
  MakeDisabledHalf(shapeStrip_, kShapeTransparent, face_);
  MakeChoiceStrip(ChoiceArt::Borders, borderStrip_);
  MakeChoiceStrip(ChoiceArt::Mix, mixStrip_);
  MakeChoiceStrip(ChoiceArt::Rotation, rotationStrip_);
  MakeChoiceStrip(ChoiceArt::FitToScreen, fitStrip_);
  for (DIB_P* strip : {&borderStrip_, &mixStrip_, &rotationStrip_, &fitStrip_}) {
    MakeDisabledHalf(*strip, kWhite, face_);
    // White is the strips' clear colour: show the page's face through it.
    for (int32_t y = 0; y < strip->Height; ++y)
      for (int32_t x = 0; x < strip->Width; ++x)
        if (static_cast<uint32_t>(DibGetPixel(*strip, x, y)) == kWhite) DibSetPixel(*strip, x, y, face_);
  }
}

void LevelPage::BuildControls() {
  content_ = new QWidget(this);
  content_->setObjectName("P_Content");
  content_->setGeometry(0, 0, kContentW, kContentH);

  // Thumbnail.
  pThumb_ = Panel("P_Thumb", content_, QRect(16, 8, 256, 216));
  iThumb_ = new QLabel(pThumb_);
  iThumb_->setObjectName("I_Thumb");
  iThumb_->setGeometry(8, 8, 240, 180);
  lThumb_ = Caption("L_Thumb", pThumb_, QRect(8, 192, 240, 18));
  QFont bold = lThumb_->font();
  bold.setBold(true);
  lThumb_->setFont(bold);

  // Piece size: the sample, the count and the slider.
  pPieceSize_ = Panel("P_PieceSize", content_, QRect(296, 8, 204, 300));
  pPiecePreview_ = new QFrame(pPieceSize_);
  pPiecePreview_->setObjectName("P_PiecePreview");
  pPiecePreview_->setFrameShape(QFrame::StyledPanel);
  pPiecePreview_->setFrameShadow(QFrame::Sunken);
  pPiecePreview_->setGeometry(10, 10, 184, 200);
  iPieceSize_ = new QLabel(pPiecePreview_);
  iPieceSize_->setObjectName("I_PieceSize");
  iPieceSize_->setGeometry(pPiecePreview_->contentsRect());
  lPieceSize_ = Caption("L_PieceSize", pPieceSize_, QRect(10, 218, 184, 20));
  lPieceSize_->setFont(bold);
  sbPieceSize_ = new QSlider(Qt::Horizontal, pPieceSize_);
  sbPieceSize_->setObjectName("SB_PieceSize");
  sbPieceSize_->setRange(0, kLevelCount - 1);
  sbPieceSize_->setPageStep(1);
  sbPieceSize_->setTickPosition(QSlider::TicksBelow);
  sbPieceSize_->setTickInterval(1);
  sbPieceSize_->setGeometry(10, 242, 184, 30);
  connect(sbPieceSize_, &QSlider::valueChanged, this, &LevelPage::SB_PieceSizeChange);
  // The slider runs from the most pieces on the left to the fewest on the
  // right; each end says its count.
  lMostPieces_ = new QLabel(pPieceSize_);
  lMostPieces_->setObjectName("L_MostPieces");
  lMostPieces_->setGeometry(8, 272, 94, 20);
  lMostPieces_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  lFewestPieces_ = new QLabel(pPieceSize_);
  lFewestPieces_->setObjectName("L_FewestPieces");
  lFewestPieces_->setGeometry(102, 272, 94, 20);
  lFewestPieces_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

  // Shapes: two columns (four and three) 80 apart, rows 71 apart.
  pShapes_ = Panel("P_Shapes", content_, QRect(516, 8, 194, 318));
  lShapes_ = Caption("L_Shapes", pShapes_, QRect(6, 6, 182, 20));
  lShapes_->setFont(bold);
  bSelShape_ = new SelectionFrame("B_SelShape", pShapes_);
  for (int k = 0; k < kShapeCount; ++k) {
    auto* pic = new ChoicePicture(QString("I_Shape%1").arg(k), pShapes_);
    pic->SetStrip(&shapeStrip_, k, kShapePicW, kShapePicH, kShapePicW);
    const int col = k < 4 ? 0 : 1, row = k < 4 ? k : k - 4;
    pic->move(26 + col * 80, 34 + row * 71);
    connect(pic, &ChoicePicture::pressed, this, [this, k] { ShapeMouseDown(k); });
    iShapes_[k] = pic;
  }

  // Border, mix, rotation and fit, 30 pixels below, 32 apart.
  const int rowTop = 326 + 30, rowH = 100;
  pBorders_ = Panel("P_Borders", content_, QRect(16, rowTop, 140, rowH));
  lBorders_ = Caption("L_Borders", pBorders_, QRect(4, 6, 132, 20));
  bSelBorder_ = new SelectionFrame("B_SelBorder", pBorders_);
  for (int i = 0; i < 2; ++i) {
    auto* pic = new ChoicePicture(QString("I_Border%1").arg(i), pBorders_);
    pic->SetStrip(&borderStrip_, i, kChoiceSide, kChoiceSide, kChoicePitch);
    pic->move(12 + i * 66, 36);
    connect(pic, &ChoicePicture::pressed, this, [this, i] { BorderMouseDown(i); });
    iBorders_[i] = pic;
  }
  pMix_ = Panel("P_Mix", content_, QRect(188, rowTop, 140, rowH));
  lMix_ = Caption("L_Mix", pMix_, QRect(4, 6, 132, 20));
  bSelMix_ = new SelectionFrame("B_SelMix", pMix_);
  for (int i = 0; i < 2; ++i) {
    auto* pic = new ChoicePicture(QString("I_Mix%1").arg(i), pMix_);
    pic->SetStrip(&mixStrip_, i, kChoiceSide, kChoiceSide, kChoicePitch);
    pic->move(12 + i * 66, 36);
    connect(pic, &ChoicePicture::pressed, this, [this, i] { MixMouseDown(i); });
    iMix_[i] = pic;
  }
  pRotation_ = new ClickPanel("P_Rotation", content_);
  pRotation_->setFrameShape(QFrame::StyledPanel);
  pRotation_->setFrameShadow(QFrame::Raised);
  pRotation_->setGeometry(360, rowTop, 156, rowH);
  lRotation_ = Caption("L_Rotation", pRotation_, QRect(4, 6, 148, 20));
  bSelRotation_ = new SelectionFrame("B_SelRotation", pRotation_);
  iRotation_ = new ChoicePicture("I_Rotation", pRotation_);
  iRotation_->SetStrip(&rotationStrip_, 0, kChoiceSide, kChoiceSide, kChoiceSide);
  iRotation_->move(53, 36);
  pFitToScreen_ = new ClickPanel("P_FitToScreen", content_);
  pFitToScreen_->setFrameShape(QFrame::StyledPanel);
  pFitToScreen_->setFrameShadow(QFrame::Raised);
  pFitToScreen_->setGeometry(548, rowTop, 162, rowH);
  lFitToScreen_ = Caption("L_FitToScreen", pFitToScreen_, QRect(4, 6, 154, 20));
  bSelFitToScreen_ = new SelectionFrame("B_SelFitToScreen", pFitToScreen_);
  iFitToScreen_ = new ChoicePicture("I_FitToScreen", pFitToScreen_);
  iFitToScreen_->SetStrip(&fitStrip_, 0, kChoiceSide, kChoiceSide, kChoiceSide);
  iFitToScreen_->move(56, 36);
  bSelRotation_->Surround(iRotation_);
  bSelFitToScreen_->Surround(iFitToScreen_);

  // The rotation picture, its panel and label, and the other captions all
  // turn rotation on and off.
  connect(iRotation_, &ChoicePicture::pressed, this, &LevelPage::I_RotationMouseDown);
  connect(pRotation_, &ClickPanel::pressed, this, [this] { I_RotationMouseDown(); });
  for (ClickLabel* l : {lRotation_, lThumb_, lPieceSize_, lShapes_, lBorders_, lMix_})
    connect(l, &ClickLabel::pressed, this, &LevelPage::I_RotationMouseDown);
  connect(iFitToScreen_, &ChoicePicture::pressed, this, &LevelPage::I_FitToScreenMouseDown);
  connect(pFitToScreen_, &ClickPanel::pressed, this, [this] { I_FitToScreenMouseDown(); });
  connect(lFitToScreen_, &ClickLabel::pressed, this, &LevelPage::I_FitToScreenMouseDown);
}

void LevelPage::ApplyTexts(const LANG_P& lang) {
  auto T = [&](const char* key) { return QString::fromStdString(LangText(lang, kLangLoadSave, key)); };
  for (int k = 0; k < kShapeCount; ++k) {
    shapeNames_[k] = T(("Shapes" + std::to_string(k)).c_str());
    iShapes_[k]->setToolTip(shapeNames_[k]);
  }
  for (int i = 0; i < 2; ++i) {
    borderNames_[i] = T(("Borders" + std::to_string(i)).c_str());
    iBorders_[i]->setToolTip(borderNames_[i]);
  }
  mixNames_[0] = T("Mix_Random");
  mixNames_[1] = T("Mix_Spreadout");
  iMix_[0]->setToolTip(mixNames_[0]);
  iMix_[1]->setToolTip(mixNames_[1]);
  mixCaption_ = T("Mix");
  rotateOn_ = T("RotateOn");
  rotateOff_ = T("RotateOff");
  fitOn_ = T("FitOn");
  fitOff_ = T("FitOff");
  pieceNumTemplate_ = T("L_PieceNum");
  pieceEndTemplate_ = T("L_PieceEnd");
  UpdateLabels();
  UpdateSliderEnds();
}

void LevelPage::UpdateLabels() {
  lShapes_->setText(shapeNames_[shape_]);
  lBorders_->setText(borderNames_[border_]);
  lMix_->setText(mixCaption_.isEmpty() ? mixNames_[mix_] : mixCaption_ + ": " + mixNames_[mix_]);
  lRotation_->setText(rotation_ ? rotateOn_ : rotateOff_);
  lFitToScreen_->setText(fit_ ? fitOn_ : fitOff_);
  bSelShape_->Surround(iShapes_[shape_]);
  bSelBorder_->Surround(iBorders_[border_]);
  bSelMix_->Surround(iMix_[mix_]);
  bSelRotation_->setVisible(rotation_ != 0);
  bSelFitToScreen_->setVisible(fit_ != 0);
  iRotation_->SetSwitch(rotation_);
  iFitToScreen_->SetSwitch(fit_);
  QFont f = lRotation_->font();
  f.setBold(rotation_ != 0);
  lRotation_->setFont(f);
  f.setBold(fit_ != 0);
  lFitToScreen_->setFont(f);
}

void LevelPage::UpdateSliderEnds() {
  // Counted as the page counts the chosen level.
  auto count = [&](int level) {
    JIG_P at = jig_;
    at.Level = level;
    ApplyLevel(at, table_);
    return QString::fromStdString(
        LangFormat(pieceEndTemplate_.toStdString(), {LangArg(at.TotalTileNum)}));
  };
  lMostPieces_->setText(count(0));
  lFewestPieces_->setText(count(kLevelCount - 1));
}

void LevelPage::SetLevelControls(const JIG_P& b) {
  MakeLevelTable(table_, b.ImageW, b.ImageH, b.ShapeStyle, b.BorderStyle);
  {
    const QSignalBlocker block(sbPieceSize_);
    sbPieceSize_->setValue(Clamp(b.Level, 0, kLevelCount - 1));
  }
  rotation_ = b.Rotate ? 1 : 0;
  fit_ = b.FitToScreen ? 1 : 0;
  border_ = b.BorderStyle ? 1 : 0;
  shape_ = Clamp(b.ShapeStyle, 0, kShapeCount - 1);
  mix_ = b.SpreadOut ? 1 : 0;
  UpdateLabels();
  UpdateSliderEnds();
}

bool LevelPage::EvaluateLevel(bool isPack) {
  isPack_ = isPack;
  if (isPack) EvaluateLevelCounts(jig_, table_);
  SetPieceCountText(jig_.TotalTileNum);
  UpdateSliderEnds();
  ShowPiecePreview();
  return jig_.TotalTileNum <= kMaxPlayablePieces;
}

void LevelPage::SetPieceCountText(int32_t count) {
  lPieceSize_->setText(QString::fromStdString(
      LangFormat(pieceNumTemplate_.toStdString(), {LangArg(count)})));
}

void LevelPage::ShowPiecePreview() {
  const int level = sbPieceSize_->value();
  const int32_t t = table_[static_cast<size_t>(level)].TileS;
  // The sample fills its box: at its true size, or scaled down to fit.
  const QRect box = pPiecePreview_->contentsRect();
  iPieceSize_->setGeometry(box);
  if (piecePreview_.Width != box.width() || piecePreview_.Height != box.height())
    DibCreate24(piecePreview_, box.width(), box.height());
  DrawPiecePreview(piecePreview_, t, shape_, PiecePreviewArt{&shapeMasks_, &shapeTexture_}, face_);
  iPieceSize_->setPixmap(QPixmap::fromImage(DibToImage(piecePreview_)));
}

void LevelPage::EnableLevelControls(bool on) {
  enabled_ = on;
  sbPieceSize_->setEnabled(on);
  for (ChoicePicture* p : iShapes_) p->SetLookEnabled(on);
  for (ChoicePicture* p : iBorders_) p->SetLookEnabled(on);
  for (ChoicePicture* p : iMix_) p->SetLookEnabled(on);
  iRotation_->SetLookEnabled(on);
  iFitToScreen_->SetLookEnabled(on);
}

void LevelPage::ShowPanels(bool show) {
  pThumb_->setVisible(show);
  pPieceSize_->setVisible(show);
}

bool LevelPage::PanelsShown() const { return !pThumb_->isHidden() && !pPieceSize_->isHidden(); }

void LevelPage::SetThumbnail(const DIB_P& thumb) {
  iThumb_->setPixmap(QPixmap::fromImage(DibToImage(thumb)));
}

void LevelPage::SetThumbCaption(const QString& text) { lThumb_->setText(text); }

QLabel* LevelPage::PieceSizeLabel() const { return lPieceSize_; }
QWidget* LevelPage::PiecePreviewImage() const { return iPieceSize_; }

// ---- choices ----

void LevelPage::ShapeMouseDown(int shape) {
  if (Locked() || !enabled_) return;
  shape_ = Clamp(shape, 0, kShapeCount - 1);
  def_.ShapeStyle = jig_.ShapeStyle = static_cast<uint8_t>(shape_);
  UpdateLabels();
  emit levelAcceptable(EvaluateLevel(isPack_));
}

void LevelPage::BorderMouseDown(int border) {
  if (Locked() || !enabled_) return;
  border_ = border ? 1 : 0;
  def_.BorderStyle = jig_.BorderStyle = static_cast<uint8_t>(border_);
  UpdateLabels();
  emit levelAcceptable(EvaluateLevel(isPack_));
}

void LevelPage::MixMouseDown(int mix) {
  if (Locked() || !enabled_) return;
  mix_ = mix ? 1 : 0;
  def_.SpreadOut = jig_.SpreadOut = static_cast<uint8_t>(mix_);
  UpdateLabels();
}

void LevelPage::I_RotationMouseDown() {
  if (Locked() || !enabled_) return;
  rotation_ = rotation_ ? 0 : 1;
  def_.Rotate = jig_.Rotate = static_cast<uint8_t>(rotation_);
  UpdateLabels();
}

void LevelPage::I_FitToScreenMouseDown() {
  if (Locked() || !enabled_) return;
  fit_ = fit_ ? 0 : 1;
  def_.FitToScreen = jig_.FitToScreen = static_cast<uint8_t>(fit_);
  UpdateLabels();
  emit levelAcceptable(EvaluateLevel(isPack_));
}

void LevelPage::SB_PieceSizeChange(int position) {
  if (Locked() || !enabled_) return;
  def_.Level = jig_.Level = position;
  emit levelAcceptable(EvaluateLevel(isPack_));
}

void LevelPage::FormResize() {
  const int x = Max(0, (width() - kContentW) / 2);
  content_->move(x, content_->y());
}

void LevelPage::resizeEvent(QResizeEvent*) { FormResize(); }

}  // namespace varlo
