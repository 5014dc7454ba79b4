#pragma once

#include <string>
#include <vector>

#include "platform/WinTypes.h"

namespace platform {

constexpr DWORD SND_ASYNC = 0x1;
constexpr DWORD SND_NODEFAULT = 0x2;
constexpr DWORD SND_MEMORY = 0x4;
constexpr DWORD SND_NOSTOP = 0x10;
constexpr DWORD SND_FILENAME = 0x20000;
constexpr DWORD SND_RESOURCE = 0x40004;

// Plays a WAVE sound on the process's one voice, stopping the one playing.
//  - SND_FILENAME: `name` is a file path; SND_RESOURCE: a WAVE resource of `module`;
//    SND_MEMORY alone: `name` points to a WAVE file image. A null `name` just stops.
//  - SND_ASYNC returns at once: the sound is read, checked and decoded on another
//    thread while it plays, so TRUE means only that it was found; a damaged one gives
//    the chime then. A module or memory image must stay valid until the sound ends or
//    PlaySoundA(nullptr, ...) returns. Otherwise the call returns when the sound has
//    ended or a newer sound (from any thread) has cut it off.
//  - A sound that cannot be found or decoded is replaced by the default chime, unless
//    SND_NODEFAULT; with SND_NOSTOP nothing happens while another sound plays.
// Returns TRUE when the requested sound was played. Thread-safe; damaged files give
// the chime, never a crash or a hang.
BOOL PlaySoundA(const char* name, HMODULE module, DWORD flags);

// Gives the program's sound its icon in the desktop's mixer, through the environment
// the sound servers' client libraries read. Call it before any thread starts, as the
// environment may not change while other threads read it.
void PrepareSoundOutput();

// Opens the device in the background, or keeps it open for another idle period: a
// sound is likely soon (a menu of clips has opened), and opening the device on a sound
// server takes 30 to 60 ms. Not for SDL's disk driver, which never closes once open.
void OpenSoundOutputAhead();

// The output device sounds go to, by one of the names ListSoundOutputDevices gives;
// empty for the default. A device that will not open gives way to the default one.
void SetSoundOutputDevice(const std::string& name);
std::vector<std::string> ListSoundOutputDevices();

}  // namespace platform
