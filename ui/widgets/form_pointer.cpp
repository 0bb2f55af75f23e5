// The main window's pointer and yield (see form_pointer.h).
#include "ui/widgets/form_pointer.h"

#include <QApplication>
#include <QPointer>
#include <QWidget>

namespace dovetam {

void FormPointer::ShowHourglass() {
  if (hourglassDepth_++ == 0) QApplication::setOverrideCursor(Qt::WaitCursor);
}

void FormPointer::ShowNormalPointer() {
  while (hourglassDepth_ > 0) {
    QApplication::restoreOverrideCursor();
    --hourglassDepth_;
  }
}

// Disabling the window takes the keyboard focus from the control that has it,
// and enabling it again does not give it back: the control gets it back here.
void FormPointer::YieldWithFormDisabled() {
  const QPointer<QWidget> focused = window_->focusWidget();
  window_->setEnabled(false);
  QApplication::processEvents();
  window_->setEnabled(true);
  if (focused && window_->focusWidget() == nullptr && focused->isVisible() &&
      focused->isEnabled() && focused->focusPolicy() != Qt::NoFocus) {
    focused->setFocus(Qt::OtherFocusReason);
  }
}

}  // namespace dovetam
