// Text marks of operation sections: remember the operand (M, M!) and put the
// remembered text back as the whole operand (MR), into the selected ranges
// only (MRS) or outside them only (MRS~). Every symbol has a lower-case twin
// of the same meaning.
//
// The plain register is forgotten by every edit that may move positions
// (MarkFlags); the "!" register survives edits and is put back only into an
// operand of the remembered length. Positions beyond the end of the
// remembered text give no characters. Cost: linear in the operand.
// Tested by tests/core/rule/mark_conversion_operations_test.cpp and operation_rules_test.cpp.
#include <vector>

#include "core/rule/operand_rebuild.h"
#include "core/rule/operation_messages.h"
#include "core/rule/operations.h"

namespace dovetam {
namespace {

// Characters from..to-1 (1-based) of text, cut at its end.
std::u16string_view Slice(std::u16string_view text, int64_t from, int64_t to) {
  const int64_t size = static_cast<int64_t>(text.size());
  if (to > size + 1) to = size + 1;
  if (from < 1 || from >= to) return {};
  return text.substr(static_cast<std::size_t>(from - 1), static_cast<std::size_t>(to - from));
}

// The operand rebuilt with each selected range taken from `inside` and
// everything between the ranges from `outside` (both at the same positions).
std::u16string Interleave(const RuleWorkspace& ws, std::u16string_view outside,
                          std::u16string_view inside) {
  std::u16string built;
  int32_t from = 1;
  for (int32_t i = 1; i <= ws.SelCount; ++i) {
    const int32_t s = RangeStart(ws, i);
    const int32_t e = RangeEnd(ws, i);
    built += Slice(outside, from, s);
    built += Slice(inside, s, e);
    from = e;
  }
  built += Slice(outside, from, static_cast<int64_t>(outside.size()) + 1);
  return built;
}

// MRS: each range's text from the mark at the same positions.
std::u16string InsideFromMark(const RuleWorkspace& ws, std::u16string_view mark) {
  return Interleave(ws, ws.PendingOperand, mark);
}

// MRS~: each range's text from the operand, everything else from the mark.
std::u16string OutsideFromMark(const RuleWorkspace& ws, std::u16string_view mark) {
  return Interleave(ws, mark, ws.PendingOperand);
}

bool PutBack(RuleCall& call, std::u16string_view symbol, std::u16string_view mark) {
  RuleWorkspace& ws = call.ws;
  std::u16string upper(symbol);
  for (char16_t& c : upper) c = c == u'm' ? u'M' : c == u'r' ? u'R' : c == u's' ? u'S' : c;
  const bool outside = upper.find(u'~') != std::u16string::npos;
  const bool inRanges = upper.find(u'S') != std::u16string::npos;
  if (!inRanges) {
    ws.PendingOperand.assign(mark);
    return true;
  }
  if (ws.SelCount == 0) {
    if (outside) ws.PendingOperand.assign(mark);
    return true;
  }
  if (!RequireSelection(call, symbol, true)) return false;
  ws.PendingOperand = outside ? OutsideFromMark(ws, mark) : InsideFromMark(ws, mark);
  return true;
}

}  // namespace

bool RunMarkOperation(RuleCall& call, std::u16string_view symbol) {
  RuleWorkspace& ws = call.ws;
  const Settings& s = call.settings;
  const bool second = symbol.back() == u'!';
  const bool remember = symbol.size() == (second ? 2u : 1u);
  if (remember) {
    if (second) {
      ws.Mark2Text = ws.PendingOperand;
      ws.Mark2TextLength = static_cast<int32_t>(ws.Mark2Text.size());
      ws.Mark2Flags = static_cast<int16_t>(ws.Mark2Flags | 2);
    } else {
      ws.MarkText = ws.PendingOperand;
      ws.MarkFlags = static_cast<int16_t>(ws.MarkFlags | 2);
    }
    return true;
  }
  if (second) {
    if ((ws.Mark2Flags & 2) == 0) {
      call.Fail(MarkTextMissingMessage(s.ChrS1, s.ChrS2, symbol, u"m!"));
      return false;
    }
    if (static_cast<int64_t>(ws.PendingOperand.size()) != ws.Mark2TextLength) {
      call.Fail(MarkTextLengthMessage(s.ChrS1, s.ChrS2, symbol));
      return false;
    }
    return PutBack(call, symbol, ws.Mark2Text);
  }
  if ((ws.MarkFlags & 2) == 0) {
    call.Fail(MarkTextMissingMessage(s.ChrS1, s.ChrS2, symbol, u"m"));
    return false;
  }
  return PutBack(call, symbol, ws.MarkText);
}

}  // namespace dovetam
