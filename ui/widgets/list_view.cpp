// List view with drops (see list_view.h).
#include "ui/widgets/list_view.h"

#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QScrollBar>

namespace dovetam {

ListView::ListView(QWidget* parent) : QTreeView(parent) {
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
