// The report's text box: see report_text_view.h.
#include "ui/report/report_text_view.h"
#include "ui/report/report_text_accessible.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QTextBoundaryFinder>
#include <QTextLayout>
#include <algorithm>
#include <cmath>
#include <memory>

#include "core/common/memory_short.h"

namespace dovetam {

namespace {
constexpr qreal kTabStop = 80;  // pixels, as the text boxes of the toolkit
constexpr int kNoWrap = 1 << 24;

// A line ends at LF, at CR LF (at its LF) and at a lone CR.
bool EndsLine(const std::u16string& text, std::size_t at) {
  return text[at] == u'\n' ||
         (text[at] == u'\r' && (at + 1 == text.size() || text[at + 1] != u'\n'));
}

int FloorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

}  // namespace

ReportTextView::ReportTextView(QWidget* parent) : QAbstractScrollArea(parent) {
  // Screen readers find the box through Qt's factory of accessible faces.
  static const bool accessible = (QAccessible::installFactory(ReportTextAccessibleFactory), true);
  Q_UNUSED(accessible);
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_InputMethodEnabled, false);
  viewport()->setBackgroundRole(QPalette::Base);
  viewport()->setAutoFillBackground(true);
  viewport()->setCursor(Qt::IBeamCursor);
  lineStart_ = {0, 0};
  UpdateMetrics();
}

void ReportTextView::SetText(std::u16string text) {
  // The line starts are made beside the old text first: when memory runs
  // out for them, the view keeps its old text whole.
  std::vector<uint32_t> starts;
  const QFontMetrics fm(font());
  const int narrow = fm.averageCharWidth(), wide = fm.horizontalAdvance(QChar(0x3042));
  std::size_t lines = 1;
  for (std::size_t at = 0; at < text.size(); ++at) lines += EndsLine(text, at);
  starts.reserve(lines + 1);
  starts.push_back(0);
  // An estimate of the widest line, raised by the lines laid out.
  int widest = 0;
  int width = 0;
  for (std::size_t at = 0; at < text.size(); ++at) {
    const char16_t c = text[at];
    if (EndsLine(text, at)) {
      starts.push_back(static_cast<uint32_t>(at + 1));
      widest = std::max(widest, width);
      width = 0;
    } else if (c == u'\t') {
      width += static_cast<int>(kTabStop);
    } else if (c != u'\r' && (c < 0xDC00 || c > 0xDFFF)) {
      width += c < 0x2E80 ? narrow : wide;
    }
  }
  starts.push_back(static_cast<uint32_t>(text.size()));
  text_.swap(text);
  lineStart_.swap(starts);
  widestLine_ = std::max(widest, width);
  anchor_ = cursor_ = 0;
  wantedX_ = -1;
  UpdateScrollBars();
  verticalScrollBar()->setValue(0);
  horizontalScrollBar()->setValue(0);
  viewport()->update();
  if (QAccessible::isActive()) {
    QAccessibleEvent changed(this, QAccessible::VisibleDataChanged);
    QAccessible::updateAccessibility(&changed);
    QAccessibleTextCursorEvent caret(this, 0);
    QAccessible::updateAccessibility(&caret);
  }
}

int32_t ReportTextView::LineOf(std::size_t at) const {
  const auto it = std::upper_bound(lineStart_.begin(), lineStart_.end() - 1,
                                   static_cast<uint32_t>(std::min(at, text_.size())));
  return std::max<int32_t>(0, static_cast<int32_t>(it - lineStart_.begin()) - 1);
}

std::size_t ReportTextView::LineEnd(int32_t k) const {
  std::size_t end = lineStart_[k + 1];
  if (k + 1 < LineCount()) {
    --end;  // the line break: LF, CR, or CR LF
    if (end > lineStart_[k] && text_[end] == u'\n' && text_[end - 1] == u'\r') --end;
  }
  return end;
}

QString ReportTextView::LineText(int32_t k) const {
  return ReportTextPart(text_, lineStart_[k], LineEnd(k));
}

void ReportTextView::UpdateMetrics() {
  // A line with Japanese in it takes the fallback font's taller ascent and
  // descent: every line gets room for both, on one baseline.
  const QFontMetricsF fm(font());
  QTextLayout sample(QStringLiteral("Ag_\u56FD\u3042"), font());
  sample.beginLayout();
  QTextLine line = sample.createLine();
  sample.endLayout();
  ascent_ = std::max(fm.ascent(), line.isValid() ? line.ascent() : 0);
  const qreal descent = std::max(fm.descent(), line.isValid() ? line.descent() : 0);
  lineHeight_ = std::max({1, QFontMetrics(font()).lineSpacing(),
                          static_cast<int>(std::ceil(ascent_ + descent + fm.leading()))});
}

void ReportTextView::LayOut(int32_t k, QTextLayout& layout) const {
  QTextOption option;
  option.setTabStopDistance(kTabStop);
  option.setWrapMode(QTextOption::NoWrap);
  layout.setText(LineText(k));
  layout.setFont(font());
  layout.setTextOption(option);
  layout.setCacheEnabled(true);
  layout.beginLayout();
  QTextLine line = layout.createLine();
  if (line.isValid()) {
    line.setLineWidth(kNoWrap);
    line.setPosition(QPointF(0, ascent_ - line.ascent()));
  }
  layout.endLayout();
}

int ReportTextView::PageLines() const { return std::max(1, viewport()->height() / lineHeight_); }

void ReportTextView::UpdateScrollBars() {
  const int pageLines = PageLines();
  verticalScrollBar()->setPageStep(pageLines);
  verticalScrollBar()->setSingleStep(1);
  verticalScrollBar()->setRange(0, std::max(0, LineCount() - pageLines));
  const int page = viewport()->width();
  horizontalScrollBar()->setPageStep(page);
  horizontalScrollBar()->setSingleStep(std::max(1, fontMetrics().averageCharWidth() * 2));
  horizontalScrollBar()->setRange(0, std::max(0, widestLine_ + 2 * Margin() - page));
}

void ReportTextView::NoteWidth(int width) {
  if (width <= widestLine_) return;
  widestLine_ = width;
  UpdateScrollBars();
}

void ReportTextView::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(viewport());
  const int h = lineHeight_;
  const int first = verticalScrollBar()->value();
  const int last = std::min(LineCount() - 1, first + viewport()->height() / h + 1);
  const qreal left = Margin() - horizontalScrollBar()->value();
  const std::size_t selFrom = std::min(anchor_, cursor_), selTo = std::max(anchor_, cursor_);
  const QBrush highlight = palette().brush(QPalette::Highlight);
  const qreal breakWidth = QFontMetricsF(font()).horizontalAdvance(QLatin1Char(' '));

  std::vector<std::unique_ptr<QTextLayout>> layouts;
  int widest = 0;
  // The selection's background first, under the text of every line: the
  // glyphs of a line may reach into the band of the next one.
  for (int32_t k = first; k <= last; ++k) {
    layouts.push_back(std::make_unique<QTextLayout>());
    QTextLayout& layout = *layouts.back();
    LayOut(k, layout);
    const QTextLine line = layout.lineAt(0);
    widest = std::max(widest, static_cast<int>(line.naturalTextWidth()) + 1);
    const std::size_t start = lineStart_[k], end = LineEnd(k);
    if (selFrom >= selTo || selFrom > end || selTo <= start) continue;
    const qreal x1 = line.cursorToX(static_cast<int>(std::max(selFrom, start) - start));
    qreal x2 = line.cursorToX(static_cast<int>(std::min(selTo, end) - start));
    if (selTo > end) x2 += breakWidth;  // the line break is selected too
    painter.fillRect(QRectF(left + x1, (k - first) * h, x2 - x1, h), highlight);
  }
  for (int32_t k = first; k <= last; ++k) {
    QList<QTextLayout::FormatRange> selected;
    const std::size_t start = lineStart_[k], end = LineEnd(k);
    if (selFrom < selTo && selFrom < end && selTo > start) {
      QTextLayout::FormatRange range;
      range.start = static_cast<int>(std::max(selFrom, start) - start);
      range.length = static_cast<int>(std::min(selTo, end) - start) - range.start;
      range.format.setForeground(palette().brush(QPalette::HighlightedText));
      selected.push_back(range);
    }
    layouts[static_cast<std::size_t>(k - first)]->draw(&painter, QPointF(left, (k - first) * h),
                                                       selected);
  }
  const int32_t caretLine = LineOf(cursor_);
  if (caretShown_ && hasFocus() && caretLine >= first && caretLine <= last) {
    const QTextLine line = layouts[static_cast<std::size_t>(caretLine - first)]->lineAt(0);
    const qreal x = left + line.cursorToX(static_cast<int>(cursor_ - lineStart_[caretLine]));
    const int width = std::max(1, style()->pixelMetric(QStyle::PM_TextCursorWidth, nullptr, this));
    painter.fillRect(QRectF(x, (caretLine - first) * h, width, h), palette().brush(QPalette::Text));
  }
  NoteWidth(widest);
}

void ReportTextView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  UpdateScrollBars();
}

void ReportTextView::changeEvent(QEvent* event) {
  QAbstractScrollArea::changeEvent(event);
  if (event->type() == QEvent::FontChange) {
    UpdateMetrics();
    UpdateScrollBars();
  }
}

// ---------------------------------------------------------------------------
// Positions, the caret and the selection

std::size_t ReportTextView::ValidPosition(std::size_t at) const {
  at = std::min(at, text_.size());
  const int32_t k = LineOf(at);
  at = std::min(at, LineEnd(k));
  if (at > lineStart_[k] && QChar::isLowSurrogate(text_[at]) &&
      QChar::isHighSurrogate(text_[at - 1])) {
    --at;
  }
  return at;
}

qreal ReportTextView::XOf(std::size_t at) const {
  const int32_t k = LineOf(at);
  QTextLayout layout;
  LayOut(k, layout);
  return layout.lineAt(0).cursorToX(static_cast<int>(at - lineStart_[k]));
}

std::size_t ReportTextView::HitTest(const QPoint& point, int mode) const {
  const int32_t k = std::clamp(verticalScrollBar()->value() + FloorDiv(point.y(), lineHeight_), 0,
                               LineCount() - 1);
  QTextLayout layout;
  LayOut(k, layout);
  const qreal x = point.x() - Margin() + horizontalScrollBar()->value();
  const int at = layout.lineAt(0).xToCursor(x, static_cast<QTextLine::CursorPosition>(mode));
  return lineStart_[k] + static_cast<std::size_t>(std::max(0, at));
}

std::size_t ReportTextView::PositionAt(const QPoint& point) const {
  return HitTest(point, QTextLine::CursorBetweenCharacters);
}

QRect ReportTextView::CharacterRect(std::size_t at) const {
  at = ValidPosition(at);
  const int32_t k = LineOf(at);
  QTextLayout layout;
  LayOut(k, layout);
  const QTextLine line = layout.lineAt(0);
  const int rel = static_cast<int>(at - lineStart_[k]);
  const qreal x1 = line.cursorToX(rel);
  const qreal x2 = at < LineEnd(k) ? line.cursorToX(layout.nextCursorPosition(rel)) : x1;
  const qreal left = Margin() - horizontalScrollBar()->value();
  return QRectF(left + x1, (k - verticalScrollBar()->value()) * lineHeight_, x2 - x1, lineHeight_)
      .toAlignedRect();
}

void ReportTextView::ScrollToPosition(std::size_t at) {
  at = ValidPosition(at);
  const int32_t k = LineOf(at);
  QScrollBar* v = verticalScrollBar();
  if (k < v->value()) v->setValue(k);
  if (k >= v->value() + PageLines()) v->setValue(k - PageLines() + 1);

  QTextLayout layout;
  LayOut(k, layout);
  const QTextLine line = layout.lineAt(0);
  NoteWidth(static_cast<int>(line.naturalTextWidth()) + 1);
  const int x = Margin() + static_cast<int>(line.cursorToX(static_cast<int>(at - lineStart_[k])));
  QScrollBar* hb = horizontalScrollBar();
  if (x - Margin() < hb->value()) hb->setValue(x - Margin());
  if (x + 2 * Margin() > hb->value() + viewport()->width()) {
    hb->setValue(x + 2 * Margin() - viewport()->width());
  }
}

void ReportTextView::SetSelection(std::size_t anchor, std::size_t cursor) {
  const std::size_t oldAnchor = anchor_, oldCursor = cursor_;
  anchor_ = ValidPosition(anchor);
  cursor_ = ValidPosition(cursor);
  wantedX_ = -1;
  ScrollToPosition(cursor_);
  SelectionChanged(oldAnchor, oldCursor);
}

void ReportTextView::SelectAll() {
  const std::size_t oldAnchor = anchor_, oldCursor = cursor_;
  anchor_ = 0;
  cursor_ = text_.size();
  SelectionChanged(oldAnchor, oldCursor);
}

QString ReportTextView::SelectedText() const {
  QString s = ReportTextPart(text_, std::min(anchor_, cursor_), std::max(anchor_, cursor_));
  s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  s.replace(QChar(u'\r'), QChar(u'\n'));
  return s;
}

void ReportTextView::Copy() {
  if (anchor_ != cursor_) CopyTo(QClipboard::Clipboard);
}

void ReportTextView::CopyToSelectionClipboard() {
  if (anchor_ != cursor_ && QGuiApplication::clipboard()->supportsSelection()) {
    CopyTo(QClipboard::Selection);
  }
}

void ReportTextView::CopyTo(QClipboard::Mode mode) {
  // The text is made whole before the clipboard is given it, so a copy that
  // does not fit leaves the clipboard as it was.
  if (!MemoryAllows([&] { QGuiApplication::clipboard()->setText(SelectedText(), mode); })) {
    emit CopyShortOfMemory();
  }
}

void ReportTextView::SelectionChanged(std::size_t oldAnchor, std::size_t oldCursor) {
  ShowCaret();
  viewport()->update();
  if (!QAccessible::isActive()) return;
  const auto range = [](std::size_t a, std::size_t b) {
    return std::make_pair(std::min(a, b), std::max(a, b));
  };
  if (range(oldAnchor, oldCursor) != range(anchor_, cursor_)) {
    const auto [from, to] = range(anchor_, cursor_);
    QAccessibleTextSelectionEvent selection(this, static_cast<int>(from), static_cast<int>(to));
    selection.setCursorPosition(static_cast<int>(cursor_));
    QAccessible::updateAccessibility(&selection);
  }
  if (oldCursor != cursor_) {
    QAccessibleTextCursorEvent caret(this, static_cast<int>(cursor_));
    QAccessible::updateAccessibility(&caret);
  }
}

void ReportTextView::ShowCaret() {
  caretShown_ = true;
  const int flash = QApplication::cursorFlashTime();
  if (hasFocus() && flash > 0) {
    blink_.start(flash / 2, this);
  } else {
    blink_.stop();
  }
}

void ReportTextView::focusInEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusInEvent(event);
  ShowCaret();
  viewport()->update();
}

void ReportTextView::focusOutEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusOutEvent(event);
  blink_.stop();
  caretShown_ = false;
  viewport()->update();
}

// ---------------------------------------------------------------------------
// The keyboard

std::size_t ReportTextView::StepFrom(std::size_t at, Step step) {
  const int32_t k = LineOf(at);
  const std::size_t start = lineStart_[k], end = LineEnd(k);
  QTextLayout layout;
  const auto within = [&](auto move) {
    LayOut(k, layout);
    return start + static_cast<std::size_t>(move(static_cast<int>(at - start)));
  };
  const auto lineAway = [&](int lines) {
    if (wantedX_ < 0) wantedX_ = XOf(at);
    const int32_t to = std::clamp(k + lines, 0, LineCount() - 1);
    LayOut(to, layout);
    const int x = layout.lineAt(0).xToCursor(wantedX_);
    return lineStart_[to] + static_cast<std::size_t>(std::max(0, x));
  };
  switch (step) {
    case Step::NextChar:
    case Step::NextWord:
      if (at >= end) return k + 1 < LineCount() ? lineStart_[k + 1] : end;
      return within([&](int rel) {
        return layout.nextCursorPosition(
            rel, step == Step::NextWord ? QTextLayout::SkipWords : QTextLayout::SkipCharacters);
      });
    case Step::PreviousChar:
    case Step::PreviousWord:
      if (at <= start) return k > 0 ? LineEnd(k - 1) : start;
      return within([&](int rel) {
        return layout.previousCursorPosition(
            rel, step == Step::PreviousWord ? QTextLayout::SkipWords : QTextLayout::SkipCharacters);
      });
    case Step::NextLine: return lineAway(1);
    case Step::PreviousLine: return lineAway(-1);
    case Step::NextPage: return lineAway(PageLines());
    case Step::PreviousPage: return lineAway(-PageLines());
    case Step::LineStart: return start;
    case Step::LineEnd: return end;
    case Step::TextStart: return 0;
    case Step::TextEnd: return text_.size();
  }
  return at;
}

void ReportTextView::Move(Step step, bool keepAnchor) {
  const std::size_t oldAnchor = anchor_, oldCursor = cursor_;
  const bool vertical = step == Step::NextLine || step == Step::PreviousLine ||
                        step == Step::NextPage || step == Step::PreviousPage;
  if (!vertical) wantedX_ = -1;
  std::size_t to;
  if (!keepAnchor && anchor_ != cursor_ && step == Step::NextChar) {
    to = std::max(anchor_, cursor_);  // the caret leaves a selection at its end
  } else if (!keepAnchor && anchor_ != cursor_ && step == Step::PreviousChar) {
    to = std::min(anchor_, cursor_);
  } else {
    to = StepFrom(cursor_, step);
  }
  // The page keys scroll by a page and keep the caret's place in the view.
  if (step == Step::NextPage || step == Step::PreviousPage) {
    QScrollBar* v = verticalScrollBar();
    v->setValue(v->value() + LineOf(to) - LineOf(cursor_));
  }
  cursor_ = to;
  if (!keepAnchor) anchor_ = to;
  ScrollToPosition(cursor_);
  SelectionChanged(oldAnchor, oldCursor);
  if (keepAnchor) CopyToSelectionClipboard();
}

void ReportTextView::keyPressEvent(QKeyEvent* event) {
  using K = QKeySequence;
  struct KeyStep {
    K::StandardKey move, select;
    Step step;
  };
  static constexpr KeyStep kSteps[] = {
      {K::MoveToNextChar, K::SelectNextChar, Step::NextChar},
      {K::MoveToPreviousChar, K::SelectPreviousChar, Step::PreviousChar},
      {K::MoveToNextWord, K::SelectNextWord, Step::NextWord},
      {K::MoveToPreviousWord, K::SelectPreviousWord, Step::PreviousWord},
      {K::MoveToNextLine, K::SelectNextLine, Step::NextLine},
      {K::MoveToPreviousLine, K::SelectPreviousLine, Step::PreviousLine},
      {K::MoveToNextPage, K::SelectNextPage, Step::NextPage},
      {K::MoveToPreviousPage, K::SelectPreviousPage, Step::PreviousPage},
      {K::MoveToStartOfLine, K::SelectStartOfLine, Step::LineStart},
      {K::MoveToEndOfLine, K::SelectEndOfLine, Step::LineEnd},
      {K::MoveToStartOfBlock, K::SelectStartOfBlock, Step::LineStart},
      {K::MoveToEndOfBlock, K::SelectEndOfBlock, Step::LineEnd},
      {K::MoveToStartOfDocument, K::SelectStartOfDocument, Step::TextStart},
      {K::MoveToEndOfDocument, K::SelectEndOfDocument, Step::TextEnd},
  };
  if (event == K::Copy) {
    Copy();
    event->accept();
    return;
  }
  if (event == K::SelectAll) {
    SelectAll();
    event->accept();
    return;
  }
  for (const KeyStep& s : kSteps) {
    if (event == s.move || event == s.select) {
      Move(s.step, event == s.select);
      event->accept();
      return;
    }
  }
  QAbstractScrollArea::keyPressEvent(event);
}

// ---------------------------------------------------------------------------
// The mouse

std::pair<std::size_t, std::size_t> ReportTextView::WordAt(std::size_t at) const {
  const int32_t k = LineOf(at);
  const std::size_t start = lineStart_[k], end = LineEnd(k);
  if (start == end) return {start, start};
  const int c = static_cast<int>(std::min(at, end - 1) - start);
  const QString line = LineText(k);
  QTextBoundaryFinder finder(QTextBoundaryFinder::Word, line);
  finder.setPosition(c);
  const qsizetype from = finder.isAtBoundary() ? c : finder.toPreviousBoundary();
  finder.setPosition(c);
  const qsizetype to = finder.toNextBoundary();
  return {start + static_cast<std::size_t>(std::max<qsizetype>(0, from)),
          to < 0 ? end : start + static_cast<std::size_t>(to)};
}

void ReportTextView::StartDrag(const QPoint& point, bool byWords, bool extend) {
  const std::size_t oldAnchor = anchor_, oldCursor = cursor_;
  dragging_ = true;
  byWords_ = byWords;
  dragPoint_ = point;
  wantedX_ = -1;
  if (byWords) {
    dragWord_ = WordAt(HitTest(point, QTextLine::CursorOnCharacter));
    anchor_ = dragWord_.first;
    cursor_ = dragWord_.second;
  } else {
    cursor_ = ValidPosition(PositionAt(point));
    if (!extend) anchor_ = cursor_;
  }
  SelectionChanged(oldAnchor, oldCursor);
}

void ReportTextView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QAbstractScrollArea::mousePressEvent(event);
    return;
  }
  StartDrag(event->position().toPoint(), false, event->modifiers() & Qt::ShiftModifier);
}

void ReportTextView::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QAbstractScrollArea::mouseDoubleClickEvent(event);
    return;
  }
  StartDrag(event->position().toPoint(), true, false);
}

void ReportTextView::DragTo(const QPoint& point) {
  const std::size_t oldAnchor = anchor_, oldCursor = cursor_;
  const std::size_t at = ValidPosition(PositionAt(point));
  if (!byWords_) {
    cursor_ = at;
  } else if (at < dragWord_.first) {
    anchor_ = dragWord_.second;
    cursor_ = WordAt(at).first;
  } else if (at > dragWord_.second) {
    anchor_ = dragWord_.first;
    cursor_ = WordAt(at - 1).second;
  } else {
    anchor_ = dragWord_.first;
    cursor_ = dragWord_.second;
  }
  if (anchor_ != oldAnchor || cursor_ != oldCursor) SelectionChanged(oldAnchor, oldCursor);
}

void ReportTextView::mouseMoveEvent(QMouseEvent* event) {
  if (!dragging_ || !(event->buttons() & Qt::LeftButton)) return;
  dragPoint_ = event->position().toPoint();
  DragTo(dragPoint_);
  // Past an edge the view scrolls on its own while the button is held.
  if (viewport()->rect().contains(dragPoint_)) {
    autoScroll_.stop();
  } else if (!autoScroll_.isActive()) {
    autoScroll_.start(100, this);
  }
}

void ReportTextView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QAbstractScrollArea::mouseReleaseEvent(event);
    return;
  }
  dragging_ = false;
  autoScroll_.stop();
  CopyToSelectionClipboard();
}

void ReportTextView::timerEvent(QTimerEvent* event) {
  if (event->timerId() == blink_.timerId()) {
    caretShown_ = !caretShown_;
    viewport()->update();
    return;
  }
  if (event->timerId() != autoScroll_.timerId()) {
    QAbstractScrollArea::timerEvent(event);
    return;
  }
  // One step a tick, the ticks the faster the farther the pointer is out.
  const QRect visible = viewport()->rect();
  const QPoint p = dragPoint_;
  const int outY = std::max(p.y() - visible.top(), visible.bottom() - p.y()) - visible.height();
  const int outX = std::max(p.x() - visible.left(), visible.right() - p.x()) - visible.width();
  const int out = std::max(outX, outY);
  if (!dragging_ || out < 0) {
    autoScroll_.stop();
    return;
  }
  const int distance = std::max(out, 7);
  autoScroll_.start(4900 / (distance * distance), this);
  if (outY > 0) {
    verticalScrollBar()->triggerAction(p.y() < visible.center().y()
                                           ? QAbstractSlider::SliderSingleStepSub
                                           : QAbstractSlider::SliderSingleStepAdd);
  }
  if (outX > 0) {
    horizontalScrollBar()->triggerAction(p.x() < visible.center().x()
                                             ? QAbstractSlider::SliderSingleStepSub
                                             : QAbstractSlider::SliderSingleStepAdd);
  }
  DragTo(p);
}

void ReportTextView::contextMenuEvent(QContextMenuEvent* event) {
  // The toolkit's own captions of a text box's menu, in the user's language.
  QMenu menu(this);
  QAction* copy = menu.addAction(
      QCoreApplication::translate("QWidgetTextControl", "&Copy") + u'\t' +
          QKeySequence(QKeySequence::Copy).toString(QKeySequence::NativeText),
      this, &ReportTextView::Copy);
  copy->setEnabled(anchor_ != cursor_);
  menu.addSeparator();
  menu.addAction(QCoreApplication::translate("QWidgetTextControl", "Select All") + u'\t' +
                     QKeySequence(QKeySequence::SelectAll).toString(QKeySequence::NativeText),
                 this, &ReportTextView::SelectAll);
  menu.exec(event->globalPos());
}

}  // namespace dovetam
