// Folders of any path length: see folder_at_posix.h.
#include "platform/folder_at_posix.h"

#include <limits.h>
#include <unistd.h>

#include <cerrno>

namespace dovetam {

namespace {

// The longest part given to one call: a path the system takes whole.
constexpr std::size_t kPart = PATH_MAX - 1;

void CloseKeepingErrno(int fd) {
  const int err = errno;
  ::close(fd);
  errno = err;
}

}  // namespace

int OpenAnyLength(int dirFd, const std::string& path, int flags) {
  if (path.size() <= kPart) return ::openat(dirFd, path.c_str(), flags | O_CLOEXEC);
  int at = dirFd;
  bool owned = false;
  std::size_t start = 0;
  while (path.size() - start > kPart) {
    // The part up to the last "/" that leaves it short enough.
    const std::size_t slash = path.rfind('/', start + kPart - 1);
    if (slash == std::string::npos || slash < start) {
      if (owned) CloseKeepingErrno(at);
      errno = ENAMETOOLONG;  // a single name longer than any path
      return -1;
    }
    const std::string part = path.substr(start, slash - start + 1);
    const int next = ::openat(at, part.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (owned) CloseKeepingErrno(at);
    if (next < 0) return -1;
    at = next;
    owned = true;
    start = slash + 1;
  }
  const std::string rest = start < path.size() ? path.substr(start) : std::string(".");
  const int fd = ::openat(at, rest.c_str(), flags | O_CLOEXEC);
  if (owned) CloseKeepingErrno(at);
  return fd;
}

FolderAt::~FolderAt() { Release(); }

void FolderAt::Release() {
  if (owned_) ::close(fd_);
  fd_ = AT_FDCWD;
  owned_ = false;
  prefix_.clear();
}

int FolderAt::Reach(std::string folder) {
  Release();
  if (folder.empty()) folder = "./";
  if (folder.back() != '/') folder += '/';
  if (folder.size() + NAME_MAX <= kPart) {
    prefix_ = std::move(folder);
    return 0;
  }
  const int fd = OpenAnyLength(AT_FDCWD, folder, O_PATH | O_DIRECTORY);
  if (fd < 0) return errno;
  fd_ = fd;
  owned_ = true;
  return 0;
}

}  // namespace dovetam
