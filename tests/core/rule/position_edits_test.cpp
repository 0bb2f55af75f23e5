// Position edits of operation sections (insert, replace, keep, delete) on an
// operand with chosen ranges: the new text, the ranges left behind, the
// expansion of the argument per range and the marks and operator cleared.
#include <gtest/gtest.h>

#include "operation_fixture.h"
#include "platform/utf8_codec.h"
#include "core/rule/operand_rebuild.h"

namespace dovetam::testing {
namespace {

struct EditCase {
  const char* name;
  std::u16string operand;
  Ranges ranges;
  std::u16string section;
  std::u16string text;
  Ranges after;
};

// The operand ‹ghijkl› with ‹hi› (2 to 4) and ‹k› (5 to 6) selected.
const Ranges kTwo = {{2, 4}, {5, 6}};
const EditCase kEditCases[] = {
    {"insertBefore", u"ghijkl", kTwo, u"/i:X/", u"gXhijXkl", {{3, 5}, {7, 8}}},
    {"insertBeforeMinus", u"ghijkl", kTwo, u"/i-:X/", u"gXhijXkl", {{3, 5}, {7, 8}}},
    {"insertBeforeReverse", u"ghijkl", kTwo, u"/ir:X/", u"gXhijXkl", {{3, 5}, {7, 8}}},
    {"insertBeforeMinusReverse", u"ghijkl", kTwo, u"/i-r:X/", u"gXhijXkl", {{3, 5}, {7, 8}}},
    {"insertInsideBefore", u"ghijkl", kTwo, u"/I:X/", u"gXhijXkl", {{2, 5}, {6, 8}}},
    {"insertInsideBeforeReverse", u"ghijkl", kTwo, u"/Ir-:X/", u"gXhijXkl", {{2, 5}, {6, 8}}},
    {"insertAfter", u"ghijkl", kTwo, u"/i+:X/", u"ghiXjkXl", {{2, 4}, {6, 7}}},
    {"insertAfterReverse", u"ghijkl", kTwo, u"/ir+:X/", u"ghiXjkXl", {{2, 4}, {6, 7}}},
    {"insertInsideAfter", u"ghijkl", kTwo, u"/I+:X/", u"ghiXjkXl", {{2, 5}, {6, 8}}},
    {"insertInsideAfterReverse", u"ghijkl", kTwo, u"/I+r:X/", u"ghiXjkXl", {{2, 5}, {6, 8}}},
    {"insertLongerArgument", u"ghijkl", kTwo, u"/I:XY/", u"gXYhijXYkl", {{2, 6}, {7, 10}}},
    {"replace", u"ghijkl", kTwo, u"/p:XY/", u"gXYjXYl", {{2, 4}, {5, 7}}},
    {"replaceReverse", u"ghijkl", kTwo, u"/pr:XY/", u"gXYjXYl", {{2, 4}, {5, 7}}},
    {"replaceEmptyIsDelete", u"ghijkl", kTwo, u"/p:/", u"gjl", {{2, 2}, {3, 3}}},
    {"insertEmptyChangesNothing", u"ghijkl", kTwo, u"/i:/", u"ghijkl", {{2, 4}, {5, 6}}},
    {"insertInsideEmptyChangesNothing", u"ghijkl", kTwo, u"/I:/", u"ghijkl", {{2, 4}, {5, 6}}},
    {"keep", u"ghijkl", kTwo, u"/e/", u"hik", {{1, 3}, {3, 4}}},
    {"delete", u"ghijkl", kTwo, u"/d/", u"gjl", {{2, 2}, {3, 3}}},
    {"insertAtPoint", u"ghi", {{2, 2}}, u"/i:X/", u"gXhi", {{3, 3}}},
    {"insertInsideAtPoint", u"ghi", {{2, 2}}, u"/I:X/", u"gXhi", {{2, 3}}},
    {"touchingRanges", u"abc", {{1, 2}, {2, 3}}, u"/i+:-/", u"a-b-c", {{1, 2}, {3, 4}}},
    {"sameInsertionPointTwice", u"abc", {{2, 2}, {2, 2}}, u"/I:X/", u"aXXbc", {{2, 3}, {3, 4}}},
    {"emptyOperand", u"", {{1, 1}}, u"/i:X/", u"X", {{2, 2}}},
    {"spacesAroundSymbolOnly", u"ab", {{1, 3}}, u"/ i : X /", u" X ab", {{4, 6}}},
    {"keepNothingSelected", u"ghijkl", {}, u"/e/", u"", {}},
    {"deleteNothingSelected", u"ghijkl", {}, u"/d/", u"ghijkl", {}},
    {"keepWholeOperand", u"ghijkl", {{1, 7}}, u"/e/", u"ghijkl", {{1, 7}}},
    {"argumentTakesTheNamePart", u"ab", {{1, 2}}, u"/p:[*]/", u"[ab]b", {{1, 5}}},
};

class PositionEditTest : public OperationTest {};

TEST_P(PositionEditTest, TextAndRangesAfterTheEdit) {
  for (const EditCase& c : kEditCases) {
    SCOPED_TRACE(c.name);
    SetOperand(c.operand, c.ranges);
    ws.MarkFlags = 3;
    ASSERT_TRUE(Run(c.section)) << EncodeNativeLossy(context.RuleErrorText);
    EXPECT_EQ(ws.PendingOperand, c.text);
    EXPECT_EQ(Selection(), c.after);
    EXPECT_EQ(ws.MarkFlags, 0);
    EXPECT_EQ(ws.OpCode, 0);
    EXPECT_TRUE(ws.OperandPending);
  }
}

// Each range gets its own expansion while the argument takes clip items in
// sequence; "r" hands the last range the first item.
TEST_P(PositionEditTest, ArgumentExpandedPerRangeWhileClipItemsAreTaken) {
  struct Row { const char* name; std::u16string section; std::u16string text; Ranges after; };
  const Row rows[] = {
      {"insert", u"/i:\\c/", u"g1hij2kl", {{3, 5}, {7, 8}}},
      {"insertReverse", u"/ir:\\c/", u"g2hij1kl", {{3, 5}, {7, 8}}},
      {"replace", u"/p:\\c/", u"g1j2l", {{2, 3}, {4, 5}}},
      {"replaceReverse", u"/pr:\\c/", u"g2j1l", {{2, 3}, {4, 5}}},
      {"backwardItems", u"/p:\\-c/", u"g2j1l", {{2, 3}, {4, 5}}},
      {"indexedItemIsExpandedOnce", u"/p:\\2c/", u"g2j2l", {{2, 3}, {4, 5}}},
      {"itemsRunOut", u"/I:\\c\\c/", u"g12hijkl", {{2, 6}, {7, 8}}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    SetOperand(u"ghijkl", kTwo);
    SetClipItems({u"1", u"2"});
    ASSERT_TRUE(Run(r.section));
    EXPECT_EQ(ws.PendingOperand, r.text);
    EXPECT_EQ(Selection(), r.after);
  }
}

TEST_P(PositionEditTest, NothingSelectedLeavesTheArgumentUnexpanded) {
  for (const char16_t* section : {u"/d/", u"/p:\\q/", u"/i:\\q/", u"/I+r:\\q/", u"/e/"}) {
    SCOPED_TRACE(EncodeNativeLossy(section));
    SetOperand(u"ghijkl", {});
    ws.MarkFlags = 3;
    ws.OpCode = 1;
    ASSERT_TRUE(Run(section));
    EXPECT_EQ(ws.PendingOperand, std::u16string(section) == u"/e/" ? u"" : u"ghijkl");
    EXPECT_EQ(ws.SelCount, 0);
    EXPECT_EQ(ws.MarkFlags, 0);
    EXPECT_EQ(ws.OpCode, 0);
  }
}

TEST_P(PositionEditTest, ExpansionErrorStopsTheEditUnmade) {
  SetOperand(u"ghijkl", kTwo);
  EXPECT_FALSE(Run(u"/p:a\\q/"));
  EXPECT_EQ(context.RuleErrorKind, 1);
  EXPECT_EQ(context.RuleErrorText, u"\"\\～\"内で不正な文字\"q\"が使われています。");
  EXPECT_EQ(ws.PendingOperand, u"ghijkl");
}

TEST_P(PositionEditTest, EscapedColonAndClosingSymbolBelongToTheArgument) {
  settings.EscapeMode = true;
  SetOperand(u"ab", {{2, 2}});
  ASSERT_TRUE(Run(u"/i:a^:b/"));
  EXPECT_EQ(ws.PendingOperand, u"aa:bb");
  SetOperand(u"ab", {{2, 2}});
  ASSERT_TRUE(Run(u"/i:a^/b/"));
  EXPECT_EQ(ws.PendingOperand, u"aa/bb");
}

// Ranges out of order, overlapping or beyond the operand are refused, never
// read outside the text.
TEST_P(PositionEditTest, UnusableSelectionIsARuleError) {
  const Ranges bad[] = {{{3, 5}, {1, 2}}, {{1, 4}, {3, 5}}, {{2, 9}}, {{0, 2}}, {{3, 2}}};
  for (const Ranges& ranges : bad) {
    for (const char16_t* section : {u"/p:X/", u"/e/", u"/u/", u"/x/", u"/c/", u"/v/", u"/Z/"}) {
      SetOperand(u"abcdef", ranges);
      EXPECT_FALSE(Run(section));
      EXPECT_EQ(context.RuleErrorKind, 1);
      EXPECT_EQ(ws.PendingOperand, u"abcdef");
    }
  }
  SetOperand(u"abcdef", {{3, 5}, {1, 2}});
  EXPECT_FALSE(Run(u"/i+:X/"));
  EXPECT_EQ(context.RuleErrorText, u"\"/i+/\"は、重なり合う範囲や順序の異なる範囲を含む選択には使用できません。");
}

// An operand never grows past its limit: the edit is refused as memory short.
TEST_P(PositionEditTest, OperandTooLongIsMemoryShort) {
  const std::u16string half(static_cast<std::size_t>(kMaxOperandLength / 2), u'a');
  SetOperand(half, {{1, static_cast<int32_t>(half.size()) + 1}});
  ASSERT_TRUE(Run(u"/p:**/"));  // exactly the limit
  EXPECT_EQ(static_cast<int64_t>(ws.PendingOperand.size()), kMaxOperandLength);
  EXPECT_FALSE(Run(u"/i+:a/"));
  EXPECT_EQ(context.RuleErrorText, u"メモリ不足のため、処理を実行できませんでした。");
  EXPECT_EQ(static_cast<int64_t>(ws.PendingOperand.size()), kMaxOperandLength);
}

INSTANTIATE_TEST_SUITE_P(Builds, PositionEditTest, ::testing::ValuesIn(kOperationBuilds), OperationBuildName);

}  // namespace
}  // namespace dovetam::testing
