#include "browser/choice_widgets.h"

#include <QMouseEvent>
#include <QPainter>

#include "platform/qt/dib_image.h"

namespace varlo {

ChoicePicture::ChoicePicture(const QString& name, QWidget* parent) : QWidget(parent) {
  setObjectName(name);
  setCursor(Qt::PointingHandCursor);
}

void ChoicePicture::SetStrip(const DIB_P* strip, int index, int w, int h, int pitch) {
  strip_ = strip;
  index_ = index;
  w_ = w;
  h_ = h;
  pitch_ = pitch;
  setFixedSize(w, h);
  update();
}

void ChoicePicture::SetLookEnabled(bool on) {
  if (lookEnabled_ == on) return;
  lookEnabled_ = on;
  setCursor(on ? Qt::PointingHandCursor : Qt::ArrowCursor);
  update();
}

void ChoicePicture::SetSwitch(int on) {
  if (switch_ == on) return;
  switch_ = on;
  update();
}

void ChoicePicture::paintEvent(QPaintEvent*) {
  if (!strip_ || strip_->Width <= 0) return;
  QPainter p(this);
  const int top = lookEnabled_ && switch_ != 0 ? 0 : h_;
  PaintDib(p, QRect(0, 0, w_, h_), *strip_, QRect(index_ * pitch_, top, w_, h_));
  if (switch_ == kNoSwitch) return;
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF badge(w_ - 17, h_ - 17, 16, 16);
  const bool on = switch_ != 0;
  p.setPen(QPen(Qt::white, 1.5));
  p.setBrush(on ? QColor(0x2E, 0x9D, 0x3A) : QColor(0x8A, 0x8F, 0x96));
  p.drawEllipse(badge);
  p.setPen(QPen(Qt::white, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  const QPointF c = badge.center();
  if (on) {
    const QPointF tick[] = {c + QPointF(-4, 0.5), c + QPointF(-1, 3.5), c + QPointF(4.5, -3)};
    p.drawPolyline(tick, 3);
  } else {
    p.drawLine(c + QPointF(-4, 0), c + QPointF(4, 0));
  }
}

void ChoicePicture::mousePressEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton) emit pressed();
}

SelectionFrame::SelectionFrame(const QString& name, QWidget* parent) : QWidget(parent) {
  setObjectName(name);
  setAttribute(Qt::WA_TransparentForMouseEvents);
}

void SelectionFrame::Surround(const QWidget* target) {
  if (!target) return;
  setGeometry(target->geometry().adjusted(-4, -4, 4, 4));
  lower();
}

void SelectionFrame::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setPen(QPen(QColor(0, 128, 255), 1, Qt::DotLine));
  p.drawRect(rect().adjusted(0, 0, -1, -1));
  p.setPen(QPen(QColor(0, 128, 255, 90), 1, Qt::SolidLine));
  p.drawRect(rect().adjusted(1, 1, -2, -2));
}

ClickLabel::ClickLabel(const QString& name, QWidget* parent) : QLabel(parent) {
  setObjectName(name);
}

void ClickLabel::mousePressEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton) emit pressed();
  QLabel::mousePressEvent(e);
}

ClickPanel::ClickPanel(const QString& name, QWidget* parent) : QFrame(parent) {
  setObjectName(name);
}

void ClickPanel::mousePressEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton) emit pressed(e->modifiers());
  QFrame::mousePressEvent(e);
}

}  // namespace varlo
