// Text marks and character conversions of operation sections on an operand
// with chosen ranges: remembering and putting back in both registers with
// their messages, case, kana and width conversions per range with the
// Selection they leave, and emptying or dropping the operand.
#include <gtest/gtest.h>

#include "operation_fixture.h"
#include "platform/utf8_codec.h"

namespace dovetam::testing {
namespace {

class MarkOperationTest : public OperationTest {};

TEST_P(MarkOperationTest, PutBackWholeInsideAndOutside) {
  struct Row { const char* name; std::u16string section; Ranges ranges; std::u16string text; };
  // Remembered ‹abcdef›, then upper-cased: ‹ABCDEF›.
  const Row rows[] = {
      {"whole", u"/MR/", {{2, 3}}, u"abcdef"},
      {"wholeLower", u"/mr/", {}, u"abcdef"},
      {"inside", u"/MRS/", {{2, 3}, {4, 6}}, u"AbCdeF"},
      {"insideLower", u"/mrs/", {{2, 3}, {4, 6}}, u"AbCdeF"},
      {"outside", u"/MRS~/", {{2, 3}, {4, 6}}, u"aBcDEf"},
      {"outsideLower", u"/mrs~/", {{2, 3}, {4, 6}}, u"aBcDEf"},
      {"insideNothingSelected", u"/MRS/", {}, u"ABCDEF"},
      {"outsideNothingSelected", u"/MRS~/", {}, u"abcdef"},
      {"insidePoints", u"/MRS/", {{1, 1}, {7, 7}}, u"ABCDEF"},
      {"outsidePoints", u"/MRS~/", {{1, 1}, {7, 7}}, u"abcdef"},
  };
  for (const char16_t* remember : {u"/M/", u"/m/", u"/M!/", u"/m!/"}) {
    for (const Row& r : rows) {
      SCOPED_TRACE(r.name);
      ws.MarkFlags = 0;
      ws.Mark2Flags = 0;
      const bool second = std::u16string_view(remember).find(u'!') != std::u16string_view::npos;
      SetOperand(u"abcdef", {{1, 7}});
      ASSERT_TRUE(Run(remember));
      ASSERT_TRUE(Run(u"/u/"));
      SetOperand(u"ABCDEF", r.ranges);
      ws.OpCode = 2;
      std::u16string section = r.section;
      if (second) section.insert(section.size() - 1, u"!");
      ASSERT_TRUE(Run(section));
      EXPECT_EQ(ws.PendingOperand, r.text);
      EXPECT_EQ(Selection(), r.ranges);
      EXPECT_EQ(ws.OpCode, 2);
      EXPECT_EQ(ws.MarkFlags, second ? 0 : 2);  // the marks stay for another put-back
      EXPECT_EQ(ws.Mark2Flags, second ? 2 : 0);
    }
  }
}

TEST_P(MarkOperationTest, EditsForgetThePlainMarkButNotTheSecond) {
  for (const char16_t* edit : {u"/e/", u"/d/", u"/i:x/", u"/I:x/", u"/p:x/", u"/pr:x/", u"/x/", u"/X/",
                               u"/v/", u"/V/", u"/Z/", u"/H/", u"/r/"}) {
    SCOPED_TRACE(EncodeNativeLossy(edit));
    SetOperand(u"abc", {{1, 4}});
    ASSERT_TRUE(Run(u"/M/"));
    ASSERT_TRUE(Run(u"/M!/"));
    ASSERT_TRUE(Run(edit));
    EXPECT_EQ(ws.MarkFlags, 0);
    EXPECT_EQ(ws.Mark2Flags, 2);
  }
  for (const char16_t* keep : {u"/u/", u"/l/", u"/k/", u"/K/", u"/z/", u"/h/", u"/c/", u"/C/", u"/b/",
                               u"/B-/", u"/MR/", u"/MRS/", u"/R/"}) {
    SCOPED_TRACE(EncodeNativeLossy(keep));
    SetOperand(u"abc", {{1, 4}});
    ASSERT_TRUE(Run(u"/M/"));
    ASSERT_TRUE(Run(keep));
    EXPECT_EQ(ws.MarkFlags, 2);
  }
}

TEST_P(MarkOperationTest, MissingMarkAndLengthMessages) {
  struct Row { const char* name; std::u16string setup; std::u16string section; std::u16string message; };
  const Row rows[] = {
      {"plainMissing", u"", u"/MR/", u"\"/MR/\"の前に、\"/m/\"が指定されていません。"},
      {"plainMissingLower", u"", u"/mr/", u"\"/mr/\"の前に、\"/m/\"が指定されていません。"},
      {"plainForgotten", u"/M/", u"/MRS~/", u"\"/MRS~/\"の前に、\"/m/\"が指定されていません。"},
      {"secondMissing", u"/M/", u"/mrs!/", u"\"/mrs!/\"の前に、\"/m!/\"が指定されていません。"},
      {"secondMissingBeforeLength", u"", u"/MR!/", u"\"/MR!/\"の前に、\"/m!/\"が指定されていません。"},
      {"secondLength", u"/M!/", u"/MRS!/", u"長さの異なる文字列に、\"/MRS!/\"を用いることはできません。"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    ws.MarkFlags = 0;
    ws.Mark2Flags = 0;
    SetOperand(u"abc", {{2, 3}});
    if (!r.setup.empty()) {
      ASSERT_TRUE(Run(r.setup));
    }
    ASSERT_TRUE(Run(u"/i:x/"));  // forgets the plain mark, changes the length
    EXPECT_FALSE(Run(r.section));
    EXPECT_EQ(context.RuleErrorKind, 1);
    EXPECT_EQ(context.RuleErrorText, r.message);
    EXPECT_EQ(ws.PendingOperand, u"axbc");
    EXPECT_EQ(Selection(), (Ranges{{3, 4}}));
  }
}

TEST_P(MarkOperationTest, SecondMarkAfterAnEditOfTheSameLength) {
  SetOperand(u"abcd", {{2, 4}});
  ASSERT_TRUE(Run(u"/M!/"));
  ASSERT_TRUE(Run(u"/p:XY/"));
  ASSERT_TRUE(Run(u"/MRS~!/"));
  EXPECT_EQ(ws.PendingOperand, u"aXYd");
  ASSERT_TRUE(Run(u"/mrs!/"));
  EXPECT_EQ(ws.PendingOperand, u"abcd");
}

TEST_P(MarkOperationTest, ConfiguredSectionSymbolsInMessages) {
  settings.ChrS1 = u"{";
  settings.ChrS2 = u"}";
  SetOperand(u"abc", {{1, 4}});
  EXPECT_FALSE(Run(u"{mrs~!}"));
  EXPECT_EQ(context.RuleErrorText, u"\"{mrs~!}\"の前に、\"{m!}\"が指定されていません。");
  ASSERT_TRUE(Run(u"{m!}"));
  ASSERT_TRUE(Run(u"{d}"));
  EXPECT_FALSE(Run(u"{MR!}"));
  EXPECT_EQ(context.RuleErrorText, u"長さの異なる文字列に、\"{MR!}\"を用いることはできません。");
  EXPECT_FALSE(Run(u"{MR}"));
  EXPECT_EQ(context.RuleErrorText, u"\"{MR}\"の前に、\"{m}\"が指定されていません。");
}

INSTANTIATE_TEST_SUITE_P(Builds, MarkOperationTest, ::testing::ValuesIn(kOperationBuilds), OperationBuildName);

class ConversionOperationTest : public OperationTest {};

TEST_P(ConversionOperationTest, ConversionsAtTheRanges) {
  struct Row {
    const char* name;
    std::u16string operand;
    Ranges ranges;
    std::u16string section;
    std::u16string text;
    Ranges after;
    int16_t markFlags;  // from 3 before
  };
  const Row rows[] = {
      {"upperMiddleWord", u"one two six", {{5, 8}}, u"/u/", u"one TWO six", {{5, 8}}, 3},
      {"lowerTwoRanges", u"ABCDE", {{1, 2}, {4, 6}}, u"/l/", u"aBCde", {{1, 2}, {4, 6}}, 3},
      {"upperFullWidthLatin", u"ａｂ", {{1, 3}}, u"/u/", u"ＡＢ", {{1, 3}}, 3},
      {"toKatakana", u"ひらがな", {{1, 3}}, u"/K/", u"ヒラがな", {{1, 3}}, 3},
      {"toHiragana", u"カタカナｶ", {{1, 6}}, u"/k/", u"かたかなｶ", {{1, 6}}, 3},
      {"fullKeepsHalfKana", u"ｶﾞｷﾞab", {{1, 7}}, u"/z/", u"ｶﾞｷﾞａｂ", {{1, 7}}, 3},
      {"fullAll", u"ｶﾞｷﾞab", {{1, 7}}, u"/Z/", u"ガギａｂ", {{1, 5}}, 0},
      {"fullAllRangesFollow", u"xｶﾞyｷﾞz", {{2, 4}, {5, 7}}, u"/Z/", u"xガyギz", {{2, 3}, {4, 5}}, 0},
      {"halfKeepsKana", u"ＡＢ１カー", {{1, 6}}, u"/h/", u"AB1カー", {{1, 6}}, 3},
      {"halfAll", u"ＡガＢ", {{1, 4}}, u"/H/", u"AｶﾞB", {{1, 5}}, 0},
      {"halfAllRangesFollow", u"ガxパ", {{1, 2}, {3, 4}}, u"/H/", u"ｶﾞxﾊﾟ", {{1, 3}, {4, 6}}, 0},
      {"halfKeepsKanaMarks", u"ー・「」", {{1, 5}}, u"/h/", u"ー・「」", {{1, 5}}, 3},
      {"halfConvertsKanaMarks", u"ー・「」", {{1, 5}}, u"/H/", u"ｰ･｢｣", {{1, 5}}, 0},
      {"fullYen", u"a\\b", {{1, 4}}, u"/Z/", u"ａ￥ｂ", {{1, 4}}, 0},
      {"halfYen", u"ａ￥ｂ", {{1, 4}}, u"/H/", u"a\\b", {{1, 4}}, 0},
      {"fullKeepingKanaYen", u"ｱ\\", {{1, 3}}, u"/z/", u"ｱ￥", {{1, 3}}, 3},
      {"halfKeepingKanaYen", u"ア￥", {{1, 3}}, u"/h/", u"ア\\", {{1, 3}}, 3},
      {"nothingSelected", u"abc", {}, u"/Z/", u"abc", {}, 0},
      {"nothingSelectedUpper", u"abc", {}, u"/u/", u"abc", {}, 3},
      {"outsideRangesUnchanged", u"abc", {{2, 3}}, u"/H/", u"abc", {{2, 3}}, 0},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    SetOperand(r.operand, r.ranges);
    ws.MarkFlags = 3;
    ASSERT_TRUE(Run(r.section));
    EXPECT_EQ(ws.PendingOperand, r.text);
    EXPECT_EQ(Selection(), r.after);
    EXPECT_EQ(ws.MarkFlags, r.markFlags);
    EXPECT_TRUE(ws.OperandPending);
  }
}

TEST_P(ConversionOperationTest, EmptyAndDrop) {
  SetOperand(u"abc", {{1, 2}});
  ws.MarkFlags = 3;
  ws.Mark2Flags = 3;
  ASSERT_TRUE(Run(u"/r/"));
  EXPECT_EQ(ws.PendingOperand, u"");
  EXPECT_EQ(ws.SelCount, 0);
  EXPECT_EQ(ws.MarkFlags, 0);
  EXPECT_EQ(ws.Mark2Flags, 3);
  EXPECT_TRUE(ws.OperandPending);
  SetOperand(u"abc", {{1, 2}});
  ws.MarkFlags = 3;
  ASSERT_TRUE(Run(u"/R/"));
  EXPECT_FALSE(ws.OperandPending);
  EXPECT_EQ(ws.PendingOperand, u"abc");
  EXPECT_EQ(Selection(), (Ranges{{1, 2}}));
  EXPECT_EQ(ws.MarkFlags, 3);
}

INSTANTIATE_TEST_SUITE_P(Builds, ConversionOperationTest, ::testing::ValuesIn(kOperationBuilds),
                         OperationBuildName);

}  // namespace
}  // namespace dovetam::testing
