// Folders of any path length for the calls of this machine's file system.
//
// The system takes a path of fewer than PATH_MAX bytes whole; a longer one
// is refused (ENAMETOOLONG), though every folder on it can be reached. So a
// longer path is walked: its first part that fits is opened, then each next
// part that fits relative to the folder opened before it, and the call is
// made relative to the last folder (the *at calls). A part ends after a "/",
// so every name is given whole and links and ".." are taken where the whole
// path would have taken them. A walk holds at most two descriptors at once:
// the folder reached so far and the next one. A path that fits is used as it
// is, relative to the current folder, and opens nothing more than before.
#pragma once

#include <fcntl.h>

#include <string>
#include <string_view>

namespace dovetam {

// openat(dirFd, path, flags | O_CLOEXEC) for a path of any length: the
// descriptor, or -1 with errno set.
int OpenAnyLength(int dirFd, const std::string& path, int flags);

// A folder as a descriptor and a prefix for the names in it: the current
// folder and the folder's path ending in "/" when every name in it fits in a
// path the system takes, else a descriptor of the folder itself and no
// prefix.
class FolderAt {
 public:
  FolderAt() = default;
  // The folder of a descriptor that stays its owner's.
  explicit FolderAt(int fd) : fd_(fd) {}
  ~FolderAt();
  FolderAt(const FolderAt&) = delete;
  FolderAt& operator=(const FolderAt&) = delete;

  // Reaches the folder at `folder` (bytes; "" is the current folder): 0, or
  // the errno value of the walk (a path that fits is not looked at here:
  // the calls made in it say what is wrong with it).
  int Reach(std::string folder);

  int fd() const { return fd_; }
  // A name in the folder as a path relative to fd().
  std::string Of(std::string_view name) const { return prefix_ + std::string(name); }
  // The folder itself as a path relative to fd().
  const char* Self() const { return prefix_.empty() ? "." : prefix_.c_str(); }
  // The prefix of names in it ("" when fd() is the folder).
  const std::string& Prefix() const { return prefix_; }

 private:
  void Release();
  int fd_ = AT_FDCWD;
  bool owned_ = false;
  std::string prefix_;
};

}  // namespace dovetam
