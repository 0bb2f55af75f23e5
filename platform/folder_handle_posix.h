// Folder handles of this machine's file system (folder_handle.h): an open
// descriptor of the folder, and the calls relative to it. Each call also
// works without a handle, on the folder's path.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/folder_handle.h"

namespace dovetam {

// The error number of file_system.h for an errno value.
int FsErrorOfErrno(int err);
// The names of the entries of the folder at path (relative to dirFd, or
// AT_FDCWD), "." and ".." left out, as bytes. Returns 0 or the errno value.
int ReadNamesAt(int dirFd, const char* path, std::vector<std::string>& names);

int OpenFolderPosix(std::u16string_view folder, std::unique_ptr<FolderHandle>& handle);
int FolderIdentityPosix(std::u16string_view folder, FolderIdentity& id);
int ListNamesPosix(FolderHandle* handle, std::u16string_view folder,
                   std::vector<std::u16string>& names);
// FileSystem::Rename (scanForCase) or RenameWithoutCaseScan, relative to the
// handle when there is one, else to the folder's path.
int RenameInFolderPosix(FolderHandle* handle, std::u16string_view folder,
                        std::u16string_view oldName, std::u16string_view newName,
                        bool scanForCase);

}  // namespace dovetam
