#include "toolkit/Thread.h"

#include <future>

#include <gtest/gtest.h>

namespace tk {
namespace {

class Worker : public TThread {
 public:
  Worker(std::promise<void>* gone, bool fail) : gone_(gone), fail_(fail) {}
  ~Worker() override {
    if (gone_) gone_->set_value();
  }
  int work = 0;

 protected:
  void Execute() override {
    work = 42;
    if (fail_) throw std::runtime_error("lost");
  }

 private:
  std::promise<void>* gone_;
  bool fail_;
};

class Spinner : public TThread {
 protected:
  void Execute() override {
    while (!Terminated()) std::this_thread::yield();
  }
};

TEST(Thread, AThreadThatFreesItselfIsGoneWhenExecuteReturnsEvenAfterAnError) {
  for (bool fail : {false, true}) {
    std::promise<void> gone;
    auto* worker = new Worker(&gone, fail);
    worker->SetFreeOnTerminate(true);
    worker->Start();
    EXPECT_EQ(gone.get_future().wait_for(std::chrono::seconds(10)), std::future_status::ready);
  }
}

TEST(Thread, OtherThreadsAreWaitedForAndDeletedByTheirCreator) {
  Worker worker(nullptr, false);
  EXPECT_FALSE(worker.Finished());  // created suspended
  worker.Start();
  worker.Start();
  worker.WaitFor();
  EXPECT_TRUE(worker.Finished());
  EXPECT_EQ(worker.work, 42);

  // Free asks a running thread to stop and waits for it.
  auto* spinner = new Spinner;
  spinner->Start();
  spinner->Free();
  (new Spinner)->Free();  // never started
}

}  // namespace
}  // namespace tk
