// The log and report writer on its own: report entries and their quoting,
// state entries, the sections of the report.
#include "run/run_journal.h"

#include <gtest/gtest.h>

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
  EXPECT_EQ(u"\"/a/\"\"b\"\"\" \"\" \"s\"\r\n", ReportEntryLine(u"/a/\"b\"", u"", u"s"));
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

}  // namespace
}  // namespace dovetam
