#pragma once
// Lets the Qt event loop run once from inside a long job.
#include "platform/event_loop.h"

namespace quillon::adapters::qt {

class QtEventLoop final : public platform::EventLoop {
 public:
  void ProcessEventsOnce() override;
};

}  // namespace quillon::adapters::qt
