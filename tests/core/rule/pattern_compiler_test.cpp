// The group pattern compiler: each row pairs a group text with a dump of its
// compiled alternatives and their fixed lengths, or with its error text.
#include "core/rule/pattern_compiler.h"
#include "core/rule/pattern_work.h"

#include <gtest/gtest.h>

#include "pattern_test_support.h"

namespace dovetam::testing {
namespace {

struct CompileCase {
  const char* name;
  std::u16string group;
  std::string dump;    // or the error text
  std::string fixed;   // PatFixedLength per alternative, space-separated
  bool reversed = false;
  bool escapes = false;
  bool clips = true;   // ClipItems X, Y, Z (else none)
};

const std::string kUsage = "\"?(～)?\"または\"?[～]?\"の使い方が正しくありません。";
const std::string kDigits = "\"?(～)?\"または\"?[～]?\"内の桁数が多すぎます。";
std::string Symbol(const std::string& c) {
  return "\"?(～)?\"または\"?[～]?\"内で、不正な記号\"" + c + "\"が使われています。";
}

std::string Fixed(const RuleWorkspace& ws) {
  std::string out;
  for (int32_t a = 1; a <= ws.AltCount; ++a) {
    if (a > 1) out += " ";
    out += std::to_string(ws.PatFixedLength[static_cast<std::size_t>(a)]);
  }
  return out;
}

void Compile(Engine& e, const std::u16string& group, bool reversed, int16_t mask = 0) {
  e.ws.SideGroupText[1] = group;
  e.ws.SearchReversed = reversed;
  e.ws.WindowMode = 1;
  e.ws.WindowLow = 1;
  e.ws.WindowHigh = 10;
  e.ws.PatClipUp = 1;
  e.ws.PatClipDown = e.ws.ClipCount;
  CompilePattern(e.call, 1, mask);
}

class CompileTable : public ::testing::TestWithParam<CompileCase> {};

TEST_P(CompileTable, CompilesToItems) {
  const CompileCase& c = GetParam();
  Engine e;
  e.settings.EscapeMode = c.escapes;
  if (c.clips) e.SetClips({u"X", u"Y", u"Z"});
  Compile(e, c.group, c.reversed);
  if (e.call.failed()) {
    EXPECT_EQ(Utf8(e.context.RuleErrorText), c.dump);
    EXPECT_EQ(e.context.RuleErrorKind, 1);
    return;
  }
  EXPECT_EQ(DumpPattern(e.ws), c.dump);
  EXPECT_EQ(Fixed(e.ws), c.fixed);
}

INSTANTIATE_TEST_SUITE_P(
    Groups, CompileTable,
    ::testing::Values(
        CompileCase{"Literal", u"abc", "'abc'", "3"},
        CompileCase{"TrailingEmptyAlternative", u"a|b|", "'a' | 'b' | (none)", "1 1 1"},
        CompileCase{"EmptyGroup", u"", "(none)", "1"},
        CompileCase{"ClassBetweenLiterals", u"ab\\3ncd", "'ab' n{3} 'cd'", "7"},
        CompileCase{"OneOrMore", u"\\n", "n+", "1"},
        CompileCase{"ZeroOrMore", u"\\0n", "n*", "1"},
        CompileCase{"ZeroOrMoreTwoZeros", u"\\00n", "n*", "1"},
        CompileCase{"LeadingZeroCount", u"\\05n", "n{5}", "5"},
        CompileCase{"Count", u"\\5n", "n{5}", "5"},
        CompileCase{"BlanksInItem", u"\\ 1 2 n", "n{12}", "12"},
        CompileCase{"FullWidthBlank", u"\\\u30003.", ".{3}", "3"},
        CompileCase{"CountWithZeroInside", u"\\10a", "a{10}", "10"},
        CompileCase{"LargestCount", u"\\99999999n", "n{99999999}", "99999999"},
        CompileCase{"CountTooLarge", u"\\100000000n", kDigits, ""},
        CompileCase{"SignBeforeClass", u"\\+n", kUsage, ""},
        CompileCase{"SignAfterDigit", u"\\3+n", kUsage, ""},
        CompileCase{"SignAfterSign", u"\\+-c", kUsage, ""},
        CompileCase{"YenEndsAlternative", u"a\\|b", kUsage, ""},
        CompileCase{"YenEndsGroup", u"ab\\", kUsage, ""},
        CompileCase{"UnknownLetter", u"\\H", Symbol("H"), ""},
        CompileCase{"UnknownSymbol", u"\\#n", Symbol("#"), ""},
        CompileCase{"AllClassLetters", u"\\n\\N\\a\\A\\u\\U\\l\\L\\q\\Q\\x\\X\\s\\S\\e\\E\\m\\M\\h\\Z\\z\\k\\K\\.\\p\\P",
                    "n+ N+ a+ A+ u+ U+ l+ L+ q+ Q+ x+ X+ s+ S+ e+ E+ m+ M+ h+ Z+ z+ k+ K+ .+ p+ P+", "26"},
        CompileCase{"ClipJoinsLiteral", u"a\\cb", "'aXb'", "3"},
        CompileCase{"ClipsCountUp", u"\\c\\c", "'XY'", "2"},
        CompileCase{"ClipsCountDown", u"\\-c\\-c", "'ZY'", "2"},
        CompileCase{"ClipByNumber", u"\\2c", "'Y'", "1"},
        CompileCase{"ClipByNumberFromEnd", u"\\-1c", "'Z'", "1"},
        CompileCase{"ClipBeyondList", u"\\4c", "''", "1"},
        CompileCase{"AllClips", u"\\C", "'XYZ'", "3"},
        CompileCase{"AllClipsWithCount", u"\\2C", kUsage, ""},
        CompileCase{"AllClipsWithZero", u"\\0C", kUsage, ""},
        CompileCase{"EmptyClipAfterClass", u"\\n\\c", "n+ ''", "1", false, false, false},
        CompileCase{"ReversedMirror", u"ab\\ncd", "'dc' n+ 'ba'", "5", true},
        CompileCase{"ReversedClips", u"a\\cb|\\c\\2n", "'bXa' | n{2} 'X'", "3 3", true},
        CompileCase{"EscapedBar", u"a^|b", "'a|b'", "3", false, true},
        CompileCase{"EscapedYen", u"a^\\n", "'a\\n'", "3", false, true},
        CompileCase{"EscapeAtEnd", u"a^", "\"^\"の後に文字が指定されていません。", "", false, true},
        CompileCase{"EscapesOffKeepCaret", u"a^|b", "'a^' | 'b'", "2 1"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PatternCompiler, ConfiguredSymbolsSeparateAndQuote) {
  Engine e;
  e.settings.ChrBar.assign(1, u'!');
  e.settings.ChrYen.assign(1, u'%');
  e.settings.ChrQ1.assign(1, u'<');
  e.settings.ChrQ2.assign(1, u'>');
  Compile(e, u"a|b!%2n\\n", false);
  EXPECT_EQ(DumpPattern(e.ws), "'a|b' | n{2} '\\n'");
  Compile(e, u"%+n", false);
  EXPECT_EQ(Utf8(e.context.RuleErrorText), "\"<(～)>\"または\"<[～]>\"の使い方が正しくありません。");
}

// Counts of up to 99,999,999 add up past 2^31 (22 items) and past 2^32 (44
// items, where a 32-bit sum came back positive): the fixed length is the
// exact sum, literals included, in both directions.
TEST(PatternCompiler, FixedLengthIsTheExactSumOfLargeCounts) {
  for (const int items : {21, 22, 43, 44}) {
    for (const bool reversed : {false, true}) {
      SCOPED_TRACE(std::to_string(items) + (reversed ? " reversed" : ""));
      std::u16string group = u"ab";
      for (int k = 0; k < items; ++k) group += u"\\99999999.";
      Engine e;
      Compile(e, group + u"|\\99999999n\\99999999n", reversed);
      ASSERT_FALSE(e.call.failed());
      EXPECT_EQ(e.ws.PatFixedLength[1], 2 + int64_t{99'999'999} * items);
      EXPECT_EQ(e.ws.PatFixedLength[2], int64_t{199'999'998});
      EXPECT_EQ(e.ws.PatItemCount[1], items + 1);
    }
  }
}

// The tables (Alternatives x items) keep their size for later names: a group
// that needs more cells than any name may use fails every time, however far
// earlier names grew them, and they never pass that bound.
TEST(PatternCompiler, TablesStayWithinTheirBound) {
  std::u16string wide;
  for (int k = 0; k < 2000; ++k) wide += u"q|";
  for (int k = 0; k < 2000; ++k) wide += u"a\\n";
  Engine e;
  for (int name = 0; name < 2; ++name) {
    e.call.patternWork = 0;
    e.context = RuleContext{};
    Compile(e, wide, false);
    EXPECT_EQ(e.context.RuleErrorText, u"パターンによる検索が複雑すぎるため、処理を実行できませんでした。");
    EXPECT_LE((int64_t{e.ws.AltCapacity} + 1) * (e.ws.ItemCapacity + 1), kPatternTableCellLimit);
  }
  e.call.patternWork = 0;
  e.context = RuleContext{};
  Compile(e, u"ab|\\3n", false);
  EXPECT_EQ(DumpPattern(e.ws), "'ab' | n{3}");
}

TEST(PatternCompiler, SetsTheSearchStateOfEachAlternative) {
  Engine e;
  Compile(e, u"ab||\\n", false);
  EXPECT_EQ(e.ws.AltState[1], 0);
  EXPECT_EQ(e.ws.AltState[2], -1);
  EXPECT_EQ(e.ws.AltState[3], 0);
  EXPECT_EQ(e.ws.AltMatch[AltMatchCell(1, 1)], -1);
  EXPECT_EQ(e.ws.AltMatch[AltMatchCell(1, 2)], -1);
  EXPECT_EQ(e.ws.AltPos[3], 1);
}

TEST(PatternCompiler, ClipFlagsAndCounts) {
  Engine e;
  e.SetClips({u"X", u"Y", u"Z"});
  Compile(e, u"\\c\\c|\\2c|\\-c", false);
  EXPECT_EQ(e.ws.PatClipFlags[1], 1);
  EXPECT_EQ(e.ws.PatClipUpCount[1], 2);
  EXPECT_EQ(e.ws.PatClipFlags[2], 0);
  EXPECT_EQ(e.ws.PatClipFlags[3], 2);
  EXPECT_EQ(e.ws.PatClipDownCount[3], 1);
}

TEST(PatternCompiler, RecompileWithMaskTouchesOnlyAlternativesOfThatCursor) {
  Engine e;
  e.SetClips({u"X", u"Y", u"Z"});
  Compile(e, u"\\c|ab|\\-c", false);
  e.ws.AltState[2] = 1;
  e.ws.AltPos[2] = 5;
  e.ws.AltState[3] = 1;
  e.ws.PatClipUp = 2;
  e.ws.WindowLow = 4;
  CompilePattern(e.call, 1, 1);
  EXPECT_EQ(DumpPattern(e.ws), "'Y' | 'ab' | 'Z'");
  EXPECT_EQ(e.ws.AltPos[1], 4);
  EXPECT_EQ(e.ws.AltState[1], 0);
  EXPECT_EQ(e.ws.AltState[2], 1);
  EXPECT_EQ(e.ws.AltPos[2], 5);
  EXPECT_EQ(e.ws.AltState[3], 1);
}

struct BuildCase {
  const char* name;
  Capacities caps;
};

class CompileGrowth : public ::testing::TestWithParam<BuildCase> {};

TEST_P(CompileGrowth, MoreAlternativesThanCapacityRecreateExactly) {
  Engine e(GetParam().caps);
  std::u16string group = u"a";
  const int32_t alts = e.caps.patternStep + 3;
  for (int32_t k = 1; k < alts; ++k) group += u"|a";
  e.ws.PatClipFlags[1] = 0;
  Compile(e, group, false, 1);  // the mask is overridden: every alternative compiled
  ASSERT_FALSE(e.call.failed());
  EXPECT_EQ(e.ws.AltCapacity, alts);
  EXPECT_EQ(e.ws.AltCount, alts);
  EXPECT_EQ(e.ws.PatItemCount[static_cast<std::size_t>(alts)], 1);
  EXPECT_EQ(e.ws.AltState[static_cast<std::size_t>(alts)], 0);
}

TEST_P(CompileGrowth, ManyItemsGrowTheItemDimensionKeepingOtherRows) {
  Engine e(GetParam().caps);
  std::u16string group = u"xy|";
  const int32_t items = e.caps.patternStep * 2 + 1;
  for (int32_t k = 0; k < items; ++k) group += (k % 2 == 0) ? u"\\n" : u"b";
  Compile(e, group, false);
  ASSERT_FALSE(e.call.failed());
  EXPECT_EQ(e.ws.ItemCapacity, e.caps.patternStep * 3);
  EXPECT_EQ(e.ws.PatItemCount[2], items);
  EXPECT_EQ(DumpPattern(e.ws).substr(0, 12), "'xy' | n+ 'b");
  EXPECT_EQ(e.ws.PatItemKind[PatCell(e.ws, 2, items)], kItemOneOrMore);
}

TEST_P(CompileGrowth, FailedGrowthKeepsTheCapacities) {
  Engine e(GetParam().caps);
  const int32_t step = e.caps.patternStep;
  e.caps.allocationLimit = static_cast<std::size_t>(step + 1) * (step + 1);
  std::u16string many = u"a";
  for (int32_t k = 0; k < step + 1; ++k) many += u"|a";
  Compile(e, many, false);
  EXPECT_EQ(Utf8(e.context.RuleErrorText), "メモリ不足のため、処理を実行できませんでした。");
  EXPECT_EQ(e.ws.AltCapacity, step);

  Engine f(GetParam().caps);
  f.caps.allocationLimit = static_cast<std::size_t>(step + 1) * (step + 1);
  std::u16string items;
  for (int32_t k = 0; k < step + 1; ++k) items += u"\\n";
  Compile(f, items, false);
  EXPECT_EQ(Utf8(f.context.RuleErrorText), "メモリ不足のため、処理を実行できませんでした。");
  EXPECT_EQ(f.ws.ItemCapacity, step);
}

INSTANTIATE_TEST_SUITE_P(Builds, CompileGrowth,
                         ::testing::Values(BuildCase{"Large", Capacities::Large()},
                                           BuildCase{"Small", Capacities::Small()}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace dovetam::testing
