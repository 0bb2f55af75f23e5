// The error texts of the rule engine (see rule_messages.h).
#include "core/rule/rule_messages.h"
#include "core/common/memory_short.h"

namespace dovetam {
namespace {

std::u16string Quoted(std::u16string_view inner) {
  std::u16string s = u"\"";
  s += inner;
  s += u"\"";
  return s;
}

std::u16string Cat(std::initializer_list<std::u16string_view> parts) {
  std::u16string s;
  for (auto p : parts) s += p;
  return s;
}

constexpr std::u16string_view kTilde = u"～";

}  // namespace

std::u16string PairMessage(Sym open, Sym close) {
  return Quoted(Cat({open, kTilde, close})) + u"の対応が取れていません。";
}

std::u16string MemoryMessage() { return std::u16string(MemoryShortText(MemoryShort::NotDone)); }

std::u16string EscapeEndMessage(Sym cap) { return Quoted(cap) + u"の後に文字が指定されていません。"; }

std::u16string BarOutsideMessage(Sym lt, Sym gt, Sym bar) {
  return Quoted(Cat({lt, kTilde, gt})) + u"外では" + Quoted(bar) + u"を使用できません。";
}

std::u16string CodeFormatMessage(Sym yen) {
  return Quoted(Cat({yen, kTilde})) + u"内の形式が正しくありません。";
}

std::u16string CodeDigitsMessage(Sym yen) { return Quoted(Cat({yen, kTilde})) + u"内の桁数が多すぎます。"; }

std::u16string CodeCharMessage(Sym yen, std::u16string_view character) {
  return Quoted(Cat({yen, kTilde})) + u"内で不正な文字" + Quoted(character) + u"が使われています。";
}

std::u16string SumDigitsMessage(Sym yen) {
  return Quoted(Cat({yen, u"(", kTilde, u")"})) + u"内の桁数が多すぎます。";
}

std::u16string DateReadMessage(int kind) {
  return Cat({u"オブジェクトの", kind == 2 ? u"作成日時" : u"更新日時", u"が取得できませんでした。"});
}

std::u16string OperationColonsMessage(Sym s1, Sym s2, Sym col) {
  return Quoted(Cat({s1, kTilde, s2})) + u"内の" + Quoted(col) + u"が多すぎます。";
}

namespace {
std::u16string OperationForm(Sym s1, Sym s2, Sym col, bool withArgument) {
  if (withArgument) return Quoted(Cat({s1, kTilde, col, kTilde, s2}));
  return Quoted(Cat({s1, kTilde, s2}));
}
}  // namespace

std::u16string OperationNoSymbolMessage(Sym s1, Sym s2, Sym col, bool withArgument) {
  return OperationForm(s1, s2, col, withArgument) + u"の記号が指定されていません。";
}

std::u16string OperationUnknownMessage(Sym s1, Sym s2, Sym col, bool withArgument,
                                       std::u16string_view symbol) {
  return OperationForm(s1, s2, col, withArgument) + u"で存在しない記号" + Quoted(symbol) +
         u"が使われています。";
}

std::u16string WidthLengthMessage(bool toWide, std::u16string_view text) {
  return Cat({toWide ? u"全角への変換で、変換後の長さが異なる文字列" : u"半角への変換で、変換後の長さが異なる文字列"}) +
         Quoted(text) + u"が表れました。";
}

std::u16string ForbiddenCharMessage(std::u16string_view text, std::u16string_view character) {
  return u"生成名" + Quoted(text) + u"に禁則文字" + Quoted(character) + u"が含まれています。";
}

std::u16string EmptyPartMessage(std::u16string_view base, std::u16string_view ext) {
  return u"生成名" + Quoted(Cat({base, u".", ext})) + u"に空の部分が含まれています。";
}

std::u16string EmptyNameMessage() { return u"生成名が空\"\"です。"; }

std::u16string UnusableCharMessage(std::u16string_view text, std::u16string_view character) {
  return u"生成名" + Quoted(text) + u"に名前に使用できない文字" + Quoted(character) + u"が含まれています。";
}

std::u16string UnusableNameMessage(std::u16string_view text) {
  return u"生成名" + Quoted(text) + u"は名前として使用できません。";
}

std::u16string UnencodableNameMessage(std::u16string_view text) {
  return u"生成名" + Quoted(text) + u"に保存できない文字が含まれています。";
}

}  // namespace dovetam
