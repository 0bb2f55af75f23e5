// The target list and the order list (see target_list.h).
#include "ui/widgets/target_list.h"

#include <QLabel>

#include "core/objects/column_headers.h"
#include "core/work/work_state.h"
#include "core/work/work_state_steps.h"
#include "ui/widgets/form_pointer.h"
#include "ui/widgets/list_view.h"
#include "ui/widgets/list_view_model.h"

namespace dovetam {

TargetList::TargetList(WorkState& state, FormPointer& pointer, ListView* view, QLabel* count,
                       std::function<void()> afterCount)
    : state_(state),
      pointer_(pointer),
      view_(view),
      count_(count),
      afterCount_(std::move(afterCount)) {}

void TargetList::SetHeaders() {
  view_->SetHeaders(state_.sort.SortKeyCount, TargetColumnTitles(state_),
                    state_.settings.view.ViewHeader);
}

void TargetList::ClearItems() { view_->ClearItems(); }

void TargetList::Fill() {
  pointer_.ShowHourglass();
  const ViewSettings& view = state_.settings.view;
  view_->Fill(state_.objects.OrderIndex, state_.objects.ObjCount, view.ViewModified,
              view.ViewCreated);
  ShowCount();
  if (afterCount_) afterCount_();
  pointer_.YieldWithFormDisabled();
  pointer_.ShowNormalPointer();
}

void TargetList::Refresh() {
  pointer_.ShowHourglass();
  SortTargetsUnlessFrozen(state_);
  Fill();
}

void TargetList::Rebuild() {
  SetHeaders();
  ClearItems();
  Refresh();
}

void TargetList::ShowCount() { count_->setText(QString::number(state_.objects.ObjCount)); }

void TargetList::ColumnClick(int column) {
  const int c = ColumnKeyNumber(view_->Model().ColumnKey(column));
  if (state_.ChangeState != 0) {
    if (!AskGuardQuestion(state_)) return;
    ClearItems();
  }
  pointer_.ShowHourglass();
  ClickSortColumn(state_.sort.ObjSortKey, state_.sort.ObjSortDir, c);
  SetHeaders();
  Refresh();
}

}  // namespace dovetam
