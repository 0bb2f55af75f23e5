// The system file system at paths longer than PATH_MAX: every call that
// takes a path, and the open folder's own calls, work in folders nested
// deeper than a path the system takes whole, as they do near the top; links
// on the way are followed where the whole path would follow them.
#include <limits.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/file_system.h"
#include "platform/utf8_codec.h"
#include "testing/nested_folders.h"
#include "testing/temp_dir.h"

namespace dovetam {
namespace {

using testing::TempDirTest;

std::vector<std::u16string> Sorted(std::vector<std::u16string> names) {
  std::sort(names.begin(), names.end());
  return names;
}

std::vector<std::u16string> Sorted(const std::vector<FsEntry>& entries) {
  std::vector<std::u16string> names;
  for (const FsEntry& e : entries) names.push_back(e.name);
  return Sorted(names);
}

// 18 levels of 240-byte names under d/, the last one holding a.txt and C.txt.
class LongPathTest : public TempDirTest {
 protected:
  LongPathTest() {
    std::vector<std::string> names;
    deep = dir.PathOf(u"d/");
    for (char k = 'a'; k < 'a' + 18; ++k) {
      names.push_back(k + std::string(239, 'x'));
      deep += DecodeNative(names.back()) + u"/";
    }
    dir.MakeFolder(u"d");
    EXPECT_TRUE(testing::MakeNestedFolders(dir.native() + "d", names, "a.txt", "a"));
    EXPECT_TRUE(testing::MakeNestedFolders(dir.native() + "d", names, "C.txt", "c"));
    EXPECT_GT(EncodeNativeLossy(deep).size(), std::size_t{PATH_MAX});
  }
  std::vector<std::u16string> DeepNames() {
    std::unique_ptr<FolderHandle> h;
    std::vector<std::u16string> names;
    EXPECT_EQ(kFsOk, fs->OpenFolder(deep, h));
    if (h) {
      EXPECT_EQ(kFsOk, h->Names(names));
    }
    return Sorted(names);
  }
  std::unique_ptr<FileSystem> fs = CreateSystemFileSystem();
  std::u16string deep;
};

TEST_F(LongPathTest, PathCallsReachDeepFolders) {
  std::unique_ptr<FolderHandle> h;
  ASSERT_EQ(kFsOk, fs->OpenFolder(deep, h));
  EXPECT_EQ(std::vector<std::u16string>({u"C.txt", u"a.txt"}), DeepNames());
  std::vector<FsEntry> files, folders;
  ASSERT_EQ(kFsOk, fs->ListFolder(deep, files, folders));
  EXPECT_EQ(std::vector<std::u16string>({u"C.txt", u"a.txt"}), Sorted(files));
  FolderIdentity listed;
  files.clear();
  ASSERT_EQ(kFsOk, fs->ListFolderWithDates(deep, true, false, files, folders, listed));
  EXPECT_EQ(h->Identity(), listed);
  ASSERT_EQ(2u, files.size());
  EXPECT_NE(0, files[0].modified);
  EXPECT_EQ(kFsPathNotFound, fs->ListFolder(deep + u"none/", files, folders));

  bool exists = false;
  EXPECT_EQ(kFsOk, fs->FileExists(deep + u"A.TXT", exists));  // letter case ignored
  EXPECT_TRUE(exists);
  EXPECT_EQ(kFsOk, fs->FolderExists(deep + u"a.txt", exists));
  EXPECT_FALSE(exists);
  EXPECT_EQ(kFsOk, fs->FileExists(deep + u"none", exists));
  EXPECT_FALSE(exists);
  EXPECT_EQ(kFsOk, fs->FolderExists(deep.substr(0, deep.size() - 1), exists));
  EXPECT_TRUE(exists);
  Date modified = 0;
  EXPECT_EQ(kFsOk, fs->GetDateLastModified(deep + u"A.txt", false, modified));
  EXPECT_EQ(files[0].modified, modified);
  EXPECT_EQ(kFsNotFound, fs->GetDateLastModified(deep + u"a.txt", true, modified));
  std::u16string full;
  EXPECT_EQ(kFsOk, fs->GetFullPath(deep + u"c.txt", false, full));
  EXPECT_EQ(deep + u"C.txt", full);
}

TEST_F(LongPathTest, LinksOnTheWayAreFollowed) {
  // "l" leads to the first level: the same folders under a shorter spelling
  // that still does not fit, and under a longer one through a ".." on the way.
  const std::u16string first = deep.substr(0, dir.PathOf(u"d/").size() + 241);
  dir.MakeSymlink(u"l", EncodeNativeLossy(first));
  const std::u16string viaLink = dir.PathOf(u"l/") + deep.substr(first.size());
  const std::u16string viaUp = first + deep.substr(first.size(), 241) + u"../" + deep.substr(first.size());
  std::unique_ptr<FolderHandle> h, link, up;
  ASSERT_EQ(kFsOk, fs->OpenFolder(deep, h));
  ASSERT_EQ(kFsOk, fs->OpenFolder(viaLink, link));
  ASSERT_EQ(kFsOk, fs->OpenFolder(viaUp, up));
  EXPECT_EQ(h->Identity(), link->Identity());
  EXPECT_EQ(h->Identity(), up->Identity());
  bool exists = false;
  EXPECT_EQ(kFsOk, fs->FileExists(viaUp + u"c.TXT", exists));
  EXPECT_TRUE(exists);
}

TEST_F(LongPathTest, RenamesNeverReplaceInDeepFolders) {
  EXPECT_EQ(kFsAlreadyExists, fs->Rename(deep, u"a.txt", u"c.txt"));  // C.txt is there
  EXPECT_EQ(kFsAlreadyExists, fs->Rename(deep, u"a.txt", u"C.txt"));
  EXPECT_EQ(kFsOk, fs->Rename(deep, u"a.txt", u"b.txt"));
  EXPECT_EQ(kFsOk, fs->Rename(deep, u"b.txt", u"B.txt"));  // letter case only
  EXPECT_EQ(kFsNotFound, fs->Rename(deep, u"gone", u"x"));
  EXPECT_EQ(kFsNotFound, fs->Rename(deep + u"none/", u"B.txt", u"x"));
  EXPECT_EQ(std::vector<std::u16string>({u"B.txt", u"C.txt"}), DeepNames());
}

TEST_F(LongPathTest, OpenFoldersAnswerForTheirNames) {
  // The same answers in a deep folder and in one near the top.
  dir.MakeFolder(u"top");
  dir.MakeFile(u"top/a.txt", "a");
  dir.MakeFile(u"top/C.txt", "c");
  for (const std::u16string& folder : {deep, dir.PathOf(u"top/")}) {
    SCOPED_TRACE(EncodeNativeLossy(folder.substr(folder.size() - 10)));
    std::unique_ptr<FolderHandle> h;
    ASSERT_EQ(kFsOk, fs->OpenFolder(folder, h));
    bool exists = false;
    EXPECT_EQ(kFsOk, h->Exists(u"A.txt", exists));
    EXPECT_TRUE(exists);
    EXPECT_EQ(kFsOk, h->Exists(u"c.txt", exists));
    EXPECT_TRUE(exists);
    EXPECT_EQ(kFsOk, h->Exists(u"b.txt", exists));
    EXPECT_FALSE(exists);
    Date modified = 0, viaPath = 0;
    EXPECT_EQ(kFsOk, h->ReadDate(u"a.TXT", false, false, modified));
    EXPECT_EQ(kFsOk, fs->GetDateLastModified(folder + u"a.txt", false, viaPath));
    EXPECT_EQ(viaPath, modified);
    EXPECT_NE(0, modified);
    EXPECT_EQ(kFsNotFound, h->ReadDate(u"a.txt", true, false, modified));
    EXPECT_EQ(kFsNotFound, h->ReadDate(u"b.txt", false, false, modified));
  }
}

}  // namespace
}  // namespace dovetam
