// The current date and time.
#pragma once

#include <memory>

#include "platform/dates.h"

namespace dovetam {

class Clock {
 public:
  virtual ~Clock() = default;
  virtual Date Now() = 0;
};

std::unique_ptr<Clock> CreateSystemClock();

}  // namespace dovetam
