// The error texts of the operations of operation sections that are not shared
// with other stages: the text marks (/M/ and /M!/) and a Selection the edits
// cannot work on. The configured chr_s1 and chr_s2 are passed in.
#pragma once

#include <string>
#include <string_view>

namespace dovetam {

// A put-back (`symbol` as written) without its remembered text; `setter` is
// "m" or "m!".
std::u16string MarkTextMissingMessage(std::u16string_view s1, std::u16string_view s2,
                                      std::u16string_view symbol, std::u16string_view setter);
// A "!" put-back into an operand whose length differs from the remembered text.
std::u16string MarkTextLengthMessage(std::u16string_view s1, std::u16string_view s2,
                                     std::u16string_view symbol);
// An edit on a Selection whose ranges overlap, stand out of order or out of
// the operand.
std::u16string SelectionUnusableMessage(std::u16string_view s1, std::u16string_view s2,
                                        std::u16string_view symbol);

}  // namespace dovetam
