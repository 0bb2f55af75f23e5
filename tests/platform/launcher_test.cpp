// Starting another program: directly, arguments unchanged, failure reported.
#include "platform/launcher.h"

#include <gtest/gtest.h>

#include <functional>
#include <mutex>
#include <vector>

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

}  // namespace
}  // namespace dovetam
