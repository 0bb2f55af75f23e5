// EventLock: while it is above 0 the change handlers of the drive list, the
// folder tree, the rule boxes and chkRule return at once, so that the program
// can set those controls itself. Raised and lowered in pairs by the guard.
#pragma once

namespace dovetam {

class EventLockGuard {
 public:
  explicit EventLockGuard(int& lock) : lock_(lock) { ++lock_; }
  ~EventLockGuard() { --lock_; }
  EventLockGuard(const EventLockGuard&) = delete;
  EventLockGuard& operator=(const EventLockGuard&) = delete;

 private:
  int& lock_;
};

}  // namespace dovetam
