#include "ui/widgets/controls.h"

#include <QLabel>
#include <QPushButton>

#include "ui/widgets/twips.h"

namespace dovetam {

QString ArrayControlName(const QString& name, int index) {
  return name + QLatin1Char('(') + QString::number(index) + QLatin1Char(')');
}

QPushButton* MakeButton(QWidget* parent, const QString& name, const QString& caption,
                        const QString& tooltip, int left, int top, int width, int height) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(name);
  if (!tooltip.isEmpty()) button->setToolTip(tooltip);
  PlaceTwips(button, left, top, width, height);
  return button;
}

QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& text, int left, int top,
                  int width, int height) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  label->setTextFormat(Qt::PlainText);
  PlaceTwips(label, left, top, width, height);
  return label;
}

}  // namespace dovetam
