// Renames made on a second thread while the run goes on: every case is run
// twice on real files, once with the renames in turn and once overlapped,
// and both runs must end alike: the names on disk, the tables, the log file,
// the log text, the report, the questions and every call that reached the
// file system: those that change the disk or the log in one order, those
// that read in one order (the reads of the run's thread may fall between
// other renames than in turn). The cases make renames and log writes fail in the
// middle of long runs, where later targets were already under way.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <set>
#include <sstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/settings.h"
#include "objects/object_table.h"
#include "platform/capacities.h"
#include "platform/dates.h"
#include "platform/utf8_codec.h"
#include "rule/date_codes.h"
#include "rule/rule_context.h"
#include "rule/rule_workspace.h"
#include "run/rename_run.h"
#include "run/run_environment.h"
#include "run/run_journal.h"
#include "testing/fake_message_boxes.h"
#include "testing/faulty_file_system.h"
#include "testing/fixed_clock.h"
#include "testing/temp_dir.h"

namespace dovetam::testing {
namespace {

class NullHost : public RunHost {
 public:
  void ShowHourglass() override {}
  void ShowNormalPointer() override {}
  void ShowReportText(std::u16string text) override { report = std::move(text); }
  void RememberRule() override {}
  void RebuildOrderList() override {}
  std::u16string report;
};

std::u16string Num(int k) {
  std::u16string s = u"f0000";
  for (int d = 4, v = k; d >= 1; --d, v /= 10) s[d] = static_cast<char16_t>(u'0' + v % 10);
  return s;
}

struct Fault {
  FsCall call;
  std::u16string name;  // under w/ ("" for the log file, "*" for every path)
  int error;
  int times = 1;
  int skip = 0;
};

struct Case {
  const char* label;
  int files;
  // New name of file k (1-based); "" keeps it; "!" is a rule error.
  std::function<std::u16string(int k)> rule;
  std::vector<Fault> faults;
  std::vector<MsgAnswer> answers;  // after the confirmation
  // The listing gave no dates and the rule reads the last-modified date
  // through the path, as the rule engine does.
  bool readsDates = false;
};

// Everything a run leaves behind, with the temporary folder's path replaced
// by "<w>".
struct Outcome {
  std::vector<std::u16string> names, targetNames, origNames;
  std::vector<int> states;
  std::u16string logFile, logText, report;
  std::vector<std::u16string> boxes;
  std::vector<std::u16string> changes, reads;  // calls to the file system
  int done = 0, errors = 0, tentative = 0;
};

std::u16string Strip(std::u16string text, const std::u16string& path) {
  for (std::size_t at = text.find(path); at != std::u16string::npos; at = text.find(path, at)) {
    text.replace(at, path.size(), u"<w>");
  }
  return text;
}

// What a run of `files` targets w/f0001.. in a temporary folder works on,
// its confirmation answered Yes.
struct RunSetup {
  explicit RunSetup(int files, double date = 1.0) {
    dir.MakeFolder(u"w");
    objects.Reset(files);
    journal.LogPath = dir.PathOf(u"log.txt");
    for (int k = 1; k <= files; ++k) {
      dir.MakeFile(u"w/" + Num(k), "x");
      EXPECT_TRUE(objects.Append(dir.PathOf(u"w/"), Num(k), false, date, date, Capacities::Large()));
    }
    boxes.QueueAnswer(MsgAnswer::Yes);
  }
  OperationSummary Run(FileSystem& fs, NameGenerator generate) {
    RunEnvironment env{objects,     settings,  fs,      boxes,   clock,
                       journal,     reportPath, reportSaved, changeState, listStale,
                       context,     std::move(generate), host};
    return ExecuteRenameRun(env, 1);
  }

  TempDir dir;
  FakeMessageBoxes boxes;
  FixedClock clock{MakeDate(2026, 1, 2, 3, 4, 5)};
  Settings settings;
  ObjectTable objects;
  RunJournal journal;
  const std::u16string reportPath = dir.PathOf(u"report.txt");
  bool reportSaved = false;
  int16_t changeState = 0;
  int16_t listStale = 0;
  RuleContext context;
  NullHost host;
};

Outcome RunOnce(const Case& c, bool twoThreads) {
  RunSetup run(c.files, c.readsDates ? 0.0 : 1.0);
  std::unique_ptr<FileSystem> real = CreateSystemFileSystem();
  FaultyFileSystem fs(*real);
  fs.twoThreads = twoThreads;
  std::map<std::u16string, std::u16string> rule;
  for (int k = 1; k <= c.files; ++k) rule[Num(k)] = c.rule(k);
  for (const Fault& f : c.faults) {
    const std::u16string path = f.name.empty()   ? run.journal.LogPath
                                : f.name == u"*" ? std::u16string()
                                                 : run.dir.PathOf(u"w/" + f.name);
    fs.Fail(f.call, path, f.error, f.times, f.skip);
  }
  for (MsgAnswer a : c.answers) run.boxes.QueueAnswer(a);
  RuleContext& context = run.context;
  const OperationSummary s = run.Run(fs, [&](const std::u16string& name) {
    context.RuleErrorKind = 0;
    context.RuleErrorText.clear();
    if (c.readsDates) {
      RuleWorkspace ws;
      const Capacities caps = Capacities::Large();
      RuleCall call{run.settings, context, ws, fs, caps};
      DateCodeValue date;
      if (!GetObjectDateCode(call, kDateModified, 7, date)) return std::u16string();
    }
    const std::u16string& to = rule[name];
    if (to == u"!") {
      context.RuleErrorKind = 1;
      context.RuleErrorText = u"規則";
      return std::u16string();
    }
    return to.empty() ? name : to;
  });

  const TempDir& dir = run.dir;
  const ObjectTable& objects = run.objects;
  const std::u16string w = dir.path();
  Outcome out;
  out.names = dir.Names(u"w");
  for (int32_t i = 1; i <= objects.ObjCount; ++i) {
    out.targetNames.push_back(objects.ObjName[i]);
    out.origNames.push_back(objects.ObjOrigName[i]);
    out.states.push_back(objects.ObjState[i]);
  }
  if (dir.Exists(u"log.txt")) out.logFile = Strip(DecodeNative(dir.ReadFile(u"log.txt")), w);
  out.logText = Strip(run.journal.LogText, w);
  out.report = Strip(run.host.report, w);
  for (const auto& b : run.boxes.calls) out.boxes.push_back(Strip(b.text, w));
  for (const auto& [call, path] : fs.calls) {
    const bool read = call == FsCall::ListFolder || call == FsCall::FileExists ||
                      call == FsCall::FolderExists || call == FsCall::GetFullPath ||
                      call == FsCall::GetDateLastModified || call == FsCall::GetDateCreated;
    (read ? out.reads : out.changes).push_back(std::u16string(1, static_cast<char16_t>(u'A' + static_cast<int>(call))) +
                        Strip(path, w));
  }
  out.done = s.done;
  out.errors = s.errors;
  out.tentative = s.tentative;
  return out;
}

class OverlappedRunTest : public ::testing::TestWithParam<Case> {};

TEST_P(OverlappedRunTest, EndsAsTheRenamesInTurn) {
  const Case& c = GetParam();
  const Outcome inTurn = RunOnce(c, false);
  const Outcome overlapped = RunOnce(c, true);
  EXPECT_EQ(inTurn.names, overlapped.names);
  EXPECT_EQ(inTurn.targetNames, overlapped.targetNames);
  EXPECT_EQ(inTurn.origNames, overlapped.origNames);
  EXPECT_EQ(inTurn.states, overlapped.states);
  EXPECT_EQ(EncodeNativeLossy(inTurn.logFile), EncodeNativeLossy(overlapped.logFile));
  EXPECT_EQ(EncodeNativeLossy(inTurn.logText), EncodeNativeLossy(overlapped.logText));
  EXPECT_EQ(EncodeNativeLossy(inTurn.report), EncodeNativeLossy(overlapped.report));
  EXPECT_EQ(inTurn.boxes, overlapped.boxes);
  EXPECT_EQ(inTurn.changes, overlapped.changes);
  EXPECT_EQ(inTurn.reads, overlapped.reads);
  EXPECT_EQ(inTurn.done, overlapped.done);
  EXPECT_EQ(inTurn.errors, overlapped.errors);
  EXPECT_EQ(inTurn.tentative, overlapped.tentative);
  // The case does what it says: something failed where one was injected.
  if (!c.faults.empty()) {
    EXPECT_GT(inTurn.errors + inTurn.tentative + static_cast<int>(inTurn.boxes.size()), 2);
  }
}

std::u16string Distinct(int k) { return u"g" + Num(k).substr(1); }
std::u16string AllSame(int) { return u"same"; }
// Each file takes the next one's name, the last the first's.
std::function<std::u16string(int)> Cycle(int n) {
  return [n](int k) { return Num(k % n + 1); };
}

const Case kCases[] = {
    {"plain", 60, Distinct, {}, {}},
    {"renameNotFound", 60, Distinct, {{FsCall::Rename, u"f0017", kFsNotFound}}, {}},
    {"twoRenameFailures", 60, Distinct,
     {{FsCall::Rename, u"f0005", kFsPermissionDenied}, {FsCall::Rename, u"g0040", kFsAlreadyExists}},
     {}},
    {"lastRenameFails", 60, Distinct, {{FsCall::Rename, u"f0060", kFsPermissionDenied}}, {}},
    {"everyRenameFails", 40, Distinct, {{FsCall::Rename, u"*", kFsPermissionDenied, -1}}, {}},
    {"writeFailsAnsweredNo", 60, Distinct, {{FsCall::Write, u"", kFsIoError, 1, 20}},
     {MsgAnswer::No}},
    {"writeFailsAnsweredYes", 60, Distinct, {{FsCall::Write, u"", kFsIoError, 1, 20}},
     {MsgAnswer::Yes}},
    {"writeFailsAfterARenameFailure", 60, Distinct,
     {{FsCall::Rename, u"f0010", kFsPermissionDenied}, {FsCall::Write, u"", kFsIoError, 1, 30}},
     {MsgAnswer::Yes}},
    {"sameNameNumbered", 50, AllSame, {{FsCall::Rename, u"f0020", kFsPermissionDenied}}, {}},
    {"sameNameTakenFromOutside", 50, AllSame, {{FsCall::Rename, u"same-7", kFsAlreadyExists}}, {}},
    {"cycleWithEvacuations", 30, Cycle(30), {{FsCall::Rename, u"f0012", kFsPermissionDenied}}, {}},
    {"cycleTwoEvacuationsFail", 60, Cycle(60),
     {{FsCall::Rename, u"f0012", kFsAlreadyExists}, {FsCall::Rename, u"f0041", kFsNotFound}}, {}},
    {"cycleEveryRenameFails", 20, Cycle(20), {{FsCall::Rename, u"*", kFsPermissionDenied, -1}}, {}},
    {"cycleFinalRenameFails", 30, Cycle(30),
     {{FsCall::Rename, u"f0020", kFsPermissionDenied, 1, 1}}, {}},
    {"cycleWriteFailsAnsweredYes", 30, Cycle(30), {{FsCall::Write, u"", kFsIoError, 1, 17}},
     {MsgAnswer::Yes}},
    {"cycleWriteFailsAnsweredNo", 30, Cycle(30), {{FsCall::Write, u"", kFsIoError, 1, 18}},
     {MsgAnswer::No}},
    {"cycleReadingDates", 30, Cycle(30), {{FsCall::Rename, u"f0012", kFsPermissionDenied}}, {},
     true},
    {"distinctReadingDates", 60, Distinct, {{FsCall::Rename, u"f0017", kFsNotFound}}, {}, true},
    {"ruleErrorsBetween", 60,
     [](int k) { return k % 7 == 0 ? std::u16string(u"!") : k % 11 == 0 ? Num(k) : Distinct(k); },
     {{FsCall::Rename, u"f0030", kFsNotFound}}, {}},
    {"longRunFailingLate", 300, Distinct,
     {{FsCall::Rename, u"f0250", kFsNotFound}, {FsCall::Rename, u"f0251", kFsNotFound}}, {}},
};

INSTANTIATE_TEST_SUITE_P(Cases, OverlappedRunTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.label); });

// A run killed at some moment (SIGKILL, nothing of the program runs after
// it): every file is still there under its old or its new name, every file
// under its new name has the line that announces its rename in the log file,
// and no rename is logged as done that was not.
TEST(OverlappedRunKillTest, KilledRunLosesNothingAndLogsEveryRenameMade) {
  const int n = 3000;
  bool stoppedMidway = false;
  // Each kill comes some time after the first rename showed on disk, so
  // that a slow or busy machine does not make every moment fall before the
  // run.
  for (const int delayMicros : {0, 500, 2000, 5000, 10000, 20000}) {
    RunSetup run(n);
    run.settings.ReportMode = false;
    const TempDir& dir = run.dir;
    std::unique_ptr<FileSystem> fs = CreateSystemFileSystem();
    ASSERT_TRUE(fs->SafeFromTwoThreads());
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      run.Run(*fs, [](const std::u16string& name) { return u"g" + name.substr(1); });
      _exit(0);
    }
    for (int waited = 0; !dir.Exists(u"w/g0001") && waited < 20'000'000; waited += 100) {
      if (waitpid(child, nullptr, WNOHANG) != 0) break;  // ended (or failed) early
      usleep(100);
    }
    usleep(static_cast<useconds_t>(delayMicros));
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);

    const std::vector<std::u16string> names = dir.Names(u"w");
    const std::set<std::u16string> onDisk(names.begin(), names.end());
    ASSERT_EQ(static_cast<std::size_t>(n), onDisk.size());
    std::set<std::u16string> announced, loggedDone;
    std::istringstream log(dir.Exists(u"log.txt") ? dir.ReadFile(u"log.txt") : std::string());
    std::string line, lastAnnounced;
    while (std::getline(log, line)) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      const std::string arrow = "\t-> ";
      const std::string start = " \xE5\xA4\x89\xE6\x9B\xB4\xE9\x96\x8B\xE5\xA7\x8B";  // 変更開始
      if (line.rfind(arrow, 0) == 0 && line.size() > start.size() &&
          line.compare(line.size() - start.size(), start.size(), start) == 0) {
        lastAnnounced = line.substr(arrow.size(), line.size() - arrow.size() - start.size());
        announced.insert(DecodeNative(lastAnnounced));
      } else if (line == "\t\t\xE6\xAD\xA3\xE5\xB8\xB8\xE7\xB5\x82\xE4\xBA\x86") {  // 正常終了
        loggedDone.insert(DecodeNative(lastAnnounced));
      }
    }
    int renamed = 0;
    for (int k = 1; k <= n; ++k) {
      const std::u16string oldName = Num(k);
      const std::u16string newName = u"g" + oldName.substr(1);
      const bool isOld = onDisk.count(oldName) == 1;
      const bool isNew = onDisk.count(newName) == 1;
      ASSERT_NE(isOld, isNew) << "file " << k << " after " << delayMicros << " us";
      if (isNew) {
        ++renamed;
        EXPECT_EQ(1u, announced.count(newName)) << "unannounced rename of file " << k;
      }
      if (loggedDone.count(newName) == 1) EXPECT_TRUE(isNew) << "logged as done: file " << k;
    }
    if (renamed > 0 && renamed < n) stoppedMidway = true;
  }
  // On any machine some of the moments fall inside the run.
  EXPECT_TRUE(stoppedMidway);
}

}  // namespace
}  // namespace dovetam::testing
