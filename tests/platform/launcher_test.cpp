// Starting another program: directly, arguments unchanged, failure reported.
#include "platform/launcher.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "testing/temp_dir.h"

namespace dovetam {
namespace {

using testing::TempDirTest;

class LauncherTest : public TempDirTest {
 protected:
  std::unique_ptr<Launcher> launcher = CreateSystemLauncher();
};

TEST_F(LauncherTest, ArgumentsArriveUnchangedWithoutAShell) {
  const std::string fifo = dir.native() + "fifo";
  ASSERT_EQ(0, mkfifo(fifo.c_str(), 0600));
  const std::u16string arg = u"a \"b\" $HOME;`x` 名前";
  ASSERT_TRUE(launcher->Start(u"sh", {u"-c", u"printf '%s' \"$1\" > \"$2\"", u"sh", arg,
                                      dir.PathOf(u"fifo")}));
  // Opening the fifo waits for the program to open it for writing.
  const int fd = ::open(fifo.c_str(), O_RDONLY);
  ASSERT_GE(fd, 0);
  std::string got;
  char buf[256];
  ssize_t n;
  while ((n = ::read(fd, buf, sizeof buf)) > 0) got.append(buf, static_cast<std::size_t>(n));
  ::close(fd);
  EXPECT_EQ("a \"b\" $HOME;`x` \xE5\x90\x8D\xE5\x89\x8D", got);
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
