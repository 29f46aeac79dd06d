#pragma once
// A single-shot timer on the program's event loop: the callback runs on the program's one thread,
// between other events, never in the middle of one.
#include <functional>

namespace quillon::platform {

class Timer {
 public:
  virtual ~Timer() = default;
  // Calls `on_timeout` once, `delay_ms` from now; replaces a call still pending.
  virtual void StartOnce(int delay_ms, std::function<void()> on_timeout) = 0;
  virtual void Stop() = 0;
};

}  // namespace quillon::platform
