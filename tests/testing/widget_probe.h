// The one way window tests reach the controls of a window: by the control's
// name, which every window gives its widgets as their object name ("txtRule1",
// "lvwSelect"; a control of an array carries its index, "cmdCommandExit(2)").
// The windows keep their widgets private; a test presses, types and reads
// them through here as a user would, and a name that a window does not have
// ends the test program at once with the name, since the test itself is wrong.
#pragma once

#include <QString>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <typeinfo>

namespace dovetam::testing {

// The control called `name` among the children of `root` (any depth).
template <typename W = QWidget>
W& Control(const QWidget& root, const QString& name) {
  W* found = root.findChild<W*>(name);
  if (found == nullptr) {
    std::fprintf(stderr, "widget probe: no %s named \"%s\" in %s\n", typeid(W).name(),
                 name.toUtf8().constData(), root.metaObject()->className());
    std::abort();
  }
  return *found;
}

// Element `index` of the control array `name`.
template <typename W = QWidget>
W& Control(const QWidget& root, const QString& name, int index) {
  return Control<W>(root, name + QLatin1Char('(') + QString::number(index) + QLatin1Char(')'));
}

}  // namespace dovetam::testing
