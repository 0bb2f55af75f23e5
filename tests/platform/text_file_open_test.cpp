// Opening the log and report files on real files: only a regular file of
// exactly the given name is written, nothing is ever waited for, and one
// writer at a time holds the file. Every open that could hang runs in a
// child process with a deadline.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "core/run/child_process.h"
#include "platform/file_system.h"
#include "platform/utf8_codec.h"
#include "testing/temp_dir.h"

namespace dovetam {
namespace {

using testing::Child;
using testing::TempDir;

// Creates (overwriting) or appends, in a child process, writes a line and
// closes; the error number of the open, or -1 when the child gave none.
int OpenInChild(FileSystem& fs, const std::u16string& path, bool create) {
  Child child = Child::Start([&] {
    std::unique_ptr<TextFile> f;
    const int rc = create ? fs.CreateTextFile(path, f) : fs.AppendTextFile(path, f);
    if (rc == kFsOk) {
      f->Write("written\r\n");
      f->Close();
    }
    return rc;
  });
  if (child.Wait() != 0) return -1;
  int rc = -1;
  child.TakeResult(rc);
  return rc;
}

struct NotAFile {
  const char* name;
  // Makes "log" in the folder (and whatever it leads to); returns the
  // descriptor of a reader to close afterwards, or -1.
  std::function<int(const TempDir&)> make;
};
void PrintTo(const NotAFile& c, std::ostream* os) { *os << c.name; }

class TextFileOpenTest : public ::testing::TestWithParam<NotAFile> {};

// Neither creating nor appending writes through "log", cuts what it leads
// to, makes the file a dangling link points at, or waits: each is an error,
// and the folder holds afterwards what it held before.
TEST_P(TextFileOpenTest, OnlyARegularFileOfThatNameIsWritten) {
  for (const bool create : {true, false}) {
    SCOPED_TRACE(create ? "created" : "appended");
    TempDir dir;
    dir.MakeFolder(u"elsewhere");
    dir.MakeFile(u"elsewhere/precious", "keep\n");
    const int reader = GetParam().make(dir);
    const std::string log = dir.native() + "log";
    struct stat before {};
    ASSERT_EQ(0, lstat(log.c_str(), &before));
    std::unique_ptr<FileSystem> fs = CreateSystemFileSystem();
    const int rc = OpenInChild(*fs, dir.PathOf(u"log"), create);
    if (reader >= 0) close(reader);
    EXPECT_NE(-1, rc) << "the open did not return";
    EXPECT_NE(kFsOk, rc);
    EXPECT_EQ("keep\n", dir.ReadFile(u"elsewhere/precious"));
    EXPECT_EQ(std::vector<std::u16string>{u"precious"}, dir.Names(u"elsewhere"));
    struct stat after {};
    ASSERT_EQ(0, lstat(log.c_str(), &after));
    EXPECT_EQ(before.st_ino, after.st_ino);
    EXPECT_EQ(before.st_mode, after.st_mode);
  }
}

int MakeFifo(const TempDir& dir) {
  if (mkfifo((dir.native() + "log").c_str(), 0600) != 0) throw std::runtime_error("mkfifo");
  return -1;
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, TextFileOpenTest,
    ::testing::Values(
        NotAFile{"LinkToAFile",
                 [](const TempDir& d) {
                   d.MakeSymlink(u"log", d.native() + "elsewhere/precious");
                   return -1;
                 }},
        NotAFile{"DanglingLink",
                 [](const TempDir& d) {
                   d.MakeSymlink(u"log", d.native() + "elsewhere/made");
                   return -1;
                 }},
        NotAFile{"RelativeLink",
                 [](const TempDir& d) {
                   d.MakeSymlink(u"log", "elsewhere/precious");
                   return -1;
                 }},
        NotAFile{"HardLink",
                 [](const TempDir& d) {
                   const std::string target = d.native() + "elsewhere/precious";
                   if (link(target.c_str(), (d.native() + "log").c_str()) != 0) {
                     throw std::runtime_error("link");
                   }
                   return -1;
                 }},
        NotAFile{"FifoWithoutReader", MakeFifo},
        NotAFile{"FifoWithReader",
                 [](const TempDir& d) {
                   MakeFifo(d);
                   return open((d.native() + "log").c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
                 }},
        NotAFile{"Folder",
                 [](const TempDir& d) {
                   d.MakeFolder(u"log");
                   return -1;
                 }}),
    [](const auto& info) { return std::string(info.param.name); });

class TextFileLockTest : public testing::TempDirTest {
 protected:
  std::unique_ptr<FileSystem> fs = CreateSystemFileSystem();
};

// While a text file is open, a second open of it fails, in this process
// and in another one, and cuts nothing; deleting it fails and leaves it.
// Once it is closed, each works again.
TEST_F(TextFileLockTest, OneWriterAtATime) {
  const std::u16string path = dir.PathOf(u"log");
  for (const bool firstCreated : {true, false}) {
    SCOPED_TRACE(firstCreated ? "held by a create" : "held by an append");
    dir.MakeFile(u"log", "old\n");
    std::unique_ptr<TextFile> first;
    ASSERT_EQ(kFsOk, firstCreated ? fs->CreateTextFile(path, first) : fs->AppendTextFile(path, first));
    ASSERT_EQ(kFsOk, first->Write("first\r\n"));
    const std::string held = firstCreated ? "first\r\n" : "old\nfirst\r\n";

    std::unique_ptr<TextFile> second;
    EXPECT_NE(kFsOk, fs->CreateTextFile(path, second));
    EXPECT_NE(kFsOk, fs->AppendTextFile(path, second));
    EXPECT_EQ(nullptr, second);
    EXPECT_NE(kFsOk, OpenInChild(*fs, path, true));
    EXPECT_NE(kFsOk, OpenInChild(*fs, path, false));
    EXPECT_EQ(kFsPermissionDenied, fs->DeleteFile(path));
    EXPECT_EQ(held, dir.ReadFile(u"log"));

    ASSERT_EQ(kFsOk, first->Write("more\r\n"));
    ASSERT_EQ(kFsOk, first->Close());
    EXPECT_EQ(held + "more\r\n", dir.ReadFile(u"log"));
    EXPECT_EQ(kFsOk, OpenInChild(*fs, path, false));
    EXPECT_EQ(held + "more\r\nwritten\r\n", dir.ReadFile(u"log"));
    EXPECT_EQ(kFsOk, fs->DeleteFile(path));
    EXPECT_FALSE(dir.Exists(u"log"));
  }
}

}  // namespace
}  // namespace dovetam
