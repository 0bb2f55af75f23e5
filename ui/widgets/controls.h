// Building the controls of a window at their designed places. Every window
// and page makes its buttons and labels here: placed in twips (twips.h),
// named with the control's name (a test finds a control by it), a label
// showing its text as plain text.
#pragma once

#include <QString>
#include <string_view>

#include "ui/widgets/twips.h"

class QLabel;
class QPushButton;
class QWidget;

namespace dovetam {

// A text of the core as Qt holds it.
inline QString QtText(std::u16string_view s) {
  return QString::fromUtf16(s.data(), static_cast<qsizetype>(s.size()));
}

// The name of element `index` of a control array: "cmdCommandExit(2)".
QString ArrayControlName(const QString& name, int index);

// A button with its caption and tooltip ("" for none) at left, top, width,
// height (twips) on `parent`.
QPushButton* MakeButton(QWidget* parent, const QString& name, const QString& caption,
                        const QString& tooltip, int left, int top, int width, int height);

// A label showing `text` as plain text at left, top, width, height (twips).
QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& text, int left, int top,
                  int width, int height);

// Any other control of type W (a text box, a check box, an option button, a
// frame, a page) named `name` at left, top, width, height (twips) on
// `parent`; the caller gives it its caption or text.
template <typename W>
W* MakeControl(QWidget* parent, const QString& name, int left, int top, int width, int height) {
  auto* control = new W(parent);
  control->setObjectName(name);
  PlaceTwips(control, left, top, width, height);
  return control;
}

}  // namespace dovetam
