// Folder handles and renames relative to them: see folder_handle_posix.h.
// Paths of any length are reached through folder_at_posix.h.
//
// A rename is renameat2 with RENAME_NOREPLACE, relative to the folder's
// descriptor (or its path), so an existing object is never replaced. With
// the letter-case check, a new name that another entry of the folder bears
// in another letter case counts as existing; a change of letter case only
// goes through a temporary name where the file system ignores case.
#include "platform/folder_handle_posix.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

#include "platform/case_rename.h"
#include "platform/entry_lookup_posix.h"
#include "platform/errors_posix.h"
#include "platform/file_system.h"
#include "platform/folder_at_posix.h"
#include "platform/folder_identity_posix.h"
#include "platform/folder_names_posix.h"
#include "platform/text_case.h"
#include "platform/utf8_codec.h"

namespace dovetam {

namespace {

bool IsPlainName(std::u16string_view name) {
  return !name.empty() && name != u"." && name != u".." &&
         name.find_first_of(std::u16string_view(u"/\0", 2)) == std::u16string_view::npos;
}

int NoReplace(const FolderAt& at, const std::string& from, const std::string& to) {
  if (renameat2(at.fd(), at.Of(from).c_str(), at.fd(), at.Of(to).c_str(), RENAME_NOREPLACE) == 0) {
    return kFsOk;
  }
  return FsErrorOfErrno(errno);
}

// Renames relative to a folder (see FolderHandle::Rename).
int RenameAt(const FolderAt& at, std::u16string_view oldName, std::u16string_view newName,
             bool checkCase) {
  if (!IsPlainName(newName)) return kFsIoError;
  std::string from, to;
  if (!EncodeNative(oldName, from)) return kFsNotFound;
  // A new name must come back from the disk as it was given.
  if (!EncodeNativeExactly(newName, to)) return kFsIoError;

  // Without the scan, an ordinary rename is the one system call.
  if (!checkCase && from != to && !EqualNoCase(oldName, newName)) return NoReplace(at, from, to);

  struct stat src {};
  if (fstatat(at.fd(), at.Of(from).c_str(), &src, AT_SYMLINK_NOFOLLOW) != 0) {
    return FsErrorOfErrno(errno);
  }
  if (from == to) return kFsAlreadyExists;

  // Another entry of the folder under the new name in another letter case
  // counts as existing; the source itself (a change of case only, or a
  // second name of it) does not.
  if (checkCase) {
    std::string other;
    const int rc = FindOtherCase(
        at, to, kFsPathNotFound,
        [&](const std::string& n) {
          struct stat st {};
          return fstatat(at.fd(), at.Of(n).c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 &&
                 (st.st_dev != src.st_dev || st.st_ino != src.st_ino);
        },
        other);
    if (rc == kFsOk) return kFsAlreadyExists;
    if (rc != kFsNotFound) return rc;
  }

  struct stat target {};
  const bool sameObject = EqualNoCase(oldName, newName) &&
                          fstatat(at.fd(), at.Of(to).c_str(), &target, AT_SYMLINK_NOFOLLOW) == 0 &&
                          target.st_dev == src.st_dev && target.st_ino == src.st_ino;
  if (!sameObject) return NoReplace(at, from, to);

  // A case-insensitive file system sees the new name as the old object.
  return RenameThroughTemporaryAt(at.fd(), at.Prefix(), from, to);
}

// An open folder: a descriptor opened for reading, or where the folder may
// not be read an O_PATH one, which any folder that can be reached gives (its
// names need read permission, its renames write permission).
class PosixFolderHandle : public FolderHandle {
 public:
  PosixFolderHandle(int fd, FolderIdentity id) : fd_(fd), id_(id) {}
  ~PosixFolderHandle() override { ::close(fd_); }
  FolderIdentity Identity() const override { return id_; }
  int Names(std::vector<std::u16string>& names) override {
    std::vector<std::string> bytes;
    if (const int err = ReadNamesAt(fd_, ".", bytes); err != 0) {
      return MissingAs(err, kFsPathNotFound);
    }
    names.reserve(names.size() + bytes.size());
    for (const std::string& b : bytes) names.push_back(DecodeNative(b));
    return kFsOk;
  }
  int Rename(std::u16string_view oldName, std::u16string_view newName, bool checkCase) override {
    return RenameAt(FolderAt(fd_), oldName, newName, checkCase);
  }
  int Exists(std::u16string_view name, bool& exists) override {
    exists = false;
    std::string bytes;
    if (!EncodeNative(name, bytes) || !IsPlainName(name)) return kFsOk;
    std::string actual;
    const int rc = FindNoCase(FolderAt(fd_), bytes, EntryKind::Any, actual);
    exists = rc == kFsOk;
    return rc == kFsNotFound ? kFsOk : rc;
  }
  int ReadDate(std::u16string_view name, bool isFolder, bool created, Date& date) override {
    std::string bytes;
    if (!EncodeNative(name, bytes) || !IsPlainName(name)) return kFsNotFound;
    return FindDate(FolderAt(fd_), bytes, isFolder, created, date);
  }

 private:
  int fd_;
  FolderIdentity id_;
};

}  // namespace

int OpenFolderPosix(std::u16string_view folder, std::unique_ptr<FolderHandle>& handle) {
  std::string path;
  if (!EncodeNative(folder, path) || path.empty()) return kFsPathNotFound;
  // Opened for reading where it may be read, so that its identity has the
  // inode's generation; otherwise only to be reached.
  int fd = OpenAnyLength(AT_FDCWD, path, O_RDONLY | O_DIRECTORY);
  if (fd < 0 && errno == EACCES) fd = OpenAnyLength(AT_FDCWD, path, O_PATH | O_DIRECTORY);
  if (fd < 0) return MissingAs(errno, kFsPathNotFound);
  FolderIdentity id;
  if (const int err = FolderIdentityOf(fd, id); err != 0) {
    ::close(fd);
    return FsErrorOfErrno(err);
  }
  handle = std::make_unique<PosixFolderHandle>(fd, id);
  return kFsOk;
}

int RenameByPathPosix(std::u16string_view folder, std::u16string_view oldName,
                      std::u16string_view newName) {
  std::string path;
  if (!EncodeNative(folder, path)) return kFsNotFound;
  FolderAt at;
  if (const int err = at.Reach(std::move(path)); err != 0) return FsErrorOfErrno(err);
  return RenameAt(at, oldName, newName, true);
}

}  // namespace dovetam
