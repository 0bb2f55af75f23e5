// Folders nested deeper than a path the system takes whole (PATH_MAX bytes):
// made and read through open folders, one level relative to the one above,
// since their paths cannot be given whole.
#pragma once

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string>
#include <vector>

namespace dovetam::testing {

// Makes the folders `names`, each in the one before, in the existing folder
// `base` (bytes), those that are there already kept, and a new file `file`
// holding `content` in the last one (none when `file` is empty). False when
// something could not be made.
inline bool MakeNestedFolders(const std::string& base, const std::vector<std::string>& names,
                              const std::string& file, const std::string& content = "") {
  int at = open(base.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
  for (const std::string& name : names) {
    if (at < 0 || (mkdirat(at, name.c_str(), 0755) != 0 && errno != EEXIST)) break;
    const int next = openat(at, name.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    close(at);
    at = next;
  }
  if (at < 0) return false;
  bool ok = true;
  if (!file.empty()) {
    const int f = openat(at, file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    ok = f >= 0 && write(f, content.data(), content.size()) == static_cast<ssize_t>(content.size());
    if (f >= 0) close(f);
  }
  close(at);
  return ok;
}

// The names of nested folders that make a folder path of exactly `length`
// bytes, its final "/" included, under a folder whose path (ending in "/")
// has `baseLength` bytes: as few levels as names of at most 240 bytes allow,
// the bytes shared out evenly, level k's name beginning with "L" and k.
inline std::vector<std::string> NestedNamesOfLength(std::size_t baseLength, std::size_t length) {
  std::vector<std::string> names;
  if (length <= baseLength) return names;
  const std::size_t rest = length - baseLength;  // names and their "/"
  const std::size_t levels = (rest + 240) / 241;
  for (std::size_t k = 0; k < levels; ++k) {
    // Each level's share, its "/" included; the first ones a byte more.
    const std::size_t share = rest / levels + (k < rest % levels ? 1 : 0);
    // Built front to back: a prefix put before a temporary string makes GCC 12
    // warn of a memcpy overlap that cannot happen.
    std::string name = std::string("L").append(std::to_string(k)).append("-");
    name.resize(share - 1, 'x');
    names.push_back(std::move(name));
  }
  return names;
}

// The sorted names in each folder from `base` down, going into the folder
// found in each (the last one found, when there are several).
inline std::vector<std::vector<std::string>> NestedNames(const std::string& base) {
  std::vector<std::vector<std::string>> out;
  int at = open(base.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  while (at >= 0) {
    DIR* d = fdopendir(at);
    if (d == nullptr) {
      close(at);
      break;
    }
    std::vector<std::string> names;
    std::string sub;
    while (dirent* e = readdir(d)) {
      const std::string n = e->d_name;
      if (n == "." || n == "..") continue;
      names.push_back(n);
      if (e->d_type == DT_DIR) sub = n;
    }
    std::sort(names.begin(), names.end());
    out.push_back(std::move(names));
    at = sub.empty() ? -1 : openat(dirfd(d), sub.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    closedir(d);
  }
  return out;
}

}  // namespace dovetam::testing
