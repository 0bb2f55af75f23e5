// Names on disk are bytes; the program works on UTF-16.
//
// Decoding never fails: every byte that is not part of a valid UTF-8 sequence
// becomes the lone surrogate U+DC00 + byte (always in U+DC80..U+DCFF, as
// such a byte is 0x80 or above), and encoding writes such a
// surrogate back as that byte, so every name round-trips exactly.
// Encoding fails (returns false) only for a lone surrogate outside
// U+DC80..U+DCFF, which stands for no byte sequence at all.
#pragma once

#include <string>
#include <string_view>

namespace dovetam {

std::u16string DecodeNative(std::string_view bytes);
bool EncodeNative(std::u16string_view text, std::string& bytes);
// For texts that come from the program itself (always encodable); a text that
// cannot be encoded gets U+FFFD in its place.
std::string EncodeNativeLossy(std::u16string_view text);
// The same into `bytes` (replacing its content, reusing its storage).
void EncodeNativeLossyInto(std::u16string_view text, std::string& bytes);
// The number of bytes EncodeNative writes for text (a unit it cannot encode
// counted as the three bytes of U+FFFD), without encoding it.
std::size_t NativeSize(std::u16string_view text);
// EncodeNative, false as well when the bytes would not decode back to text:
// a text with byte surrogates that together form valid UTF-8 (U+DCC3 U+DCA9
// becomes "é" on disk) encodes but would not come back as shown.
bool EncodeNativeExactly(std::u16string_view text, std::string& bytes);

}  // namespace dovetam
