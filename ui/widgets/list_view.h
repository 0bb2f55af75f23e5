// A list view of page 1 or 2 (folder listing, target list, order list): a
// QTreeView in report style over its ListViewModel, with several rows
// selectable at once. Anything dragged onto it is accepted, so that a drop
// without a file list can be refused in words; the dropped data goes to the
// page through `dropped`. A list cleared or refilled from scratch (the
// model's reset) shows its top, as the desktop's list views do.
//
// Item i (1-based display position) is row i - 1 of the model.
#pragma once

#include <QMimeData>
#include <QTreeView>
#include <cstdint>
#include <string>
#include <vector>

#include "core/objects/column_headers.h"

class QMimeData;

namespace dovetam {

class ListViewModel;

class ListView : public QTreeView {
  Q_OBJECT

 public:
  // `nameWidth`: the design width of the name column, twips.
  ListView(ListViewModel* model, int nameWidth, QWidget* parent);

  ListViewModel& Model() const { return *model_; }

  // The columns: `count` of them, titled as `titles` (name, then the shown
  // date columns); the header row shown or hidden. A date column gets its
  // design width when it takes a new key and keeps any width the user gives
  // it afterwards.
  void SetHeaders(int count, const std::vector<ColumnTitle>& titles, bool shown);
  // Rows for display positions 1..count of `order`, none selected.
  void Fill(const std::vector<int32_t>& order, int32_t count, bool viewModified, bool viewCreated);
  // Removes every item.
  void ClearItems();

  // Display positions (1-based, ascending) of the selected items.
  std::vector<int32_t> SelectedPositions() const;
  // Selects the items at the given rows (0-based, ascending), as few ranges.
  void SelectRows(const std::vector<int>& rows);
  // Makes the first item the current and only selected one (when there is one).
  void SelectFirstItem();

  void reset() override;

 signals:
  void dropped(const QMimeData* data);

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  ListViewModel* model_;
};

}  // namespace dovetam
