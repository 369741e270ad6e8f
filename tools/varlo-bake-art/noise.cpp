#include "noise.h"

#include <cmath>
#include <numeric>

namespace varlo::art {

uint64_t Mixer::Next() {
  uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

double Hash01(uint64_t a, uint64_t b, uint64_t c) {
  Mixer m(a * 0x100000001B3ull ^ (b + 0x51ED27ull) * 0xC2B2AE3D27D4EB4Full ^ (c + 0x2545F491ull) * 0x165667B19E3779F9ull);
  m.Next();
  return m.Unit();
}

Noise::Noise(uint64_t seed) {
  std::array<uint8_t, 256> p;
  std::iota(p.begin(), p.end(), 0);
  Mixer m(seed);
  for (int i = 255; i > 0; --i) {
    const int j = static_cast<int>(m.Next() % static_cast<uint64_t>(i + 1));
    std::swap(p[i], p[j]);
  }
  for (int i = 0; i < 512; ++i) perm_[i] = p[i & 255];
}

static double Fade(double t) { return t * t * t * (t * (t * 6 - 15) + 10); }

static double Grad(int h, double x, double y) {
  // Eight directions, evenly spread.
  switch (h & 7) {
    case 0: return x + y;
    case 1: return x - y;
    case 2: return -x + y;
    case 3: return -x - y;
    case 4: return 1.41421356 * x;
    case 5: return -1.41421356 * x;
    case 6: return 1.41421356 * y;
    default: return -1.41421356 * y;
  }
}

double Noise::At(double x, double y) const {
  const double fx = std::floor(x), fy = std::floor(y);
  const int xi = static_cast<int>(fx) & 255, yi = static_cast<int>(fy) & 255;
  const double dx = x - fx, dy = y - fy;
  const double u = Fade(dx), v = Fade(dy);
  const int aa = perm_[perm_[xi] + yi], ab = perm_[perm_[xi] + yi + 1];
  const int ba = perm_[perm_[xi + 1] + yi], bb = perm_[perm_[xi + 1] + yi + 1];
  const double x1 = Grad(aa, dx, dy) + u * (Grad(ba, dx - 1, dy) - Grad(aa, dx, dy));
  const double x2 = Grad(ab, dx, dy - 1) + u * (Grad(bb, dx - 1, dy - 1) - Grad(ab, dx, dy - 1));
  return (x1 + v * (x2 - x1)) * 0.7071;
}

double Noise::Fbm(double x, double y, int octaves, double gain) const {
  double sum = 0, amp = 1, norm = 0;
  for (int o = 0; o < octaves; ++o) {
    // Shift each layer so that the lattice points of the layers do not line up.
    sum += amp * At(x + 17.31 * o, y - 9.77 * o);
    norm += amp;
    amp *= gain;
    x *= 2.03;
    y *= 2.03;
  }
  return sum / norm;
}

}  // namespace varlo::art
