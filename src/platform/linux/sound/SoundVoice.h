#pragma once

#include <SDL.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// The process's one audio device and its one voice. Every request to play takes a
// ticket; the newest ticket owns the voice, and taking one stops what plays, which
// wakes anyone waiting for the older clip. A clip arrives in pieces while it plays.
// The device opens on first use, falls back to SDL's dummy driver when no real one
// works, and closes when idle or at Shutdown. A device that was lost (its sound server
// restarted, its output went) or that fell back to the dummy driver is opened afresh
// for the next sound.
class SoundVoice {
 public:
  using Clock = std::chrono::steady_clock;

  static SoundVoice& Instance();

  // Keeps the device from closing for idleness while a play request is under way,
  // from before it opens the device until its clip has been handed over.
  class Use {
   public:
    explicit Use(SoundVoice& voice);
    ~Use();
    Use(const Use&) = delete;
    Use& operator=(const Use&) = delete;

   private:
    SoundVoice& voice_;
  };

  // The device's format, opening the device if needed; nullopt if no driver at all.
  std::optional<SDL_AudioSpec> Open();

  // A new ticket, stopping the current clip, whose clip starts now: it counts as
  // playing, in silence, until its first piece arrives. nullopt when `unlessPlaying`
  // and a clip is playing.
  std::optional<uint64_t> Take(bool unlessPlaying);
  // Stops what plays; returns the ticket every older one is cut off by.
  uint64_t Stop();

  // Queues a piece of the clip of `ticket` (device format). Waits while about half a
  // second is queued already; false when the clip was cut off meanwhile, or when the
  // device took nothing for `stall` (the clip is then dropped).
  bool Push(uint64_t ticket, std::vector<uint8_t> piece, Clock::duration stall);
  // No more pieces come: the clip ends once the queue has been played.
  void Finish(uint64_t ticket);
  // Ends the clip of `ticket` at once, if it is still the one playing.
  void Abandon(uint64_t ticket);

  // Blocks until the clip of `ticket` has been handed to the device in full, was cut
  // off, or `limit` has passed.
  void Wait(uint64_t ticket, Clock::duration limit);

  // Opens the device on a thread of its own, or keeps it open for another idle period:
  // a sound may be asked for soon. Never waits: does nothing while another thread opens
  // or closes the device.
  void OpenAhead();

  bool Playing() const;
  std::optional<Clock::time_point> FirstSampleTime() const;
  std::optional<std::string> DriverName();
  bool DeviceOpen();
  void SetIdleClose(Clock::duration idle);
  // Frames per device callback from the next opening on.
  void SetBufferFrames(int frames);
  // Callbacks that found a started clip's queue empty, since the process started.
  uint64_t Underruns() const;
  // Stops the device's callbacks, as a sound server that goes away does.
  void Halt();

  // Closes the device (the disk driver then writes out its file); the next play
  // opens it again.
  void Shutdown();

  // The output device to open by name; empty for the default one. A change closes the
  // device, so the next sound opens the new one.
  void SetDeviceName(const std::string& name);
  // The names of the output devices SDL's driver offers now.
  std::vector<std::string> DeviceNames();

  // Is handed, on the device's thread, a copy of each buffer the device is given while a
  // clip plays, in the device's format. Setting another waits for a call under way.
  using Tap = std::function<void(const SDL_AudioSpec& format, const Uint8* data, int length)>;
  void SetTap(Tap tap);

 private:
  SoundVoice() = default;
  static void Callback(void* self, Uint8* stream, int length);
  // The device's format when the buffer carried some of a clip.
  std::optional<SDL_AudioSpec> Fill(Uint8* stream, int length);
  // deviceMutex_ held: SDL's audio on the preferred driver, else in SDL's own order.
  bool InitAudio();
  // deviceMutex_ held: whether the open device can no longer be heard, or is the
  // dummy driver while a real one may work again.
  bool Lost();
  // deviceMutex_ held: lets go of a lost device; the clip playing goes on, on the next one.
  void DropLostDevice();
  void ForgetDummy();  // deviceMutex_ held
  void CloseDevice();  // deviceMutex_ held
  // mutex_ held: empties the queue, handing the pieces back to be freed unlocked.
  std::deque<std::vector<uint8_t>> Clear();
  void EndClip();  // mutex_ held
  void CloseWhenIdle();

  std::mutex deviceMutex_;  // opening and closing; never held by the callback
  std::condition_variable deviceChanged_;
  SDL_AudioDeviceID device_ = 0;
  bool forcedDummy_ = false;  // no real driver opened
  bool closerRunning_ = false;
  bool openingAhead_ = false;
  bool askedAhead_ = false;
  bool onPipeWire_ = false;      // the preferred PipeWire driver is the one started
  bool pipeWireFailed_ = false;  // it would not start or open: not tried again
  std::string deviceName_;
  int users_ = 0;
  Clock::time_point lastUse_{};
  Clock::duration idleClose_ = std::chrono::seconds(10);
  // The smallest size that played without underruns on a busy two-core machine.
  int bufferFrames_ = 256;

  // Voice state, shared with the device callback. Never call into SDL's device
  // functions while holding it: the callback takes it under SDL's device lock.
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  SDL_AudioSpec spec_{};
  uint64_t latestTicket_ = 0;
  uint64_t playingTicket_ = 0;              // 0: silence
  std::deque<std::vector<uint8_t>> queue_;  // the playing clip's pieces
  size_t queued_ = 0;                       // bytes in queue_ not yet played
  size_t position_ = 0;                     // into queue_.front()
  bool finished_ = false;                   // no more pieces come
  uint64_t underruns_ = 0;
  Clock::time_point lastCallback_{};
  std::optional<Clock::time_point> firstSample_;
  Clock::time_point clipEnded_{};

  std::mutex tapMutex_;  // taken by the callback after mutex_ is released
  Tap tap_;
};

}  // namespace platform
