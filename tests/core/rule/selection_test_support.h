// A fixture for selection sections below GenerateNewName: one operand with a
// Selection set by the test, sections run one after another on it as the
// interpreter chains them, and the Selection read back as pairs. Every suite
// runs under the capacities of both builds.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "core/rule/sections.h"
#include "rule_test_support.h"

namespace dovetam::testing {

using Ranges = std::vector<std::pair<int32_t, int32_t>>;

struct Build {
  const char* name;
  Capacities caps;
};
inline const Build kSelectionBuilds[] = {{"large", Capacities::Large()}, {"small", Capacities::Small()}};
inline std::string SelectionBuildName(const ::testing::TestParamInfo<Build>& info) { return info.param.name; }

class SelectionFixture : public ::testing::TestWithParam<Build> {
 protected:
  SelectionFixture() : caps(GetParam().caps) { ResetWorkspace(ws, caps); }

  // A new operand with these ranges selected, marks and registers empty.
  void Start(const std::u16string& operand, const Ranges& ranges) {
    ws.PendingOperand = operand;
    ws.OperandPending = true;
    ws.MarkFlags = 0;
    ws.Mark2Flags = 0;
    ws.OpCode = 0;
    ws.Op2Code = 0;
    ASSERT_TRUE(GrowSelectionTo(ws, 2 * static_cast<int32_t>(ranges.size()), caps));
    SetSelection(ranges);
  }
  void SetSelection(const Ranges& ranges) {
    int32_t k = 0;
    for (const auto& [start, end] : ranges) {
      ++k;
      ws.SelRanges[static_cast<std::size_t>(2 * k - 1)] = start;
      ws.SelRanges[static_cast<std::size_t>(2 * k)] = end;
    }
    ws.SelCount = k;
  }
  // Runs one section (its inner text) on the operand; false on a rule error.
  bool Section(const std::u16string& inner) {
    const std::u16string rule = settings.ChrQ1 + inner + settings.ChrQ2;
    const int32_t next = RunSelectionSection(call, rule, 1);
    return next > 0 && !call.failed();
  }
  // Runs sections in order, stopping at the first error.
  bool Sections(const std::vector<std::u16string>& inners) {
    for (const auto& inner : inners) {
      if (!Section(inner)) return false;
    }
    return true;
  }
  Ranges Selection() const { return Pairs(ws.SelRanges, ws.SelCount); }
  static Ranges Pairs(const std::vector<int32_t>& list, int32_t count) {
    Ranges out;
    for (int32_t k = 1; k <= count; ++k) {
      out.emplace_back(list[static_cast<std::size_t>(2 * k - 1)], list[static_cast<std::size_t>(2 * k)]);
    }
    return out;
  }

  Settings settings;
  RuleContext context;
  RuleWorkspace ws;
  DateOnlyFileSystem fs;
  Capacities caps;
  RuleCall call{settings, context, ws, fs, caps};
};

}  // namespace dovetam::testing
