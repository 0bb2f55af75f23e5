// Operation sections /.../: reading the section and finding its symbol.
//
// A section is chr_s1, an operation symbol, optionally chr_col and an
// argument, and chr_s2. The symbol is trimmed of blanks (U+0020) and matched
// whole, exactly, in the table of its form (1 without argument, 2 with one).
// Before the symbols that move positions a pending plain selection operator
// is applied first. The operations themselves are run by RunOperation
// (operations.cpp). Cost: a few symbol searches and one table look-up.
#include <array>

#include "core/rule/escape_search.h"
#include "core/rule/rule_messages.h"
#include "core/rule/sections.h"

namespace dovetam {
namespace {

struct OperationSymbol {
  std::u16string_view symbol;
  bool appliesOperator;  // a pending plain selection operator is applied first
};

constexpr OperationSymbol kForm1[] = {
    {u"e", true},     {u"d", true},
    {u"c", false},    {u"cr", false},   {u"c&", false},   {u"cr&", false},  {u"c&r", false},
    {u"C", false},    {u"Cr", false},   {u"C&", false},   {u"Cr&", false},  {u"C&r", false},
    {u"x", true},     {u"xr", true},    {u"x&", true},    {u"xr&", true},   {u"x&r", true},
    {u"X", true},     {u"Xr", true},    {u"X&", true},    {u"Xr&", true},   {u"X&r", true},
    {u"v", true},     {u"v+", true},    {u"vr", true},    {u"v+r", true},   {u"vr+", true},
    {u"v-", true},    {u"v-r", true},   {u"vr-", true},   {u"V", true},
    {u"b", false},    {u"b+", false},   {u"b-", false},
    {u"B", false},    {u"B+", false},   {u"B-", false},
    {u"M", false},    {u"m", false},    {u"MR", false},   {u"mr", false},
    {u"MRS", false},  {u"mrs", false},  {u"MRS~", false}, {u"mrs~", false},
    {u"M!", false},   {u"m!", false},   {u"MR!", false},  {u"mr!", false},
    {u"MRS!", false}, {u"mrs!", false}, {u"MRS~!", false}, {u"mrs~!", false},
    {u"u", false},    {u"l", false},    {u"z", false},    {u"h", false},
    {u"Z", true},     {u"H", true},     {u"k", false},    {u"K", false},
    {u"r", false},    {u"R", false},
};
static_assert(std::size(kForm1) == 63);

constexpr OperationSymbol kForm2[] = {
    {u"i", true},   {u"i-", true},  {u"i+", true},  {u"ir", true},  {u"i-r", true}, {u"ir-", true},
    {u"i+r", true}, {u"ir+", true}, {u"I", true},   {u"I-", true},  {u"I+", true},  {u"Ir", true},
    {u"I-r", true}, {u"Ir-", true}, {u"I+r", true}, {u"Ir+", true}, {u"p", true},   {u"pr", true},
};
static_assert(std::size(kForm2) == 18);

const OperationSymbol* FindSymbol(std::u16string_view symbol, int form) {
  if (form == 1) {
    for (const OperationSymbol& op : kForm1) {
      if (op.symbol == symbol) return &op;
    }
  } else {
    for (const OperationSymbol& op : kForm2) {
      if (op.symbol == symbol) return &op;
    }
  }
  return nullptr;
}

std::u16string_view TrimSpaces(std::u16string_view text) {
  while (!text.empty() && text.front() == u' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == u' ') text.remove_suffix(1);
  return text;
}

std::u16string_view Piece(std::u16string_view text, int32_t from, int32_t to) {
  if (to <= from) return {};
  return text.substr(static_cast<std::size_t>(from) - 1, static_cast<std::size_t>(to - from));
}

}  // namespace

int32_t RunOperationSection(RuleCall& call, std::u16string_view rule, int32_t open) {
  const Settings& s = call.settings;
  const int32_t inner = open + static_cast<int32_t>(s.ChrS1.size());
  const int32_t close = InStrUnescaped(rule, s.ChrS2, inner, s);
  const int32_t again = InStrUnescaped(rule, s.ChrS1, inner, s);
  if (close == 0 || (again > 0 && again < close)) {
    call.Fail(PairMessage(s.ChrS1, s.ChrS2));
    return 0;
  }
  int form = 1;
  std::u16string_view symbol;
  std::u16string_view argument;
  const int32_t colon = InStrUnescaped(rule, s.ChrCol, inner, s);
  if (colon == 0 || colon >= close) {
    symbol = TrimSpaces(Piece(rule, inner, close));
  } else {
    const int32_t afterColon = colon + static_cast<int32_t>(s.ChrCol.size());
    const int32_t second = InStrUnescaped(rule, s.ChrCol, afterColon, s);
    if (second > 0 && second < close) {
      call.Fail(OperationColonsMessage(s.ChrS1, s.ChrS2, s.ChrCol));
      return 0;
    }
    form = 2;
    symbol = TrimSpaces(Piece(rule, inner, colon));
    argument = Piece(rule, afterColon, close);
  }
  const OperationSymbol* op = FindSymbol(symbol, form);
  if (op != nullptr && op->appliesOperator && call.ws.OpCode > 0) {
    if (!ApplyPendingSelectionOperator(call) || call.failed()) return 0;
  }
  if (op == nullptr) {
    if (symbol.empty()) {
      call.Fail(OperationNoSymbolMessage(s.ChrS1, s.ChrS2, s.ChrCol, form == 2));
    } else {
      call.Fail(OperationUnknownMessage(s.ChrS1, s.ChrS2, s.ChrCol, form == 2, symbol));
    }
    return 0;
  }
  if (!RunOperation(call, symbol, form, argument) || call.failed()) return 0;
  return close + static_cast<int32_t>(s.ChrS2.size());
}

}  // namespace dovetam
