// Sort marks, column titles and the column-click rule of the three lists.
//
// Columns: the name ("k1"), then the last-modified date ("k2") while shown,
// then the creation date ("k3") while shown. The mark of a column tells the
// level its key stands on and that level's direction: level 1 ▲/▼, level 2
// △/▽, otherwise ∧/∨ (direction of level 3).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace dovetam {

using SortKeys = std::array<int16_t, 4>;  // levels 1..3 used

std::u16string SortMark(const SortKeys& keys, const SortKeys& dirs, int key);

struct ColumnTitle {
  std::u16string title;
  std::u16string key;  // "k1", "k2", "k3"
};

// The titles of the shown columns, left to right. parenthesize: the name
// mark stands in "(" ")" (target and order lists after a run).
std::vector<ColumnTitle> ColumnTitles(const SortKeys& keys, const SortKeys& dirs,
                                      bool viewModified, bool viewCreated, bool parenthesize);

// The sort key of a column key ("k2" -> 2); 0 when it is not one.
int ColumnKeyNumber(const std::u16string& columnKey);

// Changes the levels for a click on the column of sort key c: the primary
// column reverses its direction; another column becomes primary, ascending,
// and the levels above it move one place down with their directions.
void ClickSortColumn(SortKeys& keys, SortKeys& dirs, int c);

// a gets the old c, b the old a, c the old b.
template <class T>
void RotateVariants(T& a, T& b, T& c) {
  T old = c;
  c = b;
  b = a;
  a = old;
}

}  // namespace dovetam
