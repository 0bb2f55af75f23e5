// The rule page offscreen: the preview follows the rule boxes, errors show in
// their brackets, pasted control characters go, the scope box lays the boxes
// out, keys released in the order list refresh it, and the guard of a
// finished run restores the run's rule on No.
#include <QCheckBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "ui/widgets/twips.h"
#include "core/rule/rule_page.h"
#include "testing/window_harness.h"

namespace dovetam {
namespace {

using testing::Control;
using testing::WindowHarness;

QString Q(const char16_t* s) { return QString::fromStdU16String(s); }

class RulePageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    w = &h.Start();
    w->ShowPage(2);
    page = &testing::RulePage(*w);
    txtRule1 = &Control<QLineEdit>(*w, "txtRule1");
    txtRule2 = &Control<QLineEdit>(*w, "txtRule2");
    chkRule = &Control<QCheckBox>(*w, "chkRule");
    lblRule2 = &Control<QLabel>(*w, "lblRule2");
    lblRuleName1 = &Control<QLabel>(*w, "lblRuleName1");
    lblRuleName2 = &Control<QLabel>(*w, "lblRuleName2");
  }
  WindowHarness h;
  frmDovetem* w = nullptr;
  fraDovetem2* page = nullptr;
  QLineEdit* txtRule1 = nullptr;
  QLineEdit* txtRule2 = nullptr;
  QCheckBox* chkRule = nullptr;
  QLabel* lblRule2 = nullptr;
  QLabel* lblRuleName1 = nullptr;
  QLabel* lblRuleName2 = nullptr;
};

TEST_F(RulePageTest, SampleNameIsShownWithNothingSelected) {
  page->ShowRulePreview();
  EXPECT_EQ(lblRuleName1->text(), Q(u"abc123_xyz0056(1).txt"));
  EXPECT_EQ(lblRuleName2->text(), Q(u"abc123_xyz0056(1).txt"));
  EXPECT_EQ(w->State().engine.context.CurPos, 3);
  EXPECT_EQ(w->State().engine.context.CurTotal, 10);
  EXPECT_EQ(FormatDate(w->State().engine.context.CurModified), u"1990/01/02 03:04:05");
  EXPECT_EQ(FormatDate(w->State().engine.context.CurCreated), u"1991/06/07 08:09:10");
  EXPECT_EQ(w->State().engine.context.CurPath, u"");
  EXPECT_FALSE(w->State().engine.context.CurIsFolder);
}

TEST_F(RulePageTest, TypingUpdatesThePreview) {
  txtRule1->setFocus();
  txtRule1->selectAll();
  QTest::keyClicks(txtRule1, QStringLiteral("new_*"));
  EXPECT_EQ(lblRuleName2->text(), Q(u"new_abc123_xyz0056(1).txt"));
  txtRule2->setText(QStringLiteral("bak"));
  EXPECT_EQ(lblRuleName2->text(), Q(u"new_abc123_xyz0056(1).bak"));
  chkRule->setChecked(true);
  EXPECT_EQ(lblRuleName2->text(), Q(u"new_abc123_xyz0056(1).txt"));
}

TEST_F(RulePageTest, ErrorsShowInTheirBrackets) {
  // A forbidden character in the result is a generated-name error.
  txtRule1->setText(QStringLiteral("a:b"));
  EXPECT_EQ(lblRuleName2->text(), Q(u"<生成名\"a:b\"に禁則文字\":\"が含まれています。>"));
  // So is an empty name part.
  txtRule1->setText(QString());
  EXPECT_EQ(lblRuleName2->text(), Q(u"<生成名\".txt\"に空の部分が含まれています。>"));
  // An unpaired selection section is an error in the rule.
  txtRule1->setText(QStringLiteral("a?b"));
  EXPECT_TRUE(lblRuleName2->text().startsWith(QLatin1Char('(')))
      << lblRuleName2->text().toStdString();
  EXPECT_TRUE(lblRuleName2->text().endsWith(QLatin1Char(')')));
}

TEST_F(RulePageTest, AmpersandIsShownAsItIs) {
  w->State().settings.settings.SampleName = u"a&b.txt";
  txtRule1->setText(QStringLiteral("*&"));
  EXPECT_EQ(lblRuleName1->text(), QStringLiteral("a&b.txt"));
  EXPECT_EQ(lblRuleName2->text(), QStringLiteral("a&b&.txt"));
}

TEST_F(RulePageTest, PastedControlCharactersAreRemoved) {
  txtRule1->setText(QStringLiteral("a\tb\r\nc\x7f*"));
  EXPECT_EQ(txtRule1->text(), QStringLiteral("abc*"));
  txtRule2->setText(QStringLiteral("\x01\x02x"));
  EXPECT_EQ(txtRule2->text(), QStringLiteral("x"));
}

TEST(RemoveControlCharacters, KeepsEverythingElse) {
  const std::u16string text(u"\u0000a\u001f\u0020\u007f\u0080あ", 7);
  EXPECT_EQ(RemoveControlCharacters(text), u"a \u0080あ");
}

TEST_F(RulePageTest, ScopeBoxWidensTheFirstRuleBox) {
  const int narrow = TwipsToPixels(5535, w);
  EXPECT_EQ(txtRule1->width(), narrow);
  EXPECT_EQ(txtRule1->toolTip(), Q(u"\".\"の前の部分に適用する変更規則を入力します。"));
  EXPECT_EQ(txtRule2->toolTip(), Q(u"\".\"の後の部分に適用する変更規則を入力します。"));
  chkRule->setChecked(true);
  EXPECT_EQ(txtRule1->width(), TwipsToPixels(6120 + 3615, w) - TwipsToPixels(240, w));
  EXPECT_EQ(txtRule1->geometry().right(), txtRule2->geometry().right());
  EXPECT_EQ(txtRule1->toolTip(), Q(u"名前全体に適用する変更規則を入力します。"));
  EXPECT_TRUE(txtRule2->isVisibleTo(w));
  chkRule->setChecked(false);
  EXPECT_EQ(txtRule1->width(), narrow);
  EXPECT_EQ(txtRule1->toolTip(), Q(u"\".\"の前の部分に適用する変更規則を入力します。"));
}

TEST_F(RulePageTest, OneRuleBoxLiesOverTheSeparatorAndTheSecondBox) {
  // Points of the page: the right part of the wide box, and the separator.
  const QPoint overBox2 = txtRule2->geometry().center();
  const QPoint overSeparator = lblRule2->geometry().center();
  chkRule->setChecked(true);
  EXPECT_EQ(page->childAt(overBox2), txtRule1);
  EXPECT_EQ(page->childAt(overSeparator), txtRule1);

  // A click there types into the one rule, and the preview follows it.
  QTest::mouseClick(w->windowHandle(), Qt::LeftButton, {}, page->mapTo(w, overBox2));
  ASSERT_EQ(w->focusWidget(), txtRule1);
  txtRule1->end(false);
  QTest::keyClicks(w->focusWidget(), QStringLiteral(".bak"));
  EXPECT_EQ(txtRule1->text(), QStringLiteral("*.bak"));
  EXPECT_EQ(txtRule2->text(), QStringLiteral("*"));
  EXPECT_EQ(lblRuleName2->text(), Q(u"abc123_xyz0056(1).txt.bak"));
  // Tab does not go into the covered box either.
  QTest::keyClick(txtRule1, Qt::Key_Tab);
  EXPECT_EQ(w->focusWidget(), chkRule);

  // Two rules again: both boxes and the separator as they were.
  chkRule->setChecked(false);
  EXPECT_EQ(page->childAt(overBox2), txtRule2);
  EXPECT_EQ(page->childAt(overSeparator), lblRule2);
  txtRule1->setFocus();
  QTest::keyClick(txtRule1, Qt::Key_Tab);
  EXPECT_EQ(w->focusWidget(), txtRule2);
}

TEST(RulePageOrderKeys, KeyReleaseRefreshesUnlessShiftCtrlOrAltIsHeld) {
  testing::TempDir work;
  work.MakeFile(u"a.txt");
  work.MakeFile(u"b.txt");
  WindowHarness h;
  frmDovetem& w = h.Start(Capacities::Large(), {work.PathOf(u"a.txt"), work.PathOf(u"b.txt")});
  Control<QPushButton>(w, "cmdSelectNext").click();
  fraDovetem2& page = testing::RulePage(w);
  ListView& lvwOrder = Control<ListView>(w, "lvwOrder");
  QLabel& lblRuleName1 = Control<QLabel>(w, "lblRuleName1");
  const auto shownPosition = [&w] { return testing::FirstSelectedPosition(w, "lvwOrder"); };
  ASSERT_EQ(testing::ListModel(w, "lvwOrder").RowCount(), 2);
  EXPECT_EQ(lblRuleName1.text(), QStringLiteral("a.txt"));

  // Down on the numeric keypad, as a person presses it.
  lvwOrder.setFocus();
  QTest::keyPress(&lvwOrder, Qt::Key_Down, Qt::KeypadModifier);
  ASSERT_EQ(shownPosition(), 2);
  EXPECT_EQ(lblRuleName1.text(), QStringLiteral("a.txt"));  // on release only
  QTest::keyRelease(&lvwOrder, Qt::Key_Down, Qt::KeypadModifier);
  EXPECT_EQ(lblRuleName1.text(), QStringLiteral("b.txt"));

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
    const int shown = shownPosition();
    const int other = 3 - shown;
    lvwOrder.selectionModel()->setCurrentIndex(
        lvwOrder.model()->index(other - 1, 0),
        QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    QKeyEvent release(QEvent::KeyRelease, r.key, r.modifiers);
    QApplication::sendEvent(&lvwOrder, &release);
    const int expected = r.refreshes ? other : shown;
    EXPECT_EQ(lblRuleName1.text(),
              expected == 1 ? QStringLiteral("a.txt") : QStringLiteral("b.txt"));
    page.ShowRulePreview();
  }
}

TEST_F(RulePageTest, GuardAfterARunRestoresTheRunsRuleOnNo) {
  txtRule1->setText(QStringLiteral("run_*"));
  w->State().LastRule1 = u"run_*";
  w->State().LastRule2 = u"*";
  w->State().LastChkRule = false;
  w->State().ChangeState = 3;
  const QString previewBefore = lblRuleName2->text();

  h.boxes.QueueAnswer(MsgAnswer::No);
  txtRule1->setText(QStringLiteral("other"));
  ASSERT_EQ(h.boxes.Count(), 1u);
  EXPECT_EQ(h.boxes.Last().icon, MsgIcon::Exclamation);
  EXPECT_EQ(txtRule1->text(), QStringLiteral("run_*"));
  EXPECT_EQ(w->State().ChangeState, 3);
  EXPECT_EQ(lblRuleName2->text(), previewBefore);

  h.boxes.QueueAnswer(MsgAnswer::No);
  chkRule->setChecked(true);
  EXPECT_FALSE(chkRule->isChecked());

  h.boxes.QueueAnswer(MsgAnswer::No);
  txtRule2->setText(QStringLiteral("x"));
  EXPECT_EQ(txtRule2->text(), QStringLiteral("*"));
  EXPECT_EQ(h.boxes.Count(), 3u);

  h.boxes.QueueAnswer(MsgAnswer::Yes);
  txtRule1->setText(QStringLiteral("yes_*"));
  EXPECT_EQ(w->State().ChangeState, 0);
  EXPECT_EQ(txtRule1->text(), QStringLiteral("yes_*"));
  EXPECT_EQ(lblRuleName2->text(), Q(u"yes_abc123_xyz0056(1).txt"));
}

}  // namespace
}  // namespace dovetam
