// Outline icons from the committed SVG set, recoloured and rendered with
// Qt Svg. The files draw with "currentColor" strokes of width 2 on a 24-unit
// grid; the baker substitutes its own colour and stroke width in the text
// before rendering, which keeps the shapes exactly as their authors drew them.
#include <cstdio>

#include <QFile>
#include <QPainter>
#include <QRegularExpression>
#include <QSvgRenderer>

#include "art.h"

namespace varlo::art {

QImage RenderIcon(const QString& iconDir, const QString& name, int size, QColor stroke,
                  double strokeWidth, QColor fill) {
  QFile file(iconDir + "/" + name + ".svg");
  if (!file.open(QIODevice::ReadOnly)) {
    std::fprintf(stderr, "varlo-bake-art: icon %s is missing in %s\n", qPrintable(name),
                 qPrintable(iconDir));
    return QImage();
  }
  QString svg = QString::fromUtf8(file.readAll());
  svg.replace("currentColor", stroke.name(QColor::HexRgb));
  svg.replace(QRegularExpression("stroke-width=\"[0-9.]+\""),
              QString("stroke-width=\"%1\"").arg(strokeWidth));
  if (fill.alpha() > 0) {
    // Fill every drawn shape except the invisible 24 x 24 bounding path that
    // each file starts with (it has stroke="none").
    QString fillAttr = QString("fill=\"%1\" fill-opacity=\"%2\" ")
                           .arg(fill.name(QColor::HexRgb))
                           .arg(fill.alphaF());
    svg.replace(QRegularExpression("<(path|circle|rect|ellipse)(?![^>]*stroke=\"none\")"),
                "<\\1 " + fillAttr);
  }
  QSvgRenderer renderer(svg.toUtf8());
  if (!renderer.isValid()) {
    std::fprintf(stderr, "varlo-bake-art: icon %s cannot be read\n", qPrintable(name));
    return QImage();
  }
  QImage img = NewCanvas(size, size);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.setOpacity(stroke.alphaF());
  renderer.render(&p, QRectF(0, 0, size, size));
  return img;
}

}  // namespace varlo::art
