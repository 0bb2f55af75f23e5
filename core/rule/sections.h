// Entry points of the interpreter into the selection sections and the
// operation sections.
//
// The interpreter finds a section's opener, chooses its operand and calls
// these; they read the section up to its closer and leave the position after
// it. Selection sections (?...?) refine the Selection of the PendingOperand;
// operation sections (/.../) edit the operand at the selected ranges.
#pragma once

#include <cstdint>
#include <string_view>

#include "core/rule/rule_call.h"

namespace dovetam {

// The section whose chr_q1 stands at `open`. Returns the position after its
// closer, or 0 after a rule error (the unpaired-section message among them).
int32_t RunSelectionSection(RuleCall& call, std::u16string_view rule, int32_t open);

// The contents of a selection section between open and close (exclusive):
// its form, keywords, operators, index lists and pattern selections.
bool ApplySelectionContents(RuleCall& call, std::u16string_view rule, int32_t open, int32_t close);

// Applies the pending plain selection operator (OpCode > 0) to the Selection,
// as the operations that move positions need before they edit.
bool ApplyPendingSelectionOperator(RuleCall& call);

// The section whose chr_s1 stands at `open`. Returns the position after its
// closer, or 0 after a rule error.
int32_t RunOperationSection(RuleCall& call, std::u16string_view rule, int32_t open);

// One operation of an operation section, already read: `symbol` (trimmed),
// form 1 without argument or form 2 with `argument` (unexpanded).
bool RunOperation(RuleCall& call, std::u16string_view symbol, int form, std::u16string_view argument);

}  // namespace dovetam
