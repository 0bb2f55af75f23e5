// The pattern search: named rows over both match modes, both directions,
// counts, anchored and whole-window matches and clip items; a cross-check of
// the real matcher against the reference on random small patterns; growth of
// the stack and of the range lists in both builds, and growth failure.
#include <random>

#include <gtest/gtest.h>

#include "pattern_reference.h"
#include "pattern_test_support.h"
#include "core/rule/change_rule.h"
#include "core/rule/pattern_compiler.h"
#include "core/rule/pattern_matcher.h"
#include "core/rule/selection_services.h"

namespace dovetam::testing {
namespace {

constexpr int16_t kAll = 3;
constexpr int16_t kNth = 1;
constexpr int16_t kAnchored = 2;
constexpr int16_t kPlus = 1;
constexpr int16_t kMinus = 2;

struct SearchCase {
  const char* name;
  std::u16string text;
  std::u16string group;
  int16_t countKind;
  int16_t sign;
  int32_t nth;
  int16_t flags;
  int16_t mchMode;
  std::string expected;
  int16_t prefixMode = 0;
  int32_t low = 1;
  int32_t high = 0;  // 0: the end of the text
};

class SearchTable : public ::testing::TestWithParam<SearchCase> {};

TEST_P(SearchTable, Finds) {
  const SearchCase& c = GetParam();
  for (Capacities caps : {Capacities::Large(), Capacities::Small()}) {
    SCOPED_TRACE(caps.rangeStep);
    Engine e(caps);
    e.settings.MchMode = c.mchMode;
    e.SetClips({u"X", u"Y"});
    e.SetSide(1, c.group, c.countKind, c.sign, c.nth, c.prefixMode, c.flags);
    const int32_t high = c.high == 0 ? static_cast<int32_t>(c.text.size()) + 1 : c.high;
    EXPECT_EQ(RunSearch(e, c.text, c.low, high), c.expected);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Searches, SearchTable,
    ::testing::Values(
        SearchCase{"DigitRunsLongest", u"x1y22z333", u"\\n", kAll, kPlus, 0, 0, 1, "[2,3)[4,6)[7,10)"},
        SearchCase{"DigitRunsLongestMode2", u"x1y22z333", u"\\n", kAll, kPlus, 0, 0, 2, "[2,3)[4,6)[7,10)"},
        SearchCase{"ShortestViableMode1", u"axbx", u"\\.x", kNth, kPlus, 1, 0, 1, "(1,3)"},
        SearchCase{"LongestViableMode2", u"axbx", u"\\.x", kNth, kPlus, 1, 0, 2, "(1,5)"},
        SearchCase{"WholeWindowMode2", u"axbx", u"\\.x", kAnchored, kPlus, 1, 0, 2, "(1,5)"},
        SearchCase{"WholeWindowMode1Misses", u"axbx", u"\\.x", kAnchored, kPlus, 1, 0, 1, "code 0"},
        SearchCase{"FirstAlternativeWinsTie", u"abcd", u"ab|abc", kNth, kPlus, 1, 0, 1, "(1,3)"},
        SearchCase{"EarlierStartWins", u"xabc", u"bc|ab", kNth, kPlus, 1, 0, 1, "(2,4)"},
        SearchCase{"NoOverlap", u"aaa", u"aa", kAll, kPlus, 0, 0, 1, "[1,3)"},
        SearchCase{"FromTheBack", u"abcab", u"ab", kNth, kMinus, 1, 0, 1, "(4,6)"},
        SearchCase{"FromTheBackScannedLeft", u"abcab", u"ab", kNth, kMinus, 1, 1, 1, "(4,6)"},
        SearchCase{"SecondFromTheBackScannedLeft", u"abcab", u"ab", kNth, kMinus, 2, 1, 1, "(1,3)"},
        SearchCase{"FirstScannedRight", u"abcab", u"ab", kNth, kPlus, 1, 2, 1, "(1,3)"},
        SearchCase{"AllBackward", u"abab", u"ab", kAll, kMinus, 0, 0, 1, "[3,5)[1,3)"},
        SearchCase{"BackwardRunsLongestFromTheRight", u"a12b", u"\\n", kAll, kMinus, 0, 0, 1, "[2,4)"},
        SearchCase{"BackwardOverlapTakenFromTheRight", u"aaa", u"aa", kAll, kMinus, 0, 0, 1, "[2,4)"},
        SearchCase{"MissingNthNoLetter", u"abcab", u"ab", kNth, kPlus, 3, 0, 1, "code 0", 0},
        SearchCase{"MissingNthI", u"abcab", u"ab", kNth, kPlus, 3, 0, 1, "code -2", 1},
        SearchCase{"MissingNthD", u"abcab", u"ab", kNth, kPlus, 3, 0, 1, "code 0", 2},
        SearchCase{"MissingNthL", u"abcab", u"ab", kNth, kPlus, 3, 0, 1, "code -3", 3},
        SearchCase{"MissingNthR", u"abcab", u"ab", kNth, kPlus, 3, 0, 1, "code -4", 4},
        SearchCase{"MissingFarNthL", u"abcab", u"ab", kNth, kMinus, 3, 1, 1, "code -3", 3},
        SearchCase{"ZerosPlusAnchoredAtStart", u"abx", u"ab", kAnchored, kPlus, 0, 0, 1, "(1,3)"},
        SearchCase{"ZerosPlusNotAtStart", u"xab", u"ab", kAnchored, kPlus, 0, 0, 1, "code -4", 4},
        SearchCase{"ZerosMinusAnchoredAtEnd", u"xab", u"ab", kAnchored, kMinus, 0, 0, 1, "(2,4)"},
        SearchCase{"ZerosMinusNotAtEnd", u"abx", u"ab", kAnchored, kMinus, 0, 0, 1, "code 0"},
        SearchCase{"ZerosMinusScannedLeft", u"abab", u"ab", kAnchored, kMinus, 0, 1, 1, "(3,5)"},
        SearchCase{"ZerosPlusScannedRight", u"abab", u"ab", kAnchored, kPlus, 0, 2, 1, "(1,3)"},
        SearchCase{"WholeWindowBackward", u"abc", u"\\a", kAnchored, kMinus, 1, 0, 1, "(1,4)"},
        SearchCase{"EmptyOnlyNeverMatches", u"abc", u"\\0n", kAll, kPlus, 0, 0, 1, "none"},
        SearchCase{"EmptyAlternativeNeverMatches", u"abc", u"|b", kAll, kPlus, 0, 0, 1, "[2,3)"},
        SearchCase{"WindowLimitsMatches", u"abab", u"ab", kAll, kPlus, 0, 0, 1, "[3,5)", 0, 2},
        SearchCase{"WindowEndCutsRun", u"1234", u"\\n", kAll, kPlus, 0, 0, 1, "[2,4)", 0, 2, 4},
        SearchCase{"WindowEndCutsRunBackward", u"1234", u"\\n", kAll, kMinus, 0, 0, 1, "[2,4)", 0, 2, 4},
        SearchCase{"ExactCount", u"12345", u"\\2n", kAll, kPlus, 0, 0, 1, "[1,3)[3,5)"},
        SearchCase{"ZeroOrMoreInside", u"a1b1b", u"a\\0nb", kAll, kPlus, 0, 0, 1, "[1,4)"},
        SearchCase{"ZeroOrMoreTakesNone", u"ab1b", u"a\\0nb", kAll, kPlus, 0, 0, 1, "[1,3)"},
        SearchCase{"CaseFlag", u"xAB", u"ab", kAll, kPlus, 0, 0x10, 1, "[2,4)"},
        SearchCase{"WidthFlag", u"ａｂ", u"ab", kAll, kPlus, 0, 0x20, 1, "[1,3)"},
        SearchCase{"ClipsCountUp", u"XYXY", u"\\c", kAll, kPlus, 0, 0, 1, "[1,2)[2,3)"},
        SearchCase{"ClipsCountDown", u"XYXY", u"\\-c", kAll, kPlus, 0, 0, 1, "[2,3)[3,4)"},
        SearchCase{"ClipsCountUpBackward", u"XYXY", u"\\c", kAll, kMinus, 0, 0, 1, "[3,4)[2,3)"},
        SearchCase{"AllClips", u"aXYb", u"\\C", kAll, kPlus, 0, 0, 1, "[2,4)"},
        SearchCase{"SyntaxError", u"abc", u"\\+n", kAll, kPlus, 0, 0, 1,
                   "error: \"?(～)?\"または\"?[～]?\"の使い方が正しくありません。"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PatternSearch, SideWithoutGroupWritesNothing) {
  Engine e;
  e.ws.SideGroupKind[1] = 1;
  e.ws.SideFound[1] = {0, 5, 6};
  int32_t count = 9;
  FindPatternMatches(e.call, u"abc", 1, 4, 1, 0, count);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(e.ws.SideFound[1][1], 5);
  EXPECT_EQ(e.ws.SideFound[1][2], 6);
}

TEST(PatternSearch, MissingOccurrenceKeepsTheEnd) {
  Engine e;
  e.SetSide(1, u"zz", kNth, kPlus, 1, 3);
  e.ws.SideFound[1] = {0, 5, 6};
  int32_t count = 0;
  FindPatternMatches(e.call, u"abc", 1, 4, 1, 0, count);
  EXPECT_EQ(e.ws.SideFound[1][1], -3);
  EXPECT_EQ(e.ws.SideFound[1][2], 6);
}

TEST(PatternSearch, SideBAndBaseAppendBehindEarlierRanges) {
  Engine e(Capacities::Small());
  e.SetSide(2, u"a", kAll);
  int32_t count = 0;
  FindPatternMatches(e.call, u"aaaa", 1, 5, 2, 3, count);
  ASSERT_FALSE(e.call.failed());
  EXPECT_EQ(count, 4);
  EXPECT_EQ(e.ws.SelCapacity, 14);  // slot 7 needs element 14: grown by 2 at a time
  EXPECT_EQ(e.ws.NewRanges[7], 1);
  EXPECT_EQ(e.ws.NewRanges[14], 5);
  EXPECT_EQ(e.ws.CurSide, 2);
}

struct BuildCase {
  const char* name;
  Capacities caps;
};

class SearchGrowth : public ::testing::TestWithParam<BuildCase> {};

TEST_P(SearchGrowth, RangeListsGrowByTheStep) {
  Engine e(GetParam().caps);
  std::u16string text;
  const int32_t matches = e.caps.rangeStep + 1;
  for (int32_t k = 0; k < matches; ++k) text += u"ab";
  e.SetSide(1, u"b", kAll);
  int32_t count = 0;
  FindPatternMatches(e.call, text, 1, static_cast<int32_t>(text.size()) + 1, 1, 0, count);
  ASSERT_FALSE(e.call.failed());
  EXPECT_EQ(count, matches);
  EXPECT_EQ(e.ws.SelCapacity % e.caps.rangeStep, 0);
  EXPECT_GE(e.ws.SelCapacity, 2 * matches);
  EXPECT_LT(e.ws.SelCapacity, 2 * matches + e.caps.rangeStep);
  EXPECT_EQ(e.ws.NewRanges[static_cast<std::size_t>(2 * matches)], 2 * matches + 1);
}

TEST_P(SearchGrowth, StackGrowsByTheStep) {
  Engine e(GetParam().caps);
  const std::u16string text(static_cast<std::size_t>(e.caps.rangeStep) * 2, u'a');
  e.SetSide(1, u"\\.", kAll);
  int32_t count = 0;
  FindPatternMatches(e.call, text, 1, static_cast<int32_t>(text.size()) + 1, 1, 0, count);
  ASSERT_FALSE(e.call.failed());
  EXPECT_EQ(count, 1);
  EXPECT_EQ(e.ws.StackCapacity, e.caps.rangeStep * 2);
}

TEST_P(SearchGrowth, FailedGrowthIsTheMemoryError) {
  const std::string memory = "error: メモリ不足のため、処理を実行できませんでした。";
  {
    Engine e(GetParam().caps);
    e.caps.allocationLimit = static_cast<std::size_t>(e.caps.rangeStep) + 1;
    const std::u16string text(static_cast<std::size_t>(e.caps.rangeStep) * 2, u'a');
    e.SetSide(1, u"\\.", kAll);
    EXPECT_EQ(RunSearch(e, text, 1, static_cast<int32_t>(text.size()) + 1), memory);
    EXPECT_EQ(e.ws.StackCapacity, e.caps.rangeStep);
  }
  {
    Engine e(GetParam().caps);
    e.caps.allocationLimit = static_cast<std::size_t>(e.caps.rangeStep) + 1;
    std::u16string text(static_cast<std::size_t>(e.caps.rangeStep), u'a');
    e.SetSide(1, u"a", kAll);
    EXPECT_EQ(RunSearch(e, text, 1, static_cast<int32_t>(text.size()) + 1), memory);
    EXPECT_EQ(e.ws.SelCapacity, e.caps.rangeStep);
  }
}

INSTANTIATE_TEST_SUITE_P(Builds, SearchGrowth,
                         ::testing::Values(BuildCase{"Large", Capacities::Large()},
                                           BuildCase{"Small", Capacities::Small()}),
                         [](const auto& info) { return std::string(info.param.name); });

// Patterns whose naive backtracking takes exponential time finish: the
// matcher expands each (item, position) state at most once per search.
TEST(PatternSearch, PathologicalPatternsFinish) {
  struct Row {
    const char* name;
    std::u16string group;
  };
  std::u16string manyRuns;
  std::u16string manyOptional;
  for (int k = 0; k < 25; ++k) manyRuns += u"\\.";
  for (int k = 0; k < 40; ++k) manyOptional += u"\\0a";
  const std::u16string text(300, u'a');
  for (const Row& row : {Row{"NestedRuns", manyRuns + u"x"}, Row{"OptionalRuns", manyOptional + u"\\0.x"},
                         Row{"AlternativesOfRuns", manyRuns + u"x|" + manyRuns + u"y"}}) {
    SCOPED_TRACE(row.name);
    for (int16_t mode : {1, 2}) {
      Engine e;
      e.settings.MchMode = mode;
      e.SetSide(1, row.group, kAll);
      EXPECT_EQ(RunSearch(e, text, 1, 301), "none");
    }
  }
}

std::u16string Repeat(std::u16string_view piece, int times) {
  std::u16string out;
  for (int k = 0; k < times; ++k) out += piece;
  return out;
}

// Counts whose sum passes 2^31: 22 items of 99,999,999 once wrapped to a
// negative fixed length (a walk over 2 x 10^9 starts), 44 items back to a
// positive one. An Alternative longer than the window is never tried, so the
// search costs the compile and a few steps per character, in both directions.
TEST(PatternSearch, CountsBeyondTheWindowAreNeverTried) {
  struct Row {
    const char* name;
    std::u16string group;
    std::u16string text;
    std::string expected;
  };
  const std::u16string huge22 = Repeat(u"\\99999999.", 22);
  const std::u16string huge44 = Repeat(u"\\99999999.", 44);
  const std::u16string longText = std::u16string(3000, u'a') + u"b";
  for (const Row& row : {Row{"SumPastInt32", huge22, u"abc", "none"},
                         Row{"SumWrappedToPositive", huge44, u"abc", "none"},
                         Row{"HugeThenFixed", huge22 + u"\\99999999.\\2.", u"abc", "none"},
                         Row{"OtherAlternativeFound", huge22 + u"|b", u"abc", "[2,3)"},
                         Row{"LongText", huge44 + u"|b", longText, "[3001,3002)"}}) {
    for (const bool forward : {true, false}) {
      SCOPED_TRACE(std::string(row.name) + (forward ? " forward" : " backward"));
      Engine e;
      e.SetSide(1, row.group, kAll, forward ? kPlus : kMinus);
      const int32_t high = static_cast<int32_t>(row.text.size()) + 1;
      EXPECT_EQ(RunSearch(e, row.text, 1, high), row.expected);
      EXPECT_LE(e.call.patternWork, static_cast<int64_t>(row.group.size() + 8 * row.text.size() + 16));
    }
  }
}

// Searches that make few class tests but run other loops many times (many
// Alternatives, long literals, many passes, pattern tables of Alternatives x
// items re-laid out at every growth) spend the same work: they stop at the
// limit with the rule error instead of holding the name for seconds.
TEST(PatternSearch, EveryLoopSpendsTheWork) {
  struct Row {
    const char* name;
    std::u16string group;
    std::u16string text;
  };
  for (const Row& row : {Row{"ManyLiteralAlternatives", Repeat(u"ab|", 4000) + u"a", std::u16string(4000, u'a')},
                         Row{"LongLiteral", std::u16string(3000, u'a') + u"b", std::u16string(12000, u'a')},
                         Row{"ManyPasses", Repeat(u"|", 5000) + u"a", std::u16string(6000, u'a')},
                         Row{"WideAndLongTables", Repeat(u"q|", 2000) + Repeat(u"a\\n", 2000), u"abc"}}) {
    SCOPED_TRACE(row.name);
    Engine e;
    e.SetSide(1, row.group, kAll);
    EXPECT_EQ(RunSearch(e, row.text, 1, static_cast<int32_t>(row.text.size()) + 1),
              "error: パターンによる検索が複雑すぎるため、処理を実行できませんでした。");
  }
}

// The real matcher and search against the reference on random small
// patterns and texts, both match modes and both directions.
TEST(PatternSearch, AgreesWithTheReferenceMatcher) {
  const std::u16string pieces[] = {u"a", u"b", u"ab", u"\\n", u"\\0n", u"\\2n", u"\\.", u"\\0.",
                                   u"\\a", u"\\0a", u"\\1a", u"|", u"1"};
  const std::u16string letters = u"ab1 2";
  std::mt19937 random(20240607);
  for (int round = 0; round < 3000; ++round) {
    std::u16string group;
    const int items = 1 + static_cast<int>(random() % 4);
    for (int k = 0; k < items; ++k) group += pieces[random() % std::size(pieces)];
    std::u16string text;
    const int length = static_cast<int>(random() % 9);
    for (int k = 0; k < length; ++k) text += letters[random() % letters.size()];
    const int16_t mode = static_cast<int16_t>(1 + random() % 2);
    const bool forward = random() % 2 == 0;
    const int32_t len = static_cast<int32_t>(text.size());
    const int32_t low = 1 + static_cast<int32_t>(random() % (len + 1));
    const int32_t high = low + static_cast<int32_t>(random() % (len + 2 - low));
    SCOPED_TRACE(Utf8(group) + " on '" + Utf8(text) + "' [" + std::to_string(low) + "," +
                 std::to_string(high) + ") mode " + std::to_string(mode) + (forward ? " fwd" : " back"));

    Engine ref;
    ref.settings.MchMode = mode;
    ref.SetSide(1, group, kAll, forward ? kPlus : kMinus);
    std::string expected;
    for (auto [s, e] : ReferenceAll(ref, text, low, high, forward)) {
      expected += '[';
      expected += std::to_string(s);
      expected += ',';
      expected += std::to_string(e);
      expected += ')';
    }
    if (expected.empty()) expected = "none";

    // Every start of the compiled alternatives, one memo per alternative.
    const std::u16string search = forward ? text : std::u16string(text.rbegin(), text.rend());
    const int32_t hi = ref.ws.WindowHigh;
    for (int32_t a = 1; a <= ref.ws.AltCount; ++a) {
      AltMemo memo;
      for (int32_t s = ref.ws.WindowLow; s < hi; ++s) {
        EXPECT_EQ(MatchAlternativeAt(ref.call, search, a, s, memo), ReferenceMatchAt(ref, search, a, s, hi))
            << "alternative " << a << " at " << s;
      }
    }

    Engine real;
    real.settings.MchMode = mode;
    real.SetSide(1, group, kAll, forward ? kPlus : kMinus);
    EXPECT_EQ(RunSearch(real, text, low, high), expected);
  }
}

}  // namespace
}  // namespace dovetam::testing

namespace dovetam {
namespace {

// A pattern of stacked runs over an operand of thousands of characters would
// take seconds to minutes; the search stops at its work limit with a rule
// error, while the same pattern on a name of ordinary length still matches.
TEST(PatternSearch, WorkLimitStopsAHopelessSearch) {
  Settings settings;
  std::unique_ptr<FileSystem> fs = CreateSystemFileSystem();
  RuleEngine engine(settings, *fs, Capacities::Large());
  engine.ResetTables();
  const std::u16string runs = u"\\.\\.\\.\\.\\.\\.\\.\\.";
  engine.context.CurPos = 3;
  engine.context.CurTotal = 10;
  engine.rule = ChangeRule{u"\"\\100000%n\"?(" + runs + u"x)?/u/", u"*", true};
  EXPECT_EQ(engine.GenerateNewName(u"abc.txt"), u"");
  EXPECT_EQ(engine.context.RuleErrorKind, 1);
  EXPECT_EQ(engine.context.RuleErrorText,
            u"パターンによる検索が複雑すぎるため、処理を実行できませんでした。");

  engine.rule = ChangeRule{u"*?(" + runs + u"x)?/u/", u"*", true};
  EXPECT_EQ(engine.GenerateNewName(u"abcdefghijx.txt"), u"ABCDEFGHIJX.txt");
  EXPECT_EQ(engine.context.RuleErrorKind, 0);
}

// Groups of 21, 22 and 44 items "\99999999." can never match a name; the
// rule leaves it as a group that matches nothing does (a 22-item group used
// to hold the evaluation for over a minute).
TEST(PatternSearch, RuleWithHugeCountsLeavesTheName) {
  Settings settings;
  std::unique_ptr<FileSystem> fs = CreateSystemFileSystem();
  RuleEngine engine(settings, *fs, Capacities::Large());
  engine.rule = ChangeRule{u"?(zz)?/p:_/", u"*", true};
  const std::u16string unmatched = engine.GenerateNewName(u"abc");
  ASSERT_EQ(engine.context.RuleErrorKind, 0);
  for (const int items : {21, 22, 44}) {
    SCOPED_TRACE(items);
    std::u16string group;
    for (int k = 0; k < items; ++k) group += u"\\99999999.";
    engine.rule = ChangeRule{u"?(" + group + u")?/p:_/", u"*", true};
    EXPECT_EQ(engine.GenerateNewName(u"abc"), unmatched);
    EXPECT_EQ(engine.context.RuleErrorKind, 0);
    engine.rule = ChangeRule{u"?(" + group + u"|b)?/p:_/", u"*", true};
    EXPECT_NE(engine.GenerateNewName(u"abc"), unmatched);
    EXPECT_EQ(engine.context.RuleErrorKind, 0);
  }
}

}  // namespace
}  // namespace dovetam
