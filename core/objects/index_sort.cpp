// Index sorts of the listing and the targets (see index_sort.h for the order
// they produce and for the cost argument).
#include "core/objects/index_sort.h"

#include <algorithm>
#include <climits>
#include <cstddef>
#include <numeric>
#include <string>
#include <utility>

#include "core/objects/name_collator.h"
#include "platform/parallel_slices.h"

namespace dovetam {
namespace {

// Ranges up to this size are sorted by the plain procedure itself: its cost
// there is bounded by a constant and it needs no tree.
constexpr int32_t kPlainRange = 24;

// Minima and maxima of the ranks over a perfect binary tree of positions.
// Only nodes whose span lies inside the range being partitioned are read, and
// only those are brought up to date after a partition: a node that straddles
// the range's edge may be stale, but no later partition (all of them inside
// ranges nested in or disjoint from this one) reads it.
class RankTree {
 public:
  RankTree(const std::vector<int32_t>& rank, int32_t size) {
    while (leaves_ < static_cast<std::size_t>(size)) leaves_ <<= 1;
    min_.assign(2 * leaves_, INT32_MAX);
    max_.assign(2 * leaves_, INT32_MIN);
    for (int32_t p = 0; p < size; ++p) min_[leaves_ + p] = max_[leaves_ + p] = rank[p];
    for (std::size_t x = leaves_ - 1; x >= 1; --x) Pull(x);
  }

  // First position in [l, r] whose rank is at least p, -1 when none. Time
  // logarithmic in the distance from l to the answer (or to r).
  int32_t FirstAtLeast(int32_t l, int32_t r, int32_t p) const {
    if (l > r) return -1;
    std::size_t x = leaves_ + static_cast<std::size_t>(l);
    int h = 0;
    if (max_[x] >= p) return l;
    for (;;) {
      while (x > 1 && (x & 1) != 0) {
        x >>= 1;
        ++h;
      }
      if (x == 1) return -1;
      ++x;
      const int64_t start = Start(x, h);
      if (start > r) return -1;
      if (start + (int64_t{1} << h) - 1 <= r) {
        if (max_[x] >= p) return DescendFirst(x, h, p);
        continue;
      }
      // The node reaches past r: look in its part up to r only.
      while (h > 0) {
        const std::size_t left = x << 1;
        --h;
        if (Start(left, h) + (int64_t{1} << h) - 1 <= r) {
          if (max_[left] >= p) return DescendFirst(left, h, p);
          x = left + 1;
        } else {
          x = left;
        }
      }
      return max_[x] >= p ? static_cast<int32_t>(x - leaves_) : -1;
    }
  }

  // Last position in [l, r] whose rank is at most p, -1 when none; time
  // logarithmic in the distance from r.
  int32_t LastAtMost(int32_t l, int32_t r, int32_t p) const {
    if (l > r) return -1;
    std::size_t x = leaves_ + static_cast<std::size_t>(r);
    int h = 0;
    if (min_[x] <= p) return r;
    for (;;) {
      while (x > 1 && (x & 1) == 0) {
        x >>= 1;
        ++h;
      }
      if (x == 1) return -1;
      --x;
      const int64_t start = Start(x, h);
      if (start + (int64_t{1} << h) - 1 < l) return -1;
      if (start >= l) {
        if (min_[x] <= p) return DescendLast(x, h, p);
        continue;
      }
      // The node reaches below l: look in its part from l only.
      while (h > 0) {
        const std::size_t right = (x << 1) + 1;
        --h;
        if (Start(right, h) >= l) {
          if (min_[right] <= p) return DescendLast(right, h, p);
          x = right - 1;
        } else {
          x = right;
        }
      }
      return min_[x] <= p ? static_cast<int32_t>(x - leaves_) : -1;
    }
  }

  // Writes the ranks of the changed positions (ascending, no repeats) and
  // recomputes their ancestors that lie inside [lo, hi].
  void Update(const std::vector<int32_t>& positions, const std::vector<int32_t>& rank, int32_t lo,
              int32_t hi) {
    current_.clear();
    for (int32_t pos : positions) {
      const std::size_t x = leaves_ + static_cast<std::size_t>(pos);
      min_[x] = max_[x] = rank[pos];
      current_.push_back(x);
    }
    for (int h = 1; !current_.empty(); ++h) {
      next_.clear();
      for (std::size_t x : current_) {
        const std::size_t parent = x >> 1;
        if (parent == 0) continue;
        const int64_t start = Start(parent, h);
        if (start < lo || start + (int64_t{1} << h) - 1 > hi) continue;
        if (next_.empty() || next_.back() != parent) next_.push_back(parent);
      }
      for (std::size_t x : next_) Pull(x);
      current_.swap(next_);
    }
  }

 private:
  int64_t Start(std::size_t x, int h) const {
    return static_cast<int64_t>(x << h) - static_cast<int64_t>(leaves_);
  }
  void Pull(std::size_t x) {
    min_[x] = std::min(min_[2 * x], min_[2 * x + 1]);
    max_[x] = std::max(max_[2 * x], max_[2 * x + 1]);
  }
  int32_t DescendFirst(std::size_t x, int h, int32_t p) const {
    while (h-- > 0) {
      x <<= 1;
      if (max_[x] < p) ++x;
    }
    return static_cast<int32_t>(x - leaves_);
  }
  int32_t DescendLast(std::size_t x, int h, int32_t p) const {
    while (h-- > 0) {
      x = (x << 1) + 1;
      if (min_[x] > p) --x;
    }
    return static_cast<int32_t>(x - leaves_);
  }

  std::size_t leaves_ = 1;
  std::vector<int32_t> min_;
  std::vector<int32_t> max_;
  std::vector<std::size_t> current_;
  std::vector<std::size_t> next_;
};

void Exchange(std::vector<int32_t>& index, std::vector<int32_t>& rank, int32_t a, int32_t b) {
  std::swap(index[a], index[b]);
  std::swap(rank[a], rank[b]);
}

// The procedure itself, step by step, for small ranges.
void PlainSort(std::vector<int32_t>& index, std::vector<int32_t>& rank, int32_t lo, int32_t hi) {
  while (lo < hi) {
    const int32_t pivot = rank[hi];
    int32_t i = lo - 1;
    int32_t j = hi;
    for (;;) {
      do {
        ++i;
      } while (rank[i] < pivot);
      --j;
      while (j != 0 && rank[j] > pivot) --j;
      Exchange(index, rank, i, j);
      if (j <= i) break;
    }
    // Undo the last exchange, then put the pivot at i.
    Exchange(index, rank, i, j);
    Exchange(index, rank, i, hi);
    PlainSort(index, rank, lo, i - 1);
    lo = i + 1;
  }
}

class TreeSort {
 public:
  TreeSort(std::vector<int32_t>& index, std::vector<int32_t>& rank, int32_t last)
      : index_(index), rank_(rank), tree_(rank, last + 1) {}

  void Sort(int32_t first, int32_t last) {
    std::vector<std::pair<int32_t, int32_t>> pending{{first, last}};
    while (!pending.empty()) {
      auto [lo, hi] = pending.back();
      pending.pop_back();
      while (lo < hi) {
        if (hi - lo + 1 <= kPlainRange) {
          PlainSort(index_, rank_, lo, hi);
          break;
        }
        const int32_t i = Partition(lo, hi);
        // Keep the larger side for later and go on with the smaller one, so
        // that at most log n ranges wait.
        if (i - lo < hi - i) {
          pending.emplace_back(i + 1, hi);
          hi = i - 1;
        } else {
          pending.emplace_back(lo, i - 1);
          lo = i + 1;
        }
      }
    }
  }

 private:
  // One partition of [lo, hi] around the entry at hi; returns its place.
  // Between the last exchanged pair (wl, wr) nothing has moved yet, so the
  // tree answers the scans there; at and beyond those bounds the outcome is
  // known: wr holds an entry not below the pivot, wl one not above it (or wl
  // is the position before the range, where the downward scan ends).
  int32_t Partition(int32_t lo, int32_t hi) {
    const int32_t pivot = rank_[hi];
    int32_t wl = lo - 1;
    int32_t wr = hi + 1;
    int32_t i = lo - 1;
    int32_t j = hi;
    left_.clear();
    right_.clear();
    for (;;) {
      const int32_t up = tree_.FirstAtLeast(i + 1, wr - 1, pivot);
      i = up >= 0 ? up : wr;
      const int32_t down = tree_.LastAtMost(wl + 1, j - 1, pivot);
      j = down >= 0 ? down : wl;
      if (j <= i) break;
      Exchange(index_, rank_, i, j);
      left_.push_back(i);
      right_.push_back(j);
      wl = i;
      wr = j;
    }
    Exchange(index_, rank_, i, hi);
    changed_.assign(left_.begin(), left_.end());
    if (changed_.empty() || changed_.back() != i) changed_.push_back(i);
    for (auto it = right_.rbegin(); it != right_.rend(); ++it) {
      if (changed_.back() != *it) changed_.push_back(*it);
    }
    if (changed_.back() != hi) changed_.push_back(hi);
    tree_.Update(changed_, rank_, lo, hi);
    return i;
  }

  std::vector<int32_t>& index_;
  std::vector<int32_t>& rank_;
  RankTree tree_;
  std::vector<int32_t> left_;
  std::vector<int32_t> right_;
  std::vector<int32_t> changed_;
};

// An entry prepared for ranking: the name level compares collation keys,
// computed once per entry.
struct KeyedItem {
  std::string nameKey;
  // The first eight bytes of the key after the shared start, big-endian and
  // padded with zeros: unequal heads order two keys as the keys themselves
  // do (a key that ends inside the head is a prefix of the other), so only
  // equal heads need the whole keys compared.
  uint64_t head = 0;
  bool isFolder = false;
  double modified = 0;
  double created = 0;
};

// `skip`: the length of the start that every name key of the sort shares
// (the folder of the targets, mostly), left out of the comparisons.
int CompareKeyed(const SortLevels& levels, const KeyedItem& a, const KeyedItem& b,
                 std::size_t skip) {
  const int count = levels.count < 1 ? 1 : (levels.count > 3 ? 3 : levels.count);
  for (int k = 1; k <= count; ++k) {
    int r = 0;
    switch (levels.key[k]) {
      case 1:
        if (!levels.mix && a.isFolder != b.isFolder) {
          r = a.isFolder ? -1 : 1;
        } else {
          if (a.head != b.head) {
            r = a.head < b.head ? -1 : 1;
          } else {
            const int c = a.nameKey.compare(skip, std::string::npos, b.nameKey, skip);
            r = c < 0 ? -1 : (c > 0 ? 1 : 0);
          }
        }
        break;
      case 2:
        r = a.modified < b.modified ? -1 : (a.modified > b.modified ? 1 : 0);
        break;
      case 3:
        r = a.created < b.created ? -1 : (a.created > b.created ? 1 : 0);
        break;
      default:
        break;
    }
    if (r != 0) return levels.dir[k] == 2 ? -r : r;
  }
  return 0;
}

// Ranks of items: equal ranks for items that compare 0, ranks ascending in
// the order of the levels.
std::vector<int32_t> RankItems(std::vector<KeyedItem>& items, const SortLevels& levels) {
  std::size_t skip = items.empty() ? 0 : items[0].nameKey.size();
  for (const KeyedItem& item : items) {
    const std::string& first = items[0].nameKey;
    std::size_t k = 0;
    const std::size_t n = std::min(skip, item.nameKey.size());
    while (k < n && item.nameKey[k] == first[k]) ++k;
    skip = k;
  }
  for (KeyedItem& item : items) {
    uint64_t head = 0;
    for (std::size_t k = 0; k < 8; ++k) {
      const std::size_t at = skip + k;
      head = head << 8 | (at < item.nameKey.size() ? static_cast<uint8_t>(item.nameKey[at]) : 0);
    }
    item.head = head;
  }
  std::vector<int32_t> order(items.size());
  std::iota(order.begin(), order.end(), 0);
  std::sort(order.begin(), order.end(), [&](int32_t x, int32_t y) {
    return CompareKeyed(levels, items[x], items[y], skip) < 0;
  });
  std::vector<int32_t> rank(items.size());
  int32_t r = 0;
  for (std::size_t k = 0; k < order.size(); ++k) {
    if (k > 0 && CompareKeyed(levels, items[order[k - 1]], items[order[k]], skip) != 0) ++r;
    rank[order[k]] = r;
  }
  return rank;
}

// The collation keys of a big table are computed on several threads: each
// key depends on its entry alone, and the collator is only read.
template <typename Work>
void ForEachKeySlice(std::size_t n, Work&& work) {
  constexpr std::size_t kKeySlice = 4096;
  constexpr unsigned kKeyThreads = 8;
  if (n >= 2 * kKeySlice) NameSortKey(u"");  // the collator is made before the threads start
  ForEachSlice(n, kKeySlice, kKeyThreads, work);
}

bool UsesNames(const SortLevels& levels) {
  for (int k = 1; k <= levels.count && k <= 3; ++k) {
    if (levels.key[k] == 1) return true;
  }
  return false;
}

std::vector<int32_t> RankPositions(std::vector<KeyedItem> items, const SortLevels& levels,
                                   int32_t first, int32_t last) {
  std::vector<int32_t> byPosition(static_cast<std::size_t>(std::max(last, 0)) + 1, INT32_MIN);
  if (first > last) return byPosition;
  const std::vector<int32_t> rank = RankItems(items, levels);
  for (int32_t p = first; p <= last; ++p) byPosition[p] = rank[p - first];
  return byPosition;
}

}  // namespace

void QuicksortByRank(std::vector<int32_t>& index, std::vector<int32_t>& rankAtPosition,
                     int32_t first, int32_t last) {
  if (first >= last) return;
  // Strictly ascending ranks (a table added in its own order): every
  // partition finds its pivot in place and exchanges nothing.
  const auto begin = rankAtPosition.begin() + first;
  const auto end = rankAtPosition.begin() + last + 1;
  if (std::adjacent_find(begin, end, [](int32_t a, int32_t b) { return a >= b; }) == end) return;
  if (last - first + 1 <= kPlainRange) {
    PlainSort(index, rankAtPosition, first, last);
    return;
  }
  TreeSort(index, rankAtPosition, last).Sort(first, last);
}

std::vector<int32_t> RankListingPositions(const ListingTable& listing, const SortLevels& levels,
                                          int32_t first, int32_t last) {
  std::vector<KeyedItem> items(static_cast<std::size_t>(std::max(last - first + 1, 0)));
  for (int32_t p = first; p <= last; ++p) {
    const int32_t e = listing.ListOrder[p];
    KeyedItem& item = items[static_cast<std::size_t>(p - first)];
    item.isFolder = listing.ListIsFolder[e];
    item.modified = listing.ListModified[e];
    item.created = listing.ListCreated[e];
  }
  if (UsesNames(levels)) {
    ForEachKeySlice(items.size(), [&](std::size_t begin, std::size_t end) {
      for (std::size_t k = begin; k < end; ++k) {
        items[k].nameKey = NameSortKey(listing.ListName[listing.ListOrder[first + static_cast<int32_t>(k)]]);
      }
    });
  }
  return RankPositions(std::move(items), levels, first, last);
}

std::vector<int32_t> RankTargetPositions(const ObjectTable& objects, const SortLevels& levels,
                                         int32_t first, int32_t last) {
  std::vector<KeyedItem> items(static_cast<std::size_t>(std::max(last - first + 1, 0)));
  for (int32_t p = first; p <= last; ++p) {
    const int32_t e = objects.OrderIndex[p];
    KeyedItem& item = items[static_cast<std::size_t>(p - first)];
    item.isFolder = objects.ObjIsFolder[e];
    item.modified = objects.ObjModified[e];
    item.created = objects.ObjCreated[e];
  }
  if (UsesNames(levels)) {
    ForEachKeySlice(items.size(), [&](std::size_t begin, std::size_t end) {
      std::u16string path;
      for (std::size_t k = begin; k < end; ++k) {
        const int32_t e = objects.OrderIndex[first + static_cast<int32_t>(k)];
        path.assign(objects.ObjFolder[e]).append(objects.ObjName[e]);
        items[k].nameKey = NameSortKey(path);
      }
    });
  }
  return RankPositions(std::move(items), levels, first, last);
}

void SortListingIndex(ListingTable& listing, const SortLevels& levels, int32_t first,
                      int32_t last) {
  if (first >= last) return;
  std::vector<int32_t> rank = RankListingPositions(listing, levels, first, last);
  QuicksortByRank(listing.ListOrder, rank, first, last);
}

void SortTargetIndex(ObjectTable& objects, const SortLevels& levels, int32_t first,
                     int32_t last) {
  if (first >= last) return;
  std::vector<int32_t> rank = RankTargetPositions(objects, levels, first, last);
  QuicksortByRank(objects.OrderIndex, rank, first, last);
}

}  // namespace dovetam
