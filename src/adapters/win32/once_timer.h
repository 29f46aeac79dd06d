#pragma once
// The platform timer on the thread's message loop: SetTimer on a message window of its own, stopped
// at its first tick.
#include <functional>

#include "adapters/win32/message_window.h"
#include "platform/timer.h"

namespace quillon::adapters::win32 {

class OnceTimer final : public platform::Timer {
 public:
  OnceTimer();
  ~OnceTimer() override;
  OnceTimer(const OnceTimer&) = delete;
  OnceTimer& operator=(const OnceTimer&) = delete;

  void StartOnce(int delay_ms, std::function<void()> on_timeout) override;
  void Stop() override;

 private:
  void Fire();

  MessageWindow window_;
  UINT message_;
  std::function<void()> on_timeout_;
  bool pending_ = false;
};

}  // namespace quillon::adapters::win32
