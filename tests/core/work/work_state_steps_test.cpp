#include "core/work/work_state_steps.h"

#include <gtest/gtest.h>

namespace dovetam {
namespace {

struct SortCase {
  const char* name;
  bool modified, created;
  int keyCount;
  std::array<int16_t, 4> keys;
};

TEST(ResetSortKeys, LevelsFollowTheShownColumns) {
  const SortCase cases[] = {
      {"no date column", false, false, 1, {0, 1, 2, 3}},
      {"last-modified only", true, false, 2, {0, 1, 2, 3}},
      {"creation only", false, true, 2, {0, 1, 3, 2}},
      {"both", true, true, 3, {0, 1, 2, 3}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SortState sort;
    sort.ListSortKey = {0, 3, 1, 2};
    sort.ListSortDir = {0, 2, 2, 2};
    sort.ObjSortKey = {0, 2, 3, 1};
    sort.ObjSortDir = {0, 2, 1, 2};
    ViewSettings view;
    view.ViewModified = c.modified;
    view.ViewCreated = c.created;
    ResetSortKeys(sort, view);
    EXPECT_EQ(sort.SortKeyCount, c.keyCount);
    EXPECT_EQ(sort.ListSortKey, c.keys);
    EXPECT_EQ(sort.ObjSortKey, c.keys);
    EXPECT_EQ(sort.ListSortDir, (std::array<int16_t, 4>{0, 1, 1, 1}));
    EXPECT_EQ(sort.ObjSortDir, (std::array<int16_t, 4>{0, 1, 1, 1}));
  }
}

TEST(DateFetchFailureMessage, NamesTheKindOfDate) {
  EXPECT_EQ(DateFetchFailureMessage(0), u"");
  EXPECT_EQ(DateFetchFailureMessage(1),
            u"いくつかのオブジェクトの更新日時を、正常に取得できませんでした。\n"
            u"便宜上、日時は\"1899/12/30 00:00:00\"に設定されています。");
  EXPECT_EQ(DateFetchFailureMessage(2).rfind(u"いくつかのオブジェクトの作成日時を、", 0), 0u);
  EXPECT_EQ(DateFetchFailureMessage(3).rfind(u"いくつかのオブジェクトの更新日時・作成日時を、", 0),
            0u);
}

}  // namespace
}  // namespace dovetam

#include "testing/faulty_file_system.h"
#include "testing/fake_message_boxes.h"
#include "testing/temp_dir.h"

namespace dovetam {
namespace {

using testing::FaultyFileSystem;
using testing::FsCall;

class WorkStateFilesTest : public testing::TempDirTest {
 protected:
  std::unique_ptr<FileSystem> real = CreateSystemFileSystem();
  FaultyFileSystem fs{*real};
  testing::FakeMessageBoxes boxes;
};

TEST_F(WorkStateFilesTest, MissingDatesAreReadOnlyWhereStillZero) {
  dir.MakeFile(u"a.txt");
  dir.MakeFolder(u"sub");
  dir.MakeFile(u"listed.txt");
  dir.SetModified(u"a.txt", 1000000000);
  ObjectTable objects;
  objects.Reset(10);
  objects.Append(dir.path(), u"a.txt", false, 0, 0, Capacities::Large());
  objects.Append(dir.path(), u"sub", true, 0, 0, Capacities::Large());
  objects.Append(dir.path(), u"gone.txt", false, 0, 0, Capacities::Large());
  objects.ObjModified[2] = 12345;  // read earlier: stays
  ListingTable listing;
  listing.Reset(10);
  listing.ListFolder = dir.path();
  listing.ListCount = 1;
  listing.ListName[1] = u"listed.txt";

  const int failures = FetchMissingDates(fs, objects, listing, true, false, true);
  EXPECT_EQ(failures, kModifiedFailed);  // gone.txt
  EXPECT_EQ(objects.ObjModified[1], DateFromUnixTime(1000000000));
  EXPECT_EQ(objects.ObjModified[2], 12345);
  EXPECT_EQ(objects.ObjModified[3], 0);
  EXPECT_NE(listing.ListModified[1], 0);
  EXPECT_EQ(objects.ObjCreated[1], 0);  // not asked for
}

TEST_F(WorkStateFilesTest, StaleListingKeepsItsDates) {
  dir.MakeFile(u"listed.txt");
  ObjectTable objects;
  objects.Reset(10);
  ListingTable listing;
  listing.Reset(10);
  listing.ListFolder = dir.path();
  listing.ListCount = 1;
  listing.ListName[1] = u"listed.txt";
  EXPECT_EQ(FetchMissingDates(fs, objects, listing, true, false, false), 0);
  EXPECT_EQ(listing.ListModified[1], 0);
}

TEST_F(WorkStateFilesTest, UnreadableCreationDateIsOneFailureBit) {
  dir.MakeFile(u"a.txt");
  fs.Fail(FsCall::GetDateCreated, u"", kFsIoError);
  ObjectTable objects;
  objects.Reset(10);
  objects.Append(dir.path(), u"a.txt", false, 0, 0, Capacities::Large());
  ListingTable listing;
  listing.Reset(10);
  EXPECT_EQ(FetchMissingDates(fs, objects, listing, true, true, false), kCreatedFailed);
  EXPECT_NE(objects.ObjModified[1], 0);
  EXPECT_EQ(objects.ObjCreated[1], 0);
}

TEST_F(WorkStateFilesTest, RunFilesAreDeletedAtExit) {
  dir.MakeFile(u"dovetam_rename.log", "x");
  dir.MakeFile(u"dovetam_report.dat", "y");
  dir.SetMode(u"dovetam_report.dat", 0444);
  DeleteRunFiles(fs, boxes, dir.PathOf(u"dovetam_rename.log"), dir.PathOf(u"dovetam_report.dat"));
  EXPECT_FALSE(dir.Exists(u"dovetam_rename.log"));
  EXPECT_FALSE(dir.Exists(u"dovetam_report.dat"));
  EXPECT_EQ(boxes.Count(), 0u);
}

TEST_F(WorkStateFilesTest, FilesNamedInAnotherCaseAreTheUsersAndStay) {
  dir.MakeFile(u"DOVETAM_RENAME.LOG", "user's log");
  dir.MakeFile(u"dovetam_report.dat", "y");
  dir.MakeFile(u"Dovetam_Report.dat", "user's report");
  DeleteRunFiles(fs, boxes, dir.PathOf(u"dovetam_rename.log"), dir.PathOf(u"dovetam_report.dat"));
  EXPECT_EQ(dir.Names(),
            (std::vector<std::u16string>{u"DOVETAM_RENAME.LOG", u"Dovetam_Report.dat"}));
  EXPECT_EQ(boxes.Count(), 0u);
}

// A log that another copy of the program is writing (it holds the file
// open) is that copy's record of its run: it stays, and the deletion says
// so; the report goes.
TEST_F(WorkStateFilesTest, ALogAnotherCopyIsWritingStays) {
  std::unique_ptr<TextFile> held;
  ASSERT_EQ(fs.CreateTextFile(dir.PathOf(u"dovetam_rename.log"), held), kFsOk);
  ASSERT_EQ(held->Write("written\r\n"), kFsOk);
  dir.MakeFile(u"dovetam_report.dat", "y");
  DeleteRunFiles(fs, boxes, dir.PathOf(u"dovetam_rename.log"), dir.PathOf(u"dovetam_report.dat"));
  EXPECT_EQ(dir.ReadFile(u"dovetam_rename.log"), "written\r\n");
  EXPECT_FALSE(dir.Exists(u"dovetam_report.dat"));
  ASSERT_EQ(boxes.Count(), 1u);
  EXPECT_EQ(boxes.Last().text, u"ログまたはレポートを削除できませんでした。");
  held->Close();
}

TEST_F(WorkStateFilesTest, ExistenceFailureHasItsOwnMessage) {
  fs.Fail(FsCall::FileExists, dir.PathOf(u"dovetam_rename.log"), kFsIoError);
  dir.MakeFile(u"dovetam_report.dat", "y");
  DeleteRunFiles(fs, boxes, dir.PathOf(u"dovetam_rename.log"), dir.PathOf(u"dovetam_report.dat"));
  EXPECT_FALSE(dir.Exists(u"dovetam_report.dat"));  // the other file still goes
  ASSERT_EQ(boxes.Count(), 1u);
  EXPECT_EQ(boxes.Last().text,
            u"ログまたはレポートの存在を確認できなかったため、\n削除できませんでした。");
  EXPECT_EQ(boxes.Last().icon, MsgIcon::Critical);
}

}  // namespace
}  // namespace dovetam
