/* The interface of a sound unit (".BSU"): a shared object that the program loads by
 * path. It exports, with C linkage:
 *
 *   NumberofSounds()   the number of clips N;
 *   SoundsList(i)      i = 0: the unit header "Identifier:Caption"; i = 1..N: one
 *                      clip "ResourceName:Caption". The string need only stay valid
 *                      until the next call. The identifier holds only letters,
 *                      digits and "_"; a caption holds no ":"; a resource name no "|".
 *   JbwResourceTable() the clips' WAVE data, found by resource name (letter case
 *                      ignored).
 *
 * units/SoundUnit.cmake builds a unit from WAV files (add_sound_unit); jbw-unit-pack
 * does the same without a compiler. A unit written by hand includes this header and
 * defines the three functions. Build it with -fvisibility=hidden so that only these
 * exports are seen. */
#ifndef JBW_SOUND_UNIT_H
#define JBW_SOUND_UNIT_H

#include "jbw/SoundUnitAbi.h"

#ifdef __cplusplus
extern "C" {
#endif

#define JBW_UNIT_EXPORT __attribute__((visibility("default")))

JBW_UNIT_EXPORT int32_t NumberofSounds(void);
JBW_UNIT_EXPORT const char* SoundsList(int32_t i);

/* Returns the unit's resources and stores their number in *count. */
JBW_UNIT_EXPORT const JbwResource* JbwResourceTable(int32_t* count);

#ifdef __cplusplus
}
#endif

#endif /* JBW_SOUND_UNIT_H */
