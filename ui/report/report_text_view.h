// txtReport of the report window: a read-only, multi-line text box with both
// scroll bars and no line wrap, made for reports of any length. It holds the
// text once, with the start of every line beside it, and lays out only the
// lines in sight when it paints them, so a report of 100,000 objects costs
// little more than its own text. CR LF, a lone CR or a lone LF ends a line;
// a tab moves to the next tab stop.
//
// Why a view of its own: the report of a run of 100,000 objects (13.7
// million characters, 26 MB of text) takes 3.7 MB beside its text and 33 to
// 50 ms to set and paint here, and 195 MB and 1.6 s in a read-only
// QPlainTextEdit without line wrap (Release build, offscreen, an 800 x 600
// view; the memory is the resident size added by setting the text).
//
// It behaves as the desktop's read-only text box: a caret that the arrow
// keys, Home/End, Page Up/Down and Ctrl with them move, Shift with any of them
// extending the selection; a click places the caret, Shift+click and a drag
// select (a drag past an edge keeps scrolling while the button is held), a
// double-click selects a word and a drag after it goes on by words; Ctrl+A,
// Ctrl+C and the context menu; the wheel scrolls. A copy for which memory
// runs short (a whole report of many objects) leaves the clipboard as it was
// and tells the window (CopyShortOfMemory), which says so. Screen readers read its
// text, caret and selection through the accessibility text interface.
//
// Positions are offsets into the text (0 to its size); the caret never
// stands inside a line break or between the halves of a surrogate pair.
#pragma once

#include <QAbstractScrollArea>
#include <QBasicTimer>
#include <QClipboard>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class QTextLayout;

namespace dovetam {

class ReportTextView : public QAbstractScrollArea {
  Q_OBJECT

 public:
  explicit ReportTextView(QWidget* parent = nullptr);

  // The text on display, exactly as given; the view starts at its top with
  // the caret at the start and nothing selected.
  void SetText(std::u16string text);
  const std::u16string& Text() const { return text_; }
  int32_t LineCount() const { return static_cast<int32_t>(lineStart_.size()) - 1; }
  // Line k (0-based) without its line break.
  QString LineText(int32_t k) const;
  // The line that holds a position, and where line k starts.
  int32_t LineOf(std::size_t at) const;
  std::size_t LineStart(int32_t k) const { return lineStart_[k]; }

  // The caret and the selection (from the anchor to the caret).
  std::size_t CursorPosition() const { return cursor_; }
  std::size_t AnchorPosition() const { return anchor_; }
  // Whether a drag past an edge is scrolling the view on.
  bool AutoScrolling() const { return autoScroll_.isActive(); }
  // Selects from anchor to cursor (both moved to the nearest position the
  // caret may take) and scrolls the caret into view.
  void SetSelection(std::size_t anchor, std::size_t cursor);
  void SelectAll();
  // The selected text, line breaks as "\n".
  QString SelectedText() const;
  void Copy();

  // Geometry, in viewport coordinates: the position nearest to a point, the
  // box of the character at a position.
  std::size_t PositionAt(const QPoint& point) const;
  QRect CharacterRect(std::size_t at) const;
  void ScrollToPosition(std::size_t at);

 signals:
  // A copy of the selection did not fit in memory; nothing was copied.
  void CopyShortOfMemory();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void changeEvent(QEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void timerEvent(QTimerEvent* event) override;

 private:
  enum class Step {
    NextChar, PreviousChar, NextWord, PreviousWord, NextLine, PreviousLine,
    NextPage, PreviousPage, LineStart, LineEnd, TextStart, TextEnd
  };

  // End of line k's text (its line break left out).
  std::size_t LineEnd(int32_t k) const;
  // The laid-out line k, its baseline where every line has it.
  void LayOut(int32_t k, QTextLayout& layout) const;
  // The caret's place nearest to `at`.
  std::size_t ValidPosition(std::size_t at) const;
  // x of a position within its laid-out line.
  qreal XOf(std::size_t at) const;
  // Where a step of the keyboard takes the caret from `at`.
  std::size_t StepFrom(std::size_t at, Step step);
  void Move(Step step, bool keepAnchor);
  // The word (or run of blanks or signs) that holds the character at `at`.
  std::pair<std::size_t, std::size_t> WordAt(std::size_t at) const;
  // The position at a point of the viewport: nearest to it, or of the
  // character under it (a QTextLine::CursorPosition).
  std::size_t HitTest(const QPoint& point, int mode) const;
  // A press of the button: the caret goes to the point (the selection is
  // kept and extended with Shift), or a double-click selects a word.
  void StartDrag(const QPoint& point, bool byWords, bool extend);
  // A drag reaching `point`: the caret follows it (word by word after a
  // double-click).
  void DragTo(const QPoint& point);
  // After every change of the caret or the selection: repaint, tell screen
  // readers, and restart the caret's blinking.
  void SelectionChanged(std::size_t oldAnchor, std::size_t oldCursor);
  void ShowCaret();
  void CopyToSelectionClipboard();
  // The selection onto the clipboard `mode`, or CopyShortOfMemory.
  void CopyTo(QClipboard::Mode mode);
  int PageLines() const;
  int Margin() const { return 4; }
  // Line height and baseline from the font and its fallback for Japanese.
  void UpdateMetrics();
  // Scroll bar ranges from the text, the font and the viewport size.
  void UpdateScrollBars();
  // Widens the horizontal range when a laid-out line is wider than it.
  void NoteWidth(int width);

  std::u16string text_;
  std::vector<uint32_t> lineStart_;  // start of every line, then the text's size
  int widestLine_ = 0;               // pixels, an estimate raised by the lines laid out
  int lineHeight_ = 1;
  qreal ascent_ = 0;
  std::size_t anchor_ = 0;  // the selection: [min, max) of anchor and caret
  std::size_t cursor_ = 0;
  qreal wantedX_ = -1;  // the column kept by Up, Down and the page keys
  bool caretShown_ = false;
  QBasicTimer blink_;
  // The drag: the button held since a press in the text.
  bool dragging_ = false;
  bool byWords_ = false;
  std::pair<std::size_t, std::size_t> dragWord_;
  QPoint dragPoint_;
  QBasicTimer autoScroll_;
};

}  // namespace dovetam
