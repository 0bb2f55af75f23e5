// The restore ("元に戻す"): every target goes back to its name before the last
// rename run, in the order of that run, with the candidate loop of the run
// (whole names, numbering after the name before the run, evacuation of later
// targets that hold it), logged and reported like the run. The body of
// cmdRuleUndo_Click without its window. ChangeState is left as it is.
//
// Cost: as the rename run, O(n log n) plus one rename per target and per
// evacuation.
#pragma once

#include "core/run/run_environment.h"

namespace dovetam {

OperationSummary RestoreNames(RunEnvironment& env);

}  // namespace dovetam
