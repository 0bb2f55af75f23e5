// Sort levels of the listing and of the targets. Keys: 1 name,
// 2 last-modified date, 3 creation date; directions: 1 ascending,
// 2 descending. Elements 1..3 are used, level 1 is the primary one.
#pragma once

#include <array>
#include <cstdint>

namespace dovetam {

struct SortState {
  std::array<int16_t, 4> ListSortKey{0, 1, 2, 3};
  std::array<int16_t, 4> ListSortDir{0, 1, 1, 1};
  std::array<int16_t, 4> ObjSortKey{0, 1, 2, 3};
  std::array<int16_t, 4> ObjSortDir{0, 1, 1, 1};
  int16_t SortKeyCount = 2;  // 1 plus the shown date columns
};

}  // namespace dovetam
