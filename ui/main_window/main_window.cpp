// The main window's life cycle: construction of both pages, start-up, the
// full reset of the work state, page switching, the Default and Cancel
// buttons, the guard question of a finished run, and the exit.
#include "ui/main_window/main_window.h"
#include "ui/main_window/help_key.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QFile>
#include <QFrame>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QCheckBox>
#include <QComboBox>
#include <QMouseEvent>
#include <QPointer>
#include <QTreeView>
#include <QUrl>

#include "core/settings/event_lock.h"
#include "core/settings/path_helpers.h"
#include "ui/widgets/twips.h"
#include "core/settings/work_state_steps.h"
#include "platform/utf8_codec.h"

namespace dovetam {

namespace {
constexpr int kClientWidth = 11910;   // twips
constexpr int kClientHeight = 8025;   // twips

QString Q(const std::u16string& s) { return QString::fromStdU16String(s); }

// The modifier keys a person holds. Qt marks some keys with modifiers of its
// own (the keys of the numeric keypad with KeypadModifier): those count as
// plain keys.
constexpr Qt::KeyboardModifiers kHeldModifiers =
    Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier;

bool NoModifierHeld(const QKeyEvent* key) { return !(key->modifiers() & kHeldModifiers); }
}  // namespace

frmDovetem::frmDovetem(Services services, QWidget* parent)
    : QWidget(parent),
      svc(std::move(services)),
      settings(svc.store, svc.boxes),
      engine(settings.settings, svc.fs, svc.caps) {
  setWindowTitle(QString::fromUtf16(kWindowCaption.data(), kWindowCaption.size()));
  setFixedSize(TwipsToPixels(kClientWidth, this), TwipsToPixels(kClientHeight, this));

  fraDovetem = new QFrame(this);
  fraDovetem2 = new QFrame(this);
  for (QFrame* page : {fraDovetem, fraDovetem2}) {
    page->setFrameShape(QFrame::NoFrame);
    PlaceTwips(page, 0, 0, kClientWidth, kClientHeight);
  }
  fraDovetem2->hide();
  new HelpKey([this](QWidget* focused) { OpenHelp(HelpContextOf(focused)); }, this);

  CreateSelectionPage();
  CreateRulePage();
  CreateOrderList();
  CreateRunButtons();
  CreateCommandButtons();
  CreateReportWindow();

  // A focused button acts on Return, as on the desktop the program was made
  // for; any other Return goes to the page's Default button.
  for (QPushButton* b : findChildren<QPushButton*>()) b->setAutoDefault(true);
  fraDovetem2->installEventFilter(this);
  fraDovetem2->setMouseTracking(true);
  if (lvwOrder) {
    lvwOrder->installEventFilter(this);
    lvwOrder->viewport()->installEventFilter(this);
    lvwOrder->viewport()->setMouseTracking(true);
  }
}

frmDovetem::~frmDovetem() = default;

void frmDovetem::Form_Load() {
  EventLock = 0;
  RuleBoxWidth = 5535;
  const std::u16string base = NormalizePath(svc.programFolder, 3);
  HelpPath = base + u"dovetam_help.html";
  LogPath = base + u"dovetam_rename.log";
  journal.LogPath = LogPath;
  settings.ReportPath = base + u"dovetam_report.dat";
  settings.SettingsAppName = std::u16string(kSettingsAppName);
  settings.SetDefaultSettings();
  settings.LoadSettings();
  settings.SettingsDirty = false;
  settings.LoadViewSettings();
  // The report window was created with the window, hidden.
  ResetWorkState();
  SetSelectHeaders();
  ClearSelectItems();
  LoadFolderListing();
  SetTargetHeaders();
  ClearTargetItems();
  RefreshTargetList();
  SelectListPressed = 0;
  TargetListPressed = 0;
  if (!svc.arguments.empty()) AddObjectsFromArguments(svc.arguments);
  SetDefaultCancel(cmdSelectNext, cmdCommandExit[1]);
  ShowPage(1);
  show();
  if (drvSelect) drvSelect->setFocus();
}

void frmDovetem::ResetWorkState() {
  EventLockGuard lock(EventLock);
  listing.Reset(svc.caps.tableStep);
  ResetSortKeys();
  objects.Reset(svc.caps.tableStep);
  ChangeState = 0;
  engine.ResetTables();

  // The start folder; a folder that cannot be selected is passed over silently.
  const std::u16string p = NormalizePath(settings.settings.DefPath, 3);
  SelectStartFolder(!p.empty() && p.front() == u'/' ? p : std::u16string(u"/"));

  txtRule1->setText(Q(settings.settings.ChrAster));
  txtRule2->setText(Q(settings.settings.ChrAster));
  chkRule->setChecked(false);
  ArrangeRuleBoxes();

  SetReportText(u"(レポートはありません。)");
  settings.ReportSaved = false;
}

void frmDovetem::ResetSortKeys() { dovetam::ResetSortKeys(sort, settings.view); }

bool frmDovetem::AskGuardQuestion(bool allTargets) {
  if (ChangeState == 0) return true;
  const std::u16string text =
      std::u16string(u"この操作を行うと、名前の再変更・復元ができなくなります。\n") +
      (allTargets ? u"すべての選択を解除しますか？" : u"続行しますか？");
  if (svc.boxes.Show(text, MsgIcon::Exclamation, MsgButtons::YesNo, MsgAnswer::No) !=
      MsgAnswer::Yes)
    return false;
  ChangeState = 0;
  return true;
}

bool frmDovetem::GuardChangeState(int page, bool allTargets) {
  if (ChangeState == 0) return true;
  if (!AskGuardQuestion(allTargets)) return false;
  if (page == 1) {
    SetTargetHeaders();
    ClearTargetItems();
    RefreshTargetList();
  } else {
    SetOrderHeaders();
    ClearOrderItems();
    RefreshOrderList();
  }
  return true;
}

void frmDovetem::ShowPage(int page) {
  fraDovetem->setVisible(page == 1);
  fraDovetem2->setVisible(page == 2);
}

int frmDovetem::CurrentPage() const { return fraDovetem2->isVisible() ? 2 : 1; }

void frmDovetem::SetDefaultCancel(QPushButton* defaultButton, QPushButton* cancelButton) {
  if (defaultButton_) defaultButton_->setDefault(false);
  defaultButton_ = defaultButton;
  cancelButton_ = cancelButton;
  if (defaultButton_) defaultButton_->setDefault(true);
}

void frmDovetem::ShowHourglass() {
  if (hourglassDepth_++ == 0) QApplication::setOverrideCursor(Qt::WaitCursor);
}

void frmDovetem::ShowNormalPointer() {
  while (hourglassDepth_ > 0) {
    QApplication::restoreOverrideCursor();
    --hourglassDepth_;
  }
}

// Disabling the window takes the keyboard focus from the control that has it,
// and enabling it again does not give it back: the control gets it back here,
// unless something else took the focus meanwhile or the control can no longer
// have it.
void frmDovetem::YieldWithFormDisabled() {
  const QPointer<QWidget> focused = focusWidget();
  setEnabled(false);
  QApplication::processEvents();
  setEnabled(true);
  if (focused && focusWidget() == nullptr && focused->isVisible() && focused->isEnabled() &&
      focused->focusPolicy() != Qt::NoFocus) {
    focused->setFocus(Qt::OtherFocusReason);
  }
}

void frmDovetem::OpenHelp(int context) {
  // The help is an HTML page beside the program, opened in the desktop's
  // browser at the topic's anchor; without the page nothing happens.
  if (!QFile::exists(Q(HelpPath))) return;
  QUrl url = QUrl::fromLocalFile(Q(HelpPath));
  if (context != 0) url.setFragment(QString::number(context));
  svc.launcher.Start(u"xdg-open", {url.toString(QUrl::FullyEncoded).toStdU16String()});
}

bool frmDovetem::Form_QueryUnload() {
  bool saveSettings = false;
  if (settings.SettingsDirty) {
    const MsgAnswer a = svc.boxes.Show(u"設定を保存して終了しますか？", MsgIcon::Question,
                                       MsgButtons::YesNoCancel, MsgAnswer::Cancel);
    if (a == MsgAnswer::Yes)
      saveSettings = true;
    else if (a != MsgAnswer::No)
      return false;
  } else if (svc.boxes.Show(u"終了しますか？", MsgIcon::Question, MsgButtons::YesNo,
                            MsgAnswer::No) != MsgAnswer::Yes) {
    return false;
  }
  // The settings and the display keys reach the store in one save.
  settings.SaveOnExit(saveSettings);
  if (settings.settings.FileDelMode)
    DeleteRunFiles(svc.fs, svc.boxes, LogPath, settings.ReportPath);
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

int frmDovetem::HelpContextOf(const QWidget* focused) const {
  if (focused && focused == cmdRuleHelp) return 12;
  if (focused && focused == cmdRuleExample) return 60;
  return 0;
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

bool frmDovetem::eventFilter(QObject* watched, QEvent* event) {
  if (lvwOrder && (watched == lvwOrder || watched == lvwOrder->viewport())) {
    if (event->type() == QEvent::KeyRelease && watched == lvwOrder) {
      // A key released while Shift, Ctrl or Alt is held does not refresh;
      // the release of the modifier key itself does.
      if (NoModifierHeld(static_cast<QKeyEvent*>(event))) UpdateRulePreview();
    } else if (watched == lvwOrder->viewport()) {
      if (event->type() == QEvent::MouseButtonPress) {
        OrderListPressed = 1;
      } else if (event->type() == QEvent::MouseMove) {
        const bool held = static_cast<QMouseEvent*>(event)->buttons() != Qt::NoButton;
        if (held != (OrderListPressed != 0)) {
          if (!held && OrderListPressed == 1) UpdateRulePreview();
          OrderListPressed = held ? 1 : 0;
        }
      } else if (event->type() == QEvent::MouseButtonRelease) {
        // Qt applies the new selection in its own handler, after this one.
        QMetaObject::invokeMethod(this, [this] {
          UpdateRulePreview();
          OrderListPressed = 0;
        }, Qt::QueuedConnection);
      }
    }
  } else if (watched == fraDovetem2) {
    if (event->type() == QEvent::MouseMove || event->type() == QEvent::MouseButtonRelease) {
      auto* mouse = static_cast<QMouseEvent*>(event);
      const bool held = mouse->buttons() != Qt::NoButton;
      if (OrderListPressed != 0 && (!held || event->type() == QEvent::MouseButtonRelease)) {
        UpdateRulePreview();
        OrderListPressed = 0;
      }
    }
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace dovetam
