// Column headers with their sort marks, the column clicks of the three
// lists, and the index sorts behind them.
#include <QHeaderView>
#include <algorithm>
#include <QTreeView>

#include "ui/main_window/main_window.h"
#include "ui/widgets/twips.h"
#include "core/objects/column_headers.h"
#include "core/objects/index_sort.h"
#include "ui/widgets/list_view_model.h"
#include "core/objects/target_commands.h"

namespace dovetam {

void frmDovetem::SortSelectIndex(int32_t first, int32_t last) {
  SortListingIndex(listing, ListingLevels(sort, settings.view.ViewMix), first, last);
}

void frmDovetem::SortObjectIndex(int32_t first, int32_t last) {
  SortTargetIndex(objects, TargetLevels(sort, settings.view.ViewMix), first, last);
}

void frmDovetem::SetListHeaders(QTreeView* view, ListViewModel* model,
                                const std::array<int16_t, 4>& keys,
                                const std::array<int16_t, 4>& dirs, bool parenthesize) {
  const int want = sort.SortKeyCount;
  if (model->ColumnCount() >= 3 && want < 3) model->RemoveLastColumn();
  if (model->ColumnCount() >= 2 && want < 2) model->RemoveLastColumn();
  if (model->ColumnCount() <= 1 && want > 1) model->AddColumn();
  if (model->ColumnCount() <= 2 && want > 2) model->AddColumn();

  const std::vector<ColumnTitle> titles =
      ColumnTitles(keys, dirs, settings.view.ViewModified, settings.view.ViewCreated,
                   parenthesize && ChangeState != 0);
  for (int c = 0; c < model->ColumnCount() && c < static_cast<int>(titles.size()); ++c) {
    model->SetColumnTitle(c, QString::fromStdU16String(titles[c].title));
    if (model->ColumnKey(c) != titles[c].key) {
      model->SetColumnKey(c, titles[c].key);
      // A date column gets its design width when it takes a new key and
      // keeps any width the user gives it afterwards.
      // (widened to the date text where the screen's font needs more room,
      // so that no date is cut).
      if (c > 0) {
        const int text = view->fontMetrics().horizontalAdvance(QStringLiteral("0000/00/00 00:00:00"));
        view->header()->resizeSection(c, std::max(TwipsToPixels(1800, view), text + 16));
      }
    }
  }
  view->setHeaderHidden(!settings.view.ViewHeader);
}

void frmDovetem::SetSelectHeaders() {
  SetListHeaders(lvwSelect, selectModel, sort.ListSortKey, sort.ListSortDir, false);
}

void frmDovetem::SetTargetHeaders() {
  SetListHeaders(lvwSelect2, targetModel, sort.ObjSortKey, sort.ObjSortDir, true);
}

void frmDovetem::SetOrderHeaders() {
  SetListHeaders(lvwOrder, orderModel, sort.ObjSortKey, sort.ObjSortDir, true);
}

void frmDovetem::lvwSelect_ColumnClick(int column) {
  ShowHourglass();
  ClickSortColumn(sort.ListSortKey, sort.ListSortDir,
                  ColumnKeyNumber(selectModel->ColumnKey(column)));
  ResetListingOrder(listing);
  SortSelectIndex(1, listing.ListCount);
  SetSelectHeaders();
  FillSelectList();
}

void frmDovetem::lvwSelect2_ColumnClick(int column) {
  const int c = ColumnKeyNumber(targetModel->ColumnKey(column));
  if (ChangeState != 0) {
    if (!AskGuardQuestion(false)) return;
    ClearTargetItems();
  }
  ShowHourglass();
  ClickSortColumn(sort.ObjSortKey, sort.ObjSortDir, c);
  SetTargetHeaders();
  RefreshTargetList();
}

void frmDovetem::lvwOrder_ColumnClick(int column) {
  const int c = ColumnKeyNumber(orderModel->ColumnKey(column));
  if (ChangeState != 0) {
    if (!AskGuardQuestion(false)) return;
    ClearOrderItems();
  }
  ShowHourglass();
  ClickSortColumn(sort.ObjSortKey, sort.ObjSortDir, c);
  SetOrderHeaders();
  RefreshOrderList();
}

}  // namespace dovetam
