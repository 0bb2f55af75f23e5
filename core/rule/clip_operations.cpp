// Clip list operations of operation sections: copy (c), copy and drop (C),
// cut (x), cut and drop (X), paste one item per range (v), paste all items
// (V), and the cursor resets (b) and (B).
//
// The texts of the list together never pass kMaxOperandLength units (a copy
// beyond it is refused as "memory short").
// In a symbol "&" appends to the list instead of starting it anew, "r"
// reverses the order (of the stored ranges, or of the ranges pasted into),
// "+" takes items from the front and "-" from the back. The list grows only
// by what one copy or cut needs, to exactly ClipCount + SelCount items.
// Cost: linear in the selected texts, the items of the list and the operand.
// Tested by tests/core/rule/clip_operations_test.cpp and operation_rules_test.cpp.
#include <vector>

#include "core/rule/operand_rebuild.h"
#include "core/rule/operations.h"
#include "core/rule/rule_messages.h"

namespace dovetam {
namespace {

bool Has(std::u16string_view symbol, char16_t c) { return symbol.find(c) != std::u16string_view::npos; }

// Steps shared by copy and cut: the list is started anew (no "&") or kept,
// grown when needed, and the selected texts are stored after its items.
bool StoreSelection(RuleCall& call, std::u16string_view symbol) {
  RuleWorkspace& ws = call.ws;
  if (!Has(symbol, u'&')) ws.ClipCount = 0;
  // The texts of the list together stay within the operand limit, so that a
  // rule that appends again and again stops instead of exhausting memory.
  int64_t characters = 0;
  for (int32_t k = 1; k <= ws.ClipCount; ++k) characters += static_cast<int64_t>(ws.ClipItems[static_cast<std::size_t>(k)].size());
  for (int32_t i = 1; i <= ws.SelCount; ++i) characters += RangeEnd(ws, i) - RangeStart(ws, i);
  const int64_t needed = static_cast<int64_t>(ws.ClipCount) + ws.SelCount;
  if (characters > kMaxOperandLength || needed > INT32_MAX ||
      !GrowClipListTo(ws, static_cast<int32_t>(needed), call.caps)) {
    call.FailMemory();
    return false;
  }
  const bool reverse = Has(symbol, u'r');
  for (int32_t i = 1; i <= ws.SelCount; ++i) {
    const int32_t at = reverse ? ws.ClipCount + ws.SelCount + 1 - i : ws.ClipCount + i;
    ws.ClipItems[static_cast<std::size_t>(at)].assign(RangeText(ws, i));
  }
  ws.ClipCount += ws.SelCount;
  ws.ClipFront = 1;
  ws.ClipBack = ws.ClipCount;
  return true;
}

bool Copy(RuleCall& call, std::u16string_view symbol) {
  // Ordered ranges hold at most the operand's text, which bounds the list.
  if (!RequireSelection(call, symbol, true)) return false;
  if (!StoreSelection(call, symbol)) return false;
  if (symbol.front() == u'C') DropOperand(call.ws);
  return true;
}

bool Cut(RuleCall& call, std::u16string_view symbol) {
  RuleWorkspace& ws = call.ws;
  if (!RequireSelection(call, symbol, true)) return false;
  if (!StoreSelection(call, symbol)) return false;
  if (ws.SelCount > 0) {
    // Shrinks the operand, so it cannot fail for its length.
    std::vector<RangePiece> pieces(static_cast<std::size_t>(ws.SelCount));
    if (!RebuildOperand(call, pieces, true)) return false;
  }
  ForgetMarksAndOperator(ws);
  if (symbol.front() == u'X') DropOperand(ws);
  return true;
}

// The next item through a cursor, which moves on only while it lies within
// the list; outside it the item is the empty text.
std::u16string TakeItem(RuleWorkspace& ws, bool fromBack) {
  int32_t& cursor = fromBack ? ws.ClipBack : ws.ClipFront;
  if (cursor < 1 || cursor > ws.ClipCount) return std::u16string();
  std::u16string item = ws.ClipItems[static_cast<std::size_t>(cursor)];
  cursor += fromBack ? -1 : 1;
  return item;
}

bool PasteEach(RuleCall& call, std::u16string_view symbol) {
  RuleWorkspace& ws = call.ws;
  if (ws.SelCount > 0) {
    if (!RequireSelection(call, symbol, true)) return false;
    const bool fromBack = !Has(symbol, u'+') && Has(symbol, u'-');
    const bool reverse = Has(symbol, u'r');
    const int32_t count = ws.SelCount;
    // The cursors move only once the paste is sure to be made.
    const int32_t front = ws.ClipFront;
    const int32_t back = ws.ClipBack;
    std::vector<RangePiece> pieces(static_cast<std::size_t>(count));
    for (int32_t k = 0; k < count; ++k) {
      const int32_t i = reverse ? count - 1 - k : k;
      pieces[static_cast<std::size_t>(i)].body = TakeItem(ws, fromBack);
    }
    if (!RebuildOperand(call, pieces, true)) {
      ws.ClipFront = front;
      ws.ClipBack = back;
      return false;
    }
  }
  ForgetMarksAndOperator(ws);
  return true;
}

bool PasteAll(RuleCall& call, std::u16string_view symbol) {
  RuleWorkspace& ws = call.ws;
  if (ws.SelCount > 0) {
    if (!RequireSelection(call, symbol, true)) return false;
    std::u16string joined;
    for (int32_t k = 1; k <= ws.ClipCount; ++k) {
      joined += ws.ClipItems[static_cast<std::size_t>(k)];
      if (static_cast<int64_t>(joined.size()) > kMaxOperandLength) {
        call.FailMemory();
        return false;
      }
    }
    if (static_cast<int64_t>(joined.size()) * ws.SelCount > kMaxOperandLength) {
      call.FailMemory();
      return false;
    }
    std::vector<RangePiece> pieces(static_cast<std::size_t>(ws.SelCount));
    for (RangePiece& p : pieces) p.body = joined;
    if (!RebuildOperand(call, pieces, true)) return false;
  }
  ForgetMarksAndOperator(ws);
  return true;
}

void Rewind(RuleWorkspace& ws, std::u16string_view symbol) {
  const bool front = !Has(symbol, u'-');
  const bool back = !Has(symbol, u'+');
  if (front) ws.ClipFront = 1;
  if (back) ws.ClipBack = ws.ClipCount;
  if (symbol.front() == u'B') DropOperand(ws);
}

}  // namespace

bool RunClipOperation(RuleCall& call, std::u16string_view symbol) {
  switch (symbol.front()) {
    case u'c':
    case u'C':
      return Copy(call, symbol);
    case u'x':
    case u'X':
      return Cut(call, symbol);
    case u'v':
      return PasteEach(call, symbol);
    case u'V':
      return PasteAll(call, symbol);
    default:  // b, B
      Rewind(call.ws, symbol);
      return true;
  }
}

}  // namespace dovetam
