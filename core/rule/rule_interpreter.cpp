// The rule interpreter (see rule_interpreter.h).
#include "core/rule/rule_interpreter.h"

#include <array>

#include "core/rule/escape_search.h"
#include "core/rule/forbidden_chars.h"
#include "core/rule/rule_messages.h"
#include "core/rule/sections.h"
#include "core/rule/text_expansion.h"

namespace dovetam {
namespace {

enum SymbolKind { kAster, kQ1, kQ2, kS1, kS2, kDq1, kDq2, kNone };

std::u16string_view Piece(std::u16string_view text, int32_t from, int32_t to) {
  if (to <= from) return {};
  return text.substr(static_cast<std::size_t>(from) - 1, static_cast<std::size_t>(to - from));
}

// Starts a new operand with the whole of it selected and the marks and
// pending operators of the last one forgotten.
void StartOperand(RuleWorkspace& ws, std::u16string_view text) {
  ws.PendingOperand.assign(text);
  ws.OperandPending = true;
  ws.SelRanges[1] = 1;
  ws.SelRanges[2] = static_cast<int32_t>(text.size()) + 1;
  ws.SelCount = 1;
  ws.MarkFlags = 0;
  ws.OpCode = 0;
  ws.Mark2Flags = 0;
  ws.Op2Code = 0;
}

// The output is refused as "memory short" once it grows beyond what one
// expansion may build: every quoted operand may be that long, so without the
// bound a rule that repeats one would build a text many times that size.
bool WithinOutputLimit(RuleCall& call, const std::u16string& out) {
  if (out.size() <= kMaxExpandedText) return true;
  call.FailMemory();
  return false;
}

// Expands a literal piece and outputs it after the pending operand. False
// after a failure of the expansion or when the output grows too long.
bool EmitLiteral(RuleCall& call, std::u16string& out, std::u16string_view literal) {
  RuleWorkspace& ws = call.ws;
  if (ws.OperandPending) out += ws.PendingOperand;
  if (literal.empty()) {
    ws.OuterClipPending = 0;
    ws.ClipPending = 0;
    return WithinOutputLimit(call, out);
  }
  std::u16string expanded = ExpandSections(call, literal);
  if (call.failed()) return false;
  out += expanded;
  return WithinOutputLimit(call, out);
}

}  // namespace

std::u16string ApplyChangeRule(RuleCall& call, std::u16string_view part, std::u16string_view rule) {
  const Settings& s = call.settings;
  RuleWorkspace& ws = call.ws;
  call.context.RuleErrorKind = 0;
  ws.OperandPending = false;
  ws.PendingOperand.clear();
  ws.SelCount = 0;
  ws.ClipCount = 0;
  ws.MarkFlags = 0;
  ws.MarkText.clear();
  ws.OpCode = 0;
  ws.Mark2Flags = 0;
  ws.Mark2Text.clear();
  ws.Op2Code = 0;
  ws.CurNamePart.assign(part);

  const std::array<const std::u16string*, 7> symbols = {&s.ChrAster, &s.ChrQ1, &s.ChrQ2, &s.ChrS1,
                                                        &s.ChrS2,    &s.ChrDq1, &s.ChrDq2};
  std::u16string out;
  const int32_t len = static_cast<int32_t>(rule.size());
  int32_t pos = 1;
  std::array<UnescapedCursor, 7> cursors = {
      UnescapedCursor(rule, *symbols[0], s), UnescapedCursor(rule, *symbols[1], s),
      UnescapedCursor(rule, *symbols[2], s), UnescapedCursor(rule, *symbols[3], s),
      UnescapedCursor(rule, *symbols[4], s), UnescapedCursor(rule, *symbols[5], s),
      UnescapedCursor(rule, *symbols[6], s)};
  while (pos <= len) {
    int32_t at = 0;
    SymbolKind kind = kNone;
    for (int k = 0; k < 7; ++k) {
      // A later symbol wins only when it lies strictly before the choice.
      const int32_t p = cursors[static_cast<std::size_t>(k)].Next(pos);
      if (p > 0 && (at == 0 || p < at)) {
        at = p;
        kind = static_cast<SymbolKind>(k);
      }
    }
    if (kind == kNone) {
      if (!EmitLiteral(call, out, Piece(rule, pos, len + 1))) return std::u16string();
      ws.OperandPending = false;
      break;
    }
    const std::u16string_view literal = Piece(rule, pos, at);
    const int32_t after = at + static_cast<int32_t>(symbols[kind]->size());
    switch (kind) {
      case kAster:
        if (!EmitLiteral(call, out, literal)) return std::u16string();
        StartOperand(ws, part);
        pos = after;
        break;
      case kQ1:
      case kS1:
        if (!literal.empty()) {
          if (!EmitLiteral(call, out, literal)) return std::u16string();
          StartOperand(ws, part);
        } else if (!ws.OperandPending) {
          StartOperand(ws, part);
        }
        pos = kind == kQ1 ? RunSelectionSection(call, rule, at) : RunOperationSection(call, rule, at);
        if (pos == 0 || call.failed()) return std::u16string();
        break;
      case kDq1: {
        if (!EmitLiteral(call, out, literal)) return std::u16string();
        const int32_t close = InStrUnescaped(rule, s.ChrDq2, after, s);
        const int32_t again = InStrUnescaped(rule, s.ChrDq1, after, s);
        if (close == 0 || (again > 0 && again < close)) {
          call.Fail(PairMessage(s.ChrDq1, s.ChrDq2));
          return std::u16string();
        }
        std::u16string text = ExpandSections(call, Piece(rule, after, close));
        if (call.failed()) return std::u16string();
        StartOperand(ws, text);
        pos = close + static_cast<int32_t>(s.ChrDq2.size());
        break;
      }
      case kQ2:
        call.Fail(PairMessage(s.ChrQ1, s.ChrQ2));
        return std::u16string();
      case kS2:
        call.Fail(PairMessage(s.ChrS1, s.ChrS2));
        return std::u16string();
      default:  // kDq2
        call.Fail(PairMessage(s.ChrDq1, s.ChrDq2));
        return std::u16string();
    }
  }
  if (ws.OperandPending) out += ws.PendingOperand;
  if (!WithinOutputLimit(call, out)) return std::u16string();
  return ApplyForbiddenChars(call, std::move(out));
}

}  // namespace dovetam
