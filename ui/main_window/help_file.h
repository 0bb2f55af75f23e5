// The help: an HTML page beside the program ("dovetam_help.html"), opened in
// the desktop's browser at the anchor of a help context ("#12", "#60"; 0 is
// the default topic, without an anchor). The page is found by the file
// system on the bytes of its path, and the browser is handed the file URL of
// those bytes, so a program folder whose name is not UTF-8 serves as well.
// When the page is not there (also when the program's folder is unknown and
// the path is empty) or cannot be reached, when the browser cannot be
// started, or when it starts and reports that it could not show the page,
// "ヘルプ(…)を表示できませんでした。" stands over the window that asked (over
// the main window once that window is gone).
#pragma once

#include <string>

#include "platform/file_system.h"
#include "platform/launcher.h"
#include "platform/message_boxes.h"

class QWidget;

namespace dovetam {

// `boxes` are the program's own, which live as long as the launcher.
void OpenHelp(const std::u16string& helpPath, FileSystem& fs, Launcher& launcher,
              MessageBoxes& boxes, QWidget* asking, int context);

}  // namespace dovetam
