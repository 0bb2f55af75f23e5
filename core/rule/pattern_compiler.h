// The compiler of a selection side's group pattern: the text between the
// brackets of "(...)" or "[...]" becomes item tables, one row per
// Alternative (separated by chr_bar), which the pattern search walks.
//
// Grammar (default symbols): Alternative { "|" Alternative }; an Alternative
// is literal runs and items; an item is "\" [sign] [zeros] [digits] letter,
// blanks allowed between "\" and the letter:
//   - "c": one clip item (a count takes that entry, "-" counts from the end;
//     without a count the up / down cursors PatClipUp / PatClipDown move);
//   - "C": all clip items joined (no sign or number);
//   - one of the 26 class letters (char_classes.h): a ClassItem, kind -2 one
//     or more, -3 zero or more ("\0n"), N exactly N ("\3n"); no sign.
// Escapes (escapemode) make chr_bar and chr_yen ordinary text.
//
// Tables (RuleWorkspace): PatItemText / PatItemKind per (alternative, item),
// kind -1 literal; PatItemCount, PatFixedLength (minimum length, at least 1;
// a 64-bit sum, since counts below 10^8 add up past any 32-bit bound),
// PatClipFlags / PatClipUpCount / PatClipDownCount per alternative; and the
// search state AltState (0 fresh, -1 never matches), AltMatch (-1, -1),
// AltPos (WindowLow). With SearchReversed every literal is stored reversed
// and the items stand in reverse order (the mirror pattern).
//
// Growth: the alternative dimension is re-created with exactly AltCount rows
// when a group has more alternatives than AltCapacity (contents dropped, all
// alternatives compiled); the item dimension grows by Capacities::patternStep
// with contents kept. Beyond the allocation limit the compile fails with the
// memory message and the capacity stays. Cost: one pass over the group text,
// spent from the name's work (pattern_work.h) with the literal text it copies
// and the table cells it lays out; tables beyond kPatternTableCellLimit cells
// or work beyond the limit fail the rule with the "too complex" message.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/rule/rule_call.h"

namespace dovetam {

// Literal item; ClassItem kinds -2 (one or more), -3 (zero or more), N >= 1.
inline constexpr int32_t kItemLiteral = -1;
inline constexpr int32_t kItemOneOrMore = -2;
inline constexpr int32_t kItemZeroOrMore = -3;

// Index of (alternative, item) in PatItemText / PatItemKind.
inline std::size_t PatCell(const RuleWorkspace& ws, int32_t alt, int32_t item) {
  return static_cast<std::size_t>(alt) * (static_cast<std::size_t>(ws.ItemCapacity) + 1) +
         static_cast<std::size_t>(item);
}
// Index of (alternative, column 0..2) in AltMatch.
inline std::size_t AltMatchCell(int32_t alt, int column) {
  return static_cast<std::size_t>(alt) * 3 + static_cast<std::size_t>(column);
}

// Compiles SideGroupText(side). mask 0 compiles every alternative; any other
// mask only the alternatives a with (mask & PatClipFlags(a)) != 0 (all of
// them when the tables had to be re-created). Reads SearchReversed,
// WindowMode, WindowLow, WindowHigh, PatClipUp and PatClipDown as the search
// set them. Failure: call.Fail (syntax, escapes, memory).
void CompilePattern(RuleCall& call, int16_t side, int16_t mask);

}  // namespace dovetam
