#include "rtl/Random.h"

#include <chrono>
#include <random>

namespace rtl {

namespace {

std::mt19937_64& Generator() {
  static std::mt19937_64 generator{0x4A4257};
  return generator;
}

}  // namespace

void Randomize() {
  RandSeed(static_cast<uint64_t>(std::chrono::system_clock::now().time_since_epoch().count()));
}

void RandSeed(uint64_t seed) {
  Generator().seed(seed);
}

int32_t Random(int32_t range) {
  if (range <= 0) return 0;
  return std::uniform_int_distribution<int32_t>(0, range - 1)(Generator());
}

}  // namespace rtl
