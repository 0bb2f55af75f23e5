// Whole numbers as the settings store and the settings dialog write and read
// them: decimal digits, no sign, blanks or leading zeros.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace dovetam {

inline std::u16string DecimalText(int64_t n) {
  std::u16string out;
  for (char c : std::to_string(n)) out += static_cast<char16_t>(c);
  return out;
}

// The value of a text of ASCII digits (the checks let nothing else through);
// it stops at the first other character and never exceeds 32 bits.
inline int64_t DecimalValue(std::u16string_view text) {
  int64_t n = 0;
  for (char16_t c : text) {
    if (c < u'0' || c > u'9') break;
    n = n * 10 + (c - u'0');
    if (n > INT32_MAX) return INT32_MAX;
  }
  return n;
}

}  // namespace dovetam
