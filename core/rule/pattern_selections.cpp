// Pattern selections: ?A?, ?A:B? and the extensions ?A::B?, ?A:r:B?.
//
// Plain mode picks one match (or position) of each side in every range and
// pairs them into at most one range per range, rewritten in place. The
// all-strings mode walks every match of the side without a count and pairs
// each with its partner found next to it; its output goes to NewRanges and
// grows by the build's range step. The extensions move the ends of each range
// to matches found in the gaps around it. The matching and the offsets are
// the pattern core's (selection_services.h); this file drives them with a
// window per call. Cost: one or two matcher calls per range or per match,
// plus linear copies of the range lists.
#include <algorithm>

#include "core/rule/rule_messages.h"
#include "core/rule/selection_messages.h"
#include "core/rule/selection_parts.h"
#include "core/rule/selection_services.h"
#include "core/rule/selection_sides.h"

namespace dovetam {
namespace {

struct Range {
  int32_t start;
  int32_t end;
};

std::size_t U(int32_t i) { return static_cast<std::size_t>(i); }

int32_t& FoundStart(RuleWorkspace& ws, int16_t side) { return ws.SideFound[U(side)][1]; }
int32_t& FoundEnd(RuleWorkspace& ws, int16_t side) { return ws.SideFound[U(side)][2]; }

void SetFound(RuleWorkspace& ws, int16_t side, int32_t start, int32_t end) {
  FoundStart(ws, side) = start;
  FoundEnd(ws, side) = end;
}

// The range from A's found match to B's, if any (RevMode allows B before A).
bool Pair(const RuleCall& call, Range& out) {
  const RuleWorkspace& ws = call.ws;
  const int32_t as = ws.SideFound[1][1];
  const int32_t ae = ws.SideFound[1][2];
  const int32_t bs = ws.SideFound[2][1];
  const int32_t be = ws.SideFound[2][2];
  if (as <= 0 || bs <= 0) return false;
  if (as >= be && (as != be || call.settings.RevMode)) {
    if (!call.settings.RevMode) return false;
    out = {bs, ae};
    return true;
  }
  out = {as, be};
  return true;
}

// The side's matches are searched from the back of the window.
bool SearchedFromBack(const RuleWorkspace& ws, int16_t side) {
  const int16_t sign = ws.SidePrefixSign[U(side)];
  const int16_t flags = ws.SideSuffixFlags[U(side)];
  const bool front = (sign == 1 && (flags & 2) == 0) || (sign == 2 && (flags & 1) != 0);
  return !front;
}

void ReversePairs(RuleWorkspace& ws, int32_t base, int32_t m) {
  for (int32_t j = 1; j <= m / 2; ++j) {
    const int32_t a = base + j;
    const int32_t b = base + m + 1 - j;
    std::swap(ws.NewRanges[U(2 * a - 1)], ws.NewRanges[U(2 * b - 1)]);
    std::swap(ws.NewRanges[U(2 * a)], ws.NewRanges[U(2 * b)]);
  }
}

bool RunPlain(RuleCall& call, bool pair) {
  RuleWorkspace& ws = call.ws;
  const std::u16string_view operand = ws.PendingOperand;
  int32_t k = 0;
  for (int32_t i = 1; i <= ws.SelCount; ++i) {
    const int32_t lo = ws.SelRanges[U(2 * i - 1)];
    const int32_t hi = ws.SelRanges[U(2 * i)];
    int32_t matches = 0;
    FindPatternMatches(call, operand, lo, hi, 1, 0, matches);
    if (call.failed()) return false;
    ApplySelectionOffset(call, operand, lo, hi, 1, 1, 0);
    if (call.failed()) return false;
    if (pair) {
      FindPatternMatches(call, operand, lo, hi, 2, 0, matches);
      if (call.failed()) return false;
      ApplySelectionOffset(call, operand, lo, hi, 2, 2, 0);
      if (call.failed()) return false;
    } else {
      SetFound(ws, 2, FoundStart(ws, 1), FoundEnd(ws, 1));
    }
    Range r{};
    if (!Pair(call, r)) continue;
    ++k;
    ws.SelRanges[U(2 * k - 1)] = r.start;
    ws.SelRanges[U(2 * k)] = r.end;
  }
  ws.SelCount = k;
  return true;
}

// Appends a range to NewRanges, growing both range lists by one step when
// they are full.
bool AppendNew(RuleCall& call, const Range& r) {
  RuleWorkspace& ws = call.ws;
  const int32_t next = ws.NewCount + 1;
  if (static_cast<int64_t>(ws.SelCapacity) < 2 * static_cast<int64_t>(next)) {
    if (!GrowSelectionByStep(ws, call.caps)) {
      call.FailMemory();
      return false;
    }
  }
  ws.NewCount = next;
  ws.NewRanges[U(2 * next - 1)] = r.start;
  ws.NewRanges[U(2 * next)] = r.end;
  return true;
}

// Every match of the all-strings side S paired with its partner T (a copy of
// S when `pair` is false). Forward when S's offset sign is "+", else backward.
class AllStringsWalk {
 public:
  AllStringsWalk(RuleCall& call, bool pair)
      : call_(call), ws_(call.ws), operand_(call.ws.PendingOperand), pair_(pair) {
    if (pair && !IsAllStringsSide(ws_, 1)) {
      s_ = 2;
      t_ = 1;
    }
  }

  bool Run() {
    const bool forward = ws_.SideOffsetSign[U(s_)] != 2;
    ws_.NewCount = 0;
    const int32_t count = ws_.SelCount;
    for (int32_t step = 1; step <= count; ++step) {
      const int32_t i = forward ? step : count + 1 - step;
      const int32_t lo = ws_.SelRanges[U(2 * i - 1)];
      const int32_t hi = ws_.SelRanges[U(2 * i)];
      if (!(forward ? Forward(lo, hi) : Backward(lo, hi))) return false;
    }
    const int32_t n = ws_.NewCount;
    for (int32_t k = 1; k <= n; ++k) {
      const int32_t from = forward ? k : n + 1 - k;
      ws_.SelRanges[U(2 * k - 1)] = ws_.NewRanges[U(2 * from - 1)];
      ws_.SelRanges[U(2 * k)] = ws_.NewRanges[U(2 * from)];
    }
    ws_.SelCount = n;
    return true;
  }

 private:
  Range Match(int32_t pairIndex) const {
    return {ws_.NewRanges[U(2 * pairIndex - 1)], ws_.NewRanges[U(2 * pairIndex)]};
  }

  // S's found match is set; resolves S by its offset in (low, high) and finds
  // T: inside the match, or in the partner window.
  bool Sides(int32_t low, int32_t high, const Range& match, int32_t partnerBase, const Range& partnerWindow) {
    if (!pair_) {
      ApplySelectionOffset(call_, operand_, low, high, s_, s_, 1);
      if (call_.failed()) return false;
      SetFound(ws_, t_, FoundStart(ws_, s_), FoundEnd(ws_, s_));
      return true;
    }
    if (ws_.SideGroupKind[U(t_)] == 1 && ws_.SideOffsetKind[U(t_)] == 3) {
      SetFound(ws_, t_, match.start, match.end);
      ApplySelectionOffset(call_, operand_, low, high, s_, s_, 1);
      if (call_.failed()) return false;
      ApplySelectionOffset(call_, operand_, match.start, match.end, t_, t_, 1);
      return !call_.failed();
    }
    ApplySelectionOffset(call_, operand_, low, high, s_, s_, 1);
    if (call_.failed()) return false;
    int32_t found = 0;
    FindPatternMatches(call_, operand_, partnerWindow.start, partnerWindow.end, t_, partnerBase, found);
    if (call_.failed()) return false;
    ApplySelectionOffset(call_, operand_, partnerWindow.start, partnerWindow.end, t_, t_, 0);
    return !call_.failed();
  }

  bool Forward(int32_t lo, int32_t hi) {
    int32_t m = 0;
    FindPatternMatches(call_, operand_, lo, hi, s_, ws_.NewCount, m);
    if (call_.failed()) return false;
    if (m <= 0) return true;
    const int32_t base = ws_.NewCount;
    if (SearchedFromBack(ws_, s_)) ReversePairs(ws_, base, m);
    int32_t bound = lo;
    for (int32_t j = 1; j <= m; ++j) {
      const Range match = Match(base + j);
      const int32_t next = j < m ? Match(base + j + 1).start : hi;
      SetFound(ws_, s_, match.start, match.end);
      // A is sought between the last bound and the B match; B between the A
      // match and the next A match.
      const Range window = t_ == 1 ? Range{bound, match.start} : Range{match.end, next};
      if (!Sides(bound, next, match, base + m, window)) return false;
      bound = match.end;
      Range r{};
      if (!Pair(call_, r)) continue;
      if (!AppendNew(call_, r)) return false;
      bound = std::max(bound, r.end);
    }
    return true;
  }

  bool Backward(int32_t lo, int32_t hi) {
    int32_t m = 0;
    FindPatternMatches(call_, operand_, lo, hi, s_, ws_.NewCount, m);
    if (call_.failed()) return false;
    if (m <= 0) return true;
    const int32_t base = ws_.NewCount;
    if (!SearchedFromBack(ws_, s_)) ReversePairs(ws_, base, m);
    int32_t bound = hi;
    for (int32_t j = 1; j <= m; ++j) {
      const Range match = Match(base + j);
      const int32_t prev = j < m ? Match(base + j + 1).end : lo;
      SetFound(ws_, s_, match.start, match.end);
      const Range window = t_ == 1 ? Range{prev, match.start} : Range{match.end, bound};
      if (!Sides(prev, bound, match, base + m, window)) return false;
      bound = match.start;
      Range r{};
      if (!Pair(call_, r)) continue;
      if (!AppendNew(call_, r)) return false;
      bound = std::min(bound, r.start);
    }
    return true;
  }

  RuleCall& call_;
  RuleWorkspace& ws_;
  std::u16string_view operand_;
  bool pair_;
  int16_t s_ = 1;
  int16_t t_ = 2;
};

}  // namespace

bool IsAllStringsSide(const RuleWorkspace& ws, int16_t side) {
  return ws.SideGroupKind[U(side)] == 2 && ws.SideCountKind[U(side)] == 3;
}

bool RunPatternSelection(RuleCall& call, bool pair) {
  RuleWorkspace& ws = call.ws;
  const bool allStrings = IsAllStringsSide(ws, 1) || (pair && IsAllStringsSide(ws, 2));
  if (!allStrings) return RunPlain(call, pair);
  return AllStringsWalk(call, pair).Run();
}

bool RunExtensionSelection(RuleCall& call, std::u16string_view a, std::u16string_view b, bool backward) {
  ParseSelectionOperand(call, a, 1);
  if (call.failed()) return false;
  ParseSelectionOperand(call, b, 2);
  if (call.failed()) return false;
  RuleWorkspace& ws = call.ws;
  if (IsAllStringsSide(ws, 1) || IsAllStringsSide(ws, 2)) {
    call.Fail(SelectionExtensionAllMessage(call.settings));
    return false;
  }
  const std::u16string_view operand = ws.PendingOperand;
  const int32_t n = ws.SelCount;
  if (!GrowSelectionTo(ws, 2 * n + 1, call.caps)) {
    call.FailMemory();
    return false;
  }
  ws.SelRanges[0] = 1;
  ws.SelRanges[U(2 * n + 1)] = OperandLength(ws) + 1;
  for (int32_t step = 1; step <= n; ++step) {
    const int32_t i = backward ? n + 1 - step : step;
    int32_t matches = 0;
    // A in the gap before range i, B in the gap after it, both read live.
    int32_t lo = ws.SelRanges[U(2 * i - 2)];
    int32_t hi = ws.SelRanges[U(2 * i - 1)];
    FindPatternMatches(call, operand, lo, hi, 1, 0, matches);
    if (call.failed()) return false;
    ApplySelectionOffset(call, operand, lo, hi, 1, 3, 0);
    if (call.failed()) return false;
    if (FoundStart(ws, 1) > 0) ws.SelRanges[U(2 * i - 1)] = FoundStart(ws, 1);
    lo = ws.SelRanges[U(2 * i)];
    hi = ws.SelRanges[U(2 * i + 1)];
    FindPatternMatches(call, operand, lo, hi, 2, 0, matches);
    if (call.failed()) return false;
    ApplySelectionOffset(call, operand, lo, hi, 2, 4, 0);
    if (call.failed()) return false;
    if (FoundStart(ws, 2) > 0) ws.SelRanges[U(2 * i)] = FoundEnd(ws, 2);
  }
  return true;
}

}  // namespace dovetam
