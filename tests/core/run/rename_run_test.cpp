// The rename run and the re-run on real files: final names on disk, target
// states, the log lines and the report text of each case.
#include <gtest/gtest.h>

#include "core/rule/change_rule.h"
#include "core/rule/rule_messages.h"
#include "core/run/run_fixture.h"

namespace dovetam::testing {
namespace {

std::string U8(std::u16string_view s) { return EncodeNativeLossy(s); }

using NameList = std::vector<std::u16string>;

class RenameRunTest : public RunTest {
 protected:
  // Object line of an unchanged target in w/.
  std::u16string Obj(std::u16string_view name) const { return W() + std::u16string(name) + u" :\r\n"; }
  std::u16string Obj(std::u16string_view orig, std::u16string_view state,
                     std::u16string_view name) const {
    return W() + std::u16string(orig) + u" (" + std::u16string(state) + u" " +
           std::u16string(name) + u") :\r\n";
  }
  static std::u16string Change(std::u16string_view name) {
    return u"\t-> " + std::u16string(name) + u" 変更開始\r\n\t\t正常終了\r\n";
  }
  static std::u16string Same(std::u16string_view name) {
    return u"\t-> " + std::u16string(name) + u"\r\n\t\tスキップ(同名)\r\n";
  }
  std::u16string Evac(std::u16string_view from, std::u16string_view to) const {
    std::u16string line(1, u'\t');
    line.append(W()).append(from).append(u" -> ").append(to);
    return line + u" 退避開始\r\n\t\t正常終了\r\n";
  }
  std::u16string Log(std::u16string_view body, bool rerun = false) const {
    return Header(rerun ? u" 名前再変更開始" : u" 名前変更開始") + std::u16string(body) +
           std::u16string(kDate) + (rerun ? u" 名前再変更終了" : u" 名前変更終了") + u"\r\n\r\n";
  }
  std::u16string Entry(std::u16string_view path, std::u16string_view name,
                       std::u16string_view status) const {
    return ReportEntryLine(W() + std::u16string(path), name, status);
  }
};

TEST_F(RenameRunTest, PlainRunRenamesLogsAndReports) {
  AddTarget(u"a.txt");
  AddTarget(u"b.txt");
  AddTarget(u"c.txt");
  Rule(u"a.txt", u"x.txt");
  Rule(u"b.txt", u"y.txt");

  const OperationSummary s = Run();

  EXPECT_EQ(NameList({u"c.txt", u"x.txt", u"y.txt"}), Names());
  EXPECT_EQ(std::vector<int>({2, 2, 2}), States());
  EXPECT_EQ(u"a.txt", objects.ObjOrigName[1]);
  EXPECT_EQ(u"c.txt", objects.ObjOrigName[3]);
  const std::u16string log = Log(Obj(u"a.txt") + Change(u"x.txt") + Obj(u"b.txt") +
                                 Change(u"y.txt") + Obj(u"c.txt") + Same(u"c.txt"));
  EXPECT_EQ(U8(log), U8(LogFile()));
  EXPECT_EQ(U8(log), U8(journal.LogText));
  const std::u16string report =
      u"\r\nオブジェクト総数 = 3\r\n正常に変更されたオブジェクト = 3\r\n"
      u"エラーが発生したオブジェクト = 0\r\n\r\n[正常に変更されたオブジェクト]\r\n\r\n" +
      Entry(u"a.txt", u"x.txt", u"正常変更") + Entry(u"b.txt", u"y.txt", u"正常変更") +
      Entry(u"c.txt", u"c.txt", u"正常変更") + u"\r\n[ログ]\r\n\r\n" + log;
  EXPECT_EQ(U8(report), U8(host.reportText));
  EXPECT_EQ(U8(report), U8(ReportFile()));
  EXPECT_TRUE(reportSaved);
  EXPECT_EQ(3, changeState);
  EXPECT_EQ(1, listStale);
  EXPECT_EQ(std::vector<std::string>({"hourglass", "report", "remember", "rebuild"}), host.steps);
  ASSERT_EQ(2u, boxes.Count());
  EXPECT_EQ(u"現在の設定で名前を変更しますか？", boxes.calls[0].text);
  EXPECT_EQ(MsgIcon::Question, boxes.calls[0].icon);
  EXPECT_EQ(MsgButtons::YesNo, boxes.calls[0].buttons);
  EXPECT_EQ(MsgAnswer::No, boxes.calls[0].defaultButton);
  EXPECT_EQ(u" 3 個 の オブジェクト名を正常に変更しました。", boxes.calls[1].text);
  EXPECT_EQ(MsgIcon::Information, boxes.calls[1].icon);
  EXPECT_EQ((OperationSummary{true, 3, 0, 0}.done), s.done);
}

TEST_F(RenameRunTest, RuleSeesNameBeforeTheRunAndTheObjectsContext) {
  AddTarget(u"a.txt");
  AddTarget(u"sub", true);
  objects.ObjModified[2] = 123.5;
  objects.OrderIndex[1] = 2;
  objects.OrderIndex[2] = 1;
  Run();
  EXPECT_EQ(NameList({u"a.txt", u"sub"}), Names());
  EXPECT_EQ(NameList({u"sub", u"a.txt"}), generated);
  // The context of the last object: position 2 of 2, the file a.txt.
  EXPECT_EQ(2, context.CurPos);
  EXPECT_EQ(2, context.CurTotal);
  EXPECT_EQ(W() + u"a.txt", context.CurPath);
  EXPECT_FALSE(context.CurIsFolder);
}

TEST_F(RenameRunTest, CaseOnlyChangeIsRenamed) {
  AddTarget(u"abc.txt");
  Rule(u"abc.txt", u"ABC.txt");
  Run();
  EXPECT_EQ(NameList({u"ABC.txt"}), Names());
  EXPECT_EQ(U8(Log(Obj(u"abc.txt") + Change(u"ABC.txt"))), U8(LogFile()));
  EXPECT_EQ(std::vector<int>({2}), States());
}

TEST_F(RenameRunTest, CaseOnlyChangeRefusedWhenAnotherEntryBearsTheName) {
  AddTarget(u"z.txt");  // its existence test lists the folder first
  AddTarget(u"abc.txt");
  dir.MakeFile(u"w/Abc.txt");
  Rule(u"z.txt", u"q.txt");
  Rule(u"abc.txt", u"ABC.txt");
  Run();
  EXPECT_EQ(NameList({u"Abc.txt", u"abc.txt", u"q.txt"}), Names());
  EXPECT_EQ(U8(Log(Obj(u"z.txt") + Change(u"q.txt") + Obj(u"abc.txt") +
                   u"\t-> ABC.txt 変更開始\r\n\t\tエラー(同名のオブジェクトが既に存在します。)\r\n")),
            U8(LogFile()));
}

// Every target is given x.txt: the numbering styles and starts.
struct NumberingCase {
  const char* name;
  int16_t style;
  int32_t first;
  bool firstNumbered;
  bool mix;
  std::u16string newName;
  NameList expected;  // the names of the three targets in order
};
void PrintTo(const NumberingCase& c, std::ostream* os) { *os << c.name; }

class NumberingTest : public RenameRunTest, public ::testing::WithParamInterface<NumberingCase> {};

TEST_P(NumberingTest, SameNameForEveryTarget) {
  const NumberingCase& c = GetParam();
  settings.ExtraMode = c.style;
  settings.ExtraNum = c.first;
  settings.FirstNumMode = c.firstNumbered;
  settings.ExtraMixMode = c.mix;
  for (const char16_t* n : {u"f1.txt", u"f2.txt", u"f3.txt"}) {
    AddTarget(n);
    Rule(n, c.newName);
  }
  const OperationSummary s = Run();
  EXPECT_EQ(c.expected, TargetNames());
  NameList sorted = c.expected;
  std::sort(sorted.begin(), sorted.end());
  EXPECT_EQ(sorted, Names());
  EXPECT_EQ(std::vector<int>({2, 2, 2}), States());
  EXPECT_EQ(3, s.done);
}

INSTANTIATE_TEST_SUITE_P(
    Styles, NumberingTest,
    ::testing::Values(
        NumberingCase{"hyphen", 1, 2, false, false, u"x.txt", {u"x.txt", u"x-2.txt", u"x-3.txt"}},
        NumberingCase{"underscore", 2, 2, false, false, u"x.txt", {u"x.txt", u"x_2.txt", u"x_3.txt"}},
        NumberingCase{"blank", 3, 2, false, false, u"x.txt", {u"x.txt", u"x 2.txt", u"x 3.txt"}},
        NumberingCase{"bare", 4, 2, false, false, u"x.txt", {u"x.txt", u"x2.txt", u"x3.txt"}},
        NumberingCase{"parentheses", 5, 2, false, false, u"x.txt", {u"x.txt", u"x(2).txt", u"x(3).txt"}},
        NumberingCase{"brackets", 6, 2, false, false, u"x.txt", {u"x.txt", u"x[2].txt", u"x[3].txt"}},
        NumberingCase{"firstNumbered", 1, 2, true, false, u"x.txt", {u"x-2.txt", u"x-3.txt", u"x-4.txt"}},
        NumberingCase{"fromZero", 1, 0, false, false, u"x.txt", {u"x.txt", u"x-0.txt", u"x-1.txt"}},
        NumberingCase{"fromZeroNumbered", 2, 0, true, false, u"x.txt", {u"x_0.txt", u"x_1.txt", u"x_2.txt"}},
        NumberingCase{"lastDotSplits", 1, 2, false, false, u"a.b.txt", {u"a.b.txt", u"a.b-2.txt", u"a.b-3.txt"}},
        NumberingCase{"mixNumbersTheWholeName", 1, 2, false, true, u"a.b.txt", {u"a.b.txt", u"a.b.txt-2", u"a.b.txt-3"}},
        NumberingCase{"noDot", 5, 7, false, false, u"x", {u"x", u"x(7)", u"x(8)"}},
        NumberingCase{"leadingDot", 1, 2, false, false, u".cfg", {u".cfg", u"-2.cfg", u"-3.cfg"}},
        NumberingCase{"trailingDot", 1, 2, false, false, u"x.", {u"x.", u"x-2.", u"x-3."}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RenameRunTest, TargetBearingACandidateStopsThere) {
  // x-2.txt is the first free candidate of its target: it keeps it.
  AddTarget(u"f1.txt");
  AddTarget(u"x-2.txt");
  AddTarget(u"f2.txt");
  AddTarget(u"f3.txt");
  for (const char16_t* n : {u"f1.txt", u"x-2.txt", u"f2.txt", u"f3.txt"}) Rule(n, u"x.txt");
  Run();
  EXPECT_EQ(NameList({u"x.txt", u"x-2.txt", u"x-3.txt", u"x-4.txt"}), TargetNames());
  EXPECT_EQ(U8(Log(Obj(u"f1.txt") + Change(u"x.txt") + Obj(u"x-2.txt") + Same(u"x-2.txt") +
                   Obj(u"f2.txt") + Change(u"x-3.txt") + Obj(u"f3.txt") + Change(u"x-4.txt"))),
            U8(LogFile()));
}

TEST_F(RenameRunTest, OwnNameAmongNumbersOthersSkippedIsStillTaken) {
  // x.txt and X.TXT are two files here. b finds x.txt held by the earlier
  // x.txt and numbers; X.TXT then takes x.txt as its own name at once, and the
  // rename is refused because x.txt exists: nothing is replaced.
  AddTarget(u"x.txt");
  AddTarget(u"b.txt");
  AddTarget(u"X.TXT");
  Rule(u"b.txt", u"x.txt");
  Rule(u"X.TXT", u"x.txt");
  Run();
  EXPECT_EQ(NameList({u"X.TXT", u"x-2.txt", u"x.txt"}), Names());
  EXPECT_EQ(U8(Log(Obj(u"x.txt") + Same(u"x.txt") + Obj(u"b.txt") + Change(u"x-2.txt") +
                   Obj(u"X.TXT") +
                   u"\t-> x.txt 変更開始\r\n\t\tエラー(同名のオブジェクトが既に存在します。)\r\n")),
            U8(LogFile()));
}

struct EvacuationCase {
  const char* name;
  int16_t style;
  std::u16string evacuated;
};
void PrintTo(const EvacuationCase& c, std::ostream* os) { *os << c.name; }

class EvacuationTest : public RenameRunTest, public ::testing::WithParamInterface<EvacuationCase> {};

TEST_P(EvacuationTest, LaterHolderIsMovedAside) {
  settings.ExtraMode2 = GetParam().style;
  const std::u16string& evac = GetParam().evacuated;
  AddTarget(u"a.txt");
  AddTarget(u"b.txt");
  Rule(u"a.txt", u"b.txt");
  Rule(u"b.txt", u"z.txt");
  Run();
  EXPECT_EQ(NameList({u"b.txt", u"z.txt"}), Names());
  EXPECT_EQ(std::vector<int>({2, 2}), States());
  EXPECT_EQ(U8(Log(Obj(u"a.txt") + Evac(u"b.txt", evac) + Change(u"b.txt") +
                   Obj(u"b.txt", u"退避名", evac) + Change(u"z.txt"))),
            U8(LogFile()));
  EXPECT_EQ(NameList({u"a.txt", u"b.txt"}), generated);  // b from its name before the run
}

INSTANTIATE_TEST_SUITE_P(Styles, EvacuationTest,
                         ::testing::Values(EvacuationCase{"dollar", 1, u"b.txt.$1$"},
                                           EvacuationCase{"underscore", 2, u"b.txt._1_"},
                                           EvacuationCase{"number", 3, u"b.txt.1"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(RenameRunTest, EvacuationNameSkipsTakenNames) {
  AddTarget(u"a.txt");
  AddTarget(u"b.txt");
  dir.MakeFile(u"w/B.TXT.$1$");
  Rule(u"a.txt", u"b.txt");
  Rule(u"b.txt", u"z.txt");
  Run();
  EXPECT_EQ(NameList({u"B.TXT.$1$", u"b.txt", u"z.txt"}), Names());
  EXPECT_NE(std::u16string::npos, LogFile().find(Evac(u"b.txt", u"b.txt.$2$")));
}

TEST_F(RenameRunTest, SwapOfTwoNames) {
  AddTarget(u"a.txt");
  AddTarget(u"b.txt");
  Rule(u"a.txt", u"b.txt");
  Rule(u"b.txt", u"a.txt");
  dir.MakeFile(u"w/a.txt", "first");
  dir.MakeFile(u"w/b.txt", "second");
  Run();
  EXPECT_EQ(NameList({u"a.txt", u"b.txt"}), Names());
  EXPECT_EQ("first", dir.ReadFile(u"w/b.txt"));
  EXPECT_EQ("second", dir.ReadFile(u"w/a.txt"));
  EXPECT_EQ(std::vector<int>({2, 2}), States());
  EXPECT_EQ(U8(Log(Obj(u"a.txt") + Evac(u"b.txt", u"b.txt.$1$") + Change(u"b.txt") +
                   Obj(u"b.txt", u"退避名", u"b.txt.$1$") + Change(u"a.txt"))),
            U8(LogFile()));
}

TEST_F(RenameRunTest, ChainShiftingNumbersByOne) {
  for (int k = 1; k <= 4; ++k) {
    const std::u16string name = std::u16string{u'f', static_cast<char16_t>(u'0' + k)} + u".txt";
    AddTarget(name);
    dir.MakeFile(std::u16string(u"w/").append(name), std::string(1, '0' + k));
    Rule(name, std::u16string{u'f', static_cast<char16_t>(u'0' + k + 1)} + u".txt");
  }
  Run();
  EXPECT_EQ(NameList({u"f2.txt", u"f3.txt", u"f4.txt", u"f5.txt"}), Names());
  for (int k = 1; k <= 4; ++k) {
    EXPECT_EQ(std::string(1, '0' + k), dir.ReadFile(u"w/f" + std::u16string(1, u'0' + k + 1) + u".txt"));
  }
  EXPECT_EQ(std::vector<int>({2, 2, 2, 2}), States());
  EXPECT_EQ(U8(Log(Obj(u"f1.txt") + Evac(u"f2.txt", u"f2.txt.$1$") + Change(u"f2.txt") +
                   Obj(u"f2.txt", u"退避名", u"f2.txt.$1$") + Evac(u"f3.txt", u"f3.txt.$1$") +
                   Change(u"f3.txt") + Obj(u"f3.txt", u"退避名", u"f3.txt.$1$") +
                   Evac(u"f4.txt", u"f4.txt.$1$") + Change(u"f4.txt") +
                   Obj(u"f4.txt", u"退避名", u"f4.txt.$1$") + Change(u"f5.txt"))),
            U8(LogFile()));
}

TEST_F(RenameRunTest, NameOfAnEarlierTargetIsNeverTaken) {
  AddTarget(u"a.txt");
  AddTarget(u"b.txt");
  Rule(u"b.txt", u"A.TXT");
  Run();
  EXPECT_EQ(NameList({u"A-2.TXT", u"a.txt"}), Names());
  EXPECT_EQ(std::vector<int>({2, 2}), States());
}

TEST_F(RenameRunTest, NonTargetHoldsTheNameInAnyCase) {
  AddTarget(u"a.txt");
  AddTarget(u"b.txt");
  dir.MakeFile(u"w/X.TXT");
  dir.MakeFolder(u"w/y-2.txt");
  Rule(u"a.txt", u"x.txt");
  Rule(u"b.txt", u"y.txt");
  dir.MakeFile(u"w/y.txt");
  Run();
  EXPECT_EQ(NameList({u"X.TXT", u"x-2.txt", u"y-2.txt", u"y-3.txt", u"y.txt"}), Names());
  EXPECT_EQ(U8(Log(Obj(u"a.txt") + Change(u"x-2.txt") + Obj(u"b.txt") + Change(u"y-3.txt"))),
            U8(LogFile()));
}

TEST_F(RenameRunTest, SameNameInAnotherFolderIsNoCollision) {
  dir.MakeFolder(u"w/d1");
  dir.MakeFolder(u"w/d2");
  AddTarget(u"d1/a.txt");
  AddTarget(u"d2/x.txt");
  Rule(u"a.txt", u"x.txt");
  Run();
  EXPECT_EQ(NameList({u"x.txt"}), Names(u"d1"));
  EXPECT_EQ(NameList({u"x.txt"}), Names(u"d2"));
}

TEST_F(RenameRunTest, BaseNameModeEvacuatesSameBaseAndNumbers) {
  settings.BNameMode = true;
  AddTarget(u"a.txt");
  AddTarget(u"a.jpg");
  Run();
  EXPECT_EQ(NameList({u"a-2.jpg", u"a.txt"}), Names());
  EXPECT_EQ(std::vector<int>({2, 2}), States());
  EXPECT_EQ(U8(Log(Obj(u"a.txt") + Evac(u"a.jpg", u"a.jpg.$1$") + Same(u"a.txt") +
                   Obj(u"a.jpg", u"退避名", u"a.jpg.$1$") + Change(u"a-2.jpg"))),
            U8(LogFile()));
}

TEST_F(RenameRunTest, BaseNameModeCollidesWithNonTargetOfSameBase) {
  settings.BNameMode = true;
  AddTarget(u"a.txt");
  dir.MakeFile(u"w/A.doc");
  dir.MakeFile(u"w/a-2");  // base a-2 too
  Run();
  EXPECT_EQ(NameList({u"A.doc", u"a-2", u"a-3.txt"}), Names());
}

TEST_F(RenameRunTest, BaseNameModeIsOffWithMixMode) {
  settings.BNameMode = true;
  settings.ExtraMixMode = true;
  AddTarget(u"a.txt");
  AddTarget(u"a.jpg");
  Run();
  EXPECT_EQ(NameList({u"a.jpg", u"a.txt"}), Names());
  EXPECT_EQ(U8(Log(Obj(u"a.txt") + Same(u"a.txt") + Obj(u"a.jpg") + Same(u"a.jpg"))),
            U8(LogFile()));
}

TEST_F(RenameRunTest, RenamedFolderMovesTheTargetsInside) {
  // The file inside comes first and the folder second, then a file inside
  // after it: both get the stored folder of the new path.
  AddTarget(u"d", true);
  AddTarget(u"d/s", true);
  AddTarget(u"d/s/f.txt");
  AddTarget(u"d/g.txt");
  objects.OrderIndex[1] = 3;  // d/s/f.txt
  objects.OrderIndex[2] = 1;  // d
  objects.OrderIndex[3] = 4;  // d/g.txt
  objects.OrderIndex[4] = 2;  // d/s
  Rule(u"d", u"e");
  Rule(u"f.txt", u"h.txt");
  Rule(u"g.txt", u"k.txt");
  Rule(u"s", u"t");
  Run();
  EXPECT_EQ(NameList({u"e"}), Names());
  EXPECT_EQ(NameList({u"k.txt", u"t"}), Names(u"e"));
  EXPECT_EQ(NameList({u"h.txt"}), Names(u"e/t"));
  EXPECT_EQ(W() + u"e/t/", objects.ObjFolder[3]);
  EXPECT_EQ(W() + u"e/", objects.ObjFolder[4]);
  EXPECT_EQ(W() + u"e/", objects.ObjFolder[2]);
  EXPECT_EQ(W(), objects.ObjFolder[1]);
  EXPECT_EQ(std::vector<int>({2, 2, 2, 2}), States());
}

TEST_F(RenameRunTest, EvacuatedFolderMovesTheTargetsInside) {
  AddTarget(u"a", true);
  AddTarget(u"b", true);
  AddTarget(u"b/f.txt");
  Rule(u"a", u"b");
  Rule(u"b", u"c");
  Rule(u"f.txt", u"g.txt");
  Run();
  EXPECT_EQ(NameList({u"b", u"c"}), Names());
  EXPECT_EQ(NameList({u"g.txt"}), Names(u"c"));
  EXPECT_EQ(W() + u"c/", objects.ObjFolder[3]);
}

TEST_F(RenameRunTest, FolderStoredInAnotherCaseIsNotRewritten) {
  AddTarget(u"d", true);
  AddTarget(u"d/f.txt");
  objects.ObjFolder[2] = W() + u"D/";
  Rule(u"d", u"e");
  Run();
  EXPECT_EQ(W() + u"D/", objects.ObjFolder[2]);
  EXPECT_EQ(std::vector<int>({2, 2}), States());  // f.txt keeps its name: nothing checks the disk
}

TEST_F(RenameRunTest, DeletedTargetFailsWithNotFound) {
  AddTargetOnly(u"gone.txt");
  AddTargetOnly(u"gone2.txt");
  Rule(u"gone.txt", u"new.txt");
  const OperationSummary s = Run();
  EXPECT_TRUE(Names().empty());
  EXPECT_EQ(std::vector<int>({0, 2}), States());
  EXPECT_EQ(U8(Log(Obj(u"gone.txt") + u"\t-> new.txt 変更開始\r\n\t\tエラー(オブジェクトが存在しません。)\r\n" +
                   Obj(u"gone2.txt") + Same(u"gone2.txt"))),
            U8(LogFile()));
  EXPECT_EQ(1, s.errors);
  EXPECT_EQ(1, s.done);
  const std::u16string report = host.reportText;
  EXPECT_NE(std::u16string::npos,
            report.find(u"\r\n[エラーが発生したオブジェクト]\r\n\r\n" +
                        Entry(u"gone.txt", u"new.txt", u"エラー(オブジェクトが存在しません。)") +
                        u"\r\n[エラーが発生したオブジェクトの状態]\r\n\r\n" +
                        Entry(u"gone.txt", u"", u"元名") + u"\r\n[ログ]"));
  EXPECT_EQ(u" 1 個 の オブジェクト名を正常に変更しました。\n 1 個 の オブジェクト名を変更できませんでした。\n\n"
            u"詳細は、レポートを参照してください。",
            boxes.Last().text);
  EXPECT_EQ(MsgIcon::Critical, boxes.Last().icon);
}

TEST_F(RenameRunTest, RefusedRenameAndTheReRunAfterTheCauseIsGone) {
  AddTarget(u"a.txt");
  AddTarget(u"b.txt");
  Rule(u"a.txt", u"x.txt");
  Rule(u"b.txt", u"y.txt");
  fs.Fail(FsCall::Rename, W() + u"b.txt", kFsPermissionDenied);
  Run();
  EXPECT_EQ(NameList({u"b.txt", u"x.txt"}), Names());
  EXPECT_EQ(std::vector<int>({2, 0}), States());
  const std::u16string first = Log(Obj(u"a.txt") + Change(u"x.txt") + Obj(u"b.txt") +
                                   u"\t-> y.txt 変更開始\r\n\t\tエラー\r\n");
  EXPECT_EQ(U8(first), U8(LogFile()));

  fs.ClearFaults();
  const OperationSummary s = Run(2);
  EXPECT_EQ(NameList({u"x.txt", u"y.txt"}), Names());
  EXPECT_EQ(std::vector<int>({2, 2}), States());
  const std::u16string second = Log(Obj(u"a.txt", u"変更名", u"x.txt") + Same(u"x.txt") +
                                        Obj(u"b.txt") + Change(u"y.txt"),
                                    true);
  EXPECT_EQ(U8(first + second), U8(LogFile()));  // the re-run appends
  EXPECT_EQ(U8(second), U8(journal.LogText));
  EXPECT_EQ(2, s.done);
  EXPECT_EQ(u"名前を再変更しますか？", boxes.calls[2].text);
  EXPECT_EQ(3, changeState);
  EXPECT_EQ(std::vector<std::string>({"hourglass", "report", "remember", "rebuild", "hourglass",
                                      "report", "rebuild"}),
            host.steps);
}

TEST_F(RenameRunTest, ReRunRetriesEvacuatedTargetsFromTheirNameBeforeTheRun) {
  AddTarget(u"a.txt");
  AddTarget(u"b.txt");
  Rule(u"a.txt", u"b.txt");
  Rule(u"b.txt", u"c.txt");
    // The evacuation passes; b's own rename from its evacuation name fails.
  fs.Fail(FsCall::Rename, W() + u"b.txt.$1$", kFsPermissionDenied, -1, 1);
  Run();
  EXPECT_EQ(NameList({u"b.txt", u"b.txt.$1$"}), Names());
  EXPECT_EQ(std::vector<int>({2, 4}), States());
  EXPECT_NE(std::u16string::npos, host.reportText.find(Entry(u"b.txt", u"b.txt.$1$", u"退避名")));
  fs.ClearFaults();
  Run(2);
  EXPECT_EQ(NameList({u"b.txt", u"c.txt"}), Names());
  EXPECT_EQ(std::vector<int>({2, 2}), States());
  EXPECT_EQ(NameList({u"a.txt", u"b.txt", u"a.txt", u"b.txt"}), generated);
}

// An evacuation refused (permission denied, or the temporary name taken by
// an entry the listing did not show) moves nothing: its outcome line says
// so, and the target that wanted the name takes the next number, on either
// thread.
struct FailedEvacuationCase {
  const char* label;
  int error;
  bool thread;
};

class FailedEvacuationTest : public RenameRunTest,
                             public ::testing::WithParamInterface<FailedEvacuationCase> {};

TEST_P(FailedEvacuationTest, GivesATentativeName) {
  const FailedEvacuationCase& c = GetParam();
  renameThread = c.thread;
  AddTarget(u"a.txt");
  AddTarget(u"b.txt");
  Rule(u"a.txt", u"b.txt");
  fs.Fail(FsCall::Rename, W() + u"b.txt", c.error, 1);
  const OperationSummary s = Run();
  EXPECT_EQ(NameList({u"b-2.txt", u"b.txt"}), Names());
  EXPECT_EQ(std::vector<int>({3, 2}), States());
  EXPECT_EQ(U8(Log(Obj(u"a.txt") + u"\t" + W() + u"b.txt -> b.txt.$1$ 退避開始\r\n\t\tエラー\r\n" +
                   Change(u"b-2.txt") + Obj(u"b.txt") + Same(u"b.txt"))),
            U8(LogFile()));
  EXPECT_EQ(1, s.tentative);
  EXPECT_NE(std::u16string::npos, host.reportText.find(Entry(u"a.txt", u"b-2.txt", u"仮変更")));
  EXPECT_EQ(u" 2 個 の オブジェクト名を一応変更しました。\n\n詳細は、レポートを参照してください。",
            boxes.Last().text);
  EXPECT_EQ(MsgIcon::Information, boxes.Last().icon);
}

INSTANTIATE_TEST_SUITE_P(
    Refusals, FailedEvacuationTest,
    ::testing::Values(FailedEvacuationCase{"PermissionDenied", kFsPermissionDenied, true},
                      FailedEvacuationCase{"PermissionDeniedInTurn", kFsPermissionDenied, false},
                      FailedEvacuationCase{"TemporaryNameTaken", kFsAlreadyExists, true},
                      FailedEvacuationCase{"TemporaryNameTakenInTurn", kFsAlreadyExists, false}),
    [](const auto& info) { return std::string(info.param.label); });

// A name that is not UTF-8 (its byte FF) is written in the log in the
// shell's $'...' form, so that the log stays UTF-8 and the shell gives the
// bytes back; the report keeps the name's bytes as they are.
TEST_F(RenameRunTest, ANameThatIsNotUtf8IsQuotedInTheLogAndKeptInTheReport) {
  AddTarget(u"b\xDCFF" u"c.txt");
  AddTarget(u"e.txt");
  Rule(u"b\xDCFF" u"c.txt", u"d.txt");
  Rule(u"e.txt", u"f\xDCFE.txt");
  ASSERT_EQ(2, Run().done);
  EXPECT_EQ(NameList({u"d.txt", u"f\xDCFE.txt"}), Names());
  const std::string bytes = dir.ReadFile(u"p/dovetam_rename.log");
  const std::u16string log = DecodeNative(bytes);
  EXPECT_EQ(std::u16string::npos, log.find_first_of(u"\xDCFE\xDCFF")) << "the log is not UTF-8";
  EXPECT_EQ(U8(Log(u"$'" + W() + u"b\\xFFc.txt' :\r\n" + Change(u"d.txt") + Obj(u"e.txt") +
                   u"\t-> $'f\\xFE.txt' 変更開始\r\n\t\t正常終了\r\n")),
            U8(log));
  const std::u16string report = ReportFile();
  EXPECT_NE(std::u16string::npos,
            report.find(ReportEntryLine(W() + u"b\xDCFF" u"c.txt", u"d.txt", u"正常変更")));
  EXPECT_NE(std::u16string::npos,
            report.find(ReportEntryLine(W() + u"e.txt", u"f\xDCFE.txt", u"正常変更")));
}

TEST_F(RenameRunTest, RuleAndGeneratedNameErrors) {
  AddTarget(u"a.txt");
  AddTarget(u"b.txt");
  AddTarget(u"c.txt");
  AddTarget(u"d.txt");
  RuleError(u"a.txt", 1, u"規則が違います。");
  RuleError(u"b.txt", 2, u"名前が違います。");
  Rule(u"c.txt", u"../c.txt");  // slipped through the rule: never reaches the disk
  Rule(u"d.txt", u"..");
  const OperationSummary s = Run();
  EXPECT_EQ(NameList({u"a.txt", u"b.txt", u"c.txt", u"d.txt"}), Names());
  EXPECT_EQ(std::vector<int>({0, 0, 0, 0}), States());
  EXPECT_EQ(4, s.errors);
  EXPECT_EQ(0u, fs.CountCalls(FsCall::Rename));
  const std::u16string log = LogFile();
  EXPECT_NE(std::u16string::npos,
            log.find(Obj(u"a.txt") + u"\t-> \r\n\t\t変更規則エラー(規則が違います。)\r\n" + Obj(u"b.txt") +
                     u"\t-> \r\n\t\t生成名エラー(名前が違います。)\r\n" + Obj(u"c.txt") +
                     u"\t-> \r\n\t\t生成名エラー("));
  EXPECT_NE(std::u16string::npos,
            host.reportText.find(Entry(u"a.txt", u"", u"変更規則エラー(規則が違います。)") +
                                 Entry(u"b.txt", u"", u"生成名エラー(名前が違います。)")));
  EXPECT_EQ(MsgIcon::Critical, boxes.Last().icon);
  EXPECT_EQ(3, changeState);  // also when every object failed
}

// A name longer on disk than the system allows (255 bytes) can never be
// made: the rule engine refuses it as a generated name error, which the
// run logs and reports, and a name that slips past the engine is refused by
// the run itself. 85 kana of three bytes fit; one byte more does not.
TEST_F(RenameRunTest, GeneratedNamesLongerThanTheSystemAllowsAreGeneratedNameErrors) {
  RuleEngine engine(settings, fs, Capacities::Small());
  const std::u16string kana85(85, u'あ');
  struct Row {
    const char* name;
    std::u16string newName;
    bool fits;
  };
  const Row rows[] = {
      {"300 bytes", std::u16string(100, u'あ'), false},
      {"256 bytes", kana85 + u"x", false},
      {"255 bytes", kana85, true},
      {"255 bytes of a name that is not UTF-8", std::u16string(255, u'\xDCFF'), true},
  };
  int k = 0;
  for (const bool throughEngine : {true, false}) {
    for (const Row& r : rows) {
      SCOPED_TRACE(std::string(r.name) + (throughEngine ? ", made by the engine" : ", past the engine"));
      const std::u16string sub = std::u16string(u"r") += static_cast<char16_t>(u'a' + k++);
      dir.MakeFolder(u"w/" + sub);
      objects.Reset(10);
      changeState = 0;
      boxes.Clear();
      AddTarget(sub + u"/a.txt");
      Rule(u"a.txt", r.newName);
      engine.rule = ChangeRule{u"\"" + r.newName + u"\"", u"*", true};
      RunEnvironment env{objects, settings, fs, renameThread, boxes, clock, journal, reportPath, reportSaved,
                         changeState, listStale, throughEngine ? engine.context : context,
                         throughEngine ? NameGenerator([&engine](const std::u16string& n) {
                           return engine.GenerateNewName(n);
                         })
                                       : NameGenerator([this](const std::u16string& n) {
                                           return Generate(n);
                                         }),
                         host};
      boxes.QueueAnswer(MsgAnswer::Yes);
      const OperationSummary s = ExecuteRenameRun(env, 1);
      if (r.fits) {
        EXPECT_EQ(1, s.done);
        EXPECT_EQ(NameList({r.newName}), Names(sub));
        continue;
      }
      EXPECT_EQ(1, s.errors);
      EXPECT_EQ(NameList({u"a.txt"}), Names(sub));
      const std::u16string status = u"生成名エラー(" + UnusableNameMessage(r.newName) + u")";
      EXPECT_EQ(U8(Log(Obj(sub + u"/a.txt") + u"\t-> \r\n\t\t" + status + u"\r\n")), U8(LogFile()));
      EXPECT_NE(std::u16string::npos, host.reportText.find(Entry(sub + u"/a.txt", u"", status)));
    }
  }
}

TEST_F(RenameRunTest, NumbersRunOut) {
  settings.ExtraNum = 999999999;
  settings.FirstNumMode = true;
  AddTarget(u"a.txt");
  AddTarget(u"b.txt");
  Rule(u"a.txt", u"x.txt");
  Rule(u"b.txt", u"x.txt");
  Run();
  EXPECT_EQ(NameList({u"b.txt", u"x-999999999.txt"}), Names());
  EXPECT_NE(std::u16string::npos,
            LogFile().find(Obj(u"b.txt") + u"\tシステムエラー(変更名の添字が範囲を超えました。)\r\n"));
  EXPECT_NE(std::u16string::npos,
            host.reportText.find(Entry(u"b.txt", u"", u"システムエラー(変更名の添字が範囲を超えました。)")));
}

TEST_F(RenameRunTest, UnreadableFolderIsASystemErrorInBaseNameMode) {
  settings.BNameMode = true;
  AddTarget(u"a.txt");
  fs.Fail(FsCall::ListFolder, W(), kFsPermissionDenied);
  Rule(u"a.txt", u"b.txt");
  Run();
  EXPECT_EQ(NameList({u"a.txt"}), Names());
  EXPECT_NE(std::u16string::npos,
            LogFile().find(Obj(u"a.txt") + u"\tシステムエラー(変更名を取得できませんでした。)\r\n"));
}

TEST_F(RenameRunTest, UnreadableFolderFallsBackToTheExistenceTest) {
  AddTarget(u"a.txt");
  dir.MakeFile(u"w/B.txt");
  fs.Fail(FsCall::ListFolder, W(), kFsPermissionDenied);
  Rule(u"a.txt", u"b.txt");
  Run();
  EXPECT_EQ(NameList({u"B.txt", u"b-2.txt"}), Names());
  fs.ClearFaults();
}

TEST_F(RenameRunTest, FailingExistenceTestIsASystemError) {
  AddTarget(u"a.txt");
  fs.Fail(FsCall::ListFolder, W(), kFsPermissionDenied);
  fs.Fail(FsCall::FileExists, W() + u"b.txt", kFsIoError);
  Rule(u"a.txt", u"b.txt");
  Run();
  EXPECT_EQ(NameList({u"a.txt"}), Names());
  EXPECT_NE(std::u16string::npos,
            LogFile().find(u"\tシステムエラー(変更名を取得できませんでした。)\r\n"));
}

TEST_F(RenameRunTest, QuotesAreDoubledInTheReportOnly) {
  AddTarget(u"a\"b.txt");
  Rule(u"a\"b.txt", u"c\"\"d.txt");
  Run();
  EXPECT_NE(std::u16string::npos, LogFile().find(u"\t-> c\"\"d.txt 変更開始\r\n"));
  EXPECT_NE(std::u16string::npos,
            host.reportText.find(std::u16string(1, u'"').append(W()) +
                                 u"a\"\"b.txt\" \"c\"\"\"\"d.txt\" \"正常変更\"\r\n"));
}

TEST_F(RenameRunTest, LogAndReportModesOff) {
  settings.LogMode = false;
  settings.ReportMode = false;
  AddTarget(u"a.txt");
  Rule(u"a.txt", u"b.txt");
  Run();
  EXPECT_EQ(NameList({u"b.txt"}), Names());
  EXPECT_FALSE(dir.Exists(u"p/dovetam_rename.log"));
  EXPECT_FALSE(dir.Exists(u"p/dovetam_report.dat"));
  EXPECT_FALSE(reportSaved);
  EXPECT_EQ(0u, fs.CountCalls(FsCall::CreateTextFile));
  EXPECT_EQ(2u, boxes.Count());  // confirmation and result only
  EXPECT_NE(std::u16string::npos,
            host.reportText.find(u"[ログ]\r\n\r\n" + Log(Obj(u"a.txt") + Change(u"b.txt"))));
}

TEST_F(RenameRunTest, ReportModeOffKeepsAnEarlierReportSaved) {
  settings.ReportMode = false;
  reportSaved = true;
  AddTarget(u"a.txt");
  Run();
  EXPECT_TRUE(reportSaved);
}

TEST_F(RenameRunTest, LogCannotBeCreated) {
  AddTarget(u"a.txt");
  Rule(u"a.txt", u"b.txt");
  fs.Fail(FsCall::CreateTextFile, journal.LogPath, kFsPermissionDenied);
  boxes.QueueAnswer(MsgAnswer::No);
  const OperationSummary s = Run();
  EXPECT_FALSE(s.performed);
  EXPECT_EQ(NameList({u"a.txt"}), Names());
  EXPECT_EQ(u"ログファイル(" + journal.LogPath + u")を作成できませんでした。\n続行しますか？",
            boxes.Last().text);
  EXPECT_EQ(MsgIcon::Critical, boxes.Last().icon);
  EXPECT_EQ(MsgAnswer::No, boxes.Last().defaultButton);
  EXPECT_EQ(std::vector<std::string>({"hourglass", "normal"}), host.steps);
  EXPECT_EQ(0, changeState);

  boxes.Clear();
  boxes.QueueAnswer(MsgAnswer::Yes);
  Run();
  EXPECT_EQ(NameList({u"b.txt"}), Names());
  EXPECT_NE(std::u16string::npos, host.reportText.find(Log(Obj(u"a.txt") + Change(u"b.txt"))));
}

TEST_F(RenameRunTest, LogWriteFailureAnsweredNoStopsTheRun) {
  AddTarget(u"a.txt");
  AddTarget(u"b.txt");
  AddTarget(u"c.txt");
  Rule(u"a.txt", u"x.txt");
  Rule(u"b.txt", u"y.txt");
  Rule(u"c.txt", u"z.txt");
  // The first write (the header) passes, the second (a's object line and
  // change line, in one write before the rename) fails.
  fs.Fail(FsCall::Write, journal.LogPath, kFsIoError, 1, 1);
  boxes.QueueAnswer(MsgAnswer::No);
  const OperationSummary s = Run();
  EXPECT_EQ(NameList({u"a.txt", u"b.txt", u"c.txt"}), Names());
  EXPECT_EQ(u"ログ(" + journal.LogPath + u")への書き込みに失敗しました。\nログを使用せずに続行しますか？",
            boxes.calls[1].text);
  EXPECT_EQ(MsgIcon::Critical, boxes.calls[1].icon);
  EXPECT_EQ(U8(Header(u" 名前変更開始")), U8(LogFile()));
  const std::u16string body = Obj(u"a.txt") + u"\t-> x.txt 変更開始\r\n\t\t中断\r\n\tスキップ(中断)\r\n" +
                              Obj(u"b.txt") + u"\tスキップ(中断)\r\n" + Obj(u"c.txt") +
                              u"\tスキップ(中断)\r\n";
  EXPECT_EQ(U8(Log(body)), U8(journal.LogText));
  EXPECT_EQ(3, s.errors);
  EXPECT_NE(std::u16string::npos,
            host.reportText.find(Entry(u"a.txt", u"", u"中断") + Entry(u"b.txt", u"", u"中断") +
                                 Entry(u"c.txt", u"", u"中断")));
  EXPECT_EQ(u" 0 個 の オブジェクト名を正常に変更しました。\n 3 個 の オブジェクト名を変更できませんでした。\n\n"
            u"詳細は、レポートを参照してください。",
            boxes.Last().text);
}

TEST_F(RenameRunTest, LogFailingAtTheFirstWriteAnsweredNo) {
  AddTarget(u"a.txt");
  AddTarget(u"b.txt");
  Rule(u"a.txt", u"x.txt");
  fs.Fail(FsCall::Write, journal.LogPath, kFsIoError);
  boxes.QueueAnswer(MsgAnswer::No);
  const OperationSummary s = Run();
  EXPECT_EQ(NameList({u"a.txt", u"b.txt"}), Names());
  EXPECT_EQ(U8(Log(Obj(u"a.txt") + u"\tスキップ(中断)\r\n" + Obj(u"b.txt") + u"\tスキップ(中断)\r\n")),
            U8(journal.LogText));
  EXPECT_EQ(u"", LogFile());
  EXPECT_EQ(0, s.done);
  EXPECT_EQ(2, s.errors);
  EXPECT_EQ(MsgIcon::Critical, boxes.Last().icon);
  EXPECT_EQ(3, changeState);
}

TEST_F(RenameRunTest, LogWriteFailureDuringAnEvacuation) {
  AddTarget(u"a.txt");
  AddTarget(u"b.txt");
  Rule(u"a.txt", u"b.txt");
  fs.Fail(FsCall::Write, journal.LogPath, kFsIoError, 1, 1);  // the evacuation line
  boxes.QueueAnswer(MsgAnswer::No);
  Run();
  EXPECT_EQ(NameList({u"a.txt", u"b.txt"}), Names());
  EXPECT_EQ(U8(Log(Obj(u"a.txt") + u"\t" + W() + u"b.txt -> b.txt.$1$ 退避開始\r\n\t\t中断\r\n" +
                   u"\tスキップ(中断)\r\n" + Obj(u"b.txt") + u"\tスキップ(中断)\r\n")),
            U8(journal.LogText));
}

TEST_F(RenameRunTest, LogWriteFailureAnsweredYesGoesOnWithoutTheFile) {
  AddTarget(u"a.txt");
  AddTarget(u"b.txt");
  Rule(u"a.txt", u"x.txt");
  Rule(u"b.txt", u"y.txt");
  fs.Fail(FsCall::Write, journal.LogPath, kFsIoError, 1, 1);
  boxes.QueueAnswer(MsgAnswer::Yes);
  const OperationSummary s = Run();
  EXPECT_EQ(NameList({u"x.txt", u"y.txt"}), Names());
  EXPECT_EQ(2, s.done);
  EXPECT_EQ(U8(Header(u" 名前変更開始")), U8(LogFile()));
  EXPECT_EQ(U8(Log(Obj(u"a.txt") + Change(u"x.txt") + Obj(u"b.txt") + Change(u"y.txt"))),
            U8(journal.LogText));
  EXPECT_EQ(3u, boxes.Count());  // confirmation, the question, the result
}

TEST_F(RenameRunTest, LogCloseAndReportFileFailures) {
  AddTarget(u"a.txt");
  fs.Fail(FsCall::Close, journal.LogPath, kFsIoError);
  fs.Fail(FsCall::Write, reportPath, kFsIoError);
  fs.Fail(FsCall::Close, reportPath, kFsIoError);
  Run();
  EXPECT_EQ((std::vector<std::u16string>{
                u"現在の設定で名前を変更しますか？",
                u"ログ(" + journal.LogPath + u")を閉じることができませんでした。",
                u"レポート用のファイル(" + reportPath + u")にレポートを保存できませんでした。",
                u"レポート用のファイル(" + reportPath + u")を閉じることができませんでした。",
                u" 1 個 の オブジェクト名を正常に変更しました。"}),
            boxes.Texts());
  EXPECT_TRUE(reportSaved);  // created, although writing failed
  EXPECT_EQ(3, changeState);
}

TEST_F(RenameRunTest, ReportFileCannotBeCreated) {
  AddTarget(u"a.txt");
  fs.Fail(FsCall::CreateTextFile, reportPath, kFsPermissionDenied);
  Run();
  EXPECT_EQ(u"レポート用のファイル(" + reportPath + u")を開くことができませんでした。", boxes.calls[1].text);
  EXPECT_EQ(MsgIcon::Critical, boxes.calls[1].icon);
  EXPECT_FALSE(reportSaved);
}

// Refusals and the confirmation: each ends the handler with nothing changed.
struct RefusalCase {
  const char* name;
  int index;
  int16_t changeState;
  bool withTarget;
  std::u16string text;  // "" = no refusal: the confirmation is asked
};
void PrintTo(const RefusalCase& c, std::ostream* os) { *os << c.name; }

class RefusalTest : public RenameRunTest, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(RefusalTest, RefusesOrAsks) {
  const RefusalCase& c = GetParam();
  changeState = c.changeState;
  if (c.withTarget) AddTarget(u"a.txt");
  Rule(u"a.txt", u"b.txt");
  boxes.QueueAnswer(MsgAnswer::No);
  RunEnvironment env = Env();
  const OperationSummary s = ExecuteRenameRun(env, c.index);
  EXPECT_FALSE(s.performed);
  ASSERT_EQ(1u, boxes.Count());
  if (c.text.empty()) {
    EXPECT_EQ(MsgIcon::Question, boxes.Last().icon);
  } else {
    EXPECT_EQ(c.text, boxes.Last().text);
    EXPECT_EQ(MsgIcon::Exclamation, boxes.Last().icon);
  }
  EXPECT_TRUE(host.steps.empty());
  EXPECT_FALSE(dir.Exists(u"p/dovetam_rename.log"));
  EXPECT_EQ(c.changeState, changeState);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RefusalTest,
    ::testing::Values(
        RefusalCase{"runTwice", 1, 3, true,
                    u"二重に名前変更を行うことはできません。\n\nオブジェクトを選択しなおすか、変更規則を変えてから、\n"
                    u"操作を行ってください。"},
        RefusalCase{"noTargets", 1, 0, false, u"オブジェクトを選択してください。"},
        RefusalCase{"reRunBeforeRun", 2, 0, true, u"名前を再変更できません。"},
        RefusalCase{"runAnsweredNo", 1, 0, true, u""},
        RefusalCase{"reRunWithoutTargetsAsks", 2, 3, false, u""}),
    [](const auto& info) { return std::string(info.param.name); });

// One folder reached under two spellings: "w/link" is a link to "w/real".
// What is on disk is the same under both, whichever spelling saw it first.
class LinkedFolderTest : public RenameRunTest {
 protected:
  LinkedFolderTest() {
    dir.MakeFolder(u"w/real");
    dir.MakeSymlink(u"w/link", "real");
  }
};

class LinkedNameTest : public LinkedFolderTest,
                       public ::testing::WithParamInterface<const char16_t*> {};

TEST_P(LinkedNameTest, NameTakenUnderTheOtherSpellingIsNumbered) {
  const std::u16string taken = GetParam();  // a's new name: b.txt in some case
  AddTarget(u"link/d");
  AddTarget(u"real/a");
  AddTarget(u"link/c");
  Rule(u"d", u"e");
  Rule(u"a", taken);
  Rule(u"c", u"b.txt");
  Run();
  NameList expected = {u"e", taken, u"b-2.txt"};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(expected, Names(u"real"));
  EXPECT_EQ(NameList({u"e", taken, u"b-2.txt"}), TargetNames());
  EXPECT_EQ(std::vector<int>({2, 2, 2}), States());
  EXPECT_NE(std::u16string::npos, LogFile().find(W() + u"link/c :\r\n" + Change(u"b-2.txt")));
}

INSTANTIATE_TEST_SUITE_P(Cases, LinkedNameTest, ::testing::Values(u"b.txt", u"B.txt"));

// The folder "sub" is renamed under one spelling; targets inside it are
// stored under the other one and follow it there, in the run and the restore.
class LinkedFolderRenameTest : public LinkedFolderTest,
                               public ::testing::WithParamInterface<bool> {};

TEST_P(LinkedFolderRenameTest, TargetsInsideFollowUnderTheirOwnSpelling) {
  const std::u16string folderSide = GetParam() ? u"link/" : u"real/";
  const std::u16string fileSide = GetParam() ? u"real/" : u"link/";
  dir.MakeFolder(u"w/real/sub");
  dir.MakeFolder(u"w/real/sub/deep");
  AddTargetOnly(folderSide + u"sub", true);
  AddTarget(fileSide + u"sub/z.txt");
  AddTarget(fileSide + u"sub/deep/x.txt");
  Rule(u"sub", u"sub2");
  Rule(u"z.txt", u"z2.txt");
  Rule(u"x.txt", u"x2.txt");
  Run();
  EXPECT_EQ(NameList({u"deep", u"z2.txt"}), Names(u"real/sub2"));
  EXPECT_EQ(NameList({u"x2.txt"}), Names(u"real/sub2/deep"));
  EXPECT_EQ(W() + fileSide + u"sub2/", objects.ObjFolder[2]);
  EXPECT_EQ(W() + fileSide + u"sub2/deep/", objects.ObjFolder[3]);
  EXPECT_EQ(std::vector<int>({2, 2, 2}), States());

  Restore();
  EXPECT_EQ(NameList({u"sub"}), Names(u"real"));
  EXPECT_EQ(NameList({u"deep", u"z.txt"}), Names(u"real/sub"));
  EXPECT_EQ(NameList({u"x.txt"}), Names(u"real/sub/deep"));
  EXPECT_EQ(W() + fileSide + u"sub/deep/", objects.ObjFolder[3]);
  EXPECT_EQ(std::vector<int>({0, 0, 0}), States());
}

INSTANTIATE_TEST_SUITE_P(Sides, LinkedFolderRenameTest, ::testing::Bool());

TEST_F(LinkedFolderTest, TargetsUnderALinkToARenamedFolderGetItsNewPath) {
  // "w/to-sub" leads to "w/real/sub" by its old path: after the rename it
  // leads nowhere, before and after its folder was first opened.
  dir.MakeFolder(u"w/real/sub");
  dir.MakeSymlink(u"w/to-sub", "real/sub");
  AddTarget(u"to-sub/y.txt");
  AddTargetOnly(u"real/sub", true);
  AddTarget(u"to-sub/x.txt");
  rule = {{u"sub", u"sub2"}, {u"y.txt", u"y2.txt"}, {u"x.txt", u"x2.txt"}};
  Run();
  EXPECT_EQ(NameList({u"x2.txt", u"y2.txt"}), Names(u"real/sub2"));
  EXPECT_EQ(W() + u"real/sub2/", objects.ObjFolder[1]);
  EXPECT_EQ(W() + u"real/sub2/", objects.ObjFolder[3]);
  EXPECT_EQ(std::vector<int>({2, 2, 2}), States());
  Restore();
  EXPECT_EQ(NameList({u"x.txt", u"y.txt"}), Names(u"real/sub"));
  EXPECT_EQ(std::vector<int>({0, 0, 0}), States());
}

TEST_F(RenameRunTest, OpenFoldersFollowTheirFoldersThroughASwap) {
  // a/x.txt opens and lists "a" first; then the folders a and b swap names
  // (b through its evacuation name); the files of each are renamed where
  // they are, under their rewritten folders.
  dir.MakeFolder(u"w/a");
  dir.MakeFolder(u"w/b");
  AddTarget(u"a/x.txt");
  AddTargetOnly(u"a", true);
  AddTargetOnly(u"b", true);
  AddTarget(u"b/y.txt");
  AddTarget(u"a/w.txt");
  Rule(u"x.txt", u"x2.txt");
  Rule(u"a", u"b");
  Rule(u"b", u"a");
  Rule(u"y.txt", u"w.txt");
  Rule(u"w.txt", u"y.txt");
  Run();
  EXPECT_EQ(NameList({u"w.txt"}), Names(u"a"));
  EXPECT_EQ(NameList({u"x2.txt", u"y.txt"}), Names(u"b"));
  EXPECT_EQ(W() + u"b/", objects.ObjFolder[1]);
  EXPECT_EQ(W() + u"a/", objects.ObjFolder[4]);
  EXPECT_EQ(W() + u"b/", objects.ObjFolder[5]);
  EXPECT_EQ(std::vector<int>({2, 2, 2, 2, 2}), States());
}

TEST_F(RenameRunTest, FoldersBeyondTheOpenOnesAreReachedByPath) {
  // More folders than the run keeps open: the later ones are renamed in by
  // their paths, with the same results.
  const int folders = 260;
  for (int k = 0; k < folders; ++k) {
    const std::string name = std::string(1, 'd').append(std::to_string(k));
    const std::u16string folder(name.begin(), name.end());
    dir.MakeFolder(u"w/" + folder);
    dir.MakeFile(u"w/" + folder + u"/g.txt");
    AddTarget(folder + u"/f.txt");
  }
  Rule(u"f.txt", u"g.txt");
  const OperationSummary s = Run();
  EXPECT_EQ(folders, s.done);
  EXPECT_EQ(0, s.errors);
  EXPECT_EQ(NameList({u"g-2.txt", u"g.txt"}), Names(u"d0"));
  EXPECT_EQ(NameList({u"g-2.txt", u"g.txt"}), Names(u"d259"));
}

TEST_F(RenameRunTest, TargetInAMissingFolderFailsAsNotFound) {
  AddTargetOnly(u"gone/f.txt");
  Rule(u"f.txt", u"g.txt");
  Run();
  EXPECT_NE(std::u16string::npos,
            LogFile().find(u"\t-> g.txt 変更開始\r\n\t\tエラー(オブジェクトが存在しません。)\r\n"));
  EXPECT_EQ(std::vector<int>({0}), States());
}

}  // namespace
}  // namespace dovetam::testing
