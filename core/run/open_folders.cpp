// The open folders of a run: see open_folders.h.
#include "core/run/open_folders.h"

#include <algorithm>

namespace dovetam {

OpenFolders::OpenFolders(FileSystem& fs) : fs_(fs) {
  // Half of what is free, so that whatever else the process opens meanwhile
  // (the window's own files) finds room too.
  const int64_t spare = (int64_t{fs.FilesFree()} - kRoomForTheRest) / 2;
  holdAtMost_ = static_cast<int>(std::clamp<int64_t>(spare, 0, kMaxOpenFolders));
}

OpenFolders::~OpenFolders() = default;

OpenFolders::Folder& OpenFolders::NewFolder() {
  folders_.push_back(std::make_unique<Folder>());
  return *folders_.back();
}

int OpenFolders::Open(const std::u16string& path, std::unique_ptr<FolderHandle>& handle) {
  int err;
  do {
    handle.reset();
    err = fs_.OpenFolder(path, handle);
  } while (err == kFsTooManyFiles && MakeRoom());
  return err;
}

void OpenFolders::Keep(Folder& f, std::unique_ptr<FolderHandle>& h) {
  if (holdAtMost_ == 0 || f.handle_) return;
  while (static_cast<int>(held_.size()) >= holdAtMost_) {
    const auto oldest = std::min_element(held_.begin(), held_.end(), [](Folder* a, Folder* b) {
      return a->lastUse_ < b->lastUse_;
    });
    Release(**oldest);
  }
  f.handle_ = std::move(h);
  f.lastUse_ = ++useClock_;
  held_.push_back(&f);
}

bool OpenFolders::Hold(Folder& f, const std::u16string& path) {
  if (f.handle_) return true;
  if (holdAtMost_ == 0 || !f.identity) return false;
  Call(f, path, [](FolderHandle&) { return int{kFsOk}; }, [] { return int{kFsOk}; });
  return f.handle_ != nullptr;
}

void OpenFolders::Lend(Folder& f, uint32_t ticket) {
  f.lent_ = true;
  f.ticket_ = ticket;
}

void OpenFolders::Release(Folder& f) {
  if (!f.handle_) return;
  if (f.lent_ && borrower_) borrower_->WaitReturned(f.ticket_);
  f.lent_ = false;
  f.handle_.reset();
  held_.erase(std::remove(held_.begin(), held_.end(), &f), held_.end());
}

bool OpenFolders::MakeRoom() {
  if (held_.empty()) return false;
  holdAtMost_ = std::min(holdAtMost_, static_cast<int>(held_.size())) / 2;
  while (!held_.empty()) Release(*held_.back());
  return true;
}

int OpenFolders::Reach(Folder& f, const std::u16string& path, FolderHandle*& handle,
                       std::unique_ptr<FolderHandle>& transient) {
  handle = f.handle_.get();
  if (handle) {
    f.lastUse_ = ++useClock_;
    return kFsOk;
  }
  if (!f.identity) return kFsOk;  // known by its path only
  transient.reset();
  if (const int err = fs_.OpenFolder(path, transient); err != kFsOk) return err;
  if (transient->Identity() != *f.identity) return kFsIoError;  // another folder now
  Keep(f, transient);
  handle = f.handle_ ? f.handle_.get() : transient.get();
  return kFsOk;
}

}  // namespace dovetam
