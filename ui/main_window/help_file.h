// The help: an HTML page beside the program ("dovetam_help.html"), opened in
// the desktop's browser at the anchor of a help context ("#12", "#60"; 0 is
// the default topic, without an anchor). Without the page nothing happens.
// When the browser cannot be started, or starts and reports that it could not
// show the page, "ヘルプ(…)を表示できませんでした。" stands over the window that
// asked (over the main window once that window is gone).
#pragma once

#include <string>

#include "platform/launcher.h"
#include "platform/message_boxes.h"

class QWidget;

namespace dovetam {

// `boxes` are the program's own, which live as long as the launcher.
void OpenHelp(const std::u16string& helpPath, Launcher& launcher, MessageBoxes& boxes,
              QWidget* asking, int context);

}  // namespace dovetam
