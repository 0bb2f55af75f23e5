// What the program reaches outside itself. The program passes the real
// implementations; tests pass fakes.
#pragma once

#include <string>
#include <vector>

#include "platform/capacities.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/launcher.h"
#include "platform/message_boxes.h"
#include "platform/settings_store.h"

namespace dovetam {

struct Services {
  FileSystem& fs;
  SettingsStore& store;
  MessageBoxes& boxes;
  Launcher& launcher;
  Clock& clock;
  Capacities caps;
  std::u16string programFolder;          // ends in "/"
  std::vector<std::u16string> arguments;  // command-line paths, one each
  // Whether fs takes calls from two threads at once, so that a rename run
  // may hand its renames to a second thread. Decided here, where the file
  // system is chosen; one thread unless its maker says so.
  bool renameThread = false;
};

}  // namespace dovetam
