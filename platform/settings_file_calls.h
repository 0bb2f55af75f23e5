// The system calls through which the INI settings store reaches its files,
// so that tests can count them or make them fail. Each does what the POSIX
// call of the same name does, errno included.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <string>

namespace dovetam {

class SettingsFileCalls {
 public:
  virtual ~SettingsFileCalls() = default;
  virtual int Open(const std::string& path, int flags, mode_t mode);
  virtual ssize_t Read(int fd, char* buffer, std::size_t size);
  virtual ssize_t Write(int fd, const char* data, std::size_t size);
  virtual int Fsync(int fd);
  virtual int Close(int fd);
  virtual int Rename(const std::string& from, const std::string& to);
  virtual int Unlink(const std::string& path);
};

}  // namespace dovetam
