#include "core/common/path_helpers.h"

#include <gtest/gtest.h>

namespace dovetam {
namespace {

struct NormalizeCase {
  const char* name;
  std::u16string path;
  int flags;
  std::u16string expected;
};

TEST(NormalizePath, Table) {
  const NormalizeCase cases[] = {
      {"empty becomes root", u"", 3, u"/"},
      {"empty with flag 2 only", u"", 2, u"/"},
      {"folder gets a slash", u"/home/user", 3, u"/home/user/"},
      {"slash kept", u"/home/user/", 3, u"/home/user/"},
      {"linux colon untouched", u"/data/a:b", 3, u"/data/a:b/"},
      {"drive prefix upper-cased", u"c:/data", 3, u"C:/data/"},
      {"up to the last colon", u"x:y:z", 1, u"X:Y:z"},
      {"flag 1 adds no slash", u"/tmp", 1, u"/tmp"},
      {"flag 0 changes nothing", u"c:x", 0, u"c:x"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(NormalizePath(c.path, c.flags), c.expected);
  }
}

TEST(SwapVariants, ExchangesValues) {
  int a = 1, b = 2;
  SwapVariants(a, b);
  EXPECT_EQ(a, 2);
  EXPECT_EQ(b, 1);
  std::u16string s = u"x", t = u"y";
  SwapVariants(s, t);
  EXPECT_EQ(s, u"y");
  EXPECT_EQ(t, u"x");
}

}  // namespace
}  // namespace dovetam
