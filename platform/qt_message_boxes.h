// Message boxes shown with QMessageBox, titled with the program's caption.
#pragma once

#include "platform/message_boxes.h"

class QWidget;

namespace dovetam {

class QtMessageBoxes : public MessageBoxes {
 public:
  // parent: the window the boxes are modal to (may be null).
  explicit QtMessageBoxes(QWidget* parent = nullptr) : parent_(parent) {}
  void SetParent(QWidget* parent) { parent_ = parent; }

  MsgAnswer Show(std::u16string_view text, MsgIcon icon, MsgButtons buttons = MsgButtons::Ok,
                 MsgAnswer defaultButton = MsgAnswer::Ok) override;

 private:
  QWidget* parent_;
};

}  // namespace dovetam
