// Selection offsets: every offset kind and sign, every suffix letter, both
// kinds of side, and the resolution of every not-found code.
#include <gtest/gtest.h>

#include "pattern_test_support.h"
#include "core/rule/selection_services.h"

namespace dovetam::testing {
namespace {

struct OffsetCase {
  const char* name;
  bool group;            // side with a group (occurrence-relative)
  int32_t foundStart;    // SideFound(1, 1) before: a start or a code
  int32_t foundEnd;      // SideFound(1, 2) before
  int16_t offsetKind;    // 1 none, 2 plain, 3 leading zero
  int16_t sign;          // 1 +, 2 -
  int32_t n;
  int16_t letter;        // 0 none, 1 i, 2 d, 3 l, 4 r
  int16_t wholeFlag;
  int16_t matchFlag;
  std::string expected;  // "(start,end)" or "nothing (end)"
};

class OffsetTable : public ::testing::TestWithParam<OffsetCase> {};

TEST_P(OffsetTable, Resolves) {
  const OffsetCase& c = GetParam();
  Engine e;
  e.ws.SideGroupKind[1] = c.group ? 2 : 1;
  e.ws.SideFound[1] = {0, c.foundStart, c.foundEnd};
  e.ws.SideOffsetKind[1] = c.offsetKind;
  e.ws.SideOffsetSign[1] = c.sign;
  e.ws.SideOffset[1] = c.n;
  e.ws.SideOffsetMode[1] = c.letter;
  ApplySelectionOffset(e.call, u"abcde", 1, 6, 1, c.wholeFlag, c.matchFlag);
  const int32_t start = e.ws.SideFound[1][1];
  const int32_t end = e.ws.SideFound[1][2];
  std::string got = start > 0 ? "(" : "nothing (";
  if (start > 0) got += std::to_string(start) + ",";
  got += std::to_string(end) + ")";
  EXPECT_EQ(got, c.expected);
  EXPECT_FALSE(e.call.failed());
}

// Window [1, 6); "before" values 0 / 99 show which end stays untouched.
INSTANTIATE_TEST_SUITE_P(
    Offsets, OffsetTable,
    ::testing::Values(
        OffsetCase{"WindowPlus3", false, 0, 99, 2, 1, 3, 0, 1, 0, "(3,4)"},
        OffsetCase{"WindowMinus1", false, 0, 99, 2, 2, 1, 0, 1, 0, "(5,6)"},
        OffsetCase{"WindowPlusWholeLength", false, 0, 99, 2, 1, 5, 0, 1, 0, "(5,6)"},
        OffsetCase{"WindowPlusBeyond", false, 0, 99, 2, 1, 9, 0, 1, 0, "(6,6)"},
        OffsetCase{"WindowPlusBeyondD", false, 0, 99, 2, 1, 9, 2, 1, 0, "nothing (99)"},
        OffsetCase{"WindowPlusBeyondI", false, 0, 99, 2, 1, 9, 1, 1, 0, "(1,6)"},
        OffsetCase{"WindowPlusBeyondL", false, 0, 99, 2, 1, 9, 3, 1, 0, "(1,1)"},
        OffsetCase{"WindowMinusBeyond", false, 0, 99, 2, 2, 9, 0, 1, 0, "(1,1)"},
        OffsetCase{"WindowMinusBeyondR", false, 0, 99, 2, 2, 9, 4, 1, 0, "(6,6)"},
        OffsetCase{"WindowLeadingZeroAlike", false, 0, 99, 3, 1, 2, 0, 1, 0, "(2,3)"},
        OffsetCase{"BareSideWholeA", false, 0, 99, 1, 1, 0, 0, 1, 0, "(1,6)"},
        OffsetCase{"BareSideWholeB", false, 0, 99, 1, 1, 0, 0, 2, 0, "(1,6)"},
        OffsetCase{"BareSideNarrowingA", false, 0, 99, 1, 1, 0, 0, 3, 0, "nothing (0)"},
        OffsetCase{"BareSideNarrowingB", false, 0, 99, 1, 1, 0, 0, 4, 0, "nothing (0)"},
        OffsetCase{"BareSideI", false, 0, 99, 1, 1, 0, 1, 3, 0, "(1,6)"},
        OffsetCase{"BareSideD", false, 0, 99, 1, 1, 0, 2, 1, 0, "nothing (99)"},
        OffsetCase{"BareSideL", false, 0, 99, 1, 1, 0, 3, 1, 0, "(1,1)"},
        OffsetCase{"BareSideR", false, 0, 99, 1, 1, 0, 4, 1, 0, "(6,6)"},
        OffsetCase{"OccurrenceKept", true, 2, 4, 1, 1, 0, 0, 1, 0, "(2,4)"},
        OffsetCase{"PlainPlus1", true, 2, 4, 2, 1, 1, 0, 1, 0, "(4,5)"},
        OffsetCase{"PlainMinus1", true, 2, 4, 2, 2, 1, 0, 1, 0, "(1,2)"},
        OffsetCase{"PlainPlusBeyond", true, 2, 4, 2, 1, 3, 0, 1, 0, "(6,6)"},
        OffsetCase{"PlainPlusBeyondI", true, 2, 4, 2, 1, 3, 1, 1, 0, "(1,6)"},
        OffsetCase{"PlainPlusBeyondD", true, 2, 4, 2, 1, 3, 2, 1, 0, "nothing (4)"},
        OffsetCase{"PlainMinusBeyond", true, 2, 4, 2, 2, 2, 0, 1, 0, "(1,1)"},
        OffsetCase{"PlainMinusBeyondR", true, 2, 4, 2, 2, 2, 4, 1, 0, "(6,6)"},
        OffsetCase{"InwardPlus1", true, 2, 4, 3, 1, 1, 0, 1, 0, "(2,3)"},
        OffsetCase{"InwardMinus1", true, 2, 4, 3, 2, 1, 0, 1, 0, "(3,4)"},
        OffsetCase{"InwardPlusBeyond", true, 2, 4, 3, 1, 3, 0, 1, 0, "(4,4)"},
        OffsetCase{"InwardPlusBeyondI", true, 2, 4, 3, 1, 3, 1, 1, 0, "(2,4)"},
        OffsetCase{"InwardPlusBeyondL", true, 2, 4, 3, 1, 3, 3, 1, 0, "(2,2)"},
        OffsetCase{"InwardPlusBeyondR", true, 2, 4, 3, 1, 3, 4, 1, 0, "(4,4)"},
        OffsetCase{"InwardPlusBeyondD", true, 2, 4, 3, 1, 3, 2, 1, 0, "nothing (4)"},
        OffsetCase{"InwardMinusBeyond", true, 2, 4, 3, 2, 3, 0, 1, 0, "(2,2)"},
        OffsetCase{"SearchCodeNotOffset", true, -3, 99, 2, 1, 2, 0, 1, 0, "(1,1)"},
        OffsetCase{"SearchCodeWhole", true, -2, 99, 3, 2, 1, 0, 3, 0, "(1,6)"},
        OffsetCase{"SearchCodeHigh", true, -4, 99, 1, 1, 0, 0, 1, 0, "(6,6)"},
        OffsetCase{"SearchNothingStays", true, 0, 99, 2, 1, 1, 0, 1, 0, "nothing (99)"},
        OffsetCase{"MatchFlagOffsetsWithoutGroup", false, 2, 4, 2, 1, 1, 0, 1, 1, "(4,5)"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace dovetam::testing
