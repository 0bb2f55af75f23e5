// The report's text box: see report_text_view.h.
#include "run/report_text_view.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QTextLayout>
#include <algorithm>

namespace dovetam {

namespace {
constexpr qreal kTabStop = 80;  // pixels, as the text boxes of the toolkit
constexpr int kNoWrap = 1 << 24;

// A line ends at LF, at CR LF (at its LF) and at a lone CR.
bool EndsLine(const std::u16string& text, std::size_t at) {
  return text[at] == u'\n' ||
         (text[at] == u'\r' && (at + 1 == text.size() || text[at + 1] != u'\n'));
}
}  // namespace

ReportTextView::ReportTextView(QWidget* parent) : QAbstractScrollArea(parent) {
  setFocusPolicy(Qt::StrongFocus);
  viewport()->setBackgroundRole(QPalette::Base);
  viewport()->setAutoFillBackground(true);
  viewport()->setCursor(Qt::IBeamCursor);
  lineStart_ = {0};
}

void ReportTextView::SetText(std::u16string text) {
  text_ = std::move(text);
  std::vector<uint32_t>().swap(lineStart_);
  const QFontMetrics fm(font());
  const int narrow = fm.averageCharWidth(), wide = fm.horizontalAdvance(QChar(0x3042));
  std::size_t lines = 1;
  for (std::size_t at = 0; at < text_.size(); ++at) lines += EndsLine(text_, at);
  lineStart_.reserve(lines + 1);
  lineStart_.push_back(0);
  // An estimate of the widest line, raised by the lines painted.
  widestLine_ = 0;
  int width = 0;
  for (std::size_t at = 0; at < text_.size(); ++at) {
    const char16_t c = text_[at];
    if (EndsLine(text_, at)) {
      lineStart_.push_back(static_cast<uint32_t>(at + 1));
      widestLine_ = std::max(widestLine_, width);
      width = 0;
    } else if (c == u'\t') {
      width += static_cast<int>(kTabStop);
    } else if (c != u'\r' && (c < 0xDC00 || c > 0xDFFF)) {
      width += c < 0x2E80 ? narrow : wide;
    }
  }
  widestLine_ = std::max(widestLine_, width);
  lineStart_.push_back(static_cast<uint32_t>(text_.size()));
  anchor_ = cursor_ = 0;
  UpdateScrollBars();
  verticalScrollBar()->setValue(0);
  horizontalScrollBar()->setValue(0);
  viewport()->update();
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
  const std::size_t start = lineStart_[k];
  return QString::fromUtf16(text_.data() + start, static_cast<qsizetype>(LineEnd(k) - start));
}

int ReportTextView::LineHeight() const { return std::max(1, fontMetrics().lineSpacing()); }

int ReportTextView::Margin() const { return 4; }

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
  if (line.isValid()) line.setLineWidth(kNoWrap);
  layout.endLayout();
}

void ReportTextView::UpdateScrollBars() {
  const int pageLines = std::max(1, viewport()->height() / LineHeight());
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
  const int h = LineHeight();
  const int first = verticalScrollBar()->value();
  const int last = std::min(LineCount() - 1, first + viewport()->height() / h + 1);
  const qreal left = Margin() - horizontalScrollBar()->value();
  const std::size_t selFrom = std::min(anchor_, cursor_), selTo = std::max(anchor_, cursor_);
  int widest = 0;
  for (int32_t k = first; k <= last; ++k) {
    QTextLayout layout;
    LayOut(k, layout);
    QList<QTextLayout::FormatRange> selection;
    const std::size_t start = lineStart_[k], end = LineEnd(k);
    if (selFrom < selTo && selFrom <= end && selTo > start) {
      QTextLayout::FormatRange range;
      range.start = static_cast<int>(std::max(selFrom, start) - start);
      range.length = static_cast<int>(std::min(selTo, end) - start) - range.start;
      range.format.setBackground(palette().brush(QPalette::Highlight));
      range.format.setForeground(palette().brush(QPalette::HighlightedText));
      selection.push_back(range);
    }
    layout.draw(&painter, QPointF(left, (k - first) * h), selection);
    widest = std::max(widest, static_cast<int>(layout.lineAt(0).naturalTextWidth()) + 1);
  }
  NoteWidth(widest);
}

void ReportTextView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  UpdateScrollBars();
}

void ReportTextView::changeEvent(QEvent* event) {
  QAbstractScrollArea::changeEvent(event);
  if (event->type() == QEvent::FontChange) UpdateScrollBars();
}

std::size_t ReportTextView::PositionAt(const QPoint& point) const {
  const int32_t k = std::clamp(verticalScrollBar()->value() + point.y() / LineHeight(), 0,
                               LineCount() - 1);
  QTextLayout layout;
  LayOut(k, layout);
  const qreal x = point.x() - Margin() + horizontalScrollBar()->value();
  return lineStart_[k] + static_cast<std::size_t>(std::max(0, layout.lineAt(0).xToCursor(x)));
}

void ReportTextView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QAbstractScrollArea::mousePressEvent(event);
    return;
  }
  cursor_ = PositionAt(event->position().toPoint());
  if (!(event->modifiers() & Qt::ShiftModifier)) anchor_ = cursor_;
  viewport()->update();
}

void ReportTextView::mouseMoveEvent(QMouseEvent* event) {
  if (!(event->buttons() & Qt::LeftButton)) return;
  const QPoint p = event->position().toPoint();
  // Dragging past an edge scrolls that way.
  if (p.y() < 0) verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
  if (p.y() > viewport()->height()) {
    verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  }
  if (p.x() < 0) horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
  if (p.x() > viewport()->width()) {
    horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  }
  cursor_ = PositionAt(p);
  viewport()->update();
}

void ReportTextView::SelectAll() {
  anchor_ = 0;
  cursor_ = text_.size();
  viewport()->update();
}

QString ReportTextView::SelectedText() const {
  const std::size_t from = std::min(anchor_, cursor_), to = std::max(anchor_, cursor_);
  QString s = QString::fromUtf16(text_.data() + from, static_cast<qsizetype>(to - from));
  s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  s.replace(QChar(u'\r'), QChar(u'\n'));
  return s;
}

void ReportTextView::Copy() const {
  if (anchor_ != cursor_) QGuiApplication::clipboard()->setText(SelectedText());
}

void ReportTextView::keyPressEvent(QKeyEvent* event) {
  if (event == QKeySequence::Copy) {
    Copy();
  } else if (event == QKeySequence::SelectAll) {
    SelectAll();
  } else if (event == QKeySequence::MoveToStartOfDocument) {
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
  } else if (event == QKeySequence::MoveToEndOfDocument) {
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
  } else {
    QAbstractScrollArea::keyPressEvent(event);
    return;
  }
  event->accept();
}

void ReportTextView::contextMenuEvent(QContextMenuEvent* event) {
  // The toolkit's own captions of a text box's menu, in the user's language.
  QMenu menu(this);
  QAction* copy = menu.addAction(QCoreApplication::translate("QWidgetTextControl", "&Copy"),
                                 this, &ReportTextView::Copy);
  copy->setEnabled(anchor_ != cursor_);
  menu.addSeparator();
  menu.addAction(QCoreApplication::translate("QWidgetTextControl", "Select All"), this,
                 &ReportTextView::SelectAll);
  menu.exec(event->globalPos());
}

}  // namespace dovetam
