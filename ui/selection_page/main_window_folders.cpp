// The drive list, the folder tree and the folder listing of page 1: moving
// between drives and folders, reading the listed folder, the drop onto the
// listing and the double-click in the target list that open a folder.
//
// The drive list holds "/" and the mount points; the drive of a path is the
// longest of them that starts it. The folder tree shows the folders from the
// root down to the selected folder and the subfolders of that folder.
#include <QApplication>
#include <QComboBox>
#include <QStyle>
#include <QTreeView>
#include <QTreeWidget>

#include <algorithm>
#include <vector>

#include "core/settings/event_lock.h"
#include "ui/main_window/main_window.h"
#include "core/settings/work_state_steps.h"
#include "core/settings/path_helpers.h"
#include "ui/widgets/drop_paths.h"
#include "core/objects/folder_listing.h"
#include "core/objects/name_collator.h"

namespace dovetam {
namespace {

QString Q(const std::u16string& s) { return QString::fromStdU16String(s); }

QTreeWidgetItem* FolderItem(const QString& text, const std::u16string& path, const QIcon& icon) {
  auto* item = new QTreeWidgetItem(QStringList{text});
  item->setData(0, Qt::UserRole, Q(path));
  item->setIcon(0, icon);
  return item;
}

}  // namespace

bool frmDovetem::SetFolderTreePath(const std::u16string& path) {
  if (path.empty() || path.front() != u'/') return false;
  // The tree shows the folder as the system names it ("." and "..", doubled
  // "/" taken out), as dropped and command-line paths are named: a start
  // folder typed as "/a/../a//b" must not list its entries under a second
  // spelling, which would make one object two targets.
  std::u16string full;
  if (svc.fs.GetFullPath(path, true, full) != kFsOk) return false;
  ShowFolderInTree(NormalizePath(full, 2));
  return true;
}

void frmDovetem::ShowFolderInTree(const std::u16string& folder) {
  // A folder whose entries cannot be read shows no subfolders; the listing
  // that the change event reads then fails with its message.
  std::vector<FsEntry> files;
  std::vector<FsEntry> folders;
  if (svc.fs.ListFolder(folder, files, folders) != kFsOk) folders.clear();
  std::stable_sort(folders.begin(), folders.end(), [](const FsEntry& a, const FsEntry& b) {
    return CompareNames(a.name, b.name) < 0;
  });

  const QIcon open = QApplication::style()->standardIcon(QStyle::SP_DirOpenIcon);
  const QIcon closed = QApplication::style()->standardIcon(QStyle::SP_DirIcon);
  dirSelect->clear();
  QTreeWidgetItem* current = FolderItem(QStringLiteral("/"), u"/", open);
  dirSelect->addTopLevelItem(current);
  std::size_t start = 1;
  while (start < folder.size()) {
    const std::size_t slash = folder.find(u'/', start);
    QTreeWidgetItem* item = FolderItem(Q(folder.substr(start, slash - start)),
                                       folder.substr(0, slash + 1), open);
    current->addChild(item);
    current->setExpanded(true);
    current = item;
    start = slash + 1;
  }
  for (const FsEntry& sub : folders) {
    current->addChild(FolderItem(Q(sub.name), folder + sub.name + u"/", closed));
  }
  current->setExpanded(true);
  dirSelect->setCurrentItem(current);
  dirSelect->scrollTo(dirSelect->indexFromItem(current));
  dirSelectPath = folder;
  dirSelect_Change();
}

std::u16string frmDovetem::DriveListDrive() const {
  return drvSelect->currentData().toString().toStdU16String();
}

bool frmDovetem::SetDriveListDrive(const std::u16string& drive) {
  const int i = drvSelect->findData(Q(drive));
  if (i < 0) return false;
  drvSelect->setCurrentIndex(i);
  return true;
}

void frmDovetem::SelectStartFolder(const std::u16string& path) {
  EventLockGuard lock(EventLock);
  const std::vector<std::u16string> drives = svc.fs.Drives();
  drvSelect->clear();
  for (const std::u16string& d : drives) drvSelect->addItem(Q(d), Q(d));
  SetDriveListDrive(DriveOfPath(drives, path));
  // A start folder that cannot be shown is passed over; with nothing shown
  // yet the tree starts at the root.
  if (!SetFolderTreePath(path) && dirSelectPath.empty()) SetFolderTreePath(u"/");
}

void frmDovetem::drvSelect_Change() {
  if (EventLock > 0) return;
  if (!SetFolderTreePath(NormalizePath(DriveListDrive(), 1))) {
    svc.boxes.Show(u"指定されたドライブのフォルダ一覧を取得できませんでした。", MsgIcon::Critical);
  }
}

void frmDovetem::dirSelect_Change() {
  if (EventLock > 0) return;
  ClearSelectItems();
  LoadFolderListing();
}

void frmDovetem::LoadFolderListing() {
  ShowHourglass();
  int dateFailures = 0;
  const ListingRead result =
      ReadFolderListing(svc.fs, listing, NormalizePath(dirSelectPath, 3), settings.view.ViewModified,
                        settings.view.ViewCreated, svc.caps, dateFailures);
  if (result != ListingRead::Ok) {
    ClearSelectItems();
    ShowNormalPointer();
    svc.boxes.Show(result == ListingRead::OutOfMemory
                       ? u"メモリ不足のため、\n指定されたフォルダのファイル一覧を表示できませんでした。"
                       : u"指定されたフォルダのファイル一覧を表示できませんでした。",
                   MsgIcon::Critical);
    return;
  }
  SortSelectIndex(1, listing.ListCount);
  FillSelectList();
  if (dateFailures != 0) svc.boxes.Show(DateFetchFailureMessage(dateFailures), MsgIcon::Critical);
}

void frmDovetem::lvwSelect_OLEDragDrop(const QMimeData* data) {
  std::u16string folder;
  std::u16string drive;
  std::vector<std::u16string> paths;
  if (DroppedPaths(data, paths) && !paths.empty()) {
    const std::u16string& p = paths.front();
    bool exists = false;
    std::u16string full;
    if (svc.fs.FileExists(p, exists) == kFsOk && exists) {
      if (svc.fs.GetFullPath(p, false, full) == kFsOk) {
        const std::size_t s = full.rfind(u'/');
        if (s != std::u16string::npos) folder = full.substr(0, s + 1);
      }
    } else if (svc.fs.FolderExists(p, exists) == kFsOk && exists) {
      if (svc.fs.GetFullPath(p, true, full) == kFsOk) {
        const std::size_t s = full.rfind(u'/');
        folder = s != std::u16string::npos ? full.substr(0, s + 1) : full;
      }
    }
    if (!folder.empty()) drive = DriveOfPath(svc.fs.Drives(), folder);
  }
  if (folder.empty() || drive.empty()) {
    svc.boxes.Show(u"指定されたオブジェクトが正しくありません。", MsgIcon::Critical);
    return;
  }
  bool set = false;
  {
    EventLockGuard lock(EventLock);
    set = SetFolderTreePath(folder);
  }
  if (!set) {
    svc.boxes.Show(u"指定されたパスをセットできませんでした。", MsgIcon::Critical);
    return;
  }
  ClearSelectItems();
  LoadFolderListing();
  {
    EventLockGuard lock(EventLock);
    set = SetDriveListDrive(drive);
  }
  if (!set) svc.boxes.Show(u"指定されたドライブをセットできませんでした。", MsgIcon::Critical);
}

void frmDovetem::lvwSelect2_DblClick() {
  const std::vector<int32_t> selected = SelectedPositions(lvwSelect2);
  if (selected.empty() || selected.front() > objects.ObjCount) return;
  const std::u16string f = objects.ObjFolder[objects.OrderIndex[selected.front()]];
  if (f == NormalizePath(dirSelectPath, 3) && listing.ListFailed == 0 && f == listing.ListFolder) {
    ClearSelectItems();
    FillSelectList();
    return;
  }
  bool set = false;
  {
    EventLockGuard lock(EventLock);
    set = SetFolderTreePath(f);
  }
  if (!set) {
    svc.boxes.Show(u"指定されたパスをセットできませんでした。", MsgIcon::Critical);
    return;
  }
  ClearSelectItems();
  LoadFolderListing();
  const std::u16string drive = DriveOfPath(svc.fs.Drives(), f);
  if (drive.empty()) return;
  {
    EventLockGuard lock(EventLock);
    set = SetDriveListDrive(drive);
  }
  if (!set) svc.boxes.Show(u"指定されたドライブをセットできませんでした。", MsgIcon::Critical);
}

}  // namespace dovetam
