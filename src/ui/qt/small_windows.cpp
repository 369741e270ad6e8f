#include "ui/qt/small_windows.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/lang.h"

namespace varlo {
namespace {

QString T(const LANG_P* lang, int32_t section, const char* key, const char* fallback) {
  if (!lang) return QString::fromUtf8(fallback);
  return QString::fromStdString(LangText(*lang, section, key));
}

// One jigsaw piece outline with knobs on two sides, for the about picture.
QPainterPath PieceOutline(const QRectF& r) {
  const double k = r.width() * 0.18;
  QPainterPath p;
  p.moveTo(r.topLeft());
  p.lineTo(r.center().x() - k, r.top());
  p.arcTo(QRectF(r.center().x() - k, r.top() - k * 1.4, 2 * k, 2 * k), 200, -220);
  p.lineTo(r.topRight());
  p.lineTo(r.right(), r.center().y() - k);
  p.arcTo(QRectF(r.right() - k * 0.6, r.center().y() - k, 2 * k, 2 * k), 110, -220);
  p.lineTo(r.bottomRight());
  p.lineTo(r.bottomLeft());
  p.closeSubpath();
  return p;
}

}  // namespace

QImage TF_AboutVarloUsa::Background(int w, int h) {
  QImage img(w, h, QImage::Format_RGB32);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient g(0, 0, w, h);
  g.setColorAt(0, QColor(250, 226, 170));
  g.setColorAt(0.55, QColor(236, 178, 112));
  g.setColorAt(1, QColor(190, 120, 80));
  p.fillRect(img.rect(), g);
  // A scatter of pale pieces behind the texts.
  const QColor tones[] = {QColor(255, 255, 255, 60), QColor(120, 60, 20, 40), QColor(255, 240, 200, 70)};
  int n = 0;
  for (int y = -20; y < h; y += 70)
    for (int x = -30 + (y / 70 % 2) * 35; x < w; x += 80, ++n) {
      p.save();
      p.translate(x + 30, y + 30);
      p.rotate((n * 37) % 40 - 20);
      p.setPen(QPen(QColor(120, 70, 30, 60), 1.5));
      p.setBrush(tones[n % 3]);
      p.drawPath(PieceOutline(QRectF(-24, -24, 48, 48)));
      p.restore();
    }
  return img;
}

TF_AboutVarloUsa::TF_AboutVarloUsa(bool splash, const LANG_P* lang, QWidget* parent)
    : QDialog(parent), splash_(splash) {
  setObjectName("TF_AboutVarloUsa");
  bkg_ = Background(460, 280);
  setFixedSize(bkg_.size());
  if (splash) {
    setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
  } else {
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    setWindowTitle(T(lang, kLangAbout, "FormCaption", "About"));
  }
}

void TF_AboutVarloUsa::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.drawImage(0, 0, bkg_);
  p.setRenderHint(QPainter::TextAntialiasing);
  struct Line {
    QString text;
    int px;
  };
  const Line lines[] = {
      {QStringLiteral("Varlo Jigsaw"), 34},
      {QStringLiteral("USA Edition"), 20},
      {QStringLiteral("Version 1.45"), 15},
      {QStringLiteral("by Tovak Games"), 13},
      {QStringLiteral("www.tovakgames.example"), 13},
      {QStringLiteral("support@tovakgames.example"), 13},
      {QStringLiteral("December 30, 2024"), 13},
  };
  int y = 30;
  for (const Line& l : lines) {
    QFont f("Arial");
    f.setBold(true);
    f.setPixelSize(l.px);
    p.setFont(f);
    const int h = QFontMetrics(f).height() + 4;
    const QRect r(0, y, width(), h);
    // A white shadow one pixel right and below the black text.
    p.setPen(Qt::white);
    p.drawText(r.translated(1, 1), Qt::AlignHCenter | Qt::AlignVCenter, l.text);
    p.setPen(Qt::black);
    p.drawText(r, Qt::AlignHCenter | Qt::AlignVCenter, l.text);
    y += h + (l.px >= 20 ? 6 : 2);
  }
  if (splash_) {
    // The frame B_Frame around the splash.
    p.setPen(QPen(QColor(90, 50, 20), 2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(rect().adjusted(1, 1, -1, -1));
  }
}

void TF_AboutVarloUsa::mousePressEvent(QMouseEvent*) {
  if (!splash_) accept();
}

void TF_AboutVarloUsa::keyPressEvent(QKeyEvent* e) {
  if (splash_) return;
  if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter)
    accept();
  else if (e->key() == Qt::Key_Escape)
    reject();
}

TF_Finish::TF_Finish(const LANG_P& lang, QWidget* parent) : QDialog(parent) {
  setObjectName("TF_Finish");
  setWindowTitle(T(&lang, kLangFinish, "FormCaption", "Finish the puzzle"));
  auto* box = new QVBoxLayout(this);
  box->setContentsMargins(24, 18, 24, 14);
  auto label = [&](const char* key, int px, bool bold) {
    auto* l = new QLabel(T(&lang, kLangFinish, key, key), this);
    l->setObjectName(key);
    l->setAlignment(Qt::AlignHCenter);
    QFont f = l->font();
    f.setPixelSize(px);
    f.setBold(bold);
    l->setFont(f);
    box->addWidget(l);
    return l;
  };
  label("L_Congratulations", 22, true);
  label("L_Solved", 14, false);
  box->addSpacing(6);
  label("L_AskForSave", 13, false);
  box->addSpacing(10);
  auto* row = new QHBoxLayout;
  save_ = new QPushButton(T(&lang, kLangFinish, "B_Save", "Save"), this);
  save_->setObjectName("B_Save");
  save_->setDefault(true);
  cancel_ = new QPushButton(T(&lang, kLangAll, "B_Cancel", "Cancel"), this);
  cancel_->setObjectName("B_Cancel");
  row->addStretch();
  row->addWidget(save_);
  row->addWidget(cancel_);
  row->addStretch();
  box->addLayout(row);
  connect(save_, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
  setFixedSize(sizeHint());
}

QImage MousePicture(int button) {
  QImage img(28, 40, QImage::Format_ARGB32);
  img.fill(Qt::transparent);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF body(2, 2, 24, 36);
  p.setPen(QPen(QColor(60, 60, 60), 1.5));
  p.setBrush(QColor(245, 245, 245));
  p.drawRoundedRect(body, 11, 11);
  p.drawLine(QPointF(14, 2), QPointF(14, 16));
  p.drawLine(QPointF(2.5, 16), QPointF(25.5, 16));
  const QColor mark(220, 70, 50);
  QPainterPath clip;
  clip.addRoundedRect(body, 11, 11);
  p.setClipPath(clip);
  if (button == 0) p.fillRect(QRectF(2, 2, 12, 14), mark);
  if (button == 1) p.fillRect(QRectF(14, 2, 12, 14), mark);
  p.setClipping(false);
  p.setBrush(button == 2 ? mark : QColor(180, 180, 180));
  p.drawRoundedRect(QRectF(11, 5, 6, 9), 3, 3);
  return img;
}

QImage WheelPicture(bool up) {
  // The mouse with its wheel marked, and beside it an arrow the way the
  // wheel turns: away from the player (up) or towards them (down).
  const QImage mouse = MousePicture(2);
  QImage img(mouse.width() + 12, mouse.height(), QImage::Format_ARGB32);
  img.fill(Qt::transparent);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.drawImage(0, 0, mouse);
  const QColor mark(220, 70, 50);
  p.setPen(QPen(mark, 2.0, Qt::SolidLine, Qt::RoundCap));
  const double x = mouse.width() + 5;
  p.drawLine(QPointF(x, 4), QPointF(x, 18));
  QPainterPath head;
  const double tipY = up ? 1 : 21, back = up ? 8 : 14;
  head.moveTo(x, tipY);
  head.lineTo(x - 4.5, back);
  head.lineTo(x + 4.5, back);
  head.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(mark);
  p.drawPath(head);
  return img;
}

namespace {

QLabel* Picture(QWidget* parent, const QImage& img) {
  auto* l = new QLabel(parent);
  l->setPixmap(QPixmap::fromImage(img));
  l->setFixedSize(img.size());
  return l;
}

}  // namespace

TF_Help::TF_Help(QWidget* parent, const std::function<QImage(int column)>& face) : QDialog(parent) {
  setObjectName("TF_Help");
  setWindowFlags(Qt::Tool | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  setWindowTitle("Quick Help");
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(8, 8, 8, 8);
  inner_ = new QWidget(this);
  inner_->setObjectName("Shape1");
  inner_->setStyleSheet("#Shape1 { border: 1px solid #8a8a8a; }");
  auto* grid = new QGridLayout(inner_);
  grid->setContentsMargins(10, 8, 10, 8);
  grid->setHorizontalSpacing(10);
  grid->setVerticalSpacing(6);
  auto text = [&](const char* key) {
    auto* l = new QLabel(key, inner_);
    l->setObjectName(key);
    texts_.push_back(l);
    return l;
  };
  int row = 0;
  grid->addWidget(text("L_Click"), row++, 0, 1, 3);
  auto* f1 = new QLabel("F1", inner_);
  QFont bold = f1->font();
  bold.setBold(true);
  f1->setFont(bold);
  f1->setAlignment(Qt::AlignCenter);
  grid->addWidget(f1, row, 0);
  grid->addWidget(text("L_Contents"), row++, 1, 1, 2);
  grid->addWidget(Picture(inner_, face(0)), row, 0);
  grid->addWidget(text("L_Open"), row++, 1, 1, 2);
  grid->addWidget(Picture(inner_, face(2)), row, 0);
  grid->addWidget(text("L_Download"), row++, 1, 1, 2);
  grid->addWidget(Picture(inner_, face(18)), row, 0);
  grid->addWidget(text("L_Menu"), row++, 1, 1, 2);
  // Ctrl + a button, or the wheel, turns a piece.
  auto rotateRow = [&](int button, const char* ctrlKey, const char* wheelName, const char* key, bool wheelUp) {
    grid->addWidget(Picture(inner_, MousePicture(button)), row, 0);
    auto* h = new QHBoxLayout;
    QLabel* ctrl = text(ctrlKey);
    ctrl->setText("+Ctrl or");
    h->addWidget(ctrl);
    QLabel* wheel = Picture(inner_, WheelPicture(wheelUp));
    wheel->setObjectName(wheelName);
    wheel->setToolTip(wheelUp ? "Wheel up" : "Wheel down");
    h->addWidget(wheel);
    h->addStretch();
    grid->addLayout(h, row, 1);
    grid->addWidget(text(key), row++, 2);
  };
  rotateRow(1, "L_Ctrl", "I_Wheel", "L_RotateCW", false);
  rotateRow(0, "L_Ctrl1", "I_Wheel1", "L_RotateCCW", true);
  grid->addWidget(Picture(inner_, MousePicture(1)), row, 0);
  grid->addWidget(text("L_MoveOW"), row++, 1, 1, 2);
  auto* sides = new QHBoxLayout;
  sides->addWidget(Picture(inner_, face(5)));
  sides->addWidget(Picture(inner_, face(6)));
  grid->addLayout(sides, row, 0);
  grid->addWidget(text("L_Switch"), row, 1);
  QLabel* space = text("L_Spacebar");
  space->setFont(bold);
  grid->addWidget(space, row++, 2);
  outer->addWidget(inner_);
  bottom_ = new QGridLayout;
  bottom_->setVerticalSpacing(9);
  cbShow_ = new QCheckBox("Show this box at start", this);
  cbShow_->setObjectName("CB_Show");
  bClose_ = new QPushButton("Close", this);
  bClose_->setObjectName("B_Close");
  bottom_->setColumnStretch(0, 1);
  bottom_->addWidget(cbShow_, 0, 0);
  bottom_->addWidget(bClose_, 0, 1);
  outer->addLayout(bottom_);
  connect(bClose_, &QPushButton::clicked, this, &QWidget::hide);
  cbShow_->installEventFilter(this);
  bClose_->installEventFilter(this);
}

void TF_Help::ApplyTexts(const LANG_P& lang) {
  setWindowTitle(T(&lang, kLangQuickHelp, "FormCaption", "Quick Help"));
  for (QLabel* l : texts_) {
    const std::string key = l->objectName().toStdString();
    const char* lookup = key == "L_Ctrl1" ? "L_Ctrl" : key.c_str();
    l->setText(T(&lang, kLangQuickHelp, lookup, lookup));
  }
  cbShow_->setText(T(&lang, kLangQuickHelp, "CB_Show", "Show this box at start"));
  bClose_->setText(T(&lang, kLangAll, "B_Close", "Close"));
  LayOut();
}

// The window takes the size its texts need. The check box shares a row with
// Close while its caption fits beside it within the panel's width; a longer
// caption puts Close below it and makes the window taller, not wider.
void TF_Help::LayOut() {
  setMinimumSize(0, 0);
  setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  ensurePolished();
  for (QLabel* l : texts_) {
    l->ensurePolished();
    l->adjustSize();
  }
  if (inner_->layout()) inner_->layout()->activate();
  const int innerW = inner_->sizeHint().width();
  const int captionW = cbShow_->fontMetrics().horizontalAdvance(cbShow_->text());
  const int room = innerW - bClose_->sizeHint().width() - 16;
  closeBelow_ = room < captionW + 18;
  bottom_->removeWidget(cbShow_);
  bottom_->removeWidget(bClose_);
  if (closeBelow_) {
    bottom_->addWidget(cbShow_, 0, 0, 1, 2);
    bottom_->addWidget(bClose_, 1, 1);
  } else {
    bottom_->addWidget(cbShow_, 0, 0);
    bottom_->addWidget(bClose_, 0, 1);
  }
  if (QLayout* l = layout()) {
    l->invalidate();
    l->activate();
  }
  setFixedSize(layout() ? layout()->sizeHint() : sizeHint());
}

bool TF_Help::eventFilter(QObject* o, QEvent* e) {
  if (e->type() == QEvent::KeyPress || e->type() == QEvent::KeyRelease) {
    auto* k = static_cast<QKeyEvent*>(e);
    if (o == bClose_ && k->key() == Qt::Key_Escape) {
      if (e->type() == QEvent::KeyPress) hide();
      return true;
    }
    // Every game key goes to the main window; only Tab, Return and Enter
    // keep their meaning for the check box and the button (Space is the
    // game's side switch, not a click).
    if (KeyToMain) KeyToMain(k->key(), k->modifiers(), e->type() == QEvent::KeyPress, k->isAutoRepeat());
    return k->key() != Qt::Key_Tab && k->key() != Qt::Key_Return && k->key() != Qt::Key_Enter;
  }
  return QDialog::eventFilter(o, e);
}

void TF_Help::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Escape) {
    hide();
    return;
  }
  if (KeyToMain) KeyToMain(e->key(), e->modifiers(), true, e->isAutoRepeat());
}

void TF_Help::keyReleaseEvent(QKeyEvent* e) {
  if (KeyToMain) KeyToMain(e->key(), e->modifiers(), false, e->isAutoRepeat());
}

}  // namespace varlo
