#include "app/qt/drag_cursors.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace varlo {
namespace {

// A small jigsaw piece with a knob on top and on the right.
QPainterPath Piece(double x, double y, double s) {
  const double k = s * 0.22;
  QPainterPath p;
  p.moveTo(x, y);
  p.lineTo(x + s / 2 - k, y);
  p.arcTo(QRectF(x + s / 2 - k, y - k * 1.3, 2 * k, 2 * k), 200, -220);
  p.lineTo(x + s, y);
  p.lineTo(x + s, y + s / 2 - k);
  p.arcTo(QRectF(x + s - k * 0.7, y + s / 2 - k, 2 * k, 2 * k), 110, -220);
  p.lineTo(x + s, y + s);
  p.lineTo(x, y + s);
  p.closeSubpath();
  return p;
}

}  // namespace

QCursor DragCursor(int kind) {
  QPixmap pm(32, 32);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  // The arrow the pointer keeps, with the piece it carries below right.
  QPainterPath arrow;
  arrow.moveTo(1, 1);
  arrow.lineTo(1, 17);
  arrow.lineTo(5, 13);
  arrow.lineTo(8, 20);
  arrow.lineTo(11, 19);
  arrow.lineTo(8, 12);
  arrow.lineTo(13, 12);
  arrow.closeSubpath();
  p.setPen(QPen(Qt::black, 1));
  p.setBrush(Qt::white);
  p.drawPath(arrow);
  p.setPen(QPen(QColor(40, 40, 40), 1.2));
  if (kind == 2) {
    p.setBrush(QColor(90, 90, 100));
    p.drawRoundedRect(QRectF(14, 16, 14, 13), 3, 3);
    p.drawEllipse(QRectF(18, 12, 6, 6));
  } else {
    if (kind == 1) {
      p.setBrush(QColor(120, 170, 230));
      p.drawPath(Piece(17, 13, 11));
    }
    p.setBrush(QColor(240, 190, 90));
    p.drawPath(Piece(13, 18, 11));
  }
  p.end();
  return QCursor(pm, 1, 1);
}

}  // namespace varlo
