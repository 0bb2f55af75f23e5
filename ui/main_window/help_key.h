// F1 in any window of the program opens the help: at the topic of the
// focused control in the main window, at the default topic elsewhere. Message
// boxes have no help.
#pragma once

#include <QObject>
#include <functional>

class QWidget;

namespace dovetam {

class HelpKey : public QObject {
 public:
  // `openHelp` gets the control that has the keyboard focus.
  HelpKey(std::function<void(QWidget* focused)> openHelp, QObject* parent);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::function<void(QWidget*)> openHelp_;
};

}  // namespace dovetam
