// Error texts of the operations (see operation_messages.h).
#include "core/rule/operation_messages.h"

namespace dovetam {
namespace {

std::u16string QuotedSection(std::u16string_view s1, std::u16string_view inner, std::u16string_view s2) {
  std::u16string s = u"\"";
  s += s1;
  s += inner;
  s += s2;
  s += u"\"";
  return s;
}

}  // namespace

std::u16string MarkTextMissingMessage(std::u16string_view s1, std::u16string_view s2,
                                      std::u16string_view symbol, std::u16string_view setter) {
  return QuotedSection(s1, symbol, s2) + u"の前に、" + QuotedSection(s1, setter, s2) + u"が指定されていません。";
}

std::u16string MarkTextLengthMessage(std::u16string_view s1, std::u16string_view s2,
                                     std::u16string_view symbol) {
  return u"長さの異なる文字列に、" + QuotedSection(s1, symbol, s2) + u"を用いることはできません。";
}

std::u16string SelectionUnusableMessage(std::u16string_view s1, std::u16string_view s2,
                                        std::u16string_view symbol) {
  return QuotedSection(s1, symbol, s2) + u"は、重なり合う範囲や順序の異なる範囲を含む選択には使用できません。";
}

}  // namespace dovetam
