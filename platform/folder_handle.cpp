// The path-based defaults of the folder-handle calls of FileSystem.
#include "platform/file_system.h"

namespace dovetam {

int FileSystem::ListNames(FolderHandle* /*handle*/, std::u16string_view folder,
                          std::vector<std::u16string>& names) {
  std::vector<FsEntry> files, folders;
  const int err = ListFolder(folder, files, folders);
  if (err != kFsOk) return err;
  for (std::vector<FsEntry>* list : {&files, &folders}) {
    for (FsEntry& e : *list) names.push_back(std::move(e.name));
  }
  return kFsOk;
}

int FileSystem::RenameInFolder(FolderHandle* /*handle*/, std::u16string_view folder,
                               std::u16string_view oldName, std::u16string_view newName,
                               bool scanForCase) {
  return scanForCase ? Rename(folder, oldName, newName)
                     : RenameWithoutCaseScan(folder, oldName, newName);
}

}  // namespace dovetam
