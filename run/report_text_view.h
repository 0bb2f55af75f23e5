// txtReport of the report window: a read-only, multi-line text box with both
// scroll bars, made for reports of any length. It holds the text once, with
// the start of every line beside it, and lays out only the lines in sight
// when it paints them, so a report of 100,000 objects costs little more
// than its own text. CR LF, a lone CR or a lone LF ends a line; a tab moves
// to the next tab stop. Text can be selected with the mouse (Shift extends),
// all of it with Ctrl+A, and copied with Ctrl+C or the context menu; the
// arrow keys, Page Up/Down and Ctrl+Home/End scroll.
#pragma once

#include <QAbstractScrollArea>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class QTextLayout;

namespace dovetam {

class ReportTextView : public QAbstractScrollArea {
 public:
  explicit ReportTextView(QWidget* parent = nullptr);

  // The text on display, exactly as given; the view starts at its top.
  void SetText(std::u16string text);
  const std::u16string& Text() const { return text_; }
  int32_t LineCount() const { return static_cast<int32_t>(lineStart_.size()) - 1; }
  // Line k (0-based) without its line break.
  QString LineText(int32_t k) const;

  void SelectAll();
  // The selected text, line breaks as "\n".
  QString SelectedText() const;
  void Copy() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  // End of line k's text (its line break left out).
  std::size_t LineEnd(int32_t k) const;
  // The laid-out line k, ready to paint or to hit-test.
  void LayOut(int32_t k, QTextLayout& layout) const;
  // The text position under a point of the viewport.
  std::size_t PositionAt(const QPoint& point) const;
  int LineHeight() const;
  int Margin() const;
  // Scroll bar ranges from the text, the font and the viewport size.
  void UpdateScrollBars();
  // Widens the horizontal range when a painted line is wider than it.
  void NoteWidth(int width);

  std::u16string text_;
  std::vector<uint32_t> lineStart_;  // start of every line, then the text's size
  int widestLine_ = 0;               // pixels, an estimate raised while painting
  std::size_t anchor_ = 0;           // the selection: [min, max) of anchor and cursor
  std::size_t cursor_ = 0;
};

}  // namespace dovetam
