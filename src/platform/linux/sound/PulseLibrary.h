#pragma once

#include <pulse/context.h>
#include <pulse/error.h>
#include <pulse/introspect.h>
#include <pulse/operation.h>
#include <pulse/stream.h>
#include <pulse/subscribe.h>
#include <pulse/thread-mainloop.h>

namespace platform {

// The PulseAudio client library (which PipeWire's PulseAudio server speaks too), the few
// calls the virtual microphone makes. Loaded with the first use, like SDL: most runs
// never need it.
// clang-format off
#define JBW_PULSE_CALLS(X)                                                                 \
  X(pa_threaded_mainloop_new) X(pa_threaded_mainloop_free) X(pa_threaded_mainloop_start)   \
  X(pa_threaded_mainloop_stop) X(pa_threaded_mainloop_lock) X(pa_threaded_mainloop_unlock) \
  X(pa_threaded_mainloop_wait) X(pa_threaded_mainloop_signal)                              \
  X(pa_threaded_mainloop_get_api) X(pa_context_new) X(pa_context_unref)                    \
  X(pa_context_connect) X(pa_context_disconnect) X(pa_context_get_state)                   \
  X(pa_context_set_state_callback) X(pa_context_errno) X(pa_strerror)                      \
  X(pa_context_load_module) X(pa_context_unload_module)                                    \
  X(pa_context_get_module_info_list) X(pa_context_get_server_info) X(pa_operation_unref)   \
  X(pa_operation_get_state) X(pa_stream_new) X(pa_stream_unref)                            \
  X(pa_stream_connect_playback) X(pa_stream_disconnect) X(pa_stream_get_state)             \
  X(pa_stream_write) X(pa_context_set_subscribe_callback) X(pa_context_subscribe)
// clang-format on

struct PulseLibrary {
#define JBW_PULSE_MEMBER(NAME) decltype(&::NAME) NAME = nullptr;
  JBW_PULSE_CALLS(JBW_PULSE_MEMBER)
#undef JBW_PULSE_MEMBER
};

// Null when libpulse.so.0 or one of its calls cannot be had.
const PulseLibrary* Pulse();

}  // namespace platform
