// The forbidden-character end phase: the three passes, their skipping, and
// the final refusal naming the first character of ngstr that remains.
#include "core/rule/forbidden_chars.h"

#include <gtest/gtest.h>

#include "rule_test_support.h"

namespace dovetam {
namespace {

struct ForbiddenCase {
  const char* name;
  bool change, place, remove;
  std::u16string placeText;
  std::u16string text;
  std::u16string expected;  // "" with an error
  std::u16string message;   // "" when it passes
};

class ForbiddenTest : public testing::RuleCallTest, public ::testing::WithParamInterface<ForbiddenCase> {};

TEST_P(ForbiddenTest, TreatsOrRefuses) {
  const ForbiddenCase& c = GetParam();
  settings.NgCngMode = c.change;
  settings.NgPlaceMode = c.place;
  settings.NgDelMode = c.remove;
  settings.NgPlaceStr = c.placeText;
  EXPECT_EQ(ApplyForbiddenChars(call, c.text), c.expected);
  EXPECT_EQ(context.RuleErrorKind, c.message.empty() ? 0 : 2);
  EXPECT_EQ(context.RuleErrorText, c.message);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, ForbiddenTest,
    ::testing::Values(
        ForbiddenCase{"defaultsRefuse", false, false, false, u"(err)", u"a?b", u"",
                      u"生成名\"a?b\"に禁則文字\"?\"が含まれています。"},
        ForbiddenCase{"firstOfNgStrNamed", false, false, false, u"(err)", u"a|b:c", u"",
                      u"生成名\"a|b:c\"に禁則文字\":\"が含まれています。"},
        ForbiddenCase{"cleanTextUnchanged", true, true, true, u"(err)", u"abc", u"abc", u""},
        ForbiddenCase{"toFullWidth", true, false, false, u"(err)", u"a?b\\c", u"a？b￥c", u""},
        ForbiddenCase{"fullWidthSkipsLaterPasses", true, true, true, u"(err)", u"a?b", u"a？b", u""},
        ForbiddenCase{"replace", false, true, false, u"(err)", u"a:b", u"a(err)b", u""},
        ForbiddenCase{"replaceThenDelete", false, true, true, u"_:_", u"a?b", u"a__b", u""},
        ForbiddenCase{"replacementCheckedAtTheEnd", false, true, false, u"::", u"a:b", u"",
                      u"生成名\"a::b\"に禁則文字\":\"が含まれています。"},
        ForbiddenCase{"replacementHasLaterChar", false, true, true, u"?x", u"a:b", u"axxb", u""},
        ForbiddenCase{"replacementRefused", false, true, false, u"<", u"a:b", u"",
                      u"生成名\"a<b\"に禁則文字\"<\"が含まれています。"},
        ForbiddenCase{"deleteOnly", false, false, true, u"(err)", u"a<b>c", u"abc", u""}),
    [](const auto& info) { return std::string(info.param.name); });

using ForbiddenPhase = testing::RuleCallTest;

// The characters a name may not hold, as the settings' default lists them
// (colon, backslash, slash, asterisk, question mark, double quote, less-than,
// greater-than, vertical bar), each with its full-width form. Written out
// here rather than read from the settings, so that a default missing one of
// them is caught as well as a pass that skips one.
struct ForbiddenChar {
  char16_t narrow;
  char16_t wide;
};
constexpr ForbiddenChar kEveryForbiddenChar[] = {
    {u':', u'\uFF1A'}, {u'\\', u'\uFFE5'}, {u'/', u'\uFF0F'}, {u'*', u'\uFF0A'}, {u'?', u'\uFF1F'},
    {u'"', u'\uFF02'}, {u'<', u'\uFF1C'},  {u'>', u'\uFF1E'}, {u'|', u'\uFF5C'},
};

// Each forbidden character, alone in a name, is treated by every pass: a
// pass that skips one finds nothing, and with nothing found the final check
// is skipped too, so the character would reach the disk with no error.
TEST_F(ForbiddenPhase, EveryForbiddenCharacterIsTreatedByEveryPass) {
  std::u16string all;
  for (const ForbiddenChar& c : kEveryForbiddenChar) all += c.narrow;
  ASSERT_EQ(settings.NgStr, all) << "the default list of forbidden characters";

  const struct {
    const char* name;
    bool change, place, remove;
  } passes[] = {{"full width", true, false, false},
                {"replace", false, true, false},
                {"delete", false, false, true}};
  for (const auto& pass : passes) {
    settings.NgCngMode = pass.change;
    settings.NgPlaceMode = pass.place;
    settings.NgDelMode = pass.remove;
    std::u16string allTreated;
    for (const ForbiddenChar& c : kEveryForbiddenChar) {
      const std::u16string treated = pass.change  ? std::u16string(1, c.wide)
                                     : pass.place ? settings.NgPlaceStr
                                                  : std::u16string();
      allTreated += treated;
      SCOPED_TRACE(std::string(pass.name) + ", \"" + static_cast<char>(c.narrow) + "\"");
      context.RuleErrorKind = 0;
      context.RuleErrorText.clear();
      EXPECT_EQ(ApplyForbiddenChars(call, u"a" + std::u16string(1, c.narrow) + u"b"),
                u"a" + treated + u"b");
      EXPECT_EQ(context.RuleErrorKind, 0);
      EXPECT_EQ(context.RuleErrorText, u"");
    }
    SCOPED_TRACE(std::string(pass.name) + ", all in one name");
    EXPECT_EQ(ApplyForbiddenChars(call, u"x" + all + u"y"), u"x" + allTreated + u"y");
    EXPECT_EQ(context.RuleErrorKind, 0);
  }
}

TEST_F(ForbiddenPhase, PlaceTextFullOfForbiddenCharsCannotBlowUp) {
  settings.NgPlaceMode = true;
  settings.NgPlaceStr.clear();
  for (int i = 0; i < 10; ++i) settings.NgPlaceStr += settings.NgStr;  // x10 per character
  EXPECT_EQ(ApplyForbiddenChars(call, u"a:b:c:d"), u"");
  EXPECT_EQ(context.RuleErrorKind, 1);
  EXPECT_EQ(context.RuleErrorText, u"メモリ不足のため、処理を実行できませんでした。");
}

}  // namespace
}  // namespace dovetam
