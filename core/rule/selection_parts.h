// What the pieces of a selection section share: the keywords, the operator
// registers, the index lists and the pattern selections, and the copies of
// range lists in and out of the Selection that several of them make.
//
// Every function returns false after a rule error (set through call.Fail);
// the caller then stops the rule.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "core/rule/rule_call.h"

namespace dovetam {

inline int32_t OperandLength(const RuleWorkspace& ws) {
  return static_cast<int32_t>(ws.PendingOperand.size());
}

// The Selection := `count` ranges of `from` (elements 1 .. 2 count), growing
// SelRanges and NewRanges to exactly 2 count when they are smaller.
bool CopyIntoSelection(RuleCall& call, const std::vector<int32_t>& from, int32_t count);
// `to` := the Selection, growing it to exactly 2 SelCount when it is smaller.
bool SaveSelection(RuleCall& call, std::vector<int32_t>& to, int32_t& capacity, int32_t& count);
// Restores the Selection saved by M (second false) or M! (second true), after
// the checks for the mark and, for M!, the operand length; `keyword` names the
// section in the messages.
bool RestoreMark(RuleCall& call, bool second, std::u16string_view keyword);

// Form ?A?: runs `text` when it is a keyword; `handled` tells whether it was.
bool RunSelectionKeyword(RuleCall& call, std::u16string_view text, bool& handled);
// Form ?A?: runs `text` when it is an operator, "=" or "=!".
bool RunSelectionOperator(RuleCall& call, std::u16string_view text, bool& handled);

// The index list whose chr_bra1 and chr_bra2 stand at these rule positions.
bool RunIndexList(RuleCall& call, std::u16string_view rule, int32_t braOpen, int32_t braClose);

// A side has a group and no count: it takes every matched string.
bool IsAllStringsSide(const RuleWorkspace& ws, int16_t side);
// Pattern selections with the sides already parsed: ?A? (pair false) and ?A:B?.
bool RunPatternSelection(RuleCall& call, bool pair);
// ?A::B? (backward false) and ?A:r:B? (backward true), from the side texts.
bool RunExtensionSelection(RuleCall& call, std::u16string_view a, std::u16string_view b, bool backward);

}  // namespace dovetam
