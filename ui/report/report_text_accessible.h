// The report's text box as screen readers see it: the editable-text role,
// read only and multi-line, with Qt's text interface over the box's own text,
// caret and selection (offsets are positions in the text). Lines and
// paragraphs are the box's lines; characters, words and sentences are found
// within the line that holds the offset, so no question makes a copy of the
// whole report. Only the box itself includes this file.
#pragma once

#include <QAccessible>
#include <QAccessibleWidget>
#include <algorithm>
#include <string>

#include "ui/report/report_text_view.h"

namespace dovetam {

inline QString ReportTextPart(const std::u16string& s, std::size_t from, std::size_t to) {
  return QString::fromUtf16(s.data() + from, static_cast<qsizetype>(to - from));
}


// One line's text for Qt's own boundary helpers (characters, words,
// sentences), which read the whole text they are given.
class LineTextInterface : public QAccessibleTextInterface {
 public:
  explicit LineTextInterface(QString text) : text_(std::move(text)) {}
  void selection(int, int* start, int* end) const override { *start = *end = 0; }
  int selectionCount() const override { return 0; }
  void addSelection(int, int) override {}
  void removeSelection(int) override {}
  void setSelection(int, int, int) override {}
  int cursorPosition() const override { return 0; }
  void setCursorPosition(int) override {}
  QString text(int start, int end) const override { return text_.mid(start, end - start); }
  int characterCount() const override { return static_cast<int>(text_.size()); }
  QRect characterRect(int) const override { return {}; }
  int offsetAtPoint(const QPoint&) const override { return -1; }
  void scrollToSubstring(int, int) override {}
  QString attributes(int, int* start, int* end) const override {
    *start = 0;
    *end = characterCount();
    return {};
  }

 private:
  QString text_;
};

class ReportTextAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
 public:
  explicit ReportTextAccessible(ReportTextView* view)
      : QAccessibleWidget(view, QAccessible::EditableText) {}

  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
  }
  QAccessible::State state() const override {
    QAccessible::State s = QAccessibleWidget::state();
    s.readOnly = true;
    s.multiLine = true;
    s.selectableText = true;
    return s;
  }
  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Value) return text(0, characterCount());
    return QAccessibleWidget::text(t);
  }

  void selection(int index, int* start, int* end) const override {
    *start = *end = 0;
    if (index != 0 || selectionCount() == 0) return;
    *start = static_cast<int>(std::min(View()->AnchorPosition(), View()->CursorPosition()));
    *end = static_cast<int>(std::max(View()->AnchorPosition(), View()->CursorPosition()));
  }
  int selectionCount() const override {
    return View()->AnchorPosition() != View()->CursorPosition() ? 1 : 0;
  }
  void addSelection(int start, int end) override { setSelection(0, start, end); }
  void removeSelection(int index) override {
    if (index == 0) View()->SetSelection(View()->CursorPosition(), View()->CursorPosition());
  }
  void setSelection(int index, int start, int end) override {
    if (index == 0) View()->SetSelection(Offset(start), Offset(end));
  }
  int cursorPosition() const override { return static_cast<int>(View()->CursorPosition()); }
  void setCursorPosition(int position) override {
    View()->SetSelection(Offset(position), Offset(position));
  }
  QString text(int start, int end) const override {
    const std::size_t from = Offset(start), to = std::max(from, Offset(end));
    return ReportTextPart(View()->Text(), from, to);
  }
  int characterCount() const override { return static_cast<int>(View()->Text().size()); }

  // Lines and paragraphs are the view's lines; smaller units are found
  // within the line that holds the offset.
  QString textBeforeOffset(int offset, QAccessible::TextBoundaryType type, int* start,
                           int* end) const override {
    if (type == QAccessible::NoBoundary) return Nothing(start, end);
    if (IsLineUnit(type)) return LineText(View()->LineOf(Offset(offset)) - 1, start, end);
    return InLine(std::max(0, offset - 1), offset, type, start, end,
                  &QAccessibleTextInterface::textBeforeOffset);
  }
  QString textAfterOffset(int offset, QAccessible::TextBoundaryType type, int* start,
                          int* end) const override {
    if (type == QAccessible::NoBoundary) return Nothing(start, end);
    if (IsLineUnit(type)) return LineText(View()->LineOf(Offset(offset)) + 1, start, end);
    return InLine(offset, offset, type, start, end, &QAccessibleTextInterface::textAfterOffset);
  }
  QString textAtOffset(int offset, QAccessible::TextBoundaryType type, int* start,
                       int* end) const override {
    if (type == QAccessible::NoBoundary) {
      *start = 0;
      *end = characterCount();
      return text(0, characterCount());
    }
    if (IsLineUnit(type)) return LineText(View()->LineOf(Offset(offset)), start, end);
    return InLine(offset, offset, type, start, end, &QAccessibleTextInterface::textAtOffset);
  }

  QRect characterRect(int offset) const override {
    const QRect r = View()->CharacterRect(Offset(offset));
    return QRect(View()->viewport()->mapToGlobal(r.topLeft()), r.size());
  }
  int offsetAtPoint(const QPoint& point) const override {
    const QPoint p = View()->viewport()->mapFromGlobal(point);
    if (!View()->viewport()->rect().contains(p)) return -1;
    return static_cast<int>(View()->PositionAt(p));
  }
  void scrollToSubstring(int start, int end) override {
    View()->ScrollToPosition(Offset(end));
    View()->ScrollToPosition(Offset(start));
  }
  QString attributes(int, int* start, int* end) const override {
    *start = 0;
    *end = characterCount();
    return {};
  }

 private:
  using Lookup = QString (QAccessibleTextInterface::*)(int, QAccessible::TextBoundaryType, int*,
                                                       int*) const;

  ReportTextView* View() const { return static_cast<ReportTextView*>(widget()); }
  static QString Nothing(int* start, int* end) {
    *start = *end = -1;
    return {};
  }
  std::size_t Offset(int offset) const {
    return static_cast<std::size_t>(std::clamp(offset, 0, characterCount()));
  }
  static bool IsLineUnit(QAccessible::TextBoundaryType type) {
    return type == QAccessible::LineBoundary || type == QAccessible::ParagraphBoundary;
  }
  std::size_t NextLineStart(int32_t k) const {
    return k + 1 < View()->LineCount() ? View()->LineStart(k + 1) : View()->Text().size();
  }
  // Line k with its line break.
  QString LineText(int32_t k, int* start, int* end) const {
    if (k < 0 || k >= View()->LineCount()) return Nothing(start, end);
    *start = static_cast<int>(View()->LineStart(k));
    *end = static_cast<int>(NextLineStart(k));
    return ReportTextPart(View()->Text(), View()->LineStart(k), NextLineStart(k));
  }
  QString InLine(int where, int offset, QAccessible::TextBoundaryType type, int* start, int* end,
                 Lookup lookup) const {
    const int32_t k = View()->LineOf(Offset(where));
    const std::size_t from = View()->LineStart(k);
    const LineTextInterface line(ReportTextPart(View()->Text(), from, NextLineStart(k)));
    const int base = static_cast<int>(from);
    const QString found = (line.*lookup)(offset - base, type, start, end);
    *start += base;
    *end += base;
    return found;
  }
};

inline QAccessibleInterface* ReportTextAccessibleFactory(const QString& key, QObject* object) {
  if (key == QLatin1String(ReportTextView::staticMetaObject.className())) {
    if (auto* view = qobject_cast<ReportTextView*>(object)) return new ReportTextAccessible(view);
  }
  return nullptr;
}

}  // namespace dovetam
