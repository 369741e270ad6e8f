#include "browser/level_art.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <QTransform>
#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "cut/piece_preview.h"
#include "platform/qt/dib_image.h"

namespace varlo {

namespace {

// One edge of a piece: a knob (or hole) of a given style at a fraction of
// the edge, or a straight edge.
struct Knob {
  int Dir = 0;         // +1 out, -1 in, 0 straight
  double At = 0.5;     // centre along the edge, 0..1
  double Width = 16;   // width unit in pixels
  double Height = 12;  // height unit in pixels
  bool Fancy = false;  // two lobes instead of a round head
};

// Appends the edge from a to b (the piece traced clockwise on screen, so
// the outside lies to the left of the direction of travel).
void AddEdge(QPainterPath& path, QPointF a, QPointF b, const Knob& k) {
  const double dx = b.x() - a.x(), dy = b.y() - a.y();
  const double len = std::hypot(dx, dy);
  QTransform toEdge;
  toEdge.translate(a.x(), a.y());
  toEdge.rotateRadians(std::atan2(dy, dx));
  QPainterPath local;
  local.moveTo(0, 0);
  if (k.Dir != 0) {
    const double c = k.At * len, w = k.Width, h = k.Height * k.Dir;
    auto P = [&](double u, double v) { return QPointF(c + u * w, -v * h); };
    // A round head on a neck about half as wide, as a cut knob has; the
    // fancy knob has two lobes on a neck of the same width.
    if (!k.Fancy) {
      local.lineTo(P(-0.5, 0));
      local.cubicTo(P(-0.3, 0), P(-0.28, 0.2), P(-0.36, 0.45));
      local.cubicTo(P(-0.75, 1.0), P(-0.5, 1.55), P(0, 1.55));
      local.cubicTo(P(0.5, 1.55), P(0.75, 1.0), P(0.36, 0.45));
      local.cubicTo(P(0.28, 0.2), P(0.3, 0), P(0.5, 0));
    } else {
      local.lineTo(P(-0.45, 0));
      local.cubicTo(P(-0.28, 0), P(-0.26, 0.3), P(-0.3, 0.55));
      local.cubicTo(P(-1.05, 0.75), P(-0.95, 1.75), P(-0.4, 1.7));
      local.cubicTo(P(-0.18, 1.68), P(-0.06, 1.5), P(0, 1.38));
      local.cubicTo(P(0.06, 1.5), P(0.18, 1.68), P(0.4, 1.7));
      local.cubicTo(P(0.95, 1.75), P(1.05, 0.75), P(0.3, 0.55));
      local.cubicTo(P(0.26, 0.3), P(0.28, 0), P(0.45, 0));
    }
  }
  local.lineTo(len, 0);
  const QPainterPath mapped = toEdge.map(local);
  // Skip the edge's first point: it is the end of the previous edge.
  for (int i = 1; i < mapped.elementCount(); ++i) {
    const QPainterPath::Element e = mapped.elementAt(i);
    if (e.type == QPainterPath::CurveToElement) {
      const QPainterPath::Element c2 = mapped.elementAt(i + 1), end = mapped.elementAt(i + 2);
      path.cubicTo(QPointF(e.x, e.y), QPointF(c2.x, c2.y), QPointF(end.x, end.y));
      i += 2;
    } else {
      path.lineTo(e.x, e.y);
    }
  }
}

QPainterPath Polygon(const std::vector<QPointF>& corners, const std::vector<Knob>& knobs) {
  QPainterPath path;
  path.moveTo(corners[0]);
  for (size_t i = 0; i < corners.size(); ++i)
    AddEdge(path, corners[i], corners[(i + 1) % corners.size()], knobs[i]);
  path.closeSubpath();
  return path;
}

// A classic piece in a cell: knobs by edge (top, right, bottom, left).
QPainterPath ClassicPiece(const QRectF& cell, std::array<Knob, 4> knobs) {
  return Polygon({cell.topLeft(), cell.topRight(), cell.bottomRight(), cell.bottomLeft()},
                 {knobs[0], knobs[1], knobs[2], knobs[3]});
}

Knob K(int dir, double at = 0.5, double scale = 1.0, bool fancy = false, double unit = 16) {
  return Knob{dir, at, unit * scale, unit * 0.75 * scale, fancy};
}

QPainterPath Heart() {
  QPainterPath p;
  p.moveTo(82, 52);
  p.cubicTo(92, 20, 148, 14, 152, 58);
  p.cubicTo(155, 92, 118, 118, 82, 152);
  p.cubicTo(46, 118, 9, 92, 12, 58);
  p.cubicTo(16, 14, 72, 20, 82, 52);
  p.closeSubpath();
  return p;
}

QImage NewWhite(int w, int h) {
  QImage img(w, h, QImage::Format_RGB32);
  img.fill(Qt::white);
  return img;
}

// A small classic piece for the choice pictures, filled and outlined.
void DrawSmallPiece(QPainter& p, const QRectF& cell, std::array<Knob, 4> knobs, QColor fill) {
  const QPainterPath path = ClassicPiece(cell, knobs);
  p.setPen(QPen(QColor(0x3A, 0x3F, 0x4A), 1.0));
  QLinearGradient g(cell.topLeft(), cell.bottomRight());
  g.setColorAt(0, fill.lighter(120));
  g.setColorAt(1, fill.darker(115));
  p.setBrush(g);
  p.drawPath(path);
}

std::array<Knob, 4> SmallKnobs(int a, int b, int c, int d, double unit) {
  return {K(a, 0.5, 1, false, unit), K(b, 0.5, 1, false, unit), K(c, 0.5, 1, false, unit),
          K(d, 0.5, 1, false, unit)};
}

const QColor kPieceColours[] = {QColor(0xE8, 0x9A, 0x3C), QColor(0x5B, 0x9B, 0xD5),
                                QColor(0x7D, 0xB8, 0x4A), QColor(0xD9, 0x5D, 0x6A),
                                QColor(0xB0, 0x7C, 0xC6), QColor(0xE3, 0xC4, 0x4A)};

void DrawBorders(QPainter& p, int index) {
  const double unit = 5.5;
  const double s = index == 0 ? 17 : 13;
  const double x0 = 25 - s, y0 = 25 - s;
  if (index == 1) {
    // The frame piece around the picture.
    QPainterPath frame;
    frame.addRoundedRect(QRectF(4.5, 4.5, 41, 41), 2, 2);
    QPainterPath hole;
    hole.addRect(QRectF(10.5, 10.5, 29, 29));
    frame = frame.subtracted(hole);
    QLinearGradient g(0, 0, 50, 50);
    g.setColorAt(0, QColor(0xB9, 0x85, 0x4E));
    g.setColorAt(1, QColor(0x7A, 0x4E, 0x26));
    p.setPen(QPen(QColor(0x4A, 0x30, 0x18), 1.0));
    p.setBrush(g);
    p.drawPath(frame);
  }
  DrawSmallPiece(p, QRectF(x0, y0, s, s), SmallKnobs(0, 1, -1, 0, unit), kPieceColours[0]);
  DrawSmallPiece(p, QRectF(x0 + s, y0, s, s), SmallKnobs(0, 0, 1, 0, unit), kPieceColours[1]);
  DrawSmallPiece(p, QRectF(x0, y0 + s, s, s), SmallKnobs(0, -1, 0, 0, unit), kPieceColours[2]);
  DrawSmallPiece(p, QRectF(x0 + s, y0 + s, s, s), SmallKnobs(-1, 0, 0, 0, unit),
                 kPieceColours[3]);
}

void DrawMix(QPainter& p, int index) {
  const double unit = 3.6;
  if (index == 0) {
    struct Spot { double x, y, angle; int colour; };
    const Spot spots[] = {{13, 12, -25, 0}, {36, 14, 35, 1}, {15, 36, 50, 2},
                          {37, 37, -15, 3}, {26, 25, 10, 4}};
    for (const Spot& s : spots) {
      p.save();
      p.translate(s.x, s.y);
      p.rotate(s.angle);
      DrawSmallPiece(p, QRectF(-6, -6, 12, 12), SmallKnobs(1, -1, 1, -1, unit),
                     kPieceColours[s.colour]);
      p.restore();
    }
  } else {
    int n = 0;
    for (int row = 0; row < 3; ++row)
      for (int col = 0; col < 3; ++col, ++n)
        DrawSmallPiece(p, QRectF(5 + col * 15, 5 + row * 15, 10, 10),
                       SmallKnobs(0, 0, 0, 0, unit), kPieceColours[n % 6]);
  }
}

void DrawRotation(QPainter& p) {
  DrawSmallPiece(p, QRectF(17, 17, 16, 16), SmallKnobs(1, -1, 1, -1, 5), kPieceColours[1]);
  p.setBrush(Qt::NoBrush);
  const QColor arrow(0x2E, 0x7D, 0x32);
  p.setPen(QPen(arrow, 3.0, Qt::SolidLine, Qt::RoundCap));
  p.drawArc(QRectF(5, 5, 40, 40), 100 * 16, 250 * 16);
  // Arrow head at the arc's end, pointing on around the circle.
  const double end = (100.0 + 250.0) * M_PI / 180.0;
  const QPointF tip(25 + 20 * std::cos(end), 25 - 20 * std::sin(end));
  QPainterPath head;
  head.moveTo(tip + QPointF(-1, -7));
  head.lineTo(tip + QPointF(7, 1));
  head.lineTo(tip + QPointF(-3, 5));
  head.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(arrow);
  p.drawPath(head);
}

void DrawFit(QPainter& p) {
  // A screen with a picture that grows to fill it.
  p.setPen(QPen(QColor(0x3A, 0x3F, 0x4A), 2.0));
  p.setBrush(QColor(0x2B, 0x33, 0x40));
  p.drawRoundedRect(QRectF(4, 7, 42, 30), 3, 3);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x3A, 0x3F, 0x4A));
  p.drawRect(QRectF(21, 37, 8, 5));
  p.drawRoundedRect(QRectF(14, 42, 22, 3), 1.5, 1.5);
  QLinearGradient sky(0, 10, 0, 34);
  sky.setColorAt(0, QColor(0x8C, 0xC8, 0xF0));
  sky.setColorAt(1, QColor(0xD8, 0xEE, 0xFA));
  p.setBrush(sky);
  p.drawRect(QRectF(7, 10, 36, 24));
  p.setBrush(QColor(0x6A, 0xA8, 0x3E));
  QPainterPath hill;
  hill.moveTo(7, 34);
  hill.cubicTo(15, 22, 24, 24, 31, 29);
  hill.cubicTo(36, 25, 40, 25, 43, 27);
  hill.lineTo(43, 34);
  hill.closeSubpath();
  p.drawPath(hill);
  p.setBrush(QColor(0xF6, 0xC3, 0x3B));
  p.drawEllipse(QPointF(34, 16), 3.2, 3.2);
  // Corner arrows.
  p.setPen(QPen(QColor(0xFF, 0xFF, 0xFE), 1.6, Qt::SolidLine, Qt::RoundCap));
  const QPointF corners[4] = {{9, 12}, {41, 12}, {9, 32}, {41, 32}};
  for (const QPointF& c : corners) {
    const double sx = c.x() < 25 ? 1 : -1, sy = c.y() < 22 ? 1 : -1;
    p.drawLine(c, c + QPointF(4 * sx, 0));
    p.drawLine(c, c + QPointF(0, 4 * sy));
  }
}

}  // namespace

QPainterPath ShapeOutline(int k) {
  // Drawn on a 128-pixel cell with knobs of a cut piece's proportions: the
  // head about a fifth of the edge wide, reaching out a quarter of it.
  const double u = kPieceKnobUnit;
  const QRectF cell(0, 0, 128, 128);
  const std::vector<QPointF> uneven = {{12, 14}, {94, 0}, {124, 60}, {100, 124}, {16, 110}};
  QPainterPath path;
  switch (k) {
    case 0:  // irregular: uneven cells, knobs of different size and place
      path = Polygon(uneven, {K(1, 0.42, 1.0, false, u), K(-1, 0.6, 0.85, false, u),
                              K(1, 0.55, 0.95, false, u), K(-1, 0.4, 1.05, false, u),
                              K(1, 0.5, 0.8, false, u)});
      break;
    case 1:  // irregular, even knobs
      path = Polygon(uneven, {K(1, 0.5, 1, false, u), K(-1, 0.5, 1, false, u),
                              K(1, 0.5, 1, false, u), K(-1, 0.5, 1, false, u),
                              K(1, 0.5, 0.9, false, u)});
      break;
    case 2:  // irregular, fancy knobs
      path = Polygon(uneven, {K(1, 0.5, 1, true, u), K(-1, 0.5, 0.9, true, u),
                              K(1, 0.5, 1, true, u), K(-1, 0.5, 1, true, u),
                              K(1, 0.5, 0.85, true, u)});
      break;
    case 3:  // artistic
      path = Heart();
      break;
    case 4:  // classic
      path = ClassicPiece(cell, {K(1, 0.5, 1, false, u), K(-1, 0.5, 1, false, u),
                                 K(1, 0.5, 1, false, u), K(-1, 0.5, 1, false, u)});
      break;
    case 5:  // classic, varied knobs
      path = ClassicPiece(cell, {K(1, 0.42, 1.1, false, u), K(-1, 0.58, 0.85, false, u),
                                 K(1, 0.55, 0.95, false, u), K(-1, 0.4, 1.1, false, u)});
      break;
    default:  // classic, fancy knobs
      path = ClassicPiece(cell, {K(1, 0.5, 1.05, true, u), K(-1, 0.5, 1, true, u),
                                 K(1, 0.5, 1.05, true, u), K(-1, 0.5, 1, true, u)});
      break;
  }
  // The cell becomes kShapeCellInMask pixels, centred in the mask; should a
  // shape not fit at that scale it is made smaller, never cut off.
  const QRectF box(2, 2, kShapeMaskW - 4, kShapeMaskH - 4);
  const QRectF bounds = path.boundingRect();
  double scale = static_cast<double>(kShapeCellInMask) / 128.0;
  scale = std::min({scale, box.width() / bounds.width(), box.height() / bounds.height()});
  QTransform fit;
  fit.translate(kShapeMaskW / 2.0, kShapeMaskH / 2.0);
  fit.scale(scale, scale);
  fit.translate(-bounds.center().x(), -bounds.center().y());
  return fit.map(path);
}

bool MakeShapeMasks(DIB_P& out) {
  QImage img(kShapeCount * kShapeMaskPitch + 1, kShapeMaskH, QImage::Format_RGB32);
  img.fill(Qt::black);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::white);
  for (int k = 0; k < kShapeCount; ++k) {
    p.save();
    p.translate(k * kShapeMaskPitch + 1, 0);
    p.drawPath(ShapeOutline(k));
    p.restore();
  }
  p.end();
  return ImageToDib(img, out);
}

bool MakeShapeTexture(DIB_P& out) {
  const int w = kShapeMaskW, h = kShapeMaskH;
  QImage img(w, h, QImage::Format_RGB32);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient sky(0, 0, 0, h);
  sky.setColorAt(0.0, QColor(0x4A, 0x90, 0xD9));
  sky.setColorAt(0.55, QColor(0xA9, 0xD6, 0xF5));
  sky.setColorAt(1.0, QColor(0xE9, 0xF4, 0xFB));
  p.fillRect(img.rect(), sky);
  QRadialGradient sun(QPointF(112, 52), 26);
  sun.setColorAt(0, QColor(0xFF, 0xF3, 0xB0));
  sun.setColorAt(0.55, QColor(0xFF, 0xD0, 0x4A));
  sun.setColorAt(1, QColor(0xFF, 0xD0, 0x4A, 0));
  p.setPen(Qt::NoPen);
  p.setBrush(sun);
  p.drawEllipse(QPointF(112, 52), 26, 26);
  // A small cloud.
  p.setBrush(QColor(255, 255, 255, 215));
  p.drawEllipse(QPointF(44, 46), 16, 9);
  p.drawEllipse(QPointF(58, 40), 13, 10);
  p.drawEllipse(QPointF(70, 47), 12, 8);
  // Two rows of hills.
  QPainterPath back;
  back.moveTo(0, 104);
  back.cubicTo(40, 78, 80, 86, 110, 96);
  back.cubicTo(132, 88, 150, 84, 164, 90);
  back.lineTo(164, 168);
  back.lineTo(0, 168);
  back.closeSubpath();
  QLinearGradient backFill(0, 80, 0, 168);
  backFill.setColorAt(0, QColor(0x7C, 0xB3, 0x4F));
  backFill.setColorAt(1, QColor(0x4E, 0x86, 0x2F));
  p.setBrush(backFill);
  p.drawPath(back);
  QPainterPath front;
  front.moveTo(0, 132);
  front.cubicTo(50, 112, 96, 118, 164, 128);
  front.lineTo(164, 168);
  front.lineTo(0, 168);
  front.closeSubpath();
  QLinearGradient frontFill(0, 112, 0, 168);
  frontFill.setColorAt(0, QColor(0x9B, 0xC9, 0x4C));
  frontFill.setColorAt(1, QColor(0x5F, 0x9A, 0x2A));
  p.setBrush(frontFill);
  p.drawPath(front);
  // Flowers in the meadow.
  const QColor petals[] = {QColor(0xF2, 0x5C, 0x8B), QColor(0xFF, 0xE0, 0x5A),
                           QColor(0xF4, 0xF4, 0xF0)};
  for (int i = 0; i < 14; ++i) {
    const double x = 8 + (i * 37) % 150, y = 140 + (i * 13) % 24;
    p.setBrush(petals[i % 3]);
    p.drawEllipse(QPointF(x, y), 2.2, 2.2);
  }
  p.end();
  return ImageToDib(img, out);
}

bool MakeChoiceStrip(ChoiceArt art, DIB_P& out) {
  const int count = (art == ChoiceArt::Borders || art == ChoiceArt::Mix) ? 2 : 1;
  const int w = count == 2 ? kChoicePitch + kChoiceSide : kChoiceSide;
  QImage img = NewWhite(w, 2 * kChoiceSide);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  for (int i = 0; i < count; ++i) {
    p.save();
    p.translate(i * kChoicePitch, 0);
    p.setClipRect(0, 0, kChoiceSide, kChoiceSide);
    switch (art) {
      case ChoiceArt::Borders:
        DrawBorders(p, i);
        break;
      case ChoiceArt::Mix:
        DrawMix(p, i);
        break;
      case ChoiceArt::Rotation:
        DrawRotation(p);
        break;
      case ChoiceArt::FitToScreen:
        DrawFit(p);
        break;
    }
    p.restore();
  }
  p.end();
  return ImageToDib(img, out);
}

bool MakeSaveIcon(DIB_P& out) {
  QImage img = NewWhite(16, 16);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(0x1B, 0x2A, 0x4A), 1.0));
  p.setBrush(QColor(0x2F, 0x5D, 0xA8));
  QPainterPath body;
  body.moveTo(0.5, 0.5);
  body.lineTo(12.5, 0.5);
  body.lineTo(15.5, 3.5);
  body.lineTo(15.5, 15.5);
  body.lineTo(0.5, 15.5);
  body.closeSubpath();
  p.drawPath(body);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xD6, 0xDB, 0xE3));
  p.drawRect(QRectF(3.5, 1, 8, 5));
  p.setBrush(QColor(0x2F, 0x5D, 0xA8));
  p.drawRect(QRectF(8.5, 2, 2, 3));
  p.setBrush(QColor(0xF7, 0xF7, 0xF2));
  p.drawRect(QRectF(3, 9, 10, 6));
  p.end();
  return ImageToDib(img, out);
}

}  // namespace varlo
