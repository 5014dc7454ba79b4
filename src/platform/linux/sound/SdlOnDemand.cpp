// SDL and the thirty libraries it is linked with (sound servers, codecs, Wayland, X
// extensions) cost every start about 10 ms and 2 MB of resident memory, and many runs
// never play a sound. So the program is not linked with SDL: these definitions of the
// SDL calls the platform layer makes load it with the first call that needs it, and
// the calls that only tidy up do nothing before then. A new SDL call needs a line here.
#include <SDL.h>
#include <dlfcn.h>

#include <atomic>
#include <mutex>

namespace {

std::atomic<void*> loaded{nullptr};
std::mutex loading;

void* Library(bool load) {
  void* handle = loaded.load(std::memory_order_acquire);
  if (handle || !load) return handle;
  std::lock_guard lock(loading);
  handle = loaded.load(std::memory_order_relaxed);
  if (!handle) {
    // Never closed: SDL's sound drivers keep global state in libraries that stay.
    handle = dlopen("libSDL2-2.0.so.0", RTLD_NOW | RTLD_LOCAL);
    loaded.store(handle, std::memory_order_release);
  }
  return handle;
}

template <typename Fn>
Fn Resolve(std::atomic<Fn>& cache, const char* name, bool load) {
  Fn fn = cache.load(std::memory_order_acquire);
  if (fn) return fn;
  void* handle = Library(load);
  if (!handle) return nullptr;
  fn = reinterpret_cast<Fn>(dlsym(handle, name));
  cache.store(fn, std::memory_order_release);
  return fn;
}

}  // namespace

// LOADS: whether the call loads SDL; FAILED: its result when SDL cannot be had.
#define JBW_SDL_CALL(RET, NAME, PARAMS, ARGS, LOADS, FAILED) \
  extern "C" RET NAME PARAMS {                               \
    using Fn = RET(SDLCALL*) PARAMS;                         \
    static std::atomic<Fn> cache{nullptr};                   \
    const Fn fn = Resolve(cache, #NAME, LOADS);              \
    return fn ? fn ARGS : FAILED;                            \
  }
#define JBW_SDL_VOID_CALL(NAME, PARAMS, ARGS)                \
  extern "C" void NAME PARAMS {                              \
    using Fn = void(SDLCALL*) PARAMS;                        \
    static std::atomic<Fn> cache{nullptr};                   \
    if (const Fn fn = Resolve(cache, #NAME, false)) fn ARGS; \
  }

JBW_SDL_CALL(int, SDL_InitSubSystem, (Uint32 flags), (flags), true, -1)
JBW_SDL_VOID_CALL(SDL_QuitSubSystem, (Uint32 flags), (flags))
JBW_SDL_CALL(SDL_bool, SDL_SetHintWithPriority,
             (const char* name, const char* value, SDL_HintPriority priority),
             (name, value, priority), true, SDL_FALSE)
JBW_SDL_CALL(SDL_bool, SDL_ResetHint, (const char* name), (name), false, SDL_FALSE)
JBW_SDL_CALL(const char*, SDL_GetCurrentAudioDriver, (void), (), false, nullptr)
JBW_SDL_CALL(int, SDL_GetNumAudioDevices, (int iscapture), (iscapture), true, 0)
JBW_SDL_CALL(const char*, SDL_GetAudioDeviceName, (int index, int iscapture), (index, iscapture),
             true, nullptr)
JBW_SDL_CALL(SDL_AudioDeviceID, SDL_OpenAudioDevice,
             (const char* device, int iscapture, const SDL_AudioSpec* desired,
              SDL_AudioSpec* obtained, int allowed_changes),
             (device, iscapture, desired, obtained, allowed_changes), true, 0)
JBW_SDL_CALL(SDL_AudioStatus, SDL_GetAudioDeviceStatus, (SDL_AudioDeviceID dev), (dev), false,
             SDL_AUDIO_STOPPED)
JBW_SDL_VOID_CALL(SDL_PauseAudioDevice, (SDL_AudioDeviceID dev, int pause_on), (dev, pause_on))
JBW_SDL_VOID_CALL(SDL_CloseAudioDevice, (SDL_AudioDeviceID dev), (dev))
JBW_SDL_VOID_CALL(SDL_TLSCleanup, (void), ())
JBW_SDL_CALL(SDL_RWops*, SDL_RWFromConstMem, (const void* mem, int size), (mem, size), true,
             nullptr)
JBW_SDL_CALL(SDL_AudioSpec*, SDL_LoadWAV_RW,
             (SDL_RWops * src, int freesrc, SDL_AudioSpec* layout, Uint8** audio_buf,
              Uint32* audio_len),
             (src, freesrc, layout, audio_buf, audio_len), true, nullptr)
JBW_SDL_VOID_CALL(SDL_FreeWAV, (Uint8 * audio_buf), (audio_buf))
JBW_SDL_CALL(int, SDL_GetDefaultAudioInfo, (char** name, SDL_AudioSpec* format, int iscapture),
             (name, format, iscapture), true, -1)
JBW_SDL_CALL(SDL_AudioStream*, SDL_NewAudioStream,
             (const SDL_AudioFormat src_format, const Uint8 src_channels, const int src_rate,
              const SDL_AudioFormat dst_format, const Uint8 dst_channels, const int dst_rate),
             (src_format, src_channels, src_rate, dst_format, dst_channels, dst_rate), true,
             nullptr)
JBW_SDL_CALL(int, SDL_AudioStreamPut, (SDL_AudioStream * stream, const void* buf, int len),
             (stream, buf, len), true, -1)
JBW_SDL_CALL(int, SDL_AudioStreamGet, (SDL_AudioStream * stream, void* buf, int len),
             (stream, buf, len), true, -1)
JBW_SDL_CALL(int, SDL_AudioStreamAvailable, (SDL_AudioStream * stream), (stream), true, 0)
JBW_SDL_CALL(int, SDL_AudioStreamFlush, (SDL_AudioStream * stream), (stream), true, -1)
JBW_SDL_VOID_CALL(SDL_FreeAudioStream, (SDL_AudioStream * stream), (stream))
