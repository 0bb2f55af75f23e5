// QMessageBox with the icon, buttons and default button asked for. A box
// closed without a button (Esc, the close box) answers as its escape button
// would: Cancel where there is one, otherwise No, otherwise OK.
#include "platform/qt_message_boxes.h"

#include <QMessageBox>
#include <QString>

namespace dovetam {

namespace {

QString ToQString(std::u16string_view s) {
  return QString::fromUtf16(s.data(), static_cast<qsizetype>(s.size()));
}

QMessageBox::StandardButton ToButton(MsgAnswer a) {
  switch (a) {
    case MsgAnswer::Ok: return QMessageBox::Ok;
    case MsgAnswer::Cancel: return QMessageBox::Cancel;
    case MsgAnswer::Yes: return QMessageBox::Yes;
    case MsgAnswer::No: return QMessageBox::No;
  }
  return QMessageBox::Ok;
}

}  // namespace

MsgAnswer QtMessageBoxes::Show(std::u16string_view text, MsgIcon icon, MsgButtons buttons,
                               MsgAnswer defaultButton) {
  QMessageBox::Icon qicon = QMessageBox::NoIcon;
  switch (icon) {
    case MsgIcon::None: break;
    case MsgIcon::Question: qicon = QMessageBox::Question; break;
    case MsgIcon::Exclamation: qicon = QMessageBox::Warning; break;
    case MsgIcon::Critical: qicon = QMessageBox::Critical; break;
    case MsgIcon::Information: qicon = QMessageBox::Information; break;
  }
  QMessageBox::StandardButtons set;
  MsgAnswer escape = MsgAnswer::Ok;
  switch (buttons) {
    case MsgButtons::Ok:
      set = QMessageBox::Ok;
      escape = MsgAnswer::Ok;
      break;
    case MsgButtons::OkCancel:
      set = QMessageBox::Ok | QMessageBox::Cancel;
      escape = MsgAnswer::Cancel;
      break;
    case MsgButtons::YesNo:
      set = QMessageBox::Yes | QMessageBox::No;
      escape = MsgAnswer::No;
      break;
    case MsgButtons::YesNoCancel:
      set = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
      escape = MsgAnswer::Cancel;
      break;
  }
  QMessageBox box(qicon, ToQString(kWindowCaption), ToQString(text), set, parent_);
  if (set.testFlag(ToButton(defaultButton))) box.setDefaultButton(ToButton(defaultButton));
  box.setEscapeButton(ToButton(escape));
  box.exec();
  QAbstractButton* clicked = box.clickedButton();
  if (clicked == nullptr) return escape;
  switch (box.standardButton(clicked)) {
    case QMessageBox::Ok: return MsgAnswer::Ok;
    case QMessageBox::Cancel: return MsgAnswer::Cancel;
    case QMessageBox::Yes: return MsgAnswer::Yes;
    case QMessageBox::No: return MsgAnswer::No;
    default: return escape;
  }
}

}  // namespace dovetam
