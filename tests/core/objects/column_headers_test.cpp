// Sort marks, titles and the column-click rule, with the cases of the
// header design.
#include "core/objects/column_headers.h"

#include <gtest/gtest.h>

namespace dovetam {
namespace {

std::vector<std::u16string> TitlesOf(const SortKeys& k, const SortKeys& d, bool m, bool c,
                                      bool paren = false) {
  std::vector<std::u16string> t;
  for (const ColumnTitle& col : ColumnTitles(k, d, m, c, paren)) t.push_back(col.title);
  return t;
}

TEST(ColumnHeadersTest, TitlesAfterAReset) {
  EXPECT_EQ((std::vector<std::u16string>{u"名前▲", u"更新日時△", u"作成日時∧"}),
            TitlesOf({0, 1, 2, 3}, {0, 1, 1, 1}, true, true));
  EXPECT_EQ((std::vector<std::u16string>{u"名前(▲)"}),
            TitlesOf({0, 1, 2, 3}, {0, 1, 1, 1}, false, false, true));
  const std::vector<ColumnTitle> only = ColumnTitles({0, 1, 3, 2}, {0, 1, 1, 1}, false, true, false);
  ASSERT_EQ(2u, only.size());
  EXPECT_EQ(u"作成日時△", only[1].title);
  EXPECT_EQ(u"k3", only[1].key);
}

struct ClickRow {
  const char* name;
  SortKeys keys, dirs;
  int clicked;
  SortKeys expectedKeys, expectedDirs;
};

TEST(ColumnHeadersTest, ClicksMoveTheLevels) {
  const std::vector<ClickRow> rows = {
      {"primary reverses", {0, 1, 2, 3}, {0, 1, 1, 1}, 1, {0, 1, 2, 3}, {0, 2, 1, 1}},
      {"primary reverses back", {0, 1, 2, 3}, {0, 2, 1, 1}, 1, {0, 1, 2, 3}, {0, 1, 1, 1}},
      {"second becomes primary", {0, 1, 3, 2}, {0, 1, 1, 1}, 3, {0, 3, 1, 2}, {0, 1, 1, 1}},
      {"second takes the old primary direction", {0, 1, 2, 3}, {0, 2, 1, 2}, 2, {0, 2, 1, 3},
       {0, 1, 2, 2}},
      {"third rotates", {0, 1, 2, 3}, {0, 2, 1, 1}, 3, {0, 3, 1, 2}, {0, 1, 2, 1}},
  };
  for (const ClickRow& row : rows) {
    SCOPED_TRACE(row.name);
    SortKeys k = row.keys;
    SortKeys d = row.dirs;
    ClickSortColumn(k, d, row.clicked);
    EXPECT_EQ(row.expectedKeys, k);
    EXPECT_EQ(row.expectedDirs, d);
  }
  // 名前▼, 更新日時△, 作成日時∧ and a click on the creation column:
  SortKeys k{0, 1, 2, 3};
  SortKeys d{0, 2, 1, 1};
  ClickSortColumn(k, d, 3);
  EXPECT_EQ((std::vector<std::u16string>{u"名前▽", u"更新日時∧", u"作成日時▲"}),
            TitlesOf(k, d, true, true));
}

TEST(ColumnHeadersTest, KeyNumbers) {
  EXPECT_EQ(2, ColumnKeyNumber(u"k2"));
  EXPECT_EQ(1, ColumnKeyNumber(u"k1"));
  EXPECT_EQ(0, ColumnKeyNumber(u""));
  EXPECT_EQ(0, ColumnKeyNumber(u"k"));
  EXPECT_EQ(0, ColumnKeyNumber(u"kx"));
}

}  // namespace
}  // namespace dovetam
