// A file system for tests that passes every call to another one (usually the
// real file system on a temporary folder) and makes chosen calls fail for
// chosen paths with a chosen error number, before they reach it. Every call
// is logged, from any thread. The folders it opens are the other one's,
// wrapped: their listings count and fail as ListFolder of the folder's path,
// their renames as Rename, their existence tests as FileExists and their
// dates as GetDateLastModified / GetDateCreated of the path of the name. A
// listing with dates is made of the plain calls (ListFolderByPaths), so that
// each date can fail on its own.
#pragma once

#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/file_system.h"

namespace dovetam::testing {

enum class FsCall {
  ListFolder,
  FileExists,
  FolderExists,
  GetFullPath,
  GetDateLastModified,
  GetDateCreated,
  Rename,  // path: folder + old name, or folder + new name
  DeleteFile,
  CreateTextFile,
  AppendTextFile,
  Write,  // TextFile::Write of a file opened with that path
  Close,  // TextFile::Close of a file opened with that path
  OpenFolder,
};

// The error of a fault that runs out of memory: the call throws
// std::bad_alloc, as one whose allocation fails, before it reaches the other
// file system (on whichever thread makes it).
inline constexpr int kFsOutOfMemory = -1;

struct FsFault {
  FsCall call;
  std::u16string path;  // "" = every path
  int error;            // or kFsOutOfMemory
  int skip = 0;    // this many matching calls pass first
  int times = -1;  // then this many fail; -1 = all that follow
};

class FaultyFileSystem : public FileSystem {
 public:
  explicit FaultyFileSystem(FileSystem& inner) : inner_(inner) {}

  // Makes `call` on `path` ("" = any path) fail with `error`: the first `skip`
  // matching calls pass, then `times` calls fail (-1 = every later one).
  void Fail(FsCall call, std::u16string path, int error, int times = -1, int skip = 0) {
    faults.push_back({call, std::move(path), error, skip, times});
  }
  void ClearFaults() { faults.clear(); }
  std::size_t CountCalls(FsCall call) const;
  std::size_t CountCalls(FsCall call, std::u16string_view path) const;

  std::vector<FsFault> faults;
  std::vector<std::pair<FsCall, std::u16string>> calls;  // every call, in order
  std::optional<std::vector<std::u16string>> drives;     // set: Drives() answers this
  std::optional<int> filesFree;                          // set: FilesFree() answers this

  // The error to inject for this call, 0 for none (counts the call); throws
  // std::bad_alloc for a kFsOutOfMemory fault.
  int Check(FsCall call, std::u16string_view path, std::u16string_view otherPath = {});

  int ListFolder(std::u16string_view folder, std::vector<FsEntry>& files,
                 std::vector<FsEntry>& folders) override;
  int ListFolderWithDates(std::u16string_view folder, bool modified, bool created,
                          std::vector<FsEntry>& files, std::vector<FsEntry>& folders,
                          FolderIdentity& identity) override;
  int FileExists(std::u16string_view path, bool& exists) override;
  int FolderExists(std::u16string_view path, bool& exists) override;
  int GetFullPath(std::u16string_view path, bool isFolder, std::u16string& full) override;
  int GetDateLastModified(std::u16string_view path, bool isFolder, Date& date) override;
  int GetDateCreated(std::u16string_view path, bool isFolder, Date& date) override;
  int Rename(std::u16string_view folder, std::u16string_view oldName,
             std::u16string_view newName) override;
  int OpenFolder(std::u16string_view folder, std::unique_ptr<FolderHandle>& handle) override;
  int DeleteFile(std::u16string_view path) override;
  int CreateTextFile(std::u16string_view path, std::unique_ptr<TextFile>& file) override;
  int AppendTextFile(std::u16string_view path, std::unique_ptr<TextFile>& file) override;
  std::vector<std::u16string> Drives() override;
  int FilesFree() override;

 private:
  int Wrap(int error, std::u16string_view path, std::unique_ptr<TextFile>& file);
  FileSystem& inner_;
  std::mutex mutex_;  // calls and faults, for calls from a second thread
};

}  // namespace dovetam::testing
