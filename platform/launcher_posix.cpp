// Starting another program directly (no shell), searched on PATH, not waited
// for. A background thread reaps the child so that it leaves no zombie.
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

#include "platform/launcher.h"
#include "platform/utf8_codec.h"

extern char** environ;

namespace dovetam {

namespace {

class PosixLauncher : public Launcher {
 public:
  bool Start(const std::u16string& program, const std::vector<std::u16string>& args) override {
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

    posix_spawnattr_t attr;
    if (posix_spawnattr_init(&attr) != 0) return false;
    // Its own session: closing this program does not take the viewer along.
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSID);
    pid_t pid = 0;
    const int rc = posix_spawnp(&pid, argv[0], nullptr, &attr, argv.data(), environ);
    posix_spawnattr_destroy(&attr);
    if (rc != 0) return false;
    std::thread([pid] {
      int status = 0;
      while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
      }
    }).detach();
    return true;
  }
};

}  // namespace

std::unique_ptr<Launcher> CreateSystemLauncher() { return std::make_unique<PosixLauncher>(); }

}  // namespace dovetam
