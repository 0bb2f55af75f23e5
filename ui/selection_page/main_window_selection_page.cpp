// The controls of subsystem 3: page 1 (drive list, folder tree, folder
// listing, target list, their buttons and the target count) and, on page 2,
// the order list with its count. Positions are design twips.
#include <QComboBox>
#include <QFrame>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QTreeWidget>

#include "ui/main_window/main_window.h"
#include "ui/widgets/twips.h"
#include "ui/widgets/folder_tree.h"
#include "ui/widgets/list_view.h"
#include "ui/widgets/list_view_model.h"

namespace dovetam {
namespace {

QPushButton* MakeButton(QWidget* page, const QString& caption, const QString& tip, int left,
                        int top, int width, int height) {
  auto* b = new QPushButton(caption, page);
  if (!tip.isEmpty()) b->setToolTip(tip);
  PlaceTwips(b, left, top, width, height);
  return b;
}

// Return in the folder tree opens the current folder, as a double-click does;
// it does not reach the page's Default button.
class FolderTreeKeys : public QObject {
 public:
  FolderTreeKeys(QTreeWidget* tree, QObject* parent) : QObject(parent), tree_(tree) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == tree_ && event->type() == QEvent::KeyPress) {
      const int key = static_cast<QKeyEvent*>(event)->key();
      if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        if (QTreeWidgetItem* item = tree_->currentItem()) emit tree_->itemActivated(item, 0);
        return true;
      }
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  QTreeWidget* tree_;
};

QLabel* MakeLabel(QWidget* page, const QString& text, int left, int top, int width, int height) {
  auto* l = new QLabel(text, page);
  PlaceTwips(l, left, top, width, height);
  return l;
}

ListView* MakeList(QWidget* page, ListViewModel* model, int left, int top, int width, int height,
                   int nameWidth) {
  auto* view = new ListView(page);
  view->setModel(model);
  PlaceTwips(view, left, top, width, height);
  view->header()->resizeSection(0, TwipsToPixels(nameWidth, view));
  return view;
}

}  // namespace

void frmDovetem::CreateSelectionPage() {
  QFrame* page = fraDovetem;
  drvSelect = new QComboBox(page);
  PlaceTwips(drvSelect, 120, 120, 2895, 315);
  dirSelect = new FolderTree(page);
  dirSelect->installEventFilter(new FolderTreeKeys(dirSelect, dirSelect));
  PlaceTwips(dirSelect, 120, 480, 2895, 6720);

  selectModel = new ListViewModel(&listing, nullptr, this);
  lvwSelect = MakeList(page, selectModel, 3120, 120, 7320, 3495, 3600);
  targetModel = new ListViewModel(nullptr, &objects, this);
  lvwSelect2 = MakeList(page, targetModel, 3120, 3840, 8175, 2640, 5400);

  cmdSelectAdd = MakeButton(page, QStringLiteral("∨追加"),
                            QStringLiteral("選択されているオブジェクトを対象に追加します。"), 10560,
                            1200, 1095, 375);
  cmdSelectRefresh = MakeButton(page, QStringLiteral("再表示"),
                                QStringLiteral("対象となっているオブジェクトを反転して表示します。"),
                                10560, 1800, 1095, 375);
  cmdSelectDelete2 = MakeButton(page, QStringLiteral("∧解除"),
                                QStringLiteral("このフォルダ内のすべてのオブジェクトを対象から外します。"),
                                10560, 2400, 1095, 375);
  cmdSelectDelete = MakeButton(page, QStringLiteral("選択解除"),
                               QStringLiteral("選択されているオブジェクトを対象から外します。"), 8520,
                               6600, 1215, 375);
  cmdSelectClear = MakeButton(page, QStringLiteral("クリア"),
                              QStringLiteral("全てのオブジェクトを対象から外します。"), 10080, 6600,
                              1215, 375);
  cmdSelectNext = MakeButton(page, QStringLiteral("決定＞"), QString(), 8040, 7320, 975, 495);
  cmdSelectUndo = MakeButton(page, QStringLiteral("選択解除"),
                             QStringLiteral("このフォルダ内の全選択を解除します。"), 10680, 120, 1215,
                             375);
  cmdSelectUndo->setVisible(false);  // designed invisible; nothing shows it

  lblSelectCount = MakeLabel(page, QStringLiteral("0"), 3120, 6660, 840, 255);
  lblSelectCount->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  MakeLabel(page, QStringLiteral("個 の オブジェクト"), 4020, 6660, 1800, 255);

  setTabOrder(drvSelect, dirSelect);
  setTabOrder(dirSelect, lvwSelect);
  setTabOrder(lvwSelect, cmdSelectAdd);
  setTabOrder(cmdSelectAdd, cmdSelectRefresh);
  setTabOrder(cmdSelectRefresh, cmdSelectDelete2);
  setTabOrder(cmdSelectDelete2, lvwSelect2);
  setTabOrder(lvwSelect2, cmdSelectDelete);
  setTabOrder(cmdSelectDelete, cmdSelectClear);
  setTabOrder(cmdSelectClear, cmdSelectNext);
  setTabOrder(cmdSelectNext, cmdSelectUndo);

  connect(drvSelect, &QComboBox::currentIndexChanged, this, [this](int) { drvSelect_Change(); });
  connect(dirSelect, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item, int) {
    // The tree's own folders are named as the system names them; one that
    // went away since is still chosen, and its listing fails.
    const std::u16string path = item->data(0, Qt::UserRole).toString().toStdU16String();
    if (path != dirSelectPath) ShowFolderInTree(path);
  });
  connect(static_cast<ListView*>(lvwSelect), &ListView::dropped, this,
          &frmDovetem::lvwSelect_OLEDragDrop);
  connect(static_cast<ListView*>(lvwSelect2), &ListView::dropped, this,
          &frmDovetem::lvwSelect2_OLEDragDrop);
  connect(lvwSelect2, &QTreeView::doubleClicked, this, [this](const QModelIndex&) {
    lvwSelect2_DblClick();
  });
  connect(lvwSelect->header(), &QHeaderView::sectionClicked, this,
          &frmDovetem::lvwSelect_ColumnClick);
  connect(lvwSelect2->header(), &QHeaderView::sectionClicked, this,
          &frmDovetem::lvwSelect2_ColumnClick);
  connect(cmdSelectAdd, &QPushButton::clicked, this, &frmDovetem::cmdSelectAdd_Click);
  connect(cmdSelectRefresh, &QPushButton::clicked, this, &frmDovetem::cmdSelectRefresh_Click);
  connect(cmdSelectDelete, &QPushButton::clicked, this, &frmDovetem::cmdSelectDelete_Click);
  connect(cmdSelectDelete2, &QPushButton::clicked, this, &frmDovetem::cmdSelectDelete2_Click);
  connect(cmdSelectClear, &QPushButton::clicked, this, &frmDovetem::cmdSelectClear_Click);
  connect(cmdSelectNext, &QPushButton::clicked, this, &frmDovetem::cmdSelectNext_Click);
  connect(cmdSelectUndo, &QPushButton::clicked, this, &frmDovetem::cmdSelectUndo_Click);
}

void frmDovetem::CreateOrderList() {
  QFrame* page = fraDovetem2;
  orderModel = new ListViewModel(nullptr, &objects, this);
  lvwOrder = MakeList(page, orderModel, 240, 2640, 11415, 3120, 6000);
  lvwOrder->setAcceptDrops(false);
  lvwOrder->viewport()->setAcceptDrops(false);
  lblOrderCount = MakeLabel(page, QStringLiteral("0"), 240, 5940, 840, 255);
  lblOrderCount->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  MakeLabel(page, QStringLiteral("個 の オブジェクト"), 1140, 5940, 1800, 255);
  connect(lvwOrder->header(), &QHeaderView::sectionClicked, this,
          &frmDovetem::lvwOrder_ColumnClick);
}

}  // namespace dovetam
