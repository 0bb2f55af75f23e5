// The folder tree: see folder_tree.h.
#include "ui/widgets/folder_tree.h"

#include <QHeaderView>
#include <QScrollBar>

namespace dovetam {

FolderTree::FolderTree(QWidget* parent) : QTreeWidget(parent) {
  setHeaderHidden(true);
  setColumnCount(1);
  header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  header()->setStretchLastSection(false);
}

void FolderTree::scrollTo(const QModelIndex& index, ScrollHint hint) {
  QTreeWidget::scrollTo(index, hint);
  executeDelayedItemsLayout();  // the column's width and the scroll range as shown
  const QRect item = visualRect(index);
  if (item.isEmpty()) return;
  // An item that starts in the left half of the view is in sight; another
  // is brought to the left edge, one step of indentation in, so that the
  // line to its parent stays in sight too.
  if (item.left() >= 0 && item.left() < viewport()->width() / 2) return;
  QScrollBar* bar = horizontalScrollBar();
  bar->setValue(bar->value() + item.left() - indentation());
}

}  // namespace dovetam
