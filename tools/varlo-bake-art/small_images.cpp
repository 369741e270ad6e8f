// The weight that the player hangs on a group, and the star strip of the
// join animation.
#include <cmath>

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

#include "art.h"

namespace varlo::art {

// 29 x 37 with alpha. The game draws it with the pointer 14 pixels from its
// left and 4 rows above its bottom, so the weight stands on the pointer with
// its shadow in the last rows.
QImage DrawWeightImage() {
  const int w = 29, h = 37;
  QImage img = NewCanvas(w, h);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);

  {
    QImage blob = NewCanvas(w, h);
    QPainter b(&blob);
    b.setRenderHint(QPainter::Antialiasing);
    b.setPen(Qt::NoPen);
    b.setBrush(Qt::black);
    b.drawEllipse(QPointF(14.5, 33.0), 11.5, 2.2);
    b.end();
    p.drawImage(0, 0, SoftShadow(blob, 1, QColor(0, 0, 0, 130)));
  }

  const QColor dark(0x24, 0x29, 0x2F), mid(0x4F, 0x58, 0x63), light(0x8E, 0x99, 0xA6);
  // The ring on top.
  QPainterPath ring;
  ring.addEllipse(QPointF(14.5, 8.0), 6.0, 6.0);
  QPainterPath hole;
  hole.addEllipse(QPointF(14.5, 8.0), 3.0, 3.0);
  ring = ring.subtracted(hole);
  QLinearGradient ringFill(8, 0, 21, 0);
  ringFill.setColorAt(0.0, mid);
  ringFill.setColorAt(0.35, light);
  ringFill.setColorAt(1.0, dark);
  p.setPen(QPen(dark, 0.9));
  p.setBrush(ringFill);
  p.drawPath(ring);

  // The body, a cast trapezoid with softened corners.
  QPainterPath body;
  body.moveTo(8.0, 12.5);
  body.lineTo(21.0, 12.5);
  body.quadTo(22.6, 12.5, 23.0, 14.0);
  body.lineTo(26.8, 29.6);
  body.quadTo(27.3, 32.0, 25.0, 32.0);
  body.lineTo(4.0, 32.0);
  body.quadTo(1.7, 32.0, 2.2, 29.6);
  body.lineTo(6.0, 14.0);
  body.quadTo(6.4, 12.5, 8.0, 12.5);
  body.closeSubpath();
  QLinearGradient bodyFill(2, 0, 27, 0);
  bodyFill.setColorAt(0.0, mid);
  bodyFill.setColorAt(0.3, light);
  bodyFill.setColorAt(0.55, mid);
  bodyFill.setColorAt(1.0, dark);
  p.setPen(QPen(dark, 1.0));
  p.setBrush(bodyFill);
  p.drawPath(body);
  // Top face catching the light, and a cast rim near the foot.
  p.setPen(QPen(QColor(255, 255, 255, 110), 1.0));
  p.drawLine(QPointF(8.0, 13.6), QPointF(21.0, 13.6));
  p.setPen(QPen(QColor(0, 0, 0, 70), 1.0));
  p.drawLine(QPointF(3.6, 28.5), QPointF(25.4, 28.5));
  p.setPen(QPen(QColor(255, 255, 255, 45), 1.0));
  p.drawLine(QPointF(3.6, 29.5), QPointF(25.4, 29.5));
  p.end();
  return img;
}

// Five 23 x 23 frames, 24 pixels apart, on white: the game draws them with
// white as the transparent colour, so the star has hard edges and no pixel
// of it is pure white. A four-pointed sparkle grows, flashes and fades into
// a few glints.
QImage DrawStarStrip() {
  const int frames = 5, size = 23, step = 24;
  QImage img(step * (frames - 1) + size, size, QImage::Format_RGB32);
  img.fill(Qt::white);

  struct Frame {
    double arm;      // length of the long rays from the centre
    double waist;    // half-width of the rays at the centre
    double diagonal; // length of the short diagonal rays (0: none)
    double glints;   // distance of the scattered glints (0: none)
    QColor outer, inner;
  };
  const Frame table[frames] = {
      {4.5, 1.6, 0.0, 0.0, QColor(0xF2, 0xB1, 0x1F), QColor(0xFF, 0xE7, 0x8A)},
      {7.5, 2.2, 3.5, 0.0, QColor(0xF2, 0xAA, 0x1C), QColor(0xFF, 0xEE, 0xA6)},
      {11.0, 2.8, 6.0, 0.0, QColor(0xF0, 0xA2, 0x18), QColor(0xFF, 0xF6, 0xD2)},
      {9.0, 1.9, 5.0, 8.5, QColor(0xF6, 0xC0, 0x48), QColor(0xFF, 0xF3, 0xC4)},
      {4.0, 1.2, 0.0, 9.5, QColor(0xF9, 0xD8, 0x86), QColor(0xFF, 0xF5, 0xD8)},
  };

  auto star = [](QPointF c, double arm, double waist) {
    QPainterPath path;
    for (int i = 0; i < 4; ++i) {
      const double a = i * M_PI / 2, b = a + M_PI / 4;
      const QPointF tip = c + QPointF(std::cos(a) * arm, -std::sin(a) * arm);
      const QPointF side = c + QPointF(std::cos(b) * waist, -std::sin(b) * waist);
      if (i == 0) path.moveTo(tip); else path.lineTo(tip);
      path.lineTo(side);
    }
    path.closeSubpath();
    return path;
  };

  for (int k = 0; k < frames; ++k) {
    const Frame& f = table[k];
    // Drawn four times larger with smoothing, then reduced without, so the
    // rays keep their shape while every pixel is either star or white.
    const int scale = 4;
    QImage big = NewCanvas(size * scale, size * scale);
    QPainter p(&big);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(scale, scale);
    const QPointF c(11.5, 11.5);
    p.setPen(Qt::NoPen);
    if (f.diagonal > 0) {
      QTransform turn;
      turn.translate(c.x(), c.y());
      turn.rotate(45);
      turn.translate(-c.x(), -c.y());
      p.setBrush(f.outer);
      p.drawPath(turn.map(star(c, f.diagonal, f.waist * 0.7)));
    }
    // A darker rim keeps the sparkle visible on light plaster and maple.
    p.setPen(QPen(f.outer.darker(122), 0.8));
    p.setBrush(f.outer);
    p.drawPath(star(c, f.arm, f.waist));
    p.setPen(Qt::NoPen);
    p.setBrush(f.inner);
    p.drawPath(star(c, f.arm * 0.55, f.waist * 0.6));
    if (f.glints > 0) {
      for (int i = 0; i < 4; ++i) {
        const double a = M_PI / 4 + i * M_PI / 2;
        const QPointF g = c + QPointF(std::cos(a) * f.glints, -std::sin(a) * f.glints);
        p.setBrush(f.outer);
        p.drawEllipse(g, 1.1, 1.1);
      }
    }
    p.end();
    for (int y = 0; y < size; ++y) {
      QRgb* out = reinterpret_cast<QRgb*>(img.scanLine(y)) + k * step;
      for (int x = 0; x < size; ++x) {
        // Average the 4 x 4 block; pixels less than half covered stay white.
        int r = 0, g = 0, b = 0, a = 0;
        for (int sy = 0; sy < scale; ++sy) {
          const QRgb* in = reinterpret_cast<const QRgb*>(big.constScanLine(y * scale + sy)) + x * scale;
          for (int sx = 0; sx < scale; ++sx) {
            r += qRed(in[sx]); g += qGreen(in[sx]); b += qBlue(in[sx]); a += qAlpha(in[sx]);
          }
        }
        if (a < 128 * scale * scale) continue;
        // Un-premultiply; never pure white.
        QColor c2(std::min(255, r * 255 / a), std::min(255, g * 255 / a), std::min(254, b * 255 / a));
        out[x] = c2.rgb();
      }
    }
  }
  return img;
}

}  // namespace varlo::art
