// A folder made again on the inode of a folder deleted just before, as file
// systems like ext4 do readily (tmpfs numbers its inodes anew and never
// does): new folders are made beside the wanted path until the file system
// gives one of them that inode, a bounded number of tries. Another process
// making files meanwhile may take the inode first: a test then starts its
// round again, a bounded number of rounds, and skips when none succeeds.
#pragma once

#include <dirent.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace dovetam::testing {

// The inode of the object at `path` (bytes), links not followed; 0 when
// there is none.
inline ino_t InodeOf(const std::string& path) {
  struct stat st {};
  return lstat(path.c_str(), &st) == 0 ? st.st_ino : 0;
}

inline constexpr int kInodeTries = 200;
inline constexpr int kInodeRounds = 20;

// Makes the folder `path` (bytes, not there yet) on the inode `inode`: each
// try makes a new folder beside it and keeps the ones that got another
// inode until the end, so that the next try can get another one. True when
// a try got it (it is then the folder at `path`); false, with nothing left
// behind, when none of kInodeTries did.
inline bool MakeFolderOnInode(const std::string& path, ino_t inode) {
  std::vector<std::string> misses;
  bool made = false;
  for (int k = 0; k < kInodeTries && !made; ++k) {
    const std::string attempt = path + ".try" + std::to_string(k);
    if (mkdir(attempt.c_str(), 0755) != 0) break;
    if (InodeOf(attempt) == inode) {
      made = ::rename(attempt.c_str(), path.c_str()) == 0;
      if (!made) misses.push_back(attempt);
      break;
    }
    misses.push_back(attempt);
  }
  for (const std::string& miss : misses) rmdir(miss.c_str());
  return made;
}

// Deletes the folder `path` (bytes) with the files in it, and makes the
// folder `again` on its inode (MakeFolderOnInode). False when that failed:
// `path` is gone and `again` not made.
inline bool RemakeOnItsInode(const std::string& path, const std::string& again) {
  const ino_t inode = InodeOf(path);
  if (DIR* d = opendir(path.c_str())) {
    std::vector<std::string> names;
    while (dirent* e = readdir(d)) {
      const std::string n = e->d_name;
      if (n != "." && n != "..") names.push_back(n);
    }
    closedir(d);
    for (const std::string& n : names) unlink((path + "/" + n).c_str());
  }
  if (rmdir(path.c_str()) != 0) return false;
  return MakeFolderOnInode(again, inode);
}

// The message of a test that skips because the file system did not give
// the inode back.
inline const char* kNoInodeReuse =
    "the file system of the temporary folder gave no new folder the inode of the folder deleted "
    "before it (20 rounds of 200 tries; it does not reuse inodes readily): nothing to test here";

}  // namespace dovetam::testing
