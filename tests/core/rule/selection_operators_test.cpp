// Selection operators: the worked examples and edge cases, for both registers
// and both builds; growth to exactly the element written; growth failure.
#include <gtest/gtest.h>

#include "pattern_test_support.h"
#include "core/rule/selection_services.h"

namespace dovetam::testing {
namespace {

using Ranges = std::vector<std::pair<int32_t, int32_t>>;

struct OperatorCase {
  const char* name;
  int16_t code;
  int16_t modifier;  // 0 none, 1 i, 2 o, 3 l, 4 r
  Ranges left;
  Ranges right;
  Ranges expected;
  int32_t length = 5;  // 'abcde'
};

std::string Show(const Ranges& ranges) {
  std::string out;
  for (auto [s, e] : ranges) {
    out += '(';
    out += std::to_string(s);
    out += ',';
    out += std::to_string(e);
    out += ')';
  }
  return out.empty() ? "no range" : out;
}

void Put(Engine& e, std::vector<int32_t>& list, int32_t& count, int32_t& capacity, const Ranges& ranges) {
  ASSERT_TRUE(GrowRangeListTo(list, capacity, static_cast<int32_t>(2 * ranges.size()), e.caps));
  int32_t k = 0;
  for (auto [s, en] : ranges) {
    list[static_cast<std::size_t>(++k)] = s;
    list[static_cast<std::size_t>(++k)] = en;
  }
  count = static_cast<int32_t>(ranges.size());
}

Ranges Take(const std::vector<int32_t>& list, int32_t count) {
  Ranges out;
  for (int32_t r = 1; r <= count; ++r) {
    out.emplace_back(list[static_cast<std::size_t>(2 * r - 1)], list[static_cast<std::size_t>(2 * r)]);
  }
  return out;
}

struct Setup {
  const char* name;
  Capacities caps;
  bool sameLength;  // the "!" register
};

class OperatorTable : public ::testing::TestWithParam<std::tuple<OperatorCase, Setup>> {};

TEST_P(OperatorTable, Combines) {
  const auto& [c, setup] = GetParam();
  Engine e(setup.caps);
  ASSERT_TRUE(GrowSelectionTo(e.ws, static_cast<int32_t>(2 * c.right.size()), e.caps));
  Put(e, e.ws.SelRanges, e.ws.SelCount, e.ws.SelCapacity, c.right);
  const Ranges untouched = {{1, 2}};
  if (setup.sameLength) {
    Put(e, e.ws.Op2Ranges, e.ws.Op2Count, e.ws.Op2Capacity, c.left);
    Put(e, e.ws.OpRanges, e.ws.OpCount, e.ws.OpCapacity, untouched);
    e.ws.Op2Code = c.code;
    e.ws.Op2Modifier = c.modifier;
    ApplySelectionOperatorSameLength(e.call, c.length);
  } else {
    Put(e, e.ws.OpRanges, e.ws.OpCount, e.ws.OpCapacity, c.left);
    Put(e, e.ws.Op2Ranges, e.ws.Op2Count, e.ws.Op2Capacity, untouched);
    e.ws.OpCode = c.code;
    e.ws.OpModifier = c.modifier;
    ApplySelectionOperator(e.call, c.length);
  }
  ASSERT_FALSE(e.call.failed());
  const Ranges result = setup.sameLength ? Take(e.ws.Op2Ranges, e.ws.Op2Count) : Take(e.ws.OpRanges, e.ws.OpCount);
  const Ranges other = setup.sameLength ? Take(e.ws.OpRanges, e.ws.OpCount) : Take(e.ws.Op2Ranges, e.ws.Op2Count);
  EXPECT_EQ(Show(result), Show(c.expected));
  EXPECT_EQ(Show(other), Show(untouched));
  EXPECT_EQ(Show(Take(e.ws.SelRanges, e.ws.SelCount)), Show(c.right));
  EXPECT_EQ(e.ws.NewCount, c.code == 3 ? e.ws.NewCount : 0);
}

const OperatorCase kCases[] = {
    {"UnionTouching", 1, 0, {{2, 4}}, {{4, 5}}, {{2, 4}, {4, 5}}},
    {"UnionOverlap", 1, 0, {{1, 4}}, {{3, 6}}, {{1, 6}}},
    {"UnionEmptyInside", 1, 0, {{2, 4}}, {{3, 3}}, {{2, 4}}},
    {"UnionEmptyAtStart", 1, 0, {{2, 4}}, {{2, 2}}, {{2, 2}, {2, 4}}},
    {"UnionEmptyAtEnd", 1, 0, {{2, 4}}, {{4, 4}}, {{2, 4}, {4, 4}}},
    {"UnionCovering", 1, 0, {{2, 4}}, {{2, 5}}, {{2, 5}}},
    {"UnionSameEmpty", 1, 0, {{3, 3}}, {{3, 3}}, {{3, 3}}},
    {"IntersectOverlap", 2, 0, {{1, 4}}, {{3, 6}}, {{3, 4}}},
    {"IntersectTouching", 2, 0, {{2, 4}}, {{4, 5}}, {}},
    {"IntersectEmptyInside", 2, 0, {{1, 6}}, {{3, 3}}, {{3, 3}}},
    {"IntersectEmptyAtStart", 2, 0, {{2, 4}}, {{2, 2}}, {}},
    {"IntersectCovered", 2, 0, {{2, 4}}, {{2, 5}}, {{2, 4}}},
    {"IntersectInside", 2, 0, {{1, 4}}, {{2, 4}}, {{2, 4}}},
    {"Difference", 3, 0, {{1, 6}}, {{2, 3}, {4, 5}}, {{1, 2}, {3, 4}, {5, 6}}},
    {"DifferenceI", 3, 1, {{1, 6}}, {{2, 3}, {4, 5}}, {{3, 4}}},
    {"DifferenceO", 3, 2, {{1, 6}}, {{2, 3}, {4, 5}}, {{1, 2}, {3, 4}, {5, 6}}},
    {"DifferenceL", 3, 3, {{1, 6}}, {{2, 3}, {4, 5}}, {{1, 2}, {3, 4}}},
    {"DifferenceR", 3, 4, {{1, 6}}, {{2, 3}, {4, 5}}, {{3, 4}, {5, 6}}},
    {"DifferenceTouchingLeavesEmptyGap", 3, 0, {{1, 6}}, {{2, 4}, {4, 5}}, {{1, 2}, {4, 4}, {5, 6}}},
    {"DifferenceFromStart", 3, 0, {{1, 6}}, {{1, 3}}, {{3, 6}}},
    {"DifferenceOKeepsEmptyEnd", 3, 2, {{1, 1}, {3, 5}}, {{1, 3}}, {{1, 1}, {3, 5}}},
    {"DifferenceDropsEmptyEnd", 3, 0, {{1, 1}, {3, 5}}, {{1, 3}}, {{3, 5}}},
    {"DifferenceOverlap", 3, 0, {{1, 4}}, {{3, 6}}, {{1, 3}}},
    {"DifferenceNoSelection", 3, 0, {{1, 6}}, {}, {{1, 6}}},
    {"DifferenceNoSelectionO", 3, 2, {{1, 6}}, {}, {{1, 6}}},
    {"DifferenceNoSelectionI", 3, 1, {{1, 6}}, {}, {}},
    {"DifferenceNoSelectionL", 3, 3, {{1, 6}}, {}, {}},
    {"DifferenceNoSelectionR", 3, 4, {{1, 6}}, {}, {}},
    {"Reverse", 4, 0, {{2, 4}}, {{1, 6}}, {{1, 2}, {4, 6}}},
    {"ReverseI", 4, 1, {{2, 4}}, {{1, 6}}, {}},
    {"ReverseL", 4, 3, {{2, 4}}, {{1, 6}}, {{1, 2}}},
    {"ReverseR", 4, 4, {{2, 4}}, {{1, 6}}, {{4, 6}}},
    {"ReverseO", 4, 2, {{2, 4}}, {{1, 6}}, {{1, 2}, {4, 6}}},
    {"ReverseOverlap", 4, 0, {{1, 4}}, {{3, 6}}, {{4, 6}}},
    {"ReverseNoLeft", 4, 0, {}, {{3, 6}}, {{3, 6}}},
    {"ReverseNoLeftO", 4, 2, {}, {{3, 6}}, {{3, 6}}},
    {"ReverseNoLeftI", 4, 1, {}, {{3, 6}}, {}},
    {"ReverseNoLeftL", 4, 3, {}, {{3, 6}}, {}},
    {"EmptyOperandDifference", 3, 0, {{1, 1}}, {}, {{1, 1}}, 0},
    {"EmptyOperandDifferenceOfWhole", 3, 0, {{1, 1}}, {{1, 1}}, {}, 0},
    {"EmptyOperandReverse", 4, 0, {}, {{1, 1}}, {{1, 1}}, 0},
    {"NothingUnion", 1, 0, {}, {}, {}},
    {"NothingIntersect", 2, 0, {}, {}, {}},
    {"NothingDifferenceO", 3, 2, {}, {}, {}},
    {"NothingReverseO", 4, 2, {}, {}, {}},
    {"UnionMany", 1, 0, {{1, 2}, {3, 4}, {5, 6}}, {{2, 2}, {4, 4}, {6, 6}},
     {{1, 2}, {2, 2}, {3, 4}, {4, 4}, {5, 6}, {6, 6}}},
};

const Setup kSetups[] = {{"LargePlain", Capacities::Large(), false},
                         {"LargeSameLength", Capacities::Large(), true},
                         {"SmallPlain", Capacities::Small(), false},
                         {"SmallSameLength", Capacities::Small(), true}};

INSTANTIATE_TEST_SUITE_P(Operators, OperatorTable,
                         ::testing::Combine(::testing::ValuesIn(kCases), ::testing::ValuesIn(kSetups)),
                         [](const auto& info) {
                           return std::string(std::get<0>(info.param).name) + "_" + std::get<1>(info.param).name;
                         });

TEST(SelectionOperators, DifferenceTraceLeavesTheComplementInNewRanges) {
  Engine e;
  Put(e, e.ws.SelRanges, e.ws.SelCount, e.ws.SelCapacity, {{2, 4}, {4, 5}});
  Put(e, e.ws.OpRanges, e.ws.OpCount, e.ws.OpCapacity, {{1, 6}});
  e.ws.OpCode = 3;
  ApplySelectionOperator(e.call, 5);
  EXPECT_EQ(e.ws.NewCount, 3);
  EXPECT_EQ(Show(Take(e.ws.NewRanges, 3)), "(1,2)(4,4)(5,6)");
  EXPECT_EQ(e.ws.OpCode, 3);
}

TEST(SelectionOperators, SmallBuildGrowsToExactlyTheElementWritten) {
  Engine e(Capacities::Small());
  Put(e, e.ws.OpRanges, e.ws.OpCount, e.ws.OpCapacity, {{1, 2}, {3, 4}, {5, 6}});
  ASSERT_TRUE(GrowSelectionTo(e.ws, 2, e.caps));
  Put(e, e.ws.SelRanges, e.ws.SelCount, e.ws.SelCapacity, {{7, 8}});
  e.ws.OpCode = 1;
  ApplySelectionOperator(e.call, 9);
  ASSERT_FALSE(e.call.failed());
  EXPECT_EQ(Show(Take(e.ws.OpRanges, e.ws.OpCount)), "(1,2)(3,4)(5,6)(7,8)");
  EXPECT_EQ(e.ws.SelCapacity, 8);
  EXPECT_EQ(e.ws.OpCapacity, 8);

  // The complement with a left end piece grows the register to 2n + 2.
  Engine f(Capacities::Small());
  Put(f, f.ws.OpRanges, f.ws.OpCount, f.ws.OpCapacity, {{2, 3}});
  Put(f, f.ws.SelRanges, f.ws.SelCount, f.ws.SelCapacity, {{1, 6}});
  f.ws.OpCode = 4;
  ApplySelectionOperator(f.call, 5);
  EXPECT_EQ(Show(Take(f.ws.OpRanges, f.ws.OpCount)), "(1,2)(3,6)");
  EXPECT_EQ(f.ws.OpCapacity, 4);
}

TEST(SelectionOperators, FailedGrowthIsTheMemoryError) {
  Engine e(Capacities::Small());
  Put(e, e.ws.OpRanges, e.ws.OpCount, e.ws.OpCapacity, {{1, 2}, {3, 4}});
  Put(e, e.ws.SelRanges, e.ws.SelCount, e.ws.SelCapacity, {{5, 6}});
  e.caps.allocationLimit = 5;  // elements 0..4
  e.ws.OpCode = 1;
  ApplySelectionOperator(e.call, 9);
  EXPECT_EQ(e.context.RuleErrorKind, 1);
  EXPECT_EQ(Utf8(e.context.RuleErrorText), "メモリ不足のため、処理を実行できませんでした。");
  EXPECT_EQ(e.ws.SelCapacity, 4);
  EXPECT_EQ(e.ws.OpCount, 2);

  Engine f(Capacities::Small());
  Put(f, f.ws.OpRanges, f.ws.OpCount, f.ws.OpCapacity, {{1, 6}});
  Put(f, f.ws.SelRanges, f.ws.SelCount, f.ws.SelCapacity, {{2, 3}});
  f.caps.allocationLimit = 3;
  f.ws.OpCode = 3;  // the complement needs element 4
  ApplySelectionOperator(f.call, 5);
  EXPECT_EQ(Utf8(f.context.RuleErrorText), "メモリ不足のため、処理を実行できませんでした。");
  EXPECT_EQ(f.ws.SelCapacity, 2);
}

}  // namespace
}  // namespace dovetam::testing
