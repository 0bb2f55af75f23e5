// The window's part of a command that may not get the memory it needs: the
// lists it refills, its messages, the texts it takes from its controls.
// Memory running out there (std::bad_alloc) would leave the handler through
// Qt's event loop and end the program; here it ends the command with the
// default pointer and "メモリ不足のため、処理を実行できませんでした。", and what
// the core has done stays done. The core's own operations (a run, a restore,
// adding targets, reading a folder) never let it out: they stop themselves
// and say so in their own words.
#pragma once

#include <new>

#include "platform/message_boxes.h"
#include "ui/widgets/form_pointer.h"

namespace dovetam {

template <typename Command>
void MemoryGuarded(MessageBoxes& boxes, FormPointer& pointer, Command&& command) {
  try {
    command();
  } catch (const std::bad_alloc&) {
    pointer.ShowNormalPointer();
    try {
      boxes.Show(u"メモリ不足のため、処理を実行できませんでした。", MsgIcon::Critical);
    } catch (const std::bad_alloc&) {
      // Not even the message: the window goes on as it is.
    }
  }
}

}  // namespace dovetam
