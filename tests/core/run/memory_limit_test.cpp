// A rename run under a real limit of the address space (RLIMIT_AS), in
// child processes: memory runs out wherever it happens to, on either thread,
// in the log text, the indexes, the report or the thread's own stack. Each
// child gets a little more room than the one before it, from too little for
// anything to more than the run needs; whatever happens, it must end its run
// cleanly (no abort), with the table holding what is on disk and the log
// announcing every rename made, and then, with the limit lifted, restore
// every name. No memory figure of the machine is assumed: the children stop
// somewhere between nothing and the end, and the test only needs one of
// them to have been stopped for want of memory and one to have finished.
//
// The sanitizers reserve more address space than any limit set here, so the
// test does not run under them.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/run/child_process.h"
#include "core/run/log_reading.h"
#include "core/run/run_fixture.h"
#include "testing/address_space.h"

namespace dovetam::testing {
namespace {

struct ChildResult {
  bool performed = false;
  bool memoryShort = false;
  bool messageOfMemory = false;
  bool tableTrue = false;
  bool logTrue = false;
  bool counted = false;  // every rename made counted and listed
  bool restored = false;
  int32_t done = 0;
};

// One child: the run of `run` with `room` bytes of address space beyond
// what the process holds, then the checks and the restore without a limit.
ChildResult RunWithRoom(FileRun& run, std::size_t room) {
  ChildResult r;
  const std::vector<std::u16string> before = run.Names();
  std::unique_ptr<FileSystem> fs = CreateSystemFileSystem();
  std::map<std::u16string, std::u16string> rule;
  for (int k = 1; k <= run.objects.ObjCount; ++k) rule[run.Name(k)] = run.Name(k, u'g');
  rlimit old{};
  getrlimit(RLIMIT_AS, &old);
  rlimit limited = old;
  limited.rlim_cur = static_cast<rlim_t>(AddressSpace() + room);
  if (setrlimit(RLIMIT_AS, &limited) != 0) return r;
  const OperationSummary s = run.Run(*fs, [&rule](const std::u16string& name) {
    const auto it = rule.find(name);
    return it == rule.end() ? name : it->second;
  });
  setrlimit(RLIMIT_AS, &old);

  r.performed = s.performed;
  r.memoryShort = s.memoryShort;
  r.done = s.done;
  r.messageOfMemory = run.boxes.Count() > 1 &&
                      run.boxes.Last().text.find(u"メモリ不足のため、") != std::u16string::npos;
  std::vector<std::u16string> table;
  bool states = true;
  for (int32_t i = 1; i <= run.objects.ObjCount; ++i) {
    table.push_back(run.objects.ObjName[i]);
    states = states && (run.objects.ObjState[i] == kObjUnchanged
                            ? run.objects.ObjName[i] == run.Name(i)
                            : run.objects.ObjOrigName[i] == run.Name(i));
  }
  std::sort(table.begin(), table.end());
  r.tableTrue = states && table == run.Names();
  int32_t renamed = 0, listed = 0;
  for (int32_t i = 1; i <= run.objects.ObjCount; ++i) {
    if (run.objects.ObjState[i] != kObjChanged) continue;
    ++renamed;
    listed += run.journal.ReportDoneList.find(ReportEntryLine(
                  run.objects.ObjFolder[i] + run.objects.ObjOrigName[i], run.objects.ObjName[i],
                  u"正常変更")) != std::u16string::npos;
  }
  r.counted = s.done == renamed && listed == renamed;
  const std::string logFile = run.dir.Exists(u"log.txt") ? run.dir.ReadFile(u"log.txt") : "";
  const LogReading log = ReadLog(logFile, run.Folder(), before);
  r.logTrue = log.fault.empty() && log.Matches(run.Names()) &&
              (!s.performed || (log.finished && log.unanswered == 0));
  if (s.performed) {
    run.boxes.QueueAnswer(MsgAnswer::Yes);
    RunEnvironment env{run.objects,    run.settings,   *fs,
                       run.renameThread, run.boxes,    run.clock,
                       run.journal,    run.reportPath, run.reportSaved,
                       run.changeState, run.listStale, run.context,
                       nullptr,        run.host};
    const OperationSummary back = RestoreNames(env);
    r.restored = !back.memoryShort && back.errors == 0 && run.Names() == before;
  } else {
    r.restored = run.Names() == before;
  }
  return r;
}

TEST(MemoryLimitTest, RunsEndCleanlyUnderEveryLimit) {
  if (kSanitized) {
    GTEST_SKIP() << "under the sanitizers the address space cannot be limited (their shadow "
                    "memory alone passes any limit): this test runs in the plain builds";
  }
  constexpr int kFiles = 5000;
  int stopped = 0, finished = 0;
  // A quarter more room each time, until two runs have had room enough.
  for (std::size_t room = std::size_t{1} << 20; room <= std::size_t{1} << 30 && finished < 2;
       room += room / 4) {
    FileRun run(kFiles);
    Child child = Child::Start([&] { return RunWithRoom(run, room); });
    ASSERT_TRUE(child.Started());
    const int code = child.Wait();
    ChildResult r;
    ASSERT_EQ(0, code) << "the child with " << room << " bytes of room did not end cleanly";
    ASSERT_TRUE(child.TakeResult(r));
    SCOPED_TRACE(std::to_string(room) + " bytes of room: " + std::to_string(r.done) + " done" +
                 (r.memoryShort ? ", stopped for want of memory" : ""));
    EXPECT_TRUE(r.tableTrue);
    EXPECT_TRUE(r.logTrue);
    EXPECT_TRUE(r.counted) << "a rename made that is not counted or not listed";
    EXPECT_TRUE(r.restored);
    EXPECT_EQ(r.memoryShort, r.messageOfMemory) << "the message of memory, when and only when";
    std::printf("room %9zu: %s, %d of %d renamed\n", room,
                !r.performed ? "nothing done" : r.memoryShort ? "stopped" : "finished", r.done,
                kFiles);
    if (r.performed && r.memoryShort && r.done < kFiles) ++stopped;
    if (r.performed && !r.memoryShort) ++finished;
  }
  EXPECT_GT(stopped, 0) << "no run was stopped part way for want of memory";
  EXPECT_GT(finished, 0) << "no run had room enough to finish";
}

}  // namespace
}  // namespace dovetam::testing
