// Candidate names: splitting, numbered forms, evacuation names, the names
// that must never reach the disk, and finding a name's number.
#include "core/run/name_candidates.h"

#include <gtest/gtest.h>

#include "platform/text_case.h"

namespace dovetam {
namespace {

struct SplitCase {
  const char* name;
  std::u16string input;
  bool mix;
  std::u16string base, ext;
};
void PrintTo(const SplitCase& c, std::ostream* os) { *os << c.name; }
class SplitTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitTest, Splits) {
  const NameParts p = SplitNewName(GetParam().input, GetParam().mix);
  EXPECT_EQ(GetParam().base, p.base);
  EXPECT_EQ(GetParam().ext, p.ext);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SplitTest,
    ::testing::Values(SplitCase{"lastDot", u"photo.2001.jpg", false, u"photo.2001", u".jpg"},
                      SplitCase{"noDot", u"photo", false, u"photo", u""},
                      SplitCase{"onlyLeadingDot", u".profile", false, u"", u".profile"},
                      SplitCase{"trailingDot", u"photo.", false, u"photo", u"."},
                      SplitCase{"mixKeepsAll", u"photo.jpg", true, u"photo.jpg", u""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(NameCandidatesTest, NumberedForms) {
  EXPECT_EQ(u"a-12", NumberedBase(u"a", 1, 12));
  EXPECT_EQ(u"a_0", NumberedBase(u"a", 2, 0));
  EXPECT_EQ(u"a 3", NumberedBase(u"a", 3, 3));
  EXPECT_EQ(u"a999999999", NumberedBase(u"a", 4, 999999999));
  EXPECT_EQ(u"a(2)", NumberedBase(u"a", 5, 2));
  EXPECT_EQ(u"a[2]", NumberedBase(u"a", 6, 2));
  EXPECT_EQ(u"a.txt.$1$", EvacuationName(u"a.txt", 1, 1));
  EXPECT_EQ(u"a.txt._12_", EvacuationName(u"a.txt", 2, 12));
  EXPECT_EQ(u"a.txt.3", EvacuationName(u"a.txt", 3, 3));
  EXPECT_EQ(u"photo.2001", NameBase(u"photo.2001.jpg"));
  EXPECT_EQ(u"photo", NameBase(u"photo"));
}

TEST(NameCandidatesTest, UsableNames) {
  for (const std::u16string& ok : {std::u16string(u"a"), std::u16string(u"..."),
                                   std::u16string(u"\U0001F600.txt"), std::u16string(u"x\xDC80y"),
                                   std::u16string(85, u'あ'), std::u16string(255, u'\xDCFF')}) {
    EXPECT_TRUE(IsUsableName(ok));
  }
  for (const std::u16string& bad :
       {std::u16string(), std::u16string(u"."), std::u16string(u".."), std::u16string(u"a/b"),
        std::u16string(u"a\0b", 3), std::u16string(u"a\xD800"), std::u16string(u"\xDC00x"),
        std::u16string(85, u'あ') + u"x", std::u16string(256, u'\xDCFF')}) {
    EXPECT_FALSE(IsUsableName(bad));
  }
}

TEST(CandidateSequenceTest, NamesAndNumbers) {
  const CandidateSequence seq(SplitNewName(u"Pic.jpg", false), 5, 1, false);
  EXPECT_EQ(u"Pic.jpg", seq.Name(1));
  EXPECT_EQ(u"Pic(2).jpg", seq.Name(2));
  EXPECT_EQ(u"Pic(2)", seq.Base(2));
  EXPECT_EQ(std::optional<int64_t>(1), seq.NumberOf(UpperText(u"pic.JPG")));
  EXPECT_EQ(std::optional<int64_t>(17), seq.NumberOf(UpperText(u"pic(17).jpg")));
  EXPECT_EQ(std::nullopt, seq.NumberOf(UpperText(u"pic(017).jpg")));  // no leading zeros
  EXPECT_EQ(std::nullopt, seq.NumberOf(UpperText(u"pic(1).jpg")));    // 1 is unnumbered here
  EXPECT_EQ(std::nullopt, seq.NumberOf(UpperText(u"pic().jpg")));
  EXPECT_EQ(std::nullopt, seq.NumberOf(UpperText(u"pic(2.jpg")));
  EXPECT_EQ(std::nullopt, seq.NumberOf(UpperText(u"pic(1000000000).jpg")));
  const CandidateSequence numbered(SplitNewName(u"x", false), 4, 0, true);
  EXPECT_EQ(u"x0", numbered.Name(0));
  EXPECT_EQ(std::optional<int64_t>(0), numbered.NumberOf(u"X0"));
  EXPECT_EQ(std::nullopt, numbered.NumberOf(u"X"));
}

}  // namespace
}  // namespace dovetam
