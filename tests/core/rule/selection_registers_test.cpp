// Selection operators in the interpreter and their registers: the written
// forms (and the texts that are no operator), the left operand each register
// takes, the start of the right operand by its mark, "=" and "=!", the
// length rule of the "!" register, the application before an operation,
// errors with default and configured symbols, and register growth in both
// builds.
#include <gtest/gtest.h>

#include "core/rule/rule_messages.h"
#include "selection_test_support.h"

namespace dovetam {
namespace {

using testing::Ranges;

struct FormCase {
  const char* name;
  std::u16string text;
  bool second;  // the "!" register
  int16_t code;
  int16_t modifier;
  Ranges right;  // the Selection after the operator: the right operand's start
};

// The operand "abcdef" with (2, 3) selected; the mark M holds (4, 5) and the
// mark M! (5, 6).
const FormCase kForms[] = {
    {"union", u"+", false, 1, 0, {{1, 7}}},
    {"intersection", u"&", false, 2, 0, {{1, 7}}},
    {"leftMinusRight", u"&~", false, 3, 0, {{1, 7}}},
    {"minus", u"-", false, 3, 0, {{1, 7}}},
    {"rightMinusLeft", u"~&", false, 4, 0, {{1, 7}}},
    {"minusInner", u"&~i", false, 3, 1, {{1, 7}}},
    {"minusOuter", u"-o", false, 3, 2, {{1, 7}}},
    {"rightMinusLeftLeft", u"~l&", false, 4, 3, {{1, 7}}},
    {"rightMinusLeftRight", u"~r&", false, 4, 4, {{1, 7}}},
    {"selectionMark", u"+.", false, 1, 0, {{2, 3}}},
    {"markM", u"&@", false, 2, 0, {{4, 5}}},
    {"markSecondOnPlain", u"+@!", false, 1, 0, {{5, 6}}},
    {"secondRegister", u"+!", true, 1, 0, {{1, 7}}},
    {"secondWithM", u"+!@", true, 1, 0, {{4, 5}}},
    {"secondWithSecondMark", u"+!@!", true, 1, 0, {{5, 6}}},
    {"secondModifierAndSelection", u"&~i!.", true, 3, 1, {{2, 3}}},
    {"secondRightMinusLeft", u"~r&!", true, 4, 4, {{1, 7}}},
};

using SelectionRegisters = testing::SelectionFixture;

TEST_P(SelectionRegisters, WrittenFormsFillTheirRegister) {
  for (const FormCase& c : kForms) {
    SCOPED_TRACE(c.name);
    context = RuleContext{};
    Start(u"abcdef", {{4, 5}});
    ASSERT_TRUE(Section(u"M"));
    SetSelection({{5, 6}});
    ASSERT_TRUE(Section(u"M!"));
    SetSelection({{2, 3}});
    ASSERT_TRUE(Section(c.text));
    EXPECT_EQ(Selection(), c.right);
    if (c.second) {
      EXPECT_EQ(ws.OpCode, 0);
      EXPECT_EQ(ws.Op2Code, c.code);
      EXPECT_EQ(ws.Op2Modifier, c.modifier);
      EXPECT_EQ(Pairs(ws.Op2Ranges, ws.Op2Count), (Ranges{{2, 3}}));
      EXPECT_EQ(ws.Op2Length, 6);
    } else {
      EXPECT_EQ(ws.Op2Code, 0);
      EXPECT_EQ(ws.OpCode, c.code);
      EXPECT_EQ(ws.OpModifier, c.modifier);
      EXPECT_EQ(Pairs(ws.OpRanges, ws.OpCount), (Ranges{{2, 3}}));
    }
  }
}

TEST_P(SelectionRegisters, TextsThatAreNoOperatorArePatterns) {
  // Each is read as a side without a group: "+i" is a valid one (the whole
  // window), the others fail on their first character outside the grammar.
  const std::pair<std::u16string, std::u16string> rows[] = {
      {u"~&i", u"~"}, {u"+i", u""}, {u"&i", u"&"}, {u"+!!", u"!"}, {u"+@.", u"@"}, {u"!+", u"!"},
  };
  for (const auto& [text, bad] : rows) {
    SCOPED_TRACE(std::string(text.begin(), text.end()));
    context = RuleContext{};
    Start(u"abc", {{1, 4}});
    EXPECT_EQ(Section(text), bad.empty());
    if (!bad.empty()) {
      EXPECT_EQ(context.RuleErrorText, u"\"?～?\"内で不正な文字\"" + bad + u"\"が使われています。");
    }
    EXPECT_EQ(ws.OpCode, 0);
  }
}

TEST_P(SelectionRegisters, EqualsCopiesTheRegisterAndEmptiesIt) {
  Start(u"abcdef", {{2, 3}});
  ASSERT_TRUE(Section(u"+."));
  SetSelection({{4, 6}});  // the right operand as later sections left it
  ASSERT_TRUE(Section(u"="));
  EXPECT_EQ(ws.OpCode, 0);
  EXPECT_EQ(Selection(), (Ranges{{2, 3}, {4, 6}}));
  EXPECT_FALSE(Section(u"="));
  EXPECT_EQ(context.RuleErrorText, u"\"?=?\"の前に、演算子が指定されていません。");
}

TEST_P(SelectionRegisters, SecondRegisterKeepsTheOperandLength) {
  Start(u"abcdef", {{2, 3}});
  ASSERT_TRUE(Section(u"&!."));
  ws.PendingOperand = u"abcxyz";  // an edit that keeps the length
  ASSERT_TRUE(Section(u"=!"));
  EXPECT_EQ(ws.Op2Code, 0);
  EXPECT_EQ(Selection(), (Ranges{{2, 3}}));

  ASSERT_TRUE(Section(u"+!"));
  ws.PendingOperand = u"abcdefg";  // an edit that changed the length
  EXPECT_FALSE(Section(u"=!"));
  EXPECT_EQ(context.RuleErrorText, u"長さの異なる文字列に\"?=!?\"を用いることはできません。");
  context = RuleContext{};
  EXPECT_FALSE(Section(u"-o!"));
  EXPECT_EQ(context.RuleErrorText, u"長さの異なる文字列に\"?-o!?\"を用いることはできません。");
  // The plain register has no length rule.
  context = RuleContext{};
  EXPECT_TRUE(Sections({u"+", u"="}));

  context = RuleContext{};
  Start(u"abc", {});
  EXPECT_FALSE(Section(u"=!"));
  EXPECT_EQ(context.RuleErrorText, u"\"?=!?\"の前に、演算子が指定されていません。");
}

TEST_P(SelectionRegisters, SecondOperatorTakesTheFirstsResultAsLeftOperand) {
  Start(u"abcdef", {{2, 3}});
  ASSERT_TRUE(Section(u"+."));
  SetSelection({{4, 5}});
  ASSERT_TRUE(Section(u"&."));
  EXPECT_EQ(ws.OpCode, 2);
  EXPECT_EQ(Pairs(ws.OpRanges, ws.OpCount), (Ranges{{2, 3}, {4, 5}}));
  EXPECT_EQ(Selection(), (Ranges{{4, 5}}));  // "." keeps the Selection as it was
}

TEST_P(SelectionRegisters, MarksOfTheRightOperandAreChecked) {
  const std::pair<std::u16string, std::u16string> rows[] = {
      {u"+@", u"\"?+@?\"の前に、\"?M?\"が指定されていません。"},
      {u"+!@!", u"\"?+!@!?\"の前に、\"?M!?\"が指定されていません。"},
      {u"~l&@!", u"\"?~l&@!?\"の前に、\"?M!?\"が指定されていません。"},
  };
  for (const auto& [text, message] : rows) {
    context = RuleContext{};
    Start(u"abc", {{1, 2}});
    EXPECT_FALSE(Section(text));
    EXPECT_EQ(context.RuleErrorText, message);
  }
  context = RuleContext{};
  Start(u"abc", {{1, 2}});
  ASSERT_TRUE(Section(u"M!"));
  ws.PendingOperand = u"abcd";  // M! of another length
  EXPECT_FALSE(Section(u"&@!"));
  EXPECT_EQ(context.RuleErrorText, u"長さの異なる文字列に\"?&@!?\"を用いることはできません。");
}

TEST_P(SelectionRegisters, MessagesQuoteConfiguredSymbols) {
  settings.ChrQ1 = u"[";
  settings.ChrQ2 = u"]";
  Start(u"abc", {{1, 2}});
  EXPECT_FALSE(Section(u"="));
  EXPECT_EQ(context.RuleErrorText, u"\"[=]\"の前に、演算子が指定されていません。");
  context = RuleContext{};
  EXPECT_FALSE(Section(u"+@"));
  EXPECT_EQ(context.RuleErrorText, u"\"[+@]\"の前に、\"[M]\"が指定されていません。");
  context = RuleContext{};
  Start(u"abc", {{1, 2}});
  ASSERT_TRUE(Section(u"+!"));
  ws.PendingOperand = u"ab";
  EXPECT_FALSE(Section(u"=!"));
  EXPECT_EQ(context.RuleErrorText, u"長さの異なる文字列に\"[=!]\"を用いることはできません。");
}

TEST_P(SelectionRegisters, PendingPlainOperatorIsAppliedBeforeAnEdit) {
  Start(u"abcdef", {{2, 3}});
  EXPECT_TRUE(ApplyPendingSelectionOperator(call));  // nothing pending: no change
  EXPECT_EQ(Selection(), (Ranges{{2, 3}}));
  ASSERT_TRUE(Sections({u"+!.", u"+."}));
  SetSelection({{4, 6}});
  EXPECT_TRUE(ApplyPendingSelectionOperator(call));
  EXPECT_EQ(ws.OpCode, 0);
  EXPECT_EQ(Selection(), (Ranges{{2, 3}, {4, 6}}));
  EXPECT_EQ(ws.Op2Code, 1);  // the "!" register is never applied by an edit
}

TEST_P(SelectionRegisters, RegistersGrowToTheSelectionAndFailWithoutChange) {
  const int32_t n = caps.rangeStep + 1;
  std::u16string operand(static_cast<std::size_t>(2 * n + 2), u'x');
  Ranges many;
  for (int32_t k = 1; k <= n; ++k) many.emplace_back(2 * k, 2 * k + 1);
  Start(operand, many);
  ASSERT_TRUE(Sections({u"+.", u"&!"}));
  EXPECT_EQ(ws.OpCapacity, 2 * n);
  EXPECT_EQ(ws.Op2Capacity, 2 * n);
  EXPECT_EQ(Pairs(ws.Op2Ranges, ws.Op2Count), many);

  for (const std::u16string text : {u"+", u"+!"}) {
    SCOPED_TRACE(std::string(text.begin(), text.end()));
    ResetWorkspace(ws, caps);
    context = RuleContext{};
    Start(operand, many);
    caps.allocationLimit = static_cast<std::size_t>(2 * n);
    EXPECT_FALSE(Section(text));
    EXPECT_EQ(context.RuleErrorText, MemoryMessage());
    EXPECT_EQ(ws.OpCapacity, caps.rangeStep);
    EXPECT_EQ(ws.Op2Capacity, caps.rangeStep);
    caps.allocationLimit = SIZE_MAX;
  }
}

INSTANTIATE_TEST_SUITE_P(Builds, SelectionRegisters, ::testing::ValuesIn(testing::kSelectionBuilds),
                         testing::SelectionBuildName);

}  // namespace
}  // namespace dovetam
