// Escape-aware search and escape removal, on the cases of their contract.
#include "core/rule/escape_search.h"

#include <gtest/gtest.h>

namespace dovetam {
namespace {

struct SearchCase {
  const char* name;
  bool escapeMode;
  std::u16string text;
  bool backward;
  int32_t start;
  int32_t expected;
};

class SearchTest : public ::testing::TestWithParam<SearchCase> {};

TEST_P(SearchTest, FindsTheUnescapedBar) {
  const SearchCase& c = GetParam();
  Settings s;
  s.EscapeMode = c.escapeMode;
  const int32_t got = c.backward ? InStrRevUnescaped(c.text, u"|", c.start, s)
                                 : InStrUnescaped(c.text, u"|", c.start, s);
  EXPECT_EQ(got, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SearchTest,
    ::testing::Values(
        SearchCase{"plain", true, u"a|b", false, 1, 2},
        SearchCase{"oneEscapeSkipped", true, u"a^|b|c", false, 1, 5},
        SearchCase{"twoEscapesCancel", true, u"a^^|b", false, 1, 4},
        SearchCase{"threeEscapesEscape", true, u"^^^|", false, 1, 0},
        SearchCase{"escapeBeforeStartCounts", true, u"^|x", false, 2, 0},
        SearchCase{"startBeyondEnd", true, u"a|b", false, 4, 0},
        SearchCase{"emptyForward", true, u"", false, 1, 0},
        SearchCase{"backwardSkipsWholeRun", true, u"a|^|", true, 0, 2},
        SearchCase{"backwardOnlyEscaped", true, u"^|", true, 0, 0},
        SearchCase{"backwardWithinStart", true, u"|a|", true, 2, 1},
        SearchCase{"backwardStartNegative", true, u"|a|", true, -1, 0},
        SearchCase{"emptyBackward", true, u"", true, 0, 0},
        SearchCase{"offForward", false, u"a^|b", false, 1, 3},
        SearchCase{"offBackward", false, u"a|^|", true, 0, 4}),
    [](const auto& info) { return std::string(info.param.name); });

struct RemoveCase {
  const char* name;
  bool escapeMode;
  std::u16string text;
  std::u16string expected;
  bool fails;
};

class RemoveEscapesTest : public ::testing::TestWithParam<RemoveCase> {};

TEST_P(RemoveEscapesTest, RemovesEachEscapeSymbol) {
  const RemoveCase& c = GetParam();
  Settings s;
  s.EscapeMode = c.escapeMode;
  RuleContext ctx;
  EXPECT_EQ(RemoveEscapes(c.text, s, ctx), c.expected);
  EXPECT_EQ(ctx.RuleErrorKind, c.fails ? 1 : 0);
  if (c.fails) {
    EXPECT_EQ(ctx.RuleErrorText, u"\"^\"の後に文字が指定されていません。");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RemoveEscapesTest,
    ::testing::Values(RemoveCase{"escapedBar", true, u"a^|b", u"a|b", false},
                      RemoveCase{"doubleEscape", true, u"^^", u"^", false},
                      RemoveCase{"fourEscapes", true, u"^^^^x", u"^^x", false},
                      RemoveCase{"escapeAtEnd", true, u"a^", u"", true},
                      RemoveCase{"oddRunAtEnd", true, u"^^^", u"", true},
                      RemoveCase{"empty", true, u"", u"", false},
                      RemoveCase{"offUnchanged", false, u"a^|b", u"a^|b", false},
                      RemoveCase{"offEscapeAtEnd", false, u"a^", u"a^", false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(EscapeSearch, ConfiguredEscapeSymbolTakesThePlaceOfCaret) {
  Settings s;
  s.EscapeMode = true;
  s.ChrCap = std::u16string(u"~");  // (assigning the literal trips GCC 12's -Wrestrict)
  RuleContext ctx;
  EXPECT_EQ(InStrUnescaped(u"a~|b|", u"|", 1, s), 5);
  EXPECT_EQ(InStrUnescaped(u"a^|b", u"|", 1, s), 3);
  EXPECT_EQ(RemoveEscapes(u"x~", s, ctx), u"");
  EXPECT_EQ(ctx.RuleErrorText, u"\"~\"の後に文字が指定されていません。");
}

}  // namespace
}  // namespace dovetam
