// Character conversions of operation sections at the selected ranges: upper
// and lower case (u, l), hiragana and katakana (k, K), full and half width
// keeping kana and length (z, h) or converting everything (Z, H); and the
// operand emptied (r) or dropped (R).
//
// u l k K z h keep every position, so the Selection and the marks stay; Z and
// H may change lengths: each range then covers its converted text, and the
// plain marks and pending operator are forgotten. z and h fail when a range's
// kana-keeping conversion would change its length.
// Cost: linear in the operand.
// Tested by tests/core/rule/mark_conversion_operations_test.cpp and operation_rules_test.cpp.
#include <vector>

#include "platform/text_case.h"
#include "core/rule/char_conversions.h"
#include "core/rule/operand_rebuild.h"
#include "core/rule/operations.h"

namespace dovetam {
namespace {

// Rebuilds the operand with every selected range converted by `convert`,
// which may fail (then nothing changes). Nothing selected: no change.
template <class Convert>
bool ConvertRanges(RuleCall& call, std::u16string_view symbol, Convert convert) {
  RuleWorkspace& ws = call.ws;
  if (ws.SelCount == 0) return true;
  if (!RequireSelection(call, symbol, true)) return false;
  std::vector<RangePiece> pieces(static_cast<std::size_t>(ws.SelCount));
  for (int32_t i = 1; i <= ws.SelCount; ++i) {
    pieces[static_cast<std::size_t>(i - 1)].body = convert(RangeText(ws, i));
    if (call.failed()) return false;
  }
  return RebuildOperand(call, pieces, true);
}

}  // namespace

bool RunConversionOperation(RuleCall& call, std::u16string_view symbol) {
  RuleWorkspace& ws = call.ws;
  RuleContext& context = call.context;
  switch (symbol.front()) {
    case u'u':
      return ConvertRanges(call, symbol, [](std::u16string_view t) { return UpperText(t); });
    case u'l':
      return ConvertRanges(call, symbol, [](std::u16string_view t) { return LowerText(t); });
    case u'k':
      return ConvertRanges(call, symbol, [](std::u16string_view t) { return ToHiraganaText(t); });
    case u'K':
      return ConvertRanges(call, symbol, [](std::u16string_view t) { return ToKatakanaText(t); });
    case u'z':
      return ConvertRanges(call, symbol,
                           [&context](std::u16string_view t) { return ConvertToFullWidth(t, context); });
    case u'h':
      return ConvertRanges(call, symbol,
                           [&context](std::u16string_view t) { return ConvertToHalfWidth(t, context); });
    case u'Z':
    case u'H': {
      const bool wide = symbol.front() == u'Z';
      if (!ConvertRanges(call, symbol, [wide](std::u16string_view t) {
            return wide ? ToWideText(t) : ToNarrowText(t);
          })) {
        return false;
      }
      ForgetMarksAndOperator(ws);
      return true;
    }
    case u'r':
      ws.PendingOperand.clear();
      ws.SelCount = 0;
      ForgetMarksAndOperator(ws);
      return true;
    default:  // R
      DropOperand(ws);
      return true;
  }
}

}  // namespace dovetam
