// The glass skin: 290 x 189 pixels with alpha. The magnifier's lens is an
// ellipse that the game draws itself; the skin gives the four 93 x 93
// corners of its housing and its buttons. The glass can be 240 to 480 pixels
// on a side, so the corners cannot meet: they are drawn as one 186 x 186
// housing (a rounded square with a round opening) cut into quarters, and the
// bands that would join them fade out at the cuts. Where the lens is large it
// covers the opening; where it is small the housing frames it closely.
#include <cmath>

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

#include "art.h"
#include "palette.h"

namespace varlo::art {
namespace {

constexpr int kSkinW = 290;
constexpr int kSkinH = 189;
constexpr int kCorner = 93;
constexpr int kHousing = 2 * kCorner;  // 186
constexpr double kInset = 3.0;         // room for the housing's shadow
constexpr double kOuterRadius = 22.0;
constexpr double kOpening = 80.0;      // radius of the round opening

QPainterPath HousingShape() {
  QPainterPath outer;
  outer.addRoundedRect(QRectF(kInset, kInset, kHousing - 2 * kInset, kHousing - 2 * kInset),
                       kOuterRadius, kOuterRadius);
  QPainterPath hole;
  hole.addEllipse(QPointF(kCorner, kCorner), kOpening, kOpening);
  return outer.subtracted(hole);
}

QImage DrawHousing() {
  const QPainterPath shape = HousingShape();
  QImage mask = NewCanvas(kHousing, kHousing);
  {
    QPainter p(&mask);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillPath(shape, Qt::black);
  }
  QImage img = NewCanvas(kHousing, kHousing);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  // Shadow below and to the right.
  p.drawImage(QPointF(0.8, 1.6), SoftShadow(mask, 2, QColor(0, 0, 0, 120)));
  // Brushed graphite, lit from the top left like the lens rim.
  QLinearGradient body(0, 0, kHousing, kHousing);
  body.setColorAt(0.0, QColor(0x6A, 0x74, 0x80));
  body.setColorAt(0.5, QColor(0x47, 0x4F, 0x59));
  body.setColorAt(1.0, QColor(0x2C, 0x32, 0x39));
  p.fillPath(shape, body);
  // A faint sheen across the top.
  QRadialGradient sheen(QPointF(kCorner * 0.6, kCorner * 0.25), kHousing * 0.6);
  sheen.setColorAt(0.0, QColor(255, 255, 255, 40));
  sheen.setColorAt(1.0, QColor(255, 255, 255, 0));
  p.fillPath(shape, sheen);
  // Bevel of the outer edge: light along the top and left, dark along the
  // bottom and right.
  QLinearGradient bevel(0, 0, kHousing, kHousing);
  bevel.setColorAt(0.0, QColor(255, 255, 255, 120));
  bevel.setColorAt(0.5, QColor(255, 255, 255, 25));
  bevel.setColorAt(0.5001, QColor(0, 0, 0, 25));
  bevel.setColorAt(1.0, QColor(0, 0, 0, 110));
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QBrush(bevel), 1.2));
  p.drawRoundedRect(QRectF(kInset + 0.6, kInset + 0.6, kHousing - 2 * kInset - 1.2,
                           kHousing - 2 * kInset - 1.2),
                    kOuterRadius - 0.6, kOuterRadius - 0.6);
  // The opening's edge, the other way round: it is a recess.
  QLinearGradient recess(0, 0, kHousing, kHousing);
  recess.setColorAt(0.0, QColor(0, 0, 0, 150));
  recess.setColorAt(1.0, QColor(255, 255, 255, 70));
  p.setPen(QPen(QBrush(recess), 1.5));
  p.drawEllipse(QPointF(kCorner, kCorner), kOpening + 0.7, kOpening + 0.7);
  p.end();
  return img;
}

// Fades the bands of one quarter out towards the two sides where it was cut,
// so that a large glass shows four corner pieces that end softly.
void FadeCutSides(QImage& quarter, bool cutRight, bool cutBottom) {
  const int fade = 13;
  for (int y = 0; y < kCorner; ++y) {
    QRgb* row = reinterpret_cast<QRgb*>(quarter.scanLine(y));
    for (int x = 0; x < kCorner; ++x) {
      const int dx = cutRight ? kCorner - 1 - x : x;
      const int dy = cutBottom ? kCorner - 1 - y : y;
      const double fx = std::min(1.0, (dx + 0.5) / fade);
      const double fy = std::min(1.0, (dy + 0.5) / fade);
      const double k = fx * fy;
      if (k >= 1.0) continue;
      const QRgb c = row[x];
      row[x] = qRgba(int(qRed(c) * k + 0.5), int(qGreen(c) * k + 0.5), int(qBlue(c) * k + 0.5),
                     int(qAlpha(c) * k + 0.5));
    }
  }
}

// The resize grip in the bottom-right corner: the game sizes the glass from
// the lower-right half of the 21 x 21 square 25 pixels left of and 24 above
// the glass's right and bottom edges.
void DrawGrip(QPainter& p, int qx, int qy) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  for (int i = 0; i < 3; ++i) {
    const double d = 10.0 + 5.0 * i;  // distance of the groove from the corner point
    const QPointF a(qx + 85.0 - d, qy + 85.5), b(qx + 85.5, qy + 85.0 - d);
    p.setPen(QPen(QColor(0, 0, 0, 110), 1.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(a, b);
    p.setPen(QPen(QColor(255, 255, 255, 55), 1.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(a + QPointF(0.9, 0.9), b + QPointF(0.9, 0.9));
  }
  p.restore();
}

// A round button on the housing; state 0 normal, 1 under the pointer,
// 2 pressed.
void DrawRoundButton(QPainter& p, const QRectF& box, int state) {
  const QColor top = state == 2 ? palette::kAccent : state == 1 ? QColor(0x7B, 0x86, 0x93) : QColor(0x5D, 0x67, 0x72);
  const QColor bottom = state == 2 ? palette::kAccent.darker(130) : state == 1 ? QColor(0x5A, 0x64, 0x70) : QColor(0x3E, 0x46, 0x4F);
  QLinearGradient g(box.topLeft(), box.bottomLeft());
  g.setColorAt(0.0, top);
  g.setColorAt(1.0, bottom);
  p.setPen(QPen(QColor(0x1E, 0x23, 0x29, 200), 1.0));
  p.setBrush(g);
  p.drawEllipse(box.adjusted(0.5, 0.5, -0.5, -0.5));
  p.setPen(QPen(QColor(255, 255, 255, state == 2 ? 60 : 45), 1.0));
  p.setBrush(Qt::NoBrush);
  p.drawArc(box.adjusted(1.5, 1.5, -1.5, -1.5), 30 * 16, 120 * 16);
}

bool DrawZoomButtons(QPainter& p, const QString& iconDir, int y, const char* icon) {
  const QImage glyph = RenderIcon(iconDir, icon, 17, QColor(0xF1, 0xF4, 0xF7), 2.0);
  if (glyph.isNull()) return false;
  for (int s = 0; s < 3; ++s) {
    const QRectF box(196 + 30 * s, y, 27, 27);
    p.save();
    p.setClipRect(box);
    p.setRenderHint(QPainter::Antialiasing);
    DrawRoundButton(p, box, s);
    p.drawImage(QPointF(box.x() + 5, box.y() + 5), glyph);
    p.restore();
  }
  return true;
}

// The close button, 14 x 14, faces 17 apart: normal, under the pointer,
// pressed. The glass looks the same whether it is the current window or not;
// two more faces (under the pointer, pressed) follow, so that the row also
// reads right as a five-face button.
void DrawGlassClose(QPainter& p) {
  for (int k = 0; k < 5; ++k) {
    const QRectF box(196 + 17 * k, 2, 14, 14);
    const bool hover = k == 1 || k == 3;
    const bool pressed = k == 2 || k == 4;
    p.save();
    p.setClipRect(box);
    p.setRenderHint(QPainter::Antialiasing);
    QColor fill = pressed ? palette::kClosePressed : hover ? palette::kCloseHover : QColor(0x55, 0x5E, 0x69);
    p.setPen(QPen(QColor(0x1E, 0x23, 0x29, 190), 1.0));
    p.setBrush(fill);
    p.drawEllipse(box.adjusted(0.5, 0.5, -0.5, -0.5));
    const QPointF c = box.center();
    p.setPen(QPen(QColor(0xF4, 0xF6, 0xF8), 1.5, Qt::SolidLine, Qt::RoundCap));
    const double a = 2.6;
    p.drawLine(c + QPointF(-a, -a), c + QPointF(a, a));
    p.drawLine(c + QPointF(-a, a), c + QPointF(a, -a));
    p.restore();
  }
}

}  // namespace

QImage DrawGlassSkin(const QString& iconDir) {
  const QImage housing = DrawHousing();
  QImage img = NewCanvas(kSkinW, kSkinH);
  QPainter p(&img);
  // Quarters at (0,0), (96,0), (0,96), (96,96).
  for (int qy = 0; qy < 2; ++qy) {
    for (int qx = 0; qx < 2; ++qx) {
      QImage quarter = housing.copy(qx * kCorner, qy * kCorner, kCorner, kCorner);
      FadeCutSides(quarter, qx == 0, qy == 0);
      p.drawImage(qx * 96, qy * 96, quarter);
    }
  }
  DrawGrip(p, 96, 96);
  DrawGlassClose(p);  // y 2, x 196 + 17k
  // Zoom 3 at y 25 and zoom 2 at y 55; normal, under the pointer, pressed
  // at x 196, 226, 256.
  const bool ok = DrawZoomButtons(p, iconDir, 25, "zoom-in") && DrawZoomButtons(p, iconDir, 55, "zoom-out");
  p.end();
  return ok ? img : QImage();
}

}  // namespace varlo::art
