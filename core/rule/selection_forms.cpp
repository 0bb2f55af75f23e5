// The contents of a selection section ?...?: which form it has, and the
// hand-over to the keywords, operators, index lists and pattern selections.
//
// Forms, tested in this order: an index list (first and last non-blank
// characters chr_bra1 and chr_bra2, before any chr_col is counted); then by
// the number of unescaped chr_col: none ?A? (keyword, operator or one-side
// pattern), one ?A:B?, two ?A::B? or ?A:r:B?, more an error. Cost: one pass
// over the section per chr_col search.
#include "core/rule/escape_search.h"
#include "core/rule/selection_messages.h"
#include "core/rule/selection_parts.h"
#include "core/rule/selection_sides.h"
#include "core/rule/sections.h"

namespace dovetam {
namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\u3000'; }

// Text of rule positions from .. to - 1.
std::u16string_view Piece(std::u16string_view text, int32_t from, int32_t to) {
  if (to <= from) return {};
  return text.substr(static_cast<std::size_t>(from) - 1, static_cast<std::size_t>(to - from));
}

// Leading and trailing spaces (U+0020) cut.
std::u16string_view Trim(std::u16string_view text) {
  while (!text.empty() && text.front() == u' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == u' ') text.remove_suffix(1);
  return text;
}

char16_t At(std::u16string_view rule, int32_t pos) { return rule[static_cast<std::size_t>(pos) - 1]; }

bool IsSymbol(std::u16string_view rule, int32_t pos, std::u16string_view symbol) {
  return symbol.size() == 1 && At(rule, pos) == symbol.front();
}

bool RunPair(RuleCall& call, std::u16string_view a, std::u16string_view b) {
  ParseSelectionOperand(call, a, 1);
  if (call.failed()) return false;
  ParseSelectionOperand(call, b, 2);
  if (call.failed()) return false;
  if (IsAllStringsSide(call.ws, 1) && IsAllStringsSide(call.ws, 2)) {
    call.Fail(SelectionBothAllMessage(call.settings));
    return false;
  }
  return RunPatternSelection(call, true);
}

bool RunSingle(RuleCall& call, std::u16string_view a) {
  bool handled = false;
  if (!RunSelectionKeyword(call, a, handled)) return false;
  if (handled) return true;
  if (!RunSelectionOperator(call, a, handled)) return false;
  if (handled) return true;
  ParseSelectionOperand(call, a, 1);
  if (call.failed()) return false;
  return RunPatternSelection(call, false);
}

}  // namespace

bool ApplySelectionContents(RuleCall& call, std::u16string_view rule, int32_t open, int32_t close) {
  const Settings& s = call.settings;
  const int32_t inner = open + 1;

  int32_t first = inner;
  while (first < close && IsBlank(At(rule, first))) ++first;
  int32_t last = close - 1;
  while (last >= inner && IsBlank(At(rule, last))) --last;
  if (first < last && IsSymbol(rule, first, s.ChrBra1) && IsSymbol(rule, last, s.ChrBra2)) {
    return RunIndexList(call, rule, first, last);
  }

  int32_t colons[2] = {0, 0};
  int count = 0;
  for (int32_t from = inner;;) {
    const int32_t at = InStrUnescaped(rule, s.ChrCol, from, s);
    if (at == 0 || at >= close) break;
    if (count == 2) {
      call.Fail(SelectionColonsMessage(s));
      return false;
    }
    colons[count++] = at;
    from = at + 1;
  }
  switch (count) {
    case 0:
      return RunSingle(call, Trim(Piece(rule, inner, close)));
    case 1:
      return RunPair(call, Trim(Piece(rule, inner, colons[0])), Trim(Piece(rule, colons[0] + 1, close)));
    default: {
      const std::u16string_view middle = Trim(Piece(rule, colons[0] + 1, colons[1]));
      if (!middle.empty() && middle != u"r") {
        call.Fail(SelectionUnknownMiddleMessage(s, middle));
        return false;
      }
      return RunExtensionSelection(call, Trim(Piece(rule, inner, colons[0])),
                                   Trim(Piece(rule, colons[1] + 1, close)), middle == u"r");
    }
  }
}

}  // namespace dovetam
