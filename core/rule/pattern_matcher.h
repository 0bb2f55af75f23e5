// The backtracking matcher of one compiled Alternative at one start position
// of the search text (forward, or the reversed text for a backward search).
//
// Depth first with the explicit stack of the workspace (StackItem/StackPos,
// entries = (next item, position)). A class run pushes every run length
// (shortest first); the lookahead then orders those continuations: the
// ones whose next item can match at once ("viable": shortest run first with
// mchmode 1, longest first with mchmode 2) are tried before the ones whose
// remaining items can all match empty ("open", longest first); the ones whose
// next item cannot match ("dead") are dropped. Empty occurrences never count.
//
// Bound on the work (no exponential backtracking): whether the items from j
// on can match from position p to some end below WindowHigh depends only on
// (j, p), not on the start or on the path that led there. The matcher
// remembers every such state whose whole subtree failed (AltMemo), and the
// lookahead status of every (item, position) it classified, for as long as
// the Alternative's compiled items stay the same. A state is therefore
// expanded at most once per call and Alternative, which bounds one search to
// O(items x window x window) class tests, whatever the pattern.
// Pruning a failed state cannot change which occurrence is found first: the
// same subtree would fail again. (Tested by pattern_search_test.cpp against a
// plain recursive matcher.)
//
// Every state entered, class test, literal character and continuation
// ordered spends the name's work (pattern_work.h).
//
// The stack grows by Capacities::rangeStep within the allocation limit; on
// failure the capacity stays and the rule fails with the memory message.
#pragma once

#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/rule/rule_call.h"

namespace dovetam {

// What the matcher learnt about one Alternative; valid until it is compiled
// again (the items may differ then) and within one window end.
struct AltMemo {
  // key (item << 32 | position): bit 1 subtree failed; bits 2..3 lookahead
  // status + 1 (0 unknown).
  std::unordered_map<uint64_t, uint8_t> states;
  void Clear() { states.clear(); }
};

// Matches Alternative `alt` at start `s` within [s, WindowHigh) of `text`.
// Returns the exclusive end of the non-empty occurrence, or 0 when there is
// none (or after a failure: call.failed()).
int32_t MatchAlternativeAt(RuleCall& call, std::u16string_view text, int32_t alt, int32_t s, AltMemo& memo);

}  // namespace dovetam
