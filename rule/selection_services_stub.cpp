// Placeholder of the pattern-matching core until it lands: nothing is found,
// offsets resolve to nothing, operators leave the left operand.
#include "rule/selection_services.h"

namespace dovetam {

void FindPatternMatches(RuleCall& call, std::u16string_view, int32_t, int32_t, int16_t side,
                        int32_t, int32_t& matchCount) {
  matchCount = 0;
  call.ws.SideFound[static_cast<std::size_t>(side)][1] = 0;
}

void ApplySelectionOffset(RuleCall&, std::u16string_view, int32_t, int32_t, int16_t, int16_t,
                          int16_t) {}

void ApplySelectionOperator(RuleCall&, int32_t) {}

void ApplySelectionOperatorSameLength(RuleCall&, int32_t) {}

}  // namespace dovetam
