// The main window's life cycle: the pages and the report window, start-up,
// the full reset of the work state, the page stack with its Default and
// Cancel buttons, and the exit.
#include "ui/main_window/main_window.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QPushButton>

#include "core/settings/event_lock.h"
#include "core/common/path_helpers.h"
#include "core/work/work_state_steps.h"
#include "ui/main_window/help_file.h"
#include "ui/main_window/help_key.h"
#include "ui/report/report_window.h"
#include "ui/rule_page/rule_page.h"
#include "ui/selection_page/selection_page.h"
#include "ui/widgets/controls.h"

namespace dovetam {

namespace {
constexpr int kClientWidth = 11910;  // twips
constexpr int kClientHeight = 8025;  // twips
}  // namespace

void ReportWindowDeleter::operator()(frmDovetemReport* report) const { delete report; }

frmDovetem::frmDovetem(Services services, QWidget* parent)
    : QWidget(parent), state_(std::move(services)), pointer_(this) {
  setWindowTitle(QtText(kWindowCaption));
  setFixedSize(TwipsToPixels(kClientWidth, this), TwipsToPixels(kClientHeight, this));

  // The report window is loaded hidden; page 2 writes into it.
  report_.reset(new frmDovetemReport(state_.settings, state_.svc.launcher, state_.svc.boxes));
  // Two borderless frames over the whole client area, switched by their
  // visibility; page 2 is hidden at first.
  selectionPage_ = new fraDovetem(state_, pointer_, *this, this);
  PlaceTwips(selectionPage_, 0, 0, kClientWidth, kClientHeight);
  rulePage_ = new fraDovetem2(
      state_, pointer_, *this, *report_,
      [this](int context) {
        OpenHelp(state_.HelpPath, state_.svc.fs, state_.svc.launcher, state_.svc.boxes, this,
                 context);
      },
      this);
  PlaceTwips(rulePage_, 0, 0, kClientWidth, kClientHeight);
  rulePage_->hide();
  new HelpKey(
      [this](QWidget* focused) {
        OpenHelp(state_.HelpPath, state_.svc.fs, state_.svc.launcher, state_.svc.boxes,
                 focused != nullptr ? focused->window() : this, rulePage_->HelpContextOf(focused));
      },
      this);

  CreateCommandButtons();
  selectionPage_->SetTabOrder(CommandButtons(1));
  rulePage_->SetTabOrder(CommandButtons(2));
  // A focused button acts on Return, as on the desktop the program was made
  // for; any other Return goes to the page's Default button (SetDefaultCancel
  // takes the auto-default off that one).
  for (QPushButton* b : findChildren<QPushButton*>()) b->setAutoDefault(true);
}

frmDovetem::~frmDovetem() {
  // The report window and the pages refer to the work state: they go first,
  // the report window while the pages still stand.
  report_.reset();
  delete rulePage_;
  delete selectionPage_;
}

void frmDovetem::Form_Load() {
  WorkState& s = state_;
  s.EventLock = 0;
  s.RuleBoxWidth = fraDovetem2::kRuleBoxWidth;
  // Where the program's folder is unknown the three paths stay empty: an
  // empty path is no file, so the help says that it cannot be shown, a run
  // asks about the log that cannot be created and says that the report
  // cannot be saved, and nothing is ever written into another folder.
  const std::u16string base = NormalizePath(s.svc.programFolder, 3);
  const auto inProgramFolder = [&](std::u16string_view name) {
    return s.svc.programFolder.empty() ? std::u16string() : base + std::u16string(name);
  };
  s.HelpPath = inProgramFolder(u"dovetam_help.html");
  s.LogPath = inProgramFolder(u"dovetam_rename.log");
  s.journal.LogPath = s.LogPath;
  s.settings.ReportPath = inProgramFolder(u"dovetam_report.dat");
  s.settings.SettingsAppName = std::u16string(kSettingsAppName);
  s.settings.SetDefaultSettings();
  s.settings.LoadSettings();
  s.settings.SettingsDirty = false;
  s.settings.LoadViewSettings();
  // The report window was made with the window, hidden.
  ResetToSelectionPage();
  if (!s.svc.arguments.empty()) selectionPage_->AddObjectsFromArguments(s.svc.arguments);
  show();
  selectionPage_->FocusDriveList();
}

void frmDovetem::ResetToSelectionPage() {
  ResetWorkState();
  selectionPage_->ReloadListing();
  selectionPage_->RebuildTargetList();
  state_.SelectListPressed = 0;
  state_.TargetListPressed = 0;
  ShowPage(1);
}

void frmDovetem::ResetWorkState() {
  WorkState& s = state_;
  EventLockGuard lock(s.EventLock);
  s.listing.Reset(s.svc.caps.tableStep);
  ResetSortKeys(s.sort, s.settings.view);
  s.objects.Reset(s.svc.caps.tableStep);
  s.ChangeState = 0;
  s.engine.ResetTables();

  // The start folder; a folder that cannot be selected is passed over silently.
  const std::u16string p = NormalizePath(s.settings.settings.DefPath, 3);
  selectionPage_->SelectStartFolder(!p.empty() && p.front() == u'/' ? p : std::u16string(u"/"));
  rulePage_->ResetRuleBoxes();

  report_->SetReportText(u"(レポートはありません。)");
  s.settings.ReportSaved = false;
}

void frmDovetem::ShowPage(int page) {
  QWidget* shown = selectionPage_;
  QWidget* hidden = rulePage_;
  if (page == 1) {
    SetDefaultCancel(selectionPage_->DefaultButton(), cmdCommandExit[1]);
  } else {
    SetDefaultCancel(rulePage_->DefaultButton(), rulePage_->CancelButton());
    std::swap(shown, hidden);
  }
  shown->setVisible(true);
  hidden->setVisible(false);
}

int frmDovetem::CurrentPage() const { return rulePage_->isVisible() ? 2 : 1; }

void frmDovetem::OpenRulePage() {
  rulePage_->Open();
  ShowPage(2);
  rulePage_->FocusRuleBox();
}

void frmDovetem::BackToSelectionPage() {
  selectionPage_->Reopen();
  ShowPage(1);
  selectionPage_->FocusListing();
}

// The Default button is the one button of the window that is not an
// auto-default one. Outside a dialog, Qt clears the default flag of an
// auto-default button whenever that button loses the focus (it keeps the flag
// only for the time it has the focus), so the Default button would lose its
// frame the first time Tab, a click or a run passed over it. Not being
// auto-default, it keeps the flag whatever takes the focus, and still presses
// itself on Return when it has the focus, since it is the default one.
void frmDovetem::SetDefaultCancel(QPushButton* defaultButton, QPushButton* cancelButton) {
  if (defaultButton_) {
    defaultButton_->setDefault(false);
    defaultButton_->setAutoDefault(true);
  }
  defaultButton_ = defaultButton;
  cancelButton_ = cancelButton;
  if (defaultButton_) {
    defaultButton_->setAutoDefault(false);
    defaultButton_->setDefault(true);
  }
}

void frmDovetem::keyPressEvent(QKeyEvent* event) {
  QPushButton* target = nullptr;
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
    target = defaultButton_;
  else if (event->key() == Qt::Key_Escape)
    target = cancelButton_;
  if (target && target->isEnabled()) {
    event->accept();
    target->click();
    return;
  }
  QWidget::keyPressEvent(event);
}

bool frmDovetem::Form_QueryUnload() {
  SettingsModule& settings = state_.settings;
  MessageBoxes& boxes = state_.svc.boxes;
  if (settings.SettingsDirty) {
    const MsgAnswer a = boxes.Show(u"設定を保存して終了しますか？", MsgIcon::Question,
                                   MsgButtons::YesNoCancel, MsgAnswer::Cancel);
    if (a == MsgAnswer::Yes)
      settings.SaveSettings();  // a failure says so, and the exit goes on
    else if (a != MsgAnswer::No)
      return false;
  } else if (boxes.Show(u"終了しますか？", MsgIcon::Question, MsgButtons::YesNo, MsgAnswer::No) !=
             MsgAnswer::Yes) {
    return false;
  }
  settings.SaveViewSettings();
  if (settings.settings.FileDelMode)
    DeleteRunFiles(state_.svc.fs, boxes, state_.LogPath, settings.ReportPath);
  return true;
}

void frmDovetem::closeEvent(QCloseEvent* event) {
  if (!exitAccepted_ && !Form_QueryUnload()) {
    event->ignore();
    return;
  }
  // The process ends with the main window; the hidden report window with it.
  exitAccepted_ = true;
  event->accept();
  QCoreApplication::quit();
}

}  // namespace dovetam
