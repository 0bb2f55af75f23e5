// Copies of range lists into and out of the Selection (marks and operator
// registers), with the growth rules of the workspace: a list that is too
// small grows to exactly what the copy needs, and a failed growth keeps the
// capacity and is a rule error. Cost: linear in the ranges copied.
#include <algorithm>

#include "core/rule/rule_messages.h"
#include "core/rule/selection_messages.h"
#include "core/rule/selection_parts.h"

namespace dovetam {

bool CopyIntoSelection(RuleCall& call, const std::vector<int32_t>& from, int32_t count) {
  RuleWorkspace& ws = call.ws;
  const int64_t need = 2 * static_cast<int64_t>(count);
  if (need > INT32_MAX || !GrowSelectionTo(ws, static_cast<int32_t>(need), call.caps)) {
    call.FailMemory();
    return false;
  }
  std::copy_n(from.begin() + 1, need, ws.SelRanges.begin() + 1);
  ws.SelCount = count;
  return true;
}

bool SaveSelection(RuleCall& call, std::vector<int32_t>& to, int32_t& capacity, int32_t& count) {
  RuleWorkspace& ws = call.ws;
  const int32_t need = 2 * ws.SelCount;
  if (!GrowRangeListTo(to, capacity, need, call.caps)) {
    call.FailMemory();
    return false;
  }
  std::copy_n(ws.SelRanges.begin() + 1, need, to.begin() + 1);
  count = ws.SelCount;
  return true;
}

bool RestoreMark(RuleCall& call, bool second, std::u16string_view keyword) {
  RuleWorkspace& ws = call.ws;
  if (!second) {
    if ((ws.MarkFlags & 1) == 0) {
      call.Fail(SelectionMissingMarkMessage(call.settings, keyword, false));
      return false;
    }
    return CopyIntoSelection(call, ws.MarkRanges, ws.MarkCount);
  }
  if ((ws.Mark2Flags & 1) == 0) {
    call.Fail(SelectionMissingMarkMessage(call.settings, keyword, true));
    return false;
  }
  if (OperandLength(ws) != ws.Mark2Length) {
    call.Fail(SelectionLengthMessage(call.settings, keyword));
    return false;
  }
  return CopyIntoSelection(call, ws.Mark2Ranges, ws.Mark2Count);
}

}  // namespace dovetam
