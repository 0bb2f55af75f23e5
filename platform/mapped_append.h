// Appending to a file by copies into a shared mapping of its end, in place
// of one write call per text: what is copied is in the file at once (the
// mapping is the file's own cache), so a process killed at any moment leaves
// every text appended before it in the file, as write calls would.
//
// One chunk of the file is mapped at a time, the space reserved on the disk
// first, so a full disk is an error of Append and never a fault of a copy;
// the file is made longer than its text up to the end of that chunk. The
// reserve is filled with blanks: a process that is killed leaves its text
// followed by less than one chunk of blanks. Finish cuts the file back to
// its text. A copy that faults all the same (the file
// was cut short by someone else, an error of the disk) is an error of Append,
// not the end of the process.
//
// Only regular files of the local file systems whose mappings behave so
// (tmpfs, ext4, xfs, btrfs) are written this way; Start says no to others.
// Another writer of the same file must not lose its text to the reserve:
// Start says no while another holds the file's lock (flock), and a file
// that grew past the reserve (someone else appended) is left to the
// caller's write calls (Append says kLeft) and never cut back.
#pragma once

#include <sys/types.h>

#include <cstddef>

namespace dovetam {

class MappedAppend {
 public:
  static constexpr std::size_t kChunk = std::size_t{1} << 20;
  // Append: the file grew past the reserve; the text was not appended and
  // the file is left to the caller.
  static constexpr int kLeft = -1;

  MappedAppend() = default;
  ~MappedAppend();  // Finish, errors ignored
  MappedAppend(const MappedAppend&) = delete;
  MappedAppend& operator=(const MappedAppend&) = delete;

  // Starts appending at the end of `fd`, open for reading and writing (the
  // caller keeps it). false: the file cannot be written this way, nothing
  // changed.
  bool Start(int fd);
  // Between a Start that said yes and Finish (or kLeft), errors included:
  // the file's end is this object's.
  bool Started() const { return fd_ >= 0; }
  // 0, kLeft or an errno value. A text that cannot be reserved on the disk
  // is not appended at all; after an error nothing more is appended.
  int Append(const char* data, std::size_t n);
  // Unmaps and cuts the file back to its text: 0 or an errno value.
  int Finish();

 private:
  // Maps the chunk from base_, reserved on the disk, blanks after used_.
  int MapChunk();
  // Whether the file still ends at the end of the reserve.
  bool EndsAtTheReserve() const;

  int fd_ = -1;
  off_t base_ = 0;        // file offset of map_[0], page aligned
  std::size_t used_ = 0;  // bytes from base_ that hold text
  char* map_ = nullptr;   // kChunk bytes of the file from base_
  int error_ = 0;
};

}  // namespace dovetam
