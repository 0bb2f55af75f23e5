// Name comparison for sorting: a locale-aware collator (ICU, Japanese rules)
// that ignores letter case (and width), as the name level of the sorts wants.
//
// CompareNames and NameSortKey agree: comparing two sort keys byte by byte
// gives the same order as CompareNames on the texts, so a sort may compute
// each key once. Texts with lone surrogates (names that are not valid UTF-8)
// are compared like any other text; nothing fails.
#pragma once

#include <string>
#include <string_view>

namespace dovetam {

// -1, 0 or +1.
int CompareNames(std::u16string_view a, std::u16string_view b);

// A byte string whose order (std::string comparison) is that of CompareNames.
std::string NameSortKey(std::u16string_view text);

}  // namespace dovetam
