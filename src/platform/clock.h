#pragma once
// Wall-clock time, injectable so tickets that print "now" can be tested.
namespace quillon::platform {

struct DateTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual DateTime Now() const = 0;
};

// The local time of this machine.
class SystemClock : public Clock {
 public:
  DateTime Now() const override;
};

}  // namespace quillon::platform
