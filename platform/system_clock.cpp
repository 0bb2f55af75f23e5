// The clock of this machine, in whole seconds of local time.
#include <ctime>

#include "platform/clock.h"

namespace dovetam {

namespace {
class SystemClock : public Clock {
 public:
  Date Now() override { return DateFromUnixTime(std::time(nullptr)); }
};
}  // namespace

std::unique_ptr<Clock> CreateSystemClock() { return std::make_unique<SystemClock>(); }

}  // namespace dovetam
