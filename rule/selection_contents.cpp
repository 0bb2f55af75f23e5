// The contents of selection sections and the selection operators.
//
// Not built yet: a section leaves the Selection as it is (a Selection only
// decides what later operations edit, so the name part comes out unchanged),
// and no operator is ever pending. The keywords, operators, index lists and
// pattern selections replace these two functions.
#include "rule/sections.h"

namespace dovetam {

bool ApplySelectionContents(RuleCall& /*call*/, std::u16string_view /*rule*/, int32_t /*open*/,
                            int32_t /*close*/) {
  return true;
}

bool ApplyPendingSelectionOperator(RuleCall& call) {
  call.ws.OpCode = 0;
  return true;
}

}  // namespace dovetam
