// "全表示" of the report window: starts the report viewer (the setting
// repopenapp) on the saved report file, with the report path as its one
// argument and no shell, or says why it cannot: also later, when the viewer
// ends reporting that it failed. `boxes` must outlive the launcher's posts
// (the window that owns them lives until the event loop has ended).
#pragma once

#include <string>

#include "platform/launcher.h"
#include "platform/message_boxes.h"

namespace dovetam {

void OpenReportViewer(bool reportSaved, const std::u16string& reportPath,
                      const std::u16string& viewer, Launcher& launcher, MessageBoxes& boxes);

}  // namespace dovetam
