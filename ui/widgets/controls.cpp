// The builder of named controls at twips (see controls.h).
#include "ui/widgets/controls.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>

namespace dovetam {

QString ArrayControlName(const QString& name, int index) {
  return name + QLatin1Char('(') + QString::number(index) + QLatin1Char(')');
}

QPushButton* MakeButton(QWidget* parent, const QString& name, const QString& caption,
                        const QString& tooltip, int left, int top, int width, int height) {
  auto* button = new QPushButton(caption, parent);
  if (!tooltip.isEmpty()) button->setToolTip(tooltip);
  return PlaceControl(button, name, left, top, width, height);
}

QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& text, int left, int top,
                  int width, int height) {
  auto* label = new QLabel(text, parent);
  label->setTextFormat(Qt::PlainText);
  return PlaceControl(label, name, left, top, width, height);
}

void SetTabOrder(const std::vector<QWidget*>& chain) {
  for (std::size_t i = 1; i < chain.size(); ++i) QWidget::setTabOrder(chain[i - 1], chain[i]);
}

namespace {

// The group's one Tab stop on its selected button, or on its first.
void PlaceTabStop(const std::vector<QRadioButton*>& group) {
  QRadioButton* stop = group.front();
  for (QRadioButton* b : group)
    if (b->isChecked()) stop = b;
  for (QRadioButton* b : group) b->setFocusPolicy(b == stop ? Qt::StrongFocus : Qt::ClickFocus);
}

}  // namespace

// Qt moves the focus within a group of buttons by the arrows whatever their
// policy, and selects the button it moves to when the one it leaves is the
// selected one, as the Tab stop is.
void TabEntersAtTheSelectedOption(const std::vector<QRadioButton*>& group) {
  if (group.empty()) return;
  PlaceTabStop(group);
  for (QRadioButton* b : group)
    QObject::connect(b, &QRadioButton::toggled, b, [group] { PlaceTabStop(group); });
}

}  // namespace dovetam
