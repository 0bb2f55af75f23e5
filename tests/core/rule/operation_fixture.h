// A fixture for the operations of operation sections below the interpreter:
// an operand with a Selection of given ranges, one section run on it, and the
// operand and ranges read back. Parameterised by the capacities of the build.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "core/rule/rule_call.h"
#include "core/rule/rule_workspace.h"
#include "core/rule/sections.h"
#include "rule_test_support.h"

namespace dovetam::testing {

struct Build {
  const char* name;
  Capacities caps;
};
inline const Build kOperationBuilds[] = {{"large", Capacities::Large()}, {"small", Capacities::Small()}};
inline std::string OperationBuildName(const ::testing::TestParamInfo<Build>& info) { return info.param.name; }

using Ranges = std::vector<std::pair<int32_t, int32_t>>;

class OperationTest : public ::testing::TestWithParam<Build> {
 protected:
  OperationTest() : caps(GetParam().caps) {
    ResetWorkspace(ws, caps);
    context.CurPos = 7;
    context.CurTotal = 10;
  }

  // A pending operand with the given ranges selected.
  void SetOperand(std::u16string_view text, const Ranges& ranges) {
    ws.PendingOperand.assign(text);
    ws.OperandPending = true;
    ws.CurNamePart.assign(text);
    ASSERT_TRUE(GrowSelectionTo(ws, static_cast<int32_t>(2 * ranges.size()), caps));
    int32_t k = 0;
    for (const auto& [s, e] : ranges) {
      ws.SelRanges[static_cast<std::size_t>(2 * ++k - 1)] = s;
      ws.SelRanges[static_cast<std::size_t>(2 * k)] = e;
    }
    ws.SelCount = k;
  }

  Ranges Selection() const {
    Ranges out;
    for (int32_t i = 1; i <= ws.SelCount; ++i) {
      out.emplace_back(ws.SelRanges[static_cast<std::size_t>(2 * i - 1)],
                       ws.SelRanges[static_cast<std::size_t>(2 * i)]);
    }
    return out;
  }

  // The clip list holds `items`, front cursor on the first, back on the last.
  void SetClipItems(std::initializer_list<std::u16string> items) {
    ASSERT_TRUE(GrowClipListTo(ws, static_cast<int32_t>(items.size()), caps));
    int32_t k = 0;
    for (const auto& item : items) ws.ClipItems[static_cast<std::size_t>(++k)] = item;
    ws.ClipCount = k;
    ws.ClipFront = 1;
    ws.ClipBack = k;
  }

  std::vector<std::u16string> ClipItems() const {
    std::vector<std::u16string> out;
    for (int32_t k = 1; k <= ws.ClipCount; ++k) out.push_back(ws.ClipItems[static_cast<std::size_t>(k)]);
    return out;
  }

  // Runs the one section that `section` holds (it starts with chr_s1).
  // True when it ran through to its closer without a rule error.
  bool Run(std::u16string_view section) {
    context.RuleErrorKind = 0;
    const int32_t next = RunOperationSection(call, section, 1);
    return next == static_cast<int32_t>(section.size()) + 1 && context.RuleErrorKind == 0;
  }

  Settings settings;
  RuleContext context;
  RuleWorkspace ws;
  DateOnlyFileSystem fs;
  Capacities caps;
  RuleCall call{settings, context, ws, fs, caps};
};

}  // namespace dovetam::testing
