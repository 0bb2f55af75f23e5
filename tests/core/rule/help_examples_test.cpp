// The examples of the help page give what the page says they give.
#include <gtest/gtest.h>

#include "core/rule/change_rule.h"

namespace dovetam {
namespace {

TEST(HelpExamples, GiveWhatTheHelpPageShows) {
  struct Row {
    std::u16string rule1, rule2, expected;
  } rows[] = {
      {u"new_*", u"*", u"new_abc.txt"},
      {u"*_\\03n", u"*", u"abc_003.txt"},
      {u"\\(n+100)-*", u"*", u"103-abc.txt"},
      {u"*", u"bak", u"abc.bak"},
      {u"*?(b)?/u/", u"*", u"aBc.txt"},
      {u"*?(c)?/d/", u"*", u"ab.txt"},
      {u"*?(b)?/i:X/", u"*", u"aXbc.txt"},
      {u"*/z/", u"*", u"ａｂｃ.txt"},
  };
  Settings settings;
  auto fs = CreateSystemFileSystem();
  RuleEngine engine(settings, *fs, Capacities::Large());
  engine.ResetTables();
  for (const Row& r : rows) {
    SCOPED_TRACE(std::string(r.rule1.begin(), r.rule1.end()));
    engine.context = RuleContext{};
    engine.context.CurPos = 3;
    engine.context.CurTotal = 10;
    engine.context.CurModified = 1;
    engine.context.CurCreated = 1;
    engine.rule = ChangeRule{r.rule1, r.rule2, false};
    EXPECT_EQ(engine.GenerateNewName(u"abc.txt"), r.expected);
    EXPECT_EQ(engine.context.RuleErrorKind, 0);
  }
}

}  // namespace
}  // namespace dovetam
