// The fakes every other test relies on behave as their headers say.
#include <gtest/gtest.h>

#include "testing/fake_message_boxes.h"
#include "testing/faulty_file_system.h"
#include "testing/temp_dir.h"

namespace dovetam::testing {
namespace {

TEST(FakeMessageBoxesTest, RecordsAndAnswersScriptedThenDefault) {
  FakeMessageBoxes boxes;
  boxes.QueueAnswer(MsgAnswer::Yes);
  EXPECT_EQ(MsgAnswer::Yes, boxes.Show(u"a", MsgIcon::Question, MsgButtons::YesNo, MsgAnswer::No));
  EXPECT_EQ(MsgAnswer::No, boxes.Show(u"b", MsgIcon::Question, MsgButtons::YesNo, MsgAnswer::No));
  EXPECT_EQ(MsgAnswer::Ok, boxes.Show(u"c", MsgIcon::Critical));
  ASSERT_EQ(3u, boxes.Count());
  EXPECT_EQ((std::vector<std::u16string>{u"a", u"b", u"c"}), boxes.Texts());
  EXPECT_EQ(MsgButtons::YesNo, boxes.calls[1].buttons);
  EXPECT_EQ(MsgAnswer::No, boxes.calls[1].defaultButton);
  EXPECT_EQ(MsgIcon::Critical, boxes.Last().icon);
}

TEST(FaultyFileSystemTest, FailsChosenCallsAfterSkipForTimes) {
  TempDir dir;
  dir.MakeFile(u"a");
  auto real = CreateSystemFileSystem();
  FaultyFileSystem fs(*real);
  fs.Fail(FsCall::FileExists, dir.PathOf(u"a"), kFsPermissionDenied, 1, 1);
  bool exists = false;
  EXPECT_EQ(kFsOk, fs.FileExists(dir.PathOf(u"a"), exists));  // skipped
  EXPECT_TRUE(exists);
  EXPECT_EQ(kFsPermissionDenied, fs.FileExists(dir.PathOf(u"a"), exists));
  EXPECT_EQ(kFsOk, fs.FileExists(dir.PathOf(u"a"), exists));  // times used up
  EXPECT_EQ(kFsOk, fs.FileExists(dir.PathOf(u"b"), exists));  // other path
  EXPECT_EQ(4u, fs.CountCalls(FsCall::FileExists));
  EXPECT_EQ(3u, fs.CountCalls(FsCall::FileExists, dir.PathOf(u"a")));

  // A failed rename does not reach the disk; either name matches the fault.
  fs.Fail(FsCall::Rename, dir.PathOf(u"b"), kFsAlreadyExists);
  EXPECT_EQ(kFsAlreadyExists, fs.Rename(dir.path(), u"a", u"b"));
  EXPECT_TRUE(dir.Exists(u"a"));
}

TEST(FaultyFileSystemTest, TextFileWritesFailAfterSomeLines) {
  TempDir dir;
  auto real = CreateSystemFileSystem();
  FaultyFileSystem fs(*real);
  fs.Fail(FsCall::Write, dir.PathOf(u"log"), kFsIoError, -1, 2);
  std::unique_ptr<TextFile> f;
  ASSERT_EQ(kFsOk, fs.CreateTextFile(dir.PathOf(u"log"), f));
  EXPECT_EQ(kFsOk, f->Write("1\r\n"));
  EXPECT_EQ(kFsOk, f->Write("2\r\n"));
  EXPECT_EQ(kFsIoError, f->Write("3\r\n"));
  EXPECT_EQ(kFsOk, f->Close());
  EXPECT_EQ("1\r\n2\r\n", dir.ReadFile(u"log"));
}

}  // namespace
}  // namespace dovetam::testing
