// The error texts of the rule engine. Every text that quotes a rule form
// takes the configured symbols, passed in here; "～" (U+FF5E) stands for a
// section's contents.
#pragma once

#include <string>
#include <string_view>

namespace dovetam {

using Sym = std::u16string_view;

// "<open>～<close>" is not paired (sections, quotes, repeat brackets).
std::u16string PairMessage(Sym open, Sym close);
std::u16string MemoryMessage();
// chr_cap with nothing after it.
std::u16string EscapeEndMessage(Sym cap);
// chr_bar outside a repeat section.
std::u16string BarOutsideMessage(Sym lt, Sym gt, Sym bar);
// Codes: bad form, too many digits, a character no state knows.
std::u16string CodeFormatMessage(Sym yen);
std::u16string CodeDigitsMessage(Sym yen);
std::u16string CodeCharMessage(Sym yen, std::u16string_view character);
// Exact sums: a term or the result beyond 32 digits.
std::u16string SumDigitsMessage(Sym yen);
// A date of the object that cannot be read (kind 1 last-modified, 2 created).
std::u16string DateReadMessage(int kind);
// Operation sections: a second chr_col, no symbol, a symbol that does not exist.
std::u16string OperationColonsMessage(Sym s1, Sym s2, Sym col);
std::u16string OperationNoSymbolMessage(Sym s1, Sym s2, Sym col, bool withArgument);
std::u16string OperationUnknownMessage(Sym s1, Sym s2, Sym col, bool withArgument,
                                       std::u16string_view symbol);
// Width conversions that keep kana and changed the length.
std::u16string WidthLengthMessage(bool toWide, std::u16string_view text);

// Generated-name errors (kind 2).
std::u16string ForbiddenCharMessage(std::u16string_view text, std::u16string_view character);
std::u16string EmptyPartMessage(std::u16string_view base, std::u16string_view ext);
std::u16string EmptyNameMessage();
// A name the file system cannot take: it holds "/" or NUL, is "." or "..", or
// holds a lone surrogate that stands for no byte.
std::u16string UnusableCharMessage(std::u16string_view text, std::u16string_view character);
std::u16string UnusableNameMessage(std::u16string_view text);
std::u16string UnencodableNameMessage(std::u16string_view text);

}  // namespace dovetam
