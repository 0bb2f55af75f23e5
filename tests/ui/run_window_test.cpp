// The run buttons and the report window offscreen: refusals, questions, a
// run, re-run and restore through the window, the result messages, and the
// report window ("レポート表示", "全表示", hiding on close and Esc).
#include <QAccessible>
#include <QCheckBox>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTreeView>
#include <unistd.h>

#include <algorithm>

#include "core/common/decimal_text.h"
#include "core/common/memory_short.h"
#include "ui/widgets/twips.h"
#include "ui/widgets/list_view_model.h"
#include "ui/view_dialog/view_dialog.h"
#include "platform/utf8_codec.h"
#include "ui/report/report_window.h"
#include "testing/window_harness.h"

namespace dovetam {
namespace {

using testing::Control;
using testing::FsCall;
using testing::ListModel;
using testing::ReportWindow;
using testing::TempDir;
using testing::WindowHarness;

QString Q(std::u16string_view s) { return QString::fromUtf16(s.data(), s.size()); }

// The texts of the name column of the list `list` of the window.
QStringList Column(const QWidget& w, const char* list) {
  const ListViewModel& model = ListModel(w, list);
  QStringList texts;
  for (int r = 0; r < model.RowCount(); ++r) texts << model.Text(r, 0);
  return texts;
}

const std::u16string kGuardQuestion =
    u"この操作を行うと、名前の再変更・復元ができなくなります。\n続行しますか？";

// A window on page 2 with the files of `names` in a temporary folder as targets.
class RunWindowTest : public ::testing::Test {
 protected:
  frmDovetem& StartWith(std::initializer_list<const char16_t*> names) {
    for (const char16_t* n : names) work.MakeFile(n, "x");
    std::vector<std::u16string> paths;
    for (const char16_t* n : names) paths.push_back(work.PathOf(n));
    frmDovetem& w = h.Start(Capacities::Large(), paths);
    Control<QPushButton>(w, "cmdSelectNext").click();
    h.boxes.Clear();
    return w;
  }

  TempDir work;
  WindowHarness h;
};

TEST_F(RunWindowTest, ButtonsOnTheRulePage) {
  frmDovetem& w = StartWith({});
  const std::pair<QPushButton*, const char16_t*> buttons[] = {
      {&Control<QPushButton>(w, "cmdRuleExecute", 1), u"名前変更"},
      {&Control<QPushButton>(w, "cmdRuleExecute", 2), u"名前再変更"},
      {&Control<QPushButton>(w, "cmdRuleUndo"), u"元に戻す"},
      {&Control<QPushButton>(w, "cmdRuleReport"), u"レポート表示"}};
  for (const auto& [button, caption] : buttons) {
    ASSERT_NE(nullptr, button);
    EXPECT_EQ(Q(caption), button->text());
    EXPECT_EQ(&Control<QFrame>(w, "fraDovetem2"), button->parentWidget());
    EXPECT_TRUE(button->isVisible());
    // The caption fits.
    EXPECT_LE(button->fontMetrics().horizontalAdvance(button->text()) + 8, button->width());
  }
  EXPECT_EQ(QStringLiteral("元の名前に戻っていない全てのオブジェクトを復元します。"),
            Control<QPushButton>(w, "cmdRuleUndo").toolTip());
  EXPECT_EQ(QStringLiteral("処理の結果を詳細表示します。"),
            Control<QPushButton>(w, "cmdRuleReport").toolTip());
  EXPECT_TRUE(Control<QPushButton>(w, "cmdRuleExecute", 1).isDefault());
}

TEST_F(RunWindowTest, RefusalsBeforeAnyRun) {
  frmDovetem& w = StartWith({});
  Control<QPushButton>(w, "cmdRuleExecute", 1).click();
  Control<QPushButton>(w, "cmdRuleExecute", 2).click();
  Control<QPushButton>(w, "cmdRuleUndo").click();
  EXPECT_EQ((std::vector<std::u16string>{u"オブジェクトを選択してください。", u"名前を再変更できません。",
                                         u"元に戻せません。"}),
            h.boxes.Texts());
  for (const auto& call : h.boxes.calls) EXPECT_EQ(MsgIcon::Exclamation, call.icon);
  EXPECT_FALSE(h.programDir.Exists(u"dovetam_rename.log"));
}

// Memory running out halfway through a run (the log text past the limit
// that stands in for it): the window shows the message of memory, keeps
// no report of an earlier run, rebuilds the order list with the names on
// disk and gives the pointer back; the restore, with memory again, gives
// every name back.
TEST_F(RunWindowTest, MemoryRunningOutStopsTheRunAndTheRestoreUndoesIt) {
  frmDovetem& w = StartWith({u"a.txt", u"b.txt", u"c.txt", u"d.txt", u"e.txt", u"f.txt"});
  Control<QLineEdit>(w, "txtRule1").setText(QStringLiteral("x"));
  ReportWindow().SetReportText(u"an earlier report");
  w.State().svc.caps.textLimit = 150;  // the header and about two objects
  h.boxes.Clear();
  h.boxes.QueueAnswer(MsgAnswer::Yes);
  Control<QPushButton>(w, "cmdRuleExecute", 1).click();

  const std::vector<std::u16string> names = work.Names();
  const auto renamed = std::count_if(names.begin(), names.end(),
                                     [](const std::u16string& n) { return n[0] == u'x'; });
  EXPECT_GT(renamed, 0);
  EXPECT_LT(renamed, 6);
  ASSERT_EQ(2u, h.boxes.Count());
  EXPECT_EQ(0u, h.boxes.Last().text.find(u"メモリ不足のため、\n処理を最後まで実行できませんでした。"))
      << EncodeNativeLossy(h.boxes.Last().text);
  EXPECT_EQ(MsgIcon::Critical, h.boxes.Last().icon);
  EXPECT_EQ(3, w.State().ChangeState);
  EXPECT_EQ(u"(レポートはありません。)", ReportWindow().ReportText());
  EXPECT_EQ(nullptr, QApplication::overrideCursor());
  QStringList shown;
  const ObjectTable& o = w.State().objects;
  for (int32_t p = 1; p <= o.ObjCount; ++p) {
    const int32_t i = o.OrderIndex[p];
    shown << Q(o.ObjFolder[i] + o.ObjName[i]);
    EXPECT_TRUE(work.Exists(o.ObjName[i]));
  }
  EXPECT_EQ(shown, Column(w, "lvwOrder"));

  w.State().svc.caps.textLimit = SIZE_MAX;
  h.boxes.Clear();
  h.boxes.QueueAnswer(MsgAnswer::Yes);
  Control<QPushButton>(w, "cmdRuleUndo").click();
  EXPECT_EQ((std::vector<std::u16string>{u"a.txt", u"b.txt", u"c.txt", u"d.txt", u"e.txt", u"f.txt"}),
            work.Names());
  EXPECT_EQ(u" 6 個 の オブジェクト名を正常に復元しました。", h.boxes.Last().text);
}

TEST_F(RunWindowTest, RunReRunAndRestoreThroughTheWindow) {
  frmDovetem& w = StartWith({u"a.txt", u"b.txt"});
  Control<QLineEdit>(w, "txtRule1").setText(QStringLiteral("x"));
  h.boxes.Clear();

  // No to the confirmation changes nothing.
  h.boxes.QueueAnswer(MsgAnswer::No);
  Control<QPushButton>(w, "cmdRuleExecute", 1).click();
  EXPECT_EQ((std::vector<std::u16string>{u"現在の設定で名前を変更しますか？"}), h.boxes.Texts());
  EXPECT_EQ(0, w.State().ChangeState);

  h.boxes.Clear();
  h.boxes.QueueAnswer(MsgAnswer::Yes);
  Control<QPushButton>(w, "cmdRuleExecute", 1).click();
  EXPECT_EQ((std::vector<std::u16string>{u"x-2.txt", u"x.txt"}), work.Names());
  EXPECT_EQ((std::vector<std::u16string>{u"現在の設定で名前を変更しますか？",
                                         u" 2 個 の オブジェクト名を正常に変更しました。"}),
            h.boxes.Texts());
  EXPECT_EQ(MsgIcon::Information, h.boxes.Last().icon);
  EXPECT_EQ(3, w.State().ChangeState);
  EXPECT_EQ(u"x", w.State().LastRule1);
  EXPECT_EQ(u"*", w.State().LastRule2);
  EXPECT_FALSE(w.State().LastChkRule);
  EXPECT_EQ(1, w.State().listing.ListStale);
  EXPECT_TRUE(w.State().settings.ReportSaved);
  EXPECT_EQ(w.State().journal.LogText.size() > 0, true);
  const std::u16string reportFile =
      DecodeNative(h.programDir.ReadFile(u"dovetam_report.dat"));
  EXPECT_EQ(reportFile, ReportWindow().ReportText());
  EXPECT_FALSE(ReportWindow().isVisible());
  EXPECT_EQ(nullptr, QApplication::overrideCursor());

  // A second run is refused; the re-run asks.
  h.boxes.Clear();
  Control<QPushButton>(w, "cmdRuleExecute", 1).click();
  EXPECT_EQ(u"二重に名前変更を行うことはできません。\n\nオブジェクトを選択しなおすか、変更規則を変えてから、\n"
            u"操作を行ってください。",
            h.boxes.Last().text);
  h.boxes.QueueAnswer(MsgAnswer::Yes);
  Control<QPushButton>(w, "cmdRuleExecute", 2).click();
  EXPECT_EQ(u"名前を再変更しますか？", h.boxes.calls[1].text);
  EXPECT_EQ(u" 2 個 の オブジェクト名を正常に変更しました。", h.boxes.Last().text);
  EXPECT_NE(std::u16string::npos, w.State().journal.LogText.find(u"スキップ(同名)"));

  // The restore gives the names back and keeps the run's state.
  h.boxes.Clear();
  h.boxes.QueueAnswer(MsgAnswer::Yes);
  Control<QPushButton>(w, "cmdRuleUndo").click();
  EXPECT_EQ((std::vector<std::u16string>{u"変更した名前を元に戻しますか？",
                                         u" 2 個 の オブジェクト名を正常に復元しました。"}),
            h.boxes.Texts());
  EXPECT_EQ((std::vector<std::u16string>{u"a.txt", u"b.txt"}), work.Names());
  EXPECT_EQ(3, w.State().ChangeState);
  const std::u16string log = DecodeNative(h.programDir.ReadFile(u"dovetam_rename.log"));
  EXPECT_NE(std::u16string::npos, log.find(u" 名前変更開始\r\n"));
  EXPECT_NE(std::u16string::npos, log.find(u" 名前再変更開始\r\n"));
  EXPECT_NE(std::u16string::npos, log.find(u" 名前復元開始\r\n"));
}

// After a run the targets keep the run's order: "x.txt" (from a.txt) before
// "x-2.txt" (from b.txt), the reverse of the name sort.
class AfterARunTest : public RunWindowTest {
 protected:
  frmDovetem& RunTwoFiles() {
    h.store.Set(u"general", u"defpath", work.path());
    frmDovetem& w = StartWith({u"a.txt", u"b.txt"});
    Control<QLineEdit>(w, "txtRule1").setText(QStringLiteral("x"));
    h.boxes.QueueAnswer(MsgAnswer::Yes);
    Control<QPushButton>(w, "cmdRuleExecute", 1).click();
    h.boxes.Clear();
    return w;
  }
  QStringList RunOrder() const { return {Q(work.PathOf(u"x.txt")), Q(work.PathOf(u"x-2.txt"))}; }
  QStringList NameOrder() const { return {Q(work.PathOf(u"x-2.txt")), Q(work.PathOf(u"x.txt"))}; }
};

TEST_F(AfterARunTest, TheFocusStaysThroughTheRunAndTheGuard) {
  h.store.Set(u"general", u"defpath", work.path());
  frmDovetem& w = StartWith({u"a.txt", u"b.txt"});
  Control<QLineEdit>(w, "txtRule1").setText(QStringLiteral("x"));
  // Space on "名前変更": the run refills the order list; the button keeps the focus.
  Control<QPushButton>(w, "cmdRuleExecute", 1).setFocus();
  h.boxes.QueueAnswer(MsgAnswer::Yes);
  ASSERT_TRUE(testing::TypeKey(Qt::Key_Space));
  ASSERT_EQ(3, w.State().ChangeState);
  EXPECT_EQ(&Control<QPushButton>(w, "cmdRuleExecute", 1), QApplication::focusWidget());

  // Typing into the rule box: the first key asks, Yes rebuilds the order
  // list, and the next key still lands in the box.
  Control<QLineEdit>(w, "txtRule1").setFocus();
  Control<QLineEdit>(w, "txtRule1").end(false);
  h.boxes.Clear();
  h.boxes.QueueAnswer(MsgAnswer::Yes);
  ASSERT_TRUE(testing::TypeKey(Qt::Key_A));
  EXPECT_EQ(std::vector<std::u16string>{kGuardQuestion}, h.boxes.Texts());
  EXPECT_EQ(0, w.State().ChangeState);
  EXPECT_EQ(NameOrder(), Column(w, "lvwOrder"));
  EXPECT_EQ(&Control<QLineEdit>(w, "txtRule1"), QApplication::focusWidget());
  ASSERT_TRUE(testing::TypeKey(Qt::Key_B));
  EXPECT_EQ(QStringLiteral("xab"), Control<QLineEdit>(w, "txtRule1").text());
  EXPECT_EQ(1u, h.boxes.Count());
}

TEST_F(AfterARunTest, BackReadsTheStaleListingAndKeepsTheRunsOrder) {
  frmDovetem& w = RunTwoFiles();
  ASSERT_EQ(1, w.State().listing.ListStale);
  ASSERT_EQ(RunOrder(), Column(w, "lvwOrder"));
  Control<QLineEdit>(w, "txtRule1").setFocus();
  ASSERT_TRUE(testing::TypeKey(Qt::Key_Escape));  // "＜戻る"
  EXPECT_EQ(1, w.CurrentPage());
  EXPECT_EQ(0, w.State().listing.ListStale);
  // The folder was read again: the new names, sorted by name.
  EXPECT_EQ((QStringList{"x-2.txt", "x.txt"}), Column(w, "lvwSelect"));
  // The target list is redrawn in the run's order, under a parenthesized mark.
  EXPECT_EQ(RunOrder(), Column(w, "lvwSelect2"));
  EXPECT_EQ(QStringLiteral("名前(▲)"), ListModel(w, "lvwSelect2").ColumnTitle(0));
  EXPECT_EQ(3, w.State().ChangeState);
  EXPECT_EQ(&Control<ListView>(w, "lvwSelect"), QApplication::focusWidget());
  EXPECT_EQ(0u, h.boxes.Count());
}

TEST_F(AfterARunTest, ViewCommandGuardYesRebuildsTheOrderListThoughTheDialogIsCancelled) {
  h.store.Set(u"display", u"udate", u"False");
  frmDovetem& w = RunTwoFiles();
  ASSERT_EQ(QStringLiteral("名前(▲)"), ListModel(w, "lvwOrder").ColumnTitle(0));
  h.boxes.QueueAnswer(MsgAnswer::Yes);
  testing::OnNextDialog<frmDovetemView>(
      [](frmDovetemView* dialog) { Control<QPushButton>(*dialog, "cmdCancel").click(); });
  Control<QPushButton>(w, "cmdCommandView", 2).click();
  EXPECT_EQ(std::vector<std::u16string>{kGuardQuestion}, h.boxes.Texts());
  EXPECT_EQ(-1, w.State().ViewDialogMask);
  EXPECT_EQ(0, w.State().ChangeState);
  EXPECT_EQ(QStringLiteral("名前▲"), ListModel(w, "lvwOrder").ColumnTitle(0));
  EXPECT_EQ(NameOrder(), Column(w, "lvwOrder"));
  EXPECT_FALSE(w.State().settings.view.ViewModified);

  // Now without a question: the last-modified column reads the targets'
  // dates; the listing is stale since the run and is left alone.
  testing::OnNextDialog<frmDovetemView>([](frmDovetemView* dialog) {
    Control<QCheckBox>(*dialog, "chkAttribute", 1).setChecked(true);
    Control<QPushButton>(*dialog, "cmdDecide").click();
  });
  Control<QPushButton>(w, "cmdCommandView", 2).click();
  EXPECT_EQ(1u, h.boxes.Count());
  EXPECT_EQ(2, ListModel(w, "lvwOrder").ColumnCount());
  for (int32_t t = 1; t <= w.State().objects.ObjCount; ++t)
    EXPECT_NE(0, w.State().objects.ObjModified[t]);
  for (int32_t i = 1; i <= w.State().listing.ListCount; ++i)
    EXPECT_EQ(0, w.State().listing.ListModified[i]);
}

TEST_F(RunWindowTest, FailedObjectGivesACriticalResult) {
  frmDovetem& w = StartWith({u"a.txt", u"b.txt"});
  Control<QLineEdit>(w, "txtRule1").setText(QStringLiteral("c"));
  work.MakeFile(u"c.txt");
  ::unlink(std::string(work.native() + "b.txt").c_str());  // gone before the run
  h.boxes.Clear();
  h.boxes.QueueAnswer(MsgAnswer::Yes);
  Control<QPushButton>(w, "cmdRuleExecute", 1).click();
  EXPECT_EQ(MsgIcon::Critical, h.boxes.Last().icon);
  EXPECT_EQ(u" 1 個 の オブジェクト名を正常に変更しました。\n 1 個 の オブジェクト名を変更できませんでした。\n\n"
            u"詳細は、レポートを参照してください。",
            h.boxes.Last().text);
}

// A rule whose result does not fit in memory: in the preview a rule error;
// in a run the same event as memory running out anywhere in it, which
// stops the run at its first target (no rule error logged for each target
// while the run goes on).
TEST_F(RunWindowTest, ARuleThatRunsOutOfMemoryStopsTheRunAndIsARuleErrorInThePreview) {
  frmDovetem& w = StartWith({u"a.txt", u"b.txt"});
  Control<QLineEdit>(w, "txtRule1").setText(Q(u"\"\\03000n\"?(0)?/c/\"<\\C\\c>\"/r/"));
  EXPECT_EQ(Q(u"(") + Q(MemoryShortText(MemoryShort::NotDone)) + Q(u")"),
            Control<QLabel>(w, "lblRuleName2").text());
  h.boxes.Clear();
  h.boxes.QueueAnswer(MsgAnswer::Yes);
  Control<QPushButton>(w, "cmdRuleExecute", 1).click();
  ASSERT_FALSE(h.boxes.calls.empty());
  EXPECT_EQ(MsgIcon::Critical, h.boxes.Last().icon);
  EXPECT_EQ(0u, h.boxes.Last().text.find(MemoryShortText(MemoryShort::NotFinished)))
      << EncodeNativeLossy(h.boxes.Last().text);
  EXPECT_EQ((std::vector<std::u16string>{u"a.txt", u"b.txt"}), work.Names());
  const std::u16string log = DecodeNative(h.programDir.ReadFile(u"dovetam_rename.log"));
  EXPECT_EQ(std::u16string::npos, log.find(u"変更規則エラー")) << EncodeNativeLossy(log);
  EXPECT_EQ(std::u16string::npos, log.find(work.PathOf(u"b.txt"))) << EncodeNativeLossy(log);
}

TEST_F(RunWindowTest, LogThatCannotBeCreatedAnsweredNo) {
  testing::FaultyFileSystem faulty(*h.realFs);
  faulty.Fail(FsCall::CreateTextFile, h.programDir.path() + u"dovetam_rename.log",
              kFsPermissionDenied);
  work.MakeFile(u"a.txt");
  frmDovetem& w = h.Start(Capacities::Large(), {work.PathOf(u"a.txt")}, &faulty);
  Control<QPushButton>(w, "cmdSelectNext").click();
  Control<QLineEdit>(w, "txtRule1").setText(QStringLiteral("b"));
  h.boxes.Clear();
  h.boxes.QueueAnswer(MsgAnswer::Yes);
  h.boxes.QueueAnswer(MsgAnswer::No);
  Control<QPushButton>(w, "cmdRuleExecute", 1).click();
  EXPECT_EQ(u"ログファイル(" + w.State().LogPath + u")を作成できませんでした。\n続行しますか？",
            h.boxes.Last().text);
  EXPECT_EQ((std::vector<std::u16string>{u"a.txt"}), work.Names());
  EXPECT_EQ(0, w.State().ChangeState);
  EXPECT_EQ(nullptr, QApplication::overrideCursor());
}

TEST_F(RunWindowTest, ReportWindowShowsHidesAndOpensTheViewer) {
  frmDovetem& w = StartWith({u"a.txt"});
  frmDovetemReport& r = ReportWindow();
  QPushButton& cmdCommandOpen = Control<QPushButton>(r, "cmdCommandOpen");
  QWidget& txtReport = Control(r, "txtReport");
  EXPECT_EQ(u"(レポートはありません。)", r.ReportText());
  Control<QPushButton>(w, "cmdRuleReport").click();
  EXPECT_TRUE(r.isVisible());
  EXPECT_EQ(QStringLiteral("Dovetam - 規則型名前変更ツール"), r.windowTitle());

  // Before any saved report "全表示" warns and starts nothing.
  cmdCommandOpen.click();
  EXPECT_EQ(u"レポートが保存されていません。", h.boxes.Last().text);
  EXPECT_EQ(MsgIcon::Exclamation, h.boxes.Last().icon);
  EXPECT_TRUE(h.launcher.starts.empty());

  // Esc in the text box hides it; "レポート表示" shows it again with its text.
  QTest::keyClick(&txtReport, Qt::Key_Escape);
  EXPECT_FALSE(r.isVisible());
  Control<QPushButton>(w, "cmdRuleReport").click();
  EXPECT_TRUE(r.isVisible());
  EXPECT_EQ(u"(レポートはありません。)", r.ReportText());

  // The close box only hides it.
  r.close();
  EXPECT_FALSE(r.isVisible());
  EXPECT_EQ(&r, &ReportWindow());

  // After a run with the report file, the viewer gets the report path.
  Control<QLineEdit>(w, "txtRule1").setText(QStringLiteral("b"));
  h.boxes.QueueAnswer(MsgAnswer::Yes);
  Control<QPushButton>(w, "cmdRuleExecute", 1).click();
  Control<QPushButton>(w, "cmdRuleReport").click();
  EXPECT_NE(std::u16string::npos, r.ReportText().find(u"[ログ]"));
  h.boxes.Clear();
  cmdCommandOpen.click();
  ASSERT_EQ(1u, h.launcher.starts.size());
  EXPECT_EQ(u"xdg-open", h.launcher.starts[0].program);
  EXPECT_EQ(std::vector<std::u16string>{w.State().settings.ReportPath}, h.launcher.starts[0].args);
  EXPECT_EQ(0u, h.boxes.Count());

  // A viewer that cannot be started.
  h.launcher.result = false;
  w.State().settings.settings.RepOpenApp = u"no-such-viewer";
  QTest::keyClick(&txtReport, Qt::Key_Return);  // Return presses "全表示"
  EXPECT_EQ(u"no-such-viewer", h.launcher.starts.back().program);
  EXPECT_EQ(u"レポート(" + w.State().settings.ReportPath + u")を表示できませんでした。",
            h.boxes.Last().text);
  EXPECT_EQ(MsgIcon::Critical, h.boxes.Last().icon);

  // Clear-all: the text and the saved flag go back.
  h.boxes.QueueAnswer(MsgAnswer::Yes);
  Control<QPushButton>(w, "cmdCommandClear", 2).click();
  EXPECT_EQ(u"(レポートはありません。)", r.ReportText());
  h.boxes.Clear();
  cmdCommandOpen.click();
  EXPECT_EQ(u"レポートが保存されていません。", h.boxes.Last().text);
  r.hide();
}

TEST_F(RunWindowTest, ReportWindowLayoutAndMinimumSize) {
  StartWith({});
  frmDovetemReport& r = ReportWindow();
  QWidget& txtReport = Control(r, "txtReport");
  QPushButton& cmdCommandOpen = Control<QPushButton>(r, "cmdCommandOpen");
  r.show();
  r.resize(TwipsToPixels(9000, &r), TwipsToPixels(6000, &r));
  QApplication::processEvents();
  const int m120 = TwipsToPixels(120, &r);
  EXPECT_EQ(m120, txtReport.x());
  EXPECT_EQ(r.width() - 2 * m120, txtReport.width());
  EXPECT_EQ(r.height() - cmdCommandOpen.height() - m120, cmdCommandOpen.y());
  EXPECT_EQ(r.width() - cmdCommandOpen.width() - TwipsToPixels(240, &r), cmdCommandOpen.x());
  r.resize(10, 10);
  QApplication::processEvents();
  EXPECT_GE(r.width(), TwipsToPixels(480, &r));
  EXPECT_GE(r.height(), cmdCommandOpen.height() + TwipsToPixels(600, &r));
  r.hide();
}

TEST_F(RunWindowTest, ReportTextHeldOnceWithItsLines) {
  StartWith({});
  frmDovetemReport& r = ReportWindow();
  ReportTextView& t = Control<ReportTextView>(r, "txtReport");
  std::u16string report = u"\r\nfirst\tline\r\n\r\nlone LF\nlone CR\r";
  for (int k = 0; k < 100000; ++k) report += u"\"/w/f" + DecimalText(k) + u"\" \"g\" \"正常変更\"\r\n";
  report += u"last";
  r.SetReportText(report);
  EXPECT_EQ(report, r.ReportText());
  EXPECT_EQ(100006, t.LineCount());
  EXPECT_EQ(QStringLiteral(""), t.LineText(0));
  EXPECT_EQ(QStringLiteral("first\tline"), t.LineText(1));
  EXPECT_EQ(QStringLiteral("lone LF"), t.LineText(3));
  EXPECT_EQ(QStringLiteral("lone CR"), t.LineText(4));
  EXPECT_EQ(QStringLiteral("\"/w/f99999\" \"g\" \"正常変更\""), t.LineText(100004));
  EXPECT_EQ(QStringLiteral("last"), t.LineText(100005));

  r.show();
  QApplication::processEvents();
  t.setFocus();
  QTest::keyClick(&t, Qt::Key_End, Qt::ControlModifier);
  EXPECT_EQ(t.verticalScrollBar()->maximum(), t.verticalScrollBar()->value());
  EXPECT_GT(t.verticalScrollBar()->maximum(), 99900);
  QTest::keyClick(&t, Qt::Key_Home, Qt::ControlModifier);
  EXPECT_EQ(0, t.verticalScrollBar()->value());
  // A click on the first line and a Shift+click on the third select from one
  // to the other; copies have "\n" line breaks.
  const auto lineMiddle = [&t](int32_t k) { return t.CharacterRect(t.LineStart(k)).center().y(); };
  QTest::mouseClick(t.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(1, lineMiddle(0)));
  QTest::mouseClick(t.viewport(), Qt::LeftButton, Qt::ShiftModifier, QPoint(1, lineMiddle(2)));
  EXPECT_EQ(QStringLiteral("\nfirst\tline\n"), t.SelectedText());
  QTest::keyClick(&t, Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(QString::fromStdU16String(report).replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
                .replace(QChar(u'\r'), QChar(u'\n')),
            t.SelectedText());
  r.hide();
}


// The report window refers to the main window's settings: it goes first,
// while the main window and everything it holds still stand.
TEST_F(RunWindowTest, TheReportWindowIsDestroyedBeforeWhatItRefersTo) {
  frmDovetem& w = StartWith({});
  Control<QPushButton>(w, "cmdRuleReport").click();
  QPointer<frmDovetemReport> report = &ReportWindow();
  // Goes with the main window's widget.
  QPointer<QFrame> page = &Control<QFrame>(w, "fraDovetem");
  const std::u16string reportPath = w.State().settings.ReportPath;
  bool pageStood = false;
  std::u16string pathSeen;
  QObject::connect(report, &QObject::destroyed, [&] {
    pageStood = !page.isNull();
    pathSeen = w.State().settings.ReportPath;
  });
  h.window.reset();
  EXPECT_TRUE(report.isNull());
  EXPECT_TRUE(pageStood);
  EXPECT_EQ(reportPath, pathSeen);
}

// ---------------------------------------------------------------------------
// The report box as a read-only text box: keyboard, mouse, drawing and what
// screen readers get.

// Lines: 0 "alpha beta gamma" (0-16), 1 "second line here" (18-34), 2 empty
// (36), 3 "fourth\tline" (38-49, LF), 4 "last" (50-54).
const std::u16string kFiveLines = u"alpha beta gamma\r\nsecond line here\r\n\r\nfourth\tline\nlast";

class ReportBoxTest : public RunWindowTest {
 protected:
  ReportTextView& Show(std::u16string text) {
    StartWith({});
    report = &ReportWindow();
    report->SetReportText(std::move(text));
    report->show();
    report->activateWindow();
    ReportTextView& txtReport = Control<ReportTextView>(*report, "txtReport");
    txtReport.setFocus();
    QApplication::processEvents();
    return txtReport;
  }
  // Waits, with a deadline, for what the event loop brings about by itself.
  template <typename F>
  static void WaitFor(F condition, const char* what) {
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
      ASSERT_LT(clock.elapsed(), testing::kEventWaitMs) << "timed out waiting for " << what;
      QTest::qWait(10);
    }
  }
  void TearDown() override {
    if (report) report->hide();
  }

  frmDovetemReport* report = nullptr;
};

struct KeyPress {
  Qt::Key key;
  Qt::KeyboardModifiers modifiers = Qt::NoModifier;
};

struct CaretCase {
  const char* name;
  std::size_t caret;  // where the caret stands first, nothing selected
  std::vector<KeyPress> keys;
  std::size_t anchor, cursor;  // the selection afterwards
};

void PrintTo(const CaretCase& c, std::ostream* os) { *os << c.name; }

class ReportBoxKeysTest : public ReportBoxTest, public ::testing::WithParamInterface<CaretCase> {};

TEST_P(ReportBoxKeysTest, MovesTheCaretAndExtendsTheSelectionWithShift) {
  const CaretCase& c = GetParam();
  ReportTextView& t = Show(kFiveLines);
  t.SetSelection(c.caret, c.caret);
  for (const KeyPress& k : c.keys) QTest::keyClick(&t, k.key, k.modifiers);
  EXPECT_EQ(c.anchor, t.AnchorPosition());
  EXPECT_EQ(c.cursor, t.CursorPosition());
  EXPECT_TRUE(report->isVisible());
}

constexpr Qt::KeyboardModifiers kShift = Qt::ShiftModifier;
constexpr Qt::KeyboardModifiers kCtrl = Qt::ControlModifier;
constexpr Qt::KeyboardModifiers kCtrlShift = Qt::ControlModifier | Qt::ShiftModifier;

INSTANTIATE_TEST_SUITE_P(
    Keys, ReportBoxKeysTest,
    ::testing::Values(
        CaretCase{"ShiftRightFiveTimes", 0, {{Qt::Key_Right, kShift}, {Qt::Key_Right, kShift},
                  {Qt::Key_Right, kShift}, {Qt::Key_Right, kShift}, {Qt::Key_Right, kShift}}, 0, 5},
        CaretCase{"ShiftEnd", 0, {{Qt::Key_End, kShift}}, 0, 16},
        CaretCase{"ShiftDown", 0, {{Qt::Key_Down, kShift}}, 0, 18},
        CaretCase{"ShiftDownOverAnEmptyLineThenShiftEnd", 0,
                  {{Qt::Key_Down, kShift}, {Qt::Key_Down, kShift}, {Qt::Key_Down, kShift},
                   {Qt::Key_End, kShift}}, 0, 49},
        CaretCase{"ShiftUp", 18, {{Qt::Key_Up, kShift}}, 18, 0},
        CaretCase{"ShiftHome", 21, {{Qt::Key_Home, kShift}}, 21, 18},
        CaretCase{"CtrlShiftRightTakesAWord", 0, {{Qt::Key_Right, kCtrlShift}}, 0, 6},
        CaretCase{"CtrlShiftLeftFromTheLineEnd", 16, {{Qt::Key_Left, kCtrlShift}}, 16, 11},
        CaretCase{"CtrlRightAtTheLineEndGoesToTheNextLine", 16, {{Qt::Key_Right, kCtrl}}, 18, 18},
        CaretCase{"CtrlShiftEnd", 0, {{Qt::Key_End, kCtrlShift}}, 0, 54},
        CaretCase{"CtrlShiftHome", 54, {{Qt::Key_Home, kCtrlShift}}, 54, 0},
        CaretCase{"CtrlEnd", 3, {{Qt::Key_End, kCtrl}}, 54, 54},
        CaretCase{"RightCrossesALineBreakInOneStep", 16, {{Qt::Key_Right}}, 18, 18},
        CaretCase{"LeftCrossesALineBreakInOneStep", 18, {{Qt::Key_Left}}, 16, 16},
        CaretCase{"RightLeavesASelectionAtItsEnd", 0,
                  {{Qt::Key_Right, kShift}, {Qt::Key_Right, kShift}, {Qt::Key_Right}}, 2, 2},
        CaretCase{"LeftLeavesASelectionAtItsStart", 5,
                  {{Qt::Key_Left, kShift}, {Qt::Key_Left, kShift}, {Qt::Key_Left}}, 3, 3},
        CaretCase{"UpAndDownKeepTheColumnOverAnEmptyLine", 3,
                  {{Qt::Key_Down}, {Qt::Key_Down}, {Qt::Key_Up}, {Qt::Key_Up}}, 3, 3},
        CaretCase{"EndThenHome", 21, {{Qt::Key_End}, {Qt::Key_Home}}, 18, 18}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ReportBoxTest, KeyboardSelectionOverSeveralLinesIsCopied) {
  ReportTextView& t = Show(kFiveLines);
  QGuiApplication::clipboard()->setText(QStringLiteral("old"));
  QTest::keyClick(&t, Qt::Key_Down, kShift);
  QTest::keyClick(&t, Qt::Key_End, kShift);
  QTest::keyClick(&t, Qt::Key_C, kCtrl);
  EXPECT_EQ(QStringLiteral("alpha beta gamma\nsecond line here"),
            QGuiApplication::clipboard()->text());
  // Ctrl+A takes all; Esc and Return still belong to the window.
  QTest::keyClick(&t, Qt::Key_A, kCtrl);
  EXPECT_EQ(0u, t.AnchorPosition());
  EXPECT_EQ(kFiveLines.size(), t.CursorPosition());
  QTest::keyClick(&t, Qt::Key_Return);
  EXPECT_EQ(u"レポートが保存されていません。", h.boxes.Last().text);
  QTest::keyClick(&t, Qt::Key_Escape);
  EXPECT_FALSE(report->isVisible());
}

TEST_F(ReportBoxTest, PageKeysMoveTheCaretAndTheViewByAPage) {
  std::u16string text;
  for (int k = 0; k < 300; ++k) text += u"line " + DecimalText(k) + u"\r\n";
  ReportTextView& t = Show(text);
  const int page = t.verticalScrollBar()->pageStep();
  ASSERT_GT(page, 1);
  QTest::keyClick(&t, Qt::Key_PageDown);
  EXPECT_EQ(page, t.LineOf(t.CursorPosition()));
  EXPECT_EQ(page, t.verticalScrollBar()->value());
  QTest::keyClick(&t, Qt::Key_PageDown, kShift);
  EXPECT_EQ(t.LineStart(page), t.AnchorPosition());
  EXPECT_EQ(t.LineStart(2 * page), t.CursorPosition());
  QTest::keyClick(&t, Qt::Key_PageUp, kShift);
  QTest::keyClick(&t, Qt::Key_PageUp, kShift);
  EXPECT_EQ(t.LineStart(page), t.AnchorPosition());
  EXPECT_EQ(0u, t.CursorPosition());
  EXPECT_EQ(0, t.verticalScrollBar()->value());
  // Ctrl+End shows the caret on the last line.
  QTest::keyClick(&t, Qt::Key_End, kCtrl);
  EXPECT_EQ(t.verticalScrollBar()->maximum(), t.verticalScrollBar()->value());
}

TEST_F(ReportBoxTest, DoubleClickSelectsAWord) {
  const std::u16string line = u"\"/w/big5k/r_0002.txt\" \"g\" \"正常変更\"";
  ReportTextView& t = Show(line + u"\r\nnext");
  const auto wordAt = [&](std::u16string_view word) {
    const std::size_t at = line.find(word) + 1;
    QTest::mouseDClick(t.viewport(), Qt::LeftButton, Qt::NoModifier, t.CharacterRect(at).center());
    return t.SelectedText();
  };
  EXPECT_EQ(QStringLiteral("big5k"), wordAt(u"big5k"));
  EXPECT_EQ(QStringLiteral("r_0002"), wordAt(u"r_0002"));
  EXPECT_EQ(QStringLiteral("txt"), wordAt(u"txt"));
}

struct DragCase {
  const char* name;
  bool vertical;
  bool fromTheEnd;  // the view starts scrolled to its end and goes back
  QPoint (*outside)(const QWidget* viewport);
};

void PrintTo(const DragCase& c, std::ostream* os) { *os << c.name; }

class ReportBoxDragTest : public ReportBoxTest, public ::testing::WithParamInterface<DragCase> {};

TEST_P(ReportBoxDragTest, ADragPastAnEdgeKeepsScrollingWhileTheButtonIsHeld) {
  const DragCase& c = GetParam();
  std::u16string text;
  for (int k = 0; k < 300; ++k) text += u"line " + DecimalText(k) + std::u16string(200, u'x') + u"\r\n";
  ReportTextView& t = Show(text);
  QScrollBar* bar = c.vertical ? t.verticalScrollBar() : t.horizontalScrollBar();
  ASSERT_GT(bar->maximum(), 40 * bar->singleStep());
  if (c.fromTheEnd) bar->setValue(bar->maximum());
  const int start = bar->value();
  QWidget* viewport = t.viewport();
  QTest::mousePress(viewport, Qt::LeftButton, Qt::NoModifier, viewport->rect().center());
  const std::size_t anchor = t.AnchorPosition();
  const QPoint out = c.outside(viewport);
  QMouseEvent move(QEvent::MouseMove, QPointF(out), QPointF(viewport->mapToGlobal(out)),
                   Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(viewport, &move);
  // No further event: the held button alone scrolls on, and the selection
  // follows the view.
  WaitFor([&] { return std::abs(bar->value() - start) >= 30 * bar->singleStep(); },
          "the view to scroll on");
  QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, out);
  EXPECT_EQ(anchor, t.AnchorPosition());
  EXPECT_EQ(t.PositionAt(out), t.CursorPosition());
  // The release ends the scrolling at once.
  EXPECT_FALSE(t.AutoScrolling());
}

INSTANTIATE_TEST_SUITE_P(
    Edges, ReportBoxDragTest,
    ::testing::Values(
        DragCase{"Below", true, false,
                 [](const QWidget* v) { return QPoint(v->width() / 2, v->height() + 20); }},
        DragCase{"Above", true, true, [](const QWidget* v) { return QPoint(v->width() / 2, -20); }},
        DragCase{"Right", false, false,
                 [](const QWidget* v) { return QPoint(v->width() + 20, v->height() / 2); }},
        DragCase{"Left", false, true, [](const QWidget* v) { return QPoint(-20, v->height() / 2); }}),
    [](const auto& info) { return std::string(info.param.name); });

// A line's glyphs reach below its band (descenders, and the taller Japanese
// font on its baseline); the next line's selection must not paint over them.
TEST_F(ReportBoxTest, SelectionDoesNotCoverTheTextOfOtherLines) {
  const std::u16string spaces(40, u' ');
  ReportTextView& t = Show(u"gggg____yyyy 正常変更\r\n" + spaces + u"正常変更\r\nend");
  t.clearFocus();  // no caret in the pictures
  QApplication::processEvents();
  const QImage plain = t.viewport()->grab().toImage();
  t.SetSelection(t.LineStart(1), t.LineStart(1) + spaces.size());
  t.clearFocus();
  QApplication::processEvents();
  const QImage selected = t.viewport()->grab().toImage();

  const QColor text = t.palette().color(QPalette::Text), base = t.palette().color(QPalette::Base),
               highlight = t.palette().color(QPalette::Highlight);
  const auto distance = [](QRgb a, const QColor& b) {
    return std::abs(qRed(a) - b.red()) + std::abs(qGreen(a) - b.green()) +
           std::abs(qBlue(a) - b.blue());
  };
  const int right = t.CharacterRect(t.LineStart(1) + spaces.size()).left();
  const int bottom = t.CharacterRect(t.LineStart(2)).top();
  int ink = 0, covered = 0, highlighted = 0;
  for (int y = 0; y < bottom; ++y) {
    for (int x = 0; x < right; ++x) {
      const QRgb before = plain.pixel(x, y), after = selected.pixel(x, y);
      highlighted += distance(after, highlight) < 30;
      if (distance(before, text) * 4 >= distance(before, base)) continue;
      ++ink;
      covered += distance(after, highlight) < distance(after, text);
    }
  }
  EXPECT_GT(ink, 50);
  EXPECT_GT(highlighted, 50);  // the selection is drawn
  EXPECT_EQ(0, covered);
}

TEST_F(ReportBoxTest, ScreenReadersGetTheTextTheCaretAndTheSelection) {
  ReportTextView& t = Show(kFiveLines);
  QAccessibleInterface* a = QAccessible::queryAccessibleInterface(&t);
  ASSERT_NE(nullptr, a);
  EXPECT_EQ(QAccessible::EditableText, a->role());
  EXPECT_TRUE(a->state().readOnly);
  EXPECT_TRUE(a->state().multiLine);
  QAccessibleTextInterface* text = a->textInterface();
  ASSERT_NE(nullptr, text);
  EXPECT_EQ(static_cast<int>(kFiveLines.size()), text->characterCount());
  EXPECT_EQ(QStringLiteral("beta"), text->text(6, 10));

  QTest::keyClick(&t, Qt::Key_Down);
  QTest::keyClick(&t, Qt::Key_Right, kCtrlShift);
  EXPECT_EQ(25, text->cursorPosition());
  ASSERT_EQ(1, text->selectionCount());
  int start = -1, end = -1;
  text->selection(0, &start, &end);
  EXPECT_EQ(18, start);
  EXPECT_EQ(25, end);

  EXPECT_EQ(QStringLiteral("second line here\r\n"), text->textAtOffset(20, QAccessible::LineBoundary, &start, &end));
  EXPECT_EQ(18, start);
  EXPECT_EQ(36, end);
  EXPECT_EQ(QStringLiteral("alpha beta gamma\r\n"),
            text->textBeforeOffset(20, QAccessible::LineBoundary, &start, &end));
  EXPECT_EQ(QStringLiteral("beta"), text->textAtOffset(7, QAccessible::WordBoundary, &start, &end));
  EXPECT_EQ(6, start);
  EXPECT_EQ(10, end);
  EXPECT_EQ(QStringLiteral("t"), text->textAtOffset(53, QAccessible::CharBoundary, &start, &end));

  // A reader may move the caret and the selection too.
  text->setSelection(0, 38, 44);
  EXPECT_EQ(QStringLiteral("fourth"), t.SelectedText());
  text->setCursorPosition(50);
  EXPECT_EQ(50u, t.CursorPosition());
  EXPECT_EQ(0, text->selectionCount());

  const QRect box = text->characterRect(6);
  EXPECT_FALSE(box.isEmpty());
  EXPECT_EQ(6, text->offsetAtPoint(box.center()));
}

}  // namespace
}  // namespace dovetam
