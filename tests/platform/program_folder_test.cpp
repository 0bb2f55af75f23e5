// The folder of the running program: a copy of a small program that prints
// what ProgramFolder() finds (program_folder_probe.cpp) is run from a folder
// near the top and from one deeper than a path the system gives whole. The
// first finds its own folder; the second finds none, and no other folder
// (the root, the current one) stands in for it.
#include "platform/program_folder.h"

#include <fcntl.h>
#include <limits.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/run/child_process.h"
#include "testing/nested_folders.h"
#include "testing/temp_dir.h"

namespace dovetam {
namespace {

using testing::TempDirTest;

// The folder `names` lead to from `base`, opened one level after the other
// (its path may be too long to be given whole); -1 when it cannot be.
int OpenNested(const std::string& base, const std::vector<std::string>& names) {
  int at = open(base.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
  for (const std::string& name : names) {
    if (at < 0) break;
    const int next = openat(at, name.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    close(at);
    at = next;
  }
  return at;
}

// A copy of the probe, "probe", in the open folder `at`.
bool CopyProbe(int at) {
  std::ifstream in(DOVETAM_PROGRAM_FOLDER_PROBE, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (bytes.empty()) return false;
  const int f = openat(at, "probe", O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0755);
  if (f < 0) return false;
  const bool ok = write(f, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
  return close(f) == 0 && ok;
}

class ProgramFolderTest : public TempDirTest {
 protected:
  // Runs the copy of the probe in the open folder `at` from there (its path
  // is not given), and gives what it printed.
  std::string RunProbeIn(int at) {
    const std::string out = dir.native() + "out.txt";
    const int outFd = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (outFd < 0) return "(no output file)";
    testing::Child child = testing::Child::Start([at, outFd] {
      if (fchdir(at) == 0 && dup2(outFd, 1) == 1) execl("./probe", "probe", nullptr);
      return 0;  // not started: nothing printed
    });
    close(outFd);
    EXPECT_EQ(0, child.Wait()) << "the probe did not end well";
    std::ifstream in(out, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }
};

TEST_F(ProgramFolderTest, IsTheFolderOfTheProgramFileOrNoneWhenTooDeep) {
  const int top = OpenNested(dir.native(), {});
  ASSERT_GE(top, 0);
  ASSERT_TRUE(CopyProbe(top));
  EXPECT_EQ("folder:" + dir.native() + "\n", RunProbeIn(top));
  close(top);

  // 18 levels of 240-byte names: more than 4,096 bytes below the temporary
  // folder.
  std::vector<std::string> names;
  std::size_t depth = dir.native().size();
  for (char k = 'a'; k < 'a' + 18; ++k) {
    names.push_back(k + std::string(239, 'x'));
    depth += names.back().size() + 1;
  }
  ASSERT_GT(depth, std::size_t{PATH_MAX});
  ASSERT_TRUE(testing::MakeNestedFolders(dir.native(), names, ""));
  const int deep = OpenNested(dir.native(), names);
  ASSERT_GE(deep, 0);
  ASSERT_TRUE(CopyProbe(deep));
  EXPECT_EQ("folder:\n", RunProbeIn(deep)) << "a folder too deep to be told is none";
  close(deep);
}

}  // namespace
}  // namespace dovetam
