// The record of the last run: the log file and its in-memory copy, and the
// report lists. Filled in by the run, the re-run and the restore.
#pragma once

#include <memory>
#include <string>

#include "platform/file_system.h"

namespace dovetam {

struct RunJournal {
  std::u16string LogPath;
  std::unique_ptr<TextFile> LogStream;
  std::u16string LogText;
};

}  // namespace dovetam
