/* A sound unit whose clip list is set at build time, for catalogue tests: the header,
 * the clip count and the clip string pattern come from compile definitions, and the
 * faults a damaged unit may have can be switched on. It carries no clips. */
#include <stdio.h>

#include "jbw/SoundUnit.h"

#ifndef FAKE_HEADER
#define FAKE_HEADER "Fake:Fake Unit"
#endif
#ifndef FAKE_COUNT
#define FAKE_COUNT 3
#endif
/* Gets the clip number twice: for the resource name and for the caption. */
#ifndef FAKE_CLIP_FORMAT
#define FAKE_CLIP_FORMAT "clip%d:Clip %d"
#endif

JBW_UNIT_EXPORT int32_t NumberofSounds(void) { return FAKE_COUNT; }

#ifndef FAKE_NO_SOUNDS_LIST
JBW_UNIT_EXPORT const char* SoundsList(int32_t i) {
  static char text[256];
#ifdef FAKE_NULL_STRINGS
  (void)text;
  (void)i;
  return 0;
#else
  if (i == 0) return FAKE_HEADER;
  snprintf(text, sizeof text, FAKE_CLIP_FORMAT, (int)i, (int)i);
  return text;
#endif
}
#endif

JBW_UNIT_EXPORT const JbwResource* JbwResourceTable(int32_t* count) {
  *count = 0;
  return 0;
}
