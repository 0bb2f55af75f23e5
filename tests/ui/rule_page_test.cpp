// The rule page offscreen: the preview follows the rule boxes, errors show in
// their brackets, pasted control characters go, the scope box lays the boxes
// out, keys released in the order list refresh it, and the guard of a
// finished run restores the run's rule on No.
#include <QCheckBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTreeView>

#include "ui/widgets/twips.h"
#include "core/rule/rule_page.h"
#include "testing/window_harness.h"

namespace dovetam {
namespace {

using testing::WindowHarness;

QString Q(const char16_t* s) { return QString::fromStdU16String(s); }

class RulePageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    w = &h.Start();
    w->ShowPage(2);
  }
  WindowHarness h;
  frmDovetem* w = nullptr;
};

TEST_F(RulePageTest, SampleNameIsShownWithNothingSelected) {
  w->ShowRulePreview();
  EXPECT_EQ(w->lblRuleName1->text(), Q(u"abc123_xyz0056(1).txt"));
  EXPECT_EQ(w->lblRuleName2->text(), Q(u"abc123_xyz0056(1).txt"));
  EXPECT_EQ(w->engine.context.CurPos, 3);
  EXPECT_EQ(w->engine.context.CurTotal, 10);
  EXPECT_EQ(FormatDate(w->engine.context.CurModified), u"1990/01/02 03:04:05");
  EXPECT_EQ(FormatDate(w->engine.context.CurCreated), u"1991/06/07 08:09:10");
  EXPECT_EQ(w->engine.context.CurPath, u"");
  EXPECT_FALSE(w->engine.context.CurIsFolder);
}

TEST_F(RulePageTest, TypingUpdatesThePreview) {
  w->txtRule1->setFocus();
  w->txtRule1->selectAll();
  QTest::keyClicks(w->txtRule1, QStringLiteral("new_*"));
  EXPECT_EQ(w->lblRuleName2->text(), Q(u"new_abc123_xyz0056(1).txt"));
  w->txtRule2->setText(QStringLiteral("bak"));
  EXPECT_EQ(w->lblRuleName2->text(), Q(u"new_abc123_xyz0056(1).bak"));
  w->chkRule->setChecked(true);
  EXPECT_EQ(w->lblRuleName2->text(), Q(u"new_abc123_xyz0056(1).txt"));
}

TEST_F(RulePageTest, ErrorsShowInTheirBrackets) {
  // A forbidden character in the result is a generated-name error.
  w->txtRule1->setText(QStringLiteral("a:b"));
  EXPECT_EQ(w->lblRuleName2->text(), Q(u"<生成名\"a:b\"に禁則文字\":\"が含まれています。>"));
  // So is an empty name part.
  w->txtRule1->setText(QString());
  EXPECT_EQ(w->lblRuleName2->text(), Q(u"<生成名\".txt\"に空の部分が含まれています。>"));
  // An unpaired selection section is an error in the rule.
  w->txtRule1->setText(QStringLiteral("a?b"));
  EXPECT_TRUE(w->lblRuleName2->text().startsWith(QLatin1Char('('))) << w->lblRuleName2->text().toStdString();
  EXPECT_TRUE(w->lblRuleName2->text().endsWith(QLatin1Char(')')));
}

TEST_F(RulePageTest, AmpersandIsShownAsItIs) {
  w->settings.settings.SampleName = u"a&b.txt";
  w->txtRule1->setText(QStringLiteral("*&"));
  EXPECT_EQ(w->lblRuleName1->text(), QStringLiteral("a&b.txt"));
  EXPECT_EQ(w->lblRuleName2->text(), QStringLiteral("a&b&.txt"));
}

TEST_F(RulePageTest, PastedControlCharactersAreRemoved) {
  w->txtRule1->setText(QStringLiteral("a\tb\r\nc\x7f*"));
  EXPECT_EQ(w->txtRule1->text(), QStringLiteral("abc*"));
  w->txtRule2->setText(QStringLiteral("\x01\x02x"));
  EXPECT_EQ(w->txtRule2->text(), QStringLiteral("x"));
}

TEST(RemoveControlCharacters, KeepsEverythingElse) {
  const std::u16string text(u"\u0000a\u001f\u0020\u007f\u0080あ", 7);
  EXPECT_EQ(RemoveControlCharacters(text), u"a \u0080あ");
}

TEST_F(RulePageTest, ScopeBoxWidensTheFirstRuleBox) {
  const int narrow = TwipsToPixels(5535, w);
  EXPECT_EQ(w->txtRule1->width(), narrow);
  EXPECT_EQ(w->txtRule1->toolTip(), Q(u"\".\"の前の部分に適用する変更規則を入力します。"));
  EXPECT_EQ(w->txtRule2->toolTip(), Q(u"\".\"の後の部分に適用する変更規則を入力します。"));
  w->chkRule->setChecked(true);
  EXPECT_EQ(w->txtRule1->width(), TwipsToPixels(6120 + 3615, w) - TwipsToPixels(240, w));
  EXPECT_EQ(w->txtRule1->geometry().right(), w->txtRule2->geometry().right());
  EXPECT_EQ(w->txtRule1->toolTip(), Q(u"名前全体に適用する変更規則を入力します。"));
  EXPECT_TRUE(w->txtRule2->isVisibleTo(w));
  w->chkRule->setChecked(false);
  EXPECT_EQ(w->txtRule1->width(), narrow);
  EXPECT_EQ(w->txtRule1->toolTip(), Q(u"\".\"の前の部分に適用する変更規則を入力します。"));
}

TEST_F(RulePageTest, OneRuleBoxLiesOverTheSeparatorAndTheSecondBox) {
  // Points of the page: the right part of the wide box, and the separator.
  const QPoint overBox2 = w->txtRule2->geometry().center();
  const QPoint overSeparator = w->lblRule2->geometry().center();
  w->chkRule->setChecked(true);
  EXPECT_EQ(w->fraDovetem2->childAt(overBox2), w->txtRule1);
  EXPECT_EQ(w->fraDovetem2->childAt(overSeparator), w->txtRule1);

  // A click there types into the one rule, and the preview follows it.
  QTest::mouseClick(w->windowHandle(), Qt::LeftButton, {}, w->fraDovetem2->mapTo(w, overBox2));
  ASSERT_EQ(w->focusWidget(), w->txtRule1);
  w->txtRule1->end(false);
  QTest::keyClicks(w->focusWidget(), QStringLiteral(".bak"));
  EXPECT_EQ(w->txtRule1->text(), QStringLiteral("*.bak"));
  EXPECT_EQ(w->txtRule2->text(), QStringLiteral("*"));
  EXPECT_EQ(w->lblRuleName2->text(), Q(u"abc123_xyz0056(1).txt.bak"));
  // Tab does not go into the covered box either.
  QTest::keyClick(w->txtRule1, Qt::Key_Tab);
  EXPECT_EQ(w->focusWidget(), w->chkRule);

  // Two rules again: both boxes and the separator as they were.
  w->chkRule->setChecked(false);
  EXPECT_EQ(w->fraDovetem2->childAt(overBox2), w->txtRule2);
  EXPECT_EQ(w->fraDovetem2->childAt(overSeparator), w->lblRule2);
  w->txtRule1->setFocus();
  QTest::keyClick(w->txtRule1, Qt::Key_Tab);
  EXPECT_EQ(w->focusWidget(), w->txtRule2);
}

TEST(RulePageOrderKeys, KeyReleaseRefreshesUnlessShiftCtrlOrAltIsHeld) {
  testing::TempDir work;
  work.MakeFile(u"a.txt");
  work.MakeFile(u"b.txt");
  WindowHarness h;
  frmDovetem& w = h.Start();
  w.AddObjectsFromArguments({work.PathOf(u"a.txt"), work.PathOf(u"b.txt")});
  w.cmdSelectNext_Click();
  ASSERT_EQ(w.OrderItemCount(), 2);
  EXPECT_EQ(w.lblRuleName1->text(), QStringLiteral("a.txt"));

  // Down on the numeric keypad, as a person presses it.
  w.lvwOrder->setFocus();
  QTest::keyPress(w.lvwOrder, Qt::Key_Down, Qt::KeypadModifier);
  ASSERT_EQ(w.FirstSelectedOrderPosition(), 2);
  EXPECT_EQ(w.lblRuleName1->text(), QStringLiteral("a.txt"));  // on release only
  QTest::keyRelease(w.lvwOrder, Qt::Key_Down, Qt::KeypadModifier);
  EXPECT_EQ(w.lblRuleName1->text(), QStringLiteral("b.txt"));

  struct Row {
    const char* name;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    bool refreshes;
  } rows[] = {
      {"plain key", Qt::Key_Up, Qt::NoModifier, true},
      {"keypad key", Qt::Key_Up, Qt::KeypadModifier, true},
      {"keypad key with Shift", Qt::Key_Up, Qt::KeypadModifier | Qt::ShiftModifier, false},
      {"with Ctrl", Qt::Key_Up, Qt::ControlModifier, false},
      {"with Alt", Qt::Key_Up, Qt::AltModifier, false},
      // Qt reports a modifier key's own release without that modifier.
      {"Shift itself", Qt::Key_Shift, Qt::ShiftModifier, true},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    const int shown = w.FirstSelectedOrderPosition();
    const int other = 3 - shown;
    w.lvwOrder->selectionModel()->setCurrentIndex(
        w.lvwOrder->model()->index(other - 1, 0),
        QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    QKeyEvent release(QEvent::KeyRelease, r.key, r.modifiers);
    QApplication::sendEvent(w.lvwOrder, &release);
    const int expected = r.refreshes ? other : shown;
    EXPECT_EQ(w.lblRuleName1->text(), expected == 1 ? QStringLiteral("a.txt") : QStringLiteral("b.txt"));
    w.ShowRulePreview();
  }
}

TEST_F(RulePageTest, GuardAfterARunRestoresTheRunsRuleOnNo) {
  w->txtRule1->setText(QStringLiteral("run_*"));
  w->LastRule1 = u"run_*";
  w->LastRule2 = u"*";
  w->LastChkRule = false;
  w->ChangeState = 3;
  const QString previewBefore = w->lblRuleName2->text();

  h.boxes.QueueAnswer(MsgAnswer::No);
  w->txtRule1->setText(QStringLiteral("other"));
  ASSERT_EQ(h.boxes.Count(), 1u);
  EXPECT_EQ(h.boxes.Last().icon, MsgIcon::Exclamation);
  EXPECT_EQ(w->txtRule1->text(), QStringLiteral("run_*"));
  EXPECT_EQ(w->ChangeState, 3);
  EXPECT_EQ(w->lblRuleName2->text(), previewBefore);

  h.boxes.QueueAnswer(MsgAnswer::No);
  w->chkRule->setChecked(true);
  EXPECT_FALSE(w->chkRule->isChecked());

  h.boxes.QueueAnswer(MsgAnswer::No);
  w->txtRule2->setText(QStringLiteral("x"));
  EXPECT_EQ(w->txtRule2->text(), QStringLiteral("*"));
  EXPECT_EQ(h.boxes.Count(), 3u);

  h.boxes.QueueAnswer(MsgAnswer::Yes);
  w->txtRule1->setText(QStringLiteral("yes_*"));
  EXPECT_EQ(w->ChangeState, 0);
  EXPECT_EQ(w->txtRule1->text(), QStringLiteral("yes_*"));
  EXPECT_EQ(w->lblRuleName2->text(), Q(u"yes_abc123_xyz0056(1).txt"));
}

}  // namespace
}  // namespace dovetam
