#include "app/qt/progress_panel.h"

#include <QCoreApplication>
#include <QPainter>

namespace varlo {

namespace {
constexpr int kBarX = 35, kBarY = 56, kBarH = 20;
}

ProgressPanel::ProgressPanel(QWidget* parent) : QWidget(parent) {
  setObjectName("P_Progress");
  setFixedSize(kPanelW, kPanelH);
  setAttribute(Qt::WA_TranslucentBackground);
  hide();
}

void ProgressPanel::LoadSkin(const QImage& windowSkin) {
  skin_ = windowSkin.convertToFormat(QImage::Format_ARGB32);
  update();
}

int ProgressPanel::BarWidth() const {
  const int empty = kPanelW - 70;
  if (maximum_ <= 0) return 0;
  // A sequence that takes more steps than announced keeps a full bar.
  return std::min(position_, maximum_) * empty / maximum_;
}

void ProgressPanel::Pump() {
  repaint();
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void ProgressPanel::ShowProgress(const QString& text, int steps) {
  if (FieldRect) {
    const QRect f = FieldRect();
    move(f.left() + (f.width() - width()) / 2, f.top() + (f.height() - height()) / 2);
  }
  position_ = 0;
  maximum_ = std::max(steps, 1);
  caption_ = text;
  raise();
  show();
  const bool wasShown = shown_;
  shown_ = true;
  if (!wasShown && EnableCommands) EnableCommands(false);
  Pump();
}

void ProgressPanel::SetProgress(int position) {
  position_ = position;
  ++StepsTaken;
  Pump();
}

void ProgressPanel::HideProgress() {
  if (!shown_) return;
  hide();
  shown_ = false;
  if (EnableCommands) EnableCommands(true);
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void ProgressPanel::Begin(const std::string& caption, int32_t steps) {
  ShowProgress(QString::fromStdString(caption), steps);
}

// Left end, middle tiles and right end, each pieceW wide, from the skin row
// at (sx, sy): left at sx, middle at sx + pieceW, right at sx + 2 pieceW.
void ProgressPanel::PaintThreePart(QPainter& p, const QImage& skin, int sx, int sy, int pieceW, int h,
                                   const QRect& target) {
  if (target.width() <= 0) return;
  p.save();
  p.setClipRect(target);
  for (int x = target.left() + pieceW; x < target.right() - pieceW + 1; x += pieceW)
    p.drawImage(QPoint(x, target.top()), skin, QRect(sx + pieceW, sy, pieceW, h));
  p.drawImage(QPoint(target.left(), target.top()), skin, QRect(sx, sy, pieceW, h));
  if (target.width() >= 2 * pieceW)
    p.drawImage(QPoint(target.right() - pieceW + 1, target.top()), skin, QRect(sx + 2 * pieceW, sy, pieceW, h));
  p.restore();
}

void ProgressPanel::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const int barW = kPanelW - 70;
  if (skin_.isNull()) {
    p.fillRect(rect(), QColor(70, 78, 92));
    p.fillRect(QRect(kBarX, kBarY, barW, kBarH), QColor(40, 40, 40));
    p.fillRect(QRect(kBarX, kBarY, BarWidth(), kBarH), QColor(90, 160, 230));
  } else {
    PaintThreePart(p, skin_, 308, 1, 10, kPanelH, rect());
    PaintThreePart(p, skin_, 340, 22, 10, kBarH, QRect(kBarX, kBarY, barW, kBarH));
    PaintThreePart(p, skin_, 340, 1, 10, kBarH, QRect(kBarX, kBarY, BarWidth(), kBarH));
  }
  // The caption stands out from whatever the skin's panel is: dark on a
  // light panel, white on a dark one.
  const QPoint behind(318 + 5, 1 + 28);
  const QColor panel = skin_.isNull() || !skin_.rect().contains(behind) ? QColor(70, 78, 92) : skin_.pixelColor(behind);
  p.setPen(panel.lightness() > 140 ? QColor(32, 36, 44) : QColor(Qt::white));
  QFont f = font();
  f.setBold(true);
  f.setPixelSize(14);
  p.setFont(f);
  p.drawText(QRect(kBarX, 18, barW, 28), Qt::AlignCenter | Qt::TextSingleLine, caption_);
}

}  // namespace varlo
