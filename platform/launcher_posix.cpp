// Starting another program directly (no shell), searched on PATH, not waited
// for. A background thread per started program reaps it, so that it leaves no
// zombie, and hands its failure to the poster when it ends with a non-zero
// exit status. The thread is made before the program is started: when no
// thread can be made (the processes a user may have are all taken), no
// program is started and Start fails, as it does when the start itself
// fails. The poster is only called under the lock of the launcher's shared
// state while the launcher lives, so nothing is posted after it.
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

#include "platform/launcher.h"
#include "platform/utf8_codec.h"

extern char** environ;

namespace dovetam {

namespace {

// What the reaping threads share with the launcher; it outlives both.
struct PosterState {
  std::mutex mutex;
  Poster post;  // emptied when the launcher goes
};

// The started program's id, handed from Start to the thread that reaps it.
class StartedId {
 public:
  // The id, or -1 when the program did not start.
  void Give(pid_t pid) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      pid_ = pid;
    }
    given_.notify_one();
  }
  pid_t Take() {
    std::unique_lock<std::mutex> lock(mutex_);
    given_.wait(lock, [this] { return pid_ != 0; });
    return pid_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable given_;
  pid_t pid_ = 0;
};

// The reaping thread's work.
void Reap(const std::shared_ptr<StartedId>& id, const std::shared_ptr<PosterState>& state,
          std::function<void()>& failed) {
  const pid_t pid = id->Take();
  if (pid < 0) return;
  int status = 0;
  pid_t got;
  while ((got = waitpid(pid, &status, 0)) < 0 && errno == EINTR) {
  }
  if (got != pid || !failed || !WIFEXITED(status) || WEXITSTATUS(status) == 0) return;
  std::lock_guard<std::mutex> lock(state->mutex);
  if (state->post) state->post(std::move(failed));
}

class PosixLauncher : public Launcher {
 public:
  explicit PosixLauncher(Poster post) : state_(std::make_shared<PosterState>()) {
    state_->post = std::move(post);
  }
  ~PosixLauncher() override {
    std::lock_guard<std::mutex> lock(state_->mutex);
    state_->post = nullptr;
  }

  bool Start(const std::u16string& program, const std::vector<std::u16string>& args,
             std::function<void()> failed) override {
    if (program.empty()) return false;
    std::vector<std::string> bytes(args.size() + 1);
    if (!EncodeNative(program, bytes[0])) return false;
    for (std::size_t i = 0; i < args.size(); ++i) {
      if (!EncodeNative(args[i], bytes[i + 1])) return false;
    }
    std::vector<char*> argv;
    for (std::string& b : bytes) {
      if (b.find('\0') != std::string::npos) return false;
      argv.push_back(b.data());
    }
    argv.push_back(nullptr);

    auto id = std::make_shared<StartedId>();
    try {
      std::thread([id, state = state_, failed = std::move(failed)]() mutable {
        Reap(id, state, failed);
      }).detach();
    } catch (const std::system_error&) {
      return false;  // no thread: nothing started
    }
    const pid_t pid = Spawn(argv);
    id->Give(pid);
    return pid > 0;
  }

 private:
  // The started program's id, or -1 when it could not be started.
  static pid_t Spawn(std::vector<char*>& argv) {
    posix_spawnattr_t attr;
    if (posix_spawnattr_init(&attr) != 0) return -1;
    // Its own session: closing this program does not take the viewer along.
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSID);
    pid_t pid = 0;
    const int rc = posix_spawnp(&pid, argv[0], nullptr, &attr, argv.data(), environ);
    posix_spawnattr_destroy(&attr);
    return rc == 0 && pid > 0 ? pid : -1;
  }

  std::shared_ptr<PosterState> state_;
};

}  // namespace

std::unique_ptr<Launcher> CreateSystemLauncher(Poster post) {
  return std::make_unique<PosixLauncher>(std::move(post));
}

}  // namespace dovetam
