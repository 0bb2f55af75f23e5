// Case-only renames in two steps through a temporary name (see case_rename.h).
#include "platform/case_rename.h"

#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

#include "platform/errors_posix.h"
#include "platform/file_system.h"

namespace dovetam {

namespace {
std::atomic<unsigned> g_counter{0};
}  // namespace

int RenameThroughTemporary(
    const std::function<int(const std::string&, const std::string&)>& renameNoReplace,
    const std::string& folder, const std::string& from, const std::string& to) {
  // Every path is made before the first step: between the two steps nothing
  // may fail for want of memory, which would leave the temporary name.
  const std::string source = folder + from;
  const std::string target = folder + to;
  std::string temp;
  int rc = kFsAlreadyExists;
  // A temporary name that happens to exist is skipped, never replaced.
  for (int attempt = 0; attempt < 100 && rc == kFsAlreadyExists; ++attempt) {
    temp = folder + ".dovetam-case-" + std::to_string(getpid()) + "-" +
           std::to_string(g_counter.fetch_add(1));
    rc = renameNoReplace(source, temp);
  }
  if (rc != kFsOk) return rc;
  rc = renameNoReplace(temp, target);
  if (rc != kFsOk) renameNoReplace(temp, source);
  return rc;
}

int RenameThroughTemporaryAt(int dirFd, const std::string& folder, const std::string& from,
                             const std::string& to) {
  return RenameThroughTemporary(
      [dirFd](const std::string& a, const std::string& b) {
        return renameat2(dirFd, a.c_str(), dirFd, b.c_str(), RENAME_NOREPLACE) == 0
                   ? int{kFsOk}
                   : FsErrorOfErrno(errno);
      },
      folder, from, to);
}

}  // namespace dovetam
