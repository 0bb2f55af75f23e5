// Error texts of the group patterns of a selection side ("(～)" or "[～]").
// Each quotes the configured chr_q1 / chr_q2 in the group prefix:
//   "?(～)?"または"?[～]?"
#pragma once

#include <string>
#include <string_view>

namespace dovetam {

// A sign or digit where none may stand, or an item without its code letter.
std::u16string PatternUsageMessage(std::u16string_view q1, std::u16string_view q2);
// A count of 100,000,000 or more.
std::u16string PatternDigitsMessage(std::u16string_view q1, std::u16string_view q2);
// A character inside an item that is no sign, digit, code letter or blank.
std::u16string PatternSymbolMessage(std::u16string_view q1, std::u16string_view q2,
                                    std::u16string_view character);

// A search that would take too long (see pattern_work.h).
std::u16string PatternTooComplexMessage();

}  // namespace dovetam
