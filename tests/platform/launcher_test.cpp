// Starting another program: directly, arguments unchanged, failure reported.
#include "platform/launcher.h"

#include <fcntl.h>
#include <grp.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <functional>
#include <mutex>
#include <vector>

#include "core/run/child_process.h"
#include "testing/temp_dir.h"
#include "testing/wait_until.h"

namespace dovetam {
namespace {

using testing::TempDirTest;

class LauncherTest : public TempDirTest {
 protected:
  // What the launcher posted, in the order posted.
  std::mutex mutex;
  std::vector<std::function<void()>> posted;
  std::unique_ptr<Launcher> launcher = CreateSystemLauncher([this](std::function<void()> work) {
    std::lock_guard<std::mutex> lock(mutex);
    posted.push_back(std::move(work));
  });
  size_t PostedCount() {
    std::lock_guard<std::mutex> lock(mutex);
    return posted.size();
  }
};

TEST_F(LauncherTest, ArgumentsArriveUnchangedWithoutAShell) {
  const std::u16string arg = u"a \"b\" $HOME;`x` 名前";
  // The started program writes its argument beside, then gives the file its
  // name: a file of that name holds the whole argument.
  const std::u16string script = u"printf '%s' \"$1\" > \"$2.part\" && mv \"$2.part\" \"$2\"";
  ASSERT_TRUE(launcher->Start(u"sh", {u"-c", script, u"sh", arg, dir.PathOf(u"got")}));
  ASSERT_TRUE(testing::WaitUntil([&] { return dir.Exists(u"got"); }))
      << "the started program wrote nothing within " << testing::kWaitLimit.count() << " s";
  EXPECT_EQ("a \"b\" $HOME;`x` \xE5\x90\x8D\xE5\x89\x8D", dir.ReadFile(u"got"));
}

TEST_F(LauncherTest, FailsWhenTheProgramCannotBeStarted) {
  EXPECT_FALSE(launcher->Start(u"dovetam-no-such-program", {u"x"}));
  EXPECT_FALSE(launcher->Start(dir.PathOf(u"missing"), {}));
  EXPECT_FALSE(launcher->Start(u"", {}));
  dir.MakeFile(u"not-executable", "#!/bin/sh\n");
  EXPECT_FALSE(launcher->Start(dir.PathOf(u"not-executable"), {}));
}

// A program that starts and then ends with a non-zero exit status reports its
// failure through the poster; one that ends well, or is given no failure
// step, posts nothing. Each program leaves a file as its last act, and the
// failures are looked for once every program has ended.
TEST_F(LauncherTest, PostsTheFailureOfAProgramThatEndsWithAnError) {
  struct Row {
    const char16_t* name;
    int status;
    bool withFailure;
    bool posts;
  } rows[] = {
      {u"ok", 0, true, false},
      {u"no-failure-step", 4, false, false},
      {u"fails", 3, true, true},
  };
  int failures = 0;
  for (const Row& row : rows) {
    const std::u16string script = u"touch \"$1\"; exit " + std::u16string(1, u'0' + row.status);
    std::function<void()> failed;
    if (row.withFailure) failed = [&failures] { ++failures; };
    ASSERT_TRUE(launcher->Start(u"sh", {u"-c", script, u"sh", dir.PathOf(row.name)}, failed));
    ASSERT_TRUE(testing::WaitUntil([&] { return dir.Exists(row.name); })) << "no end of the program with status " << row.status;
  }
  ASSERT_TRUE(testing::WaitUntil([&] { return PostedCount() >= 1; }))
      << "the failing program's failure was not posted";
  // The two that post nothing ended before it; a post of theirs would be here.
  EXPECT_EQ(1u, PostedCount());
  for (const auto& work : posted) work();
  EXPECT_EQ(1, failures);
}

// When the processes a user may have are all taken, Start fails, starts
// nothing and the program goes on: with no room at all, and with room for
// one more process or thread (the program, or the thread that would wait for
// it, but not both). Each row runs in a child process as a user of its own,
// so no other process counts against its limit (the limit does not bind
// root). The program would be "cat" reading a pipe that stays open until
// Start has returned, so a started one is still there to be counted.
TEST(LauncherLimitTest, NoProcessOrThreadToBeHadFailsTheStart) {
  if (geteuid() != 0) GTEST_SKIP() << "taking on a user of its own needs root";
  ASSERT_TRUE(testing::WaitUntil(
      [] { return testing::ThreadCount() <= 1 + testing::kSanitizerThreads; }))
      << "the child is forked while this is the only thread";
  struct Outcome {
    int step;       // 0: done; else the step that could not be taken
    bool started;   // what Start answered
    bool children;  // a process of the child's own stood after it
  };
  for (const int room : {0, 1}) {
    SCOPED_TRACE(room);
    testing::Child child = testing::Child::Start([room] {
      const uid_t user = 1000000000u + static_cast<uid_t>(getpid());
      Outcome o{1, false, false};
      if (setgroups(0, nullptr) != 0 || setgid(user) != 0 || setuid(user) != 0) return o;
      o.step = 2;
      const rlim_t tasks = static_cast<rlim_t>(testing::ThreadCount()) + room;
      const rlimit limit{tasks, tasks};
      int ends[2];
      if (setrlimit(RLIMIT_NPROC, &limit) != 0 || pipe2(ends, O_CLOEXEC) != 0 ||
          dup2(ends[0], 0) != 0) {
        return o;
      }
      auto launcher = CreateSystemLauncher([](std::function<void()>) {});
      o.started = launcher->Start(u"cat", {});
      int status = 0;
      o.children = waitpid(-1, &status, WNOHANG) >= 0;
      close(ends[1]);  // a started cat ends
      o.step = 0;
      return o;
    });
    ASSERT_EQ(0, child.Wait()) << "the child process did not end well (99: it threw)";
    Outcome o{};
    ASSERT_TRUE(child.TakeResult(o));
    ASSERT_EQ(0, o.step) << "the child could not take on its user and limit";
    EXPECT_FALSE(o.started);
    EXPECT_FALSE(o.children) << "a program was started all the same";
  }
}

}  // namespace
}  // namespace dovetam
