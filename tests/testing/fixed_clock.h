// A clock that always tells the time it was set to.
#pragma once

#include "platform/clock.h"

namespace dovetam::testing {

class FixedClock : public Clock {
 public:
  explicit FixedClock(Date now = 0) : now(now) {}
  Date now;
  int calls = 0;
  Date Now() override {
    ++calls;
    return now;
  }
};

}  // namespace dovetam::testing
