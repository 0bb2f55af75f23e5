// Shared steps of the operations that rewrite the PendingOperand at the
// ranges of the Selection: reading the ranges, checking that they can be
// edited, and rebuilding the operand with new texts in their places.
//
// The edits need the ranges in ascending order, each starting at or after the
// end of the one before it, within 1 to the operand's length + 1 (touching
// and empty ranges are fine). A Selection that breaks this is refused as a
// rule error rather than guessed at.
//
// Cost: one pass over the operand and the pieces, linear in the new operand.
// An operand never grows beyond kMaxOperandLength units: a longer one is
// refused as "memory short", so that rules that multiply the text on every
// operation stop early instead of exhausting memory or time.
// Tested by tests/core/rule/position_edits_test.cpp (ranges, unusable Selections, the length limit).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/rule/rule_call.h"

namespace dovetam {

inline constexpr int64_t kMaxOperandLength = int64_t{1} << 20;

// What stands in the place of one range after an edit.
struct RangePiece {
  std::u16string lead;      // inserted before the range's new text
  std::u16string body;      // the range's new text
  std::u16string trail;     // inserted after it
  bool coverLead = false;   // the new range begins with the lead
  bool coverTrail = false;  // the new range ends with the trail
};

inline int32_t RangeStart(const RuleWorkspace& ws, int32_t i) {
  return ws.SelRanges[static_cast<std::size_t>(2 * i - 1)];
}
inline int32_t RangeEnd(const RuleWorkspace& ws, int32_t i) {
  return ws.SelRanges[static_cast<std::size_t>(2 * i)];
}
// The text of range i of the Selection (the ranges must be in bounds).
std::u16string_view RangeText(const RuleWorkspace& ws, int32_t i);

// Fails the rule (naming the operation's `symbol`) unless the Selection is
// in bounds (every range within the operand: 1 <= start <= end <= length +
// 1), and also ordered (every range starts at or after the end of the one
// before) when `ordered` is set.
bool RequireSelection(RuleCall& call, std::u16string_view symbol, bool ordered);

// Rebuilds the operand: range i gives way to pieces[i - 1]; the texts between
// the ranges are kept (keepGaps) or left out. Range i then covers its body,
// and the lead and the trail as the piece says. False, with nothing changed,
// when the new operand would be too long.
bool RebuildOperand(RuleCall& call, const std::vector<RangePiece>& pieces, bool keepGaps);

// An edit that may move positions forgets the selection and text marks of the
// plain register and the pending plain selection operator.
inline void ForgetMarksAndOperator(RuleWorkspace& ws) {
  ws.MarkFlags = 0;
  ws.OpCode = 0;
}

// The pending operand is dropped: it is not output, and the next section
// starts from a fresh operand.
inline void DropOperand(RuleWorkspace& ws) { ws.OperandPending = false; }

}  // namespace dovetam
