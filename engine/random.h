// The show's one random source: uniform floats in [0, 1), seedable so a show replays exactly.
#pragma once

#include <cstdint>

namespace glintora {

class Random {
 public:
  explicit Random(std::uint64_t seed = 1) { Seed(seed); }

  void Seed(std::uint64_t seed) { state_ = seed ^ 0x9E3779B97F4A7C15ull; }

  // splitmix64; the top 24 bits make every float of [0, 1) at spacing 2^-24 equally likely.
  float Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    z ^= z >> 31;
    return static_cast<float>(z >> 40) * (1.0f / 16777216.0f);
  }


 private:
  std::uint64_t state_ = 0;
};

}  // namespace glintora
