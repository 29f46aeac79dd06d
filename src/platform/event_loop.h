#pragma once
// Lets pending window, timer and socket events run once from inside a long job.
namespace quillon::platform {

class EventLoop {
 public:
  virtual ~EventLoop() = default;
  virtual void ProcessEventsOnce() = 0;
};

}  // namespace quillon::platform
