// What every file system shares (see file_system.h): the drive of a path,
// and the listing with dates made of the plain calls.
#include "platform/file_system.h"

namespace dovetam {

std::u16string DriveOfPath(const std::vector<std::u16string>& drives, std::u16string_view path) {
  if (path.empty() || path[0] != u'/') return u"";
  std::u16string p(path);
  if (p.back() != u'/') p += u'/';
  std::u16string best = u"/";
  for (const std::u16string& d : drives) {
    if (d.size() > best.size() && p.compare(0, d.size(), d) == 0) best = d;
  }
  return best;
}

int ListFolderByPaths(FileSystem& fs, std::u16string_view folder, bool modified, bool created,
                      std::vector<FsEntry>& files, std::vector<FsEntry>& folders,
                      FolderIdentity& identity) {
  std::unique_ptr<FolderHandle> handle;
  if (fs.OpenFolder(folder, handle) == kFsOk) identity = handle->Identity();
  const int rc = fs.ListFolder(folder, files, folders);
  if (rc != kFsOk || (!modified && !created)) return rc;
  std::u16string path(folder);
  const std::size_t length = path.size();
  for (std::vector<FsEntry>* group : {&files, &folders}) {
    for (FsEntry& entry : *group) {
      path.resize(length);
      path += entry.name;
      if (modified && fs.GetDateLastModified(path, entry.isFolder, entry.modified) != kFsOk) {
        entry.modified = 0;
        entry.dateErrors |= 1;
      }
      if (created && fs.GetDateCreated(path, entry.isFolder, entry.created) != kFsOk) {
        entry.created = 0;
        entry.dateErrors |= 2;
      }
    }
  }
  return kFsOk;
}

}  // namespace dovetam
