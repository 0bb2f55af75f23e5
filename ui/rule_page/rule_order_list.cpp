// Page 2's order list (a TargetList: headers, fill, refresh and column click
// are shared with the target list of page 1; its fill also refreshes the
// preview), "決定＞" as this page does it, and the readers of its selection.
#include "core/work/work_state.h"
#include "ui/rule_page/rule_page.h"
#include "ui/widgets/list_view.h"
#include "ui/widgets/list_view_model.h"
#include "ui/widgets/target_list.h"

namespace dovetam {

void fraDovetem2::SetOrderHeaders() { orderList_->SetHeaders(); }
void fraDovetem2::ClearOrderItems() { orderList_->ClearItems(); }
void fraDovetem2::FillOrderList() { orderList_->Fill(); }
void fraDovetem2::RefreshOrderList() { orderList_->Refresh(); }
void fraDovetem2::RebuildOrderList() { orderList_->Rebuild(); }
void fraDovetem2::lvwOrder_ColumnClick(int column) { orderList_->ColumnClick(column); }

void fraDovetem2::Open() {
  SetOrderHeaders();
  ClearOrderItems();
  FillOrderList();
  lvwOrder->SelectFirstItem();
  ShowRulePreview();
  state_.OrderListPressed = 0;
}

int32_t fraDovetem2::FirstSelectedOrderPosition() const {
  const std::vector<int32_t> positions = lvwOrder->SelectedPositions();
  return positions.empty() ? 0 : positions.front();
}

int32_t fraDovetem2::OrderItemCount() const { return lvwOrder->Model().RowCount(); }

}  // namespace dovetam
