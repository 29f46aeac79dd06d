#pragma once
// Wall-clock time, injectable so tickets that print "now" can be tested.
#include <optional>
#include <string>
#include <string_view>

namespace quillon::platform {

struct DateTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual DateTime Now() const = 0;
};

// "yyyy-mm-dd HH:nn:ss", and back (nullopt for any other text).
std::string DateTimeText(const DateTime& moment);
std::optional<DateTime> ParseDateTime(std::string_view text);

// The local time of this machine.
class SystemClock : public Clock {
 public:
  DateTime Now() const override;
};

}  // namespace quillon::platform
