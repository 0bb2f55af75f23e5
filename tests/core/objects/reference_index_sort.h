// The index sort written down step by step, as plainly as it can be: last
// position as pivot, scans that stop on equal entries, the downward scan
// bounded by position 0, the last exchange undone and the pivot put in its
// place, then both sides. Quadratic on ordered input and recursive to the
// depth of the table, so it is only used on small tables, to check that the
// real sort (core/objects/index_sort.h) gives the very same order.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace dovetam::testing {

// compare(x, y): -1, 0 or +1 for the entries at positions x and y of a.
inline void ReferenceQuicksort(std::vector<int32_t>& a, int32_t lo, int32_t hi,
                               const std::function<int(int32_t, int32_t)>& compare) {
  if (lo >= hi) return;
  int32_t i = lo - 1;
  int32_t j = hi;
  int32_t t = 0;
  for (;;) {
    do {
      i = i + 1;
    } while (compare(i, hi) < 0);
    j = j - 1;
    while (j != 0 && compare(j, hi) > 0) j = j - 1;
    t = a[i];
    a[i] = a[j];
    a[j] = t;
    if (!(j > i)) break;
  }
  a[j] = a[i];
  a[i] = a[hi];
  a[hi] = t;
  ReferenceQuicksort(a, lo, i - 1, compare);
  ReferenceQuicksort(a, i + 1, hi, compare);
}

}  // namespace dovetam::testing
