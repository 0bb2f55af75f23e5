// Renames made on a second thread while the run goes on: every case is run
// twice on real files, once with the renames in turn and once overlapped,
// and both runs must end alike: the names on disk, the tables, the log file,
// the log text, the report, the questions and every call that reached the
// file system: those that change the disk or the log in one order, those
// that read in one order (the reads of the run's thread may fall between
// other renames than in turn). The cases make renames and log writes fail in the
// middle of long runs, where later targets were already under way.
//
// Runs killed at random moments show what the log file is for: after a
// crash it tells which renames were made.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <random>
#include <memory>
#include <string>
#include <vector>

#include "core/settings/settings.h"
#include "core/objects/object_table.h"
#include "platform/capacities.h"
#include "platform/dates.h"
#include "platform/utf8_codec.h"
#include "core/rule/date_codes.h"
#include "core/rule/rule_context.h"
#include "core/rule/rule_workspace.h"
#include "core/run/rename_run.h"
#include "core/run/run_environment.h"
#include "core/run/run_journal.h"
#include "testing/fake_message_boxes.h"
#include "testing/faulty_file_system.h"
#include "testing/fixed_clock.h"
#include "core/run/child_process.h"
#include "core/run/log_reading.h"
#include "core/run/run_fixture.h"
#include "testing/temp_dir.h"

namespace dovetam::testing {
namespace {

std::u16string Num(int k) { return FileRun::Numbered(u'f', k, 4); }

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

Outcome RunOnce(const Case& c, bool twoThreads) {
  FileRun run(c.files, c.readsDates ? 0.0 : 1.0);
  std::unique_ptr<FileSystem> real = CreateSystemFileSystem();
  FaultyFileSystem fs(*real);
  run.renameThread = twoThreads;
  std::map<std::u16string, std::u16string> rule;
  for (int k = 1; k <= c.files; ++k) rule[Num(k)] = c.rule(k);
  for (const Fault& f : c.faults) {
    const std::u16string path = f.name.empty()   ? run.journal.LogPath
                                : f.name == u"*" ? std::u16string()
                                                 : run.Folder() + f.name;
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
  out.names = run.Names();
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

// Runs killed at random moments (SIGKILL: nothing of the program runs after
// it), many times over, while renames are under way on the rename thread:
// each kill comes once the run has got to a target chosen at random, as its
// rename visible on disk or its line in the log file shows. Every file is
// still there under one name, and the log file is text only, announcing
// every rename made: read from its start, it gives exactly the names on
// disk (the last rename it announces perhaps not made yet). A third of the
// runs are cycles, in which every target first moves its name's holder
// aside. A run that ended before its kill is tried again with more files.
TEST(KilledRunTest, LeavesALogOfTextOnlyAnnouncingEveryRenameMade) {
  const unsigned seed = std::random_device{}();
  SCOPED_TRACE("seed " + std::to_string(seed));
  std::mt19937 random(seed);
  constexpr int kKills = 21;
  int files = 200;
  for (int kills = 0, tries = 0; kills < kKills; ++tries) {
    ASSERT_LT(tries, kKills + 20) << "too many runs ended before their kill, up to " << files
                                  << " files";
    const bool cycle = kills % 3 == 2;
    const bool byLog = kills % 3 != 0;  // else by the disk
    const int k = std::uniform_int_distribution<int>(1, files - 1)(random);
    SCOPED_TRACE((cycle ? "cycle of " : "distinct names for ") + std::to_string(files) +
                 " files, killed at target " + std::to_string(k) + (byLog ? " (log)" : " (disk)"));
    FileRun run(files);
    run.settings.ReportMode = false;
    const TempDir& dir = run.dir;
    const std::vector<std::u16string> before = run.Names();
    const auto newName = [&](int j) { return cycle ? run.Name(j % files + 1) : run.Name(j, u'g'); };
    std::unique_ptr<FileSystem> fs = CreateSystemFileSystem();
    std::map<std::u16string, std::u16string> rule;
    for (int j = 1; j <= files; ++j) rule[run.Name(j)] = newName(j);
    Child child = Child::Start([&] {
      run.Run(*fs, [&rule](const std::u16string& name) { return rule[name]; });
      return 0;
    });
    ASSERT_TRUE(child.Started());
    // The change line of target k in the log, or its new name on disk.
    const std::string line = EncodeNativeLossy(u"\t-> " + newName(k) + u" 変更開始\r\n");
    const std::string logPath = dir.native() + "log.txt";
    std::string seen;  // the log file so far (it only grows)
    const auto reached = [&] {
      if (!byLog) return run.Exists(newName(k));
      const std::size_t from = seen.size() > line.size() ? seen.size() - line.size() : 0;
      if (FILE* f = std::fopen(logPath.c_str(), "rb")) {
        std::fseek(f, static_cast<long>(seen.size()), SEEK_SET);
        char buffer[1 << 14];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) seen.append(buffer, n);
        std::fclose(f);
      }
      return seen.find(line, from) != std::string::npos;
    };
    const bool midway = child.WaitUntil(reached, "the run to reach target " + std::to_string(k));
    if (::testing::Test::HasFailure()) return;
    child.Kill();
    if (!midway) {
      ASSERT_EQ(0, child.ExitCode()) << "the run ended by itself, but not well";
    }

    const std::vector<std::u16string> names = run.Names();
    ASSERT_EQ(static_cast<std::size_t>(files), names.size()) << "a file is lost";
    const LogReading log =
        ReadLog(dir.Exists(u"log.txt") ? dir.ReadFile(u"log.txt") : std::string(), run.Folder(), before);
    ASSERT_EQ("", log.fault);
    ASSERT_TRUE(log.Matches(names)) << log.announced << " renames announced";
    if (!midway || log.finished) {
      files = std::min(files * 2, 90000);  // too short to be stopped midway
      continue;
    }
    EXPECT_GE(log.announced, cycle ? 2 * k - 2 : k - 1);
    ++kills;
  }
}

}  // namespace
}  // namespace dovetam::testing
