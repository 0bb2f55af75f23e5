// The error texts of the selection sections (see selection_messages.h).
#include "core/rule/selection_messages.h"

namespace dovetam {
namespace {

constexpr std::u16string_view kTilde = u"～";

std::u16string Cat(std::initializer_list<std::u16string_view> parts) {
  std::u16string s;
  for (auto p : parts) s += p;
  return s;
}

// A double quote, chr_q1, inner, chr_q2, a double quote.
std::u16string QuotedSection(const Settings& s, std::u16string_view inner) {
  return Cat({u"\"", s.ChrQ1, inner, s.ChrQ2, u"\""});
}

}  // namespace

std::u16string SelectionColonsMessage(const Settings& s) {
  return Cat({QuotedSection(s, kTilde), u"内の\"", s.ChrCol, u"\"が多すぎます。"});
}

std::u16string SelectionUnknownMiddleMessage(const Settings& s, std::u16string_view middle) {
  return Cat({QuotedSection(s, Cat({kTilde, s.ChrCol, s.ChrCol, kTilde})), u"で存在しない記号\"", middle,
              u"\"が使われています。"});
}

std::u16string SelectionBothAllMessage(const Settings& s) {
  return Cat({QuotedSection(s, Cat({kTilde, s.ChrCol, kTilde})), u"の両側ですべての文字列",
              QuotedSection(s, u"(～)"), u"を指定することはできません。"});
}

std::u16string SelectionExtensionAllMessage(const Settings& s) {
  return Cat({QuotedSection(s, Cat({kTilde, s.ChrCol, s.ChrCol, kTilde})), u"で全ての文字列",
              QuotedSection(s, u"(～)"), u"を使用することはできません。"});
}

std::u16string SelectionMissingMarkMessage(const Settings& s, std::u16string_view keyword, bool second) {
  return Cat({QuotedSection(s, keyword), u"の前に、", QuotedSection(s, second ? u"M!" : u"M"),
              u"が指定されていません。"});
}

std::u16string SelectionLengthMessage(const Settings& s, std::u16string_view keyword) {
  return Cat({u"長さの異なる文字列に", QuotedSection(s, keyword), u"を用いることはできません。"});
}

std::u16string SelectionNoOperatorMessage(const Settings& s, std::u16string_view keyword) {
  return Cat({QuotedSection(s, keyword), u"の前に、演算子が指定されていません。"});
}

std::u16string IndexListUsageMessage(const Settings& s) {
  return Cat({QuotedSection(s, Cat({s.ChrBra1, kTilde, s.ChrBra2})), u"の使い方が正しくありません。"});
}

std::u16string IndexListDigitsMessage(const Settings& s) {
  return Cat({QuotedSection(s, Cat({s.ChrBra1, kTilde, s.ChrBra2})), u"内の桁数が多すぎます。"});
}

std::u16string SideBracketMessage(const Settings& s) {
  return Cat({QuotedSection(s, u"(～)"), u"または", QuotedSection(s, u"[～]"), u"の対応が取れていません。"});
}

std::u16string SideUsageMessage(const Settings& s, std::u16string_view form) {
  return QuotedSection(s, form) + u"の使い方が正しくありません。";
}

std::u16string SideDigitsMessage(const Settings& s, std::u16string_view form) {
  return QuotedSection(s, form) + u"内の桁数が多すぎます。";
}

std::u16string SideCharMessage(const Settings& s, std::u16string_view form, std::u16string_view character) {
  return Cat({QuotedSection(s, form), u"内で不正な文字\"", character, u"\"が使われています。"});
}

}  // namespace dovetam
