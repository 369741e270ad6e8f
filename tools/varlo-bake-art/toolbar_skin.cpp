// The toolbar skin: 661 x 91 pixels, opaque. 22 columns 30 pixels apart,
// one per button picture, and three rows 30 apart: the normal face at y 1,
// the face under the pointer or held down at y 31, the disabled face at
// y 61; each face is the 29 x 29 square at x = column * 30 + 1. The faces
// are drawn on the toolbar strip's own rows, so they sit on it seamlessly.
#include <QPainter>

#include "art.h"
#include "palette.h"

namespace varlo::art {
namespace {

namespace pal = palette;

constexpr int kColumns = 22;
constexpr int kFace = 29;

struct Column {
  const char* icon;
  bool badge = false;  // a dot: the pocket holds pieces
  bool on = false;     // drawn in the accent colour and filled: the weight is set
  bool narrow = false; // the minimise and close buttons show only 25 columns
};

// Column k of the skin, in the order the buttons ask for them.
const Column kIcons[kColumns] = {
    {"folder-open"},                      // 0 open
    {"device-floppy"},                    // 1 save
    {"cloud-download"},                   // 2 download jigsaws
    {"palette"},                          // 3 background of all windows
    {"paint"},                            // 4 background of the current window
    {"square-rounded-number-1"},          // 5 first side
    {"square-rounded-number-2"},          // 6 second side
    {"photo"},                            // 7 thumbnail
    {"info-circle"},                      // 8 info
    {"inbox"},                            // 9 pocket, empty
    {"inbox", true},                      // 10 pocket holding pieces
    {"select-all"},                       // 11 select all
    {"layout-grid"},                      // 12 arrange
    {"zoom-in"},                          // 13 glass
    {"weight"},                           // 14 weight, not set
    {"weight", false, true},              // 15 weight set
    {"settings"},                         // 16 options
    {"help-circle"},                      // 17 help
    {"menu-2"},                           // 18 menu
    {"minus", false, false, true},        // 19 minimise
    {"x", false, false, true},            // 20 close
    {"maximize"},                         // 21 full screen
};

void FillStrip(QPainter& p, const QRect& face) {
  for (int y = 0; y < face.height(); ++y)
    p.fillRect(face.x(), face.y() + y, face.width(), 1, ToolbarRow(kToolbarButtonTop + y));
}

bool DrawFace(QPainter& p, const QString& iconDir, int col, int row) {
  const Column& c = kIcons[col];
  const QRect face(col * 30 + 1, row * 30 + 1, kFace, kFace);
  const int width = c.narrow ? 25 : kFace;
  FillStrip(p, face);
  p.save();
  p.setClipRect(face);
  p.translate(face.topLeft());
  p.setRenderHint(QPainter::Antialiasing);
  if (row == 1) {
    p.setPen(QPen(pal::kHotEdge, 1.0));
    p.setBrush(pal::kHotFill);
    p.drawRoundedRect(QRectF(1.5, 1.5, width - 3, kFace - 3), 5, 5);
  }
  const QColor stroke = row == 2 ? pal::kIconDisabled : (c.on || row == 1) ? pal::kAccent : pal::kIcon;
  const QColor fill = c.on ? WithAlpha(row == 2 ? pal::kIconDisabled : pal::kAccentLight, 110) : QColor(Qt::transparent);
  const int size = 20;
  const QImage icon = RenderIcon(iconDir, c.icon, size, stroke, 1.9, fill);
  if (icon.isNull()) {
    p.restore();
    return false;
  }
  const double left = (width - size) / 2.0;
  const double top = (kFace - size) / 2.0;
  p.drawImage(QPointF(left, top), icon);
  if (c.badge) {
    p.setPen(QPen(ToolbarRow(kToolbarButtonTop + 6), 1.2));
    p.setBrush(row == 2 ? pal::kIconDisabled : QColor(0xE0, 0x8A, 0x1E));
    p.drawEllipse(QPointF(left + 17.0, top + 3.5), 3.6, 3.6);
  }
  p.restore();
  return true;
}

}  // namespace

QImage DrawToolbarSkin(const QString& iconDir) {
  QImage img(kColumns * 30 + 1, 3 * 30 + 1, QImage::Format_RGB32);
  QPainter p(&img);
  for (int y = 0; y < img.height(); ++y)
    p.fillRect(0, y, img.width(), 1, ToolbarRow(kToolbarButtonTop + std::max(0, (y % 30) - 1)));
  for (int row = 0; row < 3; ++row)
    for (int col = 0; col < kColumns; ++col)
      if (!DrawFace(p, iconDir, col, row)) return QImage();
  p.end();
  return img;
}

}  // namespace varlo::art
