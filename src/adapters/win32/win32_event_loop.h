#pragma once
// Lets the thread's waiting messages run once from inside a long job.
#include "platform/event_loop.h"

namespace quillon::adapters::win32 {

class Win32EventLoop final : public platform::EventLoop {
 public:
  void ProcessEventsOnce() override;
};

}  // namespace quillon::adapters::win32
