#include "toolkit/Thread.h"

namespace tk {

TThread::~TThread() {
  if (thread_.joinable()) {
    Terminate();
    thread_.join();
  }
}

void TThread::Start() {
  if (started_) return;
  started_ = true;
  // Read before the thread exists: a self-freeing thread may be gone at any moment after.
  const bool selfFreeing = freeOnTerminate_;
  std::thread worker(&TThread::Run, this, selfFreeing);
  if (selfFreeing) {
    worker.detach();
  } else {
    thread_ = std::move(worker);
  }
}

void TThread::WaitFor() {
  if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id()) thread_.join();
}

void TThread::Free() {
  Terminate();
  WaitFor();
  delete this;
}

void TThread::Run(TThread* self, bool selfFreeing) {
  try {
    self->Execute();
  } catch (...) {
    // A thread has no one to report to; its error ends the thread only.
  }
  if (selfFreeing) {
    delete self;
  } else {
    self->finished_ = true;
  }
}

}  // namespace tk
