// Open folders of the system file system: identity under every spelling and
// another one for a folder made on a deleted one's inode, listing and
// no-replace renames through the handle, and a handle that keeps naming its
// folder after the folder was renamed and its old path reused.
#include "platform/folder_handle.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/file_system.h"
#include "testing/reused_inode.h"
#include "testing/temp_dir.h"

namespace dovetam {
namespace {

using testing::TempDirTest;

class FolderHandleTest : public TempDirTest {
 protected:
  std::unique_ptr<FolderHandle> Open(std::u16string_view relative) {
    std::unique_ptr<FolderHandle> h;
    EXPECT_EQ(kFsOk, fs->OpenFolder(dir.PathOf(relative), h));
    return h;
  }
  static std::vector<std::u16string> Listed(FolderHandle* h) {
    std::vector<std::u16string> names;
    EXPECT_EQ(kFsOk, h->Names(names));
    std::sort(names.begin(), names.end());
    return names;
  }
  FolderIdentity IdentityOf(std::u16string_view relative) {
    std::unique_ptr<FolderHandle> h;
    return fs->OpenFolder(dir.PathOf(relative), h) == kFsOk ? h->Identity() : FolderIdentity{};
  }
  std::unique_ptr<FileSystem> fs = CreateSystemFileSystem();
};

TEST_F(FolderHandleTest, OneIdentityUnderEverySpelling) {
  dir.MakeFolder(u"real");
  dir.MakeFolder(u"other");
  dir.MakeFile(u"file");
  dir.MakeSymlink(u"link", "real");
  const auto h = Open(u"real/");
  EXPECT_TRUE(h->Identity().Known());
  EXPECT_EQ(h->Identity(), IdentityOf(u"link/"));
  EXPECT_NE(h->Identity(), IdentityOf(u"other/"));
  // The listing gives the identity of the folder it read.
  std::vector<FsEntry> files, folders;
  FolderIdentity listed;
  ASSERT_EQ(kFsOk, fs->ListFolderWithDates(dir.PathOf(u"link/"), true, false, files, folders, listed));
  EXPECT_EQ(h->Identity(), listed);
  std::unique_ptr<FolderHandle> missing;
  EXPECT_EQ(kFsPathNotFound, fs->OpenFolder(dir.PathOf(u"missing/"), missing));
  EXPECT_EQ(kFsPathNotFound, fs->OpenFolder(dir.PathOf(u"file"), missing));
}

TEST_F(FolderHandleTest, HandleFollowsItsFolderWhenThePathIsReused) {
  dir.MakeFolder(u"a");
  dir.MakeFile(u"a/x", "1");
  const auto h = Open(u"a/");
  ASSERT_EQ(kFsOk, fs->Rename(dir.path(), u"a", u"b"));
  dir.MakeFolder(u"a");
  dir.MakeFile(u"a/x", "2");
  // The path text says "a/"; the handle names the folder now called b.
  EXPECT_EQ(std::vector<std::u16string>({u"x"}), Listed(h.get()));
  EXPECT_EQ(kFsOk, h->Rename(u"x", u"y", false));
  EXPECT_EQ("1", dir.ReadFile(u"b/y"));
  EXPECT_EQ("2", dir.ReadFile(u"a/x"));
  EXPECT_NE(h->Identity(), IdentityOf(u"a/"));
  // The file system's own rename goes by the path.
  EXPECT_EQ(kFsOk, fs->Rename(dir.PathOf(u"a/"), u"x", u"z"));
  EXPECT_EQ("2", dir.ReadFile(u"a/z"));
}

TEST_F(FolderHandleTest, AFolderMadeOnTheInodeOfADeletedOneIsAnotherFolder) {
  FolderIdentity before;
  bool reused = false;
  for (int round = 0; round < testing::kInodeRounds && !reused; ++round) {
    dir.MakeFolder(u"a");
    before = IdentityOf(u"a/");
    reused = testing::RemakeOnItsInode(dir.native() + "a", dir.native() + "a");
  }
  if (!reused) GTEST_SKIP() << testing::kNoInodeReuse;
  const FolderIdentity after = IdentityOf(u"a/");
  EXPECT_EQ(before.device, after.device);
  EXPECT_EQ(before.inode, after.inode);
  EXPECT_NE(before, after);
  // The listing and the open folder give the new one the same identity.
  std::vector<FsEntry> files, folders;
  FolderIdentity listed;
  ASSERT_EQ(kFsOk, fs->ListFolderWithDates(dir.PathOf(u"a/"), false, false, files, folders, listed));
  EXPECT_EQ(after, listed);
}

TEST_F(FolderHandleTest, RenamesThroughAHandleNeverReplace) {
  dir.MakeFolder(u"d");
  dir.MakeFile(u"d/a.txt", "a");
  dir.MakeFile(u"d/b.txt", "b");
  dir.MakeFile(u"d/C.txt", "c");
  dir.MakeFolder(u"d/empty");
  const auto h = Open(u"d/");
  // Without the letter-case check the caller vouches for other cases: the
  // same no-replace guarantee and error numbers, only without the scan.
  struct Case {
    const char16_t* from;
    const char16_t* to;
    bool checkCase;
    int error;
  };
  const std::vector<Case> cases = {{u"a.txt", u"b.txt", false, kFsAlreadyExists},
                                   {u"a.txt", u"empty", false, kFsAlreadyExists},
                                   {u"a.txt", u"c.txt", true, kFsAlreadyExists},
                                   {u"a.txt", u"a.txt", true, kFsAlreadyExists},
                                   {u"gone", u"e.txt", false, kFsNotFound},
                                   {u"a.txt", u"x/y", false, kFsIoError},
                                   {u"a.txt", u"..", false, kFsIoError}};
  for (std::size_t k = 0; k < cases.size(); ++k) {
    SCOPED_TRACE(k);
    const Case& c = cases[k];
    EXPECT_EQ(c.error, h->Rename(c.from, c.to, c.checkCase));
  }
  EXPECT_EQ(kFsOk, h->Rename(u"a.txt", u"A.TXT", true));
  EXPECT_EQ(kFsOk, h->Rename(u"b.txt", u"B.txt", false));  // case only
  EXPECT_EQ(std::vector<std::u16string>({u"A.TXT", u"B.txt", u"C.txt", u"empty"}), Listed(h.get()));
  EXPECT_EQ("a", dir.ReadFile(u"d/A.TXT"));
  EXPECT_EQ("b", dir.ReadFile(u"d/B.txt"));
}

}  // namespace
}  // namespace dovetam
