// Text sections and codes: the name symbol, position, clip and date codes,
// widths with padding and cutting, repeat sections and their cut markers.
#include "core/rule/text_expansion.h"

#include <gtest/gtest.h>

#include "rule_test_support.h"

namespace dovetam {
namespace {

using testing::RuleCallTest;

constexpr char16_t kFormatError[] = u"\"\\～\"内の形式が正しくありません。";
constexpr char16_t kDigitsError[] = u"\"\\～\"内の桁数が多すぎます。";

struct ExpandCase {
  const char* name;
  std::u16string text;
  std::u16string expected;  // or the error text when `fails`
  bool fails = false;
};

// Object 7 of 10, last modified 1990/1/2 3:04:05, created 1991/6/7 8:09:10,
// name part "name", clip items a, b, c with the front cursor at 1.
class ExpandTest : public RuleCallTest, public ::testing::WithParamInterface<ExpandCase> {
 protected:
  void SetUp() override {
    ws.CurNamePart = u"name";
    SetClipItems({u"a", u"b", u"c"});
  }
};

TEST_P(ExpandTest, GivesTextOrError) {
  const ExpandCase& c = GetParam();
  const std::u16string got = ExpandSections(call, c.text);
  if (c.fails) {
    EXPECT_EQ(got, u"");
    EXPECT_EQ(context.RuleErrorKind, 1);
    EXPECT_EQ(context.RuleErrorText, c.expected);
  } else {
    EXPECT_EQ(context.RuleErrorKind, 0) << std::string(context.RuleErrorText.begin(), context.RuleErrorText.end());
    EXPECT_EQ(got, c.expected);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Literal, ExpandTest,
    ::testing::Values(ExpandCase{"plainText", u"abc", u"abc"},
                      ExpandCase{"nameSymbol", u"x*y*", u"xnameyname"},
                      ExpandCase{"empty", u"", u""}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Position, ExpandTest,
    ::testing::Values(ExpandCase{"plain", u"\\n", u"7"},
                      ExpandCase{"zeroPadded", u"\\05n", u"00007"},
                      ExpandCase{"zeroPaddedLeft", u"\\05ln", u"70000"},
                      ExpandCase{"blankPadded", u"\\5n", u"    7"},
                      ExpandCase{"fromTheEnd", u"\\-n", u"4"},
                      ExpandCase{"fromTheEndPadded", u"\\03-n", u"004"},
                      ExpandCase{"blanksInsideCode", u"\\0 3\u3000n", u"007"},
                      ExpandCase{"cutKeepsRight", u"\\1in", u"7"},
                      ExpandCase{"cutOnlyNoPad", u"\\5dn", u"7"},
                      ExpandCase{"percentWidth", u"\\3%n", u"  7"},
                      ExpandCase{"zeroFlagWithoutWidth", u"\\0n", kFormatError, true},
                      ExpandCase{"flagWithoutWidth", u"\\ln", kFormatError, true},
                      ExpandCase{"countNotAllowed", u"\\+2n", kFormatError, true}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Clip, ExpandTest,
    ::testing::Values(ExpandCase{"sequential", u"\\c-\\c", u"a-b"},
                      ExpandCase{"backward", u"\\-c\\-c", u"cb"},
                      ExpandCase{"indexNoWidth", u"\\3c", u"c"},
                      ExpandCase{"indexFromEnd", u"\\-2c", u"b"},
                      ExpandCase{"indexBeyondCount", u"[\\5%+4c]", u"[]"},
                      ExpandCase{"sequentialInField", u"\\3%c", u"a  "},
                      ExpandCase{"all", u"\\C", u"abc"},
                      ExpandCase{"allWithSign", u"\\-C", kFormatError, true},
                      ExpandCase{"zeroFlag", u"\\03c", kFormatError, true},
                      ExpandCase{"rightAligned", u"\\3r%c", u"  a"}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Dates, ExpandTest,
    ::testing::Values(ExpandCase{"yearModHundred", u"\\2Y", u"90"},
                      ExpandCase{"year", u"\\4Y", u"1990"},
                      ExpandCase{"yearInField", u"\\6%Y", u"  1990"},
                      ExpandCase{"yymmdd", u"\\D", u"900102"},
                      ExpandCase{"yyyymmdd", u"\\8D", u"19900102"},
                      ExpandCase{"zeroPaddedDate", u"\\08D", u"00900102"},
                      ExpandCase{"hhnn", u"\\4T", u"0304"},
                      ExpandCase{"hhnnss", u"\\T", u"030405"},
                      ExpandCase{"dateAndTime", u"\\64U", u"9001020304"},
                      ExpandCase{"createdLong", u"\\86E", u"19910607080910"},
                      ExpandCase{"monthDaySeconds", u"\\M-\\A-\\S", u"1-2-5"},
                      ExpandCase{"twoDigitMonth", u"\\02M", u"01"},
                      ExpandCase{"createdYear", u"\\eY", u"1991"},
                      ExpandCase{"createdHourMinute", u"\\eH:\\eI", u"8:9"},
                      ExpandCase{"yearCut", u"\\3iY", u"990"},
                      ExpandCase{"badDateCount", u"\\7D", kFormatError, true},
                      ExpandCase{"badTimeCount", u"\\5T", kFormatError, true},
                      ExpandCase{"sourceOnU", u"\\eU", kFormatError, true},
                      ExpandCase{"signOnDate", u"\\-Y", kFormatError, true},
                      ExpandCase{"conflictingSource", u"\\ueY", kFormatError, true}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Grammar, ExpandTest,
    ::testing::Values(ExpandCase{"yenAtEnd", u"ab\\", kFormatError, true},
                      ExpandCase{"widthAtEnd", u"\\5", kFormatError, true},
                      ExpandCase{"iAfterD", u"\\3idn", kFormatError, true},
                      ExpandCase{"lWithR", u"\\3lrn", kFormatError, true},
                      ExpandCase{"flagAfterPercent", u"\\6%rc", kFormatError, true},
                      ExpandCase{"widthTooLong", u"\\100000000n", kDigitsError, true},
                      ExpandCase{"widthEightDigits", u"\\99999999dn", u"7"},
                      ExpandCase{"countTooLong", u"\\+123456789c", kDigitsError, true},
                      ExpandCase{"unknownChar", u"\\x", u"\"\\～\"内で不正な文字\"x\"が使われています。", true},
                      ExpandCase{"closingParenthesis", u"\\)", u"\"\\～\"内で不正な文字\")\"が使われています。", true},
                      ExpandCase{"barOutside", u"a|b", u"\"<～>\"外では\"|\"を使用できません。", true},
                      ExpandCase{"widthBeyondLimit", u"\\5000000n", u"メモリ不足のため、処理を実行できませんでした。", true}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    RepeatSections, ExpandTest,
    ::testing::Values(ExpandCase{"onePerItem", u"<\\c>", u"abc"},
                      ExpandCase{"separatorDroppedAtEnd", u"<\\c, >", u"a, b, c"},
                      ExpandCase{"textAfterLastItemCut", u"<[\\c], >", u"[a], [b], [c"},
                      ExpandCase{"cutMovedToBar", u"<[\\c]|, >", u"[a], [b], [c]"},
                      ExpandCase{"noSequentialItem", u"x<abc>y", u"xy"},
                      ExpandCase{"backwardItems", u"<\\-c>", u"cba"},
                      ExpandCase{"outsideThenInside", u"\\c:<\\c;>", u"a:b;c"},
                      ExpandCase{"unclosed", u"<\\c", u"\"<～>\"の対応が取れていません。", true},
                      ExpandCase{"closerFirst", u"a>b<c>", u"\"<～>\"の対応が取れていません。", true},
                      ExpandCase{"nested", u"<a<b>>", u"\"<～>\"の対応が取れていません。", true},
                      ExpandCase{"closerAlone", u"ab>", u"\"<～>\"の対応が取れていません。", true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RuleCallTest, SequentialUseOutsideLeavesCursorAndPendingBit) {
  SetClipItems({u"a", u"b", u"c"});
  EXPECT_EQ(ExpandSections(call, u"\\c-\\c"), u"a-b");
  EXPECT_EQ(ws.ClipFront, 3);
  EXPECT_EQ(ws.OuterClipPending & 1, 1);
  EXPECT_EQ(ExpandSections(call, u"\\C"), u"abc");
  EXPECT_EQ(ws.OuterClipPending, 0);
}

TEST_F(RuleCallTest, RepeatSectionWithNoItemsLeftGivesNothing) {
  SetClipItems({u"a"});
  ws.ClipFront = 2;
  EXPECT_EQ(ExpandSections(call, u"[<\\c>]"), u"[]");
  EXPECT_EQ(context.RuleErrorKind, 0);
}

TEST_F(RuleCallTest, ClipItemsAreCutAndPaddedAsText) {
  SetClipItems({u"abcdef", u"ab"});
  EXPECT_EQ(ExpandSections(call, u"\\3ic"), u"abc");
  ws.ClipFront = 1;
  EXPECT_EQ(ExpandSections(call, u"\\3irc"), u"def");
  ws.ClipFront = 2;
  EXPECT_EQ(ExpandSections(call, u"[\\6%c]"), u"[ab    ]");
  ws.ClipFront = 2;
  EXPECT_EQ(ExpandSections(call, u"[\\6r%c]"), u"[    ab]");
}

// The clip list joined in every pass of a repeat section grows the text with
// the square of the list; an expansion is refused once it passes the limit.
TEST_F(RuleCallTest, ExpansionBeyondTheLimitIsRefusedAsMemoryShort) {
  const std::u16string half(kMaxExpandedText / 2, u'x');
  SetClipItems({half});
  EXPECT_EQ(ExpandSections(call, u"\\C\\C").size(), kMaxExpandedText);
  EXPECT_EQ(context.RuleErrorKind, 0);
  const struct {
    const char* name;
    std::u16string text;
  } rows[] = {{"outside", u"\\C\\Cy"}, {"repeatSection", u"<\\C\\c>"}, {"afterSection", u"\\C<\\c>y"}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    SetClipItems({half, half});
    context.RuleErrorKind = 0;
    EXPECT_EQ(ExpandSections(call, row.text), u"");
    EXPECT_EQ(context.RuleErrorKind, 1);
    EXPECT_EQ(context.RuleErrorText, u"メモリ不足のため、処理を実行できませんでした。");
  }
}

TEST_F(RuleCallTest, ConfiguredSymbolsAreUsed) {
  settings.ChrYen = u"#";
  settings.ChrAster = u"@";
  settings.ChrLt = u"[";
  settings.ChrGt = u"]";
  settings.ChrBar = u"!";
  ws.CurNamePart = u"n";
  EXPECT_EQ(ExpandSections(call, u"@#03n\\n*"), u"n007\\n*");
  EXPECT_EQ(ExpandSections(call, u"#q"), u"");
  EXPECT_EQ(context.RuleErrorText, u"\"#～\"内で不正な文字\"q\"が使われています。");
  EXPECT_EQ(ExpandSections(call, u"a!"), u"");
  EXPECT_EQ(context.RuleErrorText, u"\"[～]\"外では\"!\"を使用できません。");
  EXPECT_EQ(ExpandSections(call, u"a]"), u"");
  EXPECT_EQ(context.RuleErrorText, u"\"[～]\"の対応が取れていません。");
}

TEST_F(RuleCallTest, EscapedSymbolsStayLiteral) {
  settings.EscapeMode = true;
  ws.CurNamePart = u"n";
  EXPECT_EQ(ExpandSections(call, u"^*^\\^<^|^^*"), u"*\\<|^n");
  EXPECT_EQ(ExpandSections(call, u"a^"), u"");
  EXPECT_EQ(context.RuleErrorText, u"\"^\"の後に文字が指定されていません。");
}

}  // namespace
}  // namespace dovetam
