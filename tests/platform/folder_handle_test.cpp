// Open folders of the system file system: identity under every spelling,
// listing and no-replace renames through the handle, and a handle that keeps
// naming its folder after the folder was renamed and its old path reused.
#include "platform/folder_handle.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/file_system.h"
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
  std::vector<std::u16string> Listed(FolderHandle* h, std::u16string_view relative) {
    std::vector<std::u16string> names;
    EXPECT_EQ(kFsOk, fs->ListNames(h, dir.PathOf(relative), names));
    std::sort(names.begin(), names.end());
    return names;
  }
  std::unique_ptr<FileSystem> fs = CreateSystemFileSystem();
};

TEST_F(FolderHandleTest, OneIdentityUnderEverySpelling) {
  dir.MakeFolder(u"real");
  dir.MakeFolder(u"other");
  dir.MakeFile(u"file");
  dir.MakeSymlink(u"link", "real");
  const auto h = Open(u"real/");
  FolderIdentity viaLink, other, none;
  EXPECT_EQ(kFsOk, fs->FolderIdentityOf(dir.PathOf(u"link/"), viaLink));
  EXPECT_EQ(kFsOk, fs->FolderIdentityOf(dir.PathOf(u"other/"), other));
  EXPECT_EQ(h->Identity(), viaLink);
  EXPECT_NE(h->Identity(), other);
  EXPECT_NE(kFsOk, fs->FolderIdentityOf(dir.PathOf(u"file"), none));
  EXPECT_NE(kFsOk, fs->FolderIdentityOf(dir.PathOf(u"missing/"), none));
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
  EXPECT_EQ(std::vector<std::u16string>({u"x"}), Listed(h.get(), u"a/"));
  EXPECT_EQ(kFsOk, fs->RenameInFolder(h.get(), dir.PathOf(u"a/"), u"x", u"y", false));
  EXPECT_EQ("1", dir.ReadFile(u"b/y"));
  EXPECT_EQ("2", dir.ReadFile(u"a/x"));
  // Without a handle the path is used.
  EXPECT_EQ(kFsOk, fs->RenameInFolder(nullptr, dir.PathOf(u"a/"), u"x", u"z", true));
  EXPECT_EQ("2", dir.ReadFile(u"a/z"));
}

TEST_F(FolderHandleTest, RenamesThroughAHandleNeverReplace) {
  dir.MakeFolder(u"d");
  dir.MakeFile(u"d/a.txt", "a");
  dir.MakeFile(u"d/b.txt", "b");
  dir.MakeFile(u"d/C.txt", "c");
  const auto h = Open(u"d/");
  const std::u16string d = dir.PathOf(u"d/");
  struct Case {
    const char16_t* from;
    const char16_t* to;
    bool scan;
    int error;
  };
  const std::vector<Case> cases = {{u"a.txt", u"b.txt", false, kFsAlreadyExists},
                                   {u"a.txt", u"c.txt", true, kFsAlreadyExists},
                                   {u"a.txt", u"a.txt", true, kFsAlreadyExists},
                                   {u"gone", u"e.txt", false, kFsNotFound},
                                   {u"a.txt", u"x/y", false, kFsIoError},
                                   {u"a.txt", u"..", false, kFsIoError}};
  for (std::size_t k = 0; k < cases.size(); ++k) {
    SCOPED_TRACE(k);
    const Case& c = cases[k];
    EXPECT_EQ(c.error, fs->RenameInFolder(h.get(), d, c.from, c.to, c.scan));
  }
  EXPECT_EQ(kFsOk, fs->RenameInFolder(h.get(), d, u"a.txt", u"A.TXT", true));
  EXPECT_EQ(std::vector<std::u16string>({u"A.TXT", u"C.txt", u"b.txt"}), Listed(h.get(), u"d/"));
  EXPECT_EQ("a", dir.ReadFile(u"d/A.TXT"));
  EXPECT_EQ("b", dir.ReadFile(u"d/b.txt"));
}

}  // namespace
}  // namespace dovetam
