// Memory running out in a rename run, a re-run or a restore, on real files:
// injected into the log text, the report, the tables of the indexes or a
// rename (on the rename thread or on the run's own), it stops the operation
// with a message that begins "メモリ不足のため、", never with an exception or
// an abort. Afterwards the target table holds what is on disk (every name,
// every name before the run, every state), the log file announces every
// rename made, the report is what could be made, ChangeState offers the
// restore, and the restore, with memory again, gives every name back.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/run/log_reading.h"
#include "core/run/run_fixture.h"

namespace dovetam::testing {
namespace {

std::string U8(std::u16string_view s) { return EncodeNativeLossy(s); }

constexpr std::u16string_view kDate = u"2026/01/02 03:04:05";  // the fixed clock

bool StartsWith(std::u16string_view s, std::u16string_view start) {
  return s.substr(0, start.size()) == start;
}
bool EndsWith(std::u16string_view s, std::u16string_view end) {
  return s.size() >= end.size() && s.substr(s.size() - end.size()) == end;
}

std::u16string Two(char16_t letter, int k) {
  return std::u16string{letter, static_cast<char16_t>(u'0' + k / 10),
                        static_cast<char16_t>(u'0' + k % 10)};
}

enum class Op { Run, ReRun, Restore };
// Where memory runs out.
enum class Short {
  LogText,     // the log text passes the text limit halfway through
  Report,      // only the report text does not fit
  IndexTable,  // the listing of folder b/ does not fit in the index
  Rename,      // the rename of b/b10 (to or from) runs out
};

// Folder a/ holds a01..a30, which the rule turns round (each takes the next
// one's name: every one first moves the holder of its new name aside);
// folder b/ holds b01..b30, which take an "x" at the end, among 200 files
// that are no targets; the log and the report are in p/. The rule gives
// the b/ targets a rule error while bErrors is set.
struct Scenario : RunState {
  static constexpr int kEach = 30;

  explicit Scenario(bool thread) {
    renameThread = thread;
    dir.MakeFolder(u"a");
    dir.MakeFolder(u"b");
    dir.MakeFolder(u"p");
    journal.LogPath = dir.PathOf(u"p/dovetam_rename.log");
    objects.Reset(10);
    for (const char16_t letter : {u'a', u'b'}) {
      const std::u16string folder = dir.PathOf(std::u16string(1, letter) + u"/");
      for (int k = 1; k <= kEach; ++k) {
        dir.MakeFile(std::u16string(1, letter) + u"/" + Two(letter, k), "x");
        EXPECT_TRUE(objects.Append(folder, Two(letter, k), false, 1.0, 1.0, Capacities::Small()));
      }
    }
    for (int k = 1; k <= 200; ++k) {
      dir.MakeFile(u"b/z" + Two(u'0', k / 10) + std::u16string(1, u'0' + k % 10), "");
    }
  }

  std::u16string Generate(const std::u16string& name) {
    context.RuleErrorKind = 0;
    context.RuleErrorText.clear();
    const int k = (name[1] - u'0') * 10 + (name[2] - u'0');
    if (name[0] == u'a') return Two(u'a', k % kEach + 1);
    if (bErrors) {
      context.RuleErrorKind = 1;
      context.RuleErrorText = u"規則";
      return u"";
    }
    return name + u"x";
  }

  RunEnvironment Env() {
    return EnvWith(fs, reportPath, [this](const std::u16string& name) { return Generate(name); },
                   host);
  }
  OperationSummary Perform(Op op) {
    boxes.answers.push_front(MsgAnswer::Yes);
    RunEnvironment env = Env();
    switch (op) {
      case Op::Run: return ExecuteRenameRun(env, 1);
      case Op::ReRun: return ExecuteRenameRun(env, 2);
      case Op::Restore: return RestoreNames(env);
    }
    return {};
  }
  // What comes before the operation: for a re-run a run in which the b/
  // targets failed, for a restore a run.
  void Prepare(Op op) {
    if (op == Op::Run) return;
    bErrors = op == Op::ReRun;
    Perform(Op::Run);
    bErrors = false;
    boxes.Clear();
    host.steps.clear();
  }

  // The names on disk, and those the targets bear, as "a/a01" (no z files).
  std::vector<std::u16string> DiskNames() const {
    std::vector<std::u16string> names;
    for (const char16_t* folder : {u"a", u"b"}) {
      for (const std::u16string& n : dir.Names(folder)) {
        if (n[0] != u'z') names.push_back(std::u16string(folder) + u"/" + n);
      }
    }
    std::sort(names.begin(), names.end());
    return names;
  }
  std::vector<std::u16string> TargetNames() const {
    std::vector<std::u16string> names;
    for (int32_t i = 1; i <= objects.ObjCount; ++i) {
      names.push_back(objects.ObjFolder[i].substr(dir.path().size()) + objects.ObjName[i]);
    }
    std::sort(names.begin(), names.end());
    return names;
  }
  static std::vector<std::u16string> Before() {
    std::vector<std::u16string> names;
    for (const char16_t letter : {u'a', u'b'}) {
      for (int k = 1; k <= kEach; ++k) names.push_back(std::u16string{letter, u'/'} + Two(letter, k));
    }
    return names;
  }
  // The name before the run of target i.
  static std::u16string Original(int32_t i) {
    return i <= kEach ? Two(u'a', i) : Two(u'b', i - kEach);
  }
  std::u16string LogFile() const { return DecodeNative(dir.ReadFile(u"p/dovetam_rename.log")); }
  std::u16string ReportFile() const {
    return dir.Exists(u"p/dovetam_report.dat") ? DecodeNative(dir.ReadFile(u"p/dovetam_report.dat"))
                                                : u"";
  }
  LogReading ReadLogFile() const { return ReadLog(dir.ReadFile(u"p/dovetam_rename.log"), dir.path(), Before()); }

  TempDir dir;
  std::unique_ptr<FileSystem> realFs = CreateSystemFileSystem();
  FaultyFileSystem fs{*realFs};
  std::u16string reportPath = dir.PathOf(u"p/dovetam_report.dat");
  RecordingHost host;
  bool bErrors = false;
};

struct MemoryCase {
  const char* label;
  Op op;
  Short where;
  bool thread;
  // A rename that fails (permission denied) in the measuring run too.
  const char16_t* failingRename = nullptr;
};

void AddFaults(Scenario& s, const MemoryCase& c) {
  if (c.failingRename) s.fs.Fail(FsCall::Rename, s.dir.PathOf(c.failingRename), kFsPermissionDenied, 1);
}

class MemoryStopTest : public ::testing::TestWithParam<MemoryCase> {};

TEST_P(MemoryStopTest, StopsWithTheTablesTrueAndTheRestorePossible) {
  const MemoryCase& c = GetParam();
  // The same operation with memory enough, for the sizes of its texts.
  std::size_t logSize = 0, reportSize = 0;
  {
    Scenario m(c.thread);
    m.Prepare(c.op);
    AddFaults(m, c);
    ASSERT_FALSE(m.Perform(c.op).memoryShort);
    logSize = m.journal.LogText.size();
    reportSize = m.host.reportText.size();
  }
  Scenario s(c.thread);
  s.Prepare(c.op);
  AddFaults(s, c);
  switch (c.where) {
    case Short::LogText: s.caps.textLimit = logSize / 2; break;
    case Short::Report: s.caps.textLimit = reportSize - 1; break;
    case Short::IndexTable: s.caps.allocationLimit = 100; break;
    case Short::Rename: s.fs.Fail(FsCall::Rename, s.dir.PathOf(u"b/b10"), kFsOutOfMemory, 1); break;
  }
  const OperationSummary summary = s.Perform(c.op);

  // Stopped, with the message of memory in place of the result; or, when
  // only the report did not fit, the result with that said after it.
  EXPECT_TRUE(summary.performed);
  EXPECT_TRUE(summary.memoryShort);
  ASSERT_GE(s.boxes.Count(), 2u);
  if (c.where == Short::Report) {
    const std::u16string verb = c.op == Op::Restore ? u"復元" : u"変更";
    EXPECT_EQ(u" " + std::u16string(1, u'0' + summary.done / 10) +
                  std::u16string(1, u'0' + summary.done % 10) + u" 個 の オブジェクト名を正常に" +
                  verb + u"しました。\n\nメモリ不足のため、レポートを表示できませんでした。",
              s.boxes.Last().text);
    EXPECT_EQ(MsgIcon::Exclamation, s.boxes.Last().icon);
  } else {
    EXPECT_TRUE(StartsWith(s.boxes.Last().text, u"メモリ不足のため、\n処理を最後まで実行できませんでした。"))
        << U8(s.boxes.Last().text);
    EXPECT_EQ(MsgIcon::Critical, s.boxes.Last().icon);
  }
  const int processed = summary.done + summary.errors;
  if (c.where == Short::Report) {
    EXPECT_EQ(2 * Scenario::kEach, processed) << "every target was done before the report";
  } else {
    EXPECT_GT(processed, 0);
    EXPECT_LT(processed, 2 * Scenario::kEach) << "the operation was stopped halfway";
  }

  // The table holds what is on disk: each target's name, its name before
  // the run while it is changed, and its state.
  EXPECT_EQ(s.DiskNames(), s.TargetNames());
  for (int32_t i = 1; i <= s.objects.ObjCount; ++i) {
    SCOPED_TRACE(U8(Scenario::Original(i)));
    if (s.objects.ObjState[i] == kObjUnchanged) {
      EXPECT_EQ(Scenario::Original(i), s.objects.ObjName[i]);
      EXPECT_EQ(u"", s.objects.ObjOrigName[i]);
    } else {
      EXPECT_EQ(Scenario::Original(i), s.objects.ObjOrigName[i]);
    }
  }

  // The log file announces every rename made, whole lines to its footer.
  const LogReading log = s.ReadLogFile();
  EXPECT_EQ("", log.fault);
  EXPECT_TRUE(log.Matches(s.DiskNames())) << log.announced << " renames announced";
  EXPECT_TRUE(log.finished);
  EXPECT_EQ(0, log.unanswered) << "a rename announced without its outcome line";
  // The file's last block is the log text (with the footer when the log
  // text had no room for it).
  const std::u16string file = s.LogFile();
  const std::size_t block = file.rfind(s.journal.LogText.substr(0, 30));
  ASSERT_NE(std::u16string::npos, block);
  const std::u16string footer =
      std::u16string(kDate) +
      (c.op == Op::Run ? u" 名前変更終了" : c.op == Op::ReRun ? u" 名前再変更終了" : u" 名前復元終了") +
      u"\r\n\r\n";
  const std::u16string_view last = std::u16string_view(file).substr(block);
  EXPECT_TRUE(last == s.journal.LogText || last == s.journal.LogText + footer) << U8(last);
  EXPECT_TRUE(EndsWith(last, footer));
  if (c.op == Op::Run) {
    EXPECT_EQ(0u, block);
  }
  if (c.where == Short::Rename) {
    // b10's rename was announced and not made: its lines end as on a stop.
    EXPECT_NE(std::u16string_view::npos, last.find(u"\t\t中断\r\n\tスキップ(中断)\r\n" + footer));
    EXPECT_GE(summary.errors, 1);
  }

  // The report as far as it could be made: in the window and in its file,
  // or, when it does not fit in memory, in its file alone.
  const std::u16string summaryStart = u"\r\nオブジェクト総数 = 60\r\n";
  // A text limit that keeps the log text short keeps the report, which
  // holds it, out of the window as well.
  if (c.where == Short::Report || c.where == Short::LogText) {
    EXPECT_EQ(u"(レポートはありません。)", s.host.reportText);
  } else {
    EXPECT_EQ(U8(s.host.reportText), U8(s.ReportFile()));
  }
  if (c.where == Short::Report) {
    EXPECT_EQ(reportSize, s.ReportFile().size());
  }
  EXPECT_TRUE(StartsWith(s.ReportFile(), summaryStart));
  EXPECT_TRUE(EndsWith(s.ReportFile(), s.journal.LogText));
  EXPECT_TRUE(s.reportSaved);

  // The restore is offered, and with memory again it gives every name back.
  EXPECT_EQ(3, s.changeState);
  EXPECT_EQ(1, s.listStale);
  EXPECT_NE(std::find(s.host.steps.begin(), s.host.steps.end(), "rebuild"), s.host.steps.end());
  s.caps = Capacities{};
  s.fs.ClearFaults();
  s.boxes.Clear();
  const OperationSummary restored = s.Perform(Op::Restore);
  EXPECT_FALSE(restored.memoryShort);
  EXPECT_EQ(0, restored.errors);
  EXPECT_EQ(Scenario::Before(), s.DiskNames());
  for (int32_t i = 1; i <= s.objects.ObjCount; ++i) EXPECT_EQ(kObjUnchanged, s.objects.ObjState[i]);
  const LogReading after = s.ReadLogFile();
  EXPECT_EQ("", after.fault);
  EXPECT_TRUE(after.Matches(Scenario::Before()));
}

const MemoryCase kMemoryCases[] = {
    {"runLogText", Op::Run, Short::LogText, true},
    {"runLogTextInTurn", Op::Run, Short::LogText, false},
    {"runLogTextWithAFailedRenamePending", Op::Run, Short::LogText, true, u"b/b12"},
    {"runReport", Op::Run, Short::Report, true},
    {"runIndexTable", Op::Run, Short::IndexTable, true},
    {"runRenameOnTheRenameThread", Op::Run, Short::Rename, true},
    {"runRenameInTurn", Op::Run, Short::Rename, false},
    {"reRunLogText", Op::ReRun, Short::LogText, true},
    {"reRunReport", Op::ReRun, Short::Report, true},
    {"reRunIndexTable", Op::ReRun, Short::IndexTable, true},
    {"reRunRenameOnTheRenameThread", Op::ReRun, Short::Rename, true},
    {"restoreLogText", Op::Restore, Short::LogText, false},
    {"restoreReport", Op::Restore, Short::Report, false},
    {"restoreIndexTable", Op::Restore, Short::IndexTable, false},
    {"restoreRename", Op::Restore, Short::Rename, false},
};

INSTANTIATE_TEST_SUITE_P(Cases, MemoryStopTest, ::testing::ValuesIn(kMemoryCases),
                         [](const auto& info) { return std::string(info.param.label); });

// Memory running out at the outcome line of each rename in turn (the text
// limit passed inside that line of the log text): every rename the disk
// shows is counted, has its done entry (a target's final name) and the
// outcome line "正常終了" in the log file, whichever thread made it; a
// rename announced and kept from being made by the stop ends with "中断".
struct RecordCase {
  const char* label;
  Op op;
  bool thread;
};

class MemoryStopRecordTest : public ::testing::TestWithParam<RecordCase> {};

// Where each outcome line "正常終了" of a rename (after a line that
// announces one) begins in a log text.
std::vector<std::size_t> OutcomesOfRenames(std::u16string_view log) {
  std::vector<std::size_t> at;
  for (const std::u16string_view announce : {u" 変更開始\r\n", u" 復元開始\r\n", u" 退避開始\r\n"}) {
    const std::u16string line = std::u16string(announce) + u"\t\t正常終了\r\n";
    for (std::size_t p = log.find(line); p != std::u16string_view::npos; p = log.find(line, p + 1)) {
      at.push_back(p + announce.size());
    }
  }
  std::sort(at.begin(), at.end());
  return at;
}

TEST_P(MemoryStopRecordTest, EveryRenameMadeIsCountedListedAndEndsWellInTheLog) {
  const RecordCase& c = GetParam();
  std::u16string full;
  {
    Scenario m(c.thread);
    m.Prepare(c.op);
    ASSERT_FALSE(m.Perform(c.op).memoryShort);
    full = m.journal.LogText;
  }
  const std::vector<std::size_t> outcomes = OutcomesOfRenames(full);
  ASSERT_GT(outcomes.size(), 40u);
  // The first renames of each kind (evacuations and final renames of a/,
  // those of b/) and then every fifth.
  for (std::size_t k = 0; k < outcomes.size(); k += k < 4 || k + 4 >= outcomes.size() ? 1 : 5) {
    const std::size_t at = outcomes[k];
    Scenario s(c.thread);
    s.Prepare(c.op);
    s.caps.textLimit = at + 3;  // inside the outcome line
    const OperationSummary summary = s.Perform(c.op);
    SCOPED_TRACE("memory short at the outcome line at " + std::to_string(at) + " of the log text");
    ASSERT_TRUE(summary.memoryShort);
    EXPECT_EQ(s.DiskNames(), s.TargetNames());
    // Every final name on disk is counted and listed.
    int32_t finals = 0;
    for (int32_t i = 1; i <= s.objects.ObjCount; ++i) {
      const uint8_t state = s.objects.ObjState[i];
      const std::u16string& folder = s.objects.ObjFolder[i];
      std::u16string entry;
      if (c.op != Op::Restore && (state == kObjChanged || state == kObjTentativelyChanged)) {
        entry = ReportEntryLine(folder + s.objects.ObjOrigName[i], s.objects.ObjName[i],
                                state == kObjChanged ? u"正常変更" : u"仮変更");
      } else if (c.op == Op::Restore && state == kObjUnchanged) {
        entry = ReportEntryLine(folder + s.objects.ObjName[i], u"", u"正常復元");
      } else if (c.op == Op::Restore && state == kObjTentativelyRestored) {
        entry = ReportEntryLine(folder + s.objects.ObjOrigName[i], s.objects.ObjName[i], u"仮復元");
      } else {
        continue;
      }
      ++finals;
      EXPECT_NE(std::u16string::npos, s.journal.ReportDoneList.find(entry))
          << "no done entry for " << U8(s.objects.ObjName[i]);
    }
    EXPECT_EQ(finals, summary.done);
    // Every rename announced in the log file has its outcome, and the one
    // the stop kept from being made is the one that ends with 中断.
    const LogReading log = s.ReadLogFile();
    EXPECT_EQ("", log.fault);
    EXPECT_TRUE(log.Matches(s.DiskNames())) << log.announced << " renames announced";
    EXPECT_TRUE(log.finished);
    EXPECT_EQ(0, log.unanswered);
    // On its own thread the run announces the rename before its record
    // (中断); a rename for the rename thread is announced with its record,
    // so that none is announced at all then.
    const int stopped = Occurrences(s.LogFile().substr(s.LogFile().rfind(full.substr(0, 30))),
                                    u"\t\t中断\r\n");
    if (c.thread) {
      EXPECT_LE(stopped, 1);
    } else {
      EXPECT_EQ(1, stopped);
    }
  }
}

const RecordCase kRecordCases[] = {
    {"runOnTheRenameThread", Op::Run, true},
    {"runInTurn", Op::Run, false},
    {"restore", Op::Restore, false},
};

INSTANTIATE_TEST_SUITE_P(Cases, MemoryStopRecordTest, ::testing::ValuesIn(kRecordCases),
                         [](const auto& info) { return std::string(info.param.label); });

// Memory that does not suffice for the header line: nothing has changed,
// and the message says the operation could not be done.
TEST(MemoryStopBeforeStartTest, ChangesNothing) {
  for (const Op op : {Op::Run, Op::Restore}) {
    Scenario s(true);
    s.Prepare(op);
    const int16_t changeState = s.changeState;
    const std::vector<std::u16string> before = s.DiskNames();
    s.caps.textLimit = 10;
    const OperationSummary summary = s.Perform(op);
    EXPECT_FALSE(summary.performed);
    EXPECT_TRUE(summary.memoryShort);
    EXPECT_EQ(u"メモリ不足のため、処理を実行できませんでした。", s.boxes.Last().text);
    EXPECT_EQ(changeState, s.changeState);
    EXPECT_EQ(before, s.DiskNames());
    EXPECT_EQ(s.DiskNames(), s.TargetNames());
    EXPECT_EQ((std::vector<std::string>{"hourglass", "normal"}), s.host.steps);
  }
}

}  // namespace
}  // namespace dovetam::testing
