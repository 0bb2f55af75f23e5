// The opening and the closing of a rename run, re-run or restore, the same
// for all three but for their words: what happens after the confirmation
// and before the first target, and after the last one; and the edge of the
// operation, where memory running out stops it.
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
//
// Memory. Whatever runs out of memory in the operation (the log text, a
// report list, the indexes, the work of the rename thread, the rule engine:
// std::bad_alloc, core/common/memory_short.h) stops it once, here, wherever
// it happens; nothing inside catches it (the rule engine lets it through
// during an operation, change_rule.h). The parts of the operation have put
// into the table every rename made as it was made, and written its record
// before it (target_steps.h), and put back what they had taken ahead as
// they are left (overlapped_renames.h); the journal holds whole lines
// (run_journal.h). So the tables hold what is on disk, and the log file
// every rename made with its outcome, the count and the report each of
// them. A rename whose announcing line is in the log but that the stop kept
// from being made gets the outcome line "中断", and its object the skip line
// "スキップ(中断)" and the error entry "中断", as when the user chooses to
// stop after a log failure; the targets after it get no lines. Before the
// header line nothing has changed: the pointer comes back and
// "メモリ不足のため、処理を実行できませんでした。" says so. After it the
// operation closes as after its last target, each step of the closing
// taken also when one before it ran short (the footer and the lines of the
// stopped rename straight to the file when the log text has no room for
// them; the report, or "(レポートはありません。)" in the window when it does
// not fit, and its file written from the journal in pieces; ChangeState, so
// that the restore is offered; the order list), and the message
// "メモリ不足のため、" / "処理を最後まで実行できませんでした。" with the counts
// of the result message takes the place of that message. When every target
// was done and only a step of the closing ran short, the result message
// stands, with what could not be done after it ("メモリ不足のため、
// レポートを表示できませんでした。", ...).
#pragma once

#include "core/common/memory_short.h"
#include "core/run/run_environment.h"
#include "core/run/run_journal.h"

namespace dovetam {

// Opens the operation; false when the user chose not to go on without a
// log. `begun` is set once the header line is written.
bool OpenOperation(RunEnvironment& env, JournalKind kind, bool& begun);
// Closes it; memoryShort: its targets were stopped for want of memory.
OperationSummary CloseOperation(RunEnvironment& env, JournalKind kind, bool memoryShort);
// Memory ran out before the header line: nothing was changed.
OperationSummary StoppedBeforeStart(RunEnvironment& env);

// Opens the operation, hands its targets to `targets()` and closes it.
template <typename Targets>
OperationSummary RunOperation(RunEnvironment& env, JournalKind kind, Targets&& targets) {
  bool begun = false;
  bool opened = false;
  const bool enough = MemoryAllows([&] {
    opened = OpenOperation(env, kind, begun);
    if (opened) targets();
  });
  if (!begun) return enough ? OperationSummary{} : StoppedBeforeStart(env);
  return CloseOperation(env, kind, !enough);
}

}  // namespace dovetam
