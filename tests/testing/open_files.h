// The limit of open files (RLIMIT_NOFILE) for tests that run short of
// descriptors, in a child process of their own, and the count of the
// descriptors open now.
#pragma once

#include <dirent.h>
#include <sys/resource.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace dovetam::testing {

// Descriptors a sanitizer needs of its own: the undefined-behaviour
// sanitizer checks the type of an object at its first virtual call through
// a pipe it makes then, and with no descriptor free it takes the object for
// one of a wrong type. CI builds it together with the address sanitizer.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr int kSanitizerFiles = 2;
#else
inline constexpr int kSanitizerFiles = 0;
#endif

// The descriptors this process has open, as /proc/self/fd lists them (the
// listing's own left out).
inline std::vector<long> OpenDescriptors() {
  std::vector<long> open;
  if (DIR* fds = opendir("/proc/self/fd")) {
    const long own = dirfd(fds);
    while (dirent* e = readdir(fds)) {
      const long fd = std::strtol(e->d_name, nullptr, 10);
      if (e->d_name[0] != '.' && fd != own) open.push_back(fd);
    }
    closedir(fds);
  }
  return open;
}

// How many descriptors this process has open: a call that leaves this
// number as it found it has closed every descriptor it opened.
inline int OpenFileCount() { return static_cast<int>(OpenDescriptors().size()); }

// The limit of open files that leaves this process `free` descriptors to
// open (and a sanitizer its own): a new descriptor takes the lowest number
// free below the limit, so the descriptors open at or above it do not count.
inline int LimitLeaving(int free) {
  free += kSanitizerFiles;
  const std::vector<long> open = OpenDescriptors();
  for (int limit = 1;; ++limit) {
    const long below = std::count_if(open.begin(), open.end(), [&](long fd) { return fd < limit; });
    if (limit - below >= free) return limit;
  }
}

// Sets the limit of open files (soft and hard) to `limit`; false when the
// system refuses.
inline bool LimitOpenFiles(int limit) {
  const rlimit l{static_cast<rlim_t>(limit), static_cast<rlim_t>(limit)};
  return setrlimit(RLIMIT_NOFILE, &l) == 0;
}

}  // namespace dovetam::testing
