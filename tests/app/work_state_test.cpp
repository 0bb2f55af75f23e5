#include "app/work_state.h"

#include <gtest/gtest.h>

namespace dovetam {
namespace {

struct SortCase {
  const char* name;
  bool modified, created;
  int keyCount;
  std::array<int16_t, 4> keys;
};

TEST(ResetSortKeys, LevelsFollowTheShownColumns) {
  const SortCase cases[] = {
      {"no date column", false, false, 1, {0, 1, 2, 3}},
      {"last-modified only", true, false, 2, {0, 1, 2, 3}},
      {"creation only", false, true, 2, {0, 1, 3, 2}},
      {"both", true, true, 3, {0, 1, 2, 3}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SortState sort;
    sort.ListSortKey = {0, 3, 1, 2};
    sort.ListSortDir = {0, 2, 2, 2};
    sort.ObjSortKey = {0, 2, 3, 1};
    sort.ObjSortDir = {0, 2, 1, 2};
    ViewSettings view;
    view.ViewModified = c.modified;
    view.ViewCreated = c.created;
    ResetSortKeys(sort, view);
    EXPECT_EQ(sort.SortKeyCount, c.keyCount);
    EXPECT_EQ(sort.ListSortKey, c.keys);
    EXPECT_EQ(sort.ObjSortKey, c.keys);
    EXPECT_EQ(sort.ListSortDir, (std::array<int16_t, 4>{0, 1, 1, 1}));
    EXPECT_EQ(sort.ObjSortDir, (std::array<int16_t, 4>{0, 1, 1, 1}));
  }
}

TEST(DateFetchFailureMessage, NamesTheKindOfDate) {
  EXPECT_EQ(DateFetchFailureMessage(0), u"");
  EXPECT_EQ(DateFetchFailureMessage(1),
            u"いくつかのオブジェクトの更新日時を、正常に取得できませんでした。\n"
            u"便宜上、日時は\"1899/12/30 00:00:00\"に設定されています。");
  EXPECT_EQ(DateFetchFailureMessage(2).rfind(u"いくつかのオブジェクトの作成日時を、", 0), 0u);
  EXPECT_EQ(DateFetchFailureMessage(3).rfind(u"いくつかのオブジェクトの更新日時・作成日時を、", 0), 0u);
}

}  // namespace
}  // namespace dovetam
