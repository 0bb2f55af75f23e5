// Case-only renames through a temporary name, on a simulated folder that
// ignores letter case (the machines the tests run on have none), and on real
// files where the system's steps must not replace: a second name of the
// file in the new letter case makes a case-sensitive file system take the
// same road.
#include "platform/case_rename.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <string>

#include <gtest/gtest.h>

#include "platform/file_system.h"
#include "platform/utf8_codec.h"
#include "testing/temp_dir.h"

namespace dovetam {
namespace {

// Names in one folder, compared without case; renames never replace.
struct CaseInsensitiveFolder {
  std::map<std::string, std::string> objects;  // upper-case name -> name as stored
  int failOnStep = 0;                           // 1-based call that fails with 75
  int calls = 0;
  std::vector<std::pair<std::string, std::string>> log;

  static std::string Upper(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::toupper(c); });
    return s;
  }
  int Rename(const std::string& from, const std::string& to) {
    log.push_back({from, to});
    if (++calls == failOnStep) return kFsIoError;
    auto it = objects.find(Upper(from));
    if (it == objects.end()) return kFsNotFound;
    if (objects.count(Upper(to)) != 0) return kFsAlreadyExists;
    objects.erase(it);
    objects[Upper(to)] = to;
    return kFsOk;
  }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& o : objects) names.push_back(o.second);
    return names;
  }
  std::function<int(const std::string&, const std::string&)> Fn() {
    return [this](const std::string& a, const std::string& b) { return Rename(a, b); };
  }
};

TEST(CaseRenameTest, DirectRenameIsRefusedButTwoStepsWork) {
  CaseInsensitiveFolder f;
  f.objects["/D/NAME.TXT"] = "/d/name.txt";
  EXPECT_EQ(kFsAlreadyExists, f.Rename("/d/name.txt", "/d/Name.TXT"));
  EXPECT_EQ(kFsOk, RenameThroughTemporary(f.Fn(), "/d/", "name.txt", "Name.TXT"));
  EXPECT_EQ(std::vector<std::string>{"/d/Name.TXT"}, f.Names());
  ASSERT_EQ(3u, f.log.size());
  EXPECT_EQ(f.log[1].second, f.log[2].first);  // through one temporary name
  EXPECT_EQ(0u, f.log[1].second.rfind("/d/.dovetam-case-", 0));
}

TEST(CaseRenameTest, SecondStepFailingUndoesTheFirst) {
  CaseInsensitiveFolder f;
  f.objects["/D/NAME.TXT"] = "/d/name.txt";
  f.failOnStep = 2;
  EXPECT_EQ(kFsIoError, RenameThroughTemporary(f.Fn(), "/d/", "name.txt", "NAME.txt"));
  EXPECT_EQ(std::vector<std::string>{"/d/name.txt"}, f.Names());
  ASSERT_EQ(3u, f.log.size());
  EXPECT_EQ(f.log[0].second, f.log[2].first);
  EXPECT_EQ("/d/name.txt", f.log[2].second);
}

TEST(CaseRenameTest, FirstStepFailingChangesNothing) {
  CaseInsensitiveFolder f;
  f.objects["/D/A"] = "/d/a";
  f.failOnStep = 1;
  EXPECT_EQ(kFsIoError, RenameThroughTemporary(f.Fn(), "/d/", "a", "A"));
  EXPECT_EQ(std::vector<std::string>{"/d/a"}, f.Names());
  EXPECT_EQ(1u, f.log.size());
  f.failOnStep = 0;
  EXPECT_EQ(kFsNotFound, RenameThroughTemporary(f.Fn(), "/d/", "missing", "MISSING"));
}

TEST(CaseRenameTest, ATemporaryNameThatExistsIsSkippedNotReplaced) {
  CaseInsensitiveFolder f;
  f.objects["/D/A"] = "/d/a";
  // Take the next few temporary names the function could choose.
  int taken = 0;
  auto fn = [&](const std::string& from, const std::string& to) {
    if (to.find(".dovetam-case-") != std::string::npos && taken < 3) {
      ++taken;
      f.objects[CaseInsensitiveFolder::Upper(to)] = to;  // someone else's file
      return f.Rename(from, to);                         // refused: exists
    }
    return f.Rename(from, to);
  };
  EXPECT_EQ(kFsOk, RenameThroughTemporary(fn, "/d/", "a", "A"));
  const auto names = f.Names();
  EXPECT_EQ(4u, names.size());  // the three foreign files and "A"
  EXPECT_EQ(1, std::count(names.begin(), names.end(), "/d/A"));
}

// name.txt with its second name NAME.txt (a hard link): the old and the new
// name are the same object, as on a file system that ignores case, so a
// rename from one to the other goes through a temporary name; the second
// step finds NAME.txt there and must be refused, the first undone.
class CaseRenameOnDiskTest : public testing::TempDirTest {
 protected:
  CaseRenameOnDiskTest() {
    dir.MakeFile(u"name.txt", "the file");
    EXPECT_EQ(0, link((dir.native() + "name.txt").c_str(), (dir.native() + "NAME.txt").c_str()));
  }
  std::unique_ptr<FileSystem> fs = CreateSystemFileSystem();
};

TEST_F(CaseRenameOnDiskTest, TheTemporaryNameNeverReplacesTheNewName) {
  const std::vector<std::u16string> before = {u"NAME.txt", u"name.txt"};
  std::unique_ptr<FolderHandle> h;
  ASSERT_EQ(kFsOk, fs->OpenFolder(dir.path(), h));
  EXPECT_EQ(kFsAlreadyExists, fs->Rename(dir.path(), u"name.txt", u"NAME.txt"));
  EXPECT_EQ(before, dir.Names());
  for (const bool checkCase : {true, false}) {
    SCOPED_TRACE(checkCase);
    EXPECT_EQ(kFsAlreadyExists, h->Rename(u"name.txt", u"NAME.txt", checkCase));
    EXPECT_EQ(before, dir.Names());  // no name lost, no temporary name left
  }
  const int fd = open(dir.native().c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
  ASSERT_GE(fd, 0);
  EXPECT_EQ(kFsAlreadyExists, RenameThroughTemporaryAt(fd, "", "name.txt", "NAME.txt"));
  close(fd);
  EXPECT_EQ(kFsAlreadyExists, RenameThroughTemporaryAt(AT_FDCWD, dir.native(), "name.txt", "NAME.txt"));
  EXPECT_EQ(before, dir.Names());
  EXPECT_EQ("the file", dir.ReadFile(u"name.txt"));
}

TEST_F(CaseRenameOnDiskTest, TheFirstStepNeverReplacesAFileAtTheTemporaryName) {
  // Someone else's files at the temporary names this process would choose
  // first (a process that has made no case rename yet starts at 0): each is
  // skipped, and after as many tries as are allowed the rename gives up.
  const std::string prefix = ".dovetam-case-" + std::to_string(getpid()) + "-";
  for (int k = 0; k < 200; ++k) dir.MakeFileBytes(prefix + std::to_string(k), "foreign");
  EXPECT_EQ(kFsAlreadyExists, RenameThroughTemporaryAt(AT_FDCWD, dir.native(), "name.txt", "NAME.txt"));
  EXPECT_EQ(202u, dir.Names().size());
  ASSERT_TRUE(dir.Exists(u"name.txt"));
  EXPECT_EQ("the file", dir.ReadFile(u"name.txt"));
  for (int k = 0; k < 200; ++k) {
    ASSERT_EQ("foreign", dir.ReadFile(DecodeNative(prefix + std::to_string(k)))) << k;
  }
}

}  // namespace
}  // namespace dovetam
