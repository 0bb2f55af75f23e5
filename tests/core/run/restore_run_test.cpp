// The restore on real files, after a rename run: final names on disk,
// target states, the log block and the report.
#include <gtest/gtest.h>

#include "core/run/run_fixture.h"

namespace dovetam::testing {
namespace {

std::string U8(std::u16string_view s) { return EncodeNativeLossy(s); }

using NameList = std::vector<std::u16string>;

class RestoreTest : public RunTest {
 protected:
  std::u16string Obj(std::u16string_view orig, std::u16string_view state,
                     std::u16string_view name) const {
    return W() + std::u16string(orig) + u" (" + std::u16string(state) + u" " +
           std::u16string(name) + u") :\r\n";
  }
  std::u16string Obj(std::u16string_view name) const { return W() + std::u16string(name) + u" :\r\n"; }
  static std::u16string Back(std::u16string_view name) {
    return u"\t-> " + std::u16string(name) + u" 復元開始\r\n\t\t正常終了\r\n";
  }
  std::u16string Block(std::u16string_view body) const {
    return Header(u" 名前復元開始") + std::u16string(body) + std::u16string(kDate) +
           u" 名前復元終了\r\n\r\n";
  }
  std::u16string Entry(std::u16string_view path, std::u16string_view name,
                       std::u16string_view status) const {
    return ReportEntryLine(W() + std::u16string(path), name, status);
  }
  // A run that renames a.txt -> x.txt and b.txt -> y.txt.
  void RunTwo() {
    AddTarget(u"a.txt");
    AddTarget(u"b.txt");
    Rule(u"a.txt", u"x.txt");
    Rule(u"b.txt", u"y.txt");
    Run();
    boxes.Clear();
    host.steps.clear();
  }
};

TEST_F(RestoreTest, RestoresEveryNameAndAppendsItsBlock) {
  RunTwo();
  const std::u16string runLog = LogFile();
  const OperationSummary s = Restore();
  EXPECT_EQ(NameList({u"a.txt", u"b.txt"}), Names());
  EXPECT_EQ(std::vector<int>({0, 0}), States());
  EXPECT_EQ(u"", objects.ObjOrigName[1]);
  const std::u16string block = Block(Obj(u"a.txt", u"変更名", u"x.txt") + Back(u"a.txt") +
                                     Obj(u"b.txt", u"変更名", u"y.txt") + Back(u"b.txt"));
  EXPECT_EQ(U8(runLog + block), U8(LogFile()));
  const std::u16string report =
      u"\r\nオブジェクト総数 = 2\r\n正常に復元されたオブジェクト = 2\r\n"
      u"エラーが発生したオブジェクト = 0\r\n\r\n[正常に復元されたオブジェクト]\r\n\r\n" +
      Entry(u"a.txt", u"", u"正常復元") + Entry(u"b.txt", u"", u"正常復元") +
      u"\r\n[ログ]\r\n\r\n" + block;
  EXPECT_EQ(U8(report), U8(host.reportText));
  EXPECT_EQ(U8(report), U8(ReportFile()));
  EXPECT_EQ(3, changeState);
  EXPECT_EQ(std::vector<std::string>({"hourglass", "report", "rebuild"}), host.steps);
  EXPECT_EQ((std::vector<std::u16string>{u"変更した名前を元に戻しますか？",
                                         u" 2 個 の オブジェクト名を正常に復元しました。"}),
            boxes.Texts());
  EXPECT_EQ(2, s.done);

  // Once more: nothing to do, every target is reported as restored.
  boxes.Clear();
  Restore();
  EXPECT_EQ(U8(Block(Obj(u"a.txt") + u"\tスキップ(正常復元済)\r\n" + Obj(u"b.txt") +
                     u"\tスキップ(正常復元済)\r\n")),
            U8(journal.LogText));
  EXPECT_EQ(u" 2 個 の オブジェクト名を正常に復元しました。", boxes.Last().text);
}

TEST_F(RestoreTest, RefusedWithoutARun) {
  AddTarget(u"a.txt");
  RunEnvironment env = Env();
  EXPECT_FALSE(RestoreNames(env).performed);
  EXPECT_EQ((std::vector<std::u16string>{u"元に戻せません。"}), boxes.Texts());
  EXPECT_EQ(MsgIcon::Exclamation, boxes.Last().icon);
  changeState = 3;
  boxes.QueueAnswer(MsgAnswer::No);
  EXPECT_FALSE(RestoreNames(env).performed);
  EXPECT_EQ(MsgIcon::Question, boxes.Last().icon);
  EXPECT_EQ(MsgAnswer::No, boxes.Last().defaultButton);
  EXPECT_FALSE(dir.Exists(u"p/dovetam_rename.log"));
}

struct NumberedRestoreCase {
  const char* name;
  bool firstNumbered;
  bool mix;
  std::u16string origName;
  std::u16string expected;
};
void PrintTo(const NumberedRestoreCase& c, std::ostream* os) { *os << c.name; }

class NumberedRestoreTest : public RestoreTest,
                            public ::testing::WithParamInterface<NumberedRestoreCase> {};

TEST_P(NumberedRestoreTest, TakenNameGetsANumber) {
  const NumberedRestoreCase& c = GetParam();
  AddTarget(c.origName);
  Rule(c.origName, u"new.txt");
  Run();
  settings.FirstNumMode = c.firstNumbered;
  settings.ExtraMixMode = c.mix;
  dir.MakeFile(u"w/" + c.origName);  // a file that is no target takes the name
  boxes.Clear();
  const OperationSummary s = Restore();
  EXPECT_EQ(c.expected, objects.ObjName[1]);
  EXPECT_TRUE(dir.Exists(u"w/" + c.expected));
  EXPECT_EQ(std::vector<int>({1}), States());
  EXPECT_EQ(1, s.tentative);
  EXPECT_EQ(U8(Block(Obj(c.origName, u"変更名", u"new.txt") + Back(c.expected))), U8(journal.LogText));
  EXPECT_NE(std::u16string::npos, host.reportText.find(Entry(c.origName, c.expected, u"仮復元")));
  EXPECT_EQ(u" 1 個 の オブジェクト名を一応復元しました。\n\n詳細は、レポートを参照してください。",
            boxes.Last().text);
  EXPECT_EQ(MsgIcon::Information, boxes.Last().icon);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NumberedRestoreTest,
    ::testing::Values(NumberedRestoreCase{"fromExtraNum", false, false, u"abc.txt", u"abc-2.txt"},
                      NumberedRestoreCase{"firstNumbered", true, false, u"abc.txt", u"abc-3.txt"},
                      NumberedRestoreCase{"beforeLastDot", false, false, u"a.b.txt", u"a.b-2.txt"},
                      NumberedRestoreCase{"mix", false, true, u"a.b.txt", u"a.b.txt-2"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RestoreTest, SwappedNamesAreRestoredByEvacuation) {
  AddTarget(u"a.txt");
  AddTarget(u"b.txt");
  dir.MakeFile(u"w/a.txt", "A");
  dir.MakeFile(u"w/b.txt", "B");
  Rule(u"a.txt", u"b.txt");
  Rule(u"b.txt", u"a.txt");
  Run();
  boxes.Clear();
  Restore();
  EXPECT_EQ(NameList({u"a.txt", u"b.txt"}), Names());
  EXPECT_EQ("A", dir.ReadFile(u"w/a.txt"));
  EXPECT_EQ("B", dir.ReadFile(u"w/b.txt"));
  EXPECT_EQ(std::vector<int>({0, 0}), States());
  EXPECT_EQ(U8(Block(Obj(u"a.txt", u"変更名", u"b.txt") + u"\t" + W() +
                     u"a.txt -> b.txt.$1$ 退避開始\r\n\t\t正常終了\r\n" + Back(u"a.txt") +
                     Obj(u"b.txt", u"退避名", u"b.txt.$1$") + Back(u"b.txt"))),
            U8(journal.LogText));
}

TEST_F(RestoreTest, CaseOnlyDifferenceIsAcceptedAtOnce) {
  AddTarget(u"abc.txt");
  Rule(u"abc.txt", u"ABC.TXT");
  Run();
  Restore();
  EXPECT_EQ(NameList({u"abc.txt"}), Names());
  EXPECT_EQ(std::vector<int>({0}), States());
}

TEST_F(RestoreTest, RestoredFolderMovesTheTargetsInside) {
  AddTarget(u"d", true);
  AddTarget(u"d/f.txt");
  Rule(u"d", u"e");
  Rule(u"f.txt", u"g.txt");
  Run();
  EXPECT_EQ(W() + u"e/", objects.ObjFolder[2]);
  Restore();
  EXPECT_EQ(NameList({u"d"}), Names());
  EXPECT_EQ(NameList({u"f.txt"}), Names(u"d"));
  EXPECT_EQ(W() + u"d/", objects.ObjFolder[2]);
  EXPECT_EQ(std::vector<int>({0, 0}), States());
}

TEST_F(RestoreTest, FailedRenameKeepsTheTarget) {
  RunTwo();
  fs.Fail(FsCall::Rename, W() + u"x.txt", kFsPermissionDenied);
  const OperationSummary s = Restore();
  EXPECT_EQ(NameList({u"b.txt", u"x.txt"}), Names());
  EXPECT_EQ(std::vector<int>({2, 0}), States());
  EXPECT_EQ(1, s.errors);
  EXPECT_NE(std::u16string::npos,
            host.reportText.find(u"[エラーが発生したオブジェクト]\r\n\r\n" +
                                 Entry(u"a.txt", u"a.txt", u"エラー") +
                                 u"\r\n[エラーが発生したオブジェクトの状態]\r\n\r\n" +
                                 Entry(u"a.txt", u"x.txt", u"変更名")));
  EXPECT_EQ(u" 1 個 の オブジェクト名を正常に復元しました。\n 1 個 の オブジェクト名を復元できませんでした。\n\n"
            u"詳細は、レポートを参照してください。",
            boxes.Last().text);
  EXPECT_EQ(MsgIcon::Critical, boxes.Last().icon);
}

TEST_F(RestoreTest, NumbersRunOutAtOnce) {
  settings.ExtraNum = 999999999;
  settings.FirstNumMode = true;
  AddTarget(u"a.txt");
  Rule(u"a.txt", u"b.txt");
  Run();
  dir.MakeFile(u"w/a.txt");
  Restore();
  EXPECT_EQ(U8(Block(Obj(u"a.txt", u"変更名", u"b-999999999.txt") +
                     u"\tシステムエラー(復元名の添字が範囲を超えました。)\r\n")),
            U8(journal.LogText));
  EXPECT_NE(std::u16string::npos,
            host.reportText.find(Entry(u"a.txt", u"", u"システムエラー(復元名の添字が範囲を超えました。)")));
}

TEST_F(RestoreTest, LogCannotBeOpened) {
  RunTwo();
  fs.Fail(FsCall::AppendTextFile, journal.LogPath, kFsPermissionDenied);
  boxes.QueueAnswer(MsgAnswer::No);
  EXPECT_FALSE(Restore().performed);
  EXPECT_EQ(u"ログファイル(" + journal.LogPath + u")を開けませんでした。\n続行しますか？",
            boxes.Last().text);
  EXPECT_EQ(NameList({u"x.txt", u"y.txt"}), Names());
  EXPECT_EQ(std::vector<std::string>({"hourglass", "normal"}), host.steps);
}

TEST_F(RestoreTest, LogWriteFailureAnsweredNo) {
  RunTwo();
  fs.Fail(FsCall::Write, journal.LogPath, kFsIoError, 1, 1);  // a's change line
  boxes.QueueAnswer(MsgAnswer::No);
  const OperationSummary s = Restore();
  EXPECT_EQ(NameList({u"x.txt", u"y.txt"}), Names());
  EXPECT_EQ(U8(Block(Obj(u"a.txt", u"変更名", u"x.txt") +
                     u"\t-> a.txt 復元開始\r\n\t\t中断\r\n\tスキップ(中断)\r\n" +
                     Obj(u"b.txt", u"変更名", u"y.txt") + u"\tスキップ(中断)\r\n")),
            U8(journal.LogText));
  EXPECT_EQ(2, s.errors);
  EXPECT_NE(std::u16string::npos,
            host.reportText.find(Entry(u"a.txt", u"", u"中断") + Entry(u"b.txt", u"", u"中断")));
}

}  // namespace
}  // namespace dovetam::testing
