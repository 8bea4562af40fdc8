// A fixed pseudo-random sequence (64-bit LCG), so every run generates the same bytes.
#pragma once

#include <cstdint>

namespace morvel::bench {

class Sequence {
 public:
  explicit Sequence(std::uint64_t seed) : state_(seed) {}
  std::uint32_t Next(std::uint32_t bound) {
    state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<std::uint32_t>(state_ >> 33) % bound;
  }

 private:
  std::uint64_t state_;
};

}  // namespace morvel::bench
