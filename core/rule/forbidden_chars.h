// The end phase of one name part: characters that a name may not hold.
//
// The characters are those of the setting ngstr, taken one by one in its
// order. Up to three passes treat them (ngcngmode: to full width,
// ngplacemode: replace by ngplacestr, ngdelmode: delete); a pass runs only
// while no pass ran before it or the last one that ran changed something, and
// the same holds for the final check, which refuses a text still holding one
// (generated-name error, kind 2, naming the first such character of ngstr).
// Cost: one scan of the text per character of ngstr and pass. A replacement
// that would blow the text up past kMaxForbiddenPhaseText units is refused as
// "memory short" (a replacement text full of forbidden characters can
// otherwise multiply the length with every character of ngstr).
#pragma once

#include <string>

#include "core/rule/rule_call.h"

namespace dovetam {

inline constexpr std::size_t kMaxForbiddenPhaseText = 1 << 20;

std::u16string ApplyForbiddenChars(RuleCall& call, std::u16string text);

}  // namespace dovetam
