// Entries of a folder looked up by name, as this machine's file system shows
// them to the program: a link counts by what it points to (one that leads
// nowhere, or round in a loop, as itself: a file), and a name is found
// ignoring letter case, the exact name first, then in one pass over the
// folder. Everything is relative to a FolderAt, so the folder's path may
// have any length; the pass over the folder opens one descriptor while it
// reads.
#pragma once

#include <sys/stat.h>

#include <ctime>
#include <functional>
#include <string>

#include "platform/dates.h"
#include "platform/folder_at_posix.h"

namespace dovetam {

enum class EntryKind { Any, File, Folder };

// The statx fields the lookups and the dates need.
inline constexpr unsigned kDateMask = STATX_TYPE | STATX_MTIME | STATX_BTIME;

// statx of the object a path leads to, relative to a descriptor. A link that
// leads nowhere (or round in a loop) is taken as itself when
// `brokenLinkAsItself`, as the listing shows it: a file with its own dates.
// False with errno set otherwise.
bool StatxTarget(int dir, const char* path, bool brokenLinkAsItself, struct statx& sx);

// The one pass over the folder for "another entry bears this name in another
// letter case": the first entry other than `name` itself whose name is
// `name` in another letter case and that `accept` takes, with `found` its
// name on disk (0). 53 when there is none (a name that has no letter case
// has none, and the folder is not read for it); where the folder cannot be
// read, the error number of that, nothing there counted as `missing`.
int FindOtherCase(const FolderAt& at, const std::string& name, int missing,
                  const std::function<bool(const std::string&)>& accept, std::string& found);

// Finds the entry `name` of the folder of that kind ignoring letter case:
// 0 with `actual` its name on disk, 53 when there is none, or the error
// number (file_system.h) of a question that cannot be answered.
int FindNoCase(const FolderAt& at, const std::string& name, EntryKind kind, std::string& actual);

// Local time of the last time stamp converted: the files of one folder are
// mostly made in the same second.
struct LocalTimeCache {
  std::time_t time = 0;
  Date date = 0;
  bool filled = false;
  Date Of(std::time_t t);
};

// The last-modified or the birth time of a statx result; an error where the
// file system keeps no such time.
int DateOfStatx(const struct statx& sx, bool birth, LocalTimeCache& cache, Date& date);

// The last-modified or the birth date of the entry `name` (its exact name
// on disk) of that kind.
int EntryDate(const FolderAt& at, const std::string& name, bool isFolder, bool birth, Date& date);

// The entry `name` of that kind found ignoring letter case, and its date.
int FindDate(const FolderAt& at, const std::string& name, bool isFolder, bool birth, Date& date);

}  // namespace dovetam
