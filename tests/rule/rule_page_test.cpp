// The rule page offscreen: the preview follows the rule boxes, errors show in
// their brackets, pasted control characters go, the scope box lays the boxes
// out, and the guard of a finished run restores the run's rule on No.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "app/twips.h"
#include "rule/rule_page.h"
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
