// Clip list operations of operation sections on an operand with chosen
// ranges: copy and cut with their order and append forms, the paste forms
// with both cursors, the rewinds, dropping the operand, and the growth of the
// list in both builds, including its failure.
#include <gtest/gtest.h>

#include "operation_fixture.h"
#include "core/rule/operand_rebuild.h"

namespace dovetam::testing {
namespace {

using Items = std::vector<std::u16string>;

class ClipOperationTest : public OperationTest {};

TEST_P(ClipOperationTest, CopyAndCut) {
  struct Row {
    const char* name;
    std::u16string section;
    std::u16string text;
    Ranges after;
    Items items;
    bool pending;
  };
  // ‹abcdef› with ‹b› and ‹de› selected, the list holding ‹old›.
  const Row rows[] = {
      {"copy", u"/c/", u"abcdef", {{2, 3}, {4, 6}}, {u"b", u"de"}, true},
      {"copyReverse", u"/cr/", u"abcdef", {{2, 3}, {4, 6}}, {u"de", u"b"}, true},
      {"copyAppend", u"/c&/", u"abcdef", {{2, 3}, {4, 6}}, {u"old", u"b", u"de"}, true},
      {"copyReverseAppend", u"/cr&/", u"abcdef", {{2, 3}, {4, 6}}, {u"old", u"de", u"b"}, true},
      {"copyAppendReverse", u"/c&r/", u"abcdef", {{2, 3}, {4, 6}}, {u"old", u"de", u"b"}, true},
      {"copyAndDrop", u"/C/", u"abcdef", {{2, 3}, {4, 6}}, {u"b", u"de"}, false},
      {"copyAndDropReverseAppend", u"/Cr&/", u"abcdef", {{2, 3}, {4, 6}}, {u"old", u"de", u"b"}, false},
      {"cut", u"/x/", u"acf", {{2, 2}, {3, 3}}, {u"b", u"de"}, true},
      {"cutReverse", u"/xr/", u"acf", {{2, 2}, {3, 3}}, {u"de", u"b"}, true},
      {"cutAppend", u"/x&/", u"acf", {{2, 2}, {3, 3}}, {u"old", u"b", u"de"}, true},
      {"cutAppendReverse", u"/x&r/", u"acf", {{2, 2}, {3, 3}}, {u"old", u"de", u"b"}, true},
      {"cutAndDrop", u"/X/", u"acf", {{2, 2}, {3, 3}}, {u"b", u"de"}, false},
      {"cutAndDropReverse", u"/Xr/", u"acf", {{2, 2}, {3, 3}}, {u"de", u"b"}, false},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    SetOperand(u"abcdef", {{2, 3}, {4, 6}});
    SetClipItems({u"old"});
    ws.ClipFront = 7;
    ws.ClipBack = -2;
    ws.MarkFlags = 3;
    ASSERT_TRUE(Run(r.section));
    EXPECT_EQ(ws.PendingOperand, r.text);
    EXPECT_EQ(Selection(), r.after);
    EXPECT_EQ(ClipItems(), r.items);
    EXPECT_EQ(ws.ClipFront, 1);
    EXPECT_EQ(ws.ClipBack, static_cast<int32_t>(r.items.size()));
    EXPECT_EQ(ws.OperandPending, r.pending);
    const bool cut = r.section[1] == u'x' || r.section[1] == u'X';
    EXPECT_EQ(ws.MarkFlags, cut ? 0 : 3);
  }
}

TEST_P(ClipOperationTest, CopyWithNothingSelected) {
  SetOperand(u"abc", {});
  SetClipItems({u"p", u"q"});
  ws.ClipFront = 2;
  ASSERT_TRUE(Run(u"/c&/"));
  EXPECT_EQ(ClipItems(), (Items{u"p", u"q"}));
  EXPECT_EQ(ws.ClipFront, 1);
  EXPECT_EQ(ws.ClipBack, 2);
  ASSERT_TRUE(Run(u"/c/"));
  EXPECT_EQ(ws.ClipCount, 0);
  EXPECT_EQ(ws.ClipFront, 1);
  EXPECT_EQ(ws.ClipBack, 0);
  ASSERT_TRUE(Run(u"/x/"));
  EXPECT_EQ(ws.PendingOperand, u"abc");
}

TEST_P(ClipOperationTest, PasteOneItemPerRange) {
  struct Row {
    const char* name;
    std::u16string section;
    std::u16string text;
    int32_t front, back;
  };
  // Items A, B, C just copied; ‹x-y› with ‹x› and ‹y› selected.
  const Row rows[] = {
      {"front", u"/v/", u"A-B", 3, 3},
      {"frontPlus", u"/v+/", u"A-B", 3, 3},
      {"frontReverse", u"/vr/", u"B-A", 3, 3},
      {"frontPlusReverse", u"/v+r/", u"B-A", 3, 3},
      {"frontReversePlus", u"/vr+/", u"B-A", 3, 3},
      {"back", u"/v-/", u"C-B", 1, 1},
      {"backReverse", u"/v-r/", u"B-C", 1, 1},
      {"backReverseMinus", u"/vr-/", u"B-C", 1, 1},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    SetOperand(u"x-y", {{1, 2}, {3, 4}});
    SetClipItems({u"A", u"B", u"C"});
    ws.MarkFlags = 3;
    ASSERT_TRUE(Run(r.section));
    EXPECT_EQ(ws.PendingOperand, r.text);
    EXPECT_EQ(Selection(), (Ranges{{1, 2}, {3, 4}}));
    EXPECT_EQ(ws.ClipFront, r.front);
    EXPECT_EQ(ws.ClipBack, r.back);
    EXPECT_EQ(ws.MarkFlags, 0);
  }
}

TEST_P(ClipOperationTest, PasteBeyondTheItemsGivesEmptyTexts) {
  SetOperand(u"x-y", {{1, 2}, {3, 4}});
  SetClipItems({u"A", u"B", u"C"});
  ASSERT_TRUE(Run(u"/v/"));
  SetOperand(u"p-qq-r", {{1, 2}, {3, 5}, {6, 7}});
  ASSERT_TRUE(Run(u"/v/"));
  EXPECT_EQ(ws.PendingOperand, u"C--");
  EXPECT_EQ(Selection(), (Ranges{{1, 2}, {3, 3}, {4, 4}}));
  EXPECT_EQ(ws.ClipFront, 4);
}

TEST_P(ClipOperationTest, ItemsLeftBeyondTheCountAreNeverRead) {
  SetClipItems({u"A", u"B"});
  ws.ClipCount = 0;  // as at the start of the next name part
  SetOperand(u"x-y", {{1, 2}, {3, 4}});
  ASSERT_TRUE(Run(u"/v-/"));
  EXPECT_EQ(ws.PendingOperand, u"-");
  SetOperand(u"x-y", {{1, 2}, {3, 4}});
  ASSERT_TRUE(Run(u"/v/"));
  EXPECT_EQ(ws.PendingOperand, u"-");
}

TEST_P(ClipOperationTest, PasteAll) {
  SetOperand(u"x-y", {{1, 2}, {3, 4}});
  SetClipItems({u"A", u"BC"});
  ws.ClipFront = 2;
  ASSERT_TRUE(Run(u"/V/"));
  EXPECT_EQ(ws.PendingOperand, u"ABC-ABC");
  EXPECT_EQ(Selection(), (Ranges{{1, 4}, {5, 8}}));
  EXPECT_EQ(ws.ClipFront, 2);
  EXPECT_EQ(ws.ClipBack, 2);
  ws.ClipCount = 0;
  ASSERT_TRUE(Run(u"/V/"));
  EXPECT_EQ(ws.PendingOperand, u"-");
  EXPECT_EQ(Selection(), (Ranges{{1, 1}, {2, 2}}));
}

TEST_P(ClipOperationTest, Rewinds) {
  struct Row { const char* name; std::u16string section; int32_t front, back; bool pending; };
  const Row rows[] = {
      {"both", u"/b/", 1, 3, true},        {"front", u"/b+/", 1, 0, true},
      {"back", u"/b-/", 5, 3, true},       {"bothDrop", u"/B/", 1, 3, false},
      {"frontDrop", u"/B+/", 1, 0, false}, {"backDrop", u"/B-/", 5, 3, false},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    SetOperand(u"abc", {{1, 4}});
    SetClipItems({u"A", u"B", u"C"});
    ws.ClipFront = 5;
    ws.ClipBack = 0;
    ws.MarkFlags = 3;
    ASSERT_TRUE(Run(r.section));
    EXPECT_EQ(ws.ClipFront, r.front);
    EXPECT_EQ(ws.ClipBack, r.back);
    EXPECT_EQ(ws.OperandPending, r.pending);
    EXPECT_EQ(ws.PendingOperand, u"abc");
    EXPECT_EQ(ws.MarkFlags, 3);
  }
}

// The list grows to exactly the items one copy needs; in the small build a
// third item already needs growth.
TEST_P(ClipOperationTest, ListGrowsToExactlyTheNeededSize) {
  const int32_t initial = caps.rangeStep;
  EXPECT_EQ(ws.ClipCapacity, initial);
  std::u16string text;
  Ranges ranges;
  for (int32_t i = 0; i <= initial; ++i) {
    ranges.emplace_back(static_cast<int32_t>(text.size()) + 1, static_cast<int32_t>(text.size()) + 2);
    text += static_cast<char16_t>(u'a' + i % 26);
  }
  SetOperand(text, ranges);
  ASSERT_TRUE(Run(u"/c/"));
  EXPECT_EQ(ws.ClipCapacity, initial + 1);
  EXPECT_EQ(ws.ClipCount, initial + 1);
  EXPECT_EQ(ws.ClipItems[static_cast<std::size_t>(initial + 1)], text.substr(text.size() - 1));
  ASSERT_TRUE(Run(u"/c&/"));
  EXPECT_EQ(ws.ClipCapacity, 2 * (initial + 1));
  EXPECT_EQ(ws.ClipItems[1], u"a");
  EXPECT_EQ(ws.ClipItems[static_cast<std::size_t>(initial + 2)], u"a");
  // A shorter copy reuses the table.
  SetOperand(u"q", {{1, 2}});
  ASSERT_TRUE(Run(u"/c/"));
  EXPECT_EQ(ws.ClipCapacity, 2 * (initial + 1));
  EXPECT_EQ(ClipItems(), (Items{u"q"}));
}

TEST_P(ClipOperationTest, GrowthFailureIsMemoryShortAndKeepsTheCapacity) {
  // The clip table cannot grow past its initial size (the range lists of the
  // operand are set up before the limit is put in place).
  const std::size_t limit = static_cast<std::size_t>(caps.rangeStep) + 1;
  const std::u16string text(static_cast<std::size_t>(caps.rangeStep) + 1, u'z');
  Ranges each;
  for (int32_t i = 1; i <= caps.rangeStep + 1; ++i) each.emplace_back(i, i + 1);

  // Appending: the list keeps its items and both cursors stay.
  SetOperand(u"abcdef", {{1, 2}, {3, 4}});
  SetClipItems(std::initializer_list<std::u16string>{u"A"});
  for (int32_t i = 2; i < caps.rangeStep; ++i) ws.ClipItems[static_cast<std::size_t>(i)] = u"A";
  ws.ClipCount = caps.rangeStep - 1;
  ws.ClipFront = 2;
  ws.ClipBack = 1;
  caps.allocationLimit = limit;
  EXPECT_FALSE(Run(u"/x&/"));
  EXPECT_EQ(context.RuleErrorKind, 1);
  EXPECT_EQ(context.RuleErrorText, u"メモリ不足のため、処理を実行できませんでした。");
  EXPECT_EQ(ws.ClipCapacity, caps.rangeStep);
  EXPECT_EQ(ws.ClipCount, caps.rangeStep - 1);
  EXPECT_EQ(ws.ClipFront, 2);
  EXPECT_EQ(ws.ClipBack, 1);
  EXPECT_EQ(ws.PendingOperand, u"abcdef");
  EXPECT_EQ(Selection(), (Ranges{{1, 2}, {3, 4}}));

  // Starting anew: the list is already empty when growth fails.
  caps.allocationLimit = SIZE_MAX;
  SetOperand(text, each);
  caps.allocationLimit = limit;
  EXPECT_FALSE(Run(u"/cr/"));
  EXPECT_EQ(context.RuleErrorText, u"メモリ不足のため、処理を実行できませんでした。");
  EXPECT_EQ(ws.ClipCount, 0);
  EXPECT_EQ(ws.ClipCapacity, caps.rangeStep);
  EXPECT_EQ(ws.ClipFront, 2);

  // What fits still works.
  each.pop_back();
  caps.allocationLimit = SIZE_MAX;
  SetOperand(text, each);
  caps.allocationLimit = limit;
  EXPECT_TRUE(Run(u"/c/"));
  EXPECT_EQ(ws.ClipCount, caps.rangeStep);
}

// The texts of the list together stay within the operand limit.
TEST_P(ClipOperationTest, ListTextsBeyondTheLimitAreMemoryShort) {
  SetClipItems({std::u16string(static_cast<std::size_t>(kMaxOperandLength) - 2, u'a')});
  SetOperand(u"bc", {{1, 2}, {2, 3}});
  ASSERT_TRUE(Run(u"/c&/"));
  EXPECT_EQ(ws.ClipCount, 3);
  EXPECT_FALSE(Run(u"/c&/"));
  EXPECT_EQ(context.RuleErrorText, u"メモリ不足のため、処理を実行できませんでした。");
  EXPECT_EQ(ws.ClipCount, 3);
  EXPECT_TRUE(Run(u"/x/"));
  EXPECT_EQ(ClipItems(), (Items{u"b", u"c"}));
}

INSTANTIATE_TEST_SUITE_P(Builds, ClipOperationTest, ::testing::ValuesIn(kOperationBuilds), OperationBuildName);

}  // namespace
}  // namespace dovetam::testing
