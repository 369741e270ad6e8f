#include "platform/qt/dib_image.h"

#include <cstring>

namespace varlo {

QImage DibRawImage(const DIB_P& d) {
  if (d.Width <= 0 || d.Height <= 0 || d.Bits == nullptr) return QImage();
  const QImage::Format format =
      d.BytesPerPixel == 4 ? (d.HasAlpha ? QImage::Format_ARGB32 : QImage::Format_RGB32)
                           : QImage::Format_BGR888;
  return QImage(d.Bits, d.Width, d.Height, d.Stride, format);
}

void PaintDib(QPainter& painter, const QRect& target, const DIB_P& d, const QRect& source) {
  const QImage raw = DibRawImage(d);
  if (raw.isNull() || target.isEmpty() || source.isEmpty()) return;
  // The source rectangle counted from the bottom row, as the memory holds it.
  const QRect flipped(source.x(), d.Height - source.y() - source.height(), source.width(),
                      source.height());
  painter.save();
  painter.translate(target.x(), target.y() + target.height());
  painter.scale(1.0, -1.0);
  painter.drawImage(QRect(0, 0, target.width(), target.height()), raw, flipped);
  painter.restore();
}

QImage DibToImage(const DIB_P& d) {
  const QImage raw = DibRawImage(d);
  if (raw.isNull()) return QImage();
  // mirrored() copies; the result owns its pixels.
  return raw.mirrored(false, true);
}

bool ImageToDib(const QImage& image, DIB_P& d) {
  if (image.isNull()) return false;
  const QImage src = image.convertToFormat(QImage::Format_BGR888);
  if (!DibCreate24(d, src.width(), src.height())) return false;
  const size_t rowBytes = static_cast<size_t>(src.width()) * 3;
  for (int y = 0; y < src.height(); ++y) std::memcpy(DibRow(d, y), src.constScanLine(y), rowBytes);
  return true;
}

}  // namespace varlo
