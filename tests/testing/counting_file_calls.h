// The settings store's system calls, counted by kind, with failures to
// inject. A reading is an open of `storePath` for reading; a creation is an
// open that creates a file (the temporary file of a save).
#pragma once

#include <fcntl.h>

#include <cerrno>
#include <string>

#include "platform/settings_file_calls.h"

namespace dovetam::testing {

class CountingFileCalls : public SettingsFileCalls {
 public:
  std::string storePath;
  int readings = 0;
  int creations = 0;
  int opens = 0;
  int closes = 0;
  int writeCalls = 0;
  std::size_t bytesWritten = 0;
  int fsyncs = 0;
  int renames = 0;
  int unlinks = 0;
  // Failures (errno EIO, ENOSPC for writes) of every call of a kind.
  bool failWrites = false;
  bool failFsyncs = false;
  bool failRenames = false;

  void Reset() {
    const std::string path = storePath;
    *this = CountingFileCalls();
    storePath = path;
  }
  int Open(const std::string& path, int flags, mode_t mode) override {
    const int fd = SettingsFileCalls::Open(path, flags, mode);
    if (fd >= 0) ++opens;
    if (path == storePath && (flags & O_ACCMODE) == O_RDONLY) ++readings;
    if ((flags & O_CREAT) != 0) ++creations;
    return fd;
  }
  ssize_t Write(int fd, const char* data, std::size_t size) override {
    ++writeCalls;
    if (failWrites) return Fail(ENOSPC);
    const ssize_t n = SettingsFileCalls::Write(fd, data, size);
    if (n > 0) bytesWritten += static_cast<std::size_t>(n);
    return n;
  }
  int Fsync(int fd) override {
    ++fsyncs;
    return failFsyncs ? static_cast<int>(Fail(EIO)) : SettingsFileCalls::Fsync(fd);
  }
  int Close(int fd) override {
    ++closes;
    return SettingsFileCalls::Close(fd);
  }
  int Rename(const std::string& from, const std::string& to) override {
    ++renames;
    return failRenames ? static_cast<int>(Fail(EIO)) : SettingsFileCalls::Rename(from, to);
  }
  int Unlink(const std::string& path) override {
    ++unlinks;
    return SettingsFileCalls::Unlink(path);
  }

 private:
  static ssize_t Fail(int error) {
    errno = error;
    return -1;
  }
};

}  // namespace dovetam::testing
