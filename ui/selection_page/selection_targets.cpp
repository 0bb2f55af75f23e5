// The target buttons of page 1 (add, redraw, remove the listed folder's
// targets, remove selected, remove all, the hidden undo button) and "決定＞",
// which opens the rule page. What they do to the tables is the core's
// (target_commands.h); here are the guard, the lists and the messages.
#include "core/common/memory_short.h"
#include "core/objects/target_commands.h"
#include "core/work/work_state.h"
#include "core/work/work_state_steps.h"
#include "ui/selection_page/selection_page.h"
#include "ui/widgets/list_view.h"
#include "ui/widgets/memory_guard.h"
#include "ui/widgets/page_stack.h"

namespace dovetam {

bool fraDovetem::GuardTargetChange() {
  if (state_.ChangeState == 0) return true;
  if (!AskGuardQuestion(state_)) return false;
  SetTargetHeaders();
  ClearTargetItems();
  return true;
}

void fraDovetem::cmdSelectAdd_Click() {
  if (state_.listing.ListFailed != 0) return;
  if (!GuardTargetChange()) return;
  MemoryGuarded(state_.svc.boxes, pointer_, [this] {
    if (!AddListingEntries(state_.objects, state_.listing, lvwSelect->SelectedPositions(),
                           state_.svc.caps)) {
      RefreshTargetList();
      state_.svc.boxes.Show(MemoryShortText(MemoryShort::TargetsNotStored), MsgIcon::Critical);
      return;
    }
    RefreshTargetList();
  });
}

void fraDovetem::cmdSelectRefresh_Click() {
  ClearSelectItems();
  FillSelectList();
}

void fraDovetem::cmdSelectDelete_Click() {
  const bool guarded = state_.ChangeState != 0;
  if (!AskGuardQuestion(state_)) return;
  RemoveTargetsAtPositions(state_.objects, lvwSelect2->SelectedPositions());
  if (guarded) {
    SetTargetHeaders();
    ClearTargetItems();
  }
  RefreshTargetList();
}

bool fraDovetem::RemoveListedFolderTargets() {
  if (state_.listing.ListFailed != 0) return false;
  if (!GuardTargetChange()) return false;
  RemoveTargetsInFolder(state_.objects, state_.listing.ListFolder, state_.listing.ListFolderId);
  return true;
}

void fraDovetem::cmdSelectDelete2_Click() {
  if (RemoveListedFolderTargets()) RefreshTargetList();
}

void fraDovetem::cmdSelectClear_Click() {
  if (state_.ChangeState != 0) {
    if (!AskGuardQuestion(state_, true)) return;
    state_.objects.ObjCount = 0;
    SetTargetHeaders();
    ClearTargetItems();
    RefreshTargetList();
  } else if (state_.objects.ObjCount != 0) {
    if (state_.svc.boxes.Show(u"すべての選択を解除しますか？", MsgIcon::Question, MsgButtons::YesNo,
                              MsgAnswer::No) != MsgAnswer::Yes) {
      return;
    }
    state_.objects.ObjCount = 0;
    ClearTargetItems();
    RefreshTargetList();
  }
}

// Never shown: what "∧解除" does, and the listing redrawn.
void fraDovetem::cmdSelectUndo_Click() {
  if (!RemoveListedFolderTargets()) return;
  ClearSelectItems();
  FillSelectList();
  RefreshTargetList();
}

void fraDovetem::cmdSelectNext_Click() { pages_.OpenRulePage(); }

}  // namespace dovetam
