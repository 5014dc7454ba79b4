#pragma once

#include <cstdint>

namespace rtl {

// The program's one random generator. Randomize seeds it from the clock (once per run);
// tests seed it with RandSeed to get repeatable draws.
void Randomize();
void RandSeed(uint64_t seed);

// A uniformly drawn whole number from 0 to range - 1; 0 when range is 0 or less.
int32_t Random(int32_t range);

}  // namespace rtl
