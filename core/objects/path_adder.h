// Making targets from full paths: files and folders dropped onto the target
// list, and the paths of the command line.
//
// Each path is resolved through the file system (files first, then folders)
// to the full path the system gives, split at its last "/" into folder (with
// the "/") and name; a root, a path that names nothing and a path whose checks
// fail are not added. The target keeps the identity of its folder
// (object_table.h), found by opening the folder once per call; a folder that
// cannot be opened is a check that fails. A path that is already a target is
// skipped without a word: its folder and name are exactly those of a target,
// or its name is exactly a target's and its folder is that target's folder on
// disk under another spelling (a link to it, say). Names are compared exactly
// (case counts). The dates of the shown columns are read; a date that cannot
// be read is stored as 0 and noted. Memory running out anywhere in adding a
// path (the table that cannot grow, or any other allocation) is OutOfMemory:
// the target table is as before that path, and std::bad_alloc never leaves Add.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "core/objects/object_table.h"
#include "platform/capacities.h"
#include "platform/file_system.h"

namespace dovetam {

// What one call of the drop handler or of the command-line reader gathered.
struct PathAddTally {
  int32_t notAdded = 0;
  int dateFailures = 0;  // 1 last-modified, 2 creation
  bool memoryFailed = false;
};

enum class PathAdd { Added, Skipped, NotAdded, OutOfMemory };

class PathAdder {
 public:
  PathAdder(FileSystem& fs, ObjectTable& objects, bool readModified, bool readCreated,
            const Capacities& caps);

  // Adds one path; counts it in the tally unless it was added or skipped. On
  // OutOfMemory the table is as before and the path is counted.
  PathAdd Add(const std::u16string& path);

  PathAddTally tally;

 private:
  PathAdd AddPath(const std::u16string& path);
  // Counts the path as not added for want of memory.
  PathAdd MemoryShort();

  FileSystem& fs_;
  ObjectTable& objects_;
  bool readModified_;
  bool readCreated_;
  Capacities caps_;
  bool prepared_ = false;  // the two sets below hold the targets of before the call
  // A name in a folder on disk.
  struct Entry {
    FolderIdentity folder;
    std::u16string name;
    bool operator==(const Entry&) const = default;
  };
  struct EntryHash {
    std::size_t operator()(const Entry& e) const;
  };

  std::unordered_set<std::u16string> present_;  // folder & name of every target
  std::unordered_set<Entry, EntryHash> presentOnDisk_;  // of every target whose folder is known
  std::unordered_map<std::u16string, FolderIdentity> folderIds_;  // folders opened so far
};

// The summary message after a drop / after the command line; "" when nothing
// needs saying.
std::u16string DropSummaryMessage(const PathAddTally& tally);
std::u16string CommandLineSummaryMessage(const PathAddTally& tally);

}  // namespace dovetam
