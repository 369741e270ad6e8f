// Deterministic gradient noise for the baked textures: the same seed gives
// the same picture on every build.
#pragma once

#include <array>
#include <cstdint>

namespace varlo::art {

// A small, fast, seedable generator (splitmix64).
class Mixer {
 public:
  explicit Mixer(uint64_t seed) : state_(seed) {}
  uint64_t Next();
  double Unit() { return static_cast<double>(Next() >> 11) * (1.0 / 9007199254740992.0); }  // [0, 1)
  double Range(double lo, double hi) { return lo + (hi - lo) * Unit(); }

 private:
  uint64_t state_;
};

// A hash of integers to [0, 1), for per-board choices.
double Hash01(uint64_t a, uint64_t b = 0, uint64_t c = 0);

// Perlin gradient noise in two dimensions, about -1..1, 0 at lattice points.
class Noise {
 public:
  explicit Noise(uint64_t seed);
  double At(double x, double y) const;
  // Sum of `octaves` layers, each twice the frequency and `gain` the size of
  // the one before, divided by the sum of their sizes.
  double Fbm(double x, double y, int octaves, double gain = 0.5) const;

 private:
  std::array<uint8_t, 512> perm_{};
};

}  // namespace varlo::art
