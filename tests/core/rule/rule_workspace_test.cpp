// The workspace tables: initial capacities of both builds, growth with the
// contents kept, and growth failure at the allocation limit.
#include "core/rule/rule_workspace.h"

#include <gtest/gtest.h>

#include "core/rule/change_rule.h"
#include "rule_test_support.h"

namespace dovetam {
namespace {

struct BuildCase {
  const char* name;
  Capacities caps;
  int32_t range;
  int32_t pattern;
};

class WorkspaceTest : public ::testing::TestWithParam<BuildCase> {};

TEST_P(WorkspaceTest, ResetAllocatesTheBuildsCapacities) {
  const BuildCase& b = GetParam();
  RuleWorkspace ws;
  ResetWorkspace(ws, b.caps);
  EXPECT_EQ(ws.SelCapacity, b.range);
  EXPECT_EQ(ws.SelRanges.size(), static_cast<std::size_t>(b.range) + 1);
  EXPECT_EQ(ws.NewRanges.size(), static_cast<std::size_t>(b.range) + 1);
  EXPECT_EQ(ws.MarkCapacity, b.range);
  EXPECT_EQ(ws.OpCapacity, b.range);
  EXPECT_EQ(ws.Mark2Capacity, b.range);
  EXPECT_EQ(ws.Op2Capacity, b.range);
  EXPECT_EQ(ws.ClipCapacity, b.range);
  EXPECT_EQ(ws.ClipItems.size(), static_cast<std::size_t>(b.range) + 1);
  EXPECT_EQ(ws.StackCapacity, b.range);
  EXPECT_EQ(ws.AltCapacity, b.pattern);
  EXPECT_EQ(ws.ItemCapacity, b.pattern);
  EXPECT_EQ(ws.PatItemText.size(), static_cast<std::size_t>(b.pattern + 1) * (b.pattern + 1));
}

TEST_P(WorkspaceTest, GrowthKeepsContentsAndNeverShrinks) {
  const BuildCase& b = GetParam();
  RuleWorkspace ws;
  ResetWorkspace(ws, b.caps);
  ws.SelRanges[1] = 11;
  ws.NewRanges[2] = 22;
  ASSERT_TRUE(GrowSelectionByStep(ws, b.caps));
  EXPECT_EQ(ws.SelCapacity, 2 * b.range);
  ASSERT_TRUE(GrowSelectionTo(ws, 2 * b.range + 7, b.caps));
  EXPECT_EQ(ws.SelCapacity, 2 * b.range + 7);
  EXPECT_EQ(ws.SelRanges.size(), static_cast<std::size_t>(2 * b.range + 8));
  EXPECT_EQ(ws.SelRanges[1], 11);
  EXPECT_EQ(ws.NewRanges[2], 22);
  ASSERT_TRUE(GrowSelectionTo(ws, 1, b.caps));
  EXPECT_EQ(ws.SelCapacity, 2 * b.range + 7);

  ws.MarkRanges[1] = 5;
  ASSERT_TRUE(GrowRangeListTo(ws.MarkRanges, ws.MarkCapacity, b.range + 3, b.caps));
  EXPECT_EQ(ws.MarkCapacity, b.range + 3);
  EXPECT_EQ(ws.MarkRanges[1], 5);

  ws.ClipItems[1] = u"keep";
  ASSERT_TRUE(GrowClipListTo(ws, b.range + 1, b.caps));
  EXPECT_EQ(ws.ClipCapacity, b.range + 1);
  EXPECT_EQ(ws.ClipItems[1], u"keep");
}

TEST_P(WorkspaceTest, GrowthFailureKeepsTheCapacity) {
  BuildCase b = GetParam();
  b.caps.allocationLimit = static_cast<std::size_t>(b.range) + 1;  // exactly the initial tables
  RuleWorkspace ws;
  ResetWorkspace(ws, b.caps);
  ws.SelRanges[1] = 3;
  EXPECT_FALSE(GrowSelectionByStep(ws, b.caps));
  EXPECT_EQ(ws.SelCapacity, b.range);
  EXPECT_EQ(ws.SelRanges[1], 3);
  EXPECT_FALSE(GrowRangeListTo(ws.OpRanges, ws.OpCapacity, b.range + 1, b.caps));
  EXPECT_EQ(ws.OpCapacity, b.range);
  EXPECT_FALSE(GrowClipListTo(ws, b.range + 1, b.caps));
  EXPECT_EQ(ws.ClipCapacity, b.range);
}

TEST_P(WorkspaceTest, EngineResetRecreatesGrownTables) {
  const BuildCase& b = GetParam();
  Settings settings;
  testing::DateOnlyFileSystem fs;
  RuleEngine engine(settings, fs, b.caps);
  ASSERT_TRUE(GrowSelectionByStep(engine.workspace(), b.caps));
  engine.ResetTables();
  EXPECT_EQ(engine.workspace().SelCapacity, b.range);
  EXPECT_EQ(engine.GenerateNewName(u"a.b"), u"a.b");
}

INSTANTIATE_TEST_SUITE_P(Builds, WorkspaceTest,
                         ::testing::Values(BuildCase{"large", Capacities::Large(), 200, 100},
                                           BuildCase{"small", Capacities::Small(), 2, 2}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace dovetam
