// Comparing "without case": simple one-to-one Unicode upper-casing of each
// UTF-16 unit, independent of the locale (full-width Latin included).
// Surrogates are left as they are.
#pragma once

#include <string>
#include <string_view>

namespace dovetam {

char16_t UpperChar(char16_t c);
char16_t LowerChar(char16_t c);
std::u16string UpperText(std::u16string_view text);
std::u16string LowerText(std::u16string_view text);
bool EqualNoCase(std::u16string_view a, std::u16string_view b);

}  // namespace dovetam
