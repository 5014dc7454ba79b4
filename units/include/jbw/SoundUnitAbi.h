/* The binary shapes shared by sound units and the program that loads them: the
 * resource record and the types of the three exports, looked up by these names. */
#ifndef JBW_SOUND_UNIT_ABI_H
#define JBW_SOUND_UNIT_ABI_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* One resource of the unit. `type` is "WAVE" for a clip; `data` points to a whole
 * RIFF/WAVE file image of `size` bytes that stays valid while the unit is loaded.
 * The table ends with an entry whose name is null; the program reads no further than
 * that entry or the count, whichever comes first. */
typedef struct JbwResource {
  const char* name;
  const char* type;
  const void* data;
  uint64_t size;
} JbwResource;

typedef int32_t (*JbwNumberofSoundsFn)(void);
typedef const char* (*JbwSoundsListFn)(int32_t i);
typedef const JbwResource* (*JbwResourceTableFn)(int32_t* count);

#define JBW_EXPORT_NUMBER_OF_SOUNDS "NumberofSounds"
#define JBW_EXPORT_SOUNDS_LIST "SoundsList"
#define JBW_EXPORT_RESOURCE_TABLE "JbwResourceTable"

#ifdef __cplusplus
}
#endif

#endif /* JBW_SOUND_UNIT_ABI_H */
