// UTF-8 <-> UTF-16 for names on disk, keeping every byte.
//
// Decoding is strict UTF-8 (no overlong forms, no encoded surrogates, nothing
// above U+10FFFF); each byte that does not belong to a valid sequence becomes
// U+DC00 + byte, which lies in U+DC80..U+DCFF since such a byte is >= 0x80.
// Encoding turns those surrogates back into their byte. Linear in the length.
#include "platform/utf8_codec.h"

#include <cstdint>
#include <cstring>

namespace dovetam {

namespace {

bool IsHigh(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLow(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }
bool IsByteEscape(char16_t c) { return c >= 0xDC80 && c <= 0xDCFF; }

// Length of the valid UTF-8 sequence at bytes[i] and its code point, or 0.
std::size_t ValidSequence(std::string_view bytes, std::size_t i, char32_t& cp) {
  auto b = [&](std::size_t k) { return static_cast<unsigned char>(bytes[k]); };
  const unsigned char b0 = b(i);
  const std::size_t rest = bytes.size() - i;
  auto cont = [&](std::size_t k) { return (b(i + k) & 0xC0) == 0x80; };
  if (b0 < 0x80) {
    cp = b0;
    return 1;
  }
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    if (rest < 2 || !cont(1)) return 0;
    cp = ((b0 & 0x1Fu) << 6) | (b(i + 1) & 0x3Fu);
    return 2;
  }
  if (b0 >= 0xE0 && b0 <= 0xEF) {
    if (rest < 3 || !cont(1) || !cont(2)) return 0;
    cp = ((b0 & 0x0Fu) << 12) | ((b(i + 1) & 0x3Fu) << 6) | (b(i + 2) & 0x3Fu);
    if (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return 3;
  }
  if (b0 >= 0xF0 && b0 <= 0xF4) {
    if (rest < 4 || !cont(1) || !cont(2) || !cont(3)) return 0;
    cp = ((b0 & 0x07u) << 18) | ((b(i + 1) & 0x3Fu) << 12) | ((b(i + 2) & 0x3Fu) << 6) |
         (b(i + 3) & 0x3Fu);
    if (cp < 0x10000 || cp > 0x10FFFF) return 0;
    return 4;
  }
  return 0;
}

// Writes the UTF-8 bytes of cp at out; returns the place after them.
char* PutUtf8(char32_t cp, char* out) {
  if (cp < 0x80) {
    *out++ = static_cast<char>(cp);
  } else if (cp < 0x800) {
    *out++ = static_cast<char>(0xC0 | (cp >> 6));
    *out++ = static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    *out++ = static_cast<char>(0xE0 | (cp >> 12));
    *out++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    *out++ = static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    *out++ = static_cast<char>(0xF0 | (cp >> 18));
    *out++ = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    *out++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    *out++ = static_cast<char>(0x80 | (cp & 0x3F));
  }
  return out;
}

// The length of the run of plain ASCII units from i on, taken four at a time
// (a shorter tail counts as none: the caller takes it unit by unit).
std::size_t AsciiRun(std::u16string_view text, std::size_t i) {
  std::size_t k = i;
  while (k + 4 <= text.size()) {
    std::uint64_t four;
    std::memcpy(&four, text.data() + k, sizeof four);
    if ((four & 0xFF80FF80FF80FF80ull) != 0) break;
    k += 4;
  }
  return k - i;
}

// The number of bytes Encode writes for text, a lone surrogate counted as
// the three bytes of U+FFFD (an encoding that fails stops before it).
std::size_t EncodedSize(std::u16string_view text) {
  std::size_t n = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (const std::size_t run = AsciiRun(text, i); run > 0) {
      n += run;
      i += run - 1;
      continue;
    }
    const char16_t c = text[i];
    if (c < 0x80 || IsByteEscape(c)) {
      n += 1;
    } else if (c < 0x800) {
      n += 2;
    } else if (IsHigh(c) && i + 1 < text.size() && IsLow(text[i + 1])) {
      n += 4;
      ++i;
    } else {
      n += 3;
    }
  }
  return n;
}

// Encodes text; an unencodable unit is replaced by `bad` (0 = fail instead).
bool Encode(std::u16string_view text, std::string& bytes, char32_t bad) {
  bytes.resize(EncodedSize(text));
  char* const begin = bytes.data();
  char* out = begin;
  bool ok = true;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (const std::size_t run = AsciiRun(text, i); run > 0) {
      for (std::size_t k = 0; k < run; ++k) out[k] = static_cast<char>(text[i + k]);
      out += run;
      i += run - 1;
      continue;
    }
    const char16_t c = text[i];
    if (c < 0x80) {
      *out++ = static_cast<char>(c);
    } else if (IsHigh(c) && i + 1 < text.size() && IsLow(text[i + 1])) {
      out = PutUtf8(0x10000 + ((char32_t(c) - 0xD800) << 10) + (char32_t(text[i + 1]) - 0xDC00),
                    out);
      ++i;
    } else if (IsByteEscape(c)) {
      *out++ = static_cast<char>(c - 0xDC00);
    } else if (IsHigh(c) || IsLow(c)) {
      if (bad == 0) {
        ok = false;
        break;
      }
      out = PutUtf8(bad, out);
    } else {
      out = PutUtf8(c, out);
    }
  }
  bytes.resize(static_cast<std::size_t>(out - begin));
  return ok;
}

}  // namespace

std::u16string DecodeNative(std::string_view bytes) {
  // Never more UTF-16 units than bytes.
  std::u16string text(bytes.size(), u'\0');
  char16_t* const begin = text.data();
  char16_t* out = begin;
  std::size_t i = 0;
  while (i < bytes.size()) {
    const unsigned char b0 = static_cast<unsigned char>(bytes[i]);
    if (b0 < 0x80) {
      *out++ = b0;
      ++i;
      continue;
    }
    char32_t cp = 0;
    const std::size_t n = ValidSequence(bytes, i, cp);
    if (n == 0) {
      *out++ = static_cast<char16_t>(0xDC00 + b0);
      ++i;
      continue;
    }
    if (cp >= 0x10000) {
      *out++ = static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
      *out++ = static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
    } else {
      *out++ = static_cast<char16_t>(cp);
    }
    i += n;
  }
  text.resize(static_cast<std::size_t>(out - begin));
  return text;
}

bool EncodeNative(std::u16string_view text, std::string& bytes) { return Encode(text, bytes, 0); }

std::size_t NativeSize(std::u16string_view text) { return EncodedSize(text); }

std::string EncodeNativeLossy(std::u16string_view text) {
  std::string bytes;
  Encode(text, bytes, 0xFFFD);
  return bytes;
}

void EncodeNativeLossyInto(std::u16string_view text, std::string& bytes) {
  Encode(text, bytes, 0xFFFD);
}

bool EncodeNativeExactly(std::u16string_view text, std::string& bytes) {
  return Encode(text, bytes, 0) && DecodeNative(bytes) == text;
}

}  // namespace dovetam
