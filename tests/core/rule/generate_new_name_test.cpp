// GenerateNewName through the engine's public entry: the interpreter's
// operands and sections, pairing errors, blank trimming, empty parts and
// names, and the names the file system could not take. Every suite runs under
// the capacities of both builds.
#include "core/rule/change_rule.h"
#include "core/rule/rule_page.h"

#include <gtest/gtest.h>

#include "rule_test_support.h"

namespace dovetam {
namespace {

struct Build {
  const char* name;
  Capacities caps;
};
const Build kBuilds[] = {{"large", Capacities::Large()}, {"small", Capacities::Small()}};

class EngineTest : public ::testing::TestWithParam<Build> {
 protected:
  EngineTest() : engine(settings, fs, GetParam().caps) {
    engine.context.CurPos = 7;
    engine.context.CurTotal = 10;
    engine.context.CurModified = MakeDate(1990, 1, 2, 3, 4, 5);
    engine.context.CurCreated = MakeDate(1991, 6, 7, 8, 9, 10);
  }
  std::u16string Run(const std::u16string& name, const std::u16string& rule1,
                     const std::u16string& rule2 = u"*", bool oneRule = true) {
    engine.rule = ChangeRule{rule1, rule2, oneRule};
    return engine.GenerateNewName(name);
  }

  Settings settings;
  testing::DateOnlyFileSystem fs;
  RuleEngine engine;
};

std::string BuildName(const ::testing::TestParamInfo<Build>& info) { return info.param.name; }

struct RuleCase {
  const char* name;
  std::u16string rule;
  std::u16string expected;  // the new name, or the message
  int16_t kind = 0;
};

// One rule over the whole name "name.txt" (object 7 of 10).
const RuleCase kInterpreterCases[] = {
    {"nameSymbol", u"*", u"name.txt"},
    {"nameTwice", u"**", u"name.txtname.txt"},
    {"textAroundName", u"a*b", u"aname.txtb"},
    {"textAlone", u"abc", u"abc"},
    {"textWithCode", u"x\\03n", u"x007"},
    {"selectionAloneKeepsName", u"?(x)?", u"name.txt"},
    {"selectionAfterText", u"x?(y)?", u"xname.txt"},
    {"selectionsChain", u"*?(a)?", u"name.txt"},
    {"quotedOperand", u"*\"q\\n\"", u"name.txtq7"},
    {"quotedAfterText", u"a\"b\"c", u"abc"},
    {"emptyQuoted", u"[\"\"]", u"[]"},
    {"selectionUnclosed", u"*?abc", u"\"?～?\"の対応が取れていません。", 1},
    {"operationUnclosed", u"*/i:a", u"\"/～/\"の対応が取れていません。", 1},
    {"quoteUnclosed", u"\"abc", u"\"\"～\"\"の対応が取れていません。", 1},
    {"expansionError", u"*x\\q", u"\"\\～\"内で不正な文字\"q\"が使われています。", 1},
    {"operationTooManyColons", u"*/i:a:b/", u"\"/～/\"内の\":\"が多すぎます。", 1},
    {"operationNoSymbol", u"*//", u"\"/～/\"の記号が指定されていません。", 1},
    {"operationNoSymbolForm2", u"*/:X/", u"\"/～:～/\"の記号が指定されていません。", 1},
    {"operationFormOneHasNoI", u"*/i/", u"\"/～/\"で存在しない記号\"i\"が使われています。", 1},
    {"operationFormTwoHasNoE", u"*/ e :X/", u"\"/～:～/\"で存在しない記号\"e\"が使われています。", 1},
    {"loneQuestionMark", u"*?", u"\"?～?\"の対応が取れていません。", 1},
    {"forbiddenCharRefused", u"a:b", u"生成名\"a:b\"に禁則文字\":\"が含まれています。", 2},
    {"emptyRule", u"", u"生成名が空\"\"です。", 2},
};

class InterpreterTest : public EngineTest {};

TEST_P(InterpreterTest, RuleCases) {
  for (const RuleCase& c : kInterpreterCases) {
    SCOPED_TRACE(c.name);
    const std::u16string got = Run(u"name.txt", c.rule);
    EXPECT_EQ(engine.context.RuleErrorKind, c.kind);
    if (c.kind == 0) {
      EXPECT_EQ(got, c.expected);
    } else {
      EXPECT_EQ(got, u"");
      EXPECT_EQ(engine.context.RuleErrorText, c.expected);
    }
  }
}

TEST_P(InterpreterTest, ConfiguredSectionSymbols) {
  settings.ChrQ1 = u"[";
  settings.ChrQ2 = u"]";
  EXPECT_EQ(Run(u"n", u"*]"), u"");
  EXPECT_EQ(engine.context.RuleErrorText, u"\"[～]\"の対応が取れていません。");
  EXPECT_EQ(Run(u"n", u"*[[x]"), u"");
  EXPECT_EQ(engine.context.RuleErrorText, u"\"[～]\"の対応が取れていません。");
  EXPECT_EQ(Run(u"n", u"*[(x)]"), u"n");
  settings.ChrS1 = u"{";
  settings.ChrS2 = u"}";
  settings.ChrDq1 = u"«";
  settings.ChrDq2 = u"»";
  EXPECT_EQ(Run(u"n", u"*}"), u"");
  EXPECT_EQ(engine.context.RuleErrorText, u"\"{～}\"の対応が取れていません。");
  EXPECT_EQ(Run(u"n", u"«a«b»"), u"");
  EXPECT_EQ(engine.context.RuleErrorText, u"\"«～»\"の対応が取れていません。");
  EXPECT_EQ(Run(u"n", u"x»"), u"");
  EXPECT_EQ(engine.context.RuleErrorText, u"\"«～»\"の対応が取れていません。");
  settings.NgStr = u"";
  EXPECT_EQ(Run(u"n", u"«a\"b»x"), u"a\"bx");
}

TEST_P(InterpreterTest, EscapedSymbolsAreLiteralText) {
  settings.EscapeMode = true;
  settings.NgStr = u"";
  EXPECT_EQ(Run(u"n", u"^*^?^\"^^*"), u"*?\"^n");
  EXPECT_EQ(engine.context.RuleErrorKind, 0);
}

TEST_P(InterpreterTest, FailureDiscardsEverythingAndNextCallStartsClean) {
  EXPECT_EQ(Run(u"abc", u"*x\\q*"), u"");
  EXPECT_EQ(engine.context.RuleErrorKind, 1);
  EXPECT_EQ(Run(u"abc", u"*-*"), u"abc-abc");
  EXPECT_EQ(engine.context.RuleErrorKind, 0);
  EXPECT_EQ(engine.context.RuleErrorText, u"\"\\～\"内で不正な文字\"q\"が使われています。");  // left as it was
}

// A rule of a few dozen characters that joins all clip items once per clip
// item (here 2999 items of one character) ends in an error instead of
// building a text that grows with the square of the list; and quoted
// operands of a million blanks each may not pile up without bound either.
TEST_P(InterpreterTest, OutputBeyondTheLimitIsRefusedAsMemoryShort) {
  EXPECT_EQ(Run(u"n", u"\"\\03000n\"?(0)?/c/\"<\\C\\c>\"/r/"), u"");
  EXPECT_EQ(engine.context.RuleErrorKind, 1);
  EXPECT_EQ(engine.context.RuleErrorText, u"メモリ不足のため、処理を実行できませんでした。");
  std::u16string quoted;
  for (int k = 0; k < 5; ++k) quoted += u"\"\\1000000%n\"";
  EXPECT_EQ(Run(u"n", quoted), u"");
  EXPECT_EQ(engine.context.RuleErrorText, u"メモリ不足のため、処理を実行できませんでした。");
  EXPECT_EQ(Run(u"n", u"\"\\1000000%n\"/r/\"\\1000000%n\"/r/*"), u"n");
  EXPECT_EQ(engine.context.RuleErrorKind, 0);
}

INSTANTIATE_TEST_SUITE_P(Builds, InterpreterTest, ::testing::ValuesIn(kBuilds), BuildName);

struct ScopeCase {
  const char* name;
  int16_t spaceMode;
  bool saveMode;
  std::u16string name_;
  std::u16string rule1;
  std::u16string rule2;
  std::u16string expected;  // the new name, or the message
  int16_t kind = 0;
};

// Two rules (chkRule unchecked), around the last ".".
const ScopeCase kScopeCases[] = {
    {"noDotUsesFirstRuleOnly", 2, true, u"readme", u"*-1", u"\\q", u"readme-1"},
    {"twoParts", 2, true, u"a.b.txt", u"[*]", u"(*)", u"[a.b].(txt)"},
    {"secondRuleOnExtension", 2, true, u"a.txt", u"*", u"x*", u"a.xtxt"},
    {"firstRuleErrorStopsSecond", 2, true, u"a.txt", u"\\q", u"/", u"\"\\～\"内で不正な文字\"q\"が使われています。", 1},
    {"secondRuleError", 2, true, u"a.txt", u"*", u"*/", u"\"/～/\"の対応が取れていません。", 1},
    {"emptyExtensionRefused", 2, true, u"name.", u"*", u"*", u"生成名\"name.\"に空の部分が含まれています。", 2},
    {"emptyBaseRefused", 2, true, u".bashrc", u"*", u"*", u"生成名\".bashrc\"に空の部分が含まれています。", 2},
    {"emptyExtensionAllowed", 2, false, u"name.txt", u"*", u"", u"name"},
    {"emptyExtensionTrimsWithModeOne", 1, false, u"name .txt", u" * ", u"", u"name"},
    {"modeOneKeepsBlanksAtDot", 1, true, u" a . b ", u"*", u"*", u"a . b"},
    {"modeTwoTrimsAtDot", 2, true, u" a . b ", u"*", u"*", u"a.b"},
    {"modeZeroKeepsAll", 0, true, u" a . b ", u"*", u"*", u" a . b "},
    {"fullWidthBlankStays", 2, true, u"\u3000a.b", u"*", u"*", u"\u3000a.b"},
    {"emptyBaseAllowedWithoutSaveMode", 2, false, u".txt", u"*", u"*", u".txt"},
    {"blankBaseTrimmedToEmpty", 2, true, u"a.txt", u"  ", u"*", u"生成名\".txt\"に空の部分が含まれています。", 2},
    {"dotOnlyNameRefused", 2, false, u"a.b", u".", u"", u"生成名\".\"は名前として使用できません。", 2},
};

class ScopeTest : public EngineTest {};

TEST_P(ScopeTest, TwoRules) {
  for (const ScopeCase& c : kScopeCases) {
    SCOPED_TRACE(c.name);
    settings.SpaceMode = c.spaceMode;
    settings.SaveMode = c.saveMode;
    const std::u16string got = Run(c.name_, c.rule1, c.rule2, false);
    EXPECT_EQ(engine.context.RuleErrorKind, c.kind);
    if (c.kind == 0) {
      EXPECT_EQ(got, c.expected);
    } else {
      EXPECT_EQ(got, u"");
      EXPECT_EQ(engine.context.RuleErrorText, c.expected);
    }
  }
}

TEST_P(ScopeTest, OneRuleTrimsBothEndsAndRefusesEmptyName) {
  struct Row { const char* name; int16_t mode; std::u16string rule; std::u16string expected; };
  const Row rows[] = {
      {"modeOne", 1, u"  *  ", u"a.b"},
      {"modeTwo", 2, u"  *  ", u"a.b"},
      {"modeZero", 0, u"  *  ", u"  a.b  "},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    settings.SpaceMode = r.mode;
    EXPECT_EQ(Run(u"a.b", r.rule), r.expected);
  }
  for (int16_t mode : {1, 2}) {
    SCOPED_TRACE(mode);
    settings.SpaceMode = mode;
    EXPECT_EQ(Run(u"a.b", u"   "), u"");
    EXPECT_EQ(engine.context.RuleErrorKind, 2);
    EXPECT_EQ(engine.context.RuleErrorText, u"生成名が空\"\"です。");
  }
}

TEST_P(ScopeTest, NamesTheFileSystemCannotTake) {
  settings.NgStr = u"";
  struct Row { const char* name; std::u16string rule; std::u16string message; };
  const Row rows[] = {
      {"slash", u"\"a/b\"", u"生成名\"a/b\"に名前に使用できない文字\"/\"が含まれています。"},
      {"dot", u".", u"生成名\".\"は名前として使用できません。"},
      {"dotDot", u"..", u"生成名\"..\"は名前として使用できません。"},
      {"nul", u"a" + std::u16string(1, u'\0') + u"b",
       u"生成名\"a" + std::u16string(1, u'\0') + u"b\"に名前に使用できない文字\"NUL\"が含まれています。"},
      {"loneHighSurrogate", u"a\xD800", u"生成名\"a\xD800\"に保存できない文字が含まれています。"},
      {"loneLowSurrogate", u"\xDC00", u"生成名\"\xDC00\"に保存できない文字が含まれています。"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    EXPECT_EQ(Run(u"x", r.rule), u"");
    EXPECT_EQ(engine.context.RuleErrorKind, 2);
    EXPECT_EQ(engine.context.RuleErrorText, r.message);
  }
  // A byte of a name that is not UTF-8, and a real pair, go through.
  EXPECT_EQ(Run(u"\xDC80x", u"*"), u"\xDC80x");
  EXPECT_EQ(Run(u"x", u"\xD83D\xDE00"), u"\xD83D\xDE00");
  EXPECT_EQ(engine.context.RuleErrorKind, 0);
}

// A name may hold 255 bytes on disk: three for a kana, four for a pair, one
// for a byte of a name that is not UTF-8. A longer one is refused, and the
// preview shows the refusal.
TEST_P(ScopeTest, NamesLongerThanTheSystemAllows) {
  struct Row { const char* name; std::u16string newName; bool fits; };
  const Row rows[] = {
      {"255 ASCII", std::u16string(255, u'a'), true},
      {"256 ASCII", std::u16string(256, u'a'), false},
      {"85 kana", std::u16string(85, u'あ'), true},
      {"100 kana (300 bytes)", std::u16string(100, u'あ'), false},
      {"63 pairs and 3 ASCII", u"abc" + [] { std::u16string p; for (int i = 0; i < 63; ++i) p += u"\xD83D\xDE00"; return p; }(), true},
      {"255 odd bytes", std::u16string(255, u'\xDC80'), true},
      {"256 odd bytes", std::u16string(256, u'\xDC80'), false},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    const std::u16string got = Run(r.newName, u"*");
    if (r.fits) {
      EXPECT_EQ(engine.context.RuleErrorKind, 0);
      EXPECT_EQ(got, r.newName);
      continue;
    }
    EXPECT_EQ(got, u"");
    EXPECT_EQ(engine.context.RuleErrorKind, 2);
    EXPECT_EQ(engine.context.RuleErrorText, u"生成名\"" + r.newName + u"\"は名前として使用できません。");
    EXPECT_EQ(PreviewText(got, engine.context), u"<" + engine.context.RuleErrorText + u">");
  }
  // Two rules: the parts together count.
  EXPECT_EQ(Run(std::u16string(200, u'a') + u"." + std::u16string(60, u'b'), u"*", u"*", false), u"");
  EXPECT_EQ(engine.context.RuleErrorKind, 2);
}

INSTANTIATE_TEST_SUITE_P(Builds, ScopeTest, ::testing::ValuesIn(kBuilds), BuildName);

}  // namespace
}  // namespace dovetam
