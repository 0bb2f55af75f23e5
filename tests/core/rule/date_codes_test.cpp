// Date codes: dates from the context, read from the file system when 0 (once),
// and the failure when they cannot be read. The last tests use real files.
#include "core/rule/date_codes.h"

#include <cstdio>
#include <vector>

#include <gtest/gtest.h>

#include "platform/file_system.h"
#include "core/rule/text_expansion.h"
#include "rule_test_support.h"
#include "testing/temp_dir.h"

namespace dovetam {
namespace {

using testing::RuleCallTest;

TEST_F(RuleCallTest, DatesFromTheContextNeedNoFileSystem) {
  EXPECT_EQ(ExpandSections(call, u"\\8D-\\eD"), u"19900102-910607");
  EXPECT_EQ(fs.reads, 0);
}

TEST_F(RuleCallTest, ZeroDateIsReadOnceAndKept) {
  context.CurModified = 0;
  fs.modified[context.CurPath] = MakeDate(2001, 12, 31, 15, 7, 9);
  std::vector<int> readsWhenAsked;
  bool mayRead = false;
  // A caller that cannot have the date read now answers with an error.
  context.ReadDate = [&](bool created, Date& date) {
    readsWhenAsked.push_back(fs.reads);
    if (!mayRead) return int{kFsIoError};
    return created ? fs.GetDateCreated(context.CurPath, context.CurIsFolder, date)
                   : fs.GetDateLastModified(context.CurPath, context.CurIsFolder, date);
  };
  // Not now: nothing is read, the rule fails, the date stays unread.
  EXPECT_EQ(ExpandSections(call, u"\\Y\\02M"), u"");
  EXPECT_EQ(context.RuleErrorKind, 1);
  EXPECT_EQ(fs.reads, 0);
  EXPECT_EQ(context.CurModified, 0);
  context.RuleErrorKind = 0;
  mayRead = true;
  EXPECT_EQ(ExpandSections(call, u"\\Y\\02M\\H\\T"), u"20011215150709");
  EXPECT_EQ(fs.reads, 1);
  EXPECT_EQ(readsWhenAsked, std::vector<int>({0, 0}));  // once per try, before the read
  EXPECT_EQ(context.CurModified, MakeDate(2001, 12, 31, 15, 7, 9));
}

TEST_F(RuleCallTest, DateThatCannotBeReadFailsAndStaysZero) {
  struct Row { const char* name; std::u16string text; std::u16string message; };
  const Row rows[] = {
      {"modified", u"\\Y", u"オブジェクトの更新日時が取得できませんでした。"},
      {"createdByE", u"\\eY", u"オブジェクトの作成日時が取得できませんでした。"},
      {"createdCode", u"\\E", u"オブジェクトの作成日時が取得できませんでした。"},
  };
  context.CurModified = 0;
  context.CurCreated = 0;
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    context.RuleErrorKind = 0;
    const int readsBefore = fs.reads;
    EXPECT_EQ(ExpandSections(call, u"x" + r.text), u"");
    EXPECT_EQ(context.RuleErrorKind, 1);
    EXPECT_EQ(context.RuleErrorText, r.message);
    EXPECT_EQ(fs.reads, readsBefore + 1);  // tried again every time
  }
  EXPECT_EQ(context.CurModified, 0);
  EXPECT_EQ(context.CurCreated, 0);
}

TEST_F(RuleCallTest, DateCodeValues) {
  context.CurModified = MakeDate(2009, 3, 4, 15, 7, 9);
  struct Row { int code; int64_t number; std::u16string text; };
  const Row rows[] = {{1, 2009, u""}, {2, 3, u""},  {3, 4, u""},         {4, 15, u""},
                      {5, 7, u""},    {6, 9, u""},  {7, 0, u"20090304"}, {8, 0, u"090304"},
                      {9, 0, u"150709"}, {10, 0, u"1507"}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.code);
    DateCodeValue v;
    ASSERT_TRUE(GetObjectDateCode(call, kDateModified, r.code, v));
    EXPECT_EQ(v.number, r.number);
    EXPECT_EQ(v.text, r.text);
  }
}

class RealFileDates : public testing::TempDirTest {};

TEST_F(RealFileDates, ReadsModifiedAndBirthTimeOfARealFile) {
  dir.MakeFile(u"a.txt");
  dir.SetModified(u"a.txt", 946684800 + 3600);  // 2000-01-01 01:00 UTC
  std::unique_ptr<FileSystem> real = CreateSystemFileSystem();
  Settings settings;
  RuleContext context;
  context.CurPath = dir.PathOf(u"a.txt");
  RuleWorkspace ws;
  Capacities caps = Capacities::Small();
  ResetWorkspace(ws, caps);
  RuleCall call{settings, context, ws, *real, caps};

  Date modified = 0;
  ASSERT_EQ(real->GetDateLastModified(context.CurPath, false, modified), 0);
  const DateFields m = SplitDate(modified);
  char expected[16];
  std::snprintf(expected, sizeof expected, "%04d%02d%02d", m.year, m.month, m.day);
  EXPECT_EQ(ExpandSections(call, u"\\8D"), std::u16string(expected, expected + 8));
  EXPECT_EQ(context.CurModified, modified);

  Date born = 0;
  if (real->GetDateCreated(context.CurPath, false, born) != 0) {
    // No birth time on this file system: the date cannot be read.
    EXPECT_EQ(ExpandSections(call, u"\\E"), u"");
    EXPECT_EQ(context.RuleErrorText, u"オブジェクトの作成日時が取得できませんでした。");
    GTEST_SKIP() << "the temporary folder's file system keeps no birth time";
  }
  const DateFields b = SplitDate(born);
  char created[16];
  std::snprintf(created, sizeof created, "%02d%02d%02d", b.year % 100, b.month, b.day);
  EXPECT_EQ(ExpandSections(call, u"\\E"), std::u16string(created, created + 6));
  EXPECT_EQ(context.RuleErrorKind, 0);
  EXPECT_EQ(context.CurCreated, born);
}

TEST_F(RealFileDates, FolderAndMissingObject) {
  dir.MakeFolder(u"sub");
  std::unique_ptr<FileSystem> real = CreateSystemFileSystem();
  Settings settings;
  RuleContext context;
  context.CurPath = dir.PathOf(u"sub");
  context.CurIsFolder = true;
  RuleWorkspace ws;
  Capacities caps = Capacities::Large();
  ResetWorkspace(ws, caps);
  RuleCall call{settings, context, ws, *real, caps};
  EXPECT_EQ(ExpandSections(call, u"\\4Y").size(), 4u);
  EXPECT_EQ(context.RuleErrorKind, 0);

  context.CurModified = 0;
  context.CurPath = dir.PathOf(u"gone.txt");
  context.CurIsFolder = false;
  EXPECT_EQ(ExpandSections(call, u"\\Y"), u"");
  EXPECT_EQ(context.RuleErrorText, u"オブジェクトの更新日時が取得できませんでした。");
}

}  // namespace
}  // namespace dovetam
