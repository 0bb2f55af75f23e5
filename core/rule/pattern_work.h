// The work limit of the pattern searches of one name.
//
// Every loop of the compiler and the search spends units of work from the
// name's account (RuleCall::patternWork): one unit for each character-class
// test, each character of a literal compared or of a text copied, each start
// position tried, each matcher state entered, each continuation ordered or
// looked ahead from, each Alternative visited by a pass; and
// kPatternWorkPerCell units for each cell of the pattern tables laid out
// anew when they grow (their size is Alternatives x items, so a long group
// could otherwise take seconds and gigabytes). A unit costs about one class
// test, so the limit bounds one evaluation to about half a second whatever
// the rule and the operand; past it the rule fails with the "too complex"
// message instead of freezing the preview or the run.
#pragma once

#include <cstdint>

#include "core/rule/pattern_messages.h"
#include "core/rule/rule_call.h"

namespace dovetam {

// Units of work that the pattern searches of one name may spend. A name of a
// few hundred characters needs far fewer; only a pattern of many stacked runs
// over a very long operand reaches it.
inline constexpr int64_t kPatternWorkLimit = 20'000'000;
// A table cell (a text and a kind) allocated, moved and freed.
inline constexpr int64_t kPatternWorkPerCell = 10;
// The pattern tables keep their size for later names, so their bound is
// fixed too: a group that needs more cells (about 70 MB) is too complex
// whatever the tables already hold.
inline constexpr int64_t kPatternTableCellLimit = kPatternWorkLimit / kPatternWorkPerCell;

// Spends `units`; false, with the rule failed, once the account is overdrawn
// (and on every later call for the same name).
inline bool SpendPatternWork(RuleCall& call, int64_t units) {
  call.patternWork += units;
  if (call.patternWork <= kPatternWorkLimit) return true;
  if (!call.failed()) call.Fail(PatternTooComplexMessage());
  return false;
}

// Spends the work of laying out pattern tables of `cells` cells; false, with
// the rule failed, also when they would pass kPatternTableCellLimit.
inline bool SpendPatternTables(RuleCall& call, int64_t cells) {
  if (cells <= kPatternTableCellLimit) return SpendPatternWork(call, cells * kPatternWorkPerCell);
  if (!call.failed()) call.Fail(PatternTooComplexMessage());
  return false;
}

}  // namespace dovetam
