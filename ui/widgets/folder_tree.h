// The folder tree of page 1: a QTreeWidget whose column is as wide as its
// widest row, so that long and deep folder names scroll sideways instead of
// being cut. Bringing an item into sight (the current folder when the tree
// is filled or shown, the arrow keys) scrolls sideways to it as well, as the
// desktop's tree views do; Qt alone scrolls a column wider than the view
// back to its start, which leaves a folder a few levels deep out of sight.
#pragma once

#include <QTreeWidget>

namespace dovetam {

class FolderTree : public QTreeWidget {
 public:
  explicit FolderTree(QWidget* parent = nullptr);

  // QTreeWidget::scrollToItem does not come here: scroll with
  // scrollTo(indexFromItem(item)).
  void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
};

}  // namespace dovetam
