// The commands both pages share (clear-all, help, settings, view settings,
// exit), the way back from page 2, and the rule page's help buttons.
#include <QComboBox>
#include <QPushButton>
#include <QTreeView>

#include "ui/main_window/main_window.h"
#include "ui/widgets/twips.h"
#include "core/settings/work_state_steps.h"

namespace dovetam {

namespace {
QPushButton* MakeButton(QWidget* page, const char16_t* caption, const char16_t* tooltip, int left,
                        int top, int width, int height) {
  auto* b = new QPushButton(QString::fromStdU16String(caption), page);
  if (tooltip) b->setToolTip(QString::fromStdU16String(tooltip));
  PlaceTwips(b, left, top, width, height);
  return b;
}
}  // namespace

void frmDovetem::CreateCommandButtons() {
  for (int index = 1; index <= 2; ++index) {
    QWidget* page = index == 1 ? static_cast<QWidget*>(fraDovetem) : fraDovetem2;
    cmdCommandSetting[index] = MakeButton(page, u"設定", nullptr, 5040, 7320, 855, 495);
    cmdCommandHelp[index] = MakeButton(page, u"ヘルプ", u"このソフトの使い方を表示します。",
                                       6240, 7320, 855, 495);
    cmdCommandClear[index] =
        MakeButton(page, u"クリア", u"全ての選択・変更時のデータなどを消去します。", 9360, 7320,
                   975, 495);
    cmdCommandExit[index] = MakeButton(page, u"終了", nullptr, 10680, 7320, 975, 495);
    if (index == 1)
      cmdCommandView[index] = MakeButton(page, u"表示設定", nullptr, 10560, 3240, 1095, 375);
    else
      cmdCommandView[index] = MakeButton(page, u"表示設定", nullptr, 10320, 5880, 1095, 375);

    connect(cmdCommandSetting[index], &QPushButton::clicked, this,
            [this, index] { cmdCommandSetting_Click(index); });
    connect(cmdCommandHelp[index], &QPushButton::clicked, this,
            [this, index] { cmdCommandHelp_Click(index); });
    connect(cmdCommandClear[index], &QPushButton::clicked, this,
            [this, index] { cmdCommandClear_Click(index); });
    connect(cmdCommandExit[index], &QPushButton::clicked, this,
            [this, index] { cmdCommandExit_Click(index); });
    connect(cmdCommandView[index], &QPushButton::clicked, this,
            [this, index] { cmdCommandView_Click(index); });
  }
  cmdRuleBack = MakeButton(fraDovetem2, u"＜戻る", nullptr, 8040, 7320, 975, 495);
  connect(cmdRuleBack, &QPushButton::clicked, this, &frmDovetem::cmdRuleBack_Click);
  cmdRuleHelp = MakeButton(fraDovetem2, u"ヘルプ", u"変更規則の詳しい使い方を表示します。",
                           9840, 720, 735, 375);
  connect(cmdRuleHelp, &QPushButton::clicked, this, &frmDovetem::cmdRuleHelp_Click);
  cmdRuleExample = MakeButton(fraDovetem2, u"使用例", u"変更規則の具体的な使用例を表示します。",
                              10680, 720, 735, 375);
  connect(cmdRuleExample, &QPushButton::clicked, this, &frmDovetem::cmdRuleExample_Click);
}

void frmDovetem::cmdCommandClear_Click(int) {
  if (svc.boxes.Show(u"すべての項目をクリアしますか？", MsgIcon::Question, MsgButtons::YesNo,
                     MsgAnswer::No) != MsgAnswer::Yes)
    return;
  ResetWorkState();
  SetSelectHeaders();
  ClearSelectItems();
  LoadFolderListing();
  SetTargetHeaders();
  ClearTargetItems();
  RefreshTargetList();
  SelectListPressed = 0;
  TargetListPressed = 0;
  SetDefaultCancel(cmdSelectNext, cmdCommandExit[1]);
  ShowPage(1);
  if (drvSelect) drvSelect->setFocus();
}

void frmDovetem::cmdCommandExit_Click(int) { close(); }

void frmDovetem::cmdCommandHelp_Click(int) { OpenHelp(0); }
void frmDovetem::cmdRuleHelp_Click() { OpenHelp(12); }
void frmDovetem::cmdRuleExample_Click() { OpenHelp(60); }

void frmDovetem::cmdCommandSetting_Click(int index) {
  if (!GuardChangeState(index)) return;
  settings.SettingsApplied = 0;
  ShowSettingsDialog();
  if (settings.SettingsApplied != 0 && index == 2) ShowRulePreview();
}

void frmDovetem::cmdCommandView_Click(int index) {
  if (!GuardChangeState(index)) return;
  const ViewSettings& v = settings.view;
  const int16_t oldMask = static_cast<int16_t>((v.ViewModified ? 1 : 0) | (v.ViewCreated ? 2 : 0) |
                                               (v.ViewMix ? 32 : 0) | (v.ViewHeader ? 64 : 0));
  ViewDialogMask = oldMask;
  ShowViewDialog();
  if (ViewDialogMask < 0) return;

  ShowHourglass();
  const int16_t mask = ViewDialogMask;
  settings.view.ViewModified = (mask & 1) != 0;
  settings.view.ViewCreated = (mask & 2) != 0;
  settings.view.ViewMix = (mask & 32) != 0;
  settings.view.ViewHeader = (mask & 64) != 0;
  const bool listingValid = listing.ListStale == 0 && listing.ListFailed == 0;
  const int failures = FetchMissingDates(svc.fs, objects, listing, (mask & 1) && !(oldMask & 1),
                                         (mask & 2) && !(oldMask & 2), listingValid);
  ResetSortKeys();

  auto resortListing = [this] {
    listing.ListOrder[0] = -1;
    for (int32_t i = 1; i <= listing.ListCount; ++i) listing.ListOrder[i] = i;
    SortSelectIndex(1, listing.ListCount);
  };
  if (index == 1) {
    SetSelectHeaders();
    ClearSelectItems();
    resortListing();
    FillSelectList();
    SetTargetHeaders();
    ClearTargetItems();
    RefreshTargetList();
  } else {
    if (listingValid) resortListing();
    SetOrderHeaders();
    ClearOrderItems();
    RefreshOrderList();
  }
  ShowNormalPointer();
  if (failures != 0) svc.boxes.Show(DateFetchFailureMessage(failures), MsgIcon::Critical);
}

void frmDovetem::cmdRuleBack_Click() {
  SetSelectHeaders();
  ClearSelectItems();
  if (listing.ListStale != 0)
    LoadFolderListing();
  else
    FillSelectList();
  SetTargetHeaders();
  ClearTargetItems();
  FillTargetList();
  SelectListPressed = 0;
  TargetListPressed = 0;
  SetDefaultCancel(cmdSelectNext, cmdCommandExit[1]);
  ShowPage(1);
  if (lvwSelect) lvwSelect->setFocus();
}

}  // namespace dovetam
