// A folder held open (FileSystem::OpenFolder), for work that must stay in
// that folder. The handle names the folder itself, not its path: when the
// folder (or a folder above it) is renamed, the handle still names it, while
// a path text would name whatever the path leads to now. Its identity on
// disk (device and inode) is the same under every spelling of its path,
// links included; (0, 0) is no folder's and stands for "not known".
#pragma once

#include <compare>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace dovetam {

struct FolderIdentity {
  uint64_t device = 0;
  uint64_t inode = 0;
  bool Known() const { return device != 0 || inode != 0; }
  auto operator<=>(const FolderIdentity&) const = default;
};

class FolderHandle {
 public:
  virtual ~FolderHandle() = default;
  virtual FolderIdentity Identity() const = 0;
  // The names of its entries, "." and ".." left out, in the order the system
  // gives them; an error number of file_system.h.
  virtual int Names(std::vector<std::u16string>& names) = 0;
  // Renames oldName to newName in it, as FileSystem::Rename does (never
  // replacing an object, the same error numbers). Without checkCase the
  // caller has made sure that no other entry bears the new name in another
  // letter case (it keeps the folder's names itself), and an ordinary rename
  // is one system call; an object of exactly the new name is still never
  // replaced (58).
  virtual int Rename(std::u16string_view oldName, std::u16string_view newName, bool checkCase) = 0;
};

}  // namespace dovetam
