// The pattern-matching core that the selection sections call: the search for
// a side's group pattern, the offsets that turn a found occurrence into the
// selected range, and the selection operators. Results pass back through the
// workspace (SideFound, the range lists, the operator registers); failures
// through call.Fail, so the caller tests call.failed() after each call.
#pragma once

#include <cstdint>
#include <string_view>

#include "core/rule/rule_call.h"

namespace dovetam {

// Searches operand positions low .. high - 1 for the group pattern of `side`
// (1 A, 2 B), compiled anew on every call. Sets SideFound(side, 1..2), or,
// for a side that takes every match, appends the matches to NewRanges as
// pairs matchBase + 1, ... and returns their number in matchCount.
void FindPatternMatches(RuleCall& call, std::u16string_view operand, int32_t low, int32_t high,
                        int16_t side, int32_t matchBase, int32_t& matchCount);

// Turns SideFound(side, ·) into the selected range within (low, high) by the
// side's suffix offset, resolving the not-found codes. Never fails.
void ApplySelectionOffset(RuleCall& call, std::u16string_view operand, int32_t low, int32_t high,
                          int16_t side, int16_t emptySideRule, int16_t reference);

// Applies the pending plain operator: left OpRanges/OpCount, right the
// Selection; the result is left in OpRanges/OpCount.
void ApplySelectionOperator(RuleCall& call, int32_t operandLength);

// The same for the "!" register (Op2Ranges/Op2Count).
void ApplySelectionOperatorSameLength(RuleCall& call, int32_t operandLength);

}  // namespace dovetam
