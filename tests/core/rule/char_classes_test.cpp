// Character classes and literal comparison: for each character and flag set,
// the string of class letters that accept it.
#include "core/rule/char_classes.h"

#include <gtest/gtest.h>

#include "pattern_test_support.h"

namespace dovetam::testing {
namespace {

constexpr std::u16string_view kLetters = u"nNaAuUlLqQxXsSeEmMhZzkK.pP";
constexpr int16_t kU = 0x10;
constexpr int16_t kZ = 0x20;

struct ClassCase {
  const char* name;
  std::u16string text;  // the character is text[0]; an empty text asks after its end
  int16_t flags;
  std::u16string accepted;  // the letters of kLetters that accept it, in that order
};

std::u16string Accepting(Engine& e, const std::u16string& text, int32_t position) {
  std::u16string out;
  for (char16_t letter : kLetters) {
    if (MatchCharClass(e.call, text, position, letter)) out += letter;
  }
  return out;
}

class ClassTable : public ::testing::TestWithParam<ClassCase> {};

TEST_P(ClassTable, AcceptingClasses) {
  const ClassCase& c = GetParam();
  Engine e;
  e.ws.CurSide = 2;
  e.ws.SideSuffixFlags[2] = c.flags;
  const std::u16string text = c.text.empty() ? u"abc" : c.text;
  const int32_t position = c.text.empty() ? 4 : 1;
  EXPECT_EQ(Utf8(Accepting(e, text, position)), Utf8(c.accepted));
  EXPECT_FALSE(e.call.failed());
}

INSTANTIATE_TEST_SUITE_P(
    Characters, ClassTable,
    ::testing::Values(
        ClassCase{"Digit", u"5", 0, u"nNqQxXeEh."},
        ClassCase{"DigitWidthFlag", u"5", kZ, u"nNqQxXeEhZz."},
        ClassCase{"WideDigit", u"５", 0, u"NQxXeEZz."},
        ClassCase{"WideDigitWidthFlag", u"５", kZ, u"nNqQxXeEhZz."},
        ClassCase{"LowerLetter", u"b", 0, u"aAlLqQxXeEh."},
        ClassCase{"LowerLetterCaseFlag", u"b", kU, u"aAuUlLqQxXeEh."},
        ClassCase{"UpperLetter", u"B", 0, u"aAuUqQxXeEh."},
        ClassCase{"WideUpperLetter", u"Ｂ", 0, u"AUQxXeEZz."},
        ClassCase{"WideUpperLetterWidthFlag", u"Ｂ", kZ, u"aAuUqQxXeEhZz."},
        ClassCase{"WideLowerLetterBothFlags", u"ｂ", kU | kZ, u"aAuUlLqQxXeEhZz."},
        ClassCase{"Space", u" ", 0, u"sSmMh."},
        ClassCase{"WideSpace", u"\u3000", 0, u"xSeMZz."},
        ClassCase{"WideSpaceWidthFlag", u"\u3000", kZ, u"sSmMhZz."},
        ClassCase{"SpaceWidthFlag", u" ", kZ, u"sSmMhZz."},
        ClassCase{"Hyphen", u"-", 0, u"xXmMh."},
        ClassCase{"WideHyphen", u"－", 0, u"xXeMZz."},
        ClassCase{"WideHyphenWidthFlag", u"－", kZ, u"xXmMhZz."},
        ClassCase{"Hiragana", u"あ", 0, u"xXeEZzk."},
        ClassCase{"Katakana", u"ア", 0, u"xXeEZzK."},
        ClassCase{"HalfKatakana", u"ｱ", 0, u"xXeEhK."},
        ClassCase{"LongVowelMark", u"ー", 0, u"xXeEZzkK."},
        ClassCase{"AfterTheText", u"", 0, u"xXeE."},
        ClassCase{"AfterTheTextWidthFlag", u"", kZ, u"xXeEhZz."}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CharClasses, SetsComeFromTheSettings) {
  Engine e;
  e.ws.CurSide = 1;
  e.settings.PtnChr[1] = u"#b";
  e.settings.PtnChr[2] = u"B";
  e.settings.SpaceChr = u"_";
  EXPECT_TRUE(MatchCharClass(e.call, u"b", 1, u'p'));
  EXPECT_FALSE(MatchCharClass(e.call, u"b", 1, u'P'));
  EXPECT_TRUE(MatchCharClass(e.call, u"_", 1, u'S'));
  EXPECT_FALSE(MatchCharClass(e.call, u"_", 1, u'X'));
  EXPECT_TRUE(MatchCharClass(e.call, u" ", 1, u'X'));
  e.ws.SideSuffixFlags[1] = kU;  // set and character upper-cased alike
  EXPECT_TRUE(MatchCharClass(e.call, u"b", 1, u'P'));
  e.settings.PtnChr[1] = u"";
  EXPECT_FALSE(MatchCharClass(e.call, u"#", 1, u'p'));
  EXPECT_FALSE(MatchCharClass(e.call, u"a", 1, u'H'));
  EXPECT_FALSE(MatchCharClass(e.call, u"a", 1, u'c'));
}

struct LiteralCase {
  const char* name;
  std::u16string text;
  int32_t position;
  std::u16string literal;
  int16_t flags;
  bool match;
};

class LiteralTable : public ::testing::TestWithParam<LiteralCase> {};

TEST_P(LiteralTable, Matches) {
  const LiteralCase& c = GetParam();
  Engine e;
  e.ws.CurSide = 1;
  e.ws.SideSuffixFlags[1] = c.flags;
  EXPECT_EQ(MatchLiteralAt(e.call, c.text, c.position, c.literal), c.match);
}

INSTANTIATE_TEST_SUITE_P(
    Literals, LiteralTable,
    ::testing::Values(LiteralCase{"AtTheEnd", u"abcde", 4, u"de", 0, true},
                      LiteralCase{"RunsPastTheEnd", u"abcde", 4, u"def", 0, false},
                      LiteralCase{"CaseCounts", u"ABC", 1, u"abc", 0, false},
                      LiteralCase{"CaseFlag", u"ABC", 1, u"abc", kU, true},
                      LiteralCase{"WidthCounts", u"ａｂ", 1, u"ab", 0, false},
                      LiteralCase{"WidthFlag", u"ａｂ", 1, u"ab", kZ, true},
                      LiteralCase{"BothFlags", u"ＡＢ", 1, u"ab", kU | kZ, true},
                      LiteralCase{"EmptyAfterTheText", u"abc", 4, u"", 0, true},
                      LiteralCase{"EmptyAnywhere", u"abc", 2, u"", kZ, true},
                      LiteralCase{"KanaStayWithWidthFlag", u"ｱ", 1, u"ア", kZ, false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace dovetam::testing
