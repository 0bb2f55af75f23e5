// Waiting for what another process or thread brings about: the condition is
// looked at again and again until it holds or the time is up, so that a test
// never sleeps for a time that a busy machine may well exceed.
#pragma once

#include <chrono>
#include <thread>

namespace dovetam::testing {

// Far more than anything a test waits for takes, even on a busy machine.
inline constexpr std::chrono::seconds kWaitLimit{30};

// True as soon as done() holds; false when it still does not after `limit`.
template <typename Condition>
bool WaitUntil(Condition done, std::chrono::milliseconds limit = kWaitLimit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() >= end) return done();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

}  // namespace dovetam::testing
