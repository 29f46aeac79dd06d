#pragma once
// A clock that always tells the time it was given.
#include "platform/clock.h"

namespace quillon::test {

class FakeClock : public platform::Clock {
 public:
  explicit FakeClock(platform::DateTime start = {2024, 5, 17, 13, 45, 7}) : now(start) {}
  platform::DateTime Now() const override { return now; }

  platform::DateTime now;
};

}  // namespace quillon::test
