#include "adapters/qt/qt_timer.h"

namespace quillon::adapters::qt {

QtTimer::QtTimer() {
  timer_.setSingleShot(true);
  QObject::connect(&timer_, &QTimer::timeout, [this] {
    // The callback may start the timer again, so it runs from a copy.
    const std::function<void()> call = on_timeout_;
    if (call) call();
  });
}

void QtTimer::StartOnce(int delay_ms, std::function<void()> on_timeout) {
  on_timeout_ = std::move(on_timeout);
  timer_.start(delay_ms);
}

void QtTimer::Stop() { timer_.stop(); }

}  // namespace quillon::adapters::qt
