// The main window offscreen: start-up, exit questions and what they write,
// the guard question, clear-all, the keyboard's Default and Cancel buttons,
// and the help by button and by F1.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <sys/stat.h>
#include <ostream>
#include <vector>

#include "ui/settings_dialog/settings_dialog.h"
#include "ui/view_dialog/view_dialog.h"
#include "platform/file_url.h"
#include "platform/utf8_codec.h"
#include "testing/window_harness.h"

namespace dovetam {
namespace {

using testing::Control;
using testing::FsCall;
using testing::WindowHarness;

const std::u16string kDisplayKeys[] = {u"udate", u"cdate", u"header", u"mix"};

TEST(MainWindowStart, EmptyStoreStartsOnPageOneWithoutMessages) {
  WindowHarness h;
  frmDovetem& w = h.Start();
  EXPECT_EQ(h.boxes.Count(), 0u);
  EXPECT_EQ(w.windowTitle(), QStringLiteral("Dovetam - 規則型名前変更ツール"));
  EXPECT_EQ(w.CurrentPage(), 1);
  EXPECT_TRUE(w.isVisible());
  EXPECT_EQ(Control<QLineEdit>(w, "txtRule1").text(), QStringLiteral("*"));
  EXPECT_EQ(Control<QLineEdit>(w, "txtRule2").text(), QStringLiteral("*"));
  EXPECT_FALSE(Control<QCheckBox>(w, "chkRule").isChecked());
  EXPECT_EQ(w.State().ChangeState, 0);
  EXPECT_EQ(w.State().LogPath, h.programDir.path() + u"dovetam_rename.log");
  EXPECT_EQ(w.State().settings.ReportPath, h.programDir.path() + u"dovetam_report.dat");
}

TEST(MainWindowStart, BadStoredValuesGiveOneMessage) {
  WindowHarness h;
  h.store.Set(u"rule", u"chr_q1", u"??");
  h.store.Set(u"process", u"extramode", u"7");
  h.store.Set(u"rule", u"chr_aster", u"#");
  frmDovetem& w = h.Start();
  ASSERT_EQ(h.boxes.Count(), 1u);
  EXPECT_EQ(h.boxes.Last().text, u"いくつかの設定を読み込むことができませんでした。");
  EXPECT_EQ(h.boxes.Last().icon, MsgIcon::Critical);
  EXPECT_EQ(w.State().settings.settings.ChrQ1, u"?");
  EXPECT_EQ(w.State().settings.settings.ExtraMode, 1);
  // A good symbol is in effect and fills the rule boxes.
  EXPECT_EQ(Control<QLineEdit>(w, "txtRule1").text(), QStringLiteral("#"));
}

TEST(MainWindowExit, YesWritesOnlyTheDisplayKeys) {
  WindowHarness h;
  frmDovetem& w = h.Start();
  h.store.writeLog.clear();
  h.boxes.QueueAnswer(MsgAnswer::Yes);
  Control<QPushButton>(w, "cmdCommandExit", 1).click();
  ASSERT_EQ(h.boxes.Count(), 1u);
  EXPECT_EQ(h.boxes.Last().text, u"終了しますか？");
  EXPECT_EQ(h.boxes.Last().icon, MsgIcon::Question);
  EXPECT_EQ(h.boxes.Last().buttons, MsgButtons::YesNo);
  EXPECT_EQ(h.boxes.Last().defaultButton, MsgAnswer::No);
  EXPECT_TRUE(w.exitAccepted());
  ASSERT_EQ(h.store.writeLog.size(), 4u);
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(h.store.writeLog[i].first, u"display");
    EXPECT_EQ(h.store.writeLog[i].second, kDisplayKeys[i]);
  }
  EXPECT_EQ(h.store.Get(u"display", u"udate"), u"True");
  EXPECT_EQ(h.store.Get(u"display", u"cdate"), u"False");
}

TEST(MainWindowExit, NoKeepsTheProgramRunning) {
  WindowHarness h;
  frmDovetem& w = h.Start();
  h.store.writeLog.clear();
  h.boxes.QueueAnswer(MsgAnswer::No);
  Control<QPushButton>(w, "cmdCommandExit", 1).click();
  EXPECT_FALSE(w.exitAccepted());
  EXPECT_TRUE(w.isVisible());
  EXPECT_TRUE(h.store.writeLog.empty());
}

TEST(MainWindowExit, UnsavedSettingsAskThreeWays) {
  struct Row {
    const char* name;
    MsgAnswer answer;
    bool exits;
    bool saved;
  } rows[] = {{"yes saves", MsgAnswer::Yes, true, true},
              {"no exits without saving", MsgAnswer::No, true, false},
              {"cancel stays", MsgAnswer::Cancel, false, false}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    WindowHarness h;
    frmDovetem& w = h.Start();
    w.State().settings.SettingsDirty = true;
    w.State().settings.settings.SampleName = u"changed.txt";
    h.boxes.QueueAnswer(r.answer);
    Control<QPushButton>(w, "cmdCommandExit", 2).click();
    ASSERT_EQ(h.boxes.Count(), 1u);
    EXPECT_EQ(h.boxes.Last().text, u"設定を保存して終了しますか？");
    EXPECT_EQ(h.boxes.Last().buttons, MsgButtons::YesNoCancel);
    EXPECT_EQ(h.boxes.Last().defaultButton, MsgAnswer::Cancel);
    EXPECT_EQ(w.exitAccepted(), r.exits);
    EXPECT_EQ(h.store.Get(u"general", u"samplename") == u"changed.txt", r.saved);
    // The display keys are written by every exit that goes on, in a save of
    // their own after that of the settings.
    EXPECT_EQ(h.store.Has(u"display", u"udate"), r.exits);
    if (r.exits) {
      const std::size_t saves = r.saved ? 2 : 1;
      ASSERT_GE(h.store.batches.size(), saves);
      const auto first = h.store.batches.end() - static_cast<std::ptrdiff_t>(saves);
      std::vector<std::size_t> writes;
      for (auto b = first; b != h.store.batches.end(); ++b) {
        EXPECT_TRUE(b->committed);
        writes.push_back(b->writes);
      }
      const std::vector<std::size_t> expected =
          r.saved ? std::vector<std::size_t>{44, 4} : std::vector<std::size_t>{4};
      EXPECT_EQ(writes, expected);
    }
  }
}

TEST(MainWindowExit, AFailedSaveOfTheSettingsIsReportedOnce) {
  WindowHarness h;
  frmDovetem& w = h.Start();
  w.State().settings.SettingsDirty = true;
  h.store.failCommits = true;
  h.boxes.QueueAnswer(MsgAnswer::Yes);
  Control<QPushButton>(w, "cmdCommandExit", 2).click();
  EXPECT_TRUE(w.exitAccepted());
  ASSERT_EQ(h.boxes.Count(), 2u);
  EXPECT_EQ(h.boxes.Last().icon, MsgIcon::Critical);
  EXPECT_FALSE(h.store.Has(u"display", u"udate"));
}

TEST(MainWindowExit, FileDeletionAtExit) {
  WindowHarness h;
  h.store.Set(u"process", u"filedelmode", u"True");
  frmDovetem& w = h.Start();
  h.programDir.MakeFile(u"dovetam_rename.log", "log");
  h.programDir.MakeFile(u"dovetam_report.dat", "report");
  w.State().settings.SettingsDirty = true;
  h.boxes.QueueAnswer(MsgAnswer::No);  // do not save, but exit
  w.close();
  EXPECT_TRUE(w.exitAccepted());
  EXPECT_FALSE(h.programDir.Exists(u"dovetam_rename.log"));
  EXPECT_FALSE(h.programDir.Exists(u"dovetam_report.dat"));
  EXPECT_EQ(h.boxes.Count(), 1u);  // only the question
}

TEST(MainWindowExit, FileDeletionWithNothingToDeleteSaysNothing) {
  WindowHarness h;
  h.store.Set(u"process", u"filedelmode", u"True");
  frmDovetem& w = h.Start();
  h.boxes.QueueAnswer(MsgAnswer::Yes);
  w.close();
  EXPECT_TRUE(w.exitAccepted());
  EXPECT_EQ(h.boxes.Count(), 1u);
}

TEST(MainWindowExit, FailedDeletionIsReportedOnceAndTheExitGoesOn) {
  WindowHarness h;
  h.store.Set(u"process", u"filedelmode", u"True");
  testing::FaultyFileSystem faulty(*h.realFs);
  faulty.Fail(testing::FsCall::DeleteFile, u"", 70);
  frmDovetem& w = h.Start(Capacities::Large(), {}, &faulty);
  h.programDir.MakeFile(u"dovetam_rename.log", "log");
  h.programDir.MakeFile(u"dovetam_report.dat", "report");
  h.boxes.QueueAnswer(MsgAnswer::Yes);
  w.close();
  EXPECT_TRUE(w.exitAccepted());
  ASSERT_EQ(h.boxes.Count(), 2u);
  EXPECT_EQ(h.boxes.Last().text, u"ログまたはレポートを削除できませんでした。");
  EXPECT_EQ(h.boxes.Last().icon, MsgIcon::Critical);
}

TEST(MainWindowGuard, NoAbandonsTheSettingsCommand) {
  WindowHarness h;
  frmDovetem& w = h.Start();
  w.State().ChangeState = 3;
  h.boxes.QueueAnswer(MsgAnswer::No);
  Control<QPushButton>(w, "cmdCommandSetting", 1).click();
  ASSERT_EQ(h.boxes.Count(), 1u);
  EXPECT_EQ(h.boxes.Last().text,
            u"この操作を行うと、名前の再変更・復元ができなくなります。\n続行しますか？");
  EXPECT_EQ(h.boxes.Last().icon, MsgIcon::Exclamation);
  EXPECT_EQ(h.boxes.Last().defaultButton, MsgAnswer::No);
  EXPECT_EQ(w.State().ChangeState, 3);
  h.boxes.QueueAnswer(MsgAnswer::Yes);
  // Yes goes on to the settings dialog; close it as soon as it shows (the
  // rebuild after Yes runs the event loop before the dialog opens).
  testing::OnNextDialog<frmDovetemSetting>([](frmDovetemSetting* d) { d->close(); });
  Control<QPushButton>(w, "cmdCommandSetting", 1).click();
  EXPECT_EQ(w.State().ChangeState, 0);
}

TEST(MainWindowClear, NoChangesNothingYesResetsToPageOne) {
  WindowHarness h;
  frmDovetem& w = h.Start();
  w.ShowPage(2);
  Control<QLineEdit>(w, "txtRule1").setText(QStringLiteral("abc"));
  w.State().ChangeState = 3;
  h.boxes.QueueAnswer(MsgAnswer::No);
  Control<QPushButton>(w, "cmdCommandClear", 2).click();
  EXPECT_EQ(h.boxes.Last().text, u"すべての項目をクリアしますか？");
  EXPECT_EQ(h.boxes.Last().icon, MsgIcon::Question);
  EXPECT_EQ(w.CurrentPage(), 2);
  EXPECT_EQ(w.State().ChangeState, 3);
  h.boxes.QueueAnswer(MsgAnswer::Yes);
  Control<QPushButton>(w, "cmdCommandClear", 2).click();
  EXPECT_EQ(w.CurrentPage(), 1);
  EXPECT_EQ(w.State().ChangeState, 0);
  EXPECT_EQ(Control<QLineEdit>(w, "txtRule1").text(), QStringLiteral("*"));
  EXPECT_EQ(w.State().objects.ObjCount, 0);
}

TEST(MainWindowKeys, EscapeOnPageOneAsksTheExitQuestion) {
  WindowHarness h;
  frmDovetem& w = h.Start();
  h.boxes.QueueAnswer(MsgAnswer::No);
  QTest::keyClick(&w, Qt::Key_Escape);
  ASSERT_EQ(h.boxes.Count(), 1u);
  EXPECT_EQ(h.boxes.Last().text, u"終了しますか？");
}

TEST(MainWindowKeys, EscapeOnPageTwoGoesBack) {
  WindowHarness h;
  frmDovetem& w = h.Start();
  w.ShowPage(2);  // with its Default and Cancel buttons
  QTest::keyClick(&w, Qt::Key_Escape);
  EXPECT_EQ(w.CurrentPage(), 1);
  EXPECT_EQ(h.boxes.Count(), 0u);
}

// Tab walks a page in its designed order, the window's command buttons of
// the page among them, and from the last control back to the first; Shift+Tab
// walks it backwards. Controls of the hidden page and the never shown
// cmdSelectUndo are passed over.
struct TabCase {
  const char* name;
  int page;
  std::vector<QString> order;
};

void PrintTo(const TabCase& c, std::ostream* os) { *os << c.name; }

class TabOrderTest : public ::testing::TestWithParam<TabCase> {};

TEST_P(TabOrderTest, TabGoesThroughThePageInItsOrder) {
  const TabCase& c = GetParam();
  testing::TempDir work;
  work.MakeFile(u"a.txt");
  WindowHarness h;
  h.store.Set(u"general", u"defpath", work.path());
  frmDovetem& w = h.Start(Capacities::Large(), {work.PathOf(u"a.txt")});
  if (c.page == 2) Control<QPushButton>(w, "cmdSelectNext").click();
  ASSERT_EQ(w.CurrentPage(), c.page);
  const auto focused = [] {
    QWidget* f = QApplication::focusWidget();
    return f ? f->objectName() : QStringLiteral("(none)");
  };
  ASSERT_EQ(focused(), c.order.front());  // where the page puts the focus
  for (std::size_t i = 1; i <= c.order.size(); ++i) {
    ASSERT_TRUE(testing::TypeKey(Qt::Key_Tab));
    EXPECT_EQ(focused(), c.order[i % c.order.size()]) << "Tab number " << i;
  }
  ASSERT_TRUE(testing::TypeKey(Qt::Key_Tab, Qt::ShiftModifier));
  EXPECT_EQ(focused(), c.order.back());
  EXPECT_EQ(h.boxes.Count(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Pages, TabOrderTest,
    ::testing::Values(
        TabCase{"SelectionPage",
                1,
                {"drvSelect", "dirSelect", "lvwSelect", "cmdSelectAdd", "cmdSelectRefresh",
                 "cmdSelectDelete2", "lvwSelect2", "cmdSelectDelete", "cmdSelectClear",
                 "cmdSelectNext", "cmdCommandSetting(1)", "cmdCommandHelp(1)", "cmdCommandClear(1)",
                 "cmdCommandExit(1)", "cmdCommandView(1)"}},
        TabCase{"RulePage",
                2,
                {"txtRule1", "txtRule2", "chkRule", "lvwOrder", "cmdRuleExecute(1)",
                 "cmdRuleExecute(2)", "cmdRuleUndo", "cmdRuleReport", "cmdCommandSetting(2)",
                 "cmdCommandHelp(2)", "cmdCommandClear(2)", "cmdCommandExit(2)",
                 "cmdCommandView(2)", "cmdRuleBack", "cmdRuleHelp", "cmdRuleExample"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MainWindowHelp, OpensTheHtmlHelpAtTheTopic) {
  WindowHarness h;
  frmDovetem& w = h.Start();
  h.programDir.MakeFile(u"dovetam_help.html", "<html></html>");
  Control<QPushButton>(w, "cmdRuleHelp").click();
  Control<QPushButton>(w, "cmdRuleExample").click();
  Control<QPushButton>(w, "cmdCommandHelp", 1).click();
  ASSERT_EQ(h.launcher.starts.size(), 3u);
  EXPECT_EQ(h.launcher.starts[0].program, u"xdg-open");
  const std::u16string url = h.launcher.starts[0].args.at(0);
  EXPECT_EQ(url.substr(url.size() - 20), u"dovetam_help.html#12");
  EXPECT_EQ(h.launcher.starts[1].args.at(0).substr(url.size() - 3), u"#60");
  const std::u16string plain = h.launcher.starts[2].args.at(0);
  EXPECT_EQ(plain.substr(plain.size() - 17), u"dovetam_help.html");
}

// Without the help file beside the program, every way to the help says that
// it cannot be shown, naming the file, and no browser is started: the help
// buttons, and F1 in the main window, in the settings dialog and in the
// report window.
TEST(MainWindowHelp, AMissingHelpFileSaysSo) {
  WindowHarness h;
  frmDovetem& w = h.Start();
  const std::u16string cannotShow =
      u"ヘルプ(" + h.programDir.PathOf(u"dovetam_help.html") + u")を表示できませんでした。";
  const auto saidOnce = [&](const char* how) {
    SCOPED_TRACE(how);
    ASSERT_EQ(h.boxes.Count(), 1u);
    EXPECT_EQ(h.boxes.Last().text, cannotShow);
    EXPECT_EQ(h.boxes.Last().icon, MsgIcon::Critical);
    h.boxes.Clear();
  };
  Control<QPushButton>(w, "cmdCommandHelp", 1).click();
  saidOnce("page help button");
  QTest::keyClick(&Control<QComboBox>(w, "drvSelect"), Qt::Key_F1);
  saidOnce("F1 on page 1");
  w.ShowPage(2);
  for (const char* button : {"cmdRuleHelp", "cmdRuleExample", "cmdCommandHelp(2)"}) {
    Control<QPushButton>(w, button).click();
    saidOnce(button);
  }
  testing::OnNextDialog<frmDovetemSetting>([](frmDovetemSetting* d) {
    QTest::keyClick(d->focusWidget() != nullptr ? d->focusWidget() : d, Qt::Key_F1);
    d->close();
  });
  Control<QPushButton>(w, "cmdCommandSetting", 2).click();
  saidOnce("F1 in the settings dialog");
  Control<QPushButton>(w, "cmdRuleReport").click();
  frmDovetemReport& report = testing::ReportWindow();
  QTest::keyClick(&Control(report, "txtReport"), Qt::Key_F1);
  saidOnce("F1 in the report window");
  report.hide();
  EXPECT_TRUE(h.launcher.starts.empty());
}

// Help that cannot be shown says so, naming the help file: when the browser
// cannot be started, and when it starts and later reports that it failed.
TEST(MainWindowHelp, HelpThatCannotBeShownSaysSo) {
  WindowHarness h;
  frmDovetem& w = h.Start();
  h.programDir.MakeFile(u"dovetam_help.html", "<html></html>");
  const std::u16string cannotShow =
      u"ヘルプ(" + h.programDir.PathOf(u"dovetam_help.html") + u")を表示できませんでした。";

  h.launcher.result = false;
  Control<QPushButton>(w, "cmdCommandHelp", 1).click();
  ASSERT_EQ(h.boxes.Count(), 1u);
  EXPECT_EQ(h.boxes.Last().text, cannotShow);
  EXPECT_EQ(h.boxes.Last().icon, MsgIcon::Critical);

  h.launcher.result = true;
  w.ShowPage(2);
  Control<QPushButton>(w, "cmdRuleHelp").click();
  EXPECT_EQ(h.boxes.Count(), 1u) << "nothing is said while the browser may show the page";
  ASSERT_TRUE(h.launcher.starts.back().failed) << "the browser's later failure must be heard";
  h.launcher.starts.back().failed();
  ASSERT_EQ(h.boxes.Count(), 2u);
  EXPECT_EQ(h.boxes.Last().text, cannotShow);
}

// In a program folder whose name is not UTF-8 the help page is found on the
// bytes of its path, and the browser is handed those bytes in the URL; a
// browser that cannot be started says so, naming the page.
TEST(MainWindowHelp, OpensInAProgramFolderWhoseNameIsNotUtf8) {
  WindowHarness h;
  const std::string folder = h.programDir.native() + "prog\xff\xfe/";
  ASSERT_EQ(0, mkdir(folder.c_str(), 0755));
  h.programDir.MakeFileBytes("prog\xff\xfe/dovetam_help.html", "<html></html>");
  h.programFolder = DecodeNative(folder);
  frmDovetem& w = h.Start();
  Control<QPushButton>(w, "cmdCommandHelp", 1).click();
  w.ShowPage(2);
  Control<QPushButton>(w, "cmdRuleExample").click();
  ASSERT_EQ(h.launcher.starts.size(), 2u);
  const std::u16string page = FileUrl(h.programDir.path()) + u"prog%FF%FE/dovetam_help.html";
  EXPECT_EQ(h.launcher.starts[0].program, u"xdg-open");
  EXPECT_EQ(h.launcher.starts[0].args, std::vector<std::u16string>{page});
  EXPECT_EQ(h.launcher.starts[1].args, std::vector<std::u16string>{page + u"#60"});
  EXPECT_EQ(h.boxes.Count(), 0u);

  h.launcher.result = false;
  Control<QPushButton>(w, "cmdRuleHelp").click();
  ASSERT_EQ(h.boxes.Count(), 1u);
  EXPECT_EQ(h.boxes.Last().text,
            u"ヘルプ(" + h.programFolder + u"dovetam_help.html)を表示できませんでした。");
}

TEST(MainWindowHelp, F1OpensTheTopicOfTheFocusedControl) {
  WindowHarness h;
  frmDovetem& w = h.Start();
  h.programDir.MakeFile(u"dovetam_help.html", "<html></html>");
  struct Row {
    const char* name;
    int page;
    QWidget* focus;
    std::u16string_view end;
  } rows[] = {
      {"drive list", 1, &Control<QComboBox>(w, "drvSelect"), u"dovetam_help.html"},
      {"folder listing", 1, &Control<ListView>(w, "lvwSelect"), u"dovetam_help.html"},
      {"rule box", 2, &Control<QLineEdit>(w, "txtRule1"), u"dovetam_help.html"},
      {"order list", 2, &Control<ListView>(w, "lvwOrder"), u"dovetam_help.html"},
      {"rule help button", 2, &Control<QPushButton>(w, "cmdRuleHelp"), u"dovetam_help.html#12"},
      {"example button", 2, &Control<QPushButton>(w, "cmdRuleExample"), u"dovetam_help.html#60"},
      {"page help button", 2, &Control<QPushButton>(w, "cmdCommandHelp", 2), u"dovetam_help.html"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    h.launcher.starts.clear();
    w.ShowPage(r.page);
    r.focus->setFocus();
    ASSERT_EQ(w.focusWidget(), r.focus);
    QTest::keyClick(r.focus, Qt::Key_F1);
    ASSERT_EQ(h.launcher.starts.size(), 1u);
    EXPECT_EQ(h.launcher.starts[0].program, u"xdg-open");
    const std::u16string url = h.launcher.starts[0].args.at(0);
    ASSERT_GE(url.size(), r.end.size());
    EXPECT_EQ(url.substr(url.size() - r.end.size()), r.end);
    EXPECT_EQ(w.CurrentPage(), r.page);  // F1 does nothing else
  }
  EXPECT_EQ(h.boxes.Count(), 0u);
}

TEST(MainWindowHelp, F1InTheViewDialogAndTheReportWindowOpensTheDefaultTopic) {
  WindowHarness h;
  frmDovetem& w = h.Start();
  h.programDir.MakeFile(u"dovetam_help.html", "<html></html>");
  std::size_t startsInDialog = 0;
  testing::OnNextDialog<frmDovetemView>([&h, &startsInDialog](frmDovetemView* d) {
    QCheckBox& chkMix = Control<QCheckBox>(*d, "chkMix");
    chkMix.setFocus();
    QTest::keyClick(&chkMix, Qt::Key_F1);
    startsInDialog = h.launcher.starts.size();
    EXPECT_TRUE(d->isVisible());  // F1 does not close the dialog
    Control<QPushButton>(*d, "cmdCancel").click();
  });
  Control<QPushButton>(w, "cmdCommandView", 1).click();
  EXPECT_EQ(startsInDialog, 1u);

  w.ShowPage(2);
  Control<QPushButton>(w, "cmdRuleReport").click();
  frmDovetemReport& report = testing::ReportWindow();
  ASSERT_TRUE(report.isVisible());
  QWidget& txtReport = Control(report, "txtReport");
  txtReport.setFocus();
  QTest::keyClick(&txtReport, Qt::Key_F1);
  EXPECT_TRUE(report.isVisible());
  ASSERT_EQ(h.launcher.starts.size(), 2u);
  for (const auto& start : h.launcher.starts) {
    const std::u16string url = start.args.at(0);
    EXPECT_EQ(url.substr(url.size() - 18), u"/dovetam_help.html");
  }
  EXPECT_EQ(h.boxes.Count(), 0u);
}

// Where the system does not tell the program's folder (a copy of the program
// deeper than a path it gives whole), the window has no paths for its files,
// and no other folder stands in: the help says that it cannot be shown, a run
// asks about the log that cannot be created and, answered Yes, renames and
// says that the report cannot be saved; "全表示" finds no saved report, and an
// exit that deletes the run files has none to delete. No text file is
// created or opened anywhere.
TEST(MainWindowProgramFolder, AnUnknownFolderGivesTheFilesMessagesAndWritesNothing) {
  testing::TempDir work;
  work.MakeFile(u"a.txt", "x");
  WindowHarness h;
  testing::FaultyFileSystem fs(*h.realFs);  // records every call
  h.store.Set(u"general", u"defpath", work.path());
  h.store.Set(u"process", u"filedelmode", u"True");
  h.window = std::make_unique<frmDovetem>(Services{fs, h.store, h.boxes, h.launcher, h.clock,
                                                   Capacities::Large(), u"",
                                                   {work.PathOf(u"a.txt")}, true});
  frmDovetem& w = *h.window;
  w.Form_Load();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&w, testing::kEventWaitMs));
  ASSERT_EQ(w.State().LogPath, u"") << "no folder stands in for the program's";
  ASSERT_EQ(w.State().settings.ReportPath, u"");

  Control<QPushButton>(w, "cmdCommandHelp", 1).click();
  EXPECT_EQ(h.boxes.Texts(), std::vector<std::u16string>{u"ヘルプ()を表示できませんでした。"});
  EXPECT_TRUE(h.launcher.starts.empty());

  Control<QPushButton>(w, "cmdSelectNext").click();
  Control<QLineEdit>(w, "txtRule1").setText(QStringLiteral("b"));
  h.boxes.Clear();
  h.boxes.QueueAnswer(MsgAnswer::Yes);  // rename?
  h.boxes.QueueAnswer(MsgAnswer::Yes);  // on without the log?
  Control<QPushButton>(w, "cmdRuleExecute", 1).click();
  const std::vector<std::u16string> said = h.boxes.Texts();
  ASSERT_EQ(said.size(), 4u);
  EXPECT_EQ(said[1], u"ログファイル()を作成できませんでした。\n続行しますか？");
  EXPECT_EQ(said[2], u"レポート用のファイル()を開くことができませんでした。");
  EXPECT_EQ(work.Names(), std::vector<std::u16string>{u"b.txt"});

  Control<QPushButton>(w, "cmdRuleReport").click();
  frmDovetemReport& report = testing::ReportWindow();
  h.boxes.Clear();
  Control<QPushButton>(report, "cmdCommandOpen").click();
  EXPECT_EQ(h.boxes.Texts(), std::vector<std::u16string>{u"レポートが保存されていません。"});
  report.hide();

  h.boxes.Clear();
  h.boxes.QueueAnswer(MsgAnswer::Yes);
  w.close();
  EXPECT_TRUE(w.exitAccepted());
  EXPECT_EQ(h.boxes.Count(), 1u) << "only the exit question";
  for (const auto& [call, path] : fs.calls) {
    if (call == FsCall::CreateTextFile || call == FsCall::AppendTextFile ||
        call == FsCall::DeleteFile) {
      EXPECT_EQ(path, u"") << "a file of the program's was looked for in another folder";
    }
  }
}

// The handlers of the main window and of the report window are their own: a
// test presses the controls, as a user does.
template <typename W>
concept ShellHandlerReachable =
    requires(W& w) { w.cmdCommandClear_Click(1); } || requires(W& w) { w.cmdCommandExit_Click(1); } ||
    requires(W& w) { w.cmdCommandHelp_Click(1); } ||
    requires(W& w) { w.cmdCommandSetting_Click(1); } ||
    requires(W& w) { w.cmdCommandView_Click(1); };
template <typename W>
concept ReportHandlerReachable =
    requires(W& w) { w.Form_Resize(); } || requires(W& w) { w.cmdCommandOpen_Click(); };
static_assert(!ShellHandlerReachable<frmDovetem>);
static_assert(!ReportHandlerReachable<frmDovetemReport>);

}  // namespace
}  // namespace dovetam
