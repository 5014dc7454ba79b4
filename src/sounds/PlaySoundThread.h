#pragma once

#include <atomic>
#include <string>

#include "settings/SharedState.h"
#include "toolkit/Thread.h"

namespace sounds {

// Plays one unit clip to its end (or until another sound cuts it off) on its own
// thread, holding the unit loaded only for that time.
//
// The sound-list entry and its unit path are copied, under the lists' mutex, when the
// thread is created: the thread never looks at the shared state again, so a rebuild
// cannot hand it half a list and the end of the program cannot free what it reads.
class TPlaySoundThread : public tk::TThread {
 public:
  // Created suspended; Start runs it.
  TPlaySoundThread(settings::SharedState& state, int index);
  ~TPlaySoundThread() override;

  // Play threads that exist, started or not; lets a caller wait for the last one.
  static int Alive() { return alive_.load(); }

  int Index() const { return index_; }
  // What the thread will play; not playable when the index or the entry's unit index
  // is outside the lists, and then the thread plays nothing.
  bool Playable() const { return playable_; }
  const std::string& ResourceName() const { return resourceName_; }
  const std::string& UnitPath() const { return unitPath_; }

 protected:
  void Execute() override;

 private:
  int index_;
  bool playable_ = false;
  std::string resourceName_;
  std::string unitPath_;
  static std::atomic<int> alive_;
};

}  // namespace sounds
