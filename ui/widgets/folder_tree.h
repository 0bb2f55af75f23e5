// The folder tree of page 1: a QTreeWidget that shows the folders from the
// root down to one folder and the subfolders of that folder, each item
// carrying the folder's path (ending in "/") as Qt::UserRole. Its column is
// as wide as its widest row, so that long and deep folder names scroll
// sideways instead of being cut. Bringing an item into sight (the current
// folder when the tree is filled or shown, the arrow keys) scrolls sideways
// to it as well, as the desktop's tree views do; Qt alone scrolls a column
// wider than the view back to its start, which leaves a folder a few levels
// deep out of sight. Return opens the current item, as a double-click does
// (itemActivated), and does not reach the page's Default button.
#pragma once

#include <QTreeWidget>
#include <string>
#include <vector>

namespace dovetam {

class FolderTree : public QTreeWidget {
 public:
  explicit FolderTree(QWidget* parent = nullptr);

  // Shows `folder` (an absolute path ending in "/") as the current item
  // under its parents, with `subfolders` (names, in the order given) below.
  void ShowFolder(const std::u16string& folder, const std::vector<std::u16string>& subfolders);

  // QTreeWidget::scrollToItem does not come here: scroll with
  // scrollTo(indexFromItem(item)).
  void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace dovetam
