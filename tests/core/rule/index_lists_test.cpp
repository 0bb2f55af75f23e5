// Index lists ?{...}?: which of five selected ranges each list keeps, with
// and without revmode, their syntax errors (also with nothing selected), and
// chr_col, chr_com and the braces configured.
#include <gtest/gtest.h>

#include "selection_test_support.h"

namespace dovetam {
namespace {

using testing::Ranges;

const std::u16string kUsage = u"\"?{～}?\"の使い方が正しくありません。";
const std::u16string kDigits = u"\"?{～}?\"内の桁数が多すぎます。";

struct IndexCase {
  const char* name;
  std::u16string list;
  std::vector<int> kept;  // indices among the five ranges
  bool revMode = false;
  std::u16string error = {};
};

const IndexCase kIndexCases[] = {
    {"first", u"{1}", {1}},
    {"last", u"{-1}", {5}},
    {"firstAndThird", u"{1,3}", {1, 3}},
    {"secondToFourth", u"{2:4}", {2, 3, 4}},
    {"secondToLast", u"{2:}", {2, 3, 4, 5}},
    {"firstTwo", u"{:2}", {1, 2}},
    {"lastTwo", u"{-2:-1}", {4, 5}},
    {"plusSign", u"{+2}", {2}},
    {"beyondKeepsNothing", u"{7}", {}},
    {"beyondWithI", u"{7i}", {1, 2, 3, 4, 5}},
    {"zeroWithI", u"{0i}", {1, 2, 3, 4, 5}},
    {"zero", u"{0}", {}},
    {"empty", u"{}", {}},
    {"emptyItems", u"{,,}", {}},
    {"pairEndBeyond", u"{3:9}", {3, 4, 5}},
    {"pairEndBeyondDrop", u"{3:9d}", {}},
    {"pairBothAfter", u"{7:9}", {}},
    {"pairStartBeyondLeft", u"{7l:9}", {1, 2, 3, 4, 5}},
    {"pairBackBeyond", u"{-9:2}", {1, 2}},
    {"pairStartRight", u"{7r:-9}", {}},
    {"pairEndI", u"{2:9i}", {2, 3, 4, 5}},
    {"pairEndLeftGivesNothingBeforeStart", u"{2:9l}", {}},
    {"pairBothMissing", u"{:}", {1, 2, 3, 4, 5}},
    {"pairReversed", u"{4:2}", {}},
    {"pairReversedRevMode", u"{4:2}", {2, 3, 4}, true},
    {"pairFromBackReversedRevMode", u"{-1:1}", {1, 2, 3, 4, 5}, true},
    {"duplicatesOnce", u"{1,1,2}", {1, 2}},
    {"blanksJoinDigits", u"{1 2}", {}},
    {"blanksAround", u"{ 2 ,\u3000-1 }", {2, 5}},
    {"largestNumber", u"{99999999}", {}},
    {"loneSign", u"{-}", {}, false, kUsage},
    {"signWithZero", u"{+0}", {}, false, kUsage},
    {"leftLetterOnSingle", u"{1l}", {}, false, kUsage},
    {"rightLetterOnSingle", u"{1r}", {}, false, kUsage},
    {"threeIndices", u"{1:2:3}", {}, false, kUsage},
    {"foreignLetter", u"{1x}", {}, false, kUsage},
    {"innerOpener", u"{1{2}", {}, false, kUsage},
    {"innerCloser", u"{1}2}", {}, false, kUsage},
    {"digitAfterLetter", u"{1i2}", {}, false, kUsage},
    {"secondSign", u"{+-1}", {}, false, kUsage},
    {"pairSignWithoutNumber", u"{1:-}", {}, false, kUsage},
    {"tooManyDigits", u"{100000000}", {}, false, kDigits},
    {"tooManyDigitsInPair", u"{1:100000000}", {}, false, kDigits},
};

Ranges FiveRanges() { return {{1, 2}, {3, 4}, {5, 6}, {7, 8}, {9, 10}}; }

using IndexLists = testing::SelectionFixture;

TEST_P(IndexLists, KeepsRangesByIndex) {
  for (const IndexCase& c : kIndexCases) {
    SCOPED_TRACE(c.name);
    context = RuleContext{};
    settings.RevMode = c.revMode;
    Start(u"abcdefghij", FiveRanges());
    const bool ok = Section(c.list);
    if (!c.error.empty()) {
      EXPECT_FALSE(ok);
      EXPECT_EQ(context.RuleErrorText, c.error);
      continue;
    }
    EXPECT_TRUE(ok);
    Ranges expected;
    for (int k : c.kept) expected.push_back(FiveRanges()[static_cast<std::size_t>(k - 1)]);
    EXPECT_EQ(Selection(), expected);
  }
}

TEST_P(IndexLists, NothingSelectedStillChecksSyntax) {
  Start(u"abc", {});
  EXPECT_TRUE(Section(u"{1}"));
  EXPECT_TRUE(Section(u"{2:3}"));
  EXPECT_TRUE(Section(u"{1i}"));
  EXPECT_EQ(Selection(), Ranges{});
  EXPECT_FALSE(Section(u"{1l}"));
  EXPECT_EQ(context.RuleErrorText, kUsage);
}

TEST_P(IndexLists, ConfiguredSymbols) {
  settings.ChrBra1 = u"[";
  settings.ChrBra2 = u"]";
  settings.ChrCol = u"~";
  settings.ChrCom = u"/";
  Start(u"abcdefghij", FiveRanges());
  EXPECT_TRUE(Section(u"[1/3~4]"));
  EXPECT_EQ(Selection(), (Ranges{{1, 2}, {5, 6}, {7, 8}}));
  Start(u"abcdefghij", FiveRanges());
  EXPECT_FALSE(Section(u"[1,2]"));
  EXPECT_EQ(context.RuleErrorText, u"\"?[～]?\"の使い方が正しくありません。");
}

INSTANTIATE_TEST_SUITE_P(Builds, IndexLists, ::testing::ValuesIn(testing::kSelectionBuilds),
                         testing::SelectionBuildName);

}  // namespace
}  // namespace dovetam
