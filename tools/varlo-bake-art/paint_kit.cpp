// Painting helpers shared by the pictures of the baker.
#include <algorithm>
#include <cstdio>
#include <vector>

#include <QImageWriter>

#include "art.h"

namespace varlo::art {

QImage NewCanvas(int w, int h, QColor fill) {
  QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
  img.fill(fill);
  return img;
}

QPainterPath RoundedBox(const QRectF& r, qreal tl, qreal tr, qreal br, qreal bl) {
  QPainterPath p;
  p.moveTo(r.left() + tl, r.top());
  p.lineTo(r.right() - tr, r.top());
  if (tr > 0) p.arcTo(QRectF(r.right() - 2 * tr, r.top(), 2 * tr, 2 * tr), 90, -90);
  p.lineTo(r.right(), r.bottom() - br);
  if (br > 0) p.arcTo(QRectF(r.right() - 2 * br, r.bottom() - 2 * br, 2 * br, 2 * br), 0, -90);
  p.lineTo(r.left() + bl, r.bottom());
  if (bl > 0) p.arcTo(QRectF(r.left(), r.bottom() - 2 * bl, 2 * bl, 2 * bl), 270, -90);
  p.lineTo(r.left(), r.top() + tl);
  if (tl > 0) p.arcTo(QRectF(r.left(), r.top(), 2 * tl, 2 * tl), 180, -90);
  p.closeSubpath();
  return p;
}

// One box pass over a row or column of alpha values, with clamped ends.
static void BoxPass(std::vector<float>& v, int radius) {
  const int n = static_cast<int>(v.size());
  std::vector<float> out(v.size());
  double sum = 0;
  auto at = [&](int i) { return v[std::clamp(i, 0, n - 1)]; };
  for (int i = -radius; i <= radius; ++i) sum += at(i);
  for (int i = 0; i < n; ++i) {
    out[i] = static_cast<float>(sum / (2 * radius + 1));
    sum += at(i + radius + 1) - at(i - radius);
  }
  v.swap(out);
}

QImage SoftShadow(const QImage& shape, int radius, QColor color) {
  const QImage src = shape.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  const int w = src.width(), h = src.height();
  std::vector<float> a(static_cast<size_t>(w) * h);
  for (int y = 0; y < h; ++y) {
    const QRgb* row = reinterpret_cast<const QRgb*>(src.constScanLine(y));
    for (int x = 0; x < w; ++x) a[static_cast<size_t>(y) * w + x] = qAlpha(row[x]) / 255.0f;
  }
  std::vector<float> line;
  for (int pass = 0; pass < 3; ++pass) {
    for (int y = 0; y < h; ++y) {
      line.assign(a.begin() + static_cast<ptrdiff_t>(y) * w, a.begin() + static_cast<ptrdiff_t>(y + 1) * w);
      BoxPass(line, radius);
      std::copy(line.begin(), line.end(), a.begin() + static_cast<ptrdiff_t>(y) * w);
    }
    for (int x = 0; x < w; ++x) {
      line.resize(h);
      for (int y = 0; y < h; ++y) line[y] = a[static_cast<size_t>(y) * w + x];
      BoxPass(line, radius);
      for (int y = 0; y < h; ++y) a[static_cast<size_t>(y) * w + x] = line[y];
    }
  }
  QImage out = NewCanvas(w, h);
  for (int y = 0; y < h; ++y) {
    QRgb* row = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < w; ++x) {
      const double k = a[static_cast<size_t>(y) * w + x] * color.alphaF();
      row[x] = qRgba(int(color.red() * k + 0.5), int(color.green() * k + 0.5),
                     int(color.blue() * k + 0.5), int(255 * k + 0.5));
    }
  }
  return out;
}

QColor Mix(QColor a, QColor b, double t) {
  auto lerp = [t](int x, int y) { return static_cast<int>(x + (y - x) * t + 0.5); };
  return QColor(lerp(a.red(), b.red()), lerp(a.green(), b.green()), lerp(a.blue(), b.blue()),
                lerp(a.alpha(), b.alpha()));
}

QColor WithAlpha(QColor c, int alpha) {
  c.setAlpha(alpha);
  return c;
}

static bool Write(const QImage& img, const QString& path, const char* format, int quality) {
  QImageWriter writer(path, format);
  if (quality >= 0) writer.setQuality(quality);
  if (!writer.write(img)) {
    std::fprintf(stderr, "varlo-bake-art: cannot write %s: %s\n", qPrintable(path),
                 qPrintable(writer.errorString()));
    return false;
  }
  return true;
}

bool SaveRgbaPng(const QImage& img, const QString& path) {
  return Write(img.convertToFormat(QImage::Format_ARGB32), path, "png", -1);
}

bool SaveRgbPng(const QImage& img, const QString& path) {
  return Write(img.convertToFormat(QImage::Format_RGB888), path, "png", -1);
}

bool SaveJpeg(const QImage& img, const QString& path, int quality) {
  return Write(img.convertToFormat(QImage::Format_RGB888), path, "jpeg", quality);
}

}  // namespace varlo::art
