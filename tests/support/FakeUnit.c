/* A sound unit for tests, shaped at build time by compile definitions. It carries no
 * playable clips.
 *
 *   FAKE_HEADER, FAKE_COUNT  the unit header and the clip count it answers
 *   FAKE_CLIP_FORMAT         the clip strings, given the clip number twice
 *   FAKE_NO_SOUNDS_LIST      no SoundsList
 *   FAKE_NULL_STRINGS        SoundsList answers null
 *   FAKE_NULL_CLIPS          SoundsList answers the header, then null
 *   FAKE_NO_TABLE            no JbwResourceTable
 *   FAKE_NULL_TABLE=n        JbwResourceTable answers null with count n
 *   FAKE_DAMAGED_TABLE=n     damaged entries, then a good one, with count n
 *   FAKE_NO_EXPORTS          none of a unit's exports at all */
#include <stdio.h>

#include "jbw/SoundUnit.h"

#ifndef FAKE_HEADER
#define FAKE_HEADER "Fake:Fake Unit"
#endif
#ifndef FAKE_COUNT
#define FAKE_COUNT 3
#endif
#ifndef FAKE_CLIP_FORMAT
#define FAKE_CLIP_FORMAT "clip%d:Clip %d"
#endif

#ifdef FAKE_NO_EXPORTS

JBW_UNIT_EXPORT int32_t SomethingElse(void) {
  return FAKE_COUNT;
}

#else

JBW_UNIT_EXPORT int32_t NumberofSounds(void) {
  return FAKE_COUNT;
}

#ifndef FAKE_NO_SOUNDS_LIST
JBW_UNIT_EXPORT const char* SoundsList(int32_t i) {
#if defined(FAKE_NULL_STRINGS)
  (void)i;
  return 0;
#elif defined(FAKE_NULL_CLIPS)
  return i == 0 ? FAKE_HEADER : 0;
#else
  static char text[256];
  if (i == 0) return FAKE_HEADER;
  snprintf(text, sizeof text, FAKE_CLIP_FORMAT, (int)i, (int)i);
  return text;
#endif
}
#endif

#ifndef FAKE_NO_TABLE
#ifdef FAKE_DAMAGED_TABLE
/* A real, tiny WAVE image, so a lookup that gets past the damage finds something. */
static const unsigned char kGoodWave[] = {
    'R', 'I', 'F', 'F', 40,  0,   0,   0,   'W',  'A',  'V', 'E', 'f',  'm',  't', ' ',
    16,  0,   0,   0,   1,   0,   1,   0,   0x40, 0x1f, 0,   0,   0x80, 0x3e, 0,   0,
    2,   0,   16,  0,   'd', 'a', 't', 'a', 4,    0,    0,   0,   1,    0,    2,   0};

static const JbwResource kDamaged[] = {
    {"NoType", 0, kGoodWave, sizeof kGoodWave},
    {"NoData", "WAVE", 0, sizeof kGoodWave},
    {"Empty", "WAVE", kGoodWave, 0},
    {"Absurd", "WAVE", kGoodWave, (uint64_t)1 << 40},
    {"Good", "WAVX", kGoodWave, sizeof kGoodWave},
    {"Good", "WAVE", kGoodWave, sizeof kGoodWave},
    {0, 0, 0, 0},
};
#endif

JBW_UNIT_EXPORT const JbwResource* JbwResourceTable(int32_t* count) {
#if defined(FAKE_DAMAGED_TABLE)
  *count = FAKE_DAMAGED_TABLE;
  return kDamaged;
#elif defined(FAKE_NULL_TABLE)
  *count = FAKE_NULL_TABLE;
  return 0;
#else
  *count = 0;
  return 0;
#endif
}
#endif

#endif
