// Failure injection around a FileSystem (see faulty_file_system.h).
#include "testing/faulty_file_system.h"

#include <new>

namespace dovetam::testing {

namespace {

// Passes writes and closes to the real file unless a fault says otherwise.
class FaultyTextFile : public TextFile {
 public:
  FaultyTextFile(FaultyFileSystem& fs, std::u16string path, std::unique_ptr<TextFile> inner)
      : fs_(fs), path_(std::move(path)), inner_(std::move(inner)) {}
  int Write(std::string_view bytes) override {
    if (int e = fs_.Check(FsCall::Write, path_)) return e;
    return inner_->Write(bytes);
  }
  int Close() override {
    if (int e = fs_.Check(FsCall::Close, path_)) {
      inner_->Close();
      return e;
    }
    return inner_->Close();
  }

 private:
  FaultyFileSystem& fs_;
  std::u16string path_;
  std::unique_ptr<TextFile> inner_;
};

// Passes listings, renames, existence tests and dates to the real folder
// unless a fault says otherwise; they count as ListFolder, Rename, FileExists
// and GetDate... of the folder's path (and the name).
class FaultyFolder : public FolderHandle {
 public:
  FaultyFolder(FaultyFileSystem& fs, std::u16string path, std::unique_ptr<FolderHandle> inner)
      : fs_(fs), path_(std::move(path)), inner_(std::move(inner)) {}
  FolderIdentity Identity() const override { return inner_->Identity(); }
  int Names(std::vector<std::u16string>& names) override {
    if (int e = fs_.Check(FsCall::ListFolder, path_)) return e;
    return inner_->Names(names);
  }
  int Rename(std::u16string_view oldName, std::u16string_view newName, bool checkCase) override {
    if (int e = fs_.Check(FsCall::Rename, path_ + std::u16string(oldName),
                          path_ + std::u16string(newName))) {
      return e;
    }
    return inner_->Rename(oldName, newName, checkCase);
  }
  int Exists(std::u16string_view name, bool& exists) override {
    if (int e = fs_.Check(FsCall::FileExists, path_ + std::u16string(name))) return e;
    return inner_->Exists(name, exists);
  }
  int ReadDate(std::u16string_view name, bool isFolder, bool created, Date& date) override {
    const FsCall call = created ? FsCall::GetDateCreated : FsCall::GetDateLastModified;
    if (int e = fs_.Check(call, path_ + std::u16string(name))) return e;
    return inner_->ReadDate(name, isFolder, created, date);
  }

 private:
  FaultyFileSystem& fs_;
  std::u16string path_;
  std::unique_ptr<FolderHandle> inner_;
};

}  // namespace

int FaultyFileSystem::Check(FsCall call, std::u16string_view path, std::u16string_view otherPath) {
  const std::lock_guard lock(mutex_);
  calls.push_back({call, std::u16string(path)});
  for (FsFault& f : faults) {
    if (f.call != call) continue;
    if (!f.path.empty() && f.path != path && (otherPath.empty() || f.path != otherPath)) continue;
    if (f.skip > 0) {
      --f.skip;
      continue;
    }
    if (f.times == 0) continue;
    if (f.times > 0) --f.times;
    if (f.error == kFsOutOfMemory) throw std::bad_alloc();
    return f.error;
  }
  return 0;
}

std::size_t FaultyFileSystem::CountCalls(FsCall call) const {
  std::size_t n = 0;
  for (const auto& c : calls) n += c.first == call;
  return n;
}

std::size_t FaultyFileSystem::CountCalls(FsCall call, std::u16string_view path) const {
  std::size_t n = 0;
  for (const auto& c : calls) n += c.first == call && c.second == path;
  return n;
}

int FaultyFileSystem::ListFolder(std::u16string_view folder, std::vector<FsEntry>& files,
                                 std::vector<FsEntry>& folders) {
  if (int e = Check(FsCall::ListFolder, folder)) return e;
  return inner_.ListFolder(folder, files, folders);
}

int FaultyFileSystem::ListFolderWithDates(std::u16string_view folder, bool modified, bool created,
                                          std::vector<FsEntry>& files,
                                          std::vector<FsEntry>& folders, FolderIdentity& identity) {
  return ListFolderByPaths(*this, folder, modified, created, files, folders, identity);
}

int FaultyFileSystem::FileExists(std::u16string_view path, bool& exists) {
  if (int e = Check(FsCall::FileExists, path)) return e;
  return inner_.FileExists(path, exists);
}

int FaultyFileSystem::FolderExists(std::u16string_view path, bool& exists) {
  if (int e = Check(FsCall::FolderExists, path)) return e;
  return inner_.FolderExists(path, exists);
}

int FaultyFileSystem::GetFullPath(std::u16string_view path, bool isFolder, std::u16string& full) {
  if (int e = Check(FsCall::GetFullPath, path)) return e;
  return inner_.GetFullPath(path, isFolder, full);
}

int FaultyFileSystem::GetDateLastModified(std::u16string_view path, bool isFolder, Date& date) {
  if (int e = Check(FsCall::GetDateLastModified, path)) return e;
  return inner_.GetDateLastModified(path, isFolder, date);
}

int FaultyFileSystem::GetDateCreated(std::u16string_view path, bool isFolder, Date& date) {
  if (int e = Check(FsCall::GetDateCreated, path)) return e;
  return inner_.GetDateCreated(path, isFolder, date);
}

int FaultyFileSystem::Rename(std::u16string_view folder, std::u16string_view oldName,
                             std::u16string_view newName) {
  const std::u16string from = std::u16string(folder) + std::u16string(oldName);
  const std::u16string to = std::u16string(folder) + std::u16string(newName);
  if (int e = Check(FsCall::Rename, from, to)) return e;
  return inner_.Rename(folder, oldName, newName);
}

int FaultyFileSystem::OpenFolder(std::u16string_view folder,
                                 std::unique_ptr<FolderHandle>& handle) {
  if (int e = Check(FsCall::OpenFolder, folder)) return e;
  std::unique_ptr<FolderHandle> inner;
  const int err = inner_.OpenFolder(folder, inner);
  if (err == kFsOk) handle = std::make_unique<FaultyFolder>(*this, std::u16string(folder), std::move(inner));
  return err;
}

int FaultyFileSystem::DeleteFile(std::u16string_view path) {
  if (int e = Check(FsCall::DeleteFile, path)) return e;
  return inner_.DeleteFile(path);
}

int FaultyFileSystem::Wrap(int error, std::u16string_view path, std::unique_ptr<TextFile>& file) {
  if (error == 0 && file) {
    file = std::make_unique<FaultyTextFile>(*this, std::u16string(path), std::move(file));
  }
  return error;
}

int FaultyFileSystem::CreateTextFile(std::u16string_view path, std::unique_ptr<TextFile>& file) {
  if (int e = Check(FsCall::CreateTextFile, path)) return e;
  return Wrap(inner_.CreateTextFile(path, file), path, file);
}

int FaultyFileSystem::AppendTextFile(std::u16string_view path, std::unique_ptr<TextFile>& file) {
  if (int e = Check(FsCall::AppendTextFile, path)) return e;
  return Wrap(inner_.AppendTextFile(path, file), path, file);
}

int FaultyFileSystem::FilesFree() { return filesFree ? *filesFree : inner_.FilesFree(); }

std::vector<std::u16string> FaultyFileSystem::Drives() {
  if (drives) return *drives;
  return inner_.Drives();
}

}  // namespace dovetam::testing
