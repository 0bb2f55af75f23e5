// The buttons both pages share at their bottom ("設定", "ヘルプ", "クリア",
// "終了", "表示設定"; index 1 on page 1, index 2 on page 2) and their
// handlers, with the guard question that the settings and view commands ask
// after a finished run.
#include <QPushButton>

#include "core/work/work_state_steps.h"
#include "ui/main_window/help_file.h"
#include "ui/main_window/main_window.h"
#include "ui/rule_page/rule_page.h"
#include "ui/selection_page/selection_page.h"
#include "ui/view_dialog/view_dialog.h"
#include "ui/widgets/controls.h"

namespace dovetam {

// Left, top, width, height in twips, as designed; the same on both pages but
// for "表示設定", which stands in the right-hand column of page 1 and below
// the order list on page 2.
void frmDovetem::CreateCommandButtons() {
  for (int index = 1; index <= 2; ++index) {
    QWidget* page = index == 1 ? static_cast<QWidget*>(selectionPage_) : rulePage_;
    const auto name = [index](const char* control) {
      return ArrayControlName(QLatin1String(control), index);
    };
    cmdCommandSetting[index] = MakeButton(page, name("cmdCommandSetting"), QStringLiteral("設定"),
                                          QString(), 5040, 7320, 855, 495);
    cmdCommandHelp[index] =
        MakeButton(page, name("cmdCommandHelp"), QStringLiteral("ヘルプ"),
                   QStringLiteral("このソフトの使い方を表示します。"), 6240, 7320, 855, 495);
    cmdCommandClear[index] = MakeButton(
        page, name("cmdCommandClear"), QStringLiteral("クリア"),
        QStringLiteral("全ての選択・変更時のデータなどを消去します。"), 9360, 7320, 975, 495);
    cmdCommandExit[index] = MakeButton(page, name("cmdCommandExit"), QStringLiteral("終了"),
                                       QString(), 10680, 7320, 975, 495);
    cmdCommandView[index] =
        index == 1 ? MakeButton(page, name("cmdCommandView"), QStringLiteral("表示設定"), QString(),
                                10560, 3240, 1095, 375)
                   : MakeButton(page, name("cmdCommandView"), QStringLiteral("表示設定"), QString(),
                                10320, 5880, 1095, 375);

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
}

std::vector<QWidget*> frmDovetem::CommandButtons(int index) const {
  return {cmdCommandSetting[index], cmdCommandHelp[index], cmdCommandClear[index],
          cmdCommandExit[index], cmdCommandView[index]};
}

bool frmDovetem::GuardChangeState(int index) {
  if (state_.ChangeState == 0) return true;
  if (!AskGuardQuestion(state_)) return false;
  if (index == 1)
    selectionPage_->RebuildTargetList();
  else
    rulePage_->RebuildOrderList();
  return true;
}

void frmDovetem::cmdCommandClear_Click(int) {
  if (state_.svc.boxes.Show(u"すべての項目をクリアしますか？", MsgIcon::Question, MsgButtons::YesNo,
                            MsgAnswer::No) != MsgAnswer::Yes)
    return;
  ResetToSelectionPage();
  selectionPage_->FocusDriveList();
}

void frmDovetem::cmdCommandExit_Click(int) { close(); }

void frmDovetem::cmdCommandHelp_Click(int) {
  OpenHelp(state_.HelpPath, state_.svc.fs, state_.svc.launcher, state_.svc.boxes, this, 0);
}

void frmDovetem::cmdCommandSetting_Click(int index) {
  if (!GuardChangeState(index)) return;
  state_.settings.SettingsApplied = 0;
  ShowSettingsDialog();
  if (state_.settings.SettingsApplied != 0 && index == 2) rulePage_->ShowRulePreview();
}

void frmDovetem::cmdCommandView_Click(int index) {
  if (!GuardChangeState(index)) return;
  ViewSettings& view = state_.settings.view;
  const int16_t oldMask = ViewMaskOf(view);
  state_.ViewDialogMask = oldMask;
  ShowViewDialog();
  if (state_.ViewDialogMask < 0) return;

  pointer_.ShowHourglass();
  const int16_t mask = state_.ViewDialogMask;
  view = ViewSettingsOf(mask);
  const auto newlySet = [mask, oldMask](int16_t bit) {
    return (mask & bit) != 0 && (oldMask & bit) == 0;
  };
  const ListingTable& listing = state_.listing;
  const bool listingValid = listing.ListStale == 0 && listing.ListFailed == 0;
  const int failures =
      FetchMissingDates(state_.svc.fs, state_.objects, state_.listing,
                        newlySet(kViewMaskModified), newlySet(kViewMaskCreated), listingValid);
  ResetSortKeys(state_.sort, view);

  if (index == 1) {
    selectionPage_->RebuildListsForView();
  } else {
    // The listing is not on screen: it is only put in the new order.
    if (listingValid) ResortListing(state_);
    rulePage_->RebuildOrderList();
  }
  pointer_.ShowNormalPointer();
  if (failures != 0) state_.svc.boxes.Show(DateFetchFailureMessage(failures), MsgIcon::Critical);
}

void frmDovetem::ShowViewDialog() {
  frmDovetemView dialog(state_.ViewDialogMask, this);
  dialog.exec();
  state_.ViewDialogMask = dialog.Mask();
}

}  // namespace dovetam
