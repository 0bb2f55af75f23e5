// The main window's mouse pointer (the default one or the hourglass) and its
// yield to pending events, which the fills of the lists and the long
// commands of both pages share. The hourglass is shown once however often it
// is asked for, and ShowNormalPointer takes it away entirely.
#pragma once

class QWidget;

namespace dovetam {

class FormPointer {
 public:
  explicit FormPointer(QWidget* window) : window_(window) {}

  void ShowHourglass();
  void ShowNormalPointer();
  // YieldWithFormDisabled: disables the window, lets the platform process
  // every pending event, and enables it again. The control that had the
  // keyboard focus gets it back, unless something else took it meanwhile
  // or the control can no longer have it.
  void YieldWithFormDisabled();

 private:
  QWidget* window_;
  int hourglassDepth_ = 0;
};

}  // namespace dovetam
