// Appending to a file by copies into a shared mapping of its end, in place
// of one write call per text: what is copied is in the file at once (the
// mapping is the file's own cache), so a process killed at any moment leaves
// every text appended before it in the file, as write calls would.
//
// The file is made longer than its text ahead, one chunk at a time, the
// space reserved on the disk first, so a full disk is an error of Append and
// never a fault of a copy. The reserve is filled with blanks: a process that
// is killed leaves its text followed by at most one chunk of blanks. Finish
// cuts the file back to its text. A copy that faults all the same (the file
// was cut short by someone else, an error of the disk) is an error of Append,
// not the end of the process.
//
// Only regular files of the local file systems whose mappings behave so
// (tmpfs, ext4, xfs, btrfs) are written this way; Start says no to others.
#pragma once

#include <sys/types.h>

#include <cstddef>

namespace dovetam {

class MappedAppend {
 public:
  static constexpr std::size_t kChunk = std::size_t{1} << 20;

  MappedAppend() = default;
  ~MappedAppend();  // Finish, errors ignored
  MappedAppend(const MappedAppend&) = delete;
  MappedAppend& operator=(const MappedAppend&) = delete;

  // Starts appending at the end of `fd`, open for reading and writing (the
  // caller keeps it). false: the file cannot be written this way, nothing
  // changed.
  bool Start(int fd);
  bool Started() const { return map_ != nullptr; }
  // 0 or an errno value; after an error nothing more is appended.
  int Append(const char* data, std::size_t n);
  // Unmaps and cuts the file back to its text: 0 or an errno value.
  int Finish();

 private:
  int Reserve(std::size_t need);

  int fd_ = -1;
  off_t base_ = 0;          // file offset of map_[0], page aligned
  std::size_t used_ = 0;    // bytes from base_ that hold text
  std::size_t mapped_ = 0;  // bytes mapped (and reserved in the file) from base_
  char* map_ = nullptr;
  int error_ = 0;
};

}  // namespace dovetam
