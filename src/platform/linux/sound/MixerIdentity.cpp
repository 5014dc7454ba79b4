#include "platform/SoundOutput.h"

#include <cstdlib>

namespace platform {

// SDL 2 has hints for the stream's names but none for its icon. PulseAudio's client
// library (and PipeWire's PulseAudio layer through it) takes properties from one
// variable, SDL's PipeWire driver from another. Settings of the user's own win.
void PrepareSoundOutput() {
  ::setenv("PULSE_PROP_application.icon_name", "org.jabberwell.Jabberwell", 0);
  ::setenv("PIPEWIRE_PROPS", "{ application.icon-name = \"org.jabberwell.Jabberwell\" }", 0);
}

}  // namespace platform
