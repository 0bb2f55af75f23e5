// Reading a folder's names: see folder_names_posix.h.
#include "platform/folder_names_posix.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>

#include "platform/folder_at_posix.h"

namespace dovetam {

int ReadNames(DIR* dir, std::vector<std::string>& names, std::vector<unsigned char>* types) {
  errno = 0;
  while (dirent* e = readdir(dir)) {
    if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0) {
      names.emplace_back(e->d_name);
      if (types != nullptr) types->push_back(e->d_type);
    }
    errno = 0;
  }
  return errno;
}

int ReadNamesAt(int dirFd, const char* path, std::vector<std::string>& names) {
  const int fd = OpenAnyLength(dirFd, path, O_RDONLY | O_DIRECTORY);
  if (fd < 0) return errno;
  DIR* dir = fdopendir(fd);
  if (dir == nullptr) {
    const int err = errno;
    ::close(fd);
    return err;
  }
  // Closed also when memory runs out on the way.
  const std::unique_ptr<DIR, int (*)(DIR*)> stream(dir, closedir);
  return ReadNames(dir, names, nullptr);
}

}  // namespace dovetam
