// Splitting one command-line text into paths: a table of texts and the paths
// they give.
#include "core/objects/command_line.h"

#include <gtest/gtest.h>

namespace dovetam {
namespace {

struct Row {
  const char* name;
  std::u16string text;
  std::vector<std::u16string> paths;
};

TEST(CommandLineTest, SplitsAsTheQuotingRulesSay) {
  const std::vector<Row> rows = {
      {"empty", u"", {}},
      {"blanks only", u"   ", {}},
      {"two paths, quoted with blank", u"a.txt  \"b c.txt\"", {u"a.txt", u"b c.txt"}},
      {"doubled quotes", u"\"say \"\"hi\"\".txt\"", {u"say \"hi\".txt"}},
      {"no closing quote", u"\"open end", {u"open end"}},
      {"two quotes alone", u"\"\"", {u""}},
      {"quote followed by other character", u"\"ab\"c d\"", {u"ab\"c d"}},
      {"trailing blanks after unquoted", u"a b   ", {u"a", u"b"}},
      {"trailing blanks after quoted", u"\"a b\"   ", {u"a b"}},
      {"quote inside unquoted path", u"a\"b c", {u"a\"b", u"c"}},
      {"tab is part of a path", u"a\tb c", {u"a\tb", u"c"}},
      {"quote last character", u"\"x y\"", {u"x y"}},
      {"quoted then unquoted", u"\"x\" y", {u"x", u"y"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(row.paths, SplitCommandLine(row.text));
  }
}

}  // namespace
}  // namespace dovetam
