// The window skin: 390 x 170 pixels with alpha. It holds the frames of the
// floating windows (current and other), their close button, the scroll bar
// parts, the progress panel with its bar, and the toolbar strip. The game
// cuts every part out of this image at fixed places, so each part below is
// drawn exactly into its rectangle and nothing else may overlap them.
#include <QLinearGradient>
#include <QPainter>

#include "art.h"
#include "palette.h"

namespace varlo::art {
namespace {

namespace pal = palette;

constexpr int kSkinW = 390;
constexpr int kSkinH = 170;

// A frame block: a complete 100 x 100 window whose caps, bands and corners
// the game stretches to any size. Caption 22 rows (the 18-row bar and the
// 4-row top border), 4-pixel borders, top corners rounded by 6 (the caption
// caps are 6 wide), bottom corners by 4 (the bottom band is 4 rows high).
constexpr int kBlock = 100;
constexpr int kCaption = 22;
constexpr int kBorder = 4;

void DrawFrameBlock(QPainter& p, int bx, int by, bool active) {
  const QColor top = active ? pal::kActiveTop : pal::kInactiveTop;
  const QColor bottom = active ? pal::kActiveBottom : pal::kInactiveBottom;
  const QColor edge = active ? pal::kActiveEdge : pal::kInactiveEdge;
  p.save();
  p.translate(bx, by);
  p.setClipRect(0, 0, kBlock, kBlock);
  p.setRenderHint(QPainter::Antialiasing, true);

  QLinearGradient caption(0, 0, 0, kCaption);
  caption.setColorAt(0.0, top);
  caption.setColorAt(1.0, bottom);
  p.fillPath(RoundedBox(QRectF(0, 0, kBlock, kBlock), 6, 6, 4, 4), caption);

  // The client area is the game's to paint: leave it empty.
  p.setCompositionMode(QPainter::CompositionMode_Clear);
  p.fillRect(kBorder, kCaption, kBlock - 2 * kBorder, kBlock - kCaption - kBorder, Qt::transparent);
  p.setCompositionMode(QPainter::CompositionMode_SourceOver);

  p.setRenderHint(QPainter::Antialiasing, false);
  // A soft light line along the caption's top, as if lit from above.
  p.fillRect(3, 1, kBlock - 6, 1, QColor(255, 255, 255, active ? 70 : 60));
  // The inner line that sets the client back from the frame.
  const QColor inner = WithAlpha(edge, 150);
  p.fillRect(kBorder - 1, kCaption - 1, kBlock - 2 * kBorder + 2, 1, inner);
  p.fillRect(kBorder - 1, kCaption, 1, kBlock - kCaption - kBorder + 1, inner);
  p.fillRect(kBlock - kBorder, kCaption, 1, kBlock - kCaption - kBorder + 1, inner);
  p.fillRect(kBorder, kBlock - kBorder, kBlock - 2 * kBorder, 1, inner);

  // The outline, a little transparent so that the frame's edge is soft on
  // any background.
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(QPen(WithAlpha(edge, 190), 1.0));
  p.setBrush(Qt::NoBrush);
  p.drawPath(RoundedBox(QRectF(0.5, 0.5, kBlock - 1, kBlock - 1), 5.5, 5.5, 3.5, 3.5));
  p.restore();
}

// The close button of pockets and the thumbnail: five 20 x 20 faces, 23
// pixels apart: normal, under the pointer, normal and under the pointer on
// the current window, pressed. It lies over the caption's right end, so all
// but the glyph and its disc is transparent and the caption shows through.
void DrawCloseButtons(QPainter& p, int x0, int y0) {
  struct Face {
    QColor disc;
    QColor glyph;
  };
  const Face faces[5] = {
      {Qt::transparent, QColor(255, 255, 255, 190)},
      {pal::kCloseHover, Qt::white},
      {Qt::transparent, QColor(255, 255, 255, 240)},
      {pal::kCloseHover, Qt::white},
      {pal::kClosePressed, QColor(255, 235, 235)},
  };
  for (int k = 0; k < 5; ++k) {
    p.save();
    p.translate(x0 + 23 * k, y0);
    p.setClipRect(0, 0, 20, 20);
    p.setRenderHint(QPainter::Antialiasing, true);
    // Centred on the caption's text line, clear of the 4-pixel right border.
    const QPointF c(9.0, 11.0);
    if (faces[k].disc.alpha() > 0) {
      p.setPen(Qt::NoPen);
      p.setBrush(faces[k].disc);
      p.drawEllipse(c, 7.5, 7.5);
    }
    QPen pen(faces[k].glyph, 1.7, Qt::SolidLine, Qt::RoundCap);
    p.setPen(pen);
    const double a = 3.3;
    p.drawLine(QPointF(c.x() - a, c.y() - a), QPointF(c.x() + a, c.y() + a));
    p.drawLine(QPointF(c.x() - a, c.y() + a), QPointF(c.x() + a, c.y() - a));
    p.restore();
  }
}

// Scroll bar tracks: the vertical one has its edge line at the left, the
// horizontal one at the top, and so do the buttons and thumbs that sit in
// them.
void FillTrack(QPainter& p, const QRect& r, bool vertical) {
  p.fillRect(r, pal::kTrack);
  if (vertical)
    p.fillRect(r.x(), r.y(), 1, r.height(), pal::kTrackEdge);
  else
    p.fillRect(r.x(), r.y(), r.width(), 1, pal::kTrackEdge);
}

enum class Part { Left, Right, HThumb, Up, Down, VThumb };

// One 17 x 17 scroll bar button face; state 0 normal, 1 under the pointer,
// 2 pressed.
void DrawScrollFace(QPainter& p, int x, int y, Part part, int state) {
  const bool vertical = part == Part::Up || part == Part::Down || part == Part::VThumb;
  p.save();
  p.translate(x, y);
  p.setClipRect(0, 0, 17, 17);
  FillTrack(p, QRect(0, 0, 17, 17), vertical);
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(Qt::NoPen);
  if (part == Part::HThumb || part == Part::VThumb) {
    const QColor fill = state == 0 ? pal::kThumb : state == 1 ? pal::kThumbHover : pal::kThumbPressed;
    // A pill 9 pixels thick; its middle row or column is what the game
    // stretches, so the pill runs straight through it.
    const QRectF pill = part == Part::HThumb ? QRectF(1.5, 4.5, 14, 9) : QRectF(4.5, 1.5, 9, 14);
    p.setBrush(fill);
    p.drawRoundedRect(pill, 4.5, 4.5);
  } else {
    if (state > 0) {
      p.setBrush(state == 1 ? WithAlpha(pal::kThumb, 150) : pal::kThumbPressed);
      p.drawRoundedRect(QRectF(vertical ? 2.5 : 1.5, vertical ? 1.5 : 2.5, 13, 13), 3.5, 3.5);
    }
    // A chevron pointing the way the content moves.
    QPen pen(state == 2 ? Qt::white : pal::kArrow, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    const QPointF c(vertical ? 9.0 : 8.5, vertical ? 8.5 : 9.0);
    const double s = 2.6;
    QPolygonF chevron;
    switch (part) {
      case Part::Left:
        chevron << QPointF(c.x() + s * 0.6, c.y() - s) << QPointF(c.x() - s * 0.6, c.y())
                << QPointF(c.x() + s * 0.6, c.y() + s);
        break;
      case Part::Right:
        chevron << QPointF(c.x() - s * 0.6, c.y() - s) << QPointF(c.x() + s * 0.6, c.y())
                << QPointF(c.x() - s * 0.6, c.y() + s);
        break;
      case Part::Up:
        chevron << QPointF(c.x() - s, c.y() + s * 0.6) << QPointF(c.x(), c.y() - s * 0.6)
                << QPointF(c.x() + s, c.y() + s * 0.6);
        break;
      default:
        chevron << QPointF(c.x() - s, c.y() - s * 0.6) << QPointF(c.x(), c.y() + s * 0.6)
                << QPointF(c.x() + s, c.y() - s * 0.6);
        break;
    }
    p.drawPolyline(chevron);
  }
  p.restore();
}

// The box where the two bars of a side meet; dragging it sizes the main
// window, so it carries a small grip.
void DrawCornerBox(QPainter& p, int x, int y) {
  p.fillRect(x, y, 17, 17, pal::kTrack);
  p.fillRect(x, y, 17, 1, pal::kTrackEdge);
  p.fillRect(x, y, 1, 17, pal::kTrackEdge);
  p.save();
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(Qt::NoPen);
  p.setBrush(pal::kThumbHover);
  // Six dots in a triangle against the bottom-right corner.
  for (int up = 0; up < 3; ++up)
    for (int left = 0; left + up < 3; ++left)
      p.drawEllipse(QPointF(x + 13.0 - 3.5 * left, y + 13.0 - 3.5 * up), 1.1, 1.1);
  p.restore();
}

// The progress panel's colour in each of its 100 rows.
QColor PanelRow(int row) {
  if (row == 0 || row == 99) return pal::kBarLine;
  if (row == 1) return QColor(255, 255, 255);
  return Mix(pal::kBarTop, pal::kBarBottom, (row - 1) / 98.0);
}

// Progress panel: left end, middle tile and right end, each 10 x 100.
void DrawPanel(QPainter& p, int x0, int y0) {
  for (int row = 0; row < 100; ++row) p.fillRect(x0, y0 + row, 30, 1, PanelRow(row));
  p.fillRect(x0, y0, 1, 100, pal::kBarLine);
  p.fillRect(x0 + 1, y0 + 1, 1, 98, QColor(255, 255, 255, 170));
  p.fillRect(x0 + 29, y0, 1, 100, pal::kBarLine);
}

// Progress bars, full and empty: 10 x 20 left, middle and right pieces. The
// bar sits at row 56 of the panel, so the panel's rows show around its
// rounded ends.
void DrawBar(QPainter& p, int x0, int y0, bool full) {
  for (int row = 0; row < 20; ++row) p.fillRect(x0, y0 + row, 30, 1, PanelRow(56 + row));
  p.save();
  p.setClipRect(x0, y0, 30, 20);
  p.setRenderHint(QPainter::Antialiasing, true);
  const QRectF pill(x0 + 1.5, y0 + 3.5, 27, 13);
  if (full) {
    QLinearGradient g(0, y0 + 3, 0, y0 + 17);
    g.setColorAt(0.0, pal::kAccentLight);
    g.setColorAt(1.0, pal::kAccent);
    p.setPen(QPen(pal::kAccent.darker(125), 1.0));
    p.setBrush(g);
    p.drawRoundedRect(pill, 6.5, 6.5);
    p.setPen(QPen(QColor(255, 255, 255, 90), 1.0));
    p.drawLine(QPointF(x0 + 7, y0 + 5.5), QPointF(x0 + 23, y0 + 5.5));
  } else {
    QLinearGradient g(0, y0 + 3, 0, y0 + 17);
    g.setColorAt(0.0, QColor(0xD3, 0xD8, 0xDF));
    g.setColorAt(1.0, QColor(0xE6, 0xE9, 0xED));
    p.setPen(QPen(QColor(0xBC, 0xC3, 0xCC), 1.0));
    p.setBrush(g);
    p.drawRoundedRect(pill, 6.5, 6.5);
  }
  p.restore();
}

// Toolbar strip: left end 10 x 35, a 50 x 35 tile, right end 10 x 35, laid
// side by side. The strip is the same across its whole width.
void DrawToolbarStrip(QPainter& p, int x0, int y0) {
  for (int row = 0; row < kToolbarHeight; ++row) p.fillRect(x0, y0 + row, 70, 1, ToolbarRow(row));
}

}  // namespace

QColor ToolbarRow(int row) {
  if (row <= 0) return QColor(255, 255, 255);
  if (row >= kToolbarHeight - 1) return palette::kBarLine;
  if (row == kToolbarHeight - 2) return Mix(palette::kBarBottom, palette::kBarLine, 0.35);
  return Mix(palette::kBarTop, palette::kBarBottom, (row - 1) / double(kToolbarHeight - 3));
}

QImage DrawWindowSkin() {
  QImage img = NewCanvas(kSkinW, kSkinH);
  QPainter p(&img);

  DrawFrameBlock(p, 1, 1, false);    // other windows: x 1..100, y 1..100
  DrawFrameBlock(p, 103, 1, true);   // the current window: x 103..202
  DrawCloseButtons(p, 2, 110);       // five faces at x 2, 25, 48, 71, 94

  // Scroll bar buttons at x 211 (normal), 231 (under the pointer), 251
  // (pressed); rows 1, 21, ..., 101: left, right, horizontal thumb, up,
  // down, vertical thumb.
  const Part parts[6] = {Part::Left, Part::Right, Part::HThumb, Part::Up, Part::Down, Part::VThumb};
  for (int i = 0; i < 6; ++i)
    for (int s = 0; s < 3; ++s) DrawScrollFace(p, 211 + 20 * s, 1 + 20 * i, parts[i], s);

  DrawCornerBox(p, 276, 1);                     // 17 x 17
  FillTrack(p, QRect(276, 19, 17, 22), true);   // row 21 is stretched down the vertical track
  FillTrack(p, QRect(294, 1, 12, 17), false);   // column 296 is stretched along the horizontal one

  DrawPanel(p, 308, 1);       // 308 left end, 318 middle, 328 right end; 100 rows
  DrawBar(p, 340, 1, true);   // full bar: 340, 350, 360; 20 rows
  DrawBar(p, 340, 22, false); // empty bar, same columns
  DrawToolbarStrip(p, 308, 115);  // 308 left end, 318 tile (50 wide), 368 right end
  p.end();
  return img;
}

}  // namespace varlo::art
