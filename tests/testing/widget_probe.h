// The one way window tests reach the controls of a window: by the control's
// name, which every window gives its widgets as their object name ("txtRule1",
// "lvwSelect"; a control of an array carries its index, "cmdCommandExit(2)";
// a page or a window its own name, "fraDovetem2", "frmDovetemReport").
// The windows keep their widgets private; a test presses, types and reads
// them through here as a user would, and a name that a window does not have
// ends the test program at once with the name, since the test itself is wrong.
#pragma once

#include <QApplication>
#include <QString>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <typeinfo>

#include "ui/widgets/controls.h"

namespace dovetam::testing {

[[noreturn]] inline void NoSuchControl(const char* type, const QString& name, const char* where) {
  std::fprintf(stderr, "widget probe: no %s named \"%s\" in %s\n", type, name.toUtf8().constData(),
               where);
  std::abort();
}

// The control called `name` among the children of `root` (any depth).
template <typename W = QWidget>
W& Control(const QWidget& root, const QString& name) {
  W* found = root.findChild<W*>(name);
  if (found == nullptr) NoSuchControl(typeid(W).name(), name, root.metaObject()->className());
  return *found;
}

// Element `index` of the control array `name`.
template <typename W = QWidget>
W& Control(const QWidget& root, const QString& name, int index) {
  return Control<W>(root, ArrayControlName(name, index));
}

// The window called `name` among the windows of the program that have no
// owner (the report window); there must be exactly one.
template <typename W = QWidget>
W& Window(const QString& name) {
  W* found = nullptr;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    auto* window = qobject_cast<W*>(w);
    if (window == nullptr || window->objectName() != name) continue;
    if (found != nullptr) NoSuchControl(typeid(W).name(), name, "the program (more than one)");
    found = window;
  }
  if (found == nullptr) NoSuchControl(typeid(W).name(), name, "the program");
  return *found;
}

}  // namespace dovetam::testing
