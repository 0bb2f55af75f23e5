// The grammar of one side of a pattern selection (prefix, group, suffix) and
// its parser, which fills the side's fields of the workspace.
#pragma once

#include <cstdint>
#include <string_view>

#include "core/rule/rule_call.h"

namespace dovetam {

// Parses `sideText` (spaces already cut from both ends) into the fields of
// side 1 (A) or 2 (B). On a syntax error sets the rule error and returns;
// fields written before the error stay written. Cost: one pass.
void ParseSelectionOperand(RuleCall& call, std::u16string_view sideText, int16_t side);

}  // namespace dovetam
