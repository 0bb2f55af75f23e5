// Expansion of literal rule text: repeat sections, the name symbol and codes.
//
// ExpandSections splits a text at the repeat brackets chr_lt / chr_gt: text
// outside them is expanded once; the text inside a pair is expanded again
// while a sequential clip item taken in it left more items, so one template
// turns into one copy per clip item. ExpandCodes expands one piece: literal
// text with escapes removed, the name part for chr_aster, and the codes that
// start with chr_yen (position, clip items, dates, exact sums).
//
// Cost: linear in the text and its output per pass; a repeat section runs at
// most once per clip item. A width pads a value to at most kMaxCodeWidth
// units; a wider field is refused as "memory short" rather than built, and so
// is an expansion whose text grows beyond kMaxExpandedText units (a repeat
// section that joins all clip items in every pass would otherwise grow with
// the square of the clip list and hang the preview).
// Errors: RuleErrorKind 1 and the message; the result is then "".
#pragma once

#include <string>
#include <string_view>

#include "core/rule/rule_call.h"

namespace dovetam {

// Widest field a code may pad to (UTF-16 units).
inline constexpr int32_t kMaxCodeWidth = 1 << 20;
// Longest text one expansion may build (UTF-16 units).
inline constexpr std::size_t kMaxExpandedText = 1 << 22;

std::u16string ExpandSections(RuleCall& call, std::u16string_view text);
// insideSection: 0 outside the brackets, 1 the inside of a repeat section.
std::u16string ExpandCodes(RuleCall& call, std::u16string_view text, int insideSection);

}  // namespace dovetam
