#pragma once

#include <atomic>
#include <thread>

namespace tk {

// A runtime thread. It is created suspended and runs Execute once Start is called. With
// FreeOnTerminate set before Start it deletes itself when Execute returns: the creator
// must not touch it after Start. Otherwise the creator ends it with Free, which stops and
// waits for it before the object goes (a plain delete of a running thread would destroy
// the derived part while Execute still uses it).
class TThread {
 public:
  TThread() = default;
  virtual ~TThread();
  TThread(const TThread&) = delete;
  TThread& operator=(const TThread&) = delete;

  bool FreeOnTerminate() const { return freeOnTerminate_; }
  void SetFreeOnTerminate(bool value) { freeOnTerminate_ = value; }

  // Starts Execute on a new thread; a second call does nothing.
  void Start();
  // Asks Execute to stop; Execute looks at Terminated.
  void Terminate() { terminated_ = true; }
  bool Terminated() const { return terminated_; }
  bool Finished() const { return finished_; }
  // Waits for Execute to return (only for a thread that does not free itself).
  void WaitFor();
  // Terminate, WaitFor, delete.
  void Free();

 protected:
  virtual void Execute() = 0;

 private:
  static void Run(TThread* self, bool selfFreeing);

  std::thread thread_;
  bool freeOnTerminate_ = false;
  bool started_ = false;
  std::atomic<bool> terminated_{false};
  std::atomic<bool> finished_{false};
};

}  // namespace tk
