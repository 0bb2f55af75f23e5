// QMessageBox boxes offscreen: caption, icon, buttons, default button and the
// answer of a click or of Esc.
#include "platform/qt_message_boxes.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

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
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(nullptr, box);
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

}  // namespace
}  // namespace dovetam
