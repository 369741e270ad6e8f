// The eight background pictures: parquet, two plasters and five wooden
// floors, generated from noise so that they never repeat across a large
// field. Wood is modelled as it is cut: each board is a slice of a log whose
// growth rings are circles around an axis below the board's face, so the
// rings show as stripes and arches; fine fibres run along the board, and
// every board has its own slice, colour and length. Plaster is a height
// field lit from the top left.
#include <algorithm>
#include <cmath>
#include <vector>

#include <QPainter>

#include "art.h"
#include "noise.h"

namespace varlo::art {
namespace {

struct Rgb {
  double r, g, b;
};

Rgb ToRgb(QColor c) { return {double(c.red()), double(c.green()), double(c.blue())}; }
Rgb Lerp(const Rgb& a, const Rgb& b, double t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}
Rgb Scale(const Rgb& a, double k) { return {a.r * k, a.g * k, a.b * k}; }
double Smooth(double e0, double e1, double x) {
  const double t = std::clamp((x - e0) / (e1 - e0), 0.0, 1.0);
  return t * t * (3 - 2 * t);
}
QRgb Pack(const Rgb& c) {
  auto ch = [](double v) { return static_cast<int>(std::clamp(v + 0.5, 0.0, 255.0)); };
  return qRgb(ch(c.r), ch(c.g), ch(c.b));
}

// ---- Wood ----

struct WoodLook {
  QColor early, late;  // the light and dark parts of a growth ring
  double ringPx;       // distance between rings where the slice is flat
  double fibre;        // strength of the fine streaks along the grain
  double pores;        // strength of the open pores (oak, ash)
  double tint;         // spread of brightness between boards
  uint64_t seed;
};

// One board: where its slice lies in the log.
struct Board {
  double axis;   // across the board, where the log's axis lies (pixels)
  double depth;  // how far below the face the axis lies
  double sway;   // how much the depth changes along the board
  double phase;  // start of the ring pattern
  double shade;  // brightness of this board
  double warm;   // a slight shift to red or yellow
  double along;  // offset into the noise along the board
};

Board MakeBoard(uint64_t seed, uint64_t a, uint64_t b, double width, double tint) {
  Board d;
  d.axis = width * (Hash01(seed, a, b * 7 + 1) * 1.6 - 0.3);
  d.depth = 6 + 70 * Hash01(seed, a, b * 7 + 2);
  d.sway = 10 + 45 * Hash01(seed, a, b * 7 + 3);
  d.phase = Hash01(seed, a, b * 7 + 4);
  d.shade = 1.0 + tint * (Hash01(seed, a, b * 7 + 5) * 2 - 1);
  d.warm = Hash01(seed, a, b * 7 + 6) * 2 - 1;
  d.along = 1000 * Hash01(seed, a, b * 7 + 7);
  return d;
}

// The colour of a board at u along its grain and v across it.
Rgb WoodAt(const WoodLook& look, const Noise& noise, const Board& b, double u, double v) {
  const double uu = u + b.along;
  const double dz = b.depth + b.sway * noise.At(uu * 0.0023, b.phase * 31.0);
  double r = std::sqrt((v - b.axis) * (v - b.axis) + dz * dz);
  r += 9.0 * noise.Fbm(uu * 0.0035, v * 0.018, 3);
  // Years of faster and slower growth: the rings are not evenly spaced.
  const double t = r / look.ringPx + b.phase + 0.35 * noise.At(r * 0.045, b.phase * 13.0 + 5.0);
  const double f = t - std::floor(t);
  // Earlywood darkens slowly into the latewood, which ends sharply.
  double late = (0.3 * f + 0.7 * Smooth(0.72, 0.9, f)) * (1.0 - Smooth(0.93, 1.0, f));
  const double streak = noise.Fbm(uu * 0.006, v * 0.22, 2);
  // The latewood lines come and go along the board.
  late *= 0.75 + 0.25 * noise.At(uu * 0.004 + 3.0, r * 0.08);
  late = std::clamp(late * 0.85 + look.fibre * streak, 0.0, 1.0);
  Rgb c = Lerp(ToRgb(look.early), ToRgb(look.late), late);
  // Fine fibres a pixel or two wide, long along the grain.
  const double fine = 0.6 * noise.At(uu * 0.028, v * 1.05 + 11.0) + 0.4 * noise.At(uu * 0.05, v * 2.3 + 23.0);
  // Broad, faint patches of lighter and darker wood.
  const double patch = noise.Fbm(uu * 0.0025 + 50.0, v * 0.01 + b.phase * 7.0, 2);
  c = Scale(c, 1.0 + 0.11 * fine + 0.06 * patch);
  if (look.pores > 0) {
    const double pore = noise.At(uu * 0.22, v * 1.7 + 40.0);
    if (pore > 0.45) c = Scale(c, 1.0 - look.pores * Smooth(0.45, 0.75, pore));
  }
  c = Scale(c, b.shade);
  c.r *= 1.0 + 0.025 * b.warm;
  c.b *= 1.0 - 0.03 * b.warm;
  return c;
}

// Seams between boards: a dark joint, a lit edge after it and a shaded edge
// before the next one. d0 and d1 are the distances to the two edges.
double Seam(double d0, double d1) {
  if (d0 < 1.0 || d1 < 1.0) return 0.55;
  if (d0 < 2.0) return 1.05;
  if (d1 < 2.0) return 0.90;
  return 1.0;
}

// Large, soft unevenness of the light over the whole floor.
double Light(const Noise& noise, int x, int y) { return 1.0 + 0.035 * noise.Fbm(x * 0.0011, y * 0.0011, 2); }

// Boards in rows across the picture, their ends staggered at random.
QImage Planks(const WoodLook& look, int w, int h, int boardH, int boardL) {
  const Noise noise(look.seed);
  QImage img(w, h, QImage::Format_RGB32);
  const int rows = (h + boardH - 1) / boardH;
  for (int row = 0; row < rows; ++row) {
    // Board starts along this row.
    std::vector<int> starts;
    int x = -static_cast<int>(boardL * Hash01(look.seed, row, 991));
    while (x < w) {
      starts.push_back(x);
      x += static_cast<int>(boardL * (0.55 + 0.9 * Hash01(look.seed, row, starts.size() + 3)));
    }
    starts.push_back(x);
    for (int y = row * boardH; y < std::min(h, (row + 1) * boardH); ++y) {
      QRgb* out = reinterpret_cast<QRgb*>(img.scanLine(y));
      const double v = y - row * boardH;
      size_t k = 0;
      Board b = MakeBoard(look.seed, row, 0, boardH, look.tint);
      for (int px = 0; px < w; ++px) {
        while (px >= starts[k + 1]) {
          ++k;
          b = MakeBoard(look.seed, row, k, boardH, look.tint);
        }
        const double u = px - starts[k];
        Rgb c = WoodAt(look, noise, b, u, v);
        const double seam = std::min(Seam(v, boardH - 1 - v), Seam(u, starts[k + 1] - 1 - px));
        c = Scale(c, seam * Light(noise, px, y));
        out[px] = Pack(c);
      }
    }
  }
  return img;
}

// Basket-weave parquet: square cells of `strips` strips each, turned by a
// quarter from cell to cell.
QImage Parquet(const WoodLook& look, int w, int h, int stripW, int strips) {
  const Noise noise(look.seed);
  const int cell = stripW * strips;
  QImage img(w, h, QImage::Format_RGB32);
  for (int y = 0; y < h; ++y) {
    QRgb* out = reinterpret_cast<QRgb*>(img.scanLine(y));
    for (int x = 0; x < w; ++x) {
      const int cx = x / cell, cy = y / cell;
      const int lx = x - cx * cell, ly = y - cy * cell;
      const bool across = ((cx + cy) & 1) == 0;
      const int along = across ? lx : ly;
      const int side = across ? ly : lx;
      const int strip = side / stripW;
      const double v = side - strip * stripW;
      const Board b = MakeBoard(look.seed, cx * 131 + cy, strip, stripW, look.tint);
      // Each strip's grain continues from its own place in the log.
      Rgb c = WoodAt(look, noise, b, along + (across ? 0 : 5000), v);
      const double seam = std::min(Seam(v, stripW - 1 - v), Seam(along, cell - 1 - along));
      c = Scale(c, seam * Light(noise, x, y));
      out[x] = Pack(c);
    }
  }
  return img;
}

// ---- Plaster ----

struct PlasterLook {
  QColor light, dark;  // the two colours of the mottling
  double relief;       // height of the surface's bumps
  double scale;        // size of the bumps (larger is finer)
  double knock;        // 0 smooth trowelled plaster, 1 flattened splatter
  double grain;        // sand in the surface
  uint64_t seed;
};

QImage Plaster(const PlasterLook& look, int w, int h) {
  const Noise noise(look.seed), colour(look.seed + 1), sand(look.seed + 2);
  std::vector<float> height(static_cast<size_t>(w + 1) * (h + 1));
  for (int y = 0; y <= h; ++y) {
    for (int x = 0; x <= w; ++x) {
      double z = noise.Fbm(x * look.scale, y * look.scale, 4, 0.5);
      if (look.knock > 0) {
        // Splatter flattened by a trowel: plateaus with soft rims.
        const double plateau = Smooth(-0.02, 0.12, z);
        z = z * (1 - look.knock) + plateau * look.knock * 0.6;
      }
      z += 0.012 * sand.At(x * 0.3, y * 0.3) * look.grain;
      height[static_cast<size_t>(y) * (w + 1) + x] = static_cast<float>(z);
    }
  }
  QImage img(w, h, QImage::Format_RGB32);
  const Rgb light = ToRgb(look.light), dark = ToRgb(look.dark);
  for (int y = 0; y < h; ++y) {
    QRgb* out = reinterpret_cast<QRgb*>(img.scanLine(y));
    for (int x = 0; x < w; ++x) {
      const float* row = &height[static_cast<size_t>(y) * (w + 1) + x];
      const double dx = row[1] - row[0];
      const double dy = row[w + 1] - row[0];
      // Light from the top left: slopes facing it are brighter.
      const double lit = std::clamp(1.0 - look.relief * (dx + dy) * 40.0, 0.7, 1.3);
      const double m = 0.5 + 0.5 * colour.Fbm(x * 0.0022, y * 0.0022, 4, 0.55);
      Rgb c = Lerp(dark, light, std::clamp(m, 0.0, 1.0));
      c = Scale(c, lit * (1.0 + 0.02 * look.grain * sand.At(x * 0.7 + 7, y * 0.7)));
      out[x] = Pack(c);
    }
  }
  return img;
}

const char* const kNames[kBackgroundCount] = {"parquet", "stucco1", "stucco4", "wood1",
                                              "wood2",   "wood3",   "wood4",   "wood5"};

}  // namespace

const char* BackgroundName(int index) { return kNames[index]; }

QImage DrawBackground(int index, int w, int h) {
  switch (index) {
    case 0:  // honey oak parquet
      return Parquet({QColor(0xCF, 0xA0, 0x6A), QColor(0xA0, 0x6E, 0x40), 11, 0.18, 0.10, 0.07, 101}, w, h, 48, 4);
    case 1:  // warm, smooth plaster
      return Plaster({QColor(0xE6, 0xDA, 0xC4), QColor(0xCF, 0xBE, 0xA0), 0.25, 0.0042, 0.0, 0.5, 202}, w, h);
    case 2:  // rough sage-grey plaster
      return Plaster({QColor(0xBF, 0xC4, 0xB8), QColor(0xA3, 0xAA, 0x9E), 0.3, 0.0075, 0.0, 1.0, 303}, w, h);
    case 3:  // light oak planks
      return Planks({QColor(0xD8, 0xB2, 0x80), QColor(0xAE, 0x80, 0x50), 13, 0.16, 0.10, 0.06, 404}, w, h, 150, 900);
    case 4:  // walnut
      return Planks({QColor(0x80, 0x5A, 0x3E), QColor(0x4E, 0x33, 0x22), 12, 0.20, 0.0, 0.08, 505}, w, h, 130, 800);
    case 5:  // cherry
      return Planks({QColor(0xB2, 0x76, 0x57), QColor(0x82, 0x4C, 0x36), 13, 0.14, 0.0, 0.06, 606}, w, h, 140, 850);
    case 6:  // pale maple strips
      return Planks({QColor(0xEA, 0xD6, 0xB4), QColor(0xCF, 0xB2, 0x8A), 16, 0.12, 0.0, 0.05, 707}, w, h, 80, 700);
    default:  // smoked grey oak
      return Planks({QColor(0xB4, 0xAC, 0xA2), QColor(0x84, 0x7B, 0x70), 13, 0.18, 0.12, 0.06, 808}, w, h, 160, 1000);
  }
}

QImage BackgroundButton(const QImage& full) {
  // A 4:1 reduction of the middle shows the pattern at a glance.
  const QRect middle(full.width() / 2 - 126, full.height() / 2 - 100, 252, 200);
  return full.copy(middle).scaled(63, 50, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

}  // namespace varlo::art
