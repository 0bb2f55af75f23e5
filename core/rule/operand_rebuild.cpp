// Reading, checking and rebuilding the operand at the Selection's ranges
// (see operand_rebuild.h).
#include "core/rule/operand_rebuild.h"

#include "core/rule/operation_messages.h"
#include "core/rule/rule_messages.h"

namespace dovetam {

std::u16string_view RangeText(const RuleWorkspace& ws, int32_t i) {
  const int32_t s = RangeStart(ws, i);
  const int32_t e = RangeEnd(ws, i);
  return std::u16string_view(ws.PendingOperand).substr(static_cast<std::size_t>(s) - 1,
                                                       static_cast<std::size_t>(e - s));
}

namespace {

bool CheckSelection(const RuleWorkspace& ws, bool ordered) {
  if (ws.SelCount < 0) return false;
  if (static_cast<int64_t>(ws.SelCount) * 2 >= static_cast<int64_t>(ws.SelRanges.size())) return false;
  const int64_t limit = static_cast<int64_t>(ws.PendingOperand.size()) + 1;
  int32_t lastEnd = 1;
  for (int32_t i = 1; i <= ws.SelCount; ++i) {
    const int32_t s = RangeStart(ws, i);
    const int32_t e = RangeEnd(ws, i);
    if (s < 1 || s > e || e > limit) return false;
    if (ordered && s < lastEnd) return false;
    lastEnd = e;
  }
  return true;
}

}  // namespace

bool RequireSelection(RuleCall& call, std::u16string_view symbol, bool ordered) {
  if (CheckSelection(call.ws, ordered)) return true;
  call.Fail(SelectionUnusableMessage(call.settings.ChrS1, call.settings.ChrS2, symbol));
  return false;
}

bool RebuildOperand(RuleCall& call, const std::vector<RangePiece>& pieces, bool keepGaps) {
  RuleWorkspace& ws = call.ws;
  const std::u16string_view old = ws.PendingOperand;
  const int32_t count = static_cast<int32_t>(pieces.size());
  int64_t length = 0;
  int32_t from = 1;  // first position of the old text not yet taken
  for (int32_t i = 1; i <= count; ++i) {
    const RangePiece& p = pieces[static_cast<std::size_t>(i - 1)];
    if (keepGaps) length += RangeStart(ws, i) - from;
    length += static_cast<int64_t>(p.lead.size() + p.body.size() + p.trail.size());
    from = RangeEnd(ws, i);
  }
  if (keepGaps) length += static_cast<int64_t>(old.size()) + 1 - from;
  if (length > kMaxOperandLength) {
    call.FailMemory();
    return false;
  }
  std::u16string built;
  built.reserve(static_cast<std::size_t>(length));
  from = 1;
  for (int32_t i = 1; i <= count; ++i) {
    const RangePiece& p = pieces[static_cast<std::size_t>(i - 1)];
    const int32_t s = RangeStart(ws, i);
    if (keepGaps) built.append(old.substr(static_cast<std::size_t>(from) - 1, static_cast<std::size_t>(s - from)));
    from = RangeEnd(ws, i);
    const int32_t leadAt = static_cast<int32_t>(built.size()) + 1;
    built += p.lead;
    const int32_t bodyAt = static_cast<int32_t>(built.size()) + 1;
    built += p.body;
    const int32_t bodyEnd = static_cast<int32_t>(built.size()) + 1;
    built += p.trail;
    const int32_t trailEnd = static_cast<int32_t>(built.size()) + 1;
    ws.SelRanges[static_cast<std::size_t>(2 * i - 1)] = p.coverLead ? leadAt : bodyAt;
    ws.SelRanges[static_cast<std::size_t>(2 * i)] = p.coverTrail ? trailEnd : bodyEnd;
  }
  if (keepGaps) built.append(old.substr(static_cast<std::size_t>(from) - 1));
  ws.PendingOperand = std::move(built);
  return true;
}

}  // namespace dovetam
