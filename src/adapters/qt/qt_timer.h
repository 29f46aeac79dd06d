#pragma once
// The platform timer on the Qt event loop.
#include <QTimer>
#include <functional>

#include "platform/timer.h"

namespace quillon::adapters::qt {

class QtTimer final : public platform::Timer {
 public:
  QtTimer();
  void StartOnce(int delay_ms, std::function<void()> on_timeout) override;
  void Stop() override;

 private:
  QTimer timer_;
  std::function<void()> on_timeout_;
};

}  // namespace quillon::adapters::qt
