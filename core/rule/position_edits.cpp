// Position edits of operation sections: insert before or after every range,
// with the range outside (i) or grown over the insert (I), replace every
// range (p), keep only the selected texts (e) and delete them (d).
//
// The argument of an insert or replacement is expanded inside the loop over
// the ranges: afresh for the first range handled and for every further range
// while the last expansion took clip items in sequence (OuterClipPending),
// else the previous expansion is used again. Symbols with "r" handle the
// ranges last to first, which only matters for that sequence.
// Cost: one expansion per range at most, and one rebuild of the operand.
// Tested by tests/core/rule/position_edits_test.cpp and operation_rules_test.cpp.
#include <vector>

#include "core/rule/operand_rebuild.h"
#include "core/rule/operations.h"
#include "core/rule/rule_messages.h"
#include "core/rule/text_expansion.h"

namespace dovetam {
namespace {

bool Has(std::u16string_view symbol, char16_t c) { return symbol.find(c) != std::u16string_view::npos; }

// Expands the argument once per range in the loop's order and hands each
// range its text. False after an expansion error.
bool ExpandPerRange(RuleCall& call, std::u16string_view argument, bool reverse,
                    std::vector<std::u16string>& texts) {
  RuleWorkspace& ws = call.ws;
  const int32_t count = ws.SelCount;
  texts.assign(static_cast<std::size_t>(count), std::u16string());
  ws.OuterClipPending = 3;
  std::u16string current;
  int64_t total = 0;
  for (int32_t k = 0; k < count; ++k) {
    const int32_t i = reverse ? count - 1 - k : k;
    if (ws.OuterClipPending > 0) {
      current = ExpandSections(call, argument);
      if (call.failed()) return false;
    }
    total += static_cast<int64_t>(current.size());
    if (total > kMaxOperandLength) {
      call.FailMemory();
      return false;
    }
    texts[static_cast<std::size_t>(i)] = current;
  }
  return true;
}

bool Insert(RuleCall& call, std::u16string_view symbol, std::u16string_view argument) {
  RuleWorkspace& ws = call.ws;
  const bool inside = symbol.front() == u'I';
  const bool after = Has(symbol, u'+');
  const bool reverse = Has(symbol, u'r');
  if (ws.SelCount > 0) {
    if (!RequireSelection(call, symbol, true)) return false;
    std::vector<std::u16string> texts;
    if (!ExpandPerRange(call, argument, reverse, texts)) return false;
    std::vector<RangePiece> pieces(texts.size());
    for (std::size_t k = 0; k < texts.size(); ++k) {
      RangePiece& p = pieces[k];
      p.body.assign(RangeText(ws, static_cast<int32_t>(k) + 1));
      if (after) {
        p.trail = std::move(texts[k]);
        p.coverTrail = inside;
      } else {
        p.lead = std::move(texts[k]);
        p.coverLead = inside;
      }
    }
    if (!RebuildOperand(call, pieces, true)) return false;
  }
  ForgetMarksAndOperator(ws);
  return true;
}

bool Replace(RuleCall& call, std::u16string_view symbol, std::u16string_view argument) {
  RuleWorkspace& ws = call.ws;
  if (ws.SelCount > 0) {
    if (!RequireSelection(call, symbol, true)) return false;
    std::vector<std::u16string> texts;
    if (!ExpandPerRange(call, argument, symbol == u"pr", texts)) return false;
    std::vector<RangePiece> pieces(texts.size());
    for (std::size_t k = 0; k < texts.size(); ++k) pieces[k].body = std::move(texts[k]);
    if (!RebuildOperand(call, pieces, true)) return false;
  }
  ForgetMarksAndOperator(ws);
  return true;
}

// e keeps the selected texts joined (the empty text with nothing selected);
// d deletes them, leaving an insertion point where each was.
bool KeepOrDelete(RuleCall& call, std::u16string_view symbol) {
  RuleWorkspace& ws = call.ws;
  const bool keep = symbol == u"e";
  if (ws.SelCount > 0) {
    if (!RequireSelection(call, symbol, true)) return false;
    std::vector<RangePiece> pieces(static_cast<std::size_t>(ws.SelCount));
    if (keep) {
      for (int32_t i = 1; i <= ws.SelCount; ++i) pieces[static_cast<std::size_t>(i - 1)].body.assign(RangeText(ws, i));
    }
    if (!RebuildOperand(call, pieces, !keep)) return false;
  } else if (keep) {
    ws.PendingOperand.clear();
  }
  ForgetMarksAndOperator(ws);
  return true;
}

}  // namespace

bool RunPositionEdit(RuleCall& call, std::u16string_view symbol, std::u16string_view argument) {
  if (symbol == u"e" || symbol == u"d") return KeepOrDelete(call, symbol);
  if (symbol == u"p" || symbol == u"pr") return Replace(call, symbol, argument);
  return Insert(call, symbol, argument);
}

}  // namespace dovetam
