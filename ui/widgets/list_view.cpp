// List view with drops (see list_view.h).
#include "ui/widgets/list_view.h"

#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QItemSelection>
#include <QItemSelectionModel>
#include <QScrollBar>
#include <algorithm>

#include "ui/widgets/controls.h"
#include "ui/widgets/list_view_model.h"

namespace dovetam {

ListView::ListView(ListViewModel* model, int nameWidth, QWidget* parent)
    : QTreeView(parent), model_(model) {
  setRootIsDecorated(false);
  setItemsExpandable(false);
  setUniformRowHeights(true);
  setAllColumnsShowFocus(true);
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setAcceptDrops(true);
  viewport()->setAcceptDrops(true);
  setDragDropMode(QAbstractItemView::DropOnly);
  header()->setSectionsMovable(false);
  header()->setSectionsClickable(true);
  header()->setStretchLastSection(false);
  setModel(model);
  header()->resizeSection(0, TwipsToPixels(nameWidth, this));
}

void ListView::SetHeaders(int count, const std::vector<ColumnTitle>& titles, bool shown) {
  ListViewModel& model = *model_;
  if (model.ColumnCount() >= 3 && count < 3) model.RemoveLastColumn();
  if (model.ColumnCount() >= 2 && count < 2) model.RemoveLastColumn();
  if (model.ColumnCount() <= 1 && count > 1) model.AddColumn();
  if (model.ColumnCount() <= 2 && count > 2) model.AddColumn();

  for (int c = 0; c < model.ColumnCount() && c < static_cast<int>(titles.size()); ++c) {
    model.SetColumnTitle(c, QtText(titles[c].title));
    if (model.ColumnKey(c) != titles[c].key) {
      model.SetColumnKey(c, titles[c].key);
      // The design width, widened to the date text where the screen's font
      // needs more room, so that no date is cut.
      if (c > 0) {
        const int text = fontMetrics().horizontalAdvance(QStringLiteral("0000/00/00 00:00:00"));
        header()->resizeSection(c, std::max(TwipsToPixels(1800, this), text + 16));
      }
    }
  }
  setHeaderHidden(!shown);
}

void ListView::Fill(const std::vector<int32_t>& order, int32_t count, bool viewModified,
                    bool viewCreated) {
  model_->Fill(order, count, viewModified, viewCreated);
  selectionModel()->clearSelection();
}

void ListView::ClearItems() { model_->Clear(); }

std::vector<int32_t> ListView::SelectedPositions() const {
  std::vector<int32_t> positions;
  for (const QModelIndex& index : selectionModel()->selectedRows()) {
    positions.push_back(index.row() + 1);
  }
  std::sort(positions.begin(), positions.end());
  return positions;
}

void ListView::SelectRows(const std::vector<int>& rows) {
  if (rows.empty()) return;
  const int last = model_->ColumnCount() - 1;
  QItemSelection selection;
  std::size_t k = 0;
  while (k < rows.size()) {
    std::size_t m = k;
    while (m + 1 < rows.size() && rows[m + 1] <= rows[m] + 1) ++m;
    selection.select(model_->index(rows[k], 0), model_->index(rows[m], last));
    k = m + 1;
  }
  selectionModel()->select(selection, QItemSelectionModel::Select);
}

void ListView::SelectFirstItem() {
  if (model_->RowCount() == 0) return;
  selectionModel()->setCurrentIndex(
      model_->index(0, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void ListView::reset() {
  QTreeView::reset();
  verticalScrollBar()->setValue(0);
}

void ListView::dragEnterEvent(QDragEnterEvent* event) { event->acceptProposedAction(); }
void ListView::dragMoveEvent(QDragMoveEvent* event) { event->acceptProposedAction(); }

void ListView::dropEvent(QDropEvent* event) {
  event->acceptProposedAction();
  emit dropped(event->mimeData());
}

}  // namespace dovetam
