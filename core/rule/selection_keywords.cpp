// The keywords of selection sections ?K?: whole or nothing (*, Q, A and their
// "~" and "@" forms), join (J), drop empty (N), both (E), deselect (D), invert
// (~, ~i, ~o, ~l, ~r) and the marks (M, MR, M!, MR!). Keywords are compared
// exactly, with case. Cost: linear in the number of selected ranges.
#include <vector>

#include "core/rule/rule_messages.h"
#include "core/rule/selection_parts.h"

namespace dovetam {
namespace {

void SelectWhole(RuleWorkspace& ws) {
  ws.SelRanges[1] = 1;
  ws.SelRanges[2] = OperandLength(ws) + 1;
  ws.SelCount = 1;
}

// Touching (end = next start) and overlapping ranges become one.
void Join(RuleWorkspace& ws) {
  ws.SelRanges[0] = 0;
  int32_t k = 0;
  for (int32_t i = 1; i <= ws.SelCount; ++i) {
    const int32_t start = ws.SelRanges[2 * i - 1];
    const int32_t end = ws.SelRanges[2 * i];
    if (ws.SelRanges[2 * k] < start) {
      ++k;
      ws.SelRanges[2 * k - 1] = start;
      ws.SelRanges[2 * k] = end;
    } else if (end > ws.SelRanges[2 * k]) {
      // A range inside the kept one leaves its end where it is.
      ws.SelRanges[2 * k] = end;
    }
  }
  ws.SelCount = k;
}

void DropEmpty(RuleWorkspace& ws) {
  int32_t k = 0;
  for (int32_t i = 1; i <= ws.SelCount; ++i) {
    const int32_t start = ws.SelRanges[2 * i - 1];
    const int32_t end = ws.SelRanges[2 * i];
    if (start < end) {
      ++k;
      ws.SelRanges[2 * k - 1] = start;
      ws.SelRanges[2 * k] = end;
    }
  }
  ws.SelCount = k;
}

// The gaps between the ranges, with the end pieces that `modifier` asks for:
// 0 the non-empty ones, 1 ("i") none, 2 ("o") both, 3 ("l") the left, 4 ("r")
// the right.
bool Invert(RuleCall& call, int modifier) {
  RuleWorkspace& ws = call.ws;
  const int32_t n = ws.SelCount;
  const int32_t total = OperandLength(ws) + 1;
  if (n == 0) {
    if (modifier == 0 || modifier == 2) SelectWhole(ws);
    return true;
  }
  bool left = modifier == 2 || modifier == 3;
  bool right = modifier == 2 || modifier == 4;
  if (modifier == 0) {
    left = ws.SelRanges[1] != 1;
    right = ws.SelRanges[2 * n] != total;
  }
  if (left) {
    if (!GrowSelectionTo(ws, 2 * n + 2, call.caps)) {
      call.FailMemory();
      return false;
    }
    for (int32_t e = 2 * n; e >= 1; --e) ws.SelRanges[e + 1] = ws.SelRanges[e];
    ws.SelRanges[1] = 1;
  } else {
    for (int32_t e = 1; e <= 2 * n - 1; ++e) ws.SelRanges[e] = ws.SelRanges[e + 1];
  }
  int32_t count = left ? n : n - 1;
  if (right) {
    ++count;
    ws.SelRanges[2 * count] = total;
  }
  ws.SelCount = count;
  return true;
}

bool SaveMark(RuleCall& call, bool second) {
  RuleWorkspace& ws = call.ws;
  if (!second) {
    if (!SaveSelection(call, ws.MarkRanges, ws.MarkCapacity, ws.MarkCount)) return false;
    ws.MarkFlags |= 1;
    return true;
  }
  if (!SaveSelection(call, ws.Mark2Ranges, ws.Mark2Capacity, ws.Mark2Count)) return false;
  ws.Mark2Length = OperandLength(ws);
  ws.Mark2Flags |= 1;
  return true;
}

// "Q@" and the like: with something selected (or, for the "~" forms, with
// nothing selected) restore the mark; otherwise the plain effect.
bool MarkOrDeselect(RuleCall& call, std::u16string_view keyword, bool invert, bool second) {
  RuleWorkspace& ws = call.ws;
  const bool selected = ws.SelCount > 0;
  if (selected != invert) return RestoreMark(call, second, keyword);
  if (invert) ws.SelCount = 0;
  return true;
}

}  // namespace

bool RunSelectionKeyword(RuleCall& call, std::u16string_view k, bool& handled) {
  RuleWorkspace& ws = call.ws;
  handled = true;
  if (k == call.settings.ChrAster) {
    SelectWhole(ws);
    return true;
  }
  if (k == u"Q" || k == u"A") {
    if (ws.SelCount > 0) SelectWhole(ws);
    return true;
  }
  if (k == u"Q~" || k == u"A~") {
    if (ws.SelCount > 0) {
      ws.SelCount = 0;
    } else {
      SelectWhole(ws);
    }
    return true;
  }
  if (k == u"Q@" || k == u"A@") return MarkOrDeselect(call, k, false, false);
  if (k == u"Q~@" || k == u"A~@") return MarkOrDeselect(call, k, true, false);
  if (k == u"Q@!" || k == u"A@!") return MarkOrDeselect(call, k, false, true);
  if (k == u"Q~@!" || k == u"A~@!") return MarkOrDeselect(call, k, true, true);
  if (k == u"J") {
    Join(ws);
    return true;
  }
  if (k == u"N") {
    DropEmpty(ws);
    return true;
  }
  if (k == u"E") {
    DropEmpty(ws);
    Join(ws);
    return true;
  }
  if (k == u"D") {
    ws.SelCount = 0;
    return true;
  }
  if (k == u"~") return Invert(call, 0);
  if (k == u"~i") return Invert(call, 1);
  if (k == u"~o") return Invert(call, 2);
  if (k == u"~l") return Invert(call, 3);
  if (k == u"~r") return Invert(call, 4);
  if (k == u"M") return SaveMark(call, false);
  if (k == u"MR") return RestoreMark(call, false, k);
  if (k == u"M!") return SaveMark(call, true);
  if (k == u"MR!") return RestoreMark(call, true, k);
  handled = false;
  return true;
}

}  // namespace dovetam
