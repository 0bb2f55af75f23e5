// Every error text of the engine, exactly, with the default symbols and with
// configured ones in their places.
#include "core/rule/rule_messages.h"

#include <gtest/gtest.h>

#include "core/settings/settings.h"

namespace dovetam {
namespace {

struct MessageCase {
  const char* name;
  std::u16string got;
  std::u16string expected;
};

Settings Configured() {
  Settings s;
  s.ChrQ1 = u"[";
  s.ChrQ2 = u"]";
  s.ChrS1 = u"{";
  s.ChrS2 = u"}";
  s.ChrDq1 = u"'";
  s.ChrDq2 = u"`";
  s.ChrCol = u";";
  s.ChrYen = u"#";
  s.ChrLt = u"(";
  s.ChrGt = u")";
  s.ChrBar = u"!";
  s.ChrCap = u"~";
  return s;
}

std::vector<MessageCase> Cases() {
  const Settings d;
  const Settings c = Configured();
  return {
      {"selectionPair", PairMessage(d.ChrQ1, d.ChrQ2), u"\"?～?\"の対応が取れていません。"},
      {"selectionPairConfigured", PairMessage(c.ChrQ1, c.ChrQ2), u"\"[～]\"の対応が取れていません。"},
      {"operationPair", PairMessage(d.ChrS1, d.ChrS2), u"\"/～/\"の対応が取れていません。"},
      {"operationPairConfigured", PairMessage(c.ChrS1, c.ChrS2), u"\"{～}\"の対応が取れていません。"},
      {"quotePair", PairMessage(d.ChrDq1, d.ChrDq2), u"\"\"～\"\"の対応が取れていません。"},
      {"quotePairConfigured", PairMessage(c.ChrDq1, c.ChrDq2), u"\"'～`\"の対応が取れていません。"},
      {"repeatPair", PairMessage(d.ChrLt, d.ChrGt), u"\"<～>\"の対応が取れていません。"},
      {"repeatPairConfigured", PairMessage(c.ChrLt, c.ChrGt), u"\"(～)\"の対応が取れていません。"},
      {"memory", MemoryMessage(), u"メモリ不足のため、処理を実行できませんでした。"},
      {"escapeEnd", EscapeEndMessage(d.ChrCap), u"\"^\"の後に文字が指定されていません。"},
      {"escapeEndConfigured", EscapeEndMessage(c.ChrCap), u"\"~\"の後に文字が指定されていません。"},
      {"barOutside", BarOutsideMessage(d.ChrLt, d.ChrGt, d.ChrBar), u"\"<～>\"外では\"|\"を使用できません。"},
      {"barOutsideConfigured", BarOutsideMessage(c.ChrLt, c.ChrGt, c.ChrBar), u"\"(～)\"外では\"!\"を使用できません。"},
      {"codeFormat", CodeFormatMessage(d.ChrYen), u"\"\\～\"内の形式が正しくありません。"},
      {"codeFormatConfigured", CodeFormatMessage(c.ChrYen), u"\"#～\"内の形式が正しくありません。"},
      {"codeDigits", CodeDigitsMessage(d.ChrYen), u"\"\\～\"内の桁数が多すぎます。"},
      {"codeDigitsConfigured", CodeDigitsMessage(c.ChrYen), u"\"#～\"内の桁数が多すぎます。"},
      {"codeChar", CodeCharMessage(d.ChrYen, u"x"), u"\"\\～\"内で不正な文字\"x\"が使われています。"},
      {"codeCharConfigured", CodeCharMessage(c.ChrYen, u"x"), u"\"#～\"内で不正な文字\"x\"が使われています。"},
      {"sumDigits", SumDigitsMessage(d.ChrYen), u"\"\\(～)\"内の桁数が多すぎます。"},
      {"sumDigitsConfigured", SumDigitsMessage(c.ChrYen), u"\"#(～)\"内の桁数が多すぎます。"},
      {"dateModified", DateReadMessage(1), u"オブジェクトの更新日時が取得できませんでした。"},
      {"dateCreated", DateReadMessage(2), u"オブジェクトの作成日時が取得できませんでした。"},
      {"operationColons", OperationColonsMessage(d.ChrS1, d.ChrS2, d.ChrCol), u"\"/～/\"内の\":\"が多すぎます。"},
      {"operationColonsConfigured", OperationColonsMessage(c.ChrS1, c.ChrS2, c.ChrCol),
       u"\"{～}\"内の\";\"が多すぎます。"},
      {"noSymbolForm1", OperationNoSymbolMessage(d.ChrS1, d.ChrS2, d.ChrCol, false),
       u"\"/～/\"の記号が指定されていません。"},
      {"noSymbolForm2", OperationNoSymbolMessage(d.ChrS1, d.ChrS2, d.ChrCol, true),
       u"\"/～:～/\"の記号が指定されていません。"},
      {"noSymbolForm2Configured", OperationNoSymbolMessage(c.ChrS1, c.ChrS2, c.ChrCol, true),
       u"\"{～;～}\"の記号が指定されていません。"},
      {"unknownForm1", OperationUnknownMessage(d.ChrS1, d.ChrS2, d.ChrCol, false, u"q"),
       u"\"/～/\"で存在しない記号\"q\"が使われています。"},
      {"unknownForm2", OperationUnknownMessage(d.ChrS1, d.ChrS2, d.ChrCol, true, u"e"),
       u"\"/～:～/\"で存在しない記号\"e\"が使われています。"},
      {"unknownForm2Configured", OperationUnknownMessage(c.ChrS1, c.ChrS2, c.ChrCol, true, u"e"),
       u"\"{～;～}\"で存在しない記号\"e\"が使われています。"},
      {"widthToWide", WidthLengthMessage(true, u"ab"), u"全角への変換で、変換後の長さが異なる文字列\"ab\"が表れました。"},
      {"widthToNarrow", WidthLengthMessage(false, u"ab"), u"半角への変換で、変換後の長さが異なる文字列\"ab\"が表れました。"},
      {"forbidden", ForbiddenCharMessage(u"a?b", u"?"), u"生成名\"a?b\"に禁則文字\"?\"が含まれています。"},
      {"emptyPart", EmptyPartMessage(u"name", u""), u"生成名\"name.\"に空の部分が含まれています。"},
      {"emptyName", EmptyNameMessage(), u"生成名が空\"\"です。"},
      {"unusableChar", UnusableCharMessage(u"a/b", u"/"), u"生成名\"a/b\"に名前に使用できない文字\"/\"が含まれています。"},
      {"unusableName", UnusableNameMessage(u".."), u"生成名\"..\"は名前として使用できません。"},
      {"unencodable", UnencodableNameMessage(u"x"), u"生成名\"x\"に保存できない文字が含まれています。"},
  };
}

TEST(RuleMessages, ExactTexts) {
  for (const MessageCase& c : Cases()) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.got, c.expected);
  }
}

}  // namespace
}  // namespace dovetam
