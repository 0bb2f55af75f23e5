// A folder held open (FileSystem::OpenFolder), for work that must stay in
// that folder. The handle names the folder itself, not its path: when the
// folder (or a folder above it) is renamed, the handle still names it, while
// a path text would name whatever the path leads to now. Its identity on
// disk is the same under every spelling of its path, links included, and
// another folder's, also a folder made on the inode of one deleted before,
// wherever the file system tells the two apart; (0, 0, 0) is no folder's and
// stands for "not known". What is done in it goes by names relative to it,
// so it works whatever the length of the folder's path.
#pragma once

#include <compare>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/dates.h"

namespace dovetam {

// Device and inode, and which of the folders that inode has held this one
// is: a number the file system gives each folder made on it (the inode's
// generation, or its birth time), 0 where it gives none, so that there a
// folder made on the inode of a deleted one is taken for it.
struct FolderIdentity {
  uint64_t device = 0;
  uint64_t inode = 0;
  uint64_t incarnation = 0;
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
  // Whether a file or folder of that name is in it, as FileExists and
  // FolderExists see it (letter case ignored, links by what they point to).
  virtual int Exists(std::u16string_view name, bool& exists) = 0;
  // The last-modified or (`created`) the creation date of the file or
  // (`isFolder`) folder of that name in it, as GetDateLastModified and
  // GetDateCreated give it.
  virtual int ReadDate(std::u16string_view name, bool isFolder, bool created, Date& date) = 0;
};

}  // namespace dovetam
