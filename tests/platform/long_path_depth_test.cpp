// The system file system in folders of a table of path lengths: the last one
// whose entries' paths all fit in a path the system takes whole, the window
// of folders whose own path fits while their entries' do not, and folders
// past one, two and three times PATH_MAX. Every call that takes a path and
// every call of an open folder answers there as it does near the top, and
// leaves as many descriptors open as it found: a walk part by part closes
// each part it opened.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/file_system.h"
#include "platform/utf8_codec.h"
#include "testing/deep_folder.h"
#include "testing/open_files.h"
#include "testing/temp_dir.h"

namespace dovetam::testing {
namespace {

std::vector<std::u16string> Sorted(const std::vector<FsEntry>& entries) {
  std::vector<std::u16string> names;
  for (const FsEntry& e : entries) names.push_back(e.name);
  std::sort(names.begin(), names.end());
  return names;
}

class LongPathDepthTest : public TempDirTest, public ::testing::WithParamInterface<DeepLength> {
 protected:
  LongPathDepthTest() : deep(dir, GetParam().length) {}
  // The descriptors open are those counted last.
  void Steady(const char* step) { EXPECT_EQ(open, OpenFileCount()) << "after " << step; }

  DeepFolder deep;
  const std::u16string a = DeepFolder::Entry(u'a');
  const std::u16string b = DeepFolder::Entry(u'b');
  const std::u16string c = DeepFolder::Entry(u'c');
  const std::u16string s = DeepFolder::Entry(u's');
  const std::vector<std::u16string> made = {DeepFolder::Entry(u'C'), a, s};
  std::unique_ptr<FileSystem> fs = CreateSystemFileSystem();
  int open = OpenFileCount();
};

TEST_P(LongPathDepthTest, PathCallsAnswerAndCloseWhatTheyOpen) {
  ASSERT_TRUE(deep.made);
  const std::u16string& folder = deep.path;
  ASSERT_EQ(GetParam().length, EncodeNativeLossy(folder).size());
  open = OpenFileCount();

  std::vector<FsEntry> files, folders;
  ASSERT_EQ(kFsOk, fs->ListFolder(folder, files, folders));
  EXPECT_EQ(std::vector<std::u16string>({DeepFolder::Entry(u'C'), a}), Sorted(files));
  EXPECT_EQ(std::vector<std::u16string>({s}), Sorted(folders));
  Steady("ListFolder");
  files.clear();
  folders.clear();
  FolderIdentity listed;
  ASSERT_EQ(kFsOk, fs->ListFolderWithDates(folder, true, true, files, folders, listed));
  ASSERT_EQ(2u, files.size());
  EXPECT_TRUE(listed.Known());
  Steady("ListFolderWithDates");
  const FsEntry& listedA = files[0].name == a ? files[0] : files[1];
  EXPECT_NE(0, listedA.modified);

  struct Question {
    const char* label;
    std::u16string name;
    bool isFolder;
    bool exists;
  };
  const Question questions[] = {{"exact", a, false, true},
                                {"other case", DeepFolder::Entry(u'A'), false, true},
                                {"folder in other case", DeepFolder::Entry(u'S'), true, true},
                                {"file as a folder", a, true, false},
                                {"none", b, false, false}};
  for (const Question& q : questions) {
    SCOPED_TRACE(q.label);
    bool exists = !q.exists;
    EXPECT_EQ(kFsOk, q.isFolder ? fs->FolderExists(folder + q.name, exists)
                                : fs->FileExists(folder + q.name, exists));
    EXPECT_EQ(q.exists, exists);
    Steady("an existence test");
  }
  bool exists = false;
  EXPECT_EQ(kFsOk, fs->FolderExists(folder.substr(0, folder.size() - 1), exists));
  EXPECT_TRUE(exists);
  Steady("FolderExists of the folder");

  Date modified = 0, created = 0;
  EXPECT_EQ(kFsOk, fs->GetDateLastModified(folder + DeepFolder::Entry(u'A'), false, modified));
  EXPECT_EQ(listedA.modified, modified);
  EXPECT_EQ((listedA.dateErrors & 2) == 0 ? kFsOk : kFsIoError,
            fs->GetDateCreated(folder + a, false, created));
  EXPECT_EQ(listedA.created, created);
  EXPECT_EQ(kFsNotFound, fs->GetDateLastModified(folder + b, false, modified));
  Steady("the dates");

  std::u16string full;
  EXPECT_EQ(kFsOk, fs->GetFullPath(folder + c, false, full));
  EXPECT_EQ(folder + DeepFolder::Entry(u'C'), full);
  EXPECT_EQ(kFsOk, fs->GetFullPath(folder + s + u"/", true, full));
  EXPECT_EQ(folder + s, full);
  Steady("GetFullPath");

  {
    std::unique_ptr<FolderHandle> h;
    ASSERT_EQ(kFsOk, fs->OpenFolder(folder, h));
    EXPECT_EQ(listed, h->Identity());
  }
  Steady("OpenFolder and its close");
}

TEST_P(LongPathDepthTest, RenamesAndTheirRestoreCloseWhatTheyOpen) {
  ASSERT_TRUE(deep.made);
  const std::u16string& folder = deep.path;
  open = OpenFileCount();

  // By the folder's path: a rename, a change of case, a refusal, and the
  // names of before given back.
  struct Step {
    std::u16string from, to;
    int error;
  };
  const Step byPath[] = {{a, b, kFsOk},
                         {b, DeepFolder::Entry(u'B'), kFsOk},
                         {DeepFolder::Entry(u'B'), c, kFsAlreadyExists},  // C is there
                         {DeepFolder::Entry(u'B'), a, kFsOk},
                         {s, DeepFolder::Entry(u't'), kFsOk},
                         {DeepFolder::Entry(u't'), s, kFsOk},
                         {b, a, kFsNotFound}};
  for (const Step& step : byPath) {
    SCOPED_TRACE(EncodeNativeLossy(step.from.substr(0, 1) + u" to " + step.to.substr(0, 1)));
    EXPECT_EQ(step.error, fs->Rename(folder, step.from, step.to));
    Steady("Rename");
  }
  EXPECT_EQ(made, deep.Names());

  // Through the open folder, its descriptor open all along.
  std::unique_ptr<FolderHandle> h;
  ASSERT_EQ(kFsOk, fs->OpenFolder(folder, h));
  open = OpenFileCount();
  std::vector<std::u16string> names;
  EXPECT_EQ(kFsOk, h->Names(names));
  std::sort(names.begin(), names.end());
  EXPECT_EQ(made, names);
  bool exists = false;
  EXPECT_EQ(kFsOk, h->Exists(DeepFolder::Entry(u'A'), exists));
  EXPECT_TRUE(exists);
  Date date = 0;
  EXPECT_EQ(kFsOk, h->ReadDate(c, false, false, date));
  EXPECT_NE(0, date);
  Steady("the open folder's questions");
  // Without the letter-case check only the exact name is refused.
  struct HandleStep {
    Step step;
    bool checkCase;
  };
  const HandleStep inHandle[] = {{{a, b, kFsOk}, true},
                                 {{b, c, kFsAlreadyExists}, true},
                                 {{b, a, kFsOk}, true},
                                 {{a, b, kFsOk}, false},
                                 {{b, DeepFolder::Entry(u'C'), kFsAlreadyExists}, false},
                                 {{b, a, kFsOk}, false}};
  for (const HandleStep& hs : inHandle) {
    const Step& step = hs.step;
    SCOPED_TRACE(EncodeNativeLossy(step.from.substr(0, 1) + u" to " + step.to.substr(0, 1)));
    EXPECT_EQ(step.error, h->Rename(step.from, step.to, hs.checkCase));
    Steady("FolderHandle::Rename");
  }
  EXPECT_EQ(made, deep.Names());
}

INSTANTIATE_TEST_SUITE_P(Depths, LongPathDepthTest, ::testing::ValuesIn(DeepLengths()),
                         [](const auto& info) { return std::string(info.param.label); });

}  // namespace
}  // namespace dovetam::testing
