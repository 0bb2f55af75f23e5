// Selection sections end to end through GenerateNewName: a selection
// followed by an operation changes only the selected ranges.
#include <gtest/gtest.h>

#include "core/rule/change_rule.h"
#include "selection_test_support.h"

namespace dovetam {
namespace {

struct RuleRow {
  const char* name;
  std::u16string name_;
  std::u16string rule;
  std::u16string expected;
};

const RuleRow kRows[] = {
    {"deleteMatches", u"axbx", u"*?(x)?/d/", u"ab"},
    {"deleteSecondMatch", u"axbx", u"*?2(x)?/d/", u"axb"},
    {"deleteBetween", u"xa-b-cx", u"*?1(a):-1(c)?/d/", u"xx"},
    {"deleteInvert", u"axbx", u"*?(x)??~?/d/", u"xx"},
    {"upperMatch", u"a1b2c3", u"*?(b)?/u/", u"a1B2c3"},
    {"unionUpper", u"abcab", u"*?(a)??+??(b)??=?/u/", u"ABcAB"},
    {"minusUpper", u"abcab", u"*?(ab)??&~??(b)??=?/u/", u"AbcAb"},
    {"indexListUpper", u"abcab", u"*?(a)??{-1}?/u/", u"abcAb"},
    {"extensionUpper", u"a-xyz-b", u"*?3:5??1(a)::1(b)?/u/", u"A-XYZ-B"},
    {"selectionAloneKeepsName", u"name", u"?(x)?", u"name"},
    {"keywordAfterText", u"ab", u"x?D?", u"xab"},
};

TEST(SelectionRules, ThroughGenerateNewName) {
  for (const testing::Build& b : testing::kSelectionBuilds) {
    Settings settings;
    testing::DateOnlyFileSystem fs;
    RuleEngine engine(settings, fs, b.caps);
    for (const RuleRow& r : kRows) {
      SCOPED_TRACE(std::string(r.name) + " " + b.name);
      engine.rule = ChangeRule{r.rule, u"*", true};
      const std::u16string got = engine.GenerateNewName(r.name_);
      EXPECT_EQ(got, r.expected);
    }
  }
}

}  // namespace
}  // namespace dovetam
