// The limit of open files (RLIMIT_NOFILE) for tests that run short of
// descriptors, in a child process of their own.
#pragma once

#include <dirent.h>
#include <sys/resource.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace dovetam::testing {

// The limit of open files that leaves this process `free` descriptors to
// open: a new descriptor takes the lowest number free below the limit, so
// the descriptors open at or above it do not count.
inline int LimitLeaving(int free) {
  std::vector<long> open;
  if (DIR* fds = opendir("/proc/self/fd")) {
    const long own = dirfd(fds);
    while (dirent* e = readdir(fds)) {
      const long fd = std::strtol(e->d_name, nullptr, 10);
      if (e->d_name[0] != '.' && fd != own) open.push_back(fd);
    }
    closedir(fds);
  }
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
