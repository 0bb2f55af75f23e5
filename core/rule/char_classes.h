// The two tests the pattern search asks at each position: does the character
// belong to a ClassItem's class, and does the text begin with a literal item.
//
// Both read the case flag (u, 0x10) and the width flag (z, 0x20) of
// SideSuffixFlags(CurSide): with u the character (and a set, or both texts)
// is upper-cased first, with z put through ConvertToFullWidth, so a class or
// literal then accepts both cases / both widths. Classes (exact case):
//   n N digits, a A letters, u U upper, l L lower, q Q letters and digits
//   (lower-case letter: half width only, upper-case: both widths);
//   x not " ", X not in SpaceChr, s " ", S in SpaceChr; e not in MarkChr1,
//   E not in MarkChr1 & MarkChr2, m in MarkChr1, M in MarkChr1 & MarkChr2;
//   h one byte in code page 932, z Z two bytes (all three true with z);
//   k hiragana, K katakana (full or half width); "." any; p in PtnChr(1),
//   P in PtnChr(2); any other letter never matches.
// Positions are 1-based; position length + 1 is allowed and stands for the
// empty character, which only the negative classes (x X e E .) accept, and
// with z also h z Z.
//
// Cost: one character (or one literal) and one pass over a set; nothing is
// cached. Failure: only ConvertToFullWidth with z (a length change) fails;
// both tests then return false with the error set in call.context.
#pragma once

#include <cstdint>
#include <string_view>

#include "core/rule/rule_call.h"

namespace dovetam {

bool MatchCharClass(RuleCall& call, std::u16string_view text, int32_t position, char16_t classLetter);
bool MatchLiteralAt(RuleCall& call, std::u16string_view text, int32_t position,
                    std::u16string_view literal);

}  // namespace dovetam
