// The system's file system as a run sees one that is not safe from two
// threads: every call goes straight through, but the run makes its renames
// on its own thread, as it does where no second thread can be had. The
// benchmark compares the run's time and processor time on both paths.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"

namespace dovetam::bench {

class OneThreadFileSystem : public FileSystem {
 public:
  explicit OneThreadFileSystem(FileSystem& inner) : inner_(inner) {}

  bool SafeFromTwoThreads() const override { return false; }

  int ListFolder(std::u16string_view folder, std::vector<FsEntry>& files,
                 std::vector<FsEntry>& folders) override {
    return inner_.ListFolder(folder, files, folders);
  }
  int ListFolderWithDates(std::u16string_view folder, bool modified, bool created,
                          std::vector<FsEntry>& files, std::vector<FsEntry>& folders) override {
    return inner_.ListFolderWithDates(folder, modified, created, files, folders);
  }
  int FileExists(std::u16string_view path, bool& exists) override {
    return inner_.FileExists(path, exists);
  }
  int FolderExists(std::u16string_view path, bool& exists) override {
    return inner_.FolderExists(path, exists);
  }
  int GetFullPath(std::u16string_view path, bool isFolder, std::u16string& full) override {
    return inner_.GetFullPath(path, isFolder, full);
  }
  int GetDateLastModified(std::u16string_view path, bool isFolder, Date& date) override {
    return inner_.GetDateLastModified(path, isFolder, date);
  }
  int GetDateCreated(std::u16string_view path, bool isFolder, Date& date) override {
    return inner_.GetDateCreated(path, isFolder, date);
  }
  int Rename(std::u16string_view folder, std::u16string_view oldName,
             std::u16string_view newName) override {
    return inner_.Rename(folder, oldName, newName);
  }
  int RenameWithoutCaseScan(std::u16string_view folder, std::u16string_view oldName,
                            std::u16string_view newName) override {
    return inner_.RenameWithoutCaseScan(folder, oldName, newName);
  }
  int OpenFolder(std::u16string_view folder, std::unique_ptr<FolderHandle>& handle) override {
    return inner_.OpenFolder(folder, handle);
  }
  int FolderIdentityOf(std::u16string_view folder, FolderIdentity& id) override {
    return inner_.FolderIdentityOf(folder, id);
  }
  int ListNames(FolderHandle* handle, std::u16string_view folder,
                std::vector<std::u16string>& names) override {
    return inner_.ListNames(handle, folder, names);
  }
  int RenameInFolder(FolderHandle* handle, std::u16string_view folder, std::u16string_view oldName,
                     std::u16string_view newName, bool scanForCase) override {
    return inner_.RenameInFolder(handle, folder, oldName, newName, scanForCase);
  }
  int DeleteFile(std::u16string_view path) override { return inner_.DeleteFile(path); }
  int CreateTextFile(std::u16string_view path, std::unique_ptr<TextFile>& file) override {
    return inner_.CreateTextFile(path, file);
  }
  int AppendTextFile(std::u16string_view path, std::unique_ptr<TextFile>& file) override {
    return inner_.AppendTextFile(path, file);
  }
  std::vector<std::u16string> Drives() override { return inner_.Drives(); }

 private:
  FileSystem& inner_;
};

}  // namespace dovetam::bench
