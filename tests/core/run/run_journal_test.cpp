// The log and report writer: report entries and their quoting, state
// entries, the sections of the report, log fields that hold control
// characters, and when the log reaches its file during a run.
#include "core/run/run_journal.h"

#include <gtest/gtest.h>

#include "core/common/decimal_text.h"
#include "core/run/run_fixture.h"
#include "testing/fake_message_boxes.h"
#include "testing/fixed_clock.h"
#include "testing/faulty_file_system.h"

namespace dovetam {
namespace {

class JournalTest : public ::testing::Test {
 protected:
  std::unique_ptr<FileSystem> realFs = CreateSystemFileSystem();
  testing::FakeMessageBoxes boxes;
  testing::FixedClock clock{MakeDate(2026, 1, 2, 3, 4, 5)};
  RunJournal journal;
  JournalWriter writer{journal, JournalServices{*realFs, boxes, clock}};
};

TEST_F(JournalTest, EntryQuotesDoubled) {
  writer.AddReportEntry(kReportDone, u"/a/\"b\"", u"", u"s");
  EXPECT_EQ(u"\"/a/\"\"b\"\"\" \"\" \"s\"\r\n", journal.ReportDoneList);
  journal.ReportDoneList.clear();
  writer.AddReportEntry(kReportDone, u"p", u"n", u"d");
  writer.AddReportEntry(kReportError, u"p", u"n", u"e");
  writer.AddReportEntry(kReportState, u"p", u"n", u"s");
  writer.AddReportEntry(0, u"p", u"n", u"x");
  writer.AddReportEntry(4, u"p", u"n", u"x");
  EXPECT_EQ(u"\"p\" \"n\" \"d\"\r\n", journal.ReportDoneList);
  EXPECT_EQ(u"\"p\" \"n\" \"e\"\r\n", journal.ReportErrorList);
  EXPECT_EQ(u"\"p\" \"n\" \"s\"\r\n", journal.ReportStateList);
}

TEST_F(JournalTest, StateEntries) {
  ObjectTable o;
  o.Reset(10);
  for (uint8_t s = 0; s <= 5; ++s) {
    o.Append(u"/f/", u"cur", false, 0, 0, Capacities::Small());
    o.ObjState[s + 1] = s;
    o.ObjOrigName[s + 1] = s == 0 ? u"" : u"orig";
    writer.AddObjectStateEntry(o, s + 1);
  }
  EXPECT_EQ(
      u"\"/f/cur\" \"\" \"元名\"\r\n\"/f/orig\" \"cur\" \"仮復元名\"\r\n\"/f/orig\" \"cur\" \"変更名\"\r\n"
      u"\"/f/orig\" \"cur\" \"仮変更名\"\r\n\"/f/orig\" \"cur\" \"退避名\"\r\n",
      journal.ReportStateList);
}

TEST_F(JournalTest, ReportWithOnlyErrorsHasNoDoneSection) {
  writer.BeginOperation(JournalKind::Restore);
  journal.ErrorCount = 1;
  writer.AddReportEntry(kReportError, u"/p", u"", u"中断");
  writer.AddReportEntry(kReportState, u"/p", u"", u"元名");
  writer.FinishLog(JournalKind::Restore);
  EXPECT_EQ(
      u"\r\nオブジェクト総数 = 7\r\n正常に復元されたオブジェクト = 0\r\nエラーが発生したオブジェクト = 1\r\n"
      u"\r\n[エラーが発生したオブジェクト]\r\n\r\n\"/p\" \"\" \"中断\"\r\n"
      u"\r\n[エラーが発生したオブジェクトの状態]\r\n\r\n\"/p\" \"\" \"元名\"\r\n"
      u"\r\n[ログ]\r\n\r\n2026/01/02 03:04:05 名前復元開始\r\n2026/01/02 03:04:05 名前復元終了\r\n\r\n",
      writer.BuildReport(JournalKind::Restore, 7));
}

std::string U8(std::u16string_view s) { return EncodeNativeLossy(s); }

// A field with a control character is one $'...' text that the shell reads
// back as the name.
TEST(LogFieldTest, ControlCharactersQuotedAsTheShellReadsThem) {
  const std::pair<std::u16string, std::u16string> cases[] = {
      {u"a\nb", u"$'a\\nb'"},
      {u"c\rd\te", u"$'c\\rd\\te'"},
      {u"bs\\\x7f", u"$'bs\\\\\\x7F'"},
      {u"q'x\x01y", u"$'q\\'x\\x01y'"},
      {u"\na", u"$'\\na'"},
      {u"\n\n", u"$'\\n\\n'"},
      {u"sp ace\n", u"$'sp ace\\n'"},
      {u"a\"b\n$c", u"$'a\"b\\n$c'"},
      {u"あ\tい", u"$'あ\\tい'"},
      {u"x\a\b\v\f\x1b", u"$'x\\x07\\x08\\x0B\\x0C\\x1B'"},
      {std::u16string(u"a\0b", 3), u"$'a\\x00b'"},
      // The bytes of a name that is not UTF-8 are written as the bytes on
      // disk, so that the log stays UTF-8; a C1 control stays as it is.
      {u"\x01\xDCFF", u"$'\\x01\\xFF'"},
      {u"inv\xDCFF", u"$'inv\\xFF'"},
      {u"\xDC80'x", u"$'\\x80\\'x'"},
      {u"\n\u0085", u"$'\\n\u0085'"},
      // Everything else stays as it is.
      {u"plain name", u"plain name"},
      {u"only'quote", u"only'quote"},
      {u"back\\slash \"q\" $x", u"back\\slash \"q\" $x"},
      {u"x\u0085", u"x\u0085"},
      {u"", u""},
  };
  for (const auto& [field, expected] : cases) {
    std::u16string out = u"<";
    AppendLogField(out, field);
    EXPECT_EQ(u"<" + expected, out) << EncodeNativeLossy(field);
  }
  std::u16string out;
  AppendLogField(out, u"/f\n/", u"a'b");
  EXPECT_EQ(u"$'/f\\n/a\\'b'", out);
  out.clear();
  AppendLogField(out, u"/f/", u"a'b");
  EXPECT_EQ(u"/f/a'b", out);
}

using testing::FsCall;
using testing::ReportEntryLine;

class JournalRunTest : public testing::RunTest {
 protected:
  // The lines of the log file (each ended by CR LF).
  std::vector<std::u16string> LogLines() const {
    std::vector<std::u16string> lines;
    const std::u16string text = LogFile();
    std::size_t at = 0;
    for (std::size_t end; (end = text.find(u"\r\n", at)) != std::u16string::npos; at = end + 2) {
      lines.push_back(text.substr(at, end - at));
    }
    EXPECT_EQ(text.size(), at) << "the log ends with a line break";
    return lines;
  }
  // The log writes and the renames, in the order they were made.
  std::vector<FsCall> WritesAndRenames() const {
    std::vector<FsCall> kinds;
    for (const auto& [call, path] : fs.calls) {
      if ((call == FsCall::Write && path == journal.LogPath) || call == FsCall::Rename) {
        kinds.push_back(call);
      }
    }
    return kinds;
  }
};

TEST_F(JournalRunTest, NamesWithLineBreaksAndTabsGiveOneLogLineEach) {
  const std::u16string odd = u"a\nb\rc\td";
  AddTarget(odd);
  AddTarget(u"t\tu");
  AddTarget(u"h\x01");
  Rule(odd, u"h\x01");  // evacuates the later target h\x01 first
  RuleError(u"t\tu", 2, u"t\tu\nは使用できません");
  Rule(u"h\x01", u"n'\n");
  Run();
  EXPECT_EQ((std::vector<std::u16string>{u"h\x01", u"n'\n", u"t\tu"}), Names());

  const std::u16string w = W();
  const std::vector<std::u16string> expected = {
      std::u16string(kDate) + u" 名前変更開始",
      u"$'" + w + u"a\\nb\\rc\\td' :",
      u"\t$'" + w + u"h\\x01' -> $'h\\x01.$1$' 退避開始",
      u"\t\t正常終了",
      u"\t-> $'h\\x01' 変更開始",
      u"\t\t正常終了",
      u"$'" + w + u"t\\tu' :",
      u"\t-> ",
      u"\t\t$'生成名エラー(t\\tu\\nは使用できません)'",
      u"$'" + w + u"h\\x01' (退避名 $'h\\x01.$1$') :",
      u"\t-> $'n\\'\\n' 変更開始",
      u"\t\t正常終了",
      std::u16string(kDate) + u" 名前変更終了",
      u"",
  };
  const std::vector<std::u16string> lines = LogLines();
  ASSERT_EQ(expected.size(), lines.size());
  for (std::size_t k = 0; k < lines.size(); ++k) EXPECT_EQ(U8(expected[k]), U8(lines[k])) << k;
  EXPECT_EQ(U8(journal.LogText), U8(LogFile()));
  // The report keeps its fields as they are; only its log block is quoted.
  EXPECT_NE(std::u16string::npos,
            host.reportText.find(ReportEntryLine(w + odd, u"h\x01", u"正常変更")));
}

TEST_F(JournalRunTest, EachRenameIsAnnouncedInOneWriteJustBeforeIt) {
  AddTarget(u"a.txt");
  AddTarget(u"b.txt");
  AddTarget(u"c.txt");
  AddTarget(u"d.txt");
  Rule(u"a.txt", u"b.txt");  // evacuates b.txt first
  Rule(u"b.txt", u"a.txt");
  Rule(u"c.txt", u"x.txt");  // d.txt keeps its name: no rename, no write
  Run();
  EXPECT_EQ((std::vector<std::u16string>{u"a.txt", u"b.txt", u"d.txt", u"x.txt"}), Names());
  const FsCall write = FsCall::Write, rename = FsCall::Rename;
  // The header; each rename right after the one write that announces it
  // (with the lines collected before it); the rest at the end.
  EXPECT_EQ((std::vector<FsCall>{write, write, rename, write, rename, write, rename, write, rename,
                                 write}),
            WritesAndRenames());
  EXPECT_EQ(U8(journal.LogText), U8(LogFile()));
}

TEST_F(JournalRunTest, ReportFileWrittenInPiecesHoldsTheWholeReport) {
  // Long enough for several pieces, with surrogate pairs at every place a
  // piece could end.
  std::u16string face;
  for (int k = 0; k < 100; ++k) face += u"\U0001F600";
  for (int k = 0; k < 3000; ++k) {
    AddTargetOnly(face.substr(0, 2 * (k % 100 + 1)) + u"-" + DecimalText(k));
  }
  Run();
  EXPECT_GT(host.reportText.size(), std::size_t{1} << 20);
  EXPECT_EQ(U8(host.reportText), U8(ReportFile()));
  EXPECT_GT(fs.CountCalls(FsCall::Write, reportPath), 1u);
}

}  // namespace
}  // namespace dovetam
