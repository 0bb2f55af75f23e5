// The run buttons and the report window offscreen: refusals, questions, a
// run, re-run and restore through the window, the result messages, and the
// report window ("レポート表示", "全表示", hiding on close and Esc).
#include <QCheckBox>
#include <QFrame>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <unistd.h>

#include "app/twips.h"
#include "platform/utf8_codec.h"
#include "run/report_window.h"
#include "testing/window_harness.h"

namespace dovetam {
namespace {

using testing::FsCall;
using testing::TempDir;
using testing::WindowHarness;

QString Q(std::u16string_view s) { return QString::fromUtf16(s.data(), s.size()); }

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

}  // namespace
}  // namespace dovetam
