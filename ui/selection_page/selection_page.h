// fraDovetem: page 1 of the main window, where the targets are picked: the
// drive list and the folder tree, the folder listing (lvwSelect), the target
// list (lvwSelect2) with the target count, and the target buttons. The
// controls are the page's own; the main window puts its shared command
// buttons on the page and hands them to SetTabOrder.
//
// The page works on the work state it is given (the tables, the settings,
// ChangeState, EventLock) and asks the main window for the rule page
// (PageStack). Its public members are what the main window calls; the
// handlers are its own. They are defined by concern:
//   selection_page.cpp     the controls at their design places, Tab, wiring
//   selection_folders.cpp  drive list, folder tree, reading the listing, a
//                          drop on the listing, a double-click on a target
//   selection_lists.cpp    the headers, fills and refreshes of both lists
//                          and their column clicks (the target list is a
//                          TargetList, as the order list of page 2 is)
//   selection_targets.cpp  the target buttons and "決定＞"
//   selection_adding.cpp   a drop on the target list, the command line
#pragma once

#include <QFrame>
#include <memory>
#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QMimeData;
class QPushButton;

namespace dovetam {

class FolderTree;
class FormPointer;
class ListView;
class PageStack;
class TargetList;
struct WorkState;

class fraDovetem : public QFrame {
  Q_OBJECT

 public:
  fraDovetem(WorkState& state, FormPointer& pointer, PageStack& pages, QWidget* parent);
  ~fraDovetem() override;

  // Tab goes through the page's controls as designed, then through the main
  // window's command buttons of the page in the order given.
  void SetTabOrder(const std::vector<QWidget*>& commandButtons);
  // The page's Default button, "決定＞".
  QPushButton* DefaultButton() const;
  void FocusDriveList();
  void FocusListing();

  // The drive list and the folder tree on the start folder, under EventLock
  // (no listing is read). A folder that cannot be shown is passed over; with
  // nothing shown yet the tree starts at the root.
  void SelectStartFolder(const std::u16string& path);
  // The program's command-line paths (one path each) become targets; then
  // both lists are redrawn and what was not added is reported once.
  void AddObjectsFromArguments(const std::vector<std::u16string>& paths);
  // "＜戻る", on this page: the listing redrawn (read again when ListStale),
  // the target list redrawn without re-sorting, the press flags cleared.
  void Reopen();
  // SetSelectHeaders, ClearSelectItems, LoadFolderListing.
  void ReloadListing();
  // SetTargetHeaders, ClearTargetItems, RefreshTargetList.
  void RebuildTargetList();
  // The view command on this page, once the new view settings are in
  // effect: the listing under new headers, back in entry order, sorted and
  // redrawn (not read again); then RebuildTargetList.
  void RebuildListsForView();

 private:
  void CreateControls();
  void ConnectHandlers();

  // The headers, fills and refreshes of the two lists. A fill rewrites the
  // whole list from its table in display order; the listing's then selects
  // its entries that are targets; a refresh re-sorts the targets first,
  // unless a finished run froze their order.
  void SetSelectHeaders();
  void ClearSelectItems();
  void LoadFolderListing();  // reads the folder tree's folder, sorts, fills
  void FillSelectList();
  void SetTargetHeaders();
  void ClearTargetItems();
  void RefreshTargetList();
  void FillTargetList();

  // The folder tree's path (a folder ending in "/"); writing it rebuilds the
  // tree and raises dirSelect_Change. False (nothing changed) when there is
  // no such folder; a folder that cannot be listed is still shown.
  bool SetFolderTreePath(const std::u16string& path);
  // The drive list's drive; writing it raises drvSelect_Change. False when
  // the drive is not in the list.
  std::u16string DriveListDrive() const;
  bool SetDriveListDrive(const std::u16string& drive);
  // Moves the tree to a folder named as the system names it, with the
  // subfolders that can be read, and raises dirSelect_Change.
  void ShowFolderInTree(const std::u16string& folder);
  // Opens `folder` for a drop or a double-click: the folder tree and the
  // drive list set under EventLock, the folder read; a refused folder or
  // drive is reported.
  void OpenFolder(const std::u16string& folder);
  // The guard of a target command after a finished run: false on No; Yes
  // also gives the target list new headers and clears it.
  bool GuardTargetChange();
  // "∧解除" and the hidden button: the listed folder's targets removed
  // (nothing while the listing failed or the guard is answered No).
  bool RemoveListedFolderTargets();

  void drvSelect_Change();
  void dirSelect_Change();
  void lvwSelect_OLEDragDrop(const QMimeData* data);
  void lvwSelect_ColumnClick(int column);
  void lvwSelect2_OLEDragDrop(const QMimeData* data);
  void lvwSelect2_DblClick();
  void lvwSelect2_ColumnClick(int column);
  void cmdSelectAdd_Click();
  void cmdSelectRefresh_Click();
  void cmdSelectDelete2_Click();
  void cmdSelectDelete_Click();
  void cmdSelectClear_Click();
  void cmdSelectNext_Click();
  void cmdSelectUndo_Click();

  WorkState& state_;
  FormPointer& pointer_;
  PageStack& pages_;
  std::u16string dirSelectPath_;  // the folder tree's path

  QComboBox* drvSelect = nullptr;
  FolderTree* dirSelect = nullptr;
  ListView* lvwSelect = nullptr;
  ListView* lvwSelect2 = nullptr;
  QPushButton* cmdSelectAdd = nullptr;
  QPushButton* cmdSelectRefresh = nullptr;
  QPushButton* cmdSelectDelete2 = nullptr;
  QPushButton* cmdSelectDelete = nullptr;
  QPushButton* cmdSelectClear = nullptr;
  QPushButton* cmdSelectNext = nullptr;
  QPushButton* cmdSelectUndo = nullptr;
  QLabel* lblSelectCount = nullptr;
  std::unique_ptr<TargetList> targetList_;  // lvwSelect2 with lblSelectCount
};

}  // namespace dovetam
