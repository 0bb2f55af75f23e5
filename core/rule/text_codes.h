// One code of a text piece (\...): its grammar, its value and the fitting to
// its width. Shared by ExpandCodes and the exact sums; see text_expansion.h.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/rule/rule_call.h"

namespace dovetam {

// State of one ExpandCodes pass that codes update.
struct ExpansionPass {
  bool inside = false;      // the inside of a repeat section
  int repeatCutState = 0;   // 0 none, 1 items remain, 2 last item used, 3 cut moved to "|"; -1 transient
  std::size_t cutLength = 0;
  std::u16string out;
};

// Parses the code whose chr_yen stands at the 1-based position yenPos of text
// and appends its text to pass.out. Returns the position after the code's
// final letter (or closing ")"), or 0 after a failure.
int32_t ExpandOneCode(RuleCall& call, std::u16string_view text, int32_t yenPos, ExpansionPass& pass);

// Takes the next sequential clip item forward (from ClipFront) or backward
// (from ClipBack) and notes the use for the repeat state. False when the
// cursor lies outside the list (no item; nothing noted).
bool TakeSequentialClip(RuleCall& call, bool backward, ExpansionPass& pass, std::u16string& item);

}  // namespace dovetam
