// The entries of a folder as readdir gives them, "." and ".." left out, as
// bytes, in the order the system gives them: the one reading of a folder's
// names that the listings, the open folders and the letter-case lookups
// share.
#pragma once

#include <dirent.h>

#include <string>
#include <vector>

namespace dovetam {

// Reads what is left of an open folder stream into `names` and, when given,
// each entry's kind as the folder tells it (d_type: DT_UNKNOWN where the
// file system does not say) into `types`. Returns 0 or the errno value.
int ReadNames(DIR* dir, std::vector<std::string>& names, std::vector<unsigned char>* types);

// Opens the folder at `path` (relative to dirFd, or AT_FDCWD; of any length)
// and reads its names. Returns 0 or the errno value.
int ReadNamesAt(int dirFd, const char* path, std::vector<std::string>& names);

}  // namespace dovetam
