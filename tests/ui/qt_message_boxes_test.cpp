// QMessageBox boxes offscreen: caption, icon, buttons, default button and the
// answer of a click or of Esc; the window each box stands over; where a
// message may break.
#include "ui/widgets/qt_message_boxes.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include "testing/fake_message_boxes.h"
#include "testing/window_harness.h"

namespace dovetam {
namespace {

struct BoxCase {
  const char* name;
  MsgIcon icon;
  MsgButtons buttons;
  MsgAnswer defaultButton;
  QMessageBox::Icon qicon;
  QMessageBox::StandardButtons qbuttons;
  QMessageBox::StandardButton qdefault;
  QMessageBox::StandardButton click;  // NoButton: press Esc
  MsgAnswer answer;
};

void PrintTo(const BoxCase& c, std::ostream* os) { *os << c.name; }

class QtMessageBoxesTest : public ::testing::TestWithParam<BoxCase> {};

TEST_P(QtMessageBoxesTest, ShowsTheBoxAndReturnsTheAnswer) {
  const BoxCase& c = GetParam();
  QString title, text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QMessageBox::StandardButtons buttons;
  QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
  testing::OnNextDialog<QMessageBox>([&](QMessageBox* box) {
    title = box->windowTitle();
    text = box->text();
    icon = box->icon();
    buttons = box->standardButtons();
    if (box->defaultButton() != nullptr) defaultButton = box->standardButton(box->defaultButton());
    if (c.click == QMessageBox::NoButton) {
      QTest::keyClick(box, Qt::Key_Escape);
    } else {
      box->button(c.click)->click();
    }
  });
  QtMessageBoxes boxes;
  EXPECT_EQ(c.answer, boxes.Show(u"一行目\n二行目", c.icon, c.buttons, c.defaultButton));
  EXPECT_EQ(QStringLiteral("Dovetam - 規則型名前変更ツール"), title);
  EXPECT_EQ(QStringLiteral("一行目\n二行目"), text);
  EXPECT_EQ(c.qicon, icon);
  EXPECT_EQ(c.qbuttons, buttons);
  EXPECT_EQ(c.qdefault, defaultButton);
}

using QB = QMessageBox;

INSTANTIATE_TEST_SUITE_P(
    Boxes, QtMessageBoxesTest,
    ::testing::Values(
        BoxCase{"CriticalOk", MsgIcon::Critical, MsgButtons::Ok, MsgAnswer::Ok, QB::Critical, QB::Ok,
                QB::Ok, QB::Ok, MsgAnswer::Ok},
        BoxCase{"InformationEsc", MsgIcon::Information, MsgButtons::Ok, MsgAnswer::Ok,
                QB::Information, QB::Ok, QB::Ok, QB::NoButton, MsgAnswer::Ok},
        BoxCase{"QuestionYes", MsgIcon::Question, MsgButtons::YesNo, MsgAnswer::No, QB::Question,
                QB::Yes | QB::No, QB::No, QB::Yes, MsgAnswer::Yes},
        BoxCase{"QuestionEscIsNo", MsgIcon::Question, MsgButtons::YesNo, MsgAnswer::No,
                QB::Question, QB::Yes | QB::No, QB::No, QB::NoButton, MsgAnswer::No},
        BoxCase{"ExclamationNo", MsgIcon::Exclamation, MsgButtons::YesNo, MsgAnswer::No,
                QB::Warning, QB::Yes | QB::No, QB::No, QB::No, MsgAnswer::No},
        BoxCase{"ExitQuestionEscIsCancel", MsgIcon::Question, MsgButtons::YesNoCancel,
                MsgAnswer::Cancel, QB::Question, QB::Yes | QB::No | QB::Cancel, QB::Cancel,
                QB::NoButton, MsgAnswer::Cancel},
        BoxCase{"ExitQuestionNo", MsgIcon::Question, MsgButtons::YesNoCancel, MsgAnswer::Cancel,
                QB::Question, QB::Yes | QB::No | QB::Cancel, QB::Cancel, QB::No, MsgAnswer::No},
        BoxCase{"OkCancelCancel", MsgIcon::None, MsgButtons::OkCancel, MsgAnswer::Ok, QB::NoIcon,
                QB::Ok | QB::Cancel, QB::Ok, QB::Cancel, MsgAnswer::Cancel}),
    [](const auto& info) { return std::string(info.param.name); });

// What a box showed: the window under it and how its text was taken.
struct Shown {
  QWidget* parent = nullptr;
  Qt::TextFormat format = Qt::AutoText;
  QString text;
};

Shown ShowAndClose(MessageBoxes& boxes, std::u16string_view text) {
  Shown shown;
  testing::OnNextDialog<QMessageBox>([&shown](QMessageBox* box) {
    shown = {box->parentWidget(), box->textFormat(), box->text()};
    QTest::keyClick(box, Qt::Key_Escape);
  });
  boxes.Show(text, MsgIcon::Critical);
  return shown;
}

TEST(WindowMessageBoxesTest, ABoxStandsOverTheWindowThatRaisedIt) {
  QWidget main, report;
  main.show();
  report.show();
  QtMessageBoxes boxes(&main);
  WindowMessageBoxes reportBoxes(boxes, &report);
  EXPECT_EQ(&report, ShowAndClose(reportBoxes, u"レポートが保存されていません。").parent);
  EXPECT_EQ(&main, ShowAndClose(boxes, u"終了しますか？").parent);
  // Without its window yet, a window's boxes are the program's.
  WindowMessageBoxes early(boxes);
  EXPECT_EQ(&main, ShowAndClose(early, u"x").parent);
  early.SetWindow(&report);
  EXPECT_EQ(&report, ShowAndClose(early, u"x").parent);
}

TEST(WindowMessageBoxesTest, APathIsShownAsItIs) {
  QtMessageBoxes boxes;
  const Shown shown = ShowAndClose(boxes, u"レポート(/tmp/<b>a</b> & b/dovetam_report.dat)を表示できませんでした。");
  EXPECT_EQ(Qt::PlainText, shown.format);
  EXPECT_EQ(QStringLiteral("レポート(/tmp/<b>a</b> & b/dovetam_report.dat)を表示できませんでした。"), shown.text);
}

TEST(WindowMessageBoxesTest, BoxesThatDrawNoWindowGetTheCallAsItIs) {
  testing::FakeMessageBoxes fake;
  QWidget report;
  WindowMessageBoxes boxes(fake, &report);
  fake.QueueAnswer(MsgAnswer::Yes);
  EXPECT_EQ(MsgAnswer::Yes, boxes.Show(u"q", MsgIcon::Question, MsgButtons::YesNo, MsgAnswer::No));
  ASSERT_EQ(1u, fake.Count());
  EXPECT_EQ(u"q", fake.Last().text);
  EXPECT_EQ(MsgIcon::Question, fake.Last().icon);
  EXPECT_EQ(MsgButtons::YesNo, fake.Last().buttons);
  EXPECT_EQ(MsgAnswer::No, fake.Last().defaultButton);
}

TEST(BreaksBetweenWordsTest, PathsBreakAfterASlashAndJapaneseBetweenPhrases) {
  const QString line = QStringLiteral("ログファイル(/home/a b/dovetam_rename.log)を作成できませんでした。、続行");
  const auto at = [&line](const char16_t* before) {
    return static_cast<int>(line.indexOf(QString::fromUtf16(before)) + std::char_traits<char16_t>::length(before));
  };
  const std::pair<int, bool> cases[] = {
      {at(u"/home/"), true},       // after a "/"
      {at(u"/home/a "), true},     // after a blank
      {at(u"ファイル"), true},     // before the path
      {at(u".log)"), true},        // after it
      {at(u"dovetam_re"), false},  // inside a name
      {at(u"rename."), false},     // at its dot
      {at(u"作成でき"), false},    // inside a Japanese phrase
      {at(u"ログファ"), false},
      {at(u"でした。"), true},     // after "。" and "、"
      {at(u"でした。、"), true},
  };
  for (const auto& [where, between] : cases) {
    EXPECT_EQ(between, BreaksBetweenWords(line, where)) << line.mid(where).toStdString();
  }
}

}  // namespace
}  // namespace dovetam
