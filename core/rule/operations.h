// The families of operations of operation sections, called by RunOperation
// (sections.h) once the section has been read, the symbol found in the table
// of its form and a pending plain selection operator applied where the
// symbol asks for it. Each returns false after a rule error.
#pragma once

#include <string_view>

#include "core/rule/rule_call.h"

namespace dovetam {

// Inserts (i, I families), replacements (p, pr), keep (e) and delete (d).
bool RunPositionEdit(RuleCall& call, std::u16string_view symbol, std::u16string_view argument);
// Copy (c, C), cut (x, X), paste (v, V) and rewind (b, B) of the clip list.
bool RunClipOperation(RuleCall& call, std::u16string_view symbol);
// The text marks: M, MR, MRS, MRS~, their "!" forms and lower-case twins.
bool RunMarkOperation(RuleCall& call, std::u16string_view symbol);
// Case (u, l), width (z, h, Z, H), kana (k, K), emptying (r) and dropping (R).
bool RunConversionOperation(RuleCall& call, std::u16string_view symbol);

}  // namespace dovetam
