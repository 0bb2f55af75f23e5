#include "ui/main_window/help_key.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QWidget>

namespace dovetam {

HelpKey::HelpKey(std::function<void(QWidget*)> openHelp, QObject* parent)
    : QObject(parent), openHelp_(std::move(openHelp)) {
  qApp->installEventFilter(this);
}

bool HelpKey::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  auto* key = static_cast<QKeyEvent*>(event);
  constexpr Qt::KeyboardModifiers held = Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier;
  if (key->key() != Qt::Key_F1 || (key->modifiers() & held)) return false;
  auto* widget = qobject_cast<QWidget*>(watched);
  if (widget == nullptr || qobject_cast<QMessageBox*>(widget->window())) return false;
  openHelp_(QApplication::focusWidget());
  return true;
}

}  // namespace dovetam
