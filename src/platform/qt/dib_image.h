// Showing the game's pixel buffers in Qt.
//
// A DIB_P keeps its rows bottom-up with the bytes blue, green, red (and
// alpha): in memory that is a QImage of format BGR888 (or ARGB32 on a
// little-endian machine) standing on its head. Wrapping the rows in a QImage
// costs nothing; painting it through a vertical flip shows it upright, so
// the field buffer never has to be copied to reach the screen.
#pragma once

#include <QImage>
#include <QPainter>
#include <QRect>

#include "raster/dib.h"

namespace varlo {

// The DIB's memory as a QImage without copying: row 0 of the image is the
// bottom row of the picture. Valid as long as the DIB keeps its bitmap.
// A null image for an empty DIB.
QImage DibRawImage(const DIB_P& d);

// Paints the source rectangle of d (in the picture's own upright
// coordinates) into target, through a flip instead of a copy.
void PaintDib(QPainter& painter, const QRect& target, const DIB_P& d, const QRect& source);
inline void PaintDib(QPainter& painter, int x, int y, const DIB_P& d) {
  PaintDib(painter, QRect(x, y, d.Width, d.Height), d, QRect(0, 0, d.Width, d.Height));
}

// An upright copy (for widgets that keep a pixmap, and for tests).
QImage DibToImage(const DIB_P& d);
// A 24-bit DIB made from any QImage (its alpha channel is dropped).
bool ImageToDib(const QImage& image, DIB_P& d);

// Colour conversions between the game's packed 00BBGGRR values and Qt.
inline QColor ColourToQColor(uint32_t c) {
  return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                static_cast<int>((c >> 16) & 0xFF));
}
inline uint32_t QColorToColour(const QColor& c) {
  return MakeRGB(static_cast<uint32_t>(c.red()), static_cast<uint32_t>(c.green()),
                 static_cast<uint32_t>(c.blue()));
}

}  // namespace varlo
