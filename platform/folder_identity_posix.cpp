// Folder identities: see folder_identity_posix.h.
#include "platform/folder_identity_posix.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <cerrno>

namespace dovetam {

namespace {

// The incarnation of a generation number has this bit, one of a birth time
// (nanoseconds since 1970, which fill 63 bits until the year 2262) does not.
constexpr uint64_t kGenerationBit = uint64_t{1} << 63;

}  // namespace

int FolderIdentityOf(int fd, FolderIdentity& id) {
  struct statx sx {};
  if (statx(fd, "", AT_EMPTY_PATH, STATX_INO | STATX_BTIME, &sx) != 0) return errno;
  id.device = static_cast<uint64_t>(makedev(sx.stx_dev_major, sx.stx_dev_minor));
  id.inode = sx.stx_ino;
  id.incarnation = 0;
  // The kernel writes the generation as an int.
  unsigned int generation = 0;
  if (ioctl(fd, FS_IOC_GETVERSION, &generation) == 0) {
    id.incarnation = kGenerationBit | generation;
  } else if ((sx.stx_mask & STATX_BTIME) != 0) {
    const uint64_t seconds = static_cast<uint64_t>(sx.stx_btime.tv_sec);
    id.incarnation = (seconds * 1000000000u + sx.stx_btime.tv_nsec) & ~kGenerationBit;
  }
  return 0;
}

}  // namespace dovetam
