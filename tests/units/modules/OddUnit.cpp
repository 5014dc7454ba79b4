// Units that break the rules in the ways the loader and the resource lookup must
// survive; the build picks one with ODD_KIND.
#include <cstdint>

#include "jbw/SoundUnit.h"

namespace {

// A real, tiny WAVE image, so a lookup that gets past the damage finds something.
const unsigned char kGoodWave[] = {'R',  'I',  'F', 'F', 40,   0,    0, 0, 'W', 'A', 'V', 'E',
                                   'f',  'm',  't', ' ', 16,   0,    0, 0, 1,   0,   1,   0,
                                   0x40, 0x1f, 0,   0,   0x80, 0x3e, 0, 0, 2,   0,   16,  0,
                                   'd',  'a',  't', 'a', 4,    0,    0, 0, 1,   0,   2,   0};

const JbwResource kDamaged[] = {
    {"NoType", nullptr, kGoodWave, sizeof kGoodWave},
    {"NoData", "WAVE", nullptr, sizeof kGoodWave},
    {"Empty", "WAVE", kGoodWave, 0},
    {"Absurd", "WAVE", kGoodWave, uint64_t{1} << 40},
    {"Good", "WAVX", kGoodWave, sizeof kGoodWave},
    {"Good", "WAVE", kGoodWave, sizeof kGoodWave},
    {nullptr, nullptr, nullptr, 0},
};

}  // namespace

#if ODD_KIND == 1  // negative count, SoundsList gives null, no resource table at all
int32_t NumberofSounds(void) {
  return -7;
}
const char* SoundsList(int32_t) {
  return nullptr;
}
#elif ODD_KIND == 2  // huge count, a damaged table whose count lies
int32_t NumberofSounds(void) {
  return INT32_MAX;
}
const char* SoundsList(int32_t i) {
  return i == 0 ? "Odd:Odd Unit" : nullptr;
}
const JbwResource* JbwResourceTable(int32_t* count) {
  *count = INT32_MAX;
  return kDamaged;
}
#elif ODD_KIND == 3  // a null table with a count
int32_t NumberofSounds(void) {
  return 1;
}
const char* SoundsList(int32_t i) {
  return i == 0 ? "Odd:Odd Unit" : "Good:Good";
}
const JbwResource* JbwResourceTable(int32_t* count) {
  *count = 5;
  return nullptr;
}
#else                // no exports of a unit at all
extern "C" JBW_UNIT_EXPORT int32_t SomethingElse(void) {
  return sizeof kDamaged;
}
#endif
