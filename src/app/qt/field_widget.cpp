#include "app/qt/field_widget.h"

#include <QCursor>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWheelEvent>

#include "play/play_field.h"
#include "platform/qt/dib_image.h"

namespace varlo {

int FieldButton(Qt::MouseButton b) {
  switch (b) {
    case Qt::LeftButton: return kMbLeft;
    case Qt::RightButton: return kMbRight;
    case Qt::MiddleButton: return kMbMiddle;
    default: return -1;
  }
}

int FieldHeld(Qt::MouseButtons b) {
  int held = 0;
  if (b & Qt::LeftButton) held |= kHeldLeft;
  if (b & Qt::RightButton) held |= kHeldRight;
  if (b & Qt::MiddleButton) held |= kHeldMiddle;
  return held;
}

int FieldMods(Qt::KeyboardModifiers m) {
  int s = 0;
  if (m & Qt::ShiftModifier) s |= kSsShift;
  if (m & Qt::AltModifier) s |= kSsAlt;
  if (m & Qt::ControlModifier) s |= kSsCtrl;
  return s;
}

FieldWidget::FieldWidget(PlayField& field, QWidget* parent) : QWidget(parent), field_(field) {
  setObjectName("P_Field");
  setMouseTracking(true);
  // Every pixel comes from the field picture: no background fill first.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_NoSystemBackground);
  setFocusPolicy(Qt::NoFocus);
}

void FieldWidget::RequestRepaint(const QRect& r) {
  ++RepaintRequests;
  LastRepaint = r;
  update(r);
}

void FieldWidget::paintEvent(QPaintEvent* e) {
  QPainter p(this);
  const DIB_P& img = field_.Image();
  const QRect area = e->rect();
  if (img.Width <= 0 || img.Height <= 0) {
    p.fillRect(area, QColor(0x98, 0x98, 0x98));
    return;
  }
  const QRect inside = area.intersected(QRect(0, 0, img.Width, img.Height));
  if (!inside.isEmpty()) PaintDib(p, inside, img, inside);
  // Beyond the field picture (a window larger than the screen): neutral.
  const QRegion rest = QRegion(area).subtracted(QRegion(inside));
  for (const QRect& r : rest) p.fillRect(r, QColor(0x98, 0x98, 0x98));
}

void FieldWidget::mousePressEvent(QMouseEvent* e) {
  held_ = e->buttons();
  const int b = FieldButton(e->button());
  if (b < 0) return;
  const QPoint pt = e->position().toPoint();
  field_.PointerDown(b, FieldMods(e->modifiers()), pt.x(), pt.y());
  if (AfterInput) AfterInput();
}

void FieldWidget::mouseDoubleClickEvent(QMouseEvent* e) {
  // A double click is two presses for the game.
  mousePressEvent(e);
}

void FieldWidget::mouseMoveEvent(QMouseEvent* e) {
  held_ = e->buttons();
  const QPoint pt = e->position().toPoint();
  field_.PointerMove(FieldHeld(e->buttons()), FieldMods(e->modifiers()), pt.x(), pt.y());
  if (AfterInput) AfterInput();
}

void FieldWidget::mouseReleaseEvent(QMouseEvent* e) {
  held_ = e->buttons();
  const int b = FieldButton(e->button());
  if (b < 0) return;
  const QPoint pt = e->position().toPoint();
  field_.PointerUp(b, FieldMods(e->modifiers()), pt.x(), pt.y());
  if (AfterInput) AfterInput();
}

void FieldWidget::wheelEvent(QWheelEvent* e) {
  e->accept();
  const int dy = e->angleDelta().y();
  if (dy == 0) return;
  const QPoint pt = e->position().toPoint();
  if (Wheel) Wheel(dy > 0, pt.x(), pt.y());
}

void FieldWidget::leaveEvent(QEvent*) {
  // Where the pointer went (the toolbar lies above the field): a weight
  // placed from the toolbar starts off the field.
  const QPoint pt = mapFromGlobal(QCursor::pos());
  field_.PointerLeft(pt.x(), pt.y());
}

}  // namespace varlo
