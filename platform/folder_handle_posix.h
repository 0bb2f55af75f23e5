// Folder handles of this machine's file system (folder_handle.h): a
// descriptor of the folder (opened for reading where it may be read, else
// O_PATH: the folder need only be reachable), and renames relative to it or
// to a folder's path.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/folder_handle.h"

namespace dovetam {

// FileSystem::OpenFolder.
int OpenFolderPosix(std::u16string_view folder, std::unique_ptr<FolderHandle>& handle);
// FileSystem::Rename: relative to the folder's path, with the letter-case
// check.
int RenameByPathPosix(std::u16string_view folder, std::u16string_view oldName,
                      std::u16string_view newName);

}  // namespace dovetam
