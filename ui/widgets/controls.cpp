// The builder of named controls at twips (see controls.h).
#include "ui/widgets/controls.h"

#include <QLabel>
#include <QPushButton>
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

}  // namespace dovetam
