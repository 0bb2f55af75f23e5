// A change of letter case only, on a file system that ignores case: there the
// new name already names the object itself, so a no-replace rename refuses
// it. The object goes through a unique temporary name in two no-replace
// steps; when the second step fails the first is undone, so the object keeps
// its old name and no temporary name is left behind.
#pragma once

#include <functional>
#include <string>

namespace dovetam {

// renameNoReplace(from, to) returns 0 or an error number of file_system.h
// (58 when `to` exists). folder ends in "/"; from and to are names in it.
// Returns 0, or the error of the step that failed.
int RenameThroughTemporary(
    const std::function<int(const std::string&, const std::string&)>& renameNoReplace,
    const std::string& folder, const std::string& from, const std::string& to);

// RenameThroughTemporary relative to the folder descriptor dirFd (or
// AT_FDCWD), `folder` the prefix of the names in it ("" when dirFd is the
// folder itself): each step is renameat2 with RENAME_NOREPLACE, so neither
// the temporary name nor the new one ever replaces an object.
int RenameThroughTemporaryAt(int dirFd, const std::string& folder, const std::string& from,
                             const std::string& to);

}  // namespace dovetam
