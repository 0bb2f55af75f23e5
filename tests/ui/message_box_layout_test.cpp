// The program's message boxes offscreen, as the program shows them (its 9
// point font, a window of the main window's design size): every message is
// as wide as its text before it wraps, so each of its lines lays out on one
// line; a text wider than two thirds of the screen breaks between words. And
// every box stands over the window that raised it: the main window, the
// report window, the settings dialog.
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <functional>

#include "ui/settings_dialog/settings_dialog.h"
#include "core/settings/settings_dialog_values.h"
#include "testing/widget_probe.h"
#include "ui/widgets/twips.h"
#include "core/work/work_state_steps.h"
#include "core/objects/path_adder.h"
#include "ui/widgets/qt_message_boxes.h"
#include "ui/report/report_window.h"
#include "testing/window_harness.h"

namespace dovetam {
namespace {

using testing::Control;
using testing::OnNextDialog;

// The program's folder of a user and one far down a tree of folders.
const std::u16string kFolder = u"/home/yamada/tools/dovetam/";
const std::u16string kDeepFolder =
    u"/home/yamada/ドキュメント/仕事/2026年/写真の整理/dovetam-0.9.2-large-build/bin/";

struct Message {
  std::u16string text;
  MsgIcon icon = MsgIcon::Critical;
  MsgButtons buttons = MsgButtons::Ok;
  MsgAnswer defaultButton = MsgAnswer::Ok;
  bool withPath = false;  // may outgrow two thirds of a small screen
};

// Texts with a folder in them, as the log, the report and the viewer give them.
std::vector<Message> PathMessages(const std::u16string& folder) {
  const std::u16string log = folder + u"dovetam_rename.log";
  const std::u16string report = folder + u"dovetam_report.dat";
  const auto ask = [](std::u16string t) {
    return Message{std::move(t), MsgIcon::Critical, MsgButtons::YesNo, MsgAnswer::No, true};
  };
  const auto tell = [](std::u16string t) {
    return Message{std::move(t), MsgIcon::Critical, MsgButtons::Ok, MsgAnswer::Ok, true};
  };
  return {ask(u"ログファイル(" + log + u")を作成できませんでした。\n続行しますか？"),
          ask(u"ログファイル(" + log + u")を開けませんでした。\n続行しますか？"),
          ask(u"ログ(" + log + u")への書き込みに失敗しました。\nログを使用せずに続行しますか？"),
          tell(u"ログ(" + log + u")を閉じることができませんでした。"),
          tell(u"レポート用のファイル(" + report + u")を開くことができませんでした。"),
          tell(u"レポート用のファイル(" + report + u")にレポートを保存できませんでした。"),
          tell(u"レポート用のファイル(" + report + u")を閉じることができませんでした。"),
          tell(u"レポート(" + report + u")を表示できませんでした。")};
}

// Every message the program shows, from the texts of the code.
std::vector<Message> ProgramMessages() {
  const auto question = [](std::u16string t, MsgIcon icon = MsgIcon::Question) {
    return Message{std::move(t), icon, MsgButtons::YesNo, MsgAnswer::No};
  };
  const auto warning = [](std::u16string t) { return Message{std::move(t), MsgIcon::Exclamation}; };
  const auto information = [](std::u16string t) { return Message{std::move(t), MsgIcon::Information}; };
  const std::u16string guard = u"この操作を行うと、名前の再変更・復元ができなくなります。\n";
  std::vector<Message> m = {
      question(u"すべての項目をクリアしますか？"),
      question(guard + u"続行しますか？", MsgIcon::Exclamation),
      question(guard + u"すべての選択を解除しますか？", MsgIcon::Exclamation),
      question(u"すべての選択を解除しますか？"),
      {u"設定を保存して終了しますか？", MsgIcon::Question, MsgButtons::YesNoCancel, MsgAnswer::Cancel},
      question(u"終了しますか？"),
      {u"ログまたはレポートを削除できませんでした。"},
      {u"ログまたはレポートの存在を確認できなかったため、\n削除できませんでした。"},
      {u"いくつかの設定を読み込むことができませんでした。"},
      {u"いくつかの設定を保存できませんでした。"},
      {u"メモリ不足のため、\nいくつかのオブジェクトを格納できませんでした。"},
      {u"指定されたドライブのフォルダ一覧を取得できませんでした。"},
      {u"指定されたフォルダのファイル一覧を表示できませんでした。"},
      {u"メモリ不足のため、\n指定されたフォルダのファイル一覧を表示できませんでした。"},
      {u"指定されたオブジェクトが正しくありません。"},
      {u"指定されたパスをセットできませんでした。"},
      {u"指定されたドライブをセットできませんでした。"},
      {DateFetchFailureMessage(1)},
      {DateFetchFailureMessage(2)},
      {DateFetchFailureMessage(3)},
      warning(u"二重に名前変更を行うことはできません。\n\nオブジェクトを選択しなおすか、変更規則を変えてから、\n"
              u"操作を行ってください。"),
      warning(u"オブジェクトを選択してください。"),
      warning(u"名前を再変更できません。"),
      warning(u"元に戻せません。"),
      question(u"現在の設定で名前を変更しますか？"),
      question(u"名前を再変更しますか？"),
      question(u"変更した名前を元に戻しますか？"),
      information(u" 100000 個 の オブジェクト名を正常に変更しました。"),
      information(u" 99998 個 の オブジェクト名を一応変更しました。\n\n詳細は、レポートを参照してください。"),
      {u" 99998 個 の オブジェクト名を正常に復元しました。\n 2 個 の オブジェクト名を復元できませんでした。\n\n"
       u"詳細は、レポートを参照してください。"},
      warning(u"レポートが保存されていません。"),
      question(u"フォームの設定を保存しますか？"),
      question(u"フォームに設定を読み込みますか？"),
      question(u"フォームの値を規定値に戻しますか？"),
  };
  for (const PathAddTally& tally : {PathAddTally{12345, 0, false}, PathAddTally{3, 3, false},
                                    PathAddTally{0, 1, false}, PathAddTally{7, 0, true}}) {
    m.push_back({DropSummaryMessage(tally)});
    m.push_back({CommandLineSummaryMessage(tally)});
  }
  // The settings dialog's warnings: each symbol empty and too long, the
  // forbidden characters without "/" and ":", the start number.
  for (std::size_t i = 0; i < 17; ++i) {
    for (const char16_t* value : {u"", u"ab"}) {
      SettingsForm form = DefaultForm();
      form.txtRuleMark[i] = value;
      m.push_back(warning(CheckForm(form)));
    }
  }
  SettingsForm form = DefaultForm();
  form.txtNameBanStr = u"";
  m.push_back(warning(CheckForm(form)));
  for (const char16_t* number : {u"", u"1x", u"123456789012345678901234567890"}) {
    form = DefaultForm();
    form.txtActNum = number;
    m.push_back(warning(CheckForm(form)));
  }
  for (const std::u16string& folder : {kFolder, kDeepFolder}) {
    for (Message& path : PathMessages(folder)) m.push_back(std::move(path));
  }
  return m;
}

class MessageBoxLayoutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    font_ = QApplication::font();
    QFont program = font_;
    program.setPointSize(9);  // as the program sets it
    QApplication::setFont(program);
  }
  void TearDown() override { QApplication::setFont(font_); }

 private:
  QFont font_;
};

TEST_F(MessageBoxLayoutTest, EveryMessageBreaksOnlyAtItsOwnLineBreaksOrBetweenWords) {
  QWidget window;
  window.resize(TwipsToPixels(11910, &window), TwipsToPixels(8025, &window));
  window.show();
  QtMessageBoxes boxes(&window);
  const int screen = window.screen()->availableGeometry().width();
  int fitted = 0, wrapped = 0;
  for (const Message& m : ProgramMessages()) {
    const QString text = QString::fromStdU16String(m.text);
    SCOPED_TRACE(text.toStdString());
    ASSERT_FALSE(text.isEmpty());
    OnNextDialog<QMessageBox>([&](QMessageBox* box) {
      auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
      ASSERT_NE(nullptr, label);
      EXPECT_EQ(text, label->text());
      EXPECT_LE(box->width(), screen * 2 / 3 + 1);
      const int unwrapped = label->heightForWidth(1 << 20);
      const int shown = label->heightForWidth(label->width());
      const QStringList lines = text.split(u'\n');
      if (shown == unwrapped) {
        ++fitted;  // every line on one line
      } else {
        EXPECT_TRUE(m.withPath) << "wraps, though two thirds of the screen hold it";
        // Wider than two thirds of the screen: the box is wide (half the
        // screen at least) and every line breaks between words.
        ++wrapped;
        EXPECT_GE(box->width(), screen / 2);
        const int width = LabelTextWidth(label);
        int visualLines = 0;
        for (const QString& line : lines) {
          const std::vector<int> breaks = MessageLineBreaks(label->font(), line, width);
          visualLines += 1 + static_cast<int>(breaks.size());
          for (int at : breaks) {
            EXPECT_TRUE(BreaksBetweenWords(line, at))
                << "breaks before " << line.mid(at).toStdString();
          }
        }
        // The breaks counted are the label's own.
        EXPECT_EQ(visualLines, qRound(double(shown) * lines.size() / unwrapped));
      }
      QTest::keyClick(box, Qt::Key_Escape);
    });
    boxes.Show(m.text, m.icon, m.buttons, m.defaultButton);
  }
  EXPECT_GT(fitted, 60);
  EXPECT_GT(wrapped, 0);  // the deep folder's texts at least
}

// ---------------------------------------------------------------------------
// The window under each box: the program's windows with real message boxes.

class MessageBoxOwnerTest : public ::testing::Test {
 protected:
  frmDovetem& Start() {
    store.Set(u"general", u"defpath", programDir.path());
    window = std::make_unique<frmDovetem>(Services{*fs, store, boxes, launcher, clock,
                                                   Capacities::Large(), programDir.path(), {}});
    boxes.SetParent(window.get());
    window->Form_Load();
    CentreOnScreen(window.get());
    QApplication::processEvents();
    return *window;
  }
  static void CentreOnScreen(QWidget* w) {
    const QRect screen = w->screen()->availableGeometry();
    w->move(screen.center() - QPoint(w->width() / 2, w->height() / 2));
  }
  // The window a box of the next command stands over; its answer is No or OK.
  struct Seen {
    QWidget* parent = nullptr;
    QPoint offset;  // of the box's centre from its parent's centre
    QString text;
  };
  static void Watch(Seen& seen) {
    OnNextDialog<QMessageBox>([&seen](QMessageBox* box) {
      seen.parent = box->parentWidget();
      seen.text = box->text();
      if (seen.parent) seen.offset = box->geometry().center() - seen.parent->geometry().center();
      QTest::keyClick(box, Qt::Key_Escape);
    });
  }
  void TearDown() override {
    if (window) {
      testing::ReportWindow().hide();
      window->hide();
    }
  }

  QtMessageBoxes boxes;
  testing::MemorySettingsStore store;
  testing::FakeLauncher launcher;
  testing::FixedClock clock{MakeDate(2026, 12, 9, 10, 20, 30)};
  std::unique_ptr<FileSystem> fs = CreateSystemFileSystem();
  testing::TempDir programDir;
  std::unique_ptr<frmDovetem> window;
};

TEST_F(MessageBoxOwnerTest, EachMessageStandsOverTheWindowThatRaisedIt) {
  frmDovetem& w = Start();
  frmDovetemReport* report = &testing::ReportWindow();
  QPushButton& cmdCommandOpen = Control<QPushButton>(*report, "cmdCommandOpen");
  Control<QPushButton>(w, "cmdRuleReport").click();
  // Above the main window's top left corner: a box centred on either window
  // shows which one.
  report->move(w.geometry().topLeft() + QPoint(10, 10));
  QApplication::processEvents();

  Seen seen;
  Watch(seen);
  Control<QPushButton>(w, "cmdCommandClear", 1).click();
  EXPECT_EQ(QStringLiteral("すべての項目をクリアしますか？"), seen.text);
  EXPECT_EQ(&w, seen.parent);
  EXPECT_LE(seen.offset.manhattanLength(), 2);

  Watch(seen);
  cmdCommandOpen.click();
  EXPECT_EQ(QStringLiteral("レポートが保存されていません。"), seen.text);
  EXPECT_EQ(report, seen.parent);
  EXPECT_LE(seen.offset.manhattanLength(), 2);

  w.State().settings.ReportSaved = true;
  launcher.result = false;
  Watch(seen);
  cmdCommandOpen.click();
  EXPECT_EQ(QString::fromStdU16String(u"レポート(" + w.State().settings.ReportPath +
                                      u")を表示できませんでした。"),
            seen.text);
  EXPECT_EQ(report, seen.parent);
}

TEST_F(MessageBoxOwnerTest, TheSettingsDialogsMessagesStandOverIt) {
  frmDovetem& w = Start();
  Seen seen;
  QWidget* dialog = nullptr;
  OnNextDialog<frmDovetemSetting>([&](frmDovetemSetting* d) {
    dialog = d;
    Watch(seen);
    testing::Control<QPushButton>(*d, "cmdCommandSave").click();
    testing::Control<QPushButton>(*d, "cmdCommandCancel").click();
  });
  Control<QPushButton>(w, "cmdCommandSetting", 1).click();
  ASSERT_NE(nullptr, dialog);
  EXPECT_EQ(QStringLiteral("フォームの設定を保存しますか？"), seen.text);
  EXPECT_EQ(dialog, seen.parent);
}

}  // namespace
}  // namespace dovetam
