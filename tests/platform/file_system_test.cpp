// The system file system on real files in a temporary folder.
#include "platform/file_system.h"

#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <ctime>
#include <fstream>

#include <gtest/gtest.h>

#include "platform/utf8_codec.h"
#include "core/run/child_process.h"
#include "testing/temp_dir.h"

namespace dovetam {
namespace {

using testing::Child;
using testing::TempDirTest;

std::vector<std::u16string> Names(const std::vector<FsEntry>& entries) {
  std::vector<std::u16string> names;
  for (const FsEntry& e : entries) names.push_back(e.name);
  std::sort(names.begin(), names.end());
  return names;
}

class FileSystemTest : public TempDirTest {
 protected:
  std::unique_ptr<FileSystem> fs = CreateSystemFileSystem();
};

TEST_F(FileSystemTest, ListsHiddenAndPatternLikeNamesWithLinksByTarget) {
  dir.MakeFile(u"plain.txt", "x");
  dir.MakeFile(u".hidden");
  dir.MakeFile(u"a*b?c[d].txt");
  dir.MakeFile(u"[abc]");
  dir.MakeFileBytes("\xFF\xFE.bin");
  dir.MakeFolder(u"sub");
  dir.MakeFolder(u".config");
  dir.MakeSymlink(u"to-sub", "sub");
  dir.MakeSymlink(u"to-file", "plain.txt");
  dir.MakeSymlink(u"broken", "does-not-exist");

  std::vector<FsEntry> files, folders;
  ASSERT_EQ(kFsOk, fs->ListFolder(dir.path(), files, folders));
  EXPECT_EQ((std::vector<std::u16string>{u".hidden", u"[abc]", u"a*b?c[d].txt", u"broken",
                                         u"plain.txt", u"to-file", u"\xDCFF\xDCFE.bin"}),
            Names(files));
  EXPECT_EQ((std::vector<std::u16string>{u".config", u"sub", u"to-sub"}), Names(folders));
  for (const FsEntry& e : files) EXPECT_FALSE(e.isFolder);
  for (const FsEntry& e : folders) EXPECT_TRUE(e.isFolder);
}

TEST_F(FileSystemTest, ListingAMissingFolderIsPathNotFound) {
  std::vector<FsEntry> files, folders;
  EXPECT_EQ(kFsPathNotFound, fs->ListFolder(dir.PathOf(u"missing/"), files, folders));
  dir.MakeFile(u"file");
  EXPECT_EQ(kFsPathNotFound, fs->ListFolder(dir.PathOf(u"file/"), files, folders));
}

TEST_F(FileSystemTest, ExistsIgnoresCaseAndKind) {
  dir.MakeFile(u"Report.TXT");
  dir.MakeFolder(u"Sub");
  dir.MakeFile(u"\uFF21.txt");  // full-width A
  dir.MakeSymlink(u"LinkToSub", "Sub");
  dir.MakeSymlink(u"Broken", "nothing-there");
  struct Row {
    const char* name;
    std::u16string relative;
    bool file, folder;
  };
  const Row rows[] = {
      {"ExactFile", u"Report.TXT", true, false},
      {"FileOtherCase", u"report.txt", true, false},
      {"ExactFolder", u"Sub", false, true},
      {"FolderOtherCaseWithSlash", u"SUB/", false, true},
      {"FullWidthOtherCase", u"\uFF41.TXT", true, false},
      {"LinkToFolderOtherCase", u"linktosub", false, true},
      {"BrokenLinkIsAFile", u"broken", true, false},
      {"Missing", u"nothing", false, false},
      {"MissingParent", u"nowhere/Report.TXT", false, false},
      {"FileAsParent", u"Report.TXT/x", false, false},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    bool exists = !r.file;
    EXPECT_EQ(kFsOk, fs->FileExists(dir.PathOf(r.relative), exists));
    EXPECT_EQ(r.file, exists);
    exists = !r.folder;
    EXPECT_EQ(kFsOk, fs->FolderExists(dir.PathOf(r.relative), exists));
    EXPECT_EQ(r.folder, exists);
  }
  bool exists = false;
  EXPECT_EQ(kFsOk, fs->FolderExists(u"/", exists));
  EXPECT_TRUE(exists);
}

TEST_F(FileSystemTest, FullPathIsAbsoluteWithoutDotsAndInTheCaseOnDisk) {
  dir.MakeFolder(u"a/b");
  dir.MakeFile(u"a/Name.txt");
  const std::u16string base = dir.path();
  std::u16string full;
  ASSERT_EQ(kFsOk, fs->GetFullPath(base + u"a/b/../Name.txt", false, full));
  EXPECT_EQ(base + u"a/Name.txt", full);
  ASSERT_EQ(kFsOk, fs->GetFullPath(base + u"a/./NAME.TXT", false, full));
  EXPECT_EQ(base + u"a/Name.txt", full);
  ASSERT_EQ(kFsOk, fs->GetFullPath(base + u"a//b/", true, full));
  EXPECT_EQ(base + u"a/b", full);
  EXPECT_EQ(kFsNotFound, fs->GetFullPath(base + u"a/b", false, full));
  EXPECT_EQ(kFsNotFound, fs->GetFullPath(base + u"a/missing", false, full));
  ASSERT_EQ(kFsOk, fs->GetFullPath(u"/", true, full));
  EXPECT_EQ(u"/", full);
}

TEST_F(FileSystemTest, LastModifiedDateIsMtime) {
  dir.MakeFile(u"f");
  dir.MakeFolder(u"d");
  const std::time_t t = 1600000000;
  dir.SetModified(u"f", t);
  dir.SetModified(u"d", t + 60);
  Date date = 0;
  ASSERT_EQ(kFsOk, fs->GetDateLastModified(dir.PathOf(u"f"), false, date));
  EXPECT_EQ(DateFromUnixTime(t), date);
  ASSERT_EQ(kFsOk, fs->GetDateLastModified(dir.PathOf(u"d/"), true, date));
  EXPECT_EQ(DateFromUnixTime(t + 60), date);
  EXPECT_EQ(kFsNotFound, fs->GetDateLastModified(dir.PathOf(u"f"), true, date));
  EXPECT_EQ(kFsNotFound, fs->GetDateLastModified(dir.PathOf(u"missing"), false, date));
}

TEST_F(FileSystemTest, CreationDateIsBirthTimeOrAnError) {
  const std::time_t before = std::time(nullptr);
  dir.MakeFile(u"f");
  dir.SetModified(u"f", 1000000000);  // the birth time must not follow mtime
  Date date = 0;
  const int rc = fs->GetDateCreated(dir.PathOf(u"f"), false, date);
  if (rc != kFsOk) {
    EXPECT_EQ(kFsIoError, rc) << "no birth time on this file system";
    return;
  }
  EXPECT_GE(date, DateFromUnixTime(before) - 1.0 / 86400);
  EXPECT_LE(date, DateFromUnixTime(std::time(nullptr)));
}

struct RenameCase {
  const char* name;
  std::vector<std::u16string> files, folders;  // made before the rename
  std::u16string from, to;
  int error;
  std::vector<std::u16string> after;  // names in the folder afterwards
};
void PrintTo(const RenameCase& c, std::ostream* os) { *os << c.name; }


class RenameTest : public FileSystemTest, public ::testing::WithParamInterface<RenameCase> {};

TEST_P(RenameTest, RenamesInPlaceWithoutReplacing) {
  const RenameCase& c = GetParam();
  std::vector<std::string> contents;  // each file gets its own content
  for (const auto& f : c.files) {
    contents.push_back("content " + std::to_string(contents.size()));
    dir.MakeFile(f, contents.back());
  }
  for (const auto& f : c.folders) dir.MakeFolder(f);
  EXPECT_EQ(c.error, fs->Rename(dir.path(), c.from, c.to));
  EXPECT_EQ(c.after, dir.Names());
  // No file was replaced or lost: the same contents are still there.
  std::vector<std::string> after;
  for (const auto& f : c.after) {
    if (!dir.IsFolder(f)) after.push_back(dir.ReadFile(f));
  }
  std::sort(after.begin(), after.end());
  EXPECT_EQ(contents, after);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RenameTest,
    ::testing::Values(
        RenameCase{"Plain", {u"a.txt"}, {}, u"a.txt", u"b.txt", kFsOk, {u"b.txt"}},
        RenameCase{"FolderPlain", {}, {u"d"}, u"d", u"e", kFsOk, {u"e"}},
        RenameCase{"OntoFile", {u"a.txt", u"b.txt"}, {}, u"a.txt", u"b.txt", kFsAlreadyExists,
                   {u"a.txt", u"b.txt"}},
        RenameCase{"FolderOntoEmptyFolder", {}, {u"d", u"e"}, u"d", u"e", kFsAlreadyExists,
                   {u"d", u"e"}},
        RenameCase{"FileOntoEmptyFolder", {u"a"}, {u"e"}, u"a", u"e", kFsAlreadyExists,
                   {u"a", u"e"}},
        RenameCase{"OntoOtherCase", {u"a.txt", u"B.txt"}, {}, u"a.txt", u"b.TXT",
                   kFsAlreadyExists, {u"B.txt", u"a.txt"}},
        RenameCase{"OntoOtherCaseFullWidth", {u"x", u"\uFF21"}, {}, u"x", u"\uFF41",
                   kFsAlreadyExists, {u"x", u"\uFF21"}},
        RenameCase{"MissingSource", {u"a"}, {}, u"missing", u"b", kFsNotFound, {u"a"}},
        RenameCase{"CaseOnly", {u"name.txt"}, {}, u"name.txt", u"NAME.Txt", kFsOk, {u"NAME.Txt"}},
        RenameCase{"CaseOnlyWithOtherFiles", {u"ab", u"cd"}, {}, u"ab", u"Ab", kFsOk,
                   {u"Ab", u"cd"}},
        RenameCase{"SameName", {u"a"}, {}, u"a", u"a", kFsAlreadyExists, {u"a"}},
        RenameCase{"SlashRefused", {u"a"}, {u"d"}, u"a", u"d/a", kFsIoError, {u"a", u"d"}},
        RenameCase{"DotDotRefused", {u"a"}, {}, u"a", u"..", kFsIoError, {u"a"}},
        RenameCase{"PatternCharacters", {u"a*"}, {}, u"a*", u"[?]", kFsOk, {u"[?]"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FileSystemTest, RenameKeepsUndecodableBytes) {
  dir.MakeFileBytes("\xFF" "old");
  EXPECT_EQ(kFsOk, fs->Rename(dir.path(), u"\xDCFFold", u"\xDCFEnew"));
  EXPECT_EQ(std::vector<std::u16string>{u"\xDCFEnew"}, dir.Names());
  EXPECT_EQ(kFsIoError, fs->Rename(dir.path(), u"\xDCFEnew", u"bad\xD800"));
  // Byte escapes that would read back as "é" are not written either.
  EXPECT_EQ(kFsIoError, fs->Rename(dir.path(), u"\xDCFEnew", u"\xDCC3\xDCA9"));
  EXPECT_EQ(std::vector<std::u16string>{u"\xDCFEnew"}, dir.Names());
}

TEST_F(FileSystemTest, DeleteFileForcesReadOnlyFiles) {
  dir.MakeFile(u"ro.log", "x");
  dir.SetMode(u"ro.log", 0444);
  EXPECT_EQ(kFsOk, fs->DeleteFile(dir.PathOf(u"ro.log")));
  EXPECT_FALSE(dir.Exists(u"ro.log"));
  EXPECT_EQ(kFsNotFound, fs->DeleteFile(dir.PathOf(u"ro.log")));
  dir.MakeFolder(u"d");
  EXPECT_EQ(kFsNotFound, fs->DeleteFile(dir.PathOf(u"d")));
  EXPECT_TRUE(dir.IsFolder(u"d"));
}

TEST_F(FileSystemTest, TextFileHandsEachWriteToTheSystem) {
  std::unique_ptr<TextFile> f;
  ASSERT_EQ(kFsOk, fs->CreateTextFile(dir.PathOf(u"log"), f));
  ASSERT_EQ(kFsOk, f->Write("\xE5\x90\x8D\xE5\x89\x8D\tA\r\n"));
  EXPECT_EQ("\xE5\x90\x8D\xE5\x89\x8D\tA\r\n", dir.ReadFile(u"log"));  // before Close
  ASSERT_EQ(kFsOk, f->Close());

  ASSERT_EQ(kFsOk, fs->AppendTextFile(dir.PathOf(u"log"), f));
  ASSERT_EQ(kFsOk, f->Write("\xFF"));
  ASSERT_EQ(kFsOk, f->Close());
  EXPECT_EQ("\xE5\x90\x8D\xE5\x89\x8D\tA\r\n\xFF", dir.ReadFile(u"log"));

  ASSERT_EQ(kFsOk, fs->CreateTextFile(dir.PathOf(u"log"), f));  // overwrites
  ASSERT_EQ(kFsOk, f->Close());
  EXPECT_EQ("", dir.ReadFile(u"log"));

  ASSERT_EQ(kFsOk, fs->AppendTextFile(dir.PathOf(u"new"), f));  // creates
  ASSERT_EQ(kFsOk, f->Close());
  EXPECT_TRUE(dir.Exists(u"new"));

  EXPECT_EQ(kFsPathNotFound, fs->CreateTextFile(dir.PathOf(u"missing/log"), f));
  dir.MakeFolder(u"d");
  EXPECT_EQ(kFsIoError, fs->CreateTextFile(dir.PathOf(u"d"), f));
}

// A text file is only ever appended to, also one made anew: what another
// program appends meanwhile stays, and a file someone cut short goes on
// from its new end, so it never gets a hole or grows past what was written.
// Many short texts, as a log gets.
TEST_F(FileSystemTest, TextFileOnlyAppendsWhateverOthersDoToTheFile) {
  for (const bool create : {true, false}) {
    SCOPED_TRACE(create ? "made anew" : "opened for appending");
    dir.MakeFile(u"log", "old\n");
    std::unique_ptr<TextFile> f;
    ASSERT_EQ(kFsOk, create ? fs->CreateTextFile(dir.PathOf(u"log"), f)
                            : fs->AppendTextFile(dir.PathOf(u"log"), f));
    std::string expected = create ? "" : "old\n";
    for (int k = 0; k < 100; ++k) {
      const std::string line = "line " + std::to_string(k) + "\r\n";
      ASSERT_EQ(kFsOk, f->Write(line));
      expected += line;
      if (k == 40) {
        std::ofstream(dir.native() + "log", std::ios::binary | std::ios::app) << "other\n";
        expected += "other\n";
      }
      if (k == 70) {
        ASSERT_EQ(0, truncate((dir.native() + "log").c_str(), 0));
        expected.clear();
      }
    }
    EXPECT_EQ(expected, dir.ReadFile(u"log"));  // before Close
    ASSERT_EQ(kFsOk, f->Close());
    EXPECT_EQ(expected, dir.ReadFile(u"log"));
  }
}

// Under a limit of the file size (a disk that is nearly full): every text
// that fits is written whole, the one that does not fit fails, and the file
// then holds as much of it as fitted.
TEST_F(FileSystemTest, TextFileFailsOnlyTheTextThatDoesNotFit) {
  constexpr long kLimit = 100000;
  const std::string path = dir.native() + "log";
  std::unique_ptr<FileSystem> system = std::move(fs);
  struct Seen {
    int fitting = -1, tooLong = -1, after = -1;
  };
  Child child = Child::Start([&] {
    Seen seen;
    signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{kLimit, kLimit};
    std::unique_ptr<TextFile> f;
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0 || system->CreateTextFile(DecodeNative(path), f) != kFsOk) {
      return seen;
    }
    seen.fitting = kFsOk;
    for (int k = 0; k < 999 && seen.fitting == kFsOk; ++k) seen.fitting = f->Write(std::string(100, 'a'));
    seen.tooLong = f->Write(std::string(2000, 'b'));  // 100 bytes fit
    seen.after = f->Write("c");
    return seen;
  });
  ASSERT_EQ(0, child.Wait());
  Seen seen;
  ASSERT_TRUE(child.TakeResult(seen));
  EXPECT_EQ(kFsOk, seen.fitting);
  EXPECT_NE(kFsOk, seen.tooLong);
  EXPECT_NE(kFsOk, seen.after);
  EXPECT_EQ(std::string(99900, 'a') + std::string(100, 'b'), dir.ReadFile(u"log"));
}

TEST(DrivesTest, RootFirstAndEveryDriveEndsInSlash) {
  const std::vector<std::u16string> drives = CreateSystemFileSystem()->Drives();
  ASSERT_FALSE(drives.empty());
  EXPECT_EQ(u"/", drives[0]);
  for (const auto& d : drives) {
    ASSERT_FALSE(d.empty());
    EXPECT_EQ(u'/', d.back());
    EXPECT_EQ(u'/', d.front());
    EXPECT_EQ(1, std::count(drives.begin(), drives.end(), d));
  }
}

TEST(DriveOfPathTest, LongestMountPointThatIsAPrefix) {
  const std::vector<std::u16string> drives{u"/", u"/mnt/usb/", u"/mnt/usb/inner/", u"/home/"};
  struct Row {
    const char* name;
    std::u16string path, drive;
  };
  const Row rows[] = {
      {"Root", u"/", u"/"},
      {"UnderRoot", u"/etc/x", u"/"},
      {"MountPointItself", u"/mnt/usb", u"/mnt/usb/"},
      {"Inside", u"/mnt/usb/a/b", u"/mnt/usb/"},
      {"Nested", u"/mnt/usb/inner/x", u"/mnt/usb/inner/"},
      {"PrefixOfNameOnly", u"/mnt/usbdisk/x", u"/"},
      {"Relative", u"rel/x", u""},
      {"Empty", u"", u""},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    EXPECT_EQ(r.drive, DriveOfPath(drives, r.path));
  }
}

}  // namespace
}  // namespace dovetam
