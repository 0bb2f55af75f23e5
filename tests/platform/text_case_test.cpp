// The one "without case" comparison: simple per-unit upper-casing.
#include "platform/text_case.h"

#include <gtest/gtest.h>

namespace dovetam {
namespace {

TEST(TextCaseTest, UpperAndLowerPerUnit) {
  struct Row {
    const char* name;
    std::u16string text, upper, lower;
  };
  const Row rows[] = {
      {"Ascii", u"abC.Txt", u"ABC.TXT", u"abc.txt"},
      {"FullWidthLatin", u"\uFF41\uFF22", u"\uFF21\uFF22", u"\uFF41\uFF42"},
      {"Greek", u"\u03B1\u0392", u"\u0391\u0392", u"\u03B1\u03B2"},
      {"SharpSStaysOneUnit", u"\u00DF", u"\u00DF", u"\u00DF"},
      {"KanaUnchanged", u"かなカナｶﾅ", u"かなカナｶﾅ", u"かなカナｶﾅ"},
      {"SurrogatesUnchanged", u"\U0001D41A\xDCE9", u"\U0001D41A\xDCE9", u"\U0001D41A\xDCE9"},
      {"DeseretNotMapped", u"\U00010428", u"\U00010428", u"\U00010428"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    EXPECT_EQ(r.upper, UpperText(r.text));
    EXPECT_EQ(r.lower, LowerText(r.text));
  }
}

TEST(TextCaseTest, EqualNoCase) {
  EXPECT_TRUE(EqualNoCase(u"Report.TXT", u"report.txt"));
  EXPECT_TRUE(EqualNoCase(u"\uFF41", u"\uFF21"));
  EXPECT_FALSE(EqualNoCase(u"a", u"\uFF21"));  // width is not case
  EXPECT_FALSE(EqualNoCase(u"ab", u"a"));
  EXPECT_FALSE(EqualNoCase(u"\xDCC3", u"\xDCE3"));
}

}  // namespace
}  // namespace dovetam
