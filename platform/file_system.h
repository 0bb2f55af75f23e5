// The file system as the program sees it.
//
// Every call returns an error number, 0 on success, with the numbers the rest
// of the program tests: 53 the object does not exist, 58 an object of that
// name already exists, 70 permission denied, 76 the path (its folder) was not
// found, 75 any other failure of the system. Paths are UTF-16 texts; folders
// end in "/". Names that are not valid UTF-8 on disk come back with their
// invalid bytes as U+DC00+byte (utf8_codec.h) and are written back exactly.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/dates.h"
#include "platform/folder_handle.h"

namespace dovetam {

enum FsErrorNumber : int {
  kFsOk = 0,
  kFsNotFound = 53,
  kFsAlreadyExists = 58,
  kFsPermissionDenied = 70,
  kFsIoError = 75,
  kFsPathNotFound = 76,
};

struct FsEntry {
  std::u16string name;
  bool isFolder = false;
  // Read by ListFolderWithDates only, and only the dates it was asked for;
  // a date that could not be read stays 0 and sets its bit in dateErrors
  // (1 last-modified, 2 creation).
  Date modified = 0;
  Date created = 0;
  int dateErrors = 0;
};

// A text file being written: UTF-8 without byte-order mark. Every Write is
// handed to the system before it returns, so that after a crash the file
// holds every line written so far, and nothing else: each text is appended
// at the file's end as it stands then (a file that someone else appended to
// or cut short goes on from there, without a hole), and a text fails only
// when it does not fit (a full disk), with as much of it in the file as
// fitted.
class TextFile {
 public:
  virtual ~TextFile() = default;
  virtual int Write(std::u16string_view text) = 0;
  // Write in two steps, for a writer that encodes on one thread and writes
  // on another: the bytes Write puts in the file for `text`, and the write
  // of such bytes (one Write).
  static void Encode(std::u16string_view text, std::string& bytes);
  virtual int WriteEncoded(std::string_view bytes) = 0;
  virtual int Close() = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // Whether a second thread may make renames and text-file writes while this
  // one goes on reading dates and existence of other entries. Calls that
  // change the disk never overlap each other either way.
  virtual bool SafeFromTwoThreads() const { return false; }

  // The entries of a folder, hidden ones included, "." and ".." left out:
  // files (and links to anything but a folder) and folders (and links to
  // folders) apart, each in the order the system gives them.
  virtual int ListFolder(std::u16string_view folder, std::vector<FsEntry>& files,
                         std::vector<FsEntry>& folders) = 0;

  // ListFolder with the asked dates of each entry read on the way, each as
  // GetDateLastModified / GetDateCreated would give it. The system's version
  // makes one status call per entry, relative to the open folder.
  virtual int ListFolderWithDates(std::u16string_view folder, bool modified, bool created,
                                  std::vector<FsEntry>& files, std::vector<FsEntry>& folders);

  // Existence ignores letter case, as the desktop file systems the program was
  // made for do: a name exists when it exists exactly or when an entry of its
  // folder has the same upper-case form. A link counts by what it points to.
  virtual int FileExists(std::u16string_view path, bool& exists) = 0;
  virtual int FolderExists(std::u16string_view path, bool& exists) = 0;

  // The full path of an existing file or folder as the system names it:
  // absolute, "." and ".." taken out, no trailing "/" (except the root "/").
  // A ".." leads where the system takes it: to the parent on disk of the
  // folder before it, links followed; a last part that is a link stays.
  // 53 when there is no such object of that kind.
  virtual int GetFullPath(std::u16string_view path, bool isFolder, std::u16string& full) = 0;

  // Last-modified date (mtime) and creation date (birth time). A file system
  // without birth times gives an error: the date cannot be read.
  virtual int GetDateLastModified(std::u16string_view path, bool isFolder, Date& date) = 0;
  virtual int GetDateCreated(std::u16string_view path, bool isFolder, Date& date) = 0;

  // Renames folder+oldName to folder+newName in place and never replaces an
  // existing object: 58 when the new name exists, also when another entry of
  // the folder has it in another letter case (as the existence tests see it),
  // 53 when the old one does not. A change of letter case only works on
  // case-insensitive file systems too.
  // A new name that is not one plain name ("/" or NUL in it, "." or "..") or
  // that would not read back from the disk as given is refused with 75.
  virtual int Rename(std::u16string_view folder, std::u16string_view oldName,
                     std::u16string_view newName) = 0;

  // As Rename, but without reading the folder for the new name in another
  // letter case: for a caller that keeps its own index of the folder's
  // entries and found none. One system call for an ordinary rename; an object
  // of exactly the new name is still never replaced (58).
  virtual int RenameWithoutCaseScan(std::u16string_view folder, std::u16string_view oldName,
                                    std::u16string_view newName) {
    return Rename(folder, oldName, newName);
  }

  // Work relative to an open folder (folder_handle.h). OpenFolder opens the
  // folder a path names (links followed); FolderIdentityOf gives its identity
  // without opening it. A file system without handles answers 75 to both.
  virtual int OpenFolder(std::u16string_view /*folder*/, std::unique_ptr<FolderHandle>& /*handle*/) {
    return kFsIoError;
  }
  virtual int FolderIdentityOf(std::u16string_view /*folder*/, FolderIdentity& /*id*/) {
    return kFsIoError;
  }
  // The names of the entries of a folder ("." and ".." left out), read
  // through the handle when there is one; `folder` is the folder's path.
  virtual int ListNames(FolderHandle* handle, std::u16string_view folder,
                        std::vector<std::u16string>& names);
  // Rename (scanForCase) or RenameWithoutCaseScan, relative to the handle
  // when there is one.
  virtual int RenameInFolder(FolderHandle* handle, std::u16string_view folder,
                             std::u16string_view oldName, std::u16string_view newName,
                             bool scanForCase);

  // Deletes a file, read-only or not; a file that a text file of another
  // writer holds (see below) stays (70).
  virtual int DeleteFile(std::u16string_view path) = 0;

  // Creates (or overwrites) / opens for appending (creating it when missing)
  // a text file. Only a regular file of exactly that name with no other name
  // is opened: a link, a FIFO, a device or a hard link is an error, and the
  // call never waits for one. The open file holds an exclusive lock that a
  // second open of the same file, in this or another process, does not get
  // (an error) until the first is closed; nothing is cut before the lock
  // is taken.
  virtual int CreateTextFile(std::u16string_view path, std::unique_ptr<TextFile>& file) = 0;
  virtual int AppendTextFile(std::u16string_view path, std::unique_ptr<TextFile>& file) = 0;

  // The drives: "/" first, then the mount points, each ending in "/".
  virtual std::vector<std::u16string> Drives() = 0;
};

// The drive of a path: the longest drive (mount point) that is a prefix of it;
// "/" for any absolute path, "" for a relative one.
std::u16string DriveOfPath(const std::vector<std::u16string>& drives, std::u16string_view path);

// The file system of this machine.
std::unique_ptr<FileSystem> CreateSystemFileSystem();

}  // namespace dovetam
