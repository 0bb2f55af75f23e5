// The opening and the closing of a rename run, re-run or restore, the same
// for all three but for their words: what happens after the confirmation
// and before the first target, and after the last one.
//
// Opening: the hourglass; the log created (rename run) or opened for
// appending (re-run, restore) when the log mode is on, and when that fails
// the question whether to go on without it (No: the pointer comes back and
// nothing has changed); the rename run's own reset of every target to its
// present name (ObjOrigName empty, state 0); AbortRequested cleared, the
// counters 0, the log text and the report lists emptied, and the header
// line written.
//
// Closing: the footer line and the log closed; the report shown in the
// report window and saved as the report file (report mode); for the rename
// run ChangeState 3 and the rule boxes remembered; ListStale; the order list
// rebuilt (which puts the default pointer back); the result message with the
// counts. The counts are returned.
#pragma once

#include "core/run/run_environment.h"
#include "core/run/run_journal.h"

namespace dovetam {

// False when the user chose not to go on without a log.
bool OpenOperation(RunEnvironment& env, JournalKind kind);
OperationSummary CloseOperation(RunEnvironment& env, JournalKind kind);

}  // namespace dovetam
