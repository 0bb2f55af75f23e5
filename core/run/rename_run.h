// The rename run ("名前変更", index 1) and the re-run ("名前再変更", index 2):
// refusals, confirmation, the log, every target in the order of OrderIndex
// through the rule and the candidate loop, the renames, the report, and the
// result message. The body of cmdRuleExecute_Click without its window.
//
// Safety: every rename goes through FileSystem::Rename, which never replaces
// an existing object; a generated name that could leave the folder or could
// not be written back ("/", NUL, ".", "..", an unpaired surrogate) is a
// generated-name error and never reaches the disk. The log line announcing a
// rename is in the log file before the rename is done.
//
// Cost: O(n log n) for n targets plus one rename per target and per
// evacuation, one listing per folder that needs an existence test, and one
// write to the log file per rename (its announcing line with the lines
// before it) and at the end.
#pragma once

#include "core/run/run_environment.h"

namespace dovetam {

OperationSummary ExecuteRenameRun(RunEnvironment& env, int index);

}  // namespace dovetam
