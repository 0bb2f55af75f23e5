// Return and the Default button, after what a user does on the way: on each
// page of the main window the Default button keeps its look (isDefault) and
// takes Return from a control that is not a button, whatever went before (a
// Tab round, a click, a run, a question answered No); in the settings dialog
// Return closes the dialog with "決定" after a switch of the tab strip, which
// never leaves the focus on a control out of sight.
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QTest>
#include <functional>
#include <ostream>
#include <vector>

#include "ui/settings_dialog/settings_dialog.h"
#include "testing/window_harness.h"

namespace dovetam {
namespace {

using testing::Control;
using testing::FakeMessageBoxes;
using testing::TempDir;
using testing::TypeKey;
using testing::WindowHarness;

QString FocusName() {
  QWidget* f = QApplication::focusWidget();
  return f != nullptr ? f->objectName() : QStringLiteral("(none)");
}

// A click of the mouse, which also gives the focus to what it clicks.
void Click(QWidget& w, QPoint at = QPoint()) {
  QTest::mouseClick(&w, Qt::LeftButton, Qt::NoModifier, at.isNull() ? w.rect().center() : at);
}

void Tabs(int n, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  for (int i = 0; i < n; ++i) ASSERT_TRUE(TypeKey(Qt::Key_Tab, modifiers));
}

// ---------------------------------------------------------------------------
// The main window. Each row starts on its page with one target and does what
// a user does; then the page's Default button must show as the default one,
// and Return in `returnIn` must press it.

struct WindowSequence {
  const char* name;
  int page;
  std::function<void(frmDovetem&, FakeMessageBoxes&)> steps;
  // Where Return is pressed: a control that is not a button passes it to the
  // Default button; a button presses itself.
  const char* returnIn;
};

void PrintTo(const WindowSequence& s, std::ostream* os) { *os << s.name; }

QPushButton& DefaultOf(const QWidget& w, int page) {
  return page == 1 ? Control<QPushButton>(w, "cmdSelectNext")
                   : Control<QPushButton>(w, "cmdRuleExecute", 1);
}

// "名前変更" clicked, its question answered Yes: the one target is renamed.
void Run(frmDovetem& w, FakeMessageBoxes& boxes) {
  Control<QLineEdit>(w, "txtRule1").setText(QStringLiteral("new_*"));
  boxes.QueueAnswer(MsgAnswer::Yes);
  Click(Control<QPushButton>(w, "cmdRuleExecute", 1));
  ASSERT_NE(w.State().ChangeState, 0) << "the run did not run";
}

const WindowSequence kWindowSequences[] = {
    {"SelectionPageTabRound", 1, [](auto&, auto&) { Tabs(15); }, "lvwSelect"},
    {"SelectionPageShiftTabRound", 1, [](auto&, auto&) { Tabs(15, Qt::ShiftModifier); },
     "lvwSelect2"},
    {"SelectionPageTabToTheDefaultThenClickElsewhere", 1,
     [](auto& w, auto&) {
       Tabs(9);
       ASSERT_EQ(FocusName(), "cmdSelectNext");
       Click(*Control<QAbstractItemView>(w, "lvwSelect2").viewport(), QPoint(5, 5));
       ASSERT_EQ(FocusName(), "lvwSelect2");
     },
     "lvwSelect2"},
    {"SelectionPageGuardAnsweredNo", 1,
     [](auto& w, auto& boxes) {
       Click(Control<QPushButton>(w, "cmdSelectNext"));
       Run(w, boxes);
       Click(Control<QPushButton>(w, "cmdRuleBack"));
       ASSERT_EQ(w.CurrentPage(), 1);
       Tabs(7);  // from the listing to "決定＞"
       ASSERT_EQ(FocusName(), "cmdSelectNext");
       boxes.Clear();
       boxes.QueueAnswer(MsgAnswer::No);
       Click(Control<QPushButton>(w, "cmdCommandView", 1));
       ASSERT_EQ(boxes.Count(), 1u) << "the guard question";
     },
     "lvwSelect"},
    {"SelectionPageTabRoundThenAFocusedButton", 1, [](auto&, auto&) { Tabs(15 + 4); },
     "cmdSelectRefresh"},
    {"RulePageTabRound", 2, [](auto&, auto&) { Tabs(16); }, "txtRule1"},
    {"RulePageQuestionAnsweredNoThenClickElsewhere", 2,
     [](auto& w, auto& boxes) {
       boxes.QueueAnswer(MsgAnswer::No);
       Click(Control<QPushButton>(w, "cmdRuleExecute", 1));
       ASSERT_EQ(boxes.Count(), 1u) << "the run's question";
       Click(Control<QLineEdit>(w, "txtRule2"));
       ASSERT_EQ(FocusName(), "txtRule2");
     },
     "txtRule2"},
    {"RulePageAfterARun", 2,
     [](auto& w, auto& boxes) {
       Run(w, boxes);
       Click(Control<QLineEdit>(w, "txtRule1"));
     },
     "txtRule1"},
    {"RulePageRunThenGuardAnsweredNo", 2,
     [](auto& w, auto& boxes) {
       Run(w, boxes);
       boxes.Clear();
       boxes.QueueAnswer(MsgAnswer::No);
       Click(Control<QPushButton>(w, "cmdCommandSetting", 2));
       ASSERT_EQ(boxes.Count(), 1u) << "the guard question";
     },
     "lvwOrder"},
    {"RulePageRunThenAFocusedButton", 2,
     [](auto& w, auto& boxes) {
       Run(w, boxes);
       Tabs(2);
     },
     "cmdRuleUndo"},
};

class WindowDefaultButtonTest : public ::testing::TestWithParam<WindowSequence> {};

TEST_P(WindowDefaultButtonTest, KeepsItsLookAndTakesReturn) {
  const WindowSequence& s = GetParam();
  TempDir work;
  work.MakeFile(u"a.txt");
  WindowHarness h;
  h.store.Set(u"general", u"defpath", work.path());
  frmDovetem& w = h.Start(Capacities::Large(), {work.PathOf(u"a.txt")});
  if (s.page == 2) Click(Control<QPushButton>(w, "cmdSelectNext"));
  ASSERT_EQ(w.CurrentPage(), s.page);
  s.steps(w, h.boxes);
  if (HasFatalFailure()) return;
  ASSERT_EQ(w.CurrentPage(), s.page);
  QPushButton& button = DefaultOf(w, s.page);
  EXPECT_TRUE(button.isDefault()) << "with the focus on " << FocusName().toStdString();

  QWidget& target = Control(w, s.returnIn);
  target.setFocus(Qt::OtherFocusReason);
  ASSERT_EQ(FocusName(), s.returnIn);
  EXPECT_TRUE(button.isDefault());
  auto* focusedButton = qobject_cast<QPushButton*>(&target);
  QSignalSpy pressed(focusedButton != nullptr ? focusedButton : &button, &QPushButton::clicked);
  QSignalSpy defaultPressed(&button, &QPushButton::clicked);
  h.boxes.Clear();
  ASSERT_TRUE(TypeKey(Qt::Key_Return));
  EXPECT_EQ(pressed.count(), 1);
  if (focusedButton != nullptr) {
    EXPECT_EQ(defaultPressed.count(), 0);
  } else if (s.page == 1) {
    EXPECT_EQ(w.CurrentPage(), 2);
  } else {
    // "名前変更" asks its question, or after a run refuses a second one.
    EXPECT_EQ(h.boxes.Count(), 1u);
  }
}

INSTANTIATE_TEST_SUITE_P(Sequences, WindowDefaultButtonTest, ::testing::ValuesIn(kWindowSequences),
                         [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------
// The settings dialog. Each row ends with a switch of the tab strip while a
// control of the page had the focus; the focus then stays in sight, "決定"
// stays the default button, and Return closes the dialog with it.

struct DialogSequence {
  const char* name;
  std::function<void(frmDovetemSetting&, FakeMessageBoxes&)> steps;
  // After the switch, Shift+Tab this many times from the tab strip to one of
  // the buttons, which then presses itself on Return.
  int backTabs = 0;
  const char* pressed = "cmdCommandExecute";
};

void PrintTo(const DialogSequence& s, std::ostream* os) { *os << s.name; }

QTabBar& TabStrip(const QWidget& d) { return Control<QTabBar>(d, "tbsSetting"); }
void ClickTab(const QWidget& d, int tab) {
  Click(TabStrip(d), TabStrip(d).tabRect(tab).center());
  ASSERT_EQ(TabStrip(d).currentIndex(), tab);
}

// The stops of a Tab round while `page` is shown, as the dialog holds them:
// the page's controls that Tab gives the focus to (the one button of an
// option group that takes it), the buttons in sight and the tab strip.
int TabStops(const QWidget& d, int page) {
  int stops = 1;
  for (const QWidget* w : Control(d, "fraSetting", page).findChildren<QWidget*>())
    if ((w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(&d)) ++stops;
  for (const QPushButton* b : d.findChildren<QPushButton*>())
    if (b->isVisibleTo(&d)) ++stops;
  return stops;
}

void EditThenAnotherTab(frmDovetemSetting& d, FakeMessageBoxes&) {
  Click(Control<QLineEdit>(d, "txtGenName"));
  ASSERT_TRUE(TypeKey(Qt::Key_X));
  ClickTab(d, 3);
}

const DialogSequence kDialogSequences[] = {
    {"ClickIntoABoxThenAnotherTab",
     [](auto& d, auto&) {
       Click(Control<QLineEdit>(d, "txtGenFolder"));
       ClickTab(d, 1);
     }},
    {"TypeIntoABoxThenAnotherTab", EditThenAnotherTab},
    {"TabRoundThenAnotherTab",
     [](auto& d, auto&) {
       TabStrip(d).setFocus(Qt::OtherFocusReason);
       ASSERT_TRUE(TypeKey(Qt::Key_Tab));
       QWidget* first = QApplication::focusWidget();
       ASSERT_TRUE(Control(d, "fraSetting", 1).isAncestorOf(first)) << FocusName().toStdString();
       Tabs(TabStops(d, 1));  // a whole round, back to the page's first control
       ASSERT_EQ(QApplication::focusWidget(), first) << FocusName().toStdString();
       ClickTab(d, 2);
     }},
    {"ACheckBoxThenAnotherTab",
     [](auto& d, auto&) {
       ClickTab(d, 3);
       QWidget& box = Control(d, "chkActMix");
       Click(box, QPoint(6, box.height() / 2));
       ASSERT_EQ(FocusName(), "chkActMix");
       ClickTab(d, 0);
     }},
    {"SaveAnsweredNoThenABoxThenAnotherTab",
     [](auto& d, auto& boxes) {
       boxes.QueueAnswer(MsgAnswer::No);
       Click(Control<QPushButton>(d, "cmdCommandSave"));
       ASSERT_EQ(boxes.Count(), 1u);
       Click(Control<QLineEdit>(d, "txtGenName"));
       ClickTab(d, 2);
     }},
    {"RefusedValueThenAnotherTab",
     [](auto& d, auto& boxes) {
       ClickTab(d, 1);
       Click(Control<QLineEdit>(d, "txtRuleMark", 3));
       ASSERT_TRUE(TypeKey(Qt::Key_Backspace));
       ASSERT_TRUE(TypeKey(Qt::Key_Delete));
       ASSERT_TRUE(TypeKey(Qt::Key_Return));  // the warning of the empty symbol
       ASSERT_EQ(boxes.Count(), 1u);
       ASSERT_TRUE(d.isVisible());
       ASSERT_TRUE(TypeKey(Qt::Key_Z));
       ClickTab(d, 0);
     }},
    // A focused button of the row presses itself.
    {"EditThenAnotherTabThenTheLoadButton", EditThenAnotherTab, 5, "cmdCommandLoad"},
    {"EditThenAnotherTabThenTheSaveButton", EditThenAnotherTab, 4, "cmdCommandSave"},
    {"EditThenAnotherTabThenTheClearButton", EditThenAnotherTab, 3, "cmdCommandInit"},
    {"EditThenAnotherTabThenTheCancelButton", EditThenAnotherTab, 1, "cmdCommandCancel"},
};

class DialogDefaultButtonTest : public ::testing::TestWithParam<DialogSequence> {};

TEST_P(DialogDefaultButtonTest, ReturnAfterATabSwitchPressesExecute) {
  const DialogSequence& s = GetParam();
  FakeMessageBoxes boxes;
  testing::MemorySettingsStore store;
  SettingsModule settings{store, boxes};
  frmDovetemSetting d(settings, boxes);
  d.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&d, testing::kEventWaitMs));
  s.steps(d, boxes);
  if (HasFatalFailure()) return;

  QWidget* focused = QApplication::focusWidget();
  ASSERT_NE(focused, nullptr);
  EXPECT_TRUE(focused->isVisible()) << FocusName().toStdString() << " is out of sight";
  EXPECT_EQ(focused, &TabStrip(d)) << FocusName().toStdString();
  QPushButton& execute = Control<QPushButton>(d, "cmdCommandExecute");
  EXPECT_TRUE(execute.isDefault());
  Tabs(s.backTabs, Qt::ShiftModifier);
  ASSERT_EQ(FocusName(), s.backTabs == 0 ? QStringLiteral("tbsSetting") : s.pressed);

  QPushButton& button = Control<QPushButton>(d, s.pressed);
  QSignalSpy pressed(&button, &QPushButton::clicked);
  QSignalSpy executed(&execute, &QPushButton::clicked);
  boxes.Clear();
  ASSERT_TRUE(TypeKey(Qt::Key_Return));
  EXPECT_EQ(pressed.count(), 1);
  if (&button == &execute) {
    EXPECT_EQ(boxes.Count(), 0u) << "a question or a warning instead of the close";
    EXPECT_EQ(settings.SettingsApplied, 1);
    EXPECT_FALSE(d.isVisible());
    return;
  }
  EXPECT_EQ(executed.count(), 0);
  EXPECT_EQ(settings.SettingsApplied, 0);
  // "キャンセル" closes; the others ask their question (answered No).
  EXPECT_EQ(d.isVisible(), boxes.Count() == 1u);
}

INSTANTIATE_TEST_SUITE_P(Sequences, DialogDefaultButtonTest, ::testing::ValuesIn(kDialogSequences),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace dovetam
