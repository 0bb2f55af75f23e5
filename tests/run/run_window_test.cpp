// The run buttons and the report window offscreen: refusals, questions, a
// run, re-run and restore through the window, the result messages, and the
// report window ("レポート表示", "全表示", hiding on close and Esc).
#include <QCheckBox>
#include <QFrame>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTreeView>
#include <unistd.h>

#include "app/decimal_text.h"
#include "app/twips.h"
#include "objects/list_view_model.h"
#include "objects/view_dialog.h"
#include "platform/utf8_codec.h"
#include "run/report_window.h"
#include "testing/window_harness.h"

namespace dovetam {
namespace {

using testing::FsCall;
using testing::TempDir;
using testing::WindowHarness;

QString Q(std::u16string_view s) { return QString::fromUtf16(s.data(), s.size()); }

QStringList Column(const ListViewModel* model) {
  QStringList texts;
  for (int r = 0; r < model->RowCount(); ++r) texts << model->Text(r, 0);
  return texts;
}

const std::u16string kGuardQuestion =
    u"この操作を行うと、名前の再変更・復元ができなくなります。\n続行しますか？";

// A window on page 2 with the files of `names` in a temporary folder as targets.
class RunWindowTest : public ::testing::Test {
 protected:
  frmDovetem& StartWith(std::initializer_list<const char16_t*> names) {
    for (const char16_t* n : names) work.MakeFile(n, "x");
    frmDovetem& w = h.Start();
    std::vector<std::u16string> paths;
    for (const char16_t* n : names) paths.push_back(work.PathOf(n));
    if (!paths.empty()) w.AddObjectsFromArguments(paths);
    w.cmdSelectNext_Click();
    h.boxes.Clear();
    return w;
  }

  TempDir work;
  WindowHarness h;
};

TEST_F(RunWindowTest, ButtonsOnTheRulePage) {
  frmDovetem& w = StartWith({});
  const std::pair<QPushButton*, const char16_t*> buttons[] = {
      {w.cmdRuleExecute[1], u"名前変更"},
      {w.cmdRuleExecute[2], u"名前再変更"},
      {w.cmdRuleUndo, u"元に戻す"},
      {w.cmdRuleReport, u"レポート表示"}};
  for (const auto& [button, caption] : buttons) {
    ASSERT_NE(nullptr, button);
    EXPECT_EQ(Q(caption), button->text());
    EXPECT_EQ(w.fraDovetem2, button->parentWidget());
    EXPECT_TRUE(button->isVisible());
    // The caption fits.
    EXPECT_LE(button->fontMetrics().horizontalAdvance(button->text()) + 8, button->width());
  }
  EXPECT_EQ(QStringLiteral("元の名前に戻っていない全てのオブジェクトを復元します。"), w.cmdRuleUndo->toolTip());
  EXPECT_EQ(QStringLiteral("処理の結果を詳細表示します。"), w.cmdRuleReport->toolTip());
  EXPECT_TRUE(w.cmdRuleExecute[1]->isDefault());
}

TEST_F(RunWindowTest, RefusalsBeforeAnyRun) {
  frmDovetem& w = StartWith({});
  w.cmdRuleExecute[1]->click();
  w.cmdRuleExecute[2]->click();
  w.cmdRuleUndo->click();
  EXPECT_EQ((std::vector<std::u16string>{u"オブジェクトを選択してください。", u"名前を再変更できません。",
                                         u"元に戻せません。"}),
            h.boxes.Texts());
  for (const auto& call : h.boxes.calls) EXPECT_EQ(MsgIcon::Exclamation, call.icon);
  EXPECT_FALSE(h.programDir.Exists(u"dovetam_rename.log"));
}

TEST_F(RunWindowTest, RunReRunAndRestoreThroughTheWindow) {
  frmDovetem& w = StartWith({u"a.txt", u"b.txt"});
  w.txtRule1->setText(QStringLiteral("x"));
  h.boxes.Clear();

  // No to the confirmation changes nothing.
  h.boxes.QueueAnswer(MsgAnswer::No);
  w.cmdRuleExecute[1]->click();
  EXPECT_EQ((std::vector<std::u16string>{u"現在の設定で名前を変更しますか？"}), h.boxes.Texts());
  EXPECT_EQ(0, w.ChangeState);

  h.boxes.Clear();
  h.boxes.QueueAnswer(MsgAnswer::Yes);
  w.cmdRuleExecute[1]->click();
  EXPECT_EQ((std::vector<std::u16string>{u"x-2.txt", u"x.txt"}), work.Names());
  EXPECT_EQ((std::vector<std::u16string>{u"現在の設定で名前を変更しますか？",
                                         u" 2 個 の オブジェクト名を正常に変更しました。"}),
            h.boxes.Texts());
  EXPECT_EQ(MsgIcon::Information, h.boxes.Last().icon);
  EXPECT_EQ(3, w.ChangeState);
  EXPECT_EQ(u"x", w.LastRule1);
  EXPECT_EQ(u"*", w.LastRule2);
  EXPECT_FALSE(w.LastChkRule);
  EXPECT_EQ(1, w.listing.ListStale);
  EXPECT_TRUE(w.settings.ReportSaved);
  EXPECT_EQ(w.journal.LogText.size() > 0, true);
  const std::u16string reportFile =
      DecodeNative(h.programDir.ReadFile(u"dovetam_report.dat"));
  EXPECT_EQ(reportFile, w.report->ReportText());
  EXPECT_FALSE(w.report->isVisible());
  EXPECT_EQ(nullptr, QApplication::overrideCursor());

  // A second run is refused; the re-run asks.
  h.boxes.Clear();
  w.cmdRuleExecute[1]->click();
  EXPECT_EQ(u"二重に名前変更を行うことはできません。\n\nオブジェクトを選択しなおすか、変更規則を変えてから、\n"
            u"操作を行ってください。",
            h.boxes.Last().text);
  h.boxes.QueueAnswer(MsgAnswer::Yes);
  w.cmdRuleExecute[2]->click();
  EXPECT_EQ(u"名前を再変更しますか？", h.boxes.calls[1].text);
  EXPECT_EQ(u" 2 個 の オブジェクト名を正常に変更しました。", h.boxes.Last().text);
  EXPECT_NE(std::u16string::npos, w.journal.LogText.find(u"スキップ(同名)"));

  // The restore gives the names back and keeps the run's state.
  h.boxes.Clear();
  h.boxes.QueueAnswer(MsgAnswer::Yes);
  w.cmdRuleUndo->click();
  EXPECT_EQ((std::vector<std::u16string>{u"変更した名前を元に戻しますか？",
                                         u" 2 個 の オブジェクト名を正常に復元しました。"}),
            h.boxes.Texts());
  EXPECT_EQ((std::vector<std::u16string>{u"a.txt", u"b.txt"}), work.Names());
  EXPECT_EQ(3, w.ChangeState);
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
    w.txtRule1->setText(QStringLiteral("x"));
    h.boxes.QueueAnswer(MsgAnswer::Yes);
    w.cmdRuleExecute[1]->click();
    h.boxes.Clear();
    return w;
  }
  QStringList RunOrder() const { return {Q(work.PathOf(u"x.txt")), Q(work.PathOf(u"x-2.txt"))}; }
  QStringList NameOrder() const { return {Q(work.PathOf(u"x-2.txt")), Q(work.PathOf(u"x.txt"))}; }
};

TEST_F(AfterARunTest, TheFocusStaysThroughTheRunAndTheGuard) {
  h.store.Set(u"general", u"defpath", work.path());
  frmDovetem& w = StartWith({u"a.txt", u"b.txt"});
  w.txtRule1->setText(QStringLiteral("x"));
  // Space on "名前変更": the run refills the order list; the button keeps the focus.
  w.cmdRuleExecute[1]->setFocus();
  h.boxes.QueueAnswer(MsgAnswer::Yes);
  ASSERT_TRUE(testing::TypeKey(Qt::Key_Space));
  ASSERT_EQ(3, w.ChangeState);
  EXPECT_EQ(w.cmdRuleExecute[1], QApplication::focusWidget());

  // Typing into the rule box: the first key asks, Yes rebuilds the order
  // list, and the next key still lands in the box.
  w.txtRule1->setFocus();
  w.txtRule1->end(false);
  h.boxes.Clear();
  h.boxes.QueueAnswer(MsgAnswer::Yes);
  ASSERT_TRUE(testing::TypeKey(Qt::Key_A));
  EXPECT_EQ(std::vector<std::u16string>{kGuardQuestion}, h.boxes.Texts());
  EXPECT_EQ(0, w.ChangeState);
  EXPECT_EQ(NameOrder(), Column(w.orderModel));
  EXPECT_EQ(w.txtRule1, QApplication::focusWidget());
  ASSERT_TRUE(testing::TypeKey(Qt::Key_B));
  EXPECT_EQ(QStringLiteral("xab"), w.txtRule1->text());
  EXPECT_EQ(1u, h.boxes.Count());
}

TEST_F(AfterARunTest, BackReadsTheStaleListingAndKeepsTheRunsOrder) {
  frmDovetem& w = RunTwoFiles();
  ASSERT_EQ(1, w.listing.ListStale);
  ASSERT_EQ(RunOrder(), Column(w.orderModel));
  w.txtRule1->setFocus();
  ASSERT_TRUE(testing::TypeKey(Qt::Key_Escape));  // "＜戻る"
  EXPECT_EQ(1, w.CurrentPage());
  EXPECT_EQ(0, w.listing.ListStale);
  // The folder was read again: the new names, sorted by name.
  EXPECT_EQ((QStringList{"x-2.txt", "x.txt"}), Column(w.selectModel));
  // The target list is redrawn in the run's order, under a parenthesized mark.
  EXPECT_EQ(RunOrder(), Column(w.targetModel));
  EXPECT_EQ(QStringLiteral("名前(▲)"), w.targetModel->ColumnTitle(0));
  EXPECT_EQ(3, w.ChangeState);
  EXPECT_EQ(w.lvwSelect, QApplication::focusWidget());
  EXPECT_EQ(0u, h.boxes.Count());
}

TEST_F(AfterARunTest, ViewCommandGuardYesRebuildsTheOrderListThoughTheDialogIsCancelled) {
  h.store.Set(u"display", u"udate", u"False");
  frmDovetem& w = RunTwoFiles();
  ASSERT_EQ(QStringLiteral("名前(▲)"), w.orderModel->ColumnTitle(0));
  h.boxes.QueueAnswer(MsgAnswer::Yes);
  testing::OnNextDialog<frmDovetemView>([](frmDovetemView* dialog) { dialog->cmdCancel->click(); });
  w.cmdCommandView[2]->click();
  EXPECT_EQ(std::vector<std::u16string>{kGuardQuestion}, h.boxes.Texts());
  EXPECT_EQ(-1, w.ViewDialogMask);
  EXPECT_EQ(0, w.ChangeState);
  EXPECT_EQ(QStringLiteral("名前▲"), w.orderModel->ColumnTitle(0));
  EXPECT_EQ(NameOrder(), Column(w.orderModel));
  EXPECT_FALSE(w.settings.view.ViewModified);

  // Now without a question: the last-modified column reads the targets'
  // dates; the listing is stale since the run and is left alone.
  testing::OnNextDialog<frmDovetemView>([](frmDovetemView* dialog) {
    dialog->chkAttribute[1]->setChecked(true);
    dialog->cmdDecide->click();
  });
  w.cmdCommandView[2]->click();
  EXPECT_EQ(1u, h.boxes.Count());
  EXPECT_EQ(2, w.orderModel->ColumnCount());
  for (int32_t t = 1; t <= w.objects.ObjCount; ++t) EXPECT_NE(0, w.objects.ObjModified[t]);
  for (int32_t i = 1; i <= w.listing.ListCount; ++i) EXPECT_EQ(0, w.listing.ListModified[i]);
}

TEST_F(RunWindowTest, FailedObjectGivesACriticalResult) {
  frmDovetem& w = StartWith({u"a.txt", u"b.txt"});
  w.txtRule1->setText(QStringLiteral("c"));
  work.MakeFile(u"c.txt");
  ::unlink(std::string(work.native() + "b.txt").c_str());  // gone before the run
  h.boxes.Clear();
  h.boxes.QueueAnswer(MsgAnswer::Yes);
  w.cmdRuleExecute[1]->click();
  EXPECT_EQ(MsgIcon::Critical, h.boxes.Last().icon);
  EXPECT_EQ(u" 1 個 の オブジェクト名を正常に変更しました。\n 1 個 の オブジェクト名を変更できませんでした。\n\n"
            u"詳細は、レポートを参照してください。",
            h.boxes.Last().text);
}

TEST_F(RunWindowTest, LogThatCannotBeCreatedAnsweredNo) {
  testing::FaultyFileSystem faulty(*h.realFs);
  faulty.Fail(FsCall::CreateTextFile, h.programDir.path() + u"dovetam_rename.log",
              kFsPermissionDenied);
  work.MakeFile(u"a.txt");
  frmDovetem& w = h.Start(Capacities::Large(), {work.PathOf(u"a.txt")}, &faulty);
  w.cmdSelectNext_Click();
  w.txtRule1->setText(QStringLiteral("b"));
  h.boxes.Clear();
  h.boxes.QueueAnswer(MsgAnswer::Yes);
  h.boxes.QueueAnswer(MsgAnswer::No);
  w.cmdRuleExecute[1]->click();
  EXPECT_EQ(u"ログファイル(" + w.LogPath + u")を作成できませんでした。\n続行しますか？", h.boxes.Last().text);
  EXPECT_EQ((std::vector<std::u16string>{u"a.txt"}), work.Names());
  EXPECT_EQ(0, w.ChangeState);
  EXPECT_EQ(nullptr, QApplication::overrideCursor());
}

TEST_F(RunWindowTest, ReportWindowShowsHidesAndOpensTheViewer) {
  frmDovetem& w = StartWith({u"a.txt"});
  frmDovetemReport& r = *w.report;
  EXPECT_EQ(u"(レポートはありません。)", r.ReportText());
  w.cmdRuleReport->click();
  EXPECT_TRUE(r.isVisible());
  EXPECT_EQ(QStringLiteral("Dovetam - 規則型名前変更ツール"), r.windowTitle());

  // Before any saved report "全表示" warns and starts nothing.
  r.cmdCommandOpen->click();
  EXPECT_EQ(u"レポートが保存されていません。", h.boxes.Last().text);
  EXPECT_EQ(MsgIcon::Exclamation, h.boxes.Last().icon);
  EXPECT_TRUE(h.launcher.starts.empty());

  // Esc in the text box hides it; "レポート表示" shows it again with its text.
  QTest::keyClick(r.txtReport, Qt::Key_Escape);
  EXPECT_FALSE(r.isVisible());
  w.cmdRuleReport->click();
  EXPECT_TRUE(r.isVisible());
  EXPECT_EQ(u"(レポートはありません。)", r.ReportText());

  // The close box only hides it.
  r.close();
  EXPECT_FALSE(r.isVisible());
  EXPECT_EQ(&r, w.report);

  // After a run with the report file, the viewer gets the report path.
  w.txtRule1->setText(QStringLiteral("b"));
  h.boxes.QueueAnswer(MsgAnswer::Yes);
  w.cmdRuleExecute[1]->click();
  w.cmdRuleReport->click();
  EXPECT_NE(std::u16string::npos, r.ReportText().find(u"[ログ]"));
  h.boxes.Clear();
  r.cmdCommandOpen->click();
  ASSERT_EQ(1u, h.launcher.starts.size());
  EXPECT_EQ(u"xdg-open", h.launcher.starts[0].program);
  EXPECT_EQ(std::vector<std::u16string>{w.settings.ReportPath}, h.launcher.starts[0].args);
  EXPECT_EQ(0u, h.boxes.Count());

  // A viewer that cannot be started.
  h.launcher.result = false;
  w.settings.settings.RepOpenApp = u"no-such-viewer";
  QTest::keyClick(r.txtReport, Qt::Key_Return);  // Return presses "全表示"
  EXPECT_EQ(u"no-such-viewer", h.launcher.starts.back().program);
  EXPECT_EQ(u"レポート(" + w.settings.ReportPath + u")を表示できませんでした。", h.boxes.Last().text);
  EXPECT_EQ(MsgIcon::Critical, h.boxes.Last().icon);

  // Clear-all: the text and the saved flag go back.
  h.boxes.QueueAnswer(MsgAnswer::Yes);
  w.cmdCommandClear[2]->click();
  EXPECT_EQ(u"(レポートはありません。)", r.ReportText());
  h.boxes.Clear();
  r.cmdCommandOpen->click();
  EXPECT_EQ(u"レポートが保存されていません。", h.boxes.Last().text);
  r.hide();
}

TEST_F(RunWindowTest, ReportWindowLayoutAndMinimumSize) {
  frmDovetem& w = StartWith({});
  frmDovetemReport& r = *w.report;
  r.show();
  r.resize(TwipsToPixels(9000, &r), TwipsToPixels(6000, &r));
  QApplication::processEvents();
  const int m120 = TwipsToPixels(120, &r);
  EXPECT_EQ(m120, r.txtReport->x());
  EXPECT_EQ(r.width() - 2 * m120, r.txtReport->width());
  EXPECT_EQ(r.height() - r.cmdCommandOpen->height() - m120,
            r.cmdCommandOpen->y());
  EXPECT_EQ(r.width() - r.cmdCommandOpen->width() - TwipsToPixels(240, &r), r.cmdCommandOpen->x());
  r.resize(10, 10);
  QApplication::processEvents();
  EXPECT_GE(r.width(), TwipsToPixels(480, &r));
  EXPECT_GE(r.height(), r.cmdCommandOpen->height() + TwipsToPixels(600, &r));
  r.hide();
}

TEST_F(RunWindowTest, ReportTextHeldOnceWithItsLines) {
  frmDovetem& w = StartWith({});
  frmDovetemReport& r = *w.report;
  ReportTextView& t = *r.txtReport;
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
  const int line = t.fontMetrics().lineSpacing();
  QTest::mouseClick(t.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(1, line / 2));
  QTest::mouseClick(t.viewport(), Qt::LeftButton, Qt::ShiftModifier, QPoint(1, 2 * line + line / 2));
  EXPECT_EQ(QStringLiteral("\nfirst\tline\n"), t.SelectedText());
  QTest::keyClick(&t, Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(QString::fromStdU16String(report).replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
                .replace(QChar(u'\r'), QChar(u'\n')),
            t.SelectedText());
  r.hide();
}

}  // namespace
}  // namespace dovetam
