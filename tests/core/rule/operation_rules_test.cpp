// Operation sections through GenerateNewName: edits, clip list, marks and
// conversions written as whole rules, their error texts with the default and
// with configured symbols, and the clip list's capacity and growth failure in
// both builds.
#include <gtest/gtest.h>

#include "core/rule/change_rule.h"
#include "core/rule/rule_workspace.h"
#include "rule_test_support.h"

namespace dovetam {
namespace {

struct Build {
  const char* name;
  Capacities caps;
};
const Build kBuilds[] = {{"large", Capacities::Large()}, {"small", Capacities::Small()}};
std::string BuildName(const ::testing::TestParamInfo<Build>& info) { return info.param.name; }

struct RuleCase {
  const char* name;
  std::u16string objectName;
  std::u16string rule;
  std::u16string expected;  // the new name, or the message
  int16_t kind = 0;
};

class OperationRuleTest : public ::testing::TestWithParam<Build> {
 protected:
  OperationRuleTest() : OperationRuleTest(GetParam().caps) {}
  explicit OperationRuleTest(Capacities caps) : engine(settings, fs, caps) {
    engine.context.CurPos = 7;
    engine.context.CurTotal = 10;
    settings.NgStr = u"";  // names with "\" and "/" may be checked here
  }
  std::u16string Run(const std::u16string& name, const std::u16string& rule) {
    engine.rule = ChangeRule{rule, u"*", true};
    return engine.GenerateNewName(name);
  }
  void Check(const RuleCase& c) {
    SCOPED_TRACE(c.name);
    const std::u16string got = Run(c.objectName, c.rule);
    EXPECT_EQ(engine.context.RuleErrorKind, c.kind);
    if (c.kind == 0) {
      EXPECT_EQ(got, c.expected);
    } else {
      EXPECT_EQ(got, u"");
      EXPECT_EQ(engine.context.RuleErrorText, c.expected);
    }
  }

  Settings settings;
  testing::DateOnlyFileSystem fs;
  RuleEngine engine;
};

const RuleCase kEditRules[] = {
    {"upper", u"name.txt", u"*/u/", u"NAME.TXT"},
    {"lower", u"NaMe.TxT", u"*/l/", u"name.txt"},
    {"upperThenText", u"ab", u"*/u/-*", u"AB-ab"},
    {"sectionFirstWorksOnTheName", u"ab", u"/u/", u"AB"},
    {"textBeforeSectionStartsAfresh", u"ab", u"*/u/x/l/", u"ABxab"},
    {"insertBefore", u"name", u"*/i:[/", u"[name"},
    {"insertAfter", u"name", u"*/i+:]/", u"name]"},
    {"insideInsertsGrowTheRange", u"name", u"*/I:[//I+:]//u/", u"[NAME]"},
    {"outsideInsertKeepsTheRange", u"name", u"*/i:[//i+:]//u/", u"[NAME]"},
    {"outsideInsertLeavesItOut", u"nm", u"*/i:ab//u/", u"abNM"},
    {"insideInsertTakesItIn", u"nm", u"*/I:ab//u/", u"ABNM"},
    {"replace", u"name", u"*/p:x/", u"x"},
    {"replaceWithCodes", u"name", u"*/p:\\03n-*/", u"007-name"},
    {"keep", u"name", u"*/e/", u"name"},
    {"deleteThenText", u"name", u"*/d/x", u"x"},
    {"deleteLeavesAPoint", u"name", u"*/d//i:a//I+:b/", u"ab"},
    {"emptyThenText", u"name", u"*/r/x", u"x"},
    {"emptyThenInsertSelectsNothing", u"name", u"*/r//i:x/y", u"y"},
    {"dropThenSectionStartsAfresh", u"name", u"*/R//u/", u"NAME"},
    {"dropThenText", u"name", u"a*/R/b", u"ab"},
    {"dropOnQuotedOperand", u"name", u"\"q\"/R/*", u"name"},
    {"quotedOperandEdited", u"name", u"\"abc\"/u/", u"ABC"},
    {"spacesAroundSymbol", u"n", u"*/ i : x /", u"x n"},
};

const RuleCase kClipRules[] = {
    {"copyThenCode", u"name", u"*/c/-\\c", u"name-name"},
    {"copyAndDropThenCode", u"name", u"*/C/\\c", u"name"},
    {"cutThenCode", u"name", u"*/x/[\\c]", u"[name]"},
    {"cutAndDropThenAll", u"name", u"*/X/\\C", u"name"},
    {"copyThenPasteIntoQuoted", u"name", u"*/c/\"ab\"/v/", u"namename"},
    {"pasteAllIntoQuoted", u"name", u"*/c/*/c&/\"q\"/V/", u"namenamenamename"},
    {"pasteAfterTheListIsUsed", u"name", u"*/c/\\c\"q\"/v/", u"namename"},
    {"pasteBeyondTheList", u"name", u"*/C/\\c\"q\"/v/x", u"namex"},
    {"rewindThenPaste", u"name", u"*/C/\\c\"q\"/b+//v/", u"namename"},
    {"rewindAndDrop", u"name", u"*/C/\\c*/B//u/", u"nameNAME"},
    {"pasteFromTheBack", u"nm", u"*/c/*/c&/\"q\"/v-/", u"nmnmnm"},
    {"repeatSectionOverCopies", u"nm", u"*/C/*/C&/<[\\c]>", u"[nm][nm"},
    {"argumentPerClipItem", u"nm", u"*/C/*/C&/*/i:\\c-/", u"nm-nm"},
    {"copyThenTextAndCode", u"nm", u"*/c/x\\c", u"nmxnm"},
    {"emptyListPastesEmpty", u"nm", u"*/v/x", u"x"},
};

const RuleCase kMarkRules[] = {
    {"rememberUpperPutBack", u"name", u"*/M//u//MR/", u"name"},
    {"putBackInside", u"name", u"*/m//u//mrs/", u"name"},
    {"putBackOutside", u"name", u"*/M//u//MRS~/", u"NAME"},
    {"secondAfterSameLengthEdit", u"name", u"*/M!//p:abcd//MR!/", u"name"},
    {"markPerOperand", u"name", u"*/M/x*/MR/",
     u"\"/MR/\"の前に、\"/m/\"が指定されていません。", 1},
    {"secondMarkPerOperand", u"name", u"*/M!/*/MR!/",
     u"\"/MR!/\"の前に、\"/m!/\"が指定されていません。", 1},
    {"plainForgottenByEdit", u"name", u"*/M//x//MR/",
     u"\"/MR/\"の前に、\"/m/\"が指定されていません。", 1},
    {"lowerNamesTheSetterInLower", u"name", u"*/mr/", u"\"/mr/\"の前に、\"/m/\"が指定されていません。", 1},
    {"secondLength", u"name", u"*/M!//i:x//MRS~!/",
     u"長さの異なる文字列に、\"/MRS~!/\"を用いることはできません。", 1},
    {"mixedCaseIsNoSymbol", u"name", u"*/Mr/", u"\"/～/\"で存在しない記号\"Mr\"が使われています。", 1},
};

const RuleCase kConversionRules[] = {
    {"halfKanaKeptByZ", u"ｶﾞｷﾞ", u"*/z/", u"ｶﾞｷﾞ"},
    {"halfKanaComposedByZ", u"ｶﾞｷﾞ", u"*/Z/", u"ガギ"},
    {"rangeShrinksWithZ", u"ｶﾞｷﾞ", u"*/Z//i+:!/", u"ガギ!"},
    {"fullLatinNarrowedByH", u"ＡＢ１カ", u"*/h/", u"AB1カ"},
    {"voicedKanaSplitByH", u"ＡＢガ", u"*/H/", u"ABｶﾞ"},
    {"rangeGrowsWithH", u"ガ", u"*/H//I+:!//u/", u"ｶﾞ!"},
    {"yenWidened", u"a\\b", u"*/Z/", u"ａ￥ｂ"},
    {"yenNarrowed", u"ａ￥ｂ", u"*/H/", u"a\\b"},
    {"yenNarrowedKeepingKana", u"カ￥", u"*/h/", u"カ\\"},
    {"kanaMarksKeptByH", u"ー・「」", u"*/h/", u"ー・「」"},
    {"kanaMarksNarrowedByH", u"ー・「」", u"*/H/", u"ｰ･｢｣"},
    {"katakana", u"ひらがなゝ", u"*/K/", u"ヒラガナヽ"},
    {"hiragana", u"カタカナｶ", u"*/k/", u"かたかなｶ"},
    {"fullWidthBlank", u"a b", u"*/Z/", u"ａ\u3000ｂ"},
};

class OperationRulesTest : public OperationRuleTest {};

TEST_P(OperationRulesTest, Edits) {
  for (const RuleCase& c : kEditRules) Check(c);
}
TEST_P(OperationRulesTest, ClipList) {
  for (const RuleCase& c : kClipRules) Check(c);
}
TEST_P(OperationRulesTest, Marks) {
  for (const RuleCase& c : kMarkRules) Check(c);
}
TEST_P(OperationRulesTest, Conversions) {
  for (const RuleCase& c : kConversionRules) Check(c);
}

TEST_P(OperationRulesTest, SectionErrorsWithDefaultSymbols) {
  const RuleCase rows[] = {
      {"unclosed", u"n", u"*/i:a", u"\"/～/\"の対応が取れていません。", 1},
      {"twoColons", u"n", u"*/i:a:b/", u"\"/～/\"内の\":\"が多すぎます。", 1},
      {"noSymbol", u"n", u"*//", u"\"/～/\"の記号が指定されていません。", 1},
      {"blankSymbol", u"n", u"*/  /", u"\"/～/\"の記号が指定されていません。", 1},
      {"noSymbolWithArgument", u"n", u"*/ :X/", u"\"/～:～/\"の記号が指定されていません。", 1},
      {"insertWithoutArgument", u"n", u"*/i/", u"\"/～/\"で存在しない記号\"i\"が使われています。", 1},
      {"keepWithArgument", u"n", u"*/e:X/", u"\"/～:～/\"で存在しない記号\"e\"が使われています。", 1},
      {"copyWithArgument", u"n", u"*/c:/", u"\"/～:～/\"で存在しない記号\"c\"が使われています。", 1},
      {"unknown", u"n", u"*/ q /", u"\"/～/\"で存在しない記号\"q\"が使われています。", 1},
      {"argumentError", u"n", u"*/i:\\q/", u"\"\\～\"内で不正な文字\"q\"が使われています。", 1},
      {"argumentUnpaired", u"n", u"*/p:<x/", u"\"<～>\"の対応が取れていません。", 1},
  };
  for (const RuleCase& c : rows) Check(c);
}

TEST_P(OperationRulesTest, SectionErrorsWithConfiguredSymbols) {
  settings.ChrS1 = u"[";
  settings.ChrS2 = u"]";
  settings.ChrCol = u"=";
  const RuleCase rows[] = {
      {"works", u"ab", u"*[i=-][u]", u"-AB"},
      {"unclosed", u"n", u"*[i=a", u"\"[～]\"の対応が取れていません。", 1},
      {"openerInside", u"n", u"*[i[u]", u"\"[～]\"の対応が取れていません。", 1},
      {"closerAlone", u"n", u"*]", u"\"[～]\"の対応が取れていません。", 1},
      {"twoColons", u"n", u"*[i=a=b]", u"\"[～]\"内の\"=\"が多すぎます。", 1},
      {"noSymbol", u"n", u"*[]", u"\"[～]\"の記号が指定されていません。", 1},
      {"noSymbolWithArgument", u"n", u"*[=x]", u"\"[～=～]\"の記号が指定されていません。", 1},
      {"unknown", u"n", u"*[e=x]", u"\"[～=～]\"で存在しない記号\"e\"が使われています。", 1},
      {"unknownForm1", u"n", u"*[p]", u"\"[～]\"で存在しない記号\"p\"が使われています。", 1},
      {"markMissing", u"n", u"*[MRS]", u"\"[MRS]\"の前に、\"[m]\"が指定されていません。", 1},
      {"markLength", u"n", u"*[m!][i=x][mr!]", u"長さの異なる文字列に、\"[mr!]\"を用いることはできません。", 1},
  };
  for (const RuleCase& c : rows) Check(c);
}

TEST_P(OperationRulesTest, EscapedSymbolsInTheArgument) {
  settings.EscapeMode = true;
  Check({"escapedColon", u"n", u"*/i:a^:b/", u"a:bn"});
  // An escaped closer belongs to the argument as well ("/" cannot stand in a
  // name, so the operand is read from the clip list).
  Check({"escapedCloser", u"n", u"*/I+:a^/b//C/x", u"x"});
  EXPECT_EQ(engine.workspace().ClipItems[1], u"na/b");
}

// A mark or a clip list of one name part is never seen in the next.
TEST_P(OperationRulesTest, NamePartsStartClean) {
  engine.rule = ChangeRule{u"*/M//M!//c/", u"*/MR!/", false};
  EXPECT_EQ(engine.GenerateNewName(u"ab.cd"), u"");
  EXPECT_EQ(engine.context.RuleErrorText, u"\"/MR!/\"の前に、\"/m!/\"が指定されていません。");
  engine.rule = ChangeRule{u"*/c/", u"*/v-/x", false};
  EXPECT_EQ(engine.GenerateNewName(u"ab.cd"), u"ab.x");
}

// Copies grow the clip list to exactly the items needed: the small build
// already grows for a third item.
TEST_P(OperationRulesTest, ClipListCapacity) {
  const int32_t initial = GetParam().caps.rangeStep;
  EXPECT_EQ(Run(u"nm", u"*/C/*/C&/*/C&/<\\c>"), u"nmnmnm");
  EXPECT_EQ(engine.workspace().ClipCapacity, initial < 3 ? 3 : initial);
  EXPECT_EQ(engine.workspace().ClipCount, 3);
  // The grown list serves the next name part without growing again.
  EXPECT_EQ(Run(u"ab", u"*/C/*/C&/<\\c>"), u"abab");
  EXPECT_EQ(engine.workspace().ClipCapacity, initial < 3 ? 3 : initial);
  // A full reset puts the table back to its initial size.
  engine.ResetTables();
  EXPECT_EQ(engine.workspace().ClipCapacity, initial);
}

// Operations on Selections that selection sections build: two ranges from a
// pending union, which the position-moving operations apply first and the
// others leave pending.
const RuleCase kSelectionRules[] = {
    {"insertAtTwoRanges", u"ghijkl", u"*?1(h):1(i)??+??(k)?/i:X/", u"gXhijXkl"},
    {"insertAfterTwoRanges", u"ghijkl", u"*?1(h):1(i)??+??(k)?/I+:X//u/", u"gHIXjKXl"},
    {"copyBeforeReplaceKeepsPending", u"ghijkl", u"*?1(h):1(i)??+??(k)?/c//p:\\c/", u"gkjl"},
    {"keepTwoRanges", u"ghijkl", u"*?1(h):1(i)??+??(k)?/e/", u"hik"},
    {"deleteTwoRanges", u"ghijkl", u"*?1(h):1(i)??+??(k)?/d//i:_/", u"g_j_l"},
    {"copyLeavesTheOperatorPending", u"ghijkl", u"*?(h)??+??(k)?/c/-\\C", u"ghijkl-k"},
    {"cutAppliesTheOperator", u"abcdef", u"*?1(b)??+??1(de)?/x/-\\c\\c", u"acf-bde"},
    {"cutReverse", u"abcdef", u"*?1(b)??+??1(de)?/xr/-\\c\\c", u"acf-deb"},
    {"pasteBeyondTheItems", u"abcdef", u"*?1(b)?/c/?*??1(d)??+??1(f)?/v/", u"abcbe"},
    {"caseLeavesTheOperatorPending", u"ghijkl", u"*?(h)??+??(k)?/u/", u"ghijKl"},
    {"widthAppliesTheOperator", u"ghijkl", u"*?(h)??+??(k)?/Z/", u"gｈijｋl"},
    {"upperMiddleWord", u"one two six", u"*?1(two)?/u/", u"one TWO six"},
    {"markOutsideTheSelection", u"ghijkl", u"*/M//u/?(H)??+??(K)??=?/MRS~/", u"gHijKl"},
    {"markInsideTheSelection", u"ghijkl", u"*/M//u/?(H)??+??(K)??=?/MRS/", u"GhIJkL"},
};

TEST_P(OperationRulesTest, OnSelections) {
  for (const RuleCase& c : kSelectionRules) Check(c);
}

INSTANTIATE_TEST_SUITE_P(Builds, OperationRulesTest, ::testing::ValuesIn(kBuilds), BuildName);

// With the allocation limit at the initial size the clip list cannot grow:
// the copy that needs more is a rule error and the capacity stays.
class ClipGrowthFailureTest : public OperationRuleTest {
 protected:
  static Capacities Limited() {
    Capacities caps = GetParam().caps;
    caps.allocationLimit = static_cast<std::size_t>(caps.rangeStep) + 1;
    return caps;
  }
  ClipGrowthFailureTest() : OperationRuleTest(Limited()) {}
};

TEST_P(ClipGrowthFailureTest, CopyBeyondTheLimitIsMemoryShort) {
  const int32_t initial = GetParam().caps.rangeStep;
  std::u16string fits = u"*/C/";
  for (int32_t i = 1; i < initial; ++i) fits += u"*/C&/";
  EXPECT_EQ(Run(u"n", fits + u"\\C"), std::u16string(static_cast<std::size_t>(initial), u'n'));
  EXPECT_EQ(engine.context.RuleErrorKind, 0);
  Check({"oneTooMany", u"n", fits + u"*/c&/\\C", u"メモリ不足のため、処理を実行できませんでした。", 1});
  EXPECT_EQ(engine.workspace().ClipCapacity, initial);
  Check({"cutTooMany", u"n", fits + u"*/x&/", u"メモリ不足のため、処理を実行できませんでした。", 1});
  EXPECT_EQ(engine.workspace().ClipCapacity, initial);
}

INSTANTIATE_TEST_SUITE_P(Builds, ClipGrowthFailureTest, ::testing::ValuesIn(kBuilds), BuildName);

}  // namespace
}  // namespace dovetam
