#pragma once
// A repeating timer whose ticks arrive as WM_TIMER on a message window (SetTimer).
#include <functional>

#include "adapters/win32/message_window.h"

namespace quillon::adapters::win32 {

class WindowTimer {
 public:
  WindowTimer(MessageWindow& window, int interval_ms, std::function<void()> tick);
  ~WindowTimer();
  WindowTimer(const WindowTimer&) = delete;
  WindowTimer& operator=(const WindowTimer&) = delete;

  void Start();
  void Stop();

 private:
  MessageWindow& window_;
  int interval_ms_;
  UINT message_;
  bool running_ = false;
};

}  // namespace quillon::adapters::win32
