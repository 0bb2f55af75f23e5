// Starting another program: directly, arguments unchanged, failure reported.
#include "platform/launcher.h"

#include <gtest/gtest.h>

#include "testing/temp_dir.h"
#include "testing/wait_until.h"

namespace dovetam {
namespace {

using testing::TempDirTest;

class LauncherTest : public TempDirTest {
 protected:
  std::unique_ptr<Launcher> launcher = CreateSystemLauncher();
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

}  // namespace
}  // namespace dovetam
