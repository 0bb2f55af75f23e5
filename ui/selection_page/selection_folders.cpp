// The drive list, the folder tree and the folder listing of page 1: moving
// between drives and folders, reading the listed folder, the drop onto the
// listing and the double-click in the target list that open a folder.
//
// The drive list holds "/" and the mount points; the drive of a path is the
// longest of them that starts it. The folder tree shows the folders from the
// root down to the selected folder and the subfolders of that folder.
#include <QComboBox>

#include <algorithm>
#include <vector>

#include "core/common/memory_short.h"
#include "core/objects/folder_listing.h"
#include "core/objects/name_collator.h"
#include "core/settings/event_lock.h"
#include "core/common/path_helpers.h"
#include "core/work/work_state.h"
#include "core/work/work_state_steps.h"
#include "ui/widgets/form_pointer.h"
#include "ui/selection_page/selection_page.h"
#include "ui/widgets/controls.h"
#include "ui/widgets/drop_paths.h"
#include "ui/widgets/folder_tree.h"
#include "ui/widgets/list_view.h"

namespace dovetam {

bool fraDovetem::SetFolderTreePath(const std::u16string& path) {
  if (path.empty() || path.front() != u'/') return false;
  // The tree shows the folder as the system names it ("." and "..", doubled
  // "/" taken out), as dropped and command-line paths are named: a start
  // folder typed as "/a/../a//b" must not list its entries under a second
  // spelling, which would make one object two targets.
  std::u16string full;
  if (state_.svc.fs.GetFullPath(path, true, full) != kFsOk) return false;
  ShowFolderInTree(NormalizePath(full, 2));
  return true;
}

void fraDovetem::ShowFolderInTree(const std::u16string& folder) {
  // A folder whose entries cannot be read, or not for want of memory, shows
  // no subfolders; the listing that the change event reads then fails with
  // its message.
  std::vector<std::u16string> names;
  if (!MemoryAllows([&] {
        std::vector<FsEntry> files;
        std::vector<FsEntry> folders;
        if (state_.svc.fs.ListFolder(folder, files, folders) != kFsOk) folders.clear();
        std::stable_sort(folders.begin(), folders.end(), [](const FsEntry& a, const FsEntry& b) {
          return CompareNames(a.name, b.name) < 0;
        });
        names.reserve(folders.size());
        for (const FsEntry& sub : folders) names.push_back(sub.name);
      })) {
    names.clear();
  }
  dirSelect->ShowFolder(folder, names);
  dirSelectPath_ = folder;
  dirSelect_Change();
}

std::u16string fraDovetem::DriveListDrive() const {
  return drvSelect->currentData().toString().toStdU16String();
}

bool fraDovetem::SetDriveListDrive(const std::u16string& drive) {
  const int i = drvSelect->findData(QtText(drive));
  if (i < 0) return false;
  drvSelect->setCurrentIndex(i);
  return true;
}

void fraDovetem::SelectStartFolder(const std::u16string& path) {
  EventLockGuard lock(state_.EventLock);
  const std::vector<std::u16string> drives = state_.svc.fs.Drives();
  drvSelect->clear();
  for (const std::u16string& d : drives) drvSelect->addItem(QtText(d), QtText(d));
  SetDriveListDrive(DriveOfPath(drives, path));
  if (!SetFolderTreePath(path) && dirSelectPath_.empty()) SetFolderTreePath(u"/");
}

void fraDovetem::drvSelect_Change() {
  if (state_.EventLock > 0) return;
  if (!SetFolderTreePath(NormalizePath(DriveListDrive(), 1))) {
    state_.svc.boxes.Show(u"指定されたドライブのフォルダ一覧を取得できませんでした。",
                          MsgIcon::Critical);
  }
}

void fraDovetem::dirSelect_Change() {
  if (state_.EventLock > 0) return;
  ClearSelectItems();
  LoadFolderListing();
}

void fraDovetem::LoadFolderListing() {
  pointer_.ShowHourglass();
  int dateFailures = 0;
  const ViewSettings& view = state_.settings.view;
  ListingRead result = ListingRead::OutOfMemory;
  if (!MemoryAllows([&] {
        result = ReadFolderListing(state_.svc.fs, state_.listing, NormalizePath(dirSelectPath_, 3),
                                   view.ViewModified, view.ViewCreated, state_.svc.caps,
                                   dateFailures);
        if (result == ListingRead::Ok) {
          SortSelectIndex(state_, 1, state_.listing.ListCount);
          FillSelectList();
        }
      })) {
    // The listing read, but not sorted or shown: failed as a read short of memory.
    state_.listing.ListCount = 0;
    state_.listing.ListFailed = 1;
    result = ListingRead::OutOfMemory;
  }
  if (result != ListingRead::Ok) {
    ClearSelectItems();
    pointer_.ShowNormalPointer();
    state_.svc.boxes.Show(
        result == ListingRead::OutOfMemory
            ? MemoryShortText(MemoryShort::ListingNotShown)
            : std::u16string_view(u"指定されたフォルダのファイル一覧を表示できませんでした。"),
        MsgIcon::Critical);
    return;
  }
  if (dateFailures != 0) {
    state_.svc.boxes.Show(DateFetchFailureMessage(dateFailures), MsgIcon::Critical);
  }
}

void fraDovetem::lvwSelect_OLEDragDrop(const QMimeData* data) {
  FileSystem& fs = state_.svc.fs;
  MessageBoxes& boxes = state_.svc.boxes;
  std::u16string folder;
  std::u16string drive;
  std::vector<std::u16string> paths;
  if (DroppedPaths(data, paths) && !paths.empty()) {
    const std::u16string& p = paths.front();
    bool exists = false;
    std::u16string full;
    if (fs.FileExists(p, exists) == kFsOk && exists) {
      if (fs.GetFullPath(p, false, full) == kFsOk) {
        const std::size_t s = full.rfind(u'/');
        if (s != std::u16string::npos) folder = full.substr(0, s + 1);
      }
    } else if (fs.FolderExists(p, exists) == kFsOk && exists) {
      if (fs.GetFullPath(p, true, full) == kFsOk) {
        const std::size_t s = full.rfind(u'/');
        folder = s != std::u16string::npos ? full.substr(0, s + 1) : full;
      }
    }
    if (!folder.empty()) drive = DriveOfPath(fs.Drives(), folder);
  }
  if (folder.empty() || drive.empty()) {
    boxes.Show(u"指定されたオブジェクトが正しくありません。", MsgIcon::Critical);
    return;
  }
  OpenFolder(folder);
}

void fraDovetem::OpenFolder(const std::u16string& folder) {
  MessageBoxes& boxes = state_.svc.boxes;
  bool set = false;
  {
    EventLockGuard lock(state_.EventLock);
    set = SetFolderTreePath(folder);
  }
  if (!set) {
    boxes.Show(u"指定されたパスをセットできませんでした。", MsgIcon::Critical);
    return;
  }
  ClearSelectItems();
  LoadFolderListing();
  // A folder outside every mount point keeps the drive list's drive.
  const std::u16string drive = DriveOfPath(state_.svc.fs.Drives(), folder);
  if (drive.empty()) return;
  {
    EventLockGuard lock(state_.EventLock);
    set = SetDriveListDrive(drive);
  }
  if (!set) boxes.Show(u"指定されたドライブをセットできませんでした。", MsgIcon::Critical);
}

void fraDovetem::lvwSelect2_DblClick() {
  const ObjectTable& objects = state_.objects;
  const ListingTable& listing = state_.listing;
  const std::vector<int32_t> selected = lvwSelect2->SelectedPositions();
  if (selected.empty() || selected.front() > objects.ObjCount) return;
  const std::u16string f = objects.ObjFolder[objects.OrderIndex[selected.front()]];
  if (f == NormalizePath(dirSelectPath_, 3) && listing.ListFailed == 0 && f == listing.ListFolder) {
    ClearSelectItems();
    FillSelectList();
    return;
  }
  OpenFolder(f);
}

}  // namespace dovetam
