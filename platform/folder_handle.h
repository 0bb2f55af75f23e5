// A folder held open for work relative to it. The handle names the folder
// itself, not its path: when the folder (or a folder above it) is renamed,
// the handle still names it, while a path text would name whatever the path
// leads to now. Its identity on disk (device and inode) is the same under
// every spelling of its path, links included.
#pragma once

#include <compare>
#include <cstdint>

namespace dovetam {

struct FolderIdentity {
  uint64_t device = 0;
  uint64_t inode = 0;
  auto operator<=>(const FolderIdentity&) const = default;
};

class FolderHandle {
 public:
  virtual ~FolderHandle() = default;
  virtual FolderIdentity Identity() const = 0;
};

}  // namespace dovetam
