// The folder tree: see folder_tree.h.
#include "ui/widgets/folder_tree.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollBar>
#include <QStyle>

#include "ui/widgets/controls.h"

namespace dovetam {

namespace {
QTreeWidgetItem* FolderItem(const QString& text, const std::u16string& path, const QIcon& icon) {
  auto* item = new QTreeWidgetItem(QStringList{text});
  item->setData(0, Qt::UserRole, QtText(path));
  item->setIcon(0, icon);
  return item;
}
}  // namespace

FolderTree::FolderTree(QWidget* parent) : QTreeWidget(parent) {
  setHeaderHidden(true);
  setColumnCount(1);
  header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  header()->setStretchLastSection(false);
}

void FolderTree::ShowFolder(const std::u16string& folder,
                            const std::vector<std::u16string>& subfolders) {
  const QIcon open = QApplication::style()->standardIcon(QStyle::SP_DirOpenIcon);
  const QIcon closed = QApplication::style()->standardIcon(QStyle::SP_DirIcon);
  clear();
  QTreeWidgetItem* current = FolderItem(QStringLiteral("/"), u"/", open);
  addTopLevelItem(current);
  std::size_t start = 1;
  while (start < folder.size()) {
    const std::size_t slash = folder.find(u'/', start);
    QTreeWidgetItem* item =
        FolderItem(QtText(folder.substr(start, slash - start)), folder.substr(0, slash + 1), open);
    current->addChild(item);
    current->setExpanded(true);
    current = item;
    start = slash + 1;
  }
  for (const std::u16string& name : subfolders) {
    current->addChild(FolderItem(QtText(name), folder + name + u"/", closed));
  }
  current->setExpanded(true);
  setCurrentItem(current);
  scrollTo(indexFromItem(current));
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

void FolderTree::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    if (QTreeWidgetItem* item = currentItem()) emit itemActivated(item, 0);
    event->accept();
    return;
  }
  QTreeWidget::keyPressEvent(event);
}

}  // namespace dovetam
