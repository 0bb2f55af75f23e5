// Allocation and growth of the rule engine's working tables (rule_workspace.h).
#include "core/rule/rule_workspace.h"

#include "platform/table_growth.h"

namespace dovetam {
namespace {

template <class T>
void Recreate(std::vector<T>& table, std::size_t elements) {
  std::vector<T> fresh(elements);
  table.swap(fresh);
}

std::size_t Elements(int32_t upperIndex) { return static_cast<std::size_t>(upperIndex) + 1; }

}  // namespace

void ResetWorkspace(RuleWorkspace& ws, const Capacities& caps) {
  const int32_t range = caps.rangeStep;
  const int32_t pattern = caps.patternStep;
  ws.ClipCapacity = range;
  Recreate(ws.ClipItems, Elements(range));
  ws.ClipCount = 0;
  ws.SelCapacity = range;
  Recreate(ws.SelRanges, Elements(range));
  Recreate(ws.NewRanges, Elements(range));
  ws.SelCount = 0;
  ws.NewCount = 0;
  ws.MarkCapacity = range;
  Recreate(ws.MarkRanges, Elements(range));
  ws.MarkCount = 0;
  ws.MarkFlags = 0;
  ws.OpCapacity = range;
  Recreate(ws.OpRanges, Elements(range));
  ws.OpCount = 0;
  ws.OpCode = 0;
  ws.Mark2Capacity = range;
  Recreate(ws.Mark2Ranges, Elements(range));
  ws.Mark2Count = 0;
  ws.Mark2Flags = 0;
  ws.Op2Capacity = range;
  Recreate(ws.Op2Ranges, Elements(range));
  ws.Op2Count = 0;
  ws.Op2Code = 0;
  ws.StackCapacity = range;
  Recreate(ws.StackItem, Elements(range));
  Recreate(ws.StackPos, Elements(range));
  ws.StackCount = 0;

  ws.AltCapacity = pattern;
  ws.ItemCapacity = pattern;
  const std::size_t alts = Elements(pattern);
  const std::size_t cells = alts * Elements(pattern);
  Recreate(ws.PatItemText, cells);
  Recreate(ws.PatItemKind, cells);
  Recreate(ws.PatItemCount, alts);
  Recreate(ws.PatFixedLength, alts);
  Recreate(ws.PatClipFlags, alts);
  Recreate(ws.PatClipUpCount, alts);
  Recreate(ws.PatClipDownCount, alts);
  Recreate(ws.AltPos, alts);
  Recreate(ws.AltState, alts);
  Recreate(ws.AltMatch, alts * 3);
  ws.AltCount = 0;
}

bool GrowSelectionTo(RuleWorkspace& ws, int32_t capacity, const Capacities& caps) {
  if (ws.SelCapacity >= capacity) return true;
  if (capacity < 0) return false;
  // Both lists grow or the capacity stays; a first list left larger than the
  // capacity is harmless, since only SelCapacity is believed.
  if (!TryResize(ws.SelRanges, Elements(capacity), caps.allocationLimit)) return false;
  if (!TryResize(ws.NewRanges, Elements(capacity), caps.allocationLimit)) return false;
  ws.SelCapacity = capacity;
  return true;
}

bool GrowSelectionByStep(RuleWorkspace& ws, const Capacities& caps) {
  int64_t next = static_cast<int64_t>(ws.SelCapacity) + caps.rangeStep;
  if (next > INT32_MAX) return false;
  return GrowSelectionTo(ws, static_cast<int32_t>(next), caps);
}

bool GrowRangeListTo(std::vector<int32_t>& ranges, int32_t& rangeCapacity, int32_t capacity,
                     const Capacities& caps) {
  if (rangeCapacity >= capacity) return true;
  if (capacity < 0) return false;
  if (!TryResize(ranges, Elements(capacity), caps.allocationLimit)) return false;
  rangeCapacity = capacity;
  return true;
}

bool GrowClipListTo(RuleWorkspace& ws, int32_t capacity, const Capacities& caps) {
  if (ws.ClipCapacity >= capacity) return true;
  if (capacity < 0) return false;
  if (!TryResize(ws.ClipItems, Elements(capacity), caps.allocationLimit)) return false;
  ws.ClipCapacity = capacity;
  return true;
}

}  // namespace dovetam
