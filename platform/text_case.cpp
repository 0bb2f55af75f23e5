// Case mapping "without case": ICU's simple one-to-one mapping per UTF-16
// unit, the same on every locale. Surrogates (halves of characters outside the
// basic plane, and the byte escapes of undecodable names) stay as they are.
#include "platform/text_case.h"

#include <unicode/uchar.h>

namespace dovetam {

namespace {
bool IsSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDFFF; }
}  // namespace

char16_t UpperChar(char16_t c) {
  if (c < 0x80) return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c;
  if (IsSurrogate(c)) return c;
  const UChar32 u = u_toupper(c);
  return u <= 0xFFFF ? static_cast<char16_t>(u) : c;
}

char16_t LowerChar(char16_t c) {
  if (c < 0x80) return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c;
  if (IsSurrogate(c)) return c;
  const UChar32 u = u_tolower(c);
  return u <= 0xFFFF ? static_cast<char16_t>(u) : c;
}

std::u16string UpperText(std::u16string_view text) {
  std::u16string out(text);
  for (char16_t& c : out) c = UpperChar(c);
  return out;
}

std::u16string LowerText(std::u16string_view text) {
  std::u16string out(text);
  for (char16_t& c : out) c = LowerChar(c);
  return out;
}

bool EqualNoCase(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i] != b[i] && UpperChar(a[i]) != UpperChar(b[i])) return false;
  }
  return true;
}

}  // namespace dovetam
