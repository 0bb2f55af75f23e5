// The target buttons of page 1 (add, redraw, remove the listed folder's
// targets, remove selected, remove all, the hidden undo button) and "決定＞",
// which opens the rule page with the order list.
#include <QFrame>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>

#include "ui/main_window/main_window.h"
#include "ui/widgets/list_view_model.h"
#include "core/objects/target_commands.h"

namespace dovetam {

void frmDovetem::cmdSelectAdd_Click() {
  if (listing.ListFailed != 0) return;
  if (ChangeState != 0) {
    if (!AskGuardQuestion(false)) return;
    SetTargetHeaders();
    ClearTargetItems();
  }
  if (!AddListingEntries(objects, listing, SelectedPositions(lvwSelect), svc.caps)) {
    RefreshTargetList();
    svc.boxes.Show(u"メモリ不足のため、\nいくつかのオブジェクトを格納できませんでした。",
                   MsgIcon::Critical);
    return;
  }
  RefreshTargetList();
}

void frmDovetem::cmdSelectRefresh_Click() {
  ClearSelectItems();
  FillSelectList();
}

void frmDovetem::cmdSelectDelete_Click() {
  const bool guarded = ChangeState != 0;
  if (!AskGuardQuestion(false)) return;
  RemoveTargetsAtPositions(objects, SelectedPositions(lvwSelect2));
  if (guarded) {
    SetTargetHeaders();
    ClearTargetItems();
  }
  RefreshTargetList();
}

void frmDovetem::cmdSelectDelete2_Click() {
  if (listing.ListFailed != 0) return;
  if (ChangeState != 0) {
    if (!AskGuardQuestion(false)) return;
    SetTargetHeaders();
    ClearTargetItems();
  }
  RemoveTargetsInFolder(objects, listing.ListFolder);
  RefreshTargetList();
}

void frmDovetem::cmdSelectClear_Click() {
  if (ChangeState != 0) {
    if (!AskGuardQuestion(true)) return;
    objects.ObjCount = 0;
    SetTargetHeaders();
    ClearTargetItems();
    RefreshTargetList();
  } else if (objects.ObjCount != 0) {
    if (svc.boxes.Show(u"すべての選択を解除しますか？", MsgIcon::Question, MsgButtons::YesNo,
                       MsgAnswer::No) != MsgAnswer::Yes) {
      return;
    }
    objects.ObjCount = 0;
    ClearTargetItems();
    RefreshTargetList();
  }
}

void frmDovetem::cmdSelectUndo_Click() {
  if (listing.ListFailed != 0) return;
  if (ChangeState != 0) {
    if (!AskGuardQuestion(false)) return;
    SetTargetHeaders();
    ClearTargetItems();
  }
  RemoveTargetsInFolder(objects, listing.ListFolder);
  ClearSelectItems();
  FillSelectList();
  RefreshTargetList();
}

void frmDovetem::cmdSelectNext_Click() {
  SetOrderHeaders();
  ClearOrderItems();
  FillOrderList();
  if (orderModel->RowCount() > 0) {
    lvwOrder->selectionModel()->setCurrentIndex(
        orderModel->index(0, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  }
  ShowRulePreview();
  OrderListPressed = 0;
  SetDefaultCancel(cmdRuleExecute[1], cmdRuleBack);
  fraDovetem2->setVisible(true);
  fraDovetem->setVisible(false);
  if (txtRule1 != nullptr) txtRule1->setFocus();
}

}  // namespace dovetam
