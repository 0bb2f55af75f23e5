// Building the controls of a window at their designed places. Every window
// and page makes its controls here: placed in twips (twips.h), named with the
// control's name (a test finds a control by it), a label showing its text as
// plain text; and every page writes its order of Tab in one SetTabOrder call.
#pragma once

#include <QString>
#include <initializer_list>
#include <string_view>
#include <vector>

#include "ui/widgets/twips.h"

class QLabel;
class QPushButton;
class QRadioButton;
class QWidget;

namespace dovetam {

// A text of the core as Qt holds it.
inline QString QtText(std::u16string_view s) {
  return QString::fromUtf16(s.data(), static_cast<qsizetype>(s.size()));
}

// The name of element `index` of a control array: "cmdCommandExit(2)".
QString ArrayControlName(const QString& name, int index);

// Names `control` and places it at left, top, width, height (twips) within
// its parent; returns it.
template <typename W>
W* PlaceControl(W* control, const QString& name, int left, int top, int width, int height) {
  control->setObjectName(name);
  PlaceTwips(control, left, top, width, height);
  return control;
}

// A button with its caption and tooltip ("" for none) at left, top, width,
// height (twips) on `parent`.
QPushButton* MakeButton(QWidget* parent, const QString& name, const QString& caption,
                        const QString& tooltip, int left, int top, int width, int height);

// A label showing `text` as plain text at left, top, width, height (twips).
QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& text, int left, int top,
                  int width, int height);

// Tab goes from each control of `chain` to the next, the last back to the
// first of the visible ones of the window.
void SetTabOrder(const std::vector<QWidget*>& chain);

// The keyboard of an option group, as on a desktop: the group is one stop of
// Tab and Shift+Tab, which enter it at its selected button (at its first
// while none is selected), and from the selected button the arrows select as
// they move. Only that button takes the focus by Tab, from then on, whichever
// becomes the selected one; each button still takes it by a click.
void TabEntersAtTheSelectedOption(const std::vector<QRadioButton*>& group);

}  // namespace dovetam
