// Case-only renames in two steps through a temporary name (see case_rename.h).
#include "platform/case_rename.h"

#include <unistd.h>

#include <atomic>

#include "platform/file_system.h"

namespace dovetam {

namespace {
std::atomic<unsigned> g_counter{0};
}  // namespace

int RenameThroughTemporary(
    const std::function<int(const std::string&, const std::string&)>& renameNoReplace,
    const std::string& folder, const std::string& from, const std::string& to) {
  std::string temp;
  int rc = kFsAlreadyExists;
  // A temporary name that happens to exist is skipped, never replaced.
  for (int attempt = 0; attempt < 100 && rc == kFsAlreadyExists; ++attempt) {
    temp = folder + ".dovetam-case-" + std::to_string(getpid()) + "-" +
           std::to_string(g_counter.fetch_add(1));
    rc = renameNoReplace(folder + from, temp);
  }
  if (rc != kFsOk) return rc;
  rc = renameNoReplace(temp, folder + to);
  if (rc != kFsOk) renameNoReplace(temp, folder + from);
  return rc;
}

}  // namespace dovetam
