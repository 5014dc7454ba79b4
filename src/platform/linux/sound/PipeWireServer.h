#pragma once

namespace platform {

// Whether a PipeWire server listens for this user: its socket, named as PipeWire's own
// clients find it (PIPEWIRE_REMOTE, else "pipewire-0", in PIPEWIRE_RUNTIME_DIR or
// XDG_RUNTIME_DIR).
bool PipeWireServerRunning();

}  // namespace platform
