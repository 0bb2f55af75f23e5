// Exact sums \( ... ): terms, clip items read as numbers, 32-digit limits.
#include "core/rule/exact_sum.h"

#include <gtest/gtest.h>

#include "core/rule/text_expansion.h"
#include "rule_test_support.h"

namespace dovetam {
namespace {

using testing::RuleCallTest;

constexpr char16_t kSumDigits[] = u"\"\\(～)\"内の桁数が多すぎます。";
constexpr char16_t kFormatError[] = u"\"\\～\"内の形式が正しくありません。";

struct SumCase {
  const char* name;
  int32_t pos;  // of 10 objects
  std::u16string clipItem;  // the next sequential item ("" = list empty)
  std::u16string text;
  std::u16string expected;  // or the error
  bool fails = false;
};

class SumTest : public RuleCallTest, public ::testing::WithParamInterface<SumCase> {};

TEST_P(SumTest, AddsExactly) {
  const SumCase& c = GetParam();
  context.CurPos = c.pos;
  if (!c.clipItem.empty()) SetClipItems({c.clipItem, u"7"});
  const std::u16string got = ExpandSections(call, c.text);
  if (c.fails) {
    EXPECT_EQ(got, u"");
    EXPECT_EQ(context.RuleErrorKind, 1);
    EXPECT_EQ(context.RuleErrorText, c.expected);
  } else {
    EXPECT_EQ(context.RuleErrorKind, 0);
    EXPECT_EQ(got, c.expected);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Sums, SumTest,
    ::testing::Values(
        SumCase{"constantPlusPosition", 3, u"", u"\\(12+n)", u"15"},
        SumCase{"negativeResult", 3, u"", u"\\(n-20)", u"-17"},
        SumCase{"negativeZeroPadded", 3, u"", u"\\05(n-20)", u"-0017"},
        SumCase{"negativeCutKeepsSign", 3, u"", u"\\2i(n-120)", u"-7"},
        SumCase{"leftAlignedZeros", 3, u"", u"\\04l(n)", u"3000"},
        SumCase{"carry", 1, u"", u"\\(99999999+1)", u"100000000"},
        SumCase{"borrow", 1, u"", u"\\(1-100000000)", u"-99999999"},
        SumCase{"positionFromEnd", 3, u"", u"\\(--n)", u"-8"},
        SumCase{"bigKeepsEveryDigit", 1, u"", u"\\(12345678901234567890123456789012-2)",
                u"12345678901234567890123456789010"},
        SumCase{"leadingZerosDropped", 1, u"", u"\\(0005 + 0 0 1)", u"6"},
        SumCase{"empty", 1, u"", u"\\()", u"0"},
        SumCase{"clipStopsAtLetter", 1, u"abc0099xyz", u"\\(c+1)", u"1"},
        SumCase{"clipWithSignAndBlank", 1, u" -12", u"\\(c+1)", u"-11"},
        SumCase{"clipByIndex", 1, u"40", u"\\(2c+1c)", u"47"},
        SumCase{"clipFromEnd", 1, u"40", u"\\(--2c-2c)", u"-47"},
        SumCase{"clipIndexBeyond", 1, u"40", u"\\(9c)", u"0"},
        SumCase{"allClipItems", 1, u"40", u"\\(C+1)", u"408"},
        SumCase{"signOnly", 1, u"", u"\\(+)", kFormatError, true},
        SumCase{"thirdSign", 1, u"", u"\\(+-+1)", kFormatError, true},
        SumCase{"indexSignOnDigits", 1, u"", u"\\(--1)", kFormatError, true},
        SumCase{"digitsBeforeN", 1, u"", u"\\(2n)", kFormatError, true},
        SumCase{"letterAfterN", 1, u"", u"\\(n1)", kFormatError, true},
        SumCase{"flagInside", 1, u"", u"\\(i)", kFormatError, true},
        SumCase{"unclosed", 1, u"", u"\\(1+2", kFormatError, true},
        SumCase{"zeroFlagWithoutWidth", 1, u"", u"\\0(1)", kFormatError, true},
        SumCase{"unknownCharInside", 1, u"", u"\\(1x)", u"\"\\～\"内で不正な文字\"x\"が使われています。", true},
        SumCase{"clipIndexTooLong", 1, u"1", u"\\(123456789c)", u"\"\\～\"内の桁数が多すぎます。", true},
        SumCase{"thirtyThreeDigits", 1, u"", u"\\(100000000000000000000000000000000)", kSumDigits, true},
        SumCase{"overflowUp", 1, u"", u"\\(99999999999999999999999999999999+1)", kSumDigits, true},
        SumCase{"overflowDown", 1, u"", u"\\(-99999999999999999999999999999999-1)", kSumDigits, true},
        SumCase{"largestStays", 1, u"", u"\\(99999999999999999999999999999998+1)",
                u"99999999999999999999999999999999"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReadSignedNumber, ReadsTheLeadingNumberOfAnItem) {
  struct Row { const char* name; std::u16string item; std::u16string digits; bool negative; };
  const Row rows[] = {
      {"plain", u"0042", u"42", false},
      {"blanksAndSign", u" \u3000-0 12x5", u"12", true},
      {"signNotFirst", u"12-3", u"12", false},
      {"noDigits", u"-abc", u"", false},
      {"plus", u"+7", u"7", false},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    std::u16string digits;
    bool negative = true;
    ReadSignedNumber(r.item, digits, negative);
    EXPECT_EQ(digits, r.digits);
    EXPECT_EQ(negative, r.negative);
  }
}

}  // namespace
}  // namespace dovetam
