// QMessageBox with the icon, buttons and default button asked for. A box
// closed without a button (Esc, the close box) answers as its escape button
// would: Cancel where there is one, otherwise No, otherwise OK.
#include "ui/widgets/qt_message_boxes.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFont>
#include <QLabel>
#include <QLayout>
#include <QMessageBox>
#include <QScreen>
#include <QShowEvent>
#include <QStringList>
#include <QTextLayout>
#include <algorithm>
#include <cmath>

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

bool IsJapanese(QChar c) {
  const char16_t u = c.unicode();
  return (u >= 0x3000 && u <= 0x9FFF) || (u >= 0xF900 && u <= 0xFAFF) ||
         (u >= 0xFF00 && u <= 0xFFEF);
}

bool IsWordCharacter(QChar c) {
  return !IsJapanese(c) && (c.isLetterOrNumber() || c == u'_' || c == u'.');
}

}  // namespace

std::vector<int> MessageLineBreaks(const QFont& font, const QString& line, int width) {
  QTextLayout layout(line, font);
  QTextOption option;
  option.setWrapMode(QTextOption::WordWrap);
  layout.setTextOption(option);
  std::vector<int> points;
  layout.beginLayout();
  for (QTextLine l = layout.createLine(); l.isValid(); l = layout.createLine()) {
    l.setLineWidth(width);
    if (l.textStart() > 0) points.push_back(l.textStart());
  }
  layout.endLayout();
  return points;
}

namespace {

qreal NaturalWidth(const QFont& font, const QString& line) {
  QTextLayout layout(line, font);
  layout.beginLayout();
  QTextLine l = layout.createLine();
  qreal width = 0;
  if (l.isValid()) {
    l.setLineWidth(1 << 24);
    width = l.naturalTextWidth();
  }
  layout.endLayout();
  return width;
}

// QMessageBox sizes itself to a narrow soft limit and wraps the rest; this
// box then widens to its text (MessageTextWidth) and stands centred over its
// parent again.
class FittedMessageBox : public QMessageBox {
 public:
  using QMessageBox::QMessageBox;

 protected:
  bool event(QEvent* e) override {
    const bool handled = QMessageBox::event(e);
    if (e->type() == QEvent::LayoutRequest && isVisible()) Fit();
    return handled;
  }
  void changeEvent(QEvent* e) override {
    QMessageBox::changeEvent(e);
    if ((e->type() == QEvent::FontChange || e->type() == QEvent::StyleChange) && isVisible()) Fit();
  }
  void showEvent(QShowEvent* e) override {
    QMessageBox::showEvent(e);
    Fit();
    if (!e->spontaneous() && !testAttribute(Qt::WA_Moved)) {
      adjustPosition(parentWidget());
      setAttribute(Qt::WA_Moved, false);
    }
  }

 private:
  void Fit() {
    auto* label = findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    QScreen* s = screen();
    if (fitting_ || label == nullptr || layout() == nullptr || s == nullptr) return;
    fitting_ = true;
    layout()->activate();
    layout()->setGeometry(rect());
    // Everything beside the text: the icon, the margins, the label's own.
    const int others = width() - LabelTextWidth(label);
    const int limit = s->availableGeometry().width() * 2 / 3 - others;
    const int wanted = MessageTextWidth(label->font(), label->text(), limit);
    const int w = std::max(wanted + others, layout()->totalMinimumSize().width());
    const int h = layout()->hasHeightForWidth() ? layout()->totalHeightForWidth(w)
                                                : layout()->totalMinimumSize().height();
    if (size() != QSize(w, h)) setFixedSize(w, h);
    // As QMessageBox does after sizing itself: the size is settled.
    QCoreApplication::removePostedEvents(this, QEvent::LayoutRequest);
    fitting_ = false;
  }

  bool fitting_ = false;
};

}  // namespace

int LabelTextWidth(const QLabel* label) {
  int indent = label->indent();
  if (indent < 0) {
    // As QLabel takes it: half an "x" beside a frame, else none.
    indent = label->frameWidth() > 0 ? label->fontMetrics().horizontalAdvance(u'x') / 2 : 0;
  }
  return label->contentsRect().width() - 2 * label->margin() - std::max(0, indent);
}

bool BreaksBetweenWords(const QString& line, int at) {
  if (at <= 0 || at >= line.size()) return true;
  const QChar before = line[at - 1], after = line[at];
  if (IsWordCharacter(before) && IsWordCharacter(after)) return false;
  const bool phraseEnd = before == u'、' || before == u'。' || before == u'・';
  return !(IsJapanese(before) && IsJapanese(after) && !phraseEnd);
}

int MessageTextWidth(const QFont& font, const QString& text, int limit) {
  const QStringList lines = text.split(u'\n');
  qreal natural = 0;
  for (const QString& line : lines) natural = std::max(natural, NaturalWidth(font, line));
  const int needed = static_cast<int>(std::ceil(natural));
  if (needed <= limit) return needed;
  const auto between = [&](int width) {
    for (const QString& line : lines) {
      for (int at : MessageLineBreaks(font, line, width)) {
        if (!BreaksBetweenWords(line, at)) return false;
      }
    }
    return true;
  };
  const int step = std::max(1, QFontMetrics(font).averageCharWidth() / 2);
  for (int width = limit; width >= limit / 2; width -= step) {
    if (between(width)) return width;
  }
  return limit;
}

MsgAnswer QtMessageBoxes::Show(std::u16string_view text, MsgIcon icon, MsgButtons buttons,
                               MsgAnswer defaultButton) {
  return ShowOver(parent_, text, icon, buttons, defaultButton);
}

MsgAnswer QtMessageBoxes::ShowOver(QWidget* owner, std::u16string_view text, MsgIcon icon,
                                   MsgButtons buttons, MsgAnswer defaultButton) {
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
  FittedMessageBox box(qicon, ToQString(kWindowCaption), QString(), set, owner);
  // Paths may hold "<" and "&": the text is shown as it is.
  box.setTextFormat(Qt::PlainText);
  box.setText(ToQString(text));
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

MsgAnswer WindowMessageBoxes::Show(std::u16string_view text, MsgIcon icon, MsgButtons buttons,
                                   MsgAnswer defaultButton) {
  if (auto* qt = dynamic_cast<QtMessageBoxes*>(&boxes_); qt != nullptr && window_ != nullptr) {
    return qt->ShowOver(window_, text, icon, buttons, defaultButton);
  }
  return boxes_.Show(text, icon, buttons, defaultButton);
}

}  // namespace dovetam
