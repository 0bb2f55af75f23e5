// Selection sections: their forms, the keywords (whole, nothing, join, drop
// empty, invert, marks) and the form errors, read back from the Selection the
// sections leave; growth of the range lists and its failure in both builds.
#include <gtest/gtest.h>

#include "core/rule/rule_messages.h"
#include "selection_test_support.h"

namespace dovetam {
namespace {

using testing::Ranges;

struct KeywordCase {
  const char* name;
  std::u16string operand;
  Ranges start;
  std::vector<std::u16string> sections;
  Ranges expected;
  std::u16string error;  // empty: no error expected
};

const KeywordCase kKeywordCases[] = {
    {"starSelectsWhole", u"abc", {}, {u"*"}, {{1, 4}}, u""},
    {"starOverSelection", u"abc", {{2, 3}, {3, 3}}, {u"*"}, {{1, 4}}, u""},
    {"qWithNothingStaysNothing", u"abc", {}, {u"Q"}, {}, u""},
    {"qWithSelectionIsWhole", u"abc", {{2, 3}}, {u"Q"}, {{1, 4}}, u""},
    {"aLikeQ", u"abc", {{2, 3}}, {u"A"}, {{1, 4}}, u""},
    {"qTildeFromNothing", u"abc", {}, {u"Q~"}, {{1, 4}}, u""},
    {"qTildeToggles", u"abc", {}, {u"Q~", u"Q~"}, {}, u""},
    {"aTildeDeselects", u"abc", {{1, 2}}, {u"A~"}, {}, u""},
    {"emptyOperandWhole", u"", {}, {u"Q~"}, {{1, 1}}, u""},
    {"qAtNothingNoMarkNoCheck", u"abc", {}, {u"Q@"}, {}, u""},
    {"qAtNeedsMark", u"abc", {{1, 2}}, {u"Q@"}, {}, u"\"?Q@?\"の前に、\"?M?\"が指定されていません。"},
    {"qAtRestoresMark", u"abcdef", {{2, 3}, {5, 6}}, {u"M", u"*", u"Q@"}, {{2, 3}, {5, 6}}, u""},
    {"qTildeAtRestoresWhenNothing", u"abcdef", {{2, 3}}, {u"M", u"D", u"Q~@"}, {{2, 3}}, u""},
    {"qTildeAtDeselectsWithoutCheck", u"abc", {{1, 2}}, {u"Q~@"}, {}, u""},
    {"qTildeAtNeedsMark", u"abc", {}, {u"A~@"}, {}, u"\"?A~@?\"の前に、\"?M?\"が指定されていません。"},
    {"qAtBangNeedsSecondMark", u"abc", {{1, 2}}, {u"Q@!"}, {}, u"\"?Q@!?\"の前に、\"?M!?\"が指定されていません。"},
    {"qAtBangRestores", u"abcdef", {{2, 4}}, {u"M!", u"*", u"A@!"}, {{2, 4}}, u""},
    {"qTildeAtBangRestores", u"abcdef", {{2, 4}}, {u"M!", u"D", u"Q~@!"}, {{2, 4}}, u""},
    {"mOfNothingIsEmptyMark", u"abc", {}, {u"M", u"Q~", u"MR"}, {}, u""},
    {"mrWithoutMarkFails", u"abc", {}, {u"MR"}, {}, u"\"?MR?\"の前に、\"?M?\"が指定されていません。"},
    {"mrBangWithoutMarkFails", u"abc", {}, {u"MR!"}, {}, u"\"?MR!?\"の前に、\"?M!?\"が指定されていません。"},
    {"mrRestoresWhateverSelected", u"abcdef", {{1, 2}, {4, 6}}, {u"M", u"D", u"MR"}, {{1, 2}, {4, 6}}, u""},
    {"mrBangRestores", u"abcdef", {{3, 3}}, {u"M!", u"*", u"MR!"}, {{3, 3}}, u""},
    {"joinTouchingAndOverlapping", u"abcdefgh", {{1, 3}, {3, 5}, {7, 8}}, {u"J"}, {{1, 5}, {7, 8}}, u""},
    {"joinOverlap", u"abcdefgh", {{1, 4}, {2, 6}}, {u"J"}, {{1, 6}}, u""},
    {"joinKeepsEndOfContainingRange", u"abcdefgh", {{1, 7}, {2, 3}, {5, 9}}, {u"J"}, {{1, 9}}, u""},
    {"joinNothing", u"abc", {}, {u"J"}, {}, u""},
    {"dropEmpty", u"abcdef", {{1, 3}, {4, 4}, {5, 6}}, {u"N"}, {{1, 3}, {5, 6}}, u""},
    {"dropEmptyThenJoin", u"abcdefgh", {{1, 3}, {3, 3}, {3, 5}, {6, 6}, {7, 8}}, {u"E"}, {{1, 5}, {7, 8}}, u""},
    {"deselect", u"abc", {{1, 4}}, {u"D"}, {}, u""},
    {"invertRightPieceOnly", u"abcdef", {{1, 3}}, {u"~"}, {{3, 7}}, u""},
    {"invertBothPieces", u"abcdef", {{1, 3}}, {u"~o"}, {{1, 1}, {3, 7}}, u""},
    {"invertInnerOnly", u"abcdef", {{1, 3}}, {u"~i"}, {}, u""},
    {"invertInnerEmptyGap", u"abcdef", {{2, 3}, {3, 4}}, {u"~i"}, {{3, 3}}, u""},
    {"invertLeft", u"abcdef", {{2, 3}, {5, 6}}, {u"~l"}, {{1, 2}, {3, 5}}, u""},
    {"invertRight", u"abcdef", {{2, 3}, {5, 6}}, {u"~r"}, {{3, 5}, {6, 7}}, u""},
    {"invertNonEmptyEnds", u"abcdef", {{2, 3}, {5, 6}}, {u"~"}, {{1, 2}, {3, 5}, {6, 7}}, u""},
    {"invertWholeGivesNothing", u"abcdef", {{1, 7}}, {u"~"}, {}, u""},
    {"invertWholeOuter", u"abcdef", {{1, 7}}, {u"~o"}, {{1, 1}, {7, 7}}, u""},
    {"invertNothingPlain", u"abc", {}, {u"~"}, {{1, 4}}, u""},
    {"invertNothingOuter", u"abc", {}, {u"~o"}, {{1, 4}}, u""},
    {"invertNothingInner", u"abc", {}, {u"~i"}, {}, u""},
    {"invertNothingLeft", u"abc", {}, {u"~l"}, {}, u""},
    {"invertTwiceRestores", u"abcdef", {{2, 3}, {5, 6}}, {u"~o", u"~i"}, {{2, 3}, {5, 6}}, u""},
    {"keywordsKeepCase", u"abc", {{1, 2}}, {u"q"}, {}, u"\"?～?\"内で不正な文字\"q\"が使われています。"},
    {"keywordTrimmed", u"abc", {{2, 3}}, {u"  Q "}, {{1, 4}}, u""},
    {"indexListWithBlanks", u"abcdef", {{1, 2}, {3, 4}}, {u" { 2 } "}, {{3, 4}}, u""},
    {"notIndexListWhenTextFollows", u"abc", {{1, 2}}, {u"{1}x"}, {},
     u"\"?～?\"内で不正な文字\"{\"が使われています。"},
    {"tooManyColons", u"abc", {}, {u"a:b:c:d"}, {}, u"\"?～?\"内の\":\"が多すぎます。"},
    {"unknownMiddle", u"abc", {}, {u"a: x :b"}, {}, u"\"?～::～?\"で存在しない記号\"x\"が使われています。"},
    {"middleIsCaseExact", u"abc", {}, {u"a:R:b"}, {}, u"\"?～::～?\"で存在しない記号\"R\"が使われています。"},
    {"bothSidesAllStrings", u"abc", {}, {u"(a):(b)"}, {},
     u"\"?～:～?\"の両側ですべての文字列\"?(～)?\"を指定することはできません。"},
    {"extensionWithAllStrings", u"abc", {}, {u"1(a)::(b)"}, {},
     u"\"?～::～?\"で全ての文字列\"?(～)?\"を使用することはできません。"},
    {"backwardExtensionWithAllStrings", u"abc", {}, {u"(a):r:1(b)"}, {},
     u"\"?～::～?\"で全ての文字列\"?(～)?\"を使用することはできません。"},
    {"extensionSideErrorFirst", u"abc", {}, {u"(a:r:1(b)"}, {},
     u"\"?(～)?\"または\"?[～]?\"の対応が取れていません。"},
    {"emptyExtensionKeepsRanges", u"abcdef", {{2, 3}, {4, 5}}, {u"::"}, {{2, 3}, {4, 5}}, u""},
    {"emptyBackwardExtensionKeepsRanges", u"abcdef", {{2, 3}, {4, 5}}, {u":r:"}, {{2, 3}, {4, 5}}, u""},
    {"extensionOfNothing", u"abcdef", {}, {u"::"}, {}, u""},
};

using SelectionKeywords = testing::SelectionFixture;

TEST_P(SelectionKeywords, Table) {
  for (const KeywordCase& c : kKeywordCases) {
    SCOPED_TRACE(c.name);
    context = RuleContext{};
    Start(c.operand, c.start);
    const bool ok = Sections(c.sections);
    if (c.error.empty()) {
      EXPECT_TRUE(ok);
      EXPECT_EQ(context.RuleErrorKind, 0);
      EXPECT_EQ(Selection(), c.expected);
    } else {
      EXPECT_FALSE(ok);
      EXPECT_EQ(context.RuleErrorKind, 1);
      EXPECT_EQ(context.RuleErrorText, c.error);
    }
  }
}

TEST_P(SelectionKeywords, SecondMarkNeedsTheSameLength) {
  Start(u"abcde", {{2, 3}});
  ASSERT_TRUE(Section(u"M!"));
  EXPECT_EQ(ws.Mark2Length, 5);
  ws.PendingOperand = u"abcdef";  // an edit made the operand longer
  EXPECT_FALSE(Section(u"MR!"));
  EXPECT_EQ(context.RuleErrorText, u"長さの異なる文字列に\"?MR!?\"を用いることはできません。");
  context = RuleContext{};
  EXPECT_FALSE(Section(u"Q@!"));
  EXPECT_EQ(context.RuleErrorText, u"長さの異なる文字列に\"?Q@!?\"を用いることはできません。");
  // Nothing selected: "Q@!" checks nothing.
  context = RuleContext{};
  ws.SelCount = 0;
  EXPECT_TRUE(Section(u"Q@!"));
  ws.PendingOperand = u"vwxyz";  // back to the saved length
  EXPECT_TRUE(Section(u"MR!"));
  EXPECT_EQ(Selection(), (Ranges{{2, 3}}));
}

TEST_P(SelectionKeywords, ConfiguredSymbolsInFormsAndMessages) {
  settings.ChrQ1 = u"[";
  settings.ChrQ2 = u"]";
  settings.ChrCol = u"#";
  settings.ChrBra1 = u"<";
  settings.ChrBra2 = u">";
  settings.ChrCom = u";";
  settings.ChrAster = u"%";
  struct Row {
    const char* name;
    std::u16string section;
    std::u16string error;
  };
  const Row rows[] = {
      {"colons", u"a#b#c#d", u"\"[～]\"内の\"#\"が多すぎます。"},
      {"middle", u"a#x#b", u"\"[～##～]\"で存在しない記号\"x\"が使われています。"},
      {"bothAll", u"(a)#(b)", u"\"[～#～]\"の両側ですべての文字列\"[(～)]\"を指定することはできません。"},
      {"extensionAll", u"(a)##1(b)", u"\"[～##～]\"で全ての文字列\"[(～)]\"を使用することはできません。"},
      {"missingMark", u"MR", u"\"[MR]\"の前に、\"[M]\"が指定されていません。"},
      {"missingSecondMark", u"MR!", u"\"[MR!]\"の前に、\"[M!]\"が指定されていません。"},
      {"indexUsage", u"<1x>", u"\"[<～>]\"の使い方が正しくありません。"},
      {"indexDigits", u"<123456789>", u"\"[<～>]\"内の桁数が多すぎます。"},
      {"colonIsNotCountedAsDefault", u"a:b:c:d", u"\"[～]\"内で不正な文字\"a\"が使われています。"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    context = RuleContext{};
    Start(u"abc", {{1, 4}});
    EXPECT_FALSE(Section(r.section));
    EXPECT_EQ(context.RuleErrorText, r.error);
  }
  context = RuleContext{};
  Start(u"abcdef", {{1, 2}, {3, 4}, {5, 6}});
  EXPECT_TRUE(Section(u"<1;-1>"));
  EXPECT_EQ(Selection(), (Ranges{{1, 2}, {5, 6}}));
  EXPECT_TRUE(Section(u"%"));
  EXPECT_EQ(Selection(), (Ranges{{1, 7}}));
  // The default star is no keyword now: it is a character of a side.
  context = RuleContext{};
  EXPECT_FALSE(Section(u"*"));
  EXPECT_EQ(context.RuleErrorText, u"\"[～]\"内で不正な文字\"*\"が使われています。");
}

// n ranges that fill the initial capacity of the build exactly.
testing::Ranges FullSelection(int32_t n) {
  testing::Ranges r;
  for (int32_t k = 1; k <= n; ++k) r.emplace_back(2 * k, 2 * k + 1);
  return r;
}

TEST_P(SelectionKeywords, GrowthKeepsRangesAndFailsWithoutChange) {
  const int32_t n = caps.rangeStep / 2;
  const std::u16string operand(static_cast<std::size_t>(2 * n + 2), u'x');
  struct Row {
    const char* name;
    std::u16string section;
    int32_t RuleWorkspace::*capacity;
    int32_t grown;
  };
  const Row rows[] = {
      {"invertLeftPiece", u"~o", &RuleWorkspace::SelCapacity, 2 * n + 2},
      {"extension", u"::", &RuleWorkspace::SelCapacity, 2 * n + 1},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    // Growth succeeds and keeps the ranges.
    ResetWorkspace(ws, caps);
    caps.allocationLimit = SIZE_MAX;
    context = RuleContext{};
    Start(operand, FullSelection(n));
    ASSERT_EQ(ws.SelCapacity, 2 * n);
    EXPECT_TRUE(Section(r.section));
    EXPECT_EQ(ws.*r.capacity, r.grown);
    // Growth fails at the allocation limit: memory message, capacity kept.
    ResetWorkspace(ws, caps);
    caps.allocationLimit = static_cast<std::size_t>(2 * n + 1);
    context = RuleContext{};
    Start(operand, FullSelection(n));
    EXPECT_FALSE(Section(r.section));
    EXPECT_EQ(context.RuleErrorText, MemoryMessage());
    EXPECT_EQ(ws.SelCapacity, 2 * n);
  }
  caps.allocationLimit = SIZE_MAX;
}

TEST_P(SelectionKeywords, MarksGrowToTheSelectionAndFailWithoutChange) {
  const int32_t n = caps.rangeStep + 1;  // more ranges than the marks hold
  const std::u16string operand(static_cast<std::size_t>(2 * n + 2), u'x');
  Start(operand, FullSelection(n));
  ASSERT_TRUE(Sections({u"M", u"M!"}));
  EXPECT_EQ(ws.MarkCapacity, 2 * n);
  EXPECT_EQ(ws.Mark2Capacity, 2 * n);
  ASSERT_TRUE(Sections({u"D", u"MR"}));
  EXPECT_EQ(Selection(), FullSelection(n));

  ResetWorkspace(ws, caps);
  Start(operand, FullSelection(n));
  caps.allocationLimit = static_cast<std::size_t>(2 * n);  // the mark needs 2n + 1 elements
  EXPECT_FALSE(Section(u"M"));
  EXPECT_EQ(context.RuleErrorText, MemoryMessage());
  EXPECT_EQ(ws.MarkCapacity, caps.rangeStep);
  EXPECT_EQ(ws.MarkFlags & 1, 0);
  caps.allocationLimit = SIZE_MAX;
}

INSTANTIATE_TEST_SUITE_P(Builds, SelectionKeywords, ::testing::ValuesIn(testing::kSelectionBuilds),
                         testing::SelectionBuildName);

}  // namespace
}  // namespace dovetam
