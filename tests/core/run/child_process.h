// A child process for tests that kill a run, cut its log short under it or
// limit the disk it writes to: the test forks while it is the process's only
// thread (so the child may start threads of its own, sanitizers included),
// the child does its work and ends with _exit (nothing of the test, such as
// its temporary folder, is torn down twice), and the test waits for a
// condition, never for a fixed time: every wait has a deadline that fails
// the test with a message.
#pragma once

#include <dirent.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <functional>
#include <utility>
#include <string>
#include <type_traits>

#include <gtest/gtest.h>

namespace dovetam::testing {

// Threads of a sanitizer's own: ThreadSanitizer keeps one once the process
// has started a thread, and takes its locks around a fork.
#if defined(__SANITIZE_THREAD__)
inline constexpr int kSanitizerThreads = 1;
#else
inline constexpr int kSanitizerThreads = 0;
#endif

// The number of threads of this process.
inline int ThreadCount() {
  int count = 0;
  if (DIR* tasks = opendir("/proc/self/task")) {
    while (dirent* e = readdir(tasks)) {
      if (e->d_name[0] != '.') ++count;
    }
    closedir(tasks);
  }
  return count;
}

// How long a test waits for something that takes well under a second on an
// idle machine, before it calls it a failure.
inline constexpr std::chrono::seconds kDeadline{60};

class Child {
 public:
  // Forks; the child runs `body` and ends (_exit 0; 99 when it throws).
  // What `body` returns, a trivially copyable value, is handed back through
  // a pipe (TakeResult).
  template <typename Body>
  static Child Start(Body body) {
    using Result = std::invoke_result_t<Body>;
    static_assert(std::is_trivially_copyable_v<Result>);
    Child c;
    EXPECT_LE(ThreadCount(), 1 + kSanitizerThreads) << "a test forks only while it is the only thread";
    int pipeEnds[2] = {-1, -1};
    if (pipe(pipeEnds) != 0) {
      ADD_FAILURE() << "pipe: " << std::strerror(errno);
      return c;
    }
    c.pid_ = fork();
    if (c.pid_ == 0) {
      close(pipeEnds[0]);
      int code = 99;
      try {
        const Result r = body();
        code = (write(pipeEnds[1], &r, sizeof r) == static_cast<ssize_t>(sizeof r)) ? 0 : 98;
      } catch (...) {
      }
      _exit(code);
    }
    close(pipeEnds[1]);
    c.result_ = pipeEnds[0];
    if (c.pid_ < 0) ADD_FAILURE() << "fork: " << std::strerror(errno);
    return c;
  }

  Child(Child&& other) noexcept { *this = std::move(other); }
  Child& operator=(Child&& other) noexcept {
    std::swap(pid_, other.pid_);
    std::swap(result_, other.result_);
    std::swap(status_, other.status_);
    return *this;
  }
  ~Child() {
    if (pid_ > 0) Kill();
    if (result_ >= 0) close(result_);
  }

  bool Started() const { return pid_ > 0 || status_ >= 0; }
  // Whether the child has ended (it is reaped then).
  bool Ended() {
    if (pid_ <= 0) return true;
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) != pid_) return false;
    Reaped(status);
    return true;
  }
  // SIGKILL, and waits for the end.
  void Kill() {
    if (pid_ <= 0) return;
    kill(pid_, SIGKILL);
    int status = 0;
    while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    Reaped(status);
  }
  // Waits until `ready()` holds (true) or the child ends first (false,
  // `ready` not holding); past the deadline the child is killed and the test
  // fails with `what`.
  bool WaitUntil(const std::function<bool()>& ready, const std::string& what,
                 std::chrono::seconds deadline = kDeadline) {
    const auto end = std::chrono::steady_clock::now() + deadline;
    for (;;) {
      if (ready()) return true;
      if (Ended()) return ready();
      if (std::chrono::steady_clock::now() > end) {
        Kill();
        ADD_FAILURE() << "waited " << deadline.count() << " s in vain for " << what;
        return false;
      }
      const timespec pause{0, 100'000};  // between two looks
      nanosleep(&pause, nullptr);
    }
  }
  // Waits for the end (with the deadline) and gives the exit code, -1 when
  // the child was killed or did not end.
  int Wait(std::chrono::seconds deadline = kDeadline) {
    WaitUntil([] { return false; }, "the child process to end", deadline);
    return ExitCode();
  }
  // Once ended: the exit code, -1 when the child was killed.
  int ExitCode() const { return WIFEXITED(status_) ? WEXITSTATUS(status_) : -1; }
  // After the end: the value the child's body returned; false when it gave
  // none.
  template <typename Result>
  bool TakeResult(Result& r) {
    return result_ >= 0 && read(result_, &r, sizeof r) == static_cast<ssize_t>(sizeof r);
  }

 private:
  Child() = default;
  void Reaped(int status) {
    status_ = status;
    pid_ = -1;
  }

  pid_t pid_ = -1;
  int result_ = -1;  // read end of the pipe
  int status_ = -1;  // of waitpid, once reaped
};

}  // namespace dovetam::testing
