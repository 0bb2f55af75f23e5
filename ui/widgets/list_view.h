// A list view of page 1 or 2: a QTreeView in report style over a
// ListViewModel, with several rows selectable at once. Anything dragged onto
// it is accepted, so that a drop without a file list can be refused in words;
// the dropped data goes to the window through `dropped`. A list cleared or
// refilled from scratch (the model's reset) shows its top, as the desktop's
// list views do.
#pragma once

#include <QMimeData>
#include <QTreeView>

class QMimeData;

namespace dovetam {

class ListView : public QTreeView {
  Q_OBJECT

 public:
  explicit ListView(QWidget* parent = nullptr);

  void reset() override;

 signals:
  void dropped(const QMimeData* data);

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;
};

}  // namespace dovetam
