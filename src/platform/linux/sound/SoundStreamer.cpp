#include "platform/linux/sound/SoundStreamer.h"

#include <exception>
#include <thread>

namespace platform {

SoundStreamer& SoundStreamer::Instance() {
  // Never destroyed: its thread may still be streaming while the process ends.
  static SoundStreamer* streamer = new SoundStreamer;
  return *streamer;
}

void SoundStreamer::Post(SoundRequest request) {
  std::lock_guard lock(mutex_);
  if (!running_) {
    std::thread([this] { Run(); }).detach();
    running_ = true;
  }
  waiting_ = std::move(request);
  changed_.notify_all();
}

void SoundStreamer::Release(uint64_t ticket) {
  WaitFor(ticket, false);
}

void SoundStreamer::Drain(uint64_t ticket) {
  WaitFor(ticket, true);
}

void SoundStreamer::WaitFor(uint64_t ticket, bool files) {
  std::unique_lock lock(mutex_);
  if (waiting_ && waiting_->ticket < ticket) waiting_.reset();
  changed_.wait(lock, [&] {
    return streaming_ == 0 || streaming_ >= ticket || (!files && !streamingBorrows_);
  });
}

void SoundStreamer::Run() {
  SoundVoice& voice = SoundVoice::Instance();
  std::unique_lock lock(mutex_);
  while (true) {
    changed_.wait(lock, [&] { return waiting_.has_value(); });
    SoundRequest request = std::move(*waiting_);
    waiting_.reset();
    streaming_ = request.ticket;
    streamingBorrows_ = request.source && request.source->Borrows();
    lock.unlock();
    // Nobody waits for an asynchronous sound's result; one too big for memory is lost.
    try {
      StreamSound(voice, request);
    } catch (const std::exception&) {
      voice.Abandon(request.ticket);
    }
    request.source.reset();
    lock.lock();
    streaming_ = 0;
    changed_.notify_all();
  }
}

}  // namespace platform
