// The window's part of a command that may not get the memory it needs: the
// lists it refills, its messages, the texts it takes from its controls.
// Memory running out there (std::bad_alloc) would leave the handler through
// Qt's event loop and end the program; here it is caught by the one guard
// (core/common/memory_short.h) and ends the command with the default pointer
// and "メモリ不足のため、処理を実行できませんでした。", and what the core has
// done stays done. The core's own operations (a run, a restore, adding
// targets, reading a folder) never let it out: they stop themselves and say
// so in their own words, from the same table.
#pragma once

#include "core/common/memory_short.h"
#include "platform/message_boxes.h"
#include "ui/widgets/form_pointer.h"

namespace dovetam {

template <typename Command>
void MemoryGuarded(MessageBoxes& boxes, FormPointer& pointer, Command&& command) {
  if (MemoryAllows(command)) return;
  pointer.ShowNormalPointer();
  // Not even the message, perhaps: the window goes on as it is.
  MemoryAllows([&] { boxes.Show(MemoryShortText(MemoryShort::NotDone), MsgIcon::Critical); });
}

}  // namespace dovetam
