// Page 1's controls at their design places (twips), its order of Tab and the
// wiring of its handlers; the way back from page 2 and the view command as
// this page does them.
#include "ui/selection_page/selection_page.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>

#include "core/work/work_state.h"
#include "core/work/work_state_steps.h"
#include "ui/widgets/controls.h"
#include "ui/widgets/folder_tree.h"
#include "ui/widgets/list_view.h"
#include "ui/widgets/list_view_model.h"
#include "ui/widgets/page_stack.h"
#include "ui/widgets/target_list.h"

namespace dovetam {

fraDovetem::fraDovetem(WorkState& state, FormPointer& pointer, PageStack& pages, QWidget* parent)
    : QFrame(parent), state_(state), pointer_(pointer), pages_(pages) {
  setObjectName(QStringLiteral("fraDovetem"));
  setFrameShape(QFrame::NoFrame);
  CreateControls();
  targetList_ = std::make_unique<TargetList>(state_, pointer_, lvwSelect2, lblSelectCount);
  ConnectHandlers();
}

fraDovetem::~fraDovetem() = default;

// Left, top, width, height in twips, as designed.
void fraDovetem::CreateControls() {
  drvSelect = PlaceControl(new QComboBox(this), QStringLiteral("drvSelect"), 120, 120, 2895, 315);
  dirSelect = PlaceControl(new FolderTree(this), QStringLiteral("dirSelect"), 120, 480, 2895, 6720);
  lvwSelect =
      PlaceControl(new ListView(new ListViewModel(&state_.listing, nullptr, this), 3600, this),
                   QStringLiteral("lvwSelect"), 3120, 120, 7320, 3495);
  lvwSelect2 =
      PlaceControl(new ListView(new ListViewModel(nullptr, &state_.objects, this), 5400, this),
                   QStringLiteral("lvwSelect2"), 3120, 3840, 8175, 2640);

  cmdSelectAdd = MakeButton(this, QStringLiteral("cmdSelectAdd"), QStringLiteral("∨追加"),
                            QStringLiteral("選択されているオブジェクトを対象に追加します。"), 10560,
                            1200, 1095, 375);
  cmdSelectRefresh = MakeButton(
      this, QStringLiteral("cmdSelectRefresh"), QStringLiteral("再表示"),
      QStringLiteral("対象となっているオブジェクトを反転して表示します。"), 10560, 1800, 1095, 375);
  cmdSelectDelete2 =
      MakeButton(this, QStringLiteral("cmdSelectDelete2"), QStringLiteral("∧解除"),
                 QStringLiteral("このフォルダ内のすべてのオブジェクトを対象から外します。"), 10560,
                 2400, 1095, 375);
  cmdSelectDelete = MakeButton(this, QStringLiteral("cmdSelectDelete"), QStringLiteral("選択解除"),
                               QStringLiteral("選択されているオブジェクトを対象から外します。"),
                               8520, 6600, 1215, 375);
  cmdSelectClear =
      MakeButton(this, QStringLiteral("cmdSelectClear"), QStringLiteral("クリア"),
                 QStringLiteral("全てのオブジェクトを対象から外します。"), 10080, 6600, 1215, 375);
  cmdSelectNext = MakeButton(this, QStringLiteral("cmdSelectNext"), QStringLiteral("決定＞"),
                             QString(), 8040, 7320, 975, 495);
  cmdSelectUndo =
      MakeButton(this, QStringLiteral("cmdSelectUndo"), QStringLiteral("選択解除"),
                 QStringLiteral("このフォルダ内の全選択を解除します。"), 10680, 120, 1215, 375);
  cmdSelectUndo->setVisible(false);  // designed invisible; nothing shows it

  lblSelectCount =
      MakeLabel(this, QStringLiteral("lblSelectCount"), QStringLiteral("0"), 3120, 6660, 840, 255);
  lblSelectCount->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  MakeLabel(this, QStringLiteral("lblSelectCountUnit"), QStringLiteral("個 の オブジェクト"), 4020,
            6660, 1800, 255);
}

void fraDovetem::SetTabOrder(const std::vector<QWidget*>& commandButtons) {
  std::vector<QWidget*> chain = {drvSelect,        dirSelect,        lvwSelect,    cmdSelectAdd,
                                 cmdSelectRefresh, cmdSelectDelete2, lvwSelect2,   cmdSelectDelete,
                                 cmdSelectClear,   cmdSelectNext,    cmdSelectUndo};
  chain.insert(chain.end(), commandButtons.begin(), commandButtons.end());
  dovetam::SetTabOrder(chain);
}

void fraDovetem::ConnectHandlers() {
  connect(drvSelect, &QComboBox::currentIndexChanged, this, [this](int) { drvSelect_Change(); });
  connect(dirSelect, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item, int) {
    // The tree's own folders are named as the system names them; one that
    // went away since is still chosen, and its listing fails.
    const std::u16string path = item->data(0, Qt::UserRole).toString().toStdU16String();
    if (path != dirSelectPath_) ShowFolderInTree(path);
  });
  connect(lvwSelect, &ListView::dropped, this, &fraDovetem::lvwSelect_OLEDragDrop);
  connect(lvwSelect2, &ListView::dropped, this, &fraDovetem::lvwSelect2_OLEDragDrop);
  connect(lvwSelect2, &QTreeView::doubleClicked, this,
          [this](const QModelIndex&) { lvwSelect2_DblClick(); });
  connect(lvwSelect->header(), &QHeaderView::sectionClicked, this,
          &fraDovetem::lvwSelect_ColumnClick);
  connect(lvwSelect2->header(), &QHeaderView::sectionClicked, this,
          &fraDovetem::lvwSelect2_ColumnClick);
  connect(cmdSelectAdd, &QPushButton::clicked, this, &fraDovetem::cmdSelectAdd_Click);
  connect(cmdSelectRefresh, &QPushButton::clicked, this, &fraDovetem::cmdSelectRefresh_Click);
  connect(cmdSelectDelete, &QPushButton::clicked, this, &fraDovetem::cmdSelectDelete_Click);
  connect(cmdSelectDelete2, &QPushButton::clicked, this, &fraDovetem::cmdSelectDelete2_Click);
  connect(cmdSelectClear, &QPushButton::clicked, this, &fraDovetem::cmdSelectClear_Click);
  connect(cmdSelectNext, &QPushButton::clicked, this, &fraDovetem::cmdSelectNext_Click);
  connect(cmdSelectUndo, &QPushButton::clicked, this, &fraDovetem::cmdSelectUndo_Click);
}

QPushButton* fraDovetem::DefaultButton() const { return cmdSelectNext; }

void fraDovetem::FocusDriveList() { drvSelect->setFocus(); }

void fraDovetem::FocusListing() { lvwSelect->setFocus(); }

void fraDovetem::Reopen() {
  SetSelectHeaders();
  ClearSelectItems();
  if (state_.listing.ListStale != 0)
    LoadFolderListing();
  else
    FillSelectList();
  SetTargetHeaders();
  ClearTargetItems();
  FillTargetList();
  state_.SelectListPressed = 0;
  state_.TargetListPressed = 0;
}

void fraDovetem::ReloadListing() {
  SetSelectHeaders();
  ClearSelectItems();
  LoadFolderListing();
}

void fraDovetem::RebuildTargetList() { targetList_->Rebuild(); }

void fraDovetem::RebuildListsForView() {
  SetSelectHeaders();
  ClearSelectItems();
  ResortListing(state_);
  FillSelectList();
  RebuildTargetList();
}

}  // namespace dovetam
