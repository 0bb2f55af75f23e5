// Selection sections ?...?: pairing of opener and closer.
//
// The contents (keywords, operators, index lists, pattern selections) are
// applied by ApplySelectionContents in selection_contents.cpp.
#include "core/rule/escape_search.h"
#include "core/rule/rule_messages.h"
#include "core/rule/sections.h"

namespace dovetam {

int32_t RunSelectionSection(RuleCall& call, std::u16string_view rule, int32_t open) {
  const Settings& s = call.settings;
  const int32_t inner = open + static_cast<int32_t>(s.ChrQ1.size());
  const int32_t close = InStrUnescaped(rule, s.ChrQ2, inner, s);
  const int32_t again = InStrUnescaped(rule, s.ChrQ1, inner, s);
  // With equal opener and closer the second search finds the closer itself.
  if (close == 0 || (again > 0 && again < close)) {
    call.Fail(PairMessage(s.ChrQ1, s.ChrQ2));
    return 0;
  }
  if (!ApplySelectionContents(call, rule, open, close)) return 0;
  return close + static_cast<int32_t>(s.ChrQ2.size());
}

}  // namespace dovetam
