// Names on disk round-trip through UTF-16 byte for byte; texts that stand for
// no bytes are refused.
#include "platform/utf8_codec.h"

#include <gtest/gtest.h>

namespace dovetam {
namespace {

struct DecodeCase {
  const char* name;
  std::string bytes;
  std::u16string text;
};
void PrintTo(const DecodeCase& c, std::ostream* os) { *os << c.name; }


class DecodeTest : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeTest, DecodesAndEncodesBack) {
  const DecodeCase& c = GetParam();
  EXPECT_EQ(c.text, DecodeNative(c.bytes));
  std::string back;
  ASSERT_TRUE(EncodeNative(c.text, back));
  EXPECT_EQ(c.bytes, back);
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, DecodeTest,
    ::testing::Values(
        DecodeCase{"Ascii", "abc.txt", u"abc.txt"},
        DecodeCase{"Japanese", "\xE5\x90\x8D\xE5\x89\x8D", u"名前"},
        DecodeCase{"FullWidthYen", "\xEF\xBF\xA5", u"\uFFE5"},
        DecodeCase{"Supplementary", "\xF0\x9F\x98\x80", u"\U0001F600"},
        DecodeCase{"Latin1Byte", "caf\xE9", u"caf\xDCE9"},
        DecodeCase{"LoneContinuation", "\x80x", u"\xDC80x"},
        DecodeCase{"TruncatedSequence", "\xE5\x90", u"\xDCE5\xDC90"},
        DecodeCase{"OverlongSlash", "\xC0\xAF", u"\xDCC0\xDCAF"},
        DecodeCase{"EncodedSurrogate", "\xED\xB2\x80", u"\xDCED\xDCB2\xDC80"},
        DecodeCase{"AboveUnicode", "\xF4\x90\x80\x80", u"\xDCF4\xDC90\xDC80\xDC80"},
        DecodeCase{"AllHighBytesFF", "\xFF\xFE", u"\xDCFF\xDCFE"},
        DecodeCase{"ValidAfterInvalid", "\xFF\xE5\x90\x8D", u"\xDCFF名"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Utf8CodecTest, EveryByteValueRoundTrips) {
  std::string all;
  for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
  all += all;  // also as pairs that look like sequences
  std::string back;
  ASSERT_TRUE(EncodeNative(DecodeNative(all), back));
  EXPECT_EQ(all, back);
}

struct RefusedCase {
  const char* name;
  std::u16string text;
};
void PrintTo(const RefusedCase& c, std::ostream* os) { *os << c.name; }


class RefusedTest : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(RefusedTest, CannotBeEncoded) {
  std::string bytes = "untouched?";
  EXPECT_FALSE(EncodeNative(GetParam().text, bytes));
  EXPECT_FALSE(EncodeNativeExactly(GetParam().text, bytes));
  // The lossy form is for the program's own texts: U+FFFD in place.
  EXPECT_NE(std::string::npos, EncodeNativeLossy(GetParam().text).find("\xEF\xBF\xBD"));
}

INSTANTIATE_TEST_SUITE_P(
    LoneSurrogates, RefusedTest,
    ::testing::Values(RefusedCase{"LoneHigh", u"a\xD800"}, RefusedCase{"HighBeforeText", u"\xD83Dx"},
                      RefusedCase{"LowBelowByteRange", u"\xDC7F"},
                      RefusedCase{"LowFirstOfRange", u"\xDC00"},
                      RefusedCase{"LowAboveByteRange", u"\xDD00"},
                      RefusedCase{"LowLast", u"\xDFFF"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Utf8CodecTest, LossyTextOfEveryKindOfUnitHasItsExactBytes) {
  // One, two, three and four bytes, a byte escape and lone surrogates, the
  // last one at the very end.
  const std::u16string text = u"a\u00E9\u540D\U0001F600\xDCFF\xD800z\xDC00";
  EXPECT_EQ(std::string("a\xC3\xA9\xE5\x90\x8D\xF0\x9F\x98\x80\xFF\xEF\xBF\xBDz\xEF\xBF\xBD"),
            EncodeNativeLossy(text));
  std::string reused = std::string(100, 'x');
  EncodeNativeLossyInto(u"\u540D", reused);
  EXPECT_EQ("\xE5\x90\x8D", reused);
}

// Plain ASCII is taken in runs of four units: every other unit must still be
// found wherever it stands in or after such a run, and a refused unit still
// refuses the text.
TEST(Utf8CodecTest, UnitsAmongAsciiRunsOfEveryLengthKeepTheirBytes) {
  const std::pair<std::u16string, std::string> others[] = {
      {u"\u00E9", "\xC3\xA9"}, {u"\u540D", "\xE5\x90\x8D"}, {u"\U0001F600", "\xF0\x9F\x98\x80"},
      {u"\xDCFF", "\xFF"},     {u"\x7F", "\x7F"},          {u"\x80", "\xC2\x80"}};
  for (std::size_t before = 0; before <= 9; ++before) {
    for (std::size_t after = 0; after <= 9; ++after) {
      for (const auto& [unit, bytes] : others) {
        const std::u16string text =
            std::u16string(before, u'a') + unit + std::u16string(after, u'b') + unit;
        const std::string expected =
            std::string(before, 'a') + bytes + std::string(after, 'b') + bytes;
        std::string got;
        ASSERT_TRUE(EncodeNative(text, got));
        EXPECT_EQ(expected, got) << before << " " << after;
        EXPECT_EQ(text, DecodeNative(got));
      }
      std::string refused;
      EXPECT_FALSE(EncodeNative(std::u16string(before, u'a') + u"\xD800" +
                                    std::u16string(after, u'b'),
                                refused));
    }
  }
}

TEST(Utf8CodecTest, ByteEscapesThatFormValidUtf8DoNotEncodeExactly) {
  // U+DCC3 U+DCA9 are written as C3 A9, which the disk shows as "é".
  const std::u16string text = u"\xDCC3\xDCA9";
  std::string bytes;
  ASSERT_TRUE(EncodeNative(text, bytes));
  EXPECT_EQ("\xC3\xA9", bytes);
  EXPECT_FALSE(EncodeNativeExactly(text, bytes));
  ASSERT_TRUE(EncodeNativeExactly(u"caf\xDCE9", bytes));
  EXPECT_EQ("caf\xE9", bytes);
  ASSERT_TRUE(EncodeNativeExactly(u"名前\U0001F600", bytes));
  EXPECT_EQ("\xE5\x90\x8D\xE5\x89\x8D\xF0\x9F\x98\x80", bytes);
}

}  // namespace
}  // namespace dovetam
