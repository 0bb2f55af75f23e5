// The comparators of the two index sorts: the folder listing by ListSortKey /
// ListSortDir, the targets by ObjSortKey / ObjSortDir, over the first
// SortKeyCount levels.
//
// Key 1 (name): unless files and folders are mixed, a folder goes before a
// file; otherwise the names (for targets: folder and name as one path) are
// compared by the collator that ignores case (name_collator.h). Keys 2 and 3
// compare the last-modified and the creation date (0 like any value). The
// direction of the deciding level turns the result round (the folder rule
// too, so a descending name level puts files first). Equal on every level: 0.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/objects/listing_table.h"
#include "core/objects/object_table.h"
#include "core/objects/sort_state.h"

namespace dovetam {

// The levels one sort compares.
struct SortLevels {
  std::array<int16_t, 4> key{0, 1, 2, 3};
  std::array<int16_t, 4> dir{0, 1, 1, 1};
  int16_t count = 1;  // levels 1..count are compared (1 to 3)
  bool mix = false;   // files and folders mixed in the name level
};

SortLevels ListingLevels(const SortState& sort, bool viewMix);
SortLevels TargetLevels(const SortState& sort, bool viewMix);

// One entry as the comparators see it.
struct SortItem {
  const std::u16string* folder = nullptr;  // targets only: the path is folder & name
  const std::u16string* name = nullptr;
  bool isFolder = false;
  double modified = 0;
  double created = 0;
};

// -1, 0 or +1: whether item a goes before, after or level with item b.
int16_t CompareSortItems(const SortLevels& levels, const SortItem& a, const SortItem& b);

SortItem ListingItem(const ListingTable& listing, int32_t entry);
SortItem TargetItem(const ObjectTable& objects, int32_t entry);

// The comparators on display positions: entries ListOrder(a) and ListOrder(b),
// or OrderIndex(a) and OrderIndex(b).
int16_t CompareSelectItems(const ListingTable& listing, const SortLevels& levels, int32_t a,
                           int32_t b);
int16_t CompareObjectItems(const ObjectTable& objects, const SortLevels& levels, int32_t a,
                           int32_t b);

}  // namespace dovetam
