// Previews for the developer: a mock play field assembled from the baked
// files by the same cutting rules the game uses (caps, stretched middles,
// button faces by state), so a wrong offset or an ugly seam shows at once.
// Not part of the build's outputs.
#include <cstdio>

#include <QFont>
#include <QPainter>

#include "art.h"

namespace varlo::art {
namespace {

void Blit(QPainter& p, const QImage& skin, QRect src, QRect dst) { p.drawImage(dst, skin, src); }

// A pocket or thumbnail window by the frame rules: 22-row caption, 4-pixel
// border, close button at the top right, optional scroll bars.
void MockWindow(QPainter& p, const QImage& skin, const QImage& bkg, QRect outer, bool active,
                const QString& title, bool bars, int hoverClose) {
  const int b = active ? 103 : 1;
  const int L = outer.left(), T = outer.top(), R = outer.right(), B = outer.bottom();
  const int W = outer.width();
  // Client first, so the frame's soft inner line lies over it.
  const QRect client(L + 4, T + 22, W - 8 - (bars ? 17 : 0), outer.height() - 26 - (bars ? 17 : 0));
  p.drawImage(client, bkg, QRect(200, 200, client.width(), client.height()));
  Blit(p, skin, QRect(b, 1, 6, 22), QRect(L, T, 6, 22));
  Blit(p, skin, QRect(b + 94, 1, 6, 22), QRect(R - 5, T, 6, 22));
  Blit(p, skin, QRect(b + 6, 1, 1, 22), QRect(L + 6, T, W - 12, 22));
  Blit(p, skin, QRect(b, 97, 10, 4), QRect(L, B - 3, 10, 4));
  Blit(p, skin, QRect(b + 90, 97, 10, 4), QRect(R - 9, B - 3, 10, 4));
  Blit(p, skin, QRect(b + 10, 97, 1, 4), QRect(L + 10, B - 3, W - 20, 4));
  Blit(p, skin, QRect(b, 23, 4, 5), QRect(L, T + 22, 4, 5));
  Blit(p, skin, QRect(b + 96, 23, 4, 5), QRect(R - 3, T + 22, 4, 5));
  Blit(p, skin, QRect(b, 31, 4, 1), QRect(L, T + 27, 4, B - 3 - (T + 27)));
  Blit(p, skin, QRect(b + 96, 31, 4, 1), QRect(R - 3, T + 27, 4, B - 3 - (T + 27)));
  QFont font("DejaVu Sans");
  font.setPixelSize(11);
  font.setBold(true);
  p.setFont(font);
  p.setPen(Qt::white);
  p.drawText(QRect(L + 12, T + 1, W - 40, 22), Qt::AlignCenter, title);
  const int closeFace = active ? (hoverClose ? 3 : 2) : (hoverClose ? 1 : 0);
  Blit(p, skin, QRect(2 + 23 * closeFace, 110, 20, 20), QRect(R - 19, T, 20, 20));
  if (!bars) return;
  const int by = B - 4 - 16, bx = R - 4 - 16;
  Blit(p, skin, QRect(211, 1, 17, 17), QRect(L + 4, by, 17, 17));
  Blit(p, skin, QRect(231, 21, 17, 17), QRect(bx - 17, by, 17, 17));
  Blit(p, skin, QRect(296, 1, 1, 17), QRect(L + 21, by, bx - 17 - (L + 21), 17));
  const int tx = L + 60, tw = 70;
  Blit(p, skin, QRect(211, 41, 8, 17), QRect(tx, by, 8, 17));
  Blit(p, skin, QRect(219, 41, 1, 17), QRect(tx + 8, by, tw - 17, 17));
  Blit(p, skin, QRect(219, 41, 9, 17), QRect(tx + tw - 9, by, 9, 17));
  Blit(p, skin, QRect(211, 61, 17, 17), QRect(bx, T + 22, 17, 17));
  Blit(p, skin, QRect(251, 81, 17, 17), QRect(bx, by - 17, 17, 17));
  Blit(p, skin, QRect(276, 21, 17, 1), QRect(bx, T + 39, 17, by - 17 - (T + 39)));
  const int ty = T + 50, th = 40;
  Blit(p, skin, QRect(231, 101, 17, 8), QRect(bx, ty, 17, 8));
  Blit(p, skin, QRect(231, 109, 17, 1), QRect(bx, ty + 8, 17, th - 17));
  Blit(p, skin, QRect(231, 109, 17, 9), QRect(bx, ty + th - 9, 17, 9));
  Blit(p, skin, QRect(276, 1, 17, 17), QRect(bx, by, 17, 17));
}

// The glass: four corners, the lens with its one-pixel rim, the buttons.
void MockGlass(QPainter& p, const QImage& skin, const QImage& field, QRect outer) {
  const int L = outer.left(), T = outer.top(), R = outer.right(), B = outer.bottom();
  Blit(p, skin, QRect(0, 0, 93, 93), QRect(L, T, 93, 93));
  Blit(p, skin, QRect(96, 0, 93, 93), QRect(R - 92, T, 93, 93));
  Blit(p, skin, QRect(0, 96, 93, 93), QRect(L, B - 92, 93, 93));
  Blit(p, skin, QRect(96, 96, 93, 93), QRect(R - 92, B - 92, 93, 93));
  Blit(p, skin, QRect(196, 2, 14, 14), QRect(R - 14 - 16 + 1, T + 15, 14, 14));
  Blit(p, skin, QRect(196, 25, 27, 27), QRect(L + 9, T + 8, 27, 27));
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  QPainterPath lens;
  lens.addEllipse(QRectF(outer));
  p.setClipPath(lens);
  const QRect src(outer.center().x() - outer.width() / 4, outer.center().y() - outer.height() / 4,
                  outer.width() / 2, outer.height() / 2);
  p.drawImage(outer, field, src);
  p.setClipping(false);
  p.setPen(QPen(QColor(0xF2, 0xF2, 0xF2), 1));
  p.drawArc(QRectF(outer).adjusted(0.5, 0.5, -0.5, -0.5), 45 * 16, 180 * 16);
  p.setPen(QPen(QColor(0x0D, 0x0D, 0x0D), 1));
  p.drawArc(QRectF(outer).adjusted(0.5, 0.5, -0.5, -0.5), 225 * 16, 180 * 16);
  p.restore();
}

QImage Keyed(const QImage& img) {
  QImage out = img.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < out.height(); ++y) {
    QRgb* row = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < out.width(); ++x)
      if ((row[x] & 0xFFFFFF) == 0xFFFFFF) row[x] = 0;
  }
  return out;
}

bool Load(QImage& img, const QString& path) {
  if (img.load(path)) return true;
  std::fprintf(stderr, "varlo-bake-art: cannot read %s\n", qPrintable(path));
  return false;
}

}  // namespace

bool WritePreviews(const QString& res, const QString& bkgDir, const QString& out) {
  QImage skin, glass, weight, star, toolbar, wood, stucco;
  if (!Load(skin, res + "/window_skin.png") || !Load(glass, res + "/glass_skin.png") ||
      !Load(weight, res + "/weight.png") || !Load(star, res + "/star.png") ||
      !Load(toolbar, res + "/toolbar_skin.png") || !Load(wood, bkgDir + "/wood1-1600.jpg") ||
      !Load(stucco, bkgDir + "/stucco1-1600.jpg"))
    return false;

  QImage scene = NewCanvas(1100, 700, QColor(0x98, 0x98, 0x98));
  QPainter p(&scene);
  // Toolbar: strip tiles, then button faces in a row (some hot, some off).
  Blit(p, skin, QRect(308, 115, 10, 35), QRect(0, 0, 10, 35));
  for (int x = 10; x < scene.width(); x += 50) Blit(p, skin, QRect(318, 115, 50, 35), QRect(x, 0, 50, 35));
  Blit(p, skin, QRect(368, 115, 10, 35), QRect(scene.width() - 10, 0, 10, 35));
  for (int k = 0; k < 22; ++k) {
    const int row = k == 3 || k == 21 ? 1 : (k == 1 || k == 12) ? 2 : 0;
    const int w = k == 19 || k == 20 ? 25 : 29;
    Blit(p, toolbar, QRect(k * 30 + 1, row * 30 + 1, w, 29), QRect(4 + k * 40, 2, w, 29));
  }
  p.drawImage(QRect(0, 35, 1100, 665), wood, QRect(0, 0, 1100, 665));
  MockWindow(p, skin, stucco, QRect(30, 80, 300, 220), false, "Pocket 1 (3)", true, 0);
  MockWindow(p, skin, stucco, QRect(360, 80, 260, 200), true, "Pocket 2 (12)", false, 1);
  MockWindow(p, skin, wood, QRect(30, 330, 200, 150), true, "Thumbnail", false, 0);
  MockGlass(p, glass, scene.copy(), QRect(660, 60, 240, 240));
  MockGlass(p, glass, scene.copy(), QRect(560, 300, 380, 380));
  p.drawImage(300 - 14, 560 - 33, weight);
  const QImage keyed = Keyed(star);
  for (int k = 0; k < 5; ++k) p.drawImage(QPoint(260 + 30 * k, 620), keyed, QRect(24 * k, 0, 23, 23));
  // Progress panel with a bar half full.
  const int P = 260, px = 30, py = 510;
  Blit(p, skin, QRect(308, 1, 10, 100), QRect(px, py, 10, 100));
  for (int x = 10; x < P - 10; x += 10) Blit(p, skin, QRect(318, 1, 10, 100), QRect(px + x, py, 10, 100));
  Blit(p, skin, QRect(328, 1, 10, 100), QRect(px + P - 10, py, 10, 100));
  auto bar = [&](int y0, int width) {
    Blit(p, skin, QRect(340, y0, 10, 20), QRect(px + 35, py + 56, 10, 20));
    Blit(p, skin, QRect(350, y0, 10, 20), QRect(px + 45, py + 56, width - 20, 20));
    Blit(p, skin, QRect(360, y0, 10, 20), QRect(px + 35 + width - 10, py + 56, 10, 20));
  };
  bar(22, P - 70);
  bar(1, (P - 70) / 2);
  p.end();
  bool ok = SaveRgbPng(scene, out + "/preview-field.png");
  // The small parts four times larger.
  QImage small = NewCanvas(260, 60, QColor(0x98, 0x98, 0x98));
  QPainter q(&small);
  q.drawImage(4, 10, weight);
  for (int k = 0; k < 5; ++k) q.drawImage(QPoint(44 + 30 * k, 17), keyed, QRect(24 * k, 0, 23, 23));
  q.drawImage(QRect(200, 4, 29, 29), toolbar, QRect(15 * 30 + 1, 1, 29, 29));
  q.drawImage(QRect(200, 31, 29, 29), toolbar, QRect(10 * 30 + 1, 1, 29, 29));
  q.end();
  ok = SaveRgbPng(small.scaled(small.size() * 4), out + "/preview-small.png") && ok;
  return ok;
}

}  // namespace varlo::art
