// Character tests and the width and kana conversions of the rule engine.
//
// The tests classify a character by its code page 932 code (cp932_table.h):
// hiragana 0x829F-0x82F1, katakana 0x8340-0x8396, both plus the eight kana
// marks 、。・゛゜ー「」, half-width kana 0xA1-0xDF. The conversions use tables
// of our own, equivalent to the Japanese-locale conversions of the desktop
// the program was made for:
//   - width: ASCII U+0021-U+007E <-> U+FF01-U+FF5E, space <-> U+3000,
//     half-width katakana <-> full width (voiced marks composed when widening,
//     split when narrowing), 、。「」・ー゛゜ <-> ､｡｢｣･ｰﾞﾟ, ¢£¬¯¦¥₩ <-> ￠￡￢￣￤￥￦.
//     "\" and "￥" are left to the yen rule of ToWideText / ToNarrowText:
//     "\" widens to "￥" and "￥" narrows to "\".
//   - kana: hiragana U+3041-U+3096 <-> katakana U+30A1-U+30F6, ゝゞ <-> ヽヾ;
//     half-width katakana stay as they are.
// All conversions are linear in the text; width conversions may change its
// length, the kana conversions never do.
#pragma once

#include <string>
#include <string_view>

#include "core/rule/rule_context.h"

namespace dovetam {

bool IsHiraganaChar(char16_t c);
bool IsKatakanaChar(char16_t c);
bool IsHalfKanaChar(char16_t c);
// Any of the three tests.
bool IsKanaChar(char16_t c);

// Full width, then every remaining "\" becomes "￥".
std::u16string ToWideText(std::u16string_view text);
// Half width, then every "￥" becomes "\".
std::u16string ToNarrowText(std::u16string_view text);
// Hiragana to katakana and back, one unit for one unit.
std::u16string ToKatakanaText(std::u16string_view text);
std::u16string ToHiraganaText(std::u16string_view text);

// Kana runs kept, every other run through ToWideText / ToNarrowText. When the
// length changes: RuleErrorKind 1, the message quoting the text, and "".
std::u16string ConvertToFullWidth(std::u16string_view text, RuleContext& context);
std::u16string ConvertToHalfWidth(std::u16string_view text, RuleContext& context);

}  // namespace dovetam
