#pragma once
// Lets the Qt event loop run once from inside a long job.
#include "platform/event_loop.h"

namespace quillon::platform::qt {

class QtEventLoop final : public EventLoop {
 public:
  void ProcessEventsOnce() override;
};

}  // namespace quillon::platform::qt
