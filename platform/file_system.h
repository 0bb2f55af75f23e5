// The file system as the program sees it.
//
// Every call returns an error number, 0 on success, with the numbers the rest
// of the program tests: 53 the object does not exist, 58 an object of that
// name already exists, 67 the process (or the system) may open no more files
// now, 70 permission denied, 76 the path (its folder) was not found, 75 any
// other failure of the system. Paths are UTF-16 texts of any length; folders
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
  kFsTooManyFiles = 67,
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

// A text file being written. It takes bytes (the log and the report are
// UTF-8: utf8_codec.h encodes them). Every Write is handed to the system
// before it returns, so that after a crash the file holds every text written
// so far, and nothing else: each text is appended at the file's end as it
// stands then (a file that someone else appended to or cut short goes on
// from there, without a hole), and a text fails only when it does not fit
// (a full disk), with as much of it in the file as fitted.
class TextFile {
 public:
  virtual ~TextFile() = default;
  virtual int Write(std::string_view bytes) = 0;
  virtual int Close() = 0;
};

// Every call of a FileSystem is made on one thread at a time, unless whoever
// made it says otherwise (Services::renameThread): the system's file system
// takes renames and text-file writes from a second thread while the first
// goes on reading.
class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // The entries of a folder, hidden ones included, "." and ".." left out:
  // files (and links to anything but a folder) and folders (and links to
  // folders) apart, each in the order the system gives them.
  virtual int ListFolder(std::u16string_view folder, std::vector<FsEntry>& files,
                         std::vector<FsEntry>& folders) = 0;

  // ListFolder with the asked dates of each entry read on the way, each as
  // GetDateLastModified / GetDateCreated would give it, and the identity of
  // the folder that was read (folder_handle.h). ListFolderByPaths does this
  // with the other calls; the system's file system makes one status call per
  // entry, relative to the open folder.
  virtual int ListFolderWithDates(std::u16string_view folder, bool modified, bool created,
                                  std::vector<FsEntry>& files, std::vector<FsEntry>& folders,
                                  FolderIdentity& identity) = 0;

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
  // Memory running out fails it (std::bad_alloc) only before anything is
  // renamed, so that a caller never loses track of a rename made.
  virtual int Rename(std::u16string_view folder, std::u16string_view oldName,
                     std::u16string_view newName) = 0;

  // Opens the folder a path names (links followed), for work in it that
  // follows the folder itself (folder_handle.h). 76 when there is no folder
  // there.
  virtual int OpenFolder(std::u16string_view folder, std::unique_ptr<FolderHandle>& handle) = 0;

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

  // How many more files (folders held open among them) the process may open
  // now: its limit of open files less those it has open. A file system whose
  // open folders cost the process nothing answers kNoFileLimit.
  static constexpr int kNoFileLimit = 1 << 30;
  virtual int FilesFree() { return kNoFileLimit; }
};

// ListFolderWithDates made of ListFolder, a date call per entry and path,
// and OpenFolder for the identity (0, 0 when the folder cannot be opened),
// for file systems without a quicker way.
int ListFolderByPaths(FileSystem& fs, std::u16string_view folder, bool modified, bool created,
                      std::vector<FsEntry>& files, std::vector<FsEntry>& folders,
                      FolderIdentity& identity);

// The drive of a path: the longest drive (mount point) that is a prefix of it;
// "/" for any absolute path, "" for a relative one.
std::u16string DriveOfPath(const std::vector<std::u16string>& drives, std::u16string_view path);

// The file system of this machine.
std::unique_ptr<FileSystem> CreateSystemFileSystem();

}  // namespace dovetam
