// Page 2's controls at their design places (twips), its order of Tab, the
// wiring of its handlers, the events of the order list and of the page that
// refresh the preview, and "＜戻る" with the two rule help buttons.
#include "ui/rule_page/rule_page.h"

#include <QCheckBox>
#include <QFontDatabase>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>

#include "core/work/work_state.h"
#include "ui/widgets/controls.h"
#include "ui/widgets/list_view.h"
#include "ui/widgets/list_view_model.h"
#include "ui/widgets/page_stack.h"
#include "ui/widgets/target_list.h"

namespace dovetam {

namespace {
// The modifier keys a person holds. Qt marks some keys with modifiers of its
// own (the keys of the numeric keypad with KeypadModifier): those count as
// plain keys.
constexpr Qt::KeyboardModifiers kHeldModifiers =
    Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier;
}  // namespace

fraDovetem2::fraDovetem2(WorkState& state, FormPointer& pointer, PageStack& pages,
                         frmDovetemReport& report, HelpOpener openHelp, QWidget* parent)
    : QFrame(parent),
      state_(state),
      pointer_(pointer),
      pages_(pages),
      report_(report),
      openHelp_(std::move(openHelp)) {
  setObjectName(QStringLiteral("fraDovetem2"));
  setFrameShape(QFrame::NoFrame);
  CreateControls();
  orderList_ = std::make_unique<TargetList>(state_, pointer_, lvwOrder, lblOrderCount,
                                            [this] { UpdateRulePreview(); });
  ConnectHandlers();
  setMouseTracking(true);
  installEventFilter(this);
  lvwOrder->installEventFilter(this);
  lvwOrder->viewport()->installEventFilter(this);
  lvwOrder->viewport()->setMouseTracking(true);
}

fraDovetem2::~fraDovetem2() = default;

// Left, top, width, height in twips, as designed.
void fraDovetem2::CreateControls() {
  QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  fixed.setPointSize(9);

  lblRule = MakeLabel(this, QStringLiteral("lblRule"),
                      QStringLiteral("変更規則、順序を入力してください。 "
                                     "名前変更ボタンを押すと、処理を開始します。"),
                      240, 240, 11400, 375);
  txtRule1 = PlaceControl(new QLineEdit(this), QStringLiteral("txtRule1"), 240, 720, kRuleBoxWidth,
                          375);
  txtRule1->setFont(fixed);
  lblRule2 = MakeLabel(this, QStringLiteral("lblRule2"), QStringLiteral("．"), 5880, 720, 240, 375);
  txtRule2 = PlaceControl(new QLineEdit(this), QStringLiteral("txtRule2"), 6120, 720, 3615, 375);
  txtRule2->setFont(fixed);
  chkRule = PlaceControl(new QCheckBox(QStringLiteral("拡張子をまとめる"), this),
                         QStringLiteral("chkRule"), 240, 1200, 3000, 300);
  chkRule->setToolTip(
      QStringLiteral("名前の\".\"の前後で異なる規則を用いるかどうかを指定します。"));
  lblRule3 =
      MakeLabel(this, QStringLiteral("lblRule3"), QStringLiteral("変更前"), 240, 1560, 840, 300);
  lblRuleName1 = MakeLabel(this, QStringLiteral("lblRuleName1"), QString(), 1080, 1560, 10560, 300);
  lblRuleName1->setFont(fixed);
  lblRule5 = MakeLabel(this, QStringLiteral("lblRule5"), QStringLiteral("↓"), 1080, 1860, 600, 300);
  lblRule4 =
      MakeLabel(this, QStringLiteral("lblRule4"), QStringLiteral("変更後"), 240, 2160, 840, 300);
  lblRuleName2 = MakeLabel(this, QStringLiteral("lblRuleName2"), QString(), 1080, 2160, 10560, 300);
  lblRuleName2->setFont(fixed);

  lvwOrder =
      PlaceControl(new ListView(new ListViewModel(nullptr, &state_.objects, this), 6000, this),
                   QStringLiteral("lvwOrder"), 240, 2640, 11415, 3120);
  lvwOrder->setAcceptDrops(false);
  lvwOrder->viewport()->setAcceptDrops(false);
  lblOrderCount =
      MakeLabel(this, QStringLiteral("lblOrderCount"), QStringLiteral("0"), 240, 5940, 840, 255);
  lblOrderCount->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  MakeLabel(this, QStringLiteral("lblOrderCountUnit"), QStringLiteral("個 の オブジェクト"), 1140,
            5940, 1800, 255);

  // Below the order list, in the order of the work: run, re-run, restore,
  // then the report.
  const QString execute = QStringLiteral("cmdRuleExecute");
  cmdRuleExecute[1] = MakeButton(this, ArrayControlName(execute, 1), QStringLiteral("名前変更"),
                                 QString(), 240, 6480, 1335, 495);
  cmdRuleExecute[2] = MakeButton(this, ArrayControlName(execute, 2), QStringLiteral("名前再変更"),
                                 QString(), 1695, 6480, 1335, 495);
  cmdRuleUndo = MakeButton(this, QStringLiteral("cmdRuleUndo"), QStringLiteral("元に戻す"),
                           QStringLiteral("元の名前に戻っていない全てのオブジェクトを復元します。"),
                           3150, 6480, 1215, 495);
  cmdRuleReport = MakeButton(this, QStringLiteral("cmdRuleReport"), QStringLiteral("レポート表示"),
                             QStringLiteral("処理の結果を詳細表示します。"), 4485, 6480, 1455, 495);

  cmdRuleBack = MakeButton(this, QStringLiteral("cmdRuleBack"), QStringLiteral("＜戻る"), QString(),
                           8040, 7320, 975, 495);
  cmdRuleHelp =
      MakeButton(this, QStringLiteral("cmdRuleHelp"), QStringLiteral("ヘルプ"),
                 QStringLiteral("変更規則の詳しい使い方を表示します。"), 9840, 720, 735, 375);
  cmdRuleExample =
      MakeButton(this, QStringLiteral("cmdRuleExample"), QStringLiteral("使用例"),
                 QStringLiteral("変更規則の具体的な使用例を表示します。"), 10680, 720, 735, 375);
}

void fraDovetem2::SetTabOrder(const std::vector<QWidget*>& commandButtons) {
  std::vector<QWidget*> chain = {txtRule1,          txtRule2,          chkRule,     lvwOrder,
                                 cmdRuleExecute[1], cmdRuleExecute[2], cmdRuleUndo, cmdRuleReport};
  chain.insert(chain.end(), commandButtons.begin(), commandButtons.end());
  chain.insert(chain.end(), {cmdRuleBack, cmdRuleHelp, cmdRuleExample});
  dovetam::SetTabOrder(chain);
}

void fraDovetem2::ConnectHandlers() {
  connect(chkRule, &QCheckBox::toggled, this, &fraDovetem2::chkRule_Click);
  connect(txtRule1, &QLineEdit::textChanged, this, &fraDovetem2::txtRule1_Change);
  connect(txtRule2, &QLineEdit::textChanged, this, &fraDovetem2::txtRule2_Change);
  connect(lvwOrder->header(), &QHeaderView::sectionClicked, this,
          &fraDovetem2::lvwOrder_ColumnClick);
  connect(cmdRuleExecute[1], &QPushButton::clicked, this, [this] { cmdRuleExecute_Click(1); });
  connect(cmdRuleExecute[2], &QPushButton::clicked, this, [this] { cmdRuleExecute_Click(2); });
  connect(cmdRuleUndo, &QPushButton::clicked, this, &fraDovetem2::cmdRuleUndo_Click);
  connect(cmdRuleReport, &QPushButton::clicked, this, &fraDovetem2::cmdRuleReport_Click);
  connect(cmdRuleBack, &QPushButton::clicked, this, &fraDovetem2::cmdRuleBack_Click);
  connect(cmdRuleHelp, &QPushButton::clicked, this, &fraDovetem2::cmdRuleHelp_Click);
  connect(cmdRuleExample, &QPushButton::clicked, this, &fraDovetem2::cmdRuleExample_Click);
}

QPushButton* fraDovetem2::DefaultButton() const { return cmdRuleExecute[1]; }
QPushButton* fraDovetem2::CancelButton() const { return cmdRuleBack; }

void fraDovetem2::FocusRuleBox() { txtRule1->setFocus(); }

int fraDovetem2::HelpContextOf(const QWidget* focused) const {
  if (focused != nullptr && focused == cmdRuleHelp) return 12;
  if (focused != nullptr && focused == cmdRuleExample) return 60;
  return 0;
}

void fraDovetem2::cmdRuleBack_Click() { pages_.BackToSelectionPage(); }

void fraDovetem2::cmdRuleHelp_Click() { openHelp_(12); }

void fraDovetem2::cmdRuleExample_Click() { openHelp_(60); }

void fraDovetem2::lvwOrder_KeyUp(const QKeyEvent* key) {
  // A key released while Shift, Ctrl or Alt is held does not refresh; the
  // release of the modifier key itself does.
  if (!(key->modifiers() & kHeldModifiers)) UpdateRulePreview();
}

void fraDovetem2::lvwOrder_MouseDown() { state_.OrderListPressed = 1; }

void fraDovetem2::lvwOrder_MouseMove(bool buttonHeld) {
  if (buttonHeld == (state_.OrderListPressed != 0)) return;
  if (!buttonHeld && state_.OrderListPressed == 1) UpdateRulePreview();
  state_.OrderListPressed = buttonHeld ? 1 : 0;
}

void fraDovetem2::lvwOrder_MouseUp() {
  UpdateRulePreview();
  state_.OrderListPressed = 0;
}

void fraDovetem2::fraDovetem2_MouseMove(bool buttonHeld) {
  if (state_.OrderListPressed == 0 || buttonHeld) return;
  UpdateRulePreview();
  state_.OrderListPressed = 0;
}

void fraDovetem2::fraDovetem2_MouseUp() {
  if (state_.OrderListPressed == 0) return;
  UpdateRulePreview();
  state_.OrderListPressed = 0;
}

bool fraDovetem2::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  const auto held = [event] { return static_cast<QMouseEvent*>(event)->buttons() != Qt::NoButton; };
  if (watched == lvwOrder) {
    if (type == QEvent::KeyRelease) lvwOrder_KeyUp(static_cast<QKeyEvent*>(event));
  } else if (watched == lvwOrder->viewport()) {
    if (type == QEvent::MouseButtonPress) {
      lvwOrder_MouseDown();
    } else if (type == QEvent::MouseMove) {
      lvwOrder_MouseMove(held());
    } else if (type == QEvent::MouseButtonRelease) {
      // Qt applies the new selection in its own handler, after this one.
      QMetaObject::invokeMethod(this, [this] { lvwOrder_MouseUp(); }, Qt::QueuedConnection);
    }
  } else if (watched == this) {
    if (type == QEvent::MouseMove) fraDovetem2_MouseMove(held());
    if (type == QEvent::MouseButtonRelease) fraDovetem2_MouseUp();
  }
  return QFrame::eventFilter(watched, event);
}

}  // namespace dovetam
