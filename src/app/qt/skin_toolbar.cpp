#include "app/qt/skin_toolbar.h"

#include <QEvent>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

namespace varlo {

SkinToolbar::SkinToolbar(QWidget* parent) : QWidget(parent) {
  setObjectName("P_Toolbar");
  setFixedHeight(kToolbarHeight);
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  for (int32_t b = 0; b < kToolButtonCount; ++b)
    state_[static_cast<size_t>(b)].Column = kToolButtons[static_cast<size_t>(b)].SkinColumn;
  places_ = LayoutToolbar(1280, false);
}

bool SkinToolbar::LoadSkins(const QString& toolbarSkin, const QString& windowSkin) {
  skin_ = QImage(toolbarSkin).convertToFormat(QImage::Format_RGB32);
  windowSkin_ = QImage(windowSkin).convertToFormat(QImage::Format_ARGB32);
  BuildBackground(width());
  update();
  return !skin_.isNull();
}

QImage SkinToolbar::Face(int32_t column, int32_t face) const {
  if (skin_.isNull()) {
    QImage plain(kToolButtonSize, kToolButtonSize, QImage::Format_RGB32);
    plain.fill(face == kFaceHot ? QColor(200, 210, 230) : QColor(225, 225, 225));
    return plain;
  }
  return skin_.copy(ToolFaceX(column), ToolFaceY(face), kToolButtonSize, kToolButtonSize);
}

// The strip: the 50 x 35 middle tile from the window skin repeated, with the
// 10-pixel ends at both edges.
void SkinToolbar::BuildBackground(int32_t w) {
  w = std::max(w, 1);
  background_ = QPixmap(w, kToolbarHeight);
  QPainter p(&background_);
  if (windowSkin_.isNull()) {
    p.fillRect(background_.rect(), QColor(96, 104, 120));
    return;
  }
  for (int32_t x = 0; x < w; x += 50) p.drawImage(QPoint(x, 0), windowSkin_, QRect(318, 115, 50, 35));
  p.drawImage(QPoint(0, 0), windowSkin_, QRect(308, 115, 10, 35));
  p.drawImage(QPoint(w - 10, 0), windowSkin_, QRect(368, 115, 10, 35));
}

void SkinToolbar::Layout(int32_t width, bool fullScreen) {
  fullScreen_ = fullScreen;
  places_ = LayoutToolbar(width, fullScreen);
  if (background_.width() != std::max(this->width(), 1)) BuildBackground(this->width());
  update();
}

QRect SkinToolbar::ButtonRect(int32_t b) const {
  const ToolButtonPlace& p = places_[static_cast<size_t>(b)];
  return QRect(p.X, kToolButtonTop, p.Width, kToolButtonSize);
}

int32_t SkinToolbar::ButtonAt(const QPoint& pt) const {
  for (int32_t b = 0; b < kToolButtonCount; ++b)
    if (places_[static_cast<size_t>(b)].Visible && ButtonRect(b).contains(pt)) return b;
  // The outermost corner of the screen closes the game in full screen.
  if (places_[kBiClose].Visible) {
    const QRect close = ButtonRect(kBiClose);
    if (pt.x() > close.left() && pt.y() <= close.bottom()) return kBiClose;
  }
  return -1;
}

void SkinToolbar::Repaint(int32_t b) {
  if (b >= 0) update(ButtonRect(b).adjusted(0, 0, 1, 1));
}

void SkinToolbar::SetButtonEnabled(int32_t b, bool on) {
  ButtonState& s = state_[static_cast<size_t>(b)];
  if (s.Enabled == on) return;
  s.Enabled = on;
  if (!on && hot_ == b) hot_ = -1;
  Repaint(b);
}

void SkinToolbar::SetButtonDown(int32_t b, bool down) {
  ButtonState& s = state_[static_cast<size_t>(b)];
  if (s.Down == down) return;
  s.Down = down;
  Repaint(b);
}

void SkinToolbar::SetButtonImage(int32_t b, int32_t column) {
  ButtonState& s = state_[static_cast<size_t>(b)];
  const int32_t c = column < 0 ? kToolButtons[static_cast<size_t>(b)].SkinColumn : column;
  if (s.Column == c) return;
  s.Column = c;
  Repaint(b);
}

void SkinToolbar::SetHint(int32_t b, const QString& hint) { state_[static_cast<size_t>(b)].Hint = hint; }

void SkinToolbar::ClearHot() {
  const int32_t old = hot_;
  hot_ = -1;
  pressed_ = -1;
  Repaint(old);
}

void SkinToolbar::paintEvent(QPaintEvent* e) {
  QPainter p(this);
  p.setClipRegion(e->region());
  if (background_.width() != width()) BuildBackground(width());
  p.drawPixmap(0, 0, background_);
  for (int32_t b = 0; b < kToolButtonCount; ++b) {
    const ToolButtonPlace& place = places_[static_cast<size_t>(b)];
    if (!place.Visible) continue;
    const QRect r = ButtonRect(b);
    if (!e->region().intersects(r.adjusted(0, 0, 1, 1))) continue;
    const ButtonState& s = state_[static_cast<size_t>(b)];
    int32_t face = kFaceNormal;
    if (!s.Enabled)
      face = kFaceDisabled;
    else if (s.Down || hot_ == b)
      face = kFaceHot;
    const QImage img = Face(s.Column, face);
    const int32_t shift = (pressed_ == b && hot_ == b) ? 1 : 0;
    // The narrow buttons show the middle of their face.
    const int32_t sx = (kToolButtonSize - place.Width) / 2;
    p.drawImage(QPoint(r.x() + shift, r.y() + shift), img, QRect(sx, 0, place.Width, kToolButtonSize));
    if (skin_.isNull()) {
      p.setPen(Qt::black);
      p.drawText(r, Qt::AlignCenter, QString(kToolButtons[static_cast<size_t>(b)].Name).mid(3, 3));
    }
  }
}

void SkinToolbar::mouseMoveEvent(QMouseEvent* e) {
  if (e->buttons() & Qt::LeftButton) return;
  const int32_t b = ButtonAt(e->position().toPoint());
  if (b == hot_) return;
  const int32_t old = hot_;
  hot_ = -1;
  Repaint(old);
  if (b >= 0 && state_[static_cast<size_t>(b)].Enabled) {
    hot_ = b;
    Repaint(b);
  }
}

void SkinToolbar::leaveEvent(QEvent*) {
  if (pressed_ < 0) ClearHot();
}

void SkinToolbar::mousePressEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton) return;
  const int32_t b = ButtonAt(e->position().toPoint());
  if (b >= 0 && state_[static_cast<size_t>(b)].Enabled) hot_ = b;
  if (hot_ < 0 || hot_ != b) return;
  pressed_ = hot_;
  Repaint(hot_);
}

void SkinToolbar::mouseReleaseEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton) return;
  const int32_t b = pressed_;
  pressed_ = -1;
  if (b < 0 || hot_ != b) return;
  Repaint(b);
  if (ButtonAt(e->position().toPoint()) != b || !state_[static_cast<size_t>(b)].Enabled) return;
  if (Clicked) Clicked(b);
}

bool SkinToolbar::event(QEvent* e) {
  if (e->type() == QEvent::ToolTip) {
    auto* help = static_cast<QHelpEvent*>(e);
    const int32_t b = ButtonAt(help->pos());
    if (b >= 0 && !state_[static_cast<size_t>(b)].Hint.isEmpty())
      QToolTip::showText(help->globalPos(), state_[static_cast<size_t>(b)].Hint, this, ButtonRect(b));
    else
      QToolTip::hideText();
    return true;
  }
  return QWidget::event(e);
}

}  // namespace varlo
