// The index sorts of the folder listing (ListOrder) and of the targets
// (OrderIndex). Only the index array is permuted; the entries stay in place.
//
// The order they produce is that of a partition-exchange sort with the last
// position of each range as pivot: both scans stop on entries equal to the
// pivot and exchange them, the downward scan is bounded by position 0 (in an
// inner range it stops on the earlier pivot just before the range), and the
// pivot is put in its place at the end. That sort is not stable, and the
// order of entries that compare equal is part of what the user sees (and the
// order of the rename run), so it is reproduced exactly.
//
// Cost: the plain procedure takes time quadratic in the range on input that
// is already in order or reversed, and its recursion gets as deep as the
// table is long. This one computes the same permutation in O(n log n): the
// entries are ranked once by one O(n log n) comparison sort (name keys from
// the collator computed once per entry), then every partition is replayed on
// the ranks with a tree of range minima and maxima, so that a scan jumps over
// a run of entries that would not stop it in time logarithmic in its length,
// and the exchanges of a partition update the tree in one batch. A partition
// that makes m exchanges in a range of s entries costs O(m log(s/m) + log s);
// summed over all partitions that stays within O(n log n). The recursion goes
// into the smaller range first and loops on the larger one, so the stack
// stays logarithmic. Tested against a plain transcription of the procedure
// (tests/core/objects/reference_index_sort.h).
#pragma once

#include <cstdint>
#include <vector>

#include "core/objects/listing_table.h"
#include "core/objects/object_table.h"
#include "core/objects/sort_compare.h"

namespace dovetam {

// Orders positions first..last of `index`. rankAtPosition[p] is the rank of
// the entry at position p (equal ranks: entries that compare equal); both
// arrays are permuted together. Position first - 1 must exist and compare
// below or equal to every entry of the range (position 0 always does: the
// downward scan stops there without a comparison).
void QuicksortByRank(std::vector<int32_t>& index, std::vector<int32_t>& rankAtPosition,
                     int32_t first, int32_t last);

// Ranks of the entries at positions first..last of `index` (element p of the
// result for position p, positions outside the range get the lowest rank).
std::vector<int32_t> RankListingPositions(const ListingTable& listing, const SortLevels& levels,
                                          int32_t first, int32_t last);
std::vector<int32_t> RankTargetPositions(const ObjectTable& objects, const SortLevels& levels,
                                         int32_t first, int32_t last);

// SortSelectIndex / SortObjectIndex: orders positions first..last of
// ListOrder / OrderIndex by the levels. The callers pass 1 and the count.
void SortListingIndex(ListingTable& listing, const SortLevels& levels, int32_t first,
                      int32_t last);
void SortTargetIndex(ObjectTable& objects, const SortLevels& levels, int32_t first,
                     int32_t last);

}  // namespace dovetam
