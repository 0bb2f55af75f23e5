// Message boxes shown with QMessageBox, titled with the program's caption.
// A box stands over the window that raised it, and it is as wide as its text
// needs before it wraps, up to two thirds of the screen: a message then
// breaks only at its own line breaks. A text wider than that breaks between
// words (after a "/" of a path, at a blank, between a path and the Japanese
// around it), never inside a word or a Japanese phrase where a width up to
// two thirds of the screen avoids it.
#pragma once

#include <QString>
#include <vector>

#include "platform/message_boxes.h"

class QFont;
class QLabel;
class QWidget;

namespace dovetam {

class QtMessageBoxes : public MessageBoxes {
 public:
  // parent: the window the boxes stand over when no other is named (may be
  // null: the box is centred on the screen).
  explicit QtMessageBoxes(QWidget* parent = nullptr) : parent_(parent) {}
  void SetParent(QWidget* parent) { parent_ = parent; }

  MsgAnswer Show(std::u16string_view text, MsgIcon icon, MsgButtons buttons = MsgButtons::Ok,
                 MsgAnswer defaultButton = MsgAnswer::Ok) override;
  // The same box, standing over `owner`.
  MsgAnswer ShowOver(QWidget* owner, std::u16string_view text, MsgIcon icon, MsgButtons buttons,
                     MsgAnswer defaultButton);

 private:
  QWidget* parent_;
};

// The boxes that one window raises: each stands over that window. They go
// through the program's boxes; boxes that draw no window (a test's) get the
// call as it is. Without a window they are the program's boxes.
class WindowMessageBoxes : public MessageBoxes {
 public:
  explicit WindowMessageBoxes(MessageBoxes& boxes, QWidget* window = nullptr)
      : boxes_(boxes), window_(window) {}
  void SetWindow(QWidget* window) { window_ = window; }

  MsgAnswer Show(std::u16string_view text, MsgIcon icon, MsgButtons buttons = MsgButtons::Ok,
                 MsgAnswer defaultButton = MsgAnswer::Ok) override;

 private:
  MessageBoxes& boxes_;
  QWidget* window_;
};

// The width a label gives its text: its contents less margin and indent.
int LabelTextWidth(const QLabel* label);
// Where a line of a box's text wraps at `width` (the starts of the lines
// after the first), as the box's label wraps its plain text.
std::vector<int> MessageLineBreaks(const QFont& font, const QString& line, int width);
// The width for a box's text (its lines joined by "\n") in `font`: its
// widest line when that is at most `limit`; else the largest width up to
// `limit` at which every line breaks between words; else `limit`.
int MessageTextWidth(const QFont& font, const QString& text, int limit);
// Whether the line break between line[at - 1] and line[at] falls between
// words: not inside a word of letters and digits, nor inside a Japanese
// phrase (after "、", "。" or "・" it may).
bool BreaksBetweenWords(const QString& line, int at);

}  // namespace dovetam
