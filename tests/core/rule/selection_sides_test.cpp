// ParseSelectionOperand: the fields each side text gives (prefix, group,
// suffix), and its errors with the default and the configured chr_q1/chr_q2.
#include "core/rule/selection_sides.h"

#include <gtest/gtest.h>

#include "rule_test_support.h"

namespace dovetam {
namespace {

struct Fields {
  int16_t groupKind;
  std::u16string groupText;
  int16_t countKind;
  int16_t prefixSign;
  int32_t nth;
  int16_t prefixMode;
  int16_t flags;
  int16_t offsetKind;
  int16_t offsetSign;
  int32_t offset;  // checked only with offset kinds 2 and 3
  int16_t offsetMode;
};

struct SideCase {
  const char* name;
  std::u16string text;
  Fields expected;
};

// For sides without a group the prefix fields are not written: the table
// holds what the fixture's earlier side left there (see GroupFieldsOf).
const SideCase kSideCases[] = {
    {"allMatches", u"(abc)", {2, u"abc", 3, 1, 0, 0, 0, 1, 1, 0, 0}},
    {"nth", u"2(abc)", {2, u"abc", 1, 1, 2, 0, 0, 1, 1, 0, 0}},
    {"nthFromBack", u"-2(abc)", {2, u"abc", 1, 2, 2, 0, 0, 1, 1, 0, 0}},
    {"leadingZeroIgnored", u"02(abc)", {2, u"abc", 1, 1, 2, 0, 0, 1, 1, 0, 0}},
    {"numberWithInnerZero", u"+100(abc)", {2, u"abc", 1, 1, 100, 0, 0, 1, 1, 0, 0}},
    {"whole", u"=(abc)", {2, u"abc", 2, 1, 1, 0, 0, 1, 1, 0, 0}},
    {"anchoredFront", u"0(abc)", {2, u"abc", 2, 1, 0, 0, 0, 1, 1, 0, 0}},
    {"anchoredFrontSigned", u"+0(abc)", {2, u"abc", 2, 1, 0, 0, 0, 1, 1, 0, 0}},
    {"anchoredBack", u"-000(abc)", {2, u"abc", 2, 2, 0, 0, 0, 1, 1, 0, 0}},
    {"signAfterEquals", u"=-(abc)", {2, u"abc", 2, 2, 1, 0, 0, 1, 1, 0, 0}},
    {"prefixLetter", u"3r(abc)", {2, u"abc", 1, 1, 3, 4, 0, 1, 1, 0, 0}},
    {"letterWithoutCount", u"i(abc)", {2, u"abc", 3, 1, 0, 1, 0, 1, 1, 0, 0}},
    {"flagsAndOffset", u"(abc)lu+2i", {2, u"abc", 3, 1, 0, 0, 17, 2, 1, 2, 1}},
    {"offsetInside", u"(abc)+02", {2, u"abc", 3, 1, 0, 0, 0, 3, 1, 2, 0}},
    {"zeroOffset", u"(abc)+0", {2, u"abc", 3, 1, 0, 0, 0, 1, 1, 0, 0}},
    {"zeroOffsetBack", u"(abc)-00", {2, u"abc", 3, 1, 0, 0, 0, 1, 2, 0, 0}},
    {"repeatedFlag", u"(abc)ll", {2, u"abc", 3, 1, 0, 0, 1, 1, 1, 0, 0}},
    {"widthAndRight", u"(abc)zr-1d", {2, u"abc", 3, 1, 0, 0, 34, 2, 2, 1, 2}},
    {"signAndLetter", u"(abc)+i", {2, u"abc", 3, 1, 0, 0, 0, 1, 1, 0, 1}},
    {"squareGroup", u"1[a)b]", {2, u"a)b", 1, 1, 1, 0, 0, 1, 1, 0, 0}},
    {"otherBracketInside", u"(a]b)", {2, u"a]b", 3, 1, 0, 0, 0, 1, 1, 0, 0}},
    {"nestedBrackets", u"((a))", {2, u"(a)", 3, 1, 0, 0, 0, 1, 1, 0, 0}},
    {"emptyGroup", u"()", {2, u"", 3, 1, 0, 0, 0, 1, 1, 0, 0}},
    {"largestCount", u"99999999(a)", {2, u"a", 1, 1, 99999999, 0, 0, 1, 1, 0, 0}},
    {"blanksIgnored", u"- 2 (a) + 1", {2, u"a", 1, 2, 2, 0, 0, 2, 1, 1, 0}},
    {"ideographicBlanks", u"-\u30002(a)+\u30001", {2, u"a", 1, 2, 2, 0, 0, 2, 1, 1, 0}},
    {"bareNumber", u"3", {1, u"keep", 1, 2, 5, 3, 0, 2, 1, 3, 0}},
    {"bareSigned", u"+3", {1, u"keep", 1, 2, 5, 3, 0, 2, 1, 3, 0}},
    {"bareFromBack", u"-1", {1, u"keep", 1, 2, 5, 3, 0, 2, 2, 1, 0}},
    {"bareLetter", u"i", {1, u"keep", 1, 2, 5, 3, 0, 1, 1, 0, 1}},
    {"bareLeftLetter", u"l", {1, u"keep", 1, 2, 5, 3, 0, 1, 1, 0, 3}},
    {"bareZeroNumber", u"-03r", {1, u"keep", 1, 2, 5, 3, 0, 3, 2, 3, 4}},
    {"empty", u"", {1, u"keep", 1, 2, 5, 3, 0, 1, 1, 0, 0}},
};

class SideFields : public testing::RuleCallTest {
 protected:
  // Fills the side's prefix fields with values that a side without a group
  // must leave alone.
  void Prime(int16_t side) {
    const std::size_t s = static_cast<std::size_t>(side);
    ws.SideGroupText[s] = u"keep";
    ws.SideCountKind[s] = 1;
    ws.SidePrefixSign[s] = 2;
    ws.SideNth[s] = 5;
    ws.SidePrefixMode[s] = 3;
    ws.SideSuffixFlags[s] = 99;
  }
  Fields Read(int16_t side) const {
    const std::size_t s = static_cast<std::size_t>(side);
    Fields f{ws.SideGroupKind[s],   ws.SideGroupText[s],  ws.SideCountKind[s],  ws.SidePrefixSign[s],
             ws.SideNth[s],         ws.SidePrefixMode[s], ws.SideSuffixFlags[s], ws.SideOffsetKind[s],
             ws.SideOffsetSign[s],  ws.SideOffset[s],     ws.SideOffsetMode[s]};
    if (f.offsetKind == 1) f.offset = 0;
    return f;
  }
};

void ExpectFields(const Fields& got, const Fields& want) {
  EXPECT_EQ(got.groupKind, want.groupKind);
  EXPECT_EQ(got.groupText, want.groupText);
  EXPECT_EQ(got.countKind, want.countKind);
  EXPECT_EQ(got.prefixSign, want.prefixSign);
  EXPECT_EQ(got.nth, want.nth);
  EXPECT_EQ(got.prefixMode, want.prefixMode);
  EXPECT_EQ(got.flags, want.flags);
  EXPECT_EQ(got.offsetKind, want.offsetKind);
  EXPECT_EQ(got.offsetSign, want.offsetSign);
  EXPECT_EQ(got.offset, want.offset);
  EXPECT_EQ(got.offsetMode, want.offsetMode);
}

TEST_F(SideFields, FieldsOfEachSide) {
  for (const SideCase& c : kSideCases) {
    for (int16_t side : {int16_t{1}, int16_t{2}}) {
      SCOPED_TRACE(std::string(c.name) + " side " + std::to_string(side));
      context = RuleContext{};
      Prime(side);
      ParseSelectionOperand(call, c.text, side);
      EXPECT_EQ(context.RuleErrorKind, 0);
      ExpectFields(Read(side), c.expected);
    }
  }
}

struct SideError {
  const char* name;
  std::u16string text;
  std::u16string message;  // with chr_q1 "?" and chr_q2 "?"
};

const std::u16string kBrackets = u"\"?(～)?\"または\"?[～]?\"の対応が取れていません。";
const std::u16string kRoundUsage = u"\"?(～)?\"の使い方が正しくありません。";
const std::u16string kSquareUsage = u"\"?[～]?\"の使い方が正しくありません。";
const std::u16string kBareUsage = u"\"?～?\"の使い方が正しくありません。";

const SideError kSideErrors[] = {
    {"equalsWithCount", u"=2(abc)", kRoundUsage},
    {"equalsWithZeros", u"=0(abc)", kRoundUsage},
    {"equalsAfterSign", u"-=(abc)", kRoundUsage},
    {"secondPrefixLetter", u"3ri(abc)", kRoundUsage},
    {"digitAfterPrefixLetter", u"i3(abc)", kRoundUsage},
    {"secondPrefixSign", u"+-1(abc)", kRoundUsage},
    {"squareUsage", u"3ri[abc]", kSquareUsage},
    {"bothDirections", u"(abc)rl", kRoundUsage},
    {"offsetWithoutSign", u"(abc)3", kRoundUsage},
    {"letterWithoutSign", u"(abc)i", kRoundUsage},
    {"zeroWithoutSign", u"(abc)0", kRoundUsage},
    {"signAlone", u"(abc)+", kRoundUsage},
    {"flagAfterOffset", u"(abc)+2u", kRoundUsage},
    {"secondOffsetSign", u"(abc)+-2", kRoundUsage},
    {"afterOffsetLetter", u"(abc)+2i3", kRoundUsage},
    {"bareSignAlone", u"+", kBareUsage},
    {"bareFlag", u"u", kBareUsage},
    {"bareTwoLetters", u"il", kBareUsage},
    {"mismatchRoundSquare", u"(ab]", kBrackets},
    {"mismatchSquareRound", u"[ab)", kBrackets},
    {"closerOnly", u"ab)", kBrackets},
    {"openerOnly", u"(ab", kBrackets},
    {"closerFirst", u")a(", kBrackets},
    {"countDigits", u"123456789(a)", u"\"?(～)?\"内の桁数が多すぎます。"},
    {"countDigitsByZero", u"10000000 0(a)", u"\"?(～)?\"内の桁数が多すぎます。"},
    {"offsetDigits", u"[a]+100000000", u"\"?[～]?\"内の桁数が多すぎます。"},
    {"bareDigits", u"-123456789", u"\"?～?\"内の桁数が多すぎます。"},
    {"fullWidthDigit", u"２(a)", u"\"?(～)?\"内で不正な文字\"２\"が使われています。"},
    {"suffixCharacter", u"(a)+1x", u"\"?(～)?\"内で不正な文字\"x\"が使われています。"},
    {"bareCharacter", u"x", u"\"?～?\"内で不正な文字\"x\"が使われています。"},
    {"upperCaseLetter", u"(a)U", u"\"?(～)?\"内で不正な文字\"U\"が使われています。"},
};

TEST_F(SideFields, ErrorsWithDefaultAndConfiguredSymbols) {
  for (bool configured : {false, true}) {
    settings.ChrQ1 = configured ? u"<" : u"?";
    settings.ChrQ2 = configured ? u">" : u"?";
    for (const SideError& c : kSideErrors) {
      SCOPED_TRACE(std::string(c.name) + (configured ? " configured" : " default"));
      context = RuleContext{};
      ParseSelectionOperand(call, c.text, 2);
      EXPECT_EQ(context.RuleErrorKind, 1);
      std::u16string expected = c.message;
      if (configured) {
        // The first "?" of each quoted form is chr_q1, the second chr_q2.
        bool open = true;
        for (char16_t& ch : expected) {
          if (ch == u'?') {
            ch = open ? u'<' : u'>';
            open = !open;
          }
        }
      }
      EXPECT_EQ(context.RuleErrorText, expected);
    }
  }
}

TEST_F(SideFields, EscapedBracketsAreNoGroup) {
  settings.EscapeMode = true;
  ParseSelectionOperand(call, u"(a^)b)", 1);
  EXPECT_EQ(context.RuleErrorKind, 0);
  EXPECT_EQ(ws.SideGroupText[1], u"a^)b");
  ParseSelectionOperand(call, u"(a^)", 1);
  EXPECT_EQ(context.RuleErrorText, kBrackets);
}

}  // namespace
}  // namespace dovetam
