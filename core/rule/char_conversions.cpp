// Character tests and width / kana conversions (see char_conversions.h).
#include "core/rule/char_conversions.h"

#include <array>

#include "core/rule/cp932_table.h"
#include "core/rule/rule_messages.h"

namespace dovetam {
namespace {

// Full-width forms of the half-width block U+FF61..U+FF9F.
constexpr char16_t kHalfKanaFirst = 0xFF61;
constexpr char16_t kHalfKanaLast = 0xFF9F;
constexpr char16_t kHalfKanaToWide[kHalfKanaLast - kHalfKanaFirst + 1] = {
    0x3002, 0x300C, 0x300D, 0x3001, 0x30FB, 0x30F2, 0x30A1, 0x30A3,  // ｡｢｣､･ｦｧｨ
    0x30A5, 0x30A7, 0x30A9, 0x30E3, 0x30E5, 0x30E7, 0x30C3, 0x30FC,  // ｩｪｫｬｭｮｯｰ
    0x30A2, 0x30A4, 0x30A6, 0x30A8, 0x30AA, 0x30AB, 0x30AD, 0x30AF,  // ｱｲｳｴｵｶｷｸ
    0x30B1, 0x30B3, 0x30B5, 0x30B7, 0x30B9, 0x30BB, 0x30BD, 0x30BF,  // ｹｺｻｼｽｾｿﾀ
    0x30C1, 0x30C4, 0x30C6, 0x30C8, 0x30CA, 0x30CB, 0x30CC, 0x30CD,  // ﾁﾂﾃﾄﾅﾆﾇﾈ
    0x30CE, 0x30CF, 0x30D2, 0x30D5, 0x30D8, 0x30DB, 0x30DE, 0x30DF,  // ﾉﾊﾋﾌﾍﾎﾏﾐ
    0x30E0, 0x30E1, 0x30E2, 0x30E4, 0x30E6, 0x30E8, 0x30E9, 0x30EA,  // ﾑﾒﾓﾔﾕﾖﾗﾘ
    0x30EB, 0x30EC, 0x30ED, 0x30EF, 0x30F3, 0x309B, 0x309C,          // ﾙﾚﾛﾜﾝﾞﾟ
};
constexpr char16_t kHalfVoiced = 0xFF9E;      // ﾞ
constexpr char16_t kHalfSemiVoiced = 0xFF9F;  // ﾟ
constexpr char16_t kHalfU = 0xFF73;           // ｳ
constexpr char16_t kWideVu = 0x30F4;          // ヴ

// The narrow signs and their full-width forms (¢£¬¯¦¥₩). ￥ narrows through
// the yen rule of ToNarrowText instead (to "\").
constexpr char16_t kSignNarrow[] = {0x00A2, 0x00A3, 0x00AC, 0x00AF, 0x00A6, 0x00A5, 0x20A9};
constexpr char16_t kSignWide[] = {0xFFE0, 0xFFE1, 0xFFE2, 0xFFE3, 0xFFE4, 0xFFE5, 0xFFE6};

bool TakesVoicedMark(char16_t half) {  // ｶ..ﾄ, ﾊ..ﾎ, ｳ
  return (half >= 0xFF76 && half <= 0xFF84) || (half >= 0xFF8A && half <= 0xFF8E) || half == kHalfU;
}
bool TakesSemiVoicedMark(char16_t half) { return half >= 0xFF8A && half <= 0xFF8E; }

// Narrow forms of the full-width kana block U+3000..U+30FF: one or two units.
struct NarrowKana {
  std::array<char16_t, 0x100> first{};
  std::array<char16_t, 0x100> second{};
  NarrowKana() {
    for (char16_t h = kHalfKanaFirst; h <= kHalfKanaLast; ++h) {
      char16_t w = kHalfKanaToWide[h - kHalfKanaFirst];
      first[w - 0x3000] = h;
      if (h == kHalfU) {
        first[kWideVu - 0x3000] = h;
        second[kWideVu - 0x3000] = kHalfVoiced;
      } else if (TakesVoicedMark(h)) {
        first[w + 1 - 0x3000] = h;
        second[w + 1 - 0x3000] = kHalfVoiced;
      }
      if (TakesSemiVoicedMark(h)) {
        first[w + 2 - 0x3000] = h;
        second[w + 2 - 0x3000] = kHalfSemiVoiced;
      }
    }
  }
};
const NarrowKana& NarrowKanaTable() {
  static const NarrowKana table;
  return table;
}

bool IsKanaMarkCode(int code) {
  switch (code) {
    case 0x8141: case 0x8142: case 0x8145: case 0x814A:
    case 0x814B: case 0x815B: case 0x8175: case 0x8176:
      return true;
    default:
      return false;
  }
}

template <class Convert>
std::u16string ConvertKeepingKana(std::u16string_view text, Convert convert, RuleContext& context,
                                  bool toWide) {
  std::u16string result;
  result.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    bool kana = IsKanaChar(text[i]);
    std::size_t j = i + 1;
    while (j < text.size() && IsKanaChar(text[j]) == kana) ++j;
    if (kana) {
      result.append(text.substr(i, j - i));
    } else {
      result += convert(text.substr(i, j - i));
    }
    i = j;
  }
  if (result.size() != text.size()) {
    context.RuleErrorKind = 1;
    context.RuleErrorText = WidthLengthMessage(toWide, text);
    return std::u16string();
  }
  return result;
}

}  // namespace

bool IsHiraganaChar(char16_t c) {
  int code = Cp932Code(c);
  return (code >= 0x829F && code <= 0x82F1) || IsKanaMarkCode(code);
}

bool IsKatakanaChar(char16_t c) {
  int code = Cp932Code(c);
  return (code >= 0x8340 && code <= 0x8396) || IsKanaMarkCode(code);
}

bool IsHalfKanaChar(char16_t c) {
  int code = Cp932Code(c);
  return code >= 0xA1 && code <= 0xDF;
}

bool IsKanaChar(char16_t c) { return IsHiraganaChar(c) || IsKatakanaChar(c) || IsHalfKanaChar(c); }

std::u16string ToWideText(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    char16_t c = text[i];
    if (c == u'\\') {
      out += u'\uFFE5';
    } else if (c >= 0x21 && c <= 0x7E) {
      out += static_cast<char16_t>(c - 0x21 + 0xFF01);
    } else if (c == 0x20) {
      out += u'\u3000';
    } else if (c >= kHalfKanaFirst && c <= kHalfKanaLast) {
      char16_t w = kHalfKanaToWide[c - kHalfKanaFirst];
      char16_t next = i + 1 < text.size() ? text[i + 1] : 0;
      if (next == kHalfVoiced && TakesVoicedMark(c)) {
        out += c == kHalfU ? kWideVu : static_cast<char16_t>(w + 1);
        ++i;
      } else if (next == kHalfSemiVoiced && TakesSemiVoicedMark(c)) {
        out += static_cast<char16_t>(w + 2);
        ++i;
      } else {
        out += w;
      }
    } else {
      char16_t mapped = c;
      for (std::size_t k = 0; k < std::size(kSignNarrow); ++k) {
        if (c == kSignNarrow[k]) mapped = kSignWide[k];
      }
      out += mapped;
    }
  }
  return out;
}

std::u16string ToNarrowText(std::u16string_view text) {
  const NarrowKana& kana = NarrowKanaTable();
  std::u16string out;
  out.reserve(text.size());
  for (char16_t c : text) {
    if (c == u'\uFFE5') {
      out += u'\\';
    } else if (c >= 0xFF01 && c <= 0xFF5E) {
      out += static_cast<char16_t>(c - 0xFF01 + 0x21);
    } else if (c == 0x3000) {
      out += u' ';
    } else if (c > 0x3000 && c <= 0x30FF && kana.first[c - 0x3000] != 0) {
      out += kana.first[c - 0x3000];
      if (kana.second[c - 0x3000] != 0) out += kana.second[c - 0x3000];
    } else {
      char16_t mapped = c;
      for (std::size_t k = 0; k < std::size(kSignWide); ++k) {
        if (c == kSignWide[k] && c != u'\uFFE5') mapped = kSignNarrow[k];
      }
      out += mapped;
    }
  }
  return out;
}

std::u16string ToKatakanaText(std::u16string_view text) {
  std::u16string out(text);
  for (char16_t& c : out) {
    if ((c >= 0x3041 && c <= 0x3096) || c == 0x309D || c == 0x309E) c = static_cast<char16_t>(c + 0x60);
  }
  return out;
}

std::u16string ToHiraganaText(std::u16string_view text) {
  std::u16string out(text);
  for (char16_t& c : out) {
    if ((c >= 0x30A1 && c <= 0x30F6) || c == 0x30FD || c == 0x30FE) c = static_cast<char16_t>(c - 0x60);
  }
  return out;
}

std::u16string ConvertToFullWidth(std::u16string_view text, RuleContext& context) {
  return ConvertKeepingKana(text, ToWideText, context, true);
}

std::u16string ConvertToHalfWidth(std::u16string_view text, RuleContext& context) {
  return ConvertKeepingKana(text, ToNarrowText, context, false);
}

}  // namespace dovetam
