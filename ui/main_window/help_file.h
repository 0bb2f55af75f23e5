// The help: an HTML page beside the program ("dovetam_help.html"), opened in
// the desktop's browser at the anchor of a help context ("#12", "#60"; 0 is
// the default topic, without an anchor). Without the page nothing happens.
#pragma once

#include <string>

#include "platform/launcher.h"

namespace dovetam {

void OpenHelp(const std::u16string& helpPath, Launcher& launcher, int context);

}  // namespace dovetam
