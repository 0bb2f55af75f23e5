// Error texts of the group patterns (see pattern_messages.h).
#include "core/rule/pattern_messages.h"

namespace dovetam {
namespace {

std::u16string GroupPrefix(std::u16string_view q1, std::u16string_view q2) {
  std::u16string s = u"\"";
  s += q1;
  s += u"(～)";
  s += q2;
  s += u"\"または\"";
  s += q1;
  s += u"[～]";
  s += q2;
  s += u"\"";
  return s;
}

}  // namespace

std::u16string PatternUsageMessage(std::u16string_view q1, std::u16string_view q2) {
  return GroupPrefix(q1, q2) + u"の使い方が正しくありません。";
}

std::u16string PatternDigitsMessage(std::u16string_view q1, std::u16string_view q2) {
  return GroupPrefix(q1, q2) + u"内の桁数が多すぎます。";
}

std::u16string PatternSymbolMessage(std::u16string_view q1, std::u16string_view q2,
                                    std::u16string_view character) {
  std::u16string s = GroupPrefix(q1, q2) + u"内で、不正な記号\"";
  s += character;
  s += u"\"が使われています。";
  return s;
}

std::u16string PatternTooComplexMessage() {
  return u"パターンによる検索が複雑すぎるため、処理を実行できませんでした。";
}

}  // namespace dovetam
