// The rule interpreter: applies one change rule to one name part.
//
// ApplyChangeRule scans the rule left to right for the seven symbols chr_aster,
// chr_q1, chr_q2, chr_s1, chr_s2, chr_dq1, chr_dq2 (the nearest wins; on equal
// positions the earlier of this order). Literal text between them goes
// through the text expansion; chr_aster starts a new PendingOperand equal to
// the name part; a quoted operand starts one from its expanded text;
// selection and operation sections work on the pending operand (a fresh one
// when literal text came first). The output is the concatenation, in rule
// order, of the expanded literals and of every operand when it is left. The
// forbidden-character phase then runs on it.
//
// Sets RuleErrorKind to 0 first; on any failure the result is "" with the
// kind and message set (the partial output is discarded). Counts and flags of
// the workspace are reset per call; its tables keep their capacities.
// Cost: seven symbol searches per step of the scan. An output longer than
// kMaxExpandedText units (text_expansion.h) is refused as "memory short".
#pragma once

#include <string>
#include <string_view>

#include "core/rule/rule_call.h"

namespace dovetam {

std::u16string ApplyChangeRule(RuleCall& call, std::u16string_view part, std::u16string_view rule);

}  // namespace dovetam
