// The fills and refreshes of the three list views, the target counts, and
// the readers of their selections.
//
// A fill rewrites the whole view from its table in display order (item i
// shows ListOrder(i) or OrderIndex(i)) with no item selected, except that the
// folder listing then selects its entries that are targets; a refresh first
// rebuilds OrderIndex by the target sort levels, unless a finished run froze
// the order (bit 1 of ChangeState).
#include <QItemSelection>
#include <QItemSelectionModel>
#include <QLabel>
#include <QTreeView>

#include <algorithm>
#include <unordered_map>

#include "ui/main_window/main_window.h"
#include "ui/widgets/list_view_model.h"
#include "core/objects/target_commands.h"

namespace dovetam {
namespace {

// Selects the given rows (0-based, ascending) as few ranges.
void SelectRows(QTreeView* view, ListViewModel* model, const std::vector<int>& rows) {
  if (rows.empty()) return;
  const int last = model->ColumnCount() - 1;
  QItemSelection selection;
  std::size_t k = 0;
  while (k < rows.size()) {
    std::size_t m = k;
    while (m + 1 < rows.size() && rows[m + 1] <= rows[m] + 1) ++m;
    selection.select(model->index(rows[k], 0), model->index(rows[m], last));
    k = m + 1;
  }
  view->selectionModel()->select(selection, QItemSelectionModel::Select);
}

}  // namespace

void frmDovetem::ClearSelectItems() { selectModel->Clear(); }
void frmDovetem::ClearTargetItems() { targetModel->Clear(); }
void frmDovetem::ClearOrderItems() { orderModel->Clear(); }

void frmDovetem::FillSelectList() {
  if (listing.ListFailed != 0) {
    YieldWithFormDisabled();
    ShowNormalPointer();
    return;
  }
  ShowHourglass();
  selectModel->Fill(listing.ListOrder, listing.ListCount, settings.view.ViewModified,
                    settings.view.ViewCreated);
  lvwSelect->selectionModel()->clearSelection();

  // The targets of the listed folder show selected (exact comparisons).
  bool any = false;
  for (int32_t t = 1; t <= objects.ObjCount && !any; ++t) {
    any = objects.ObjFolder[t] == listing.ListFolder;
  }
  if (any) {
    std::unordered_map<std::u16string, int32_t> firstEntry;
    for (int32_t j = 1; j <= listing.ListCount; ++j) firstEntry.emplace(listing.ListName[j], j);
    std::vector<int32_t> positionOf(static_cast<std::size_t>(listing.ListCount) + 1, 0);
    for (int32_t p = listing.ListCount; p >= 1; --p) {
      const int32_t e = listing.ListOrder[p];
      if (e >= 1 && e <= listing.ListCount) positionOf[e] = p;
    }
    std::vector<int> rows;
    for (int32_t t = 1; t <= objects.ObjCount; ++t) {
      if (objects.ObjFolder[t] != listing.ListFolder) continue;
      const auto it = firstEntry.find(objects.ObjName[t]);
      if (it == firstEntry.end() || positionOf[it->second] == 0) continue;
      rows.push_back(positionOf[it->second] - 1);
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    SelectRows(lvwSelect, selectModel, rows);
  }
  YieldWithFormDisabled();
  ShowNormalPointer();
}

void frmDovetem::FillTargetList() {
  ShowHourglass();
  targetModel->Fill(objects.OrderIndex, objects.ObjCount, settings.view.ViewModified,
                    settings.view.ViewCreated);
  lvwSelect2->selectionModel()->clearSelection();
  ShowSelectCount();
  YieldWithFormDisabled();
  ShowNormalPointer();
}

void frmDovetem::FillOrderList() {
  ShowHourglass();
  orderModel->Fill(objects.OrderIndex, objects.ObjCount, settings.view.ViewModified,
                   settings.view.ViewCreated);
  lvwOrder->selectionModel()->clearSelection();
  ShowOrderCount();
  UpdateRulePreview();
  YieldWithFormDisabled();
  ShowNormalPointer();
}

void frmDovetem::RefreshTargetList() {
  ShowHourglass();
  if ((ChangeState & 1) == 0) {
    ResetTargetOrder(objects);
    SortObjectIndex(1, objects.ObjCount);
  }
  FillTargetList();
}

void frmDovetem::RefreshOrderList() {
  ShowHourglass();
  if ((ChangeState & 1) == 0) {
    ResetTargetOrder(objects);
    SortObjectIndex(1, objects.ObjCount);
  }
  FillOrderList();
}

void frmDovetem::ShowSelectCount() { lblSelectCount->setText(QString::number(objects.ObjCount)); }
void frmDovetem::ShowOrderCount() { lblOrderCount->setText(QString::number(objects.ObjCount)); }

std::vector<int32_t> frmDovetem::SelectedPositions(const QTreeView* view) const {
  std::vector<int32_t> positions;
  for (const QModelIndex& index : view->selectionModel()->selectedRows()) {
    positions.push_back(index.row() + 1);
  }
  std::sort(positions.begin(), positions.end());
  return positions;
}

int32_t frmDovetem::FirstSelectedOrderPosition() const {
  if (lvwOrder == nullptr) return 0;
  const std::vector<int32_t> positions = SelectedPositions(lvwOrder);
  return positions.empty() ? 0 : positions.front();
}

int32_t frmDovetem::OrderItemCount() const {
  return orderModel == nullptr ? 0 : orderModel->RowCount();
}

}  // namespace dovetam
