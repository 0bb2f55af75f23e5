// The operations of operation sections (edits, clip list, marks, case, width
// and kana conversions).
//
// Not built yet: every operation is refused as a rule error with the message
// for a symbol that does not exist, so that no rename ever goes ahead with an
// operation silently left out. The operations replace this function.
#include "rule/rule_messages.h"
#include "rule/sections.h"

namespace dovetam {

bool RunOperation(RuleCall& call, std::u16string_view symbol, int form, std::u16string_view /*argument*/) {
  const Settings& s = call.settings;
  call.Fail(OperationUnknownMessage(s.ChrS1, s.ChrS2, s.ChrCol, form == 2, symbol));
  return false;
}

}  // namespace dovetam
