// Sort marks, titles and the column-click rule (see column_headers.h).
#include "core/objects/column_headers.h"

#include <utility>

namespace dovetam {

std::u16string SortMark(const SortKeys& keys, const SortKeys& dirs, int key) {
  if (keys[1] == key) return dirs[1] == 1 ? u"▲" : u"▼";
  if (keys[2] == key) return dirs[2] == 1 ? u"△" : u"▽";
  return dirs[3] == 1 ? u"∧" : u"∨";
}

std::vector<ColumnTitle> ColumnTitles(const SortKeys& keys, const SortKeys& dirs,
                                      bool viewModified, bool viewCreated, bool parenthesize) {
  std::vector<ColumnTitle> columns;
  const std::u16string mark = SortMark(keys, dirs, 1);
  columns.push_back({parenthesize ? u"名前(" + mark + u")" : u"名前" + mark, u"k1"});
  if (viewModified) columns.push_back({u"更新日時" + SortMark(keys, dirs, 2), u"k2"});
  if (viewCreated) columns.push_back({u"作成日時" + SortMark(keys, dirs, 3), u"k3"});
  return columns;
}

int ColumnKeyNumber(const std::u16string& columnKey) {
  if (columnKey.size() < 2) return 0;
  int n = 0;
  for (std::size_t i = 1; i < columnKey.size(); ++i) {
    const char16_t c = columnKey[i];
    if (c < u'0' || c > u'9') return 0;
    n = n * 10 + (c - u'0');
    if (n > 3) return 0;
  }
  return n;
}

void ClickSortColumn(SortKeys& keys, SortKeys& dirs, int c) {
  if (c == keys[1]) {
    dirs[1] = dirs[1] == 1 ? 2 : 1;
  } else if (c == keys[2]) {
    std::swap(keys[1], keys[2]);
    dirs[2] = dirs[1];
    dirs[1] = 1;
  } else if (c == keys[3]) {
    RotateVariants(keys[1], keys[2], keys[3]);
    RotateVariants(dirs[1], dirs[2], dirs[3]);
    dirs[1] = 1;
  }
}

}  // namespace dovetam
