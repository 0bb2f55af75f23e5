// The folders a rename run, re-run or restore works in, held open within the
// process's limit of open files, and lent to the rename thread.
//
// Everything a run does on disk (listing, existence tests, dates, renames)
// goes through Call: through the folder's open handle, so that the work
// follows the folder itself whatever becomes of its path and whatever the
// length of the path, or by the path text for a folder that could not be
// opened when it was first met (nothing else is known of it then).
//
// Holding. Open folders cost descriptors. At most half of the files the
// process may still open when the run starts are held, less a few for the
// rest of the run (kRoomForTheRest), and never more than kMaxOpenFolders;
// with none to spare none is held and each call opens its folder for itself.
// Past that, the folder used longest ago is closed (once the rename thread is
// done with it, Borrower) and opened again by its path when it is needed,
// and then used only while it is still the folder first opened (its
// identity): another folder put in its place is refused (kFsIoError).
//
// Room. When a call fails for want of descriptors all the same (something
// else took them), every folder held is closed, at most half as many are
// held from then on, and the call is made again: this is the one place a run
// retries for want of descriptors. So a run needs three descriptors beyond
// those open when it starts: the log, one folder and its listing (or the two
// of a walk along a long path). A call that fails for want of them with no
// folder held fails with kFsTooManyFiles.
//
// Tested by tests/core/run/open_folders_test.cpp (the descriptors held,
// counted, and the retry after each kind of call) and, under real limits of
// open files, by open_file_limit_test.cpp.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/folder_handle.h"

namespace dovetam {

class OpenFolders {
 public:
  // Open folders held at most, whatever the limit of open files.
  static constexpr int kMaxOpenFolders = 256;
  // Files the rest of a run opens while its folders are held: a listing and
  // the letter-case check of a rename, a folder opened before the one it
  // replaces is closed, the two of a walk along a long path, and the report
  // once the run is over.
  static constexpr int kRoomForTheRest = 8;

  // The rename thread, which is lent the open folder of each rename it makes
  // (Lend): its jobs are numbered by tickets counted up.
  class Borrower {
   public:
    virtual ~Borrower() = default;
    // Returns once the job of `ticket` is done with its folder (done, or
    // never to be started).
    virtual void WaitReturned(uint32_t ticket) = 0;
  };

  // One folder of the run (NewFolder): what it is on disk, and its handle
  // while held.
  class Folder {
   public:
    // Its identity when it could be opened; none: known by its path only.
    std::optional<FolderIdentity> identity;
    // Whether its handle is held open now.
    bool Held() const { return handle_ != nullptr; }
    // The held handle (nullptr when not held), for a rename lent to the
    // rename thread.
    FolderHandle* handle() const { return handle_.get(); }

   private:
    friend class OpenFolders;
    std::unique_ptr<FolderHandle> handle_;
    uint64_t lastUse_ = 0;
    bool lent_ = false;  // the handle went with the job of ticket_
    uint32_t ticket_ = 0;
  };

  // Holds at most what fs says is free now (see above).
  explicit OpenFolders(FileSystem& fs);
  ~OpenFolders();
  OpenFolders(const OpenFolders&) = delete;
  OpenFolders& operator=(const OpenFolders&) = delete;

  // A folder of the run, not open yet; it lives as long as this.
  Folder& NewFolder();

  void SetBorrower(Borrower* borrower) { borrower_ = borrower; }
  // How many folders are held open at most now.
  int HoldsAtMost() const { return holdAtMost_; }

  // Opens the folder at `path` (room made as above); the handle is the
  // caller's, to learn what the folder is or to Keep it.
  int Open(const std::u16string& path, std::unique_ptr<FolderHandle>& handle);
  // f's handle becomes h, held when there is room (closing the folder used
  // longest ago when as many are held as may be); else h is closed.
  void Keep(Folder& f, std::unique_ptr<FolderHandle>& h);
  // f held open again when it was closed to make room and there is room for
  // it now (it is still the folder first opened): whether it is held.
  bool Hold(Folder& f, const std::u16string& path);
  // f's handle goes with the rename thread's job `ticket`: it is closed only
  // once the thread is done with it.
  void Lend(Folder& f, uint32_t ticket);

  // The call of the run in folder f, whose path is now `path`:
  // byHandle(FolderHandle&) through f's open folder (held, or opened again
  // for this call while it is still f), byPath() for a folder known by its
  // path only. The error number of the call, or of reaching the folder; made
  // again after room was made when it fails for want of descriptors.
  template <typename ByHandle, typename ByPath>
  int Call(Folder& f, const std::u16string& path, ByHandle&& byHandle, ByPath&& byPath) {
    int err = CallOnce(f, path, byHandle, byPath);
    while (err == kFsTooManyFiles && MakeRoom()) err = CallOnce(f, path, byHandle, byPath);
    return err;
  }

 private:
  template <typename ByHandle, typename ByPath>
  int CallOnce(Folder& f, const std::u16string& path, ByHandle& byHandle, ByPath& byPath) {
    std::unique_ptr<FolderHandle> transient;
    FolderHandle* handle = nullptr;
    if (const int err = Reach(f, path, handle, transient); err != kFsOk) return err;
    return handle ? byHandle(*handle) : byPath();
  }
  // The open folder to work in: f's own handle, or the folder at `path`
  // opened again when it is still f, held (Keep) or else kept in `transient`
  // for the caller's call; nullptr with no error: reached by its path.
  int Reach(Folder& f, const std::u16string& path, FolderHandle*& handle,
            std::unique_ptr<FolderHandle>& transient);
  // Closes f's handle once the rename thread is done with it.
  void Release(Folder& f);
  // After a call failed for want of descriptors: closes every folder held
  // and holds at most half as many from now on. False when none was held.
  bool MakeRoom();

  FileSystem& fs_;
  std::vector<std::unique_ptr<Folder>> folders_;
  int holdAtMost_ = 0;
  std::vector<Folder*> held_;  // the folders with a handle
  uint64_t useClock_ = 0;
  Borrower* borrower_ = nullptr;
};

}  // namespace dovetam
