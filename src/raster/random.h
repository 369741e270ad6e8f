// The game's random generator: the classic 32-bit linear congruential one.
//
// Each draw Random(n) first advances seed = seed * 134775813 + 1 (mod 2^32)
// and then returns the upper 32 bits of the 64-bit product seed * n, a
// number in 0..n-1. Random(1) still advances the seed. A cut seeds it from
// GameSeed and the order of its draws is part of the cut, so the same seed
// and settings always give the same jigsaw.
#pragma once

#include <cstdint>

namespace varlo {

class RandomGenerator {
 public:
  RandomGenerator() = default;
  explicit RandomGenerator(uint32_t seed) : seed_(seed) {}

  void SetSeed(uint32_t seed) { seed_ = seed; }
  uint32_t Seed() const { return seed_; }

  // A number in 0..n-1; n <= 0 gives 0 after advancing, as the 64-bit
  // product of the unsigned seed with a non-positive count would be
  // meaningless.
  int32_t Random(int32_t n) {
    seed_ = seed_ * 134775813u + 1u;
    if (n <= 0) return 0;
    return static_cast<int32_t>((static_cast<uint64_t>(seed_) * static_cast<uint64_t>(n)) >> 32);
  }

 private:
  uint32_t seed_ = 0;
};

}  // namespace varlo
