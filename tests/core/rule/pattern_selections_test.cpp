// Pattern selections through the pattern core: ?A?, ?A:B?, the all-strings
// walks and the extensions, read back from the Selection they leave; the
// operators combining pattern selections; output growth past the initial
// capacity in both builds and its failure.
#include <gtest/gtest.h>

#include "core/rule/rule_messages.h"
#include "selection_test_support.h"

namespace dovetam {
namespace {

using testing::Ranges;

struct PatternCase {
  const char* name;
  std::u16string operand;
  Ranges start;
  std::vector<std::u16string> sections;
  Ranges expected;
  bool revMode = false;
};

const PatternCase kPatternCases[] = {
    {"nothingSelectedStaysEmpty", u"axbx", {}, {u"(x)"}, {}},
    {"nothingSelectedPair", u"axbx", {}, {u"1(a):1(x)"}, {}},
    {"allMatches", u"axbx", {{1, 5}}, {u"(x)"}, {{2, 3}, {4, 5}}},
    {"secondMatch", u"axbx", {{1, 5}}, {u"2(x)"}, {{4, 5}}},
    {"missingMatchDropsRange", u"axbx", {{1, 5}}, {u"3(x)"}, {}},
    {"missingMatchWholeWithI", u"axbx", {{1, 5}}, {u"3i(x)"}, {{1, 5}}},
    {"bareNumber", u"abcde", {{1, 6}}, {u"3"}, {{3, 4}}},
    {"bareFromBack", u"abcde", {{1, 6}}, {u"-1"}, {{5, 6}}},
    {"bareBeyondIsEmptyAtEnd", u"abcde", {{1, 6}}, {u"9"}, {{6, 6}}},
    {"bareBeyondDropped", u"abcde", {{1, 6}}, {u"9d"}, {}},
    {"emptySideIsWholeRange", u"abcde", {{1, 3}, {4, 6}}, {u""}, {{1, 3}, {4, 6}}},
    {"offsetAfterEachMatch", u"axbx", {{1, 5}}, {u"(x)+1"}, {{3, 4}, {5, 5}}},
    {"pairFrontToBack", u"abc", {{1, 4}}, {u"1(a):1(c)"}, {{1, 4}}},
    {"pairReversedDropped", u"abc", {{1, 4}}, {u"1(c):1(a)"}, {}},
    {"pairReversedRevMode", u"abc", {{1, 4}}, {u"1(c):1(a)"}, {{1, 4}}, true},
    {"pairTouchingIsEmpty", u"ab", {{1, 3}}, {u"1(b):1(a)"}, {{2, 2}}},
    {"pairTouchingRevMode", u"ab", {{1, 3}}, {u"1(b):1(a)"}, {{1, 3}}, true},
    {"pairMissingSideDropsOnlyThatRange", u"xy-x-y", {{1, 3}, {3, 5}, {5, 7}}, {u"1(x):1(y)"}, {{1, 3}}},
    {"allAPairedWithNextB", u"a1b a2b", {{1, 8}}, {u"(a):1(b)"}, {{1, 4}, {5, 8}}},
    {"allBPairedWithAInFront", u"aab", {{1, 4}}, {u"1(a):(b)"}, {{1, 4}}},
    {"backwardWalkInTextOrder", u"axbx", {{1, 5}}, {u"(x)-1"}, {{1, 2}, {3, 4}}},
    {"backwardWalkOverRanges", u"axbxcx", {{1, 3}, {3, 7}}, {u"(x)-0"}, {{2, 3}, {4, 5}, {6, 7}}},
    {"extensionForward", u"a-xyz-b", {{3, 6}}, {u"1(a)::1(b)"}, {{1, 8}}},
    {"extensionNoAInGap", u"x-xyz-b", {{3, 6}}, {u"1(a)::1(b)"}, {{3, 8}}},
    {"extensionEmptySidesKeep", u"abcdef", {{2, 3}, {4, 5}}, {u"::"}, {{2, 3}, {4, 5}}},
    {"extensionForwardSeesExtendedEnd", u"ab-ab", {{1, 2}, {5, 6}}, {u"-1(a)::1(b)"}, {{1, 3}, {4, 6}}},
    {"extensionBackwardSeesExtendedStart", u"ab-ab", {{1, 2}, {5, 6}}, {u"-1(a):r:1(b)"}, {{1, 3}, {4, 6}}},
    {"unionOfMatches", u"abcab", {{1, 6}}, {u"(a)", u"+", u"(b)", u"="}, {{1, 2}, {2, 3}, {4, 5}, {5, 6}}},
    {"unionWithinMatches", u"abcab", {{1, 6}}, {u"(a)", u"+.", u"(b)", u"="}, {{1, 2}, {4, 5}}},
    {"minusOutsideMatches", u"abcab", {{1, 6}}, {u"(ab)", u"&~", u"(b)", u"="}, {{1, 2}, {4, 5}}},
    {"twoOperatorsInARow", u"abcab", {{1, 6}}, {u"(ab)", u"+", u"&", u"(b)", u"="}, {{2, 3}, {5, 6}}},
};

using PatternSelections = testing::SelectionFixture;

TEST_P(PatternSelections, Table) {
  for (const PatternCase& c : kPatternCases) {
    SCOPED_TRACE(c.name);
    context = RuleContext{};
    settings.RevMode = c.revMode;
    Start(c.operand, c.start);
    EXPECT_TRUE(Sections(c.sections));
    EXPECT_EQ(context.RuleErrorKind, 0);
    EXPECT_EQ(Selection(), c.expected);
  }
}

TEST_P(PatternSelections, ManyMatchesGrowTheSelection) {
  const int32_t n = 3 * caps.rangeStep + 1;
  std::u16string operand;
  Ranges expected;
  for (int32_t k = 1; k <= n; ++k) {
    operand += u"ax";
    expected.emplace_back(2 * k, 2 * k + 1);
  }
  Start(operand, {{1, 2 * n + 1}});
  ASSERT_TRUE(Section(u"(x)"));
  EXPECT_EQ(Selection(), expected);
  EXPECT_GE(ws.SelCapacity, 2 * n);
  // Pairs of a walk grow the same way.
  Start(operand, {{1, 2 * n + 1}});
  ASSERT_TRUE(Section(u"(a):1(x)"));
  Ranges pairs;
  for (int32_t k = 1; k <= n; ++k) pairs.emplace_back(2 * k - 1, 2 * k + 1);
  EXPECT_EQ(Selection(), pairs);
}

TEST_P(PatternSelections, GrowthFailureIsAMemoryError) {
  const int32_t n = 3 * caps.rangeStep + 1;
  std::u16string operand;
  for (int32_t k = 1; k <= n; ++k) operand += u"ax";
  Start(operand, {{1, 2 * n + 1}});
  const int32_t before = ws.SelCapacity;
  caps.allocationLimit = static_cast<std::size_t>(before) + 1;
  EXPECT_FALSE(Section(u"(x)"));
  EXPECT_EQ(context.RuleErrorText, MemoryMessage());
  EXPECT_EQ(ws.SelCapacity, before);
  caps.allocationLimit = SIZE_MAX;
}

INSTANTIATE_TEST_SUITE_P(Builds, PatternSelections, ::testing::ValuesIn(testing::kSelectionBuilds),
                         testing::SelectionBuildName);

}  // namespace
}  // namespace dovetam
