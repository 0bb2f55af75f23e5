// The rule engine's working tables, shared by every stage of one rule
// application and kept for the life of the process.
//
// Range lists keep the layout the rule language is described in: range i of
// a list occupies elements 2i-1 (start) and 2i (end, exclusive) of a vector
// of 32-bit integers; element 0 belongs to no range; positions are 1-based
// UTF-16 units of the operand, the whole operand is (1, length + 1). Each
// table's capacity is its upper index, so the vector holds capacity + 1
// elements.
//
// Tables start at the capacities of the build (Capacities::rangeStep for the
// range lists, clip list and stack, patternStep for the pattern tables) and
// only grow, with their contents kept, through the Grow* functions below.
// Growth obeys Capacities::allocationLimit and on failure leaves the capacity
// field as it was; the caller then reports "memory short" as a rule error.
// A call of the interpreter resets counts and flags only.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/capacities.h"

namespace dovetam {

struct RuleWorkspace {
  // The operand being worked on, and whether it is pending (will be output).
  std::u16string PendingOperand;
  bool OperandPending = false;

  // Name part and clip list.
  std::u16string CurNamePart;
  int16_t OuterClipPending = 0;  // OR of ClipPending outside repeat sections
  int16_t ClipPending = 0;       // 1 forward items remain, 2 backward items remain
  int32_t ClipCapacity = 0;
  std::vector<std::u16string> ClipItems;  // items 1..ClipCount
  int32_t ClipCount = 0;
  int32_t ClipFront = 0;  // next item from the front
  int32_t ClipBack = 0;   // next item from the back

  // Selection and its registers.
  int32_t SelCapacity = 0;  // upper index of SelRanges and NewRanges
  std::vector<int32_t> SelRanges;
  int32_t SelCount = 0;
  std::vector<int32_t> NewRanges;
  int32_t NewCount = 0;
  int32_t MarkCapacity = 0;
  std::vector<int32_t> MarkRanges;
  int32_t MarkCount = 0;
  std::u16string MarkText;
  int16_t MarkFlags = 0;  // 1 MarkRanges saved by M, 2 MarkText saved by /M/
  int32_t OpCapacity = 0;
  std::vector<int32_t> OpRanges;
  int32_t OpCount = 0;
  int16_t OpCode = 0;      // 0 none, 1 union, 2 intersection, 3 left - right, 4 right - left
  int16_t OpModifier = 0;  // 0 none, 1 i, 2 o, 3 l, 4 r
  int32_t Mark2Capacity = 0;
  std::vector<int32_t> Mark2Ranges;
  int32_t Mark2Count = 0;
  int32_t Mark2Length = 0;
  std::u16string Mark2Text;
  int32_t Mark2TextLength = 0;
  int16_t Mark2Flags = 0;
  int32_t Op2Capacity = 0;
  std::vector<int32_t> Op2Ranges;
  int32_t Op2Count = 0;
  int32_t Op2Length = 0;
  int16_t Op2Code = 0;
  int16_t Op2Modifier = 0;

  // Pattern sides (index 1 side A, 2 side B; 0 unused).
  std::array<int16_t, 3> SideGroupKind{};
  std::array<std::u16string, 3> SideGroupText;
  std::array<int16_t, 3> SideSuffixFlags{};
  std::array<int16_t, 3> SideCountKind{};
  std::array<int16_t, 3> SidePrefixSign{};
  std::array<int32_t, 3> SideNth{};
  std::array<int16_t, 3> SidePrefixMode{};
  std::array<int16_t, 3> SideOffsetKind{};
  std::array<int16_t, 3> SideOffsetSign{};
  std::array<int32_t, 3> SideOffset{};
  std::array<int16_t, 3> SideOffsetMode{};
  std::array<std::array<int32_t, 3>, 3> SideFound{};  // (side, 1 start / 2 end)
  int16_t CurSide = 0;
  bool SearchReversed = false;
  int16_t WindowMode = 0;
  int32_t WindowLow = 0;
  int32_t WindowHigh = 0;
  int32_t PatClipUp = 0;
  int32_t PatClipDown = 0;

  // Compiled pattern: per alternative (0..AltCapacity), and per alternative
  // and item (row-major, (AltCapacity + 1) x (ItemCapacity + 1)).
  int32_t AltCapacity = 0;
  int32_t ItemCapacity = 0;
  std::vector<std::u16string> PatItemText;
  std::vector<int32_t> PatItemKind;
  std::vector<int32_t> PatItemCount;
  // Minimum length of each alternative: a sum of counts below 10^8 over any
  // number of items, so held in 64 bits (it may exceed every window).
  std::vector<int64_t> PatFixedLength;
  std::vector<int16_t> PatClipFlags;
  std::vector<int32_t> PatClipUpCount;
  std::vector<int32_t> PatClipDownCount;
  int32_t AltCount = 0;
  std::vector<int32_t> AltPos;
  std::vector<int16_t> AltState;
  std::vector<int32_t> AltMatch;  // (alternative, 0..2), row-major
  // Backtracking stack of the matcher.
  int32_t StackCapacity = 0;
  std::vector<int32_t> StackItem;
  std::vector<int32_t> StackPos;
  int32_t StackCount = 0;
};

// Re-creates every table empty at the initial capacities of the build.
void ResetWorkspace(RuleWorkspace& ws, const Capacities& caps);

// SelRanges and NewRanges together to at least `capacity` (exactly that when
// they grow). False, with SelCapacity unchanged, when growth fails.
bool GrowSelectionTo(RuleWorkspace& ws, int32_t capacity, const Capacities& caps);
// SelRanges and NewRanges by one step of the build (Capacities::rangeStep).
bool GrowSelectionByStep(RuleWorkspace& ws, const Capacities& caps);
// A saved or operator range list (MarkRanges, Mark2Ranges, OpRanges,
// Op2Ranges) to at least `capacity`.
bool GrowRangeListTo(std::vector<int32_t>& ranges, int32_t& rangeCapacity, int32_t capacity,
                     const Capacities& caps);
// The clip list to at least the upper index `capacity`.
bool GrowClipListTo(RuleWorkspace& ws, int32_t capacity, const Capacities& caps);

}  // namespace dovetam
