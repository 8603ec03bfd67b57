// The demo generator's own pseudo-random numbers: a 64-bit SplitMix sequence, so that the same
// seed gives the same rows on every machine and every standard library.
#pragma once

#include <cstdint>
#include <span>

namespace quillon::db {

class DemoRandom {
 public:
  explicit DemoRandom(std::uint64_t seed) : state_(seed) {}

  std::uint64_t next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }

  // Uniform in [lo, hi], both inclusive.
  int between(int lo, int hi) {
    const auto span = static_cast<std::uint64_t>(hi - lo + 1);
    return lo + static_cast<int>(next() % span);
  }

  // True with the given chance in percent.
  bool chance(int percent) { return between(0, 99) < percent; }

  // A quantity with the given number of decimals in [lo, hi].
  double amount(int lo, int hi, int decimals = 0) {
    int scale = 1;
    for (int i = 0; i < decimals; ++i) scale *= 10;
    return static_cast<double>(between(lo * scale, hi * scale)) / scale;
  }

  template <typename T>
  const T& pick(std::span<const T> items) {
    return items[static_cast<std::size_t>(next() % items.size())];
  }

 private:
  std::uint64_t state_;
};

}  // namespace quillon::db
