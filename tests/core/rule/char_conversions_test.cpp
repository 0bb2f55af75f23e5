// Character tests, the code page 932 table and the width / kana conversions.
#include "core/rule/char_conversions.h"

#include <gtest/gtest.h>

#include "core/rule/cp932_table.h"

namespace dovetam {
namespace {

TEST(Cp932, CodesAndByteLengths) {
  EXPECT_EQ(Cp932Code(u'A'), 0x41);
  EXPECT_EQ(Cp932Code(u'\\'), 0x5C);
  EXPECT_EQ(Cp932Code(u'あ'), 0x82A0);
  EXPECT_EQ(Cp932Code(u'ア'), 0x8341);
  EXPECT_EQ(Cp932Code(u'ｱ'), 0xB1);
  EXPECT_EQ(Cp932Code(u'・'), 0x8145);
  EXPECT_EQ(Cp932Code(u'漢'), 0x8ABF);
  EXPECT_EQ(Cp932Code(u'\u00E9'), -1);  // é is not in code page 932
  EXPECT_EQ(Cp932ByteLength(u'漢'), 2);
  EXPECT_EQ(Cp932ByteLength(u'ｱ'), 1);
  EXPECT_EQ(Cp932ByteLength(u'\u00E9'), 1);  // becomes "?"
  EXPECT_EQ(Cp932TextByteLength(u"aあｱ\u00E9"), 5);
}

TEST(Cp932, TableIsSortedForTheBinarySearch) {
  for (int i = 1; i < kCp932PairCount; ++i) {
    ASSERT_LT(kCp932Pairs[i - 1].unit, kCp932Pairs[i].unit) << "row " << i;
  }
}

struct KanaTestCase {
  const char* name;
  char16_t c;
  bool hiragana, katakana, halfKana;
};

class KanaTests : public ::testing::TestWithParam<KanaTestCase> {};

TEST_P(KanaTests, ClassifyByCodePage932) {
  const KanaTestCase& k = GetParam();
  EXPECT_EQ(IsHiraganaChar(k.c), k.hiragana);
  EXPECT_EQ(IsKatakanaChar(k.c), k.katakana);
  EXPECT_EQ(IsHalfKanaChar(k.c), k.halfKana);
}

INSTANTIATE_TEST_SUITE_P(
    Chars, KanaTests,
    ::testing::Values(KanaTestCase{"smallA", u'ぁ', true, false, false},
                      KanaTestCase{"n", u'ん', true, false, false},
                      KanaTestCase{"vuHiragana", u'ゔ', false, false, false},
                      KanaTestCase{"smallKatakanaA", u'ァ', false, true, false},
                      KanaTestCase{"smallKe", u'ヶ', false, true, false},
                      KanaTestCase{"prolonged", u'ー', true, true, false},
                      KanaTestCase{"middleDot", u'・', true, true, false},
                      KanaTestCase{"voicedMark", u'゛', true, true, false},
                      KanaTestCase{"cornerBracket", u'「', true, true, false},
                      KanaTestCase{"iterationMark", u'ゝ', false, false, false},
                      KanaTestCase{"katakanaIteration", u'ヽ', false, false, false},
                      KanaTestCase{"ideographicSpace", u'\u3000', false, false, false},
                      KanaTestCase{"halfStop", u'｡', false, false, true},
                      KanaTestCase{"halfSemiVoiced", u'ﾟ', false, false, true},
                      KanaTestCase{"latin", u'a', false, false, false}),
    [](const auto& info) { return std::string(info.param.name); });

struct ConversionCase {
  const char* name;
  std::u16string text;
  std::u16string wide;
  std::u16string narrow;
};

class WidthConversions : public ::testing::TestWithParam<ConversionCase> {};

TEST_P(WidthConversions, ToWideAndToNarrow) {
  const ConversionCase& c = GetParam();
  EXPECT_EQ(ToWideText(c.text), c.wide);
  EXPECT_EQ(ToNarrowText(c.text), c.narrow);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, WidthConversions,
    ::testing::Values(
        ConversionCase{"ascii", u"Ab1!~", u"Ａｂ１！～", u"Ab1!~"},
        ConversionCase{"fullAscii", u"Ａｂ１！", u"Ａｂ１！", u"Ab1!"},
        ConversionCase{"space", u"a b\u3000", u"ａ\u3000ｂ\u3000", u"a b "},
        ConversionCase{"backslashAndYen", u"\\￥", u"￥￥", u"\\\\"},
        ConversionCase{"fullBackslash", u"＼", u"＼", u"\\"},
        ConversionCase{"voicedComposed", u"ｶﾞﾊﾟｳﾞｶ", u"ガパヴカ", u"ｶﾞﾊﾟｳﾞｶ"},
        ConversionCase{"voicedSplit", u"ガパヴ", u"ガパヴ", u"ｶﾞﾊﾟｳﾞ"},
        ConversionCase{"loneMarks", u"ﾞﾟｱﾟ", u"゛゜ア゜", u"ﾞﾟｱﾟ"},
        ConversionCase{"punctuation", u"、。「」・ー", u"、。「」・ー", u"､｡｢｣･ｰ"},
        ConversionCase{"signs", u"¢£¬¯¦¥₩", u"￠￡￢￣￤￥￦", u"¢£¬¯¦¥₩"},
        ConversionCase{"wideSigns", u"￠￡￢￣￤￦", u"￠￡￢￣￤￦", u"¢£¬¯¦₩"},
        ConversionCase{"kanaWithoutHalfForm", u"ヰヵ", u"ヰヵ", u"ヰヵ"},
        ConversionCase{"hiraganaStays", u"あ", u"あ", u"あ"},
        ConversionCase{"kanji", u"漢字", u"漢字", u"漢字"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(KanaConversions, HiraganaAndKatakanaOneForOne) {
  EXPECT_EQ(ToKatakanaText(u"ぁあゔゕゖゝゞｱa"), u"ァアヴヵヶヽヾｱa");
  EXPECT_EQ(ToHiraganaText(u"ァアヴヵヶヽヾｱa・"), u"ぁあゔゕゖゝゞｱa・");
}

TEST(KeepingKana, KanaRunsStayAndLengthIsChecked) {
  RuleContext ctx;
  EXPECT_EQ(ConvertToFullWidth(u"ab\\ｶﾞ", ctx), u"ａｂ￥ｶﾞ");
  EXPECT_EQ(ctx.RuleErrorKind, 0);
  EXPECT_EQ(ConvertToHalfWidth(u"ＡＢ１カー「」", ctx), u"AB1カー「」");
  EXPECT_EQ(ctx.RuleErrorKind, 0);
  // Every character here has its own one-unit form, so a change of length
  // cannot arise from the tables; the check itself is exercised through its
  // message in the message table.
}

}  // namespace
}  // namespace dovetam
