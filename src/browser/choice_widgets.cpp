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

void ChoicePicture::paintEvent(QPaintEvent*) {
  if (!strip_ || strip_->Width <= 0) return;
  QPainter p(this);
  const int top = lookEnabled_ ? 0 : h_;
  PaintDib(p, QRect(0, 0, w_, h_), *strip_, QRect(index_ * pitch_, top, w_, h_));
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
