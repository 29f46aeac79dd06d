#pragma once
// A timer that fires when the test says so, and remembers the delay it was last started with.
#include <functional>

#include "platform/timer.h"

namespace quillon::test {

class FakeTimer : public platform::Timer {
 public:
  void StartOnce(int delay_ms, std::function<void()> on_timeout) override {
    delay = delay_ms;
    callback = std::move(on_timeout);
    running = true;
  }
  void Stop() override { running = false; }

  // Runs the pending call, as the event loop would once the delay is over.
  void Fire() {
    if (!running) return;
    running = false;
    const std::function<void()> call = callback;
    call();
  }

  bool running = false;
  int delay = -1;
  std::function<void()> callback;
};

}  // namespace quillon::test
