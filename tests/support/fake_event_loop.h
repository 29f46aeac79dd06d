#pragma once
// Counts the times a job let the event loop run, and runs what a test wants to happen then.
#include <functional>

#include "platform/event_loop.h"

namespace quillon::test {

class FakeEventLoop : public platform::EventLoop {
 public:
  void ProcessEventsOnce() override {
    ++runs;
    if (on_run) on_run();
  }

  int runs = 0;
  std::function<void()> on_run;
};

}  // namespace quillon::test
