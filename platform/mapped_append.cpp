// Appending through a shared mapping: see mapped_append.h.
#include "platform/mapped_append.h"

#include <fcntl.h>
#include <linux/magic.h>
#include <setjmp.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <mutex>

namespace dovetam {

namespace {

// A copy into the mapping faults with SIGBUS when its page is gone from the
// file. The handler takes the thread that made the copy back out of it; any
// other SIGBUS goes on to what was there before.
thread_local sigjmp_buf* tJump = nullptr;
struct sigaction gPrevious {};
std::once_flag gInstalled;

void OnBusError(int sig, siginfo_t* info, void* context) {
  if (sigjmp_buf* jump = tJump) {
    tJump = nullptr;
    siglongjmp(*jump, 1);
  }
  if ((gPrevious.sa_flags & SA_SIGINFO) != 0 && gPrevious.sa_sigaction != nullptr) {
    gPrevious.sa_sigaction(sig, info, context);
    return;
  }
  if ((gPrevious.sa_flags & SA_SIGINFO) == 0 && gPrevious.sa_handler != SIG_DFL &&
      gPrevious.sa_handler != SIG_IGN) {
    gPrevious.sa_handler(sig);
    return;
  }
  // Not a copy of ours: it ends the process as it would have.
  signal(SIGBUS, SIG_DFL);
  raise(SIGBUS);
}

void InstallGuard() {
  std::call_once(gInstalled, [] {
    struct sigaction sa {};
    sa.sa_sigaction = OnBusError;
    sigemptyset(&sa.sa_mask);
    // SA_NODEFER: leaving the handler by a jump leaves SIGBUS unblocked.
    sa.sa_flags = SA_SIGINFO | SA_NODEFER;
    sigaction(SIGBUS, &sa, &gPrevious);
  });
}

// Copies n bytes of `from` to `to`, or blanks them when `from` is null;
// false when a page of the mapping faulted.
bool CopyGuarded(char* to, const char* from, std::size_t n) {
  sigjmp_buf jump;
  if (sigsetjmp(jump, 0) != 0) return false;
  tJump = &jump;
  std::atomic_signal_fence(std::memory_order_seq_cst);
  if (from != nullptr) {
    std::memcpy(to, from, n);
  } else {
    std::memset(to, ' ', n);
  }
  std::atomic_signal_fence(std::memory_order_seq_cst);
  tJump = nullptr;
  return true;
}

// Whether fd is a regular file of a file system written this way; st: its
// status.
bool MapsLikeTheCache(int fd, struct stat& st) {
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) return false;
  struct statfs fs {};
  if (fstatfs(fd, &fs) != 0) return false;
  switch (static_cast<unsigned long>(fs.f_type)) {
    case TMPFS_MAGIC:
    case EXT4_SUPER_MAGIC:
    case XFS_SUPER_MAGIC:
    case BTRFS_SUPER_MAGIC:
      return true;
    default:
      return false;
  }
}

int ReserveOnDisk(int fd, off_t from, std::size_t bytes) {
  int rc;
  do {
    rc = fallocate(fd, 0, from, static_cast<off_t>(bytes));
  } while (rc != 0 && errno == EINTR);
  return rc == 0 ? 0 : errno;
}

}  // namespace

MappedAppend::~MappedAppend() { Finish(); }

bool MappedAppend::Start(int fd) {
  struct stat st {};
  if (fd_ >= 0 || !MapsLikeTheCache(fd, st)) return false;
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) return false;  // another writer has it
  InstallGuard();
  const auto page = static_cast<off_t>(sysconf(_SC_PAGESIZE));
  fd_ = fd;
  base_ = st.st_size / page * page;
  used_ = static_cast<std::size_t>(st.st_size - base_);
  error_ = 0;
  if (MapChunk() != 0) {
    Finish();  // back to the length it had
    return false;
  }
  return true;
}

int MappedAppend::MapChunk() {
  if (const int err = ReserveOnDisk(fd_, base_, kChunk); err != 0) return err;
  void* m = mmap(nullptr, kChunk, PROT_READ | PROT_WRITE, MAP_SHARED, fd_, base_);
  if (m == MAP_FAILED) return errno;
  map_ = static_cast<char*>(m);
#ifdef MADV_POPULATE_WRITE
  // The pages of the chunk in one call rather than one fault each (a hint).
  const auto page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
  madvise(map_ + used_ / page * page, kChunk - used_ / page * page, MADV_POPULATE_WRITE);
#endif
  if (!CopyGuarded(map_ + used_, nullptr, kChunk - used_)) return EIO;
  return 0;
}

int MappedAppend::Append(const char* data, std::size_t n) {
  if (error_ != 0) return error_;
  if (map_ == nullptr) return error_ = EBADF;
  if (n > kChunk - used_ && !EndsAtTheReserve()) {
    // Someone else appended after the reserve: the blanks stay where they
    // are, and the rest goes after that text.
    munmap(map_, kChunk);
    map_ = nullptr;
    flock(fd_, LOCK_UN);
    fd_ = -1;
    return kLeft;
  }
  if (n > kChunk - used_) {
    // The chunks the text reaches into are reserved before any of it is
    // copied: a text is appended whole or not at all.
    const std::size_t beyond = (n - (kChunk - used_) + kChunk - 1) / kChunk * kChunk;
    const int err = ReserveOnDisk(fd_, base_ + static_cast<off_t>(kChunk), beyond);
    if (err != 0) return error_ = err;
  }
  while (n > 0) {
    if (used_ == kChunk) {
      munmap(map_, kChunk);
      map_ = nullptr;
      base_ += static_cast<off_t>(kChunk);
      used_ = 0;
      if (const int err = MapChunk(); err != 0) return error_ = err;
    }
    const std::size_t k = std::min(n, kChunk - used_);
    if (!CopyGuarded(map_ + used_, data, k)) return error_ = EIO;
    used_ += k;
    data += k;
    n -= k;
  }
  return 0;
}

bool MappedAppend::EndsAtTheReserve() const {
  struct stat st {};
  return fstat(fd_, &st) == 0 && st.st_size <= base_ + static_cast<off_t>(kChunk);
}

int MappedAppend::Finish() {
  if (fd_ < 0) return 0;
  if (map_ != nullptr) munmap(map_, kChunk);
  map_ = nullptr;
  int err = 0;
  while (EndsAtTheReserve() && ftruncate(fd_, base_ + static_cast<off_t>(used_)) != 0) {
    if (errno != EINTR) {
      err = errno;
      break;
    }
  }
  flock(fd_, LOCK_UN);
  fd_ = -1;
  return err;
}

}  // namespace dovetam
