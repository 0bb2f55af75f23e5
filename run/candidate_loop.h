// The part shared by the rename run and the restore: the state of one
// operation (its log writer and indexes) and the per-object steps both use:
// the candidate loop that turns a wanted name into a free final name by
// numbering and by evacuating later targets that hold it, the evacuation
// itself, MakeTemporaryName, the renames with their index updates
// (UpdatePathsUnderFolder included), and the error entries.
//
// The loop gives exactly the results of trying every candidate in turn, but
// it does not walk again over numbers that earlier objects of the same folder
// and the same wanted name already found blocked for good: a candidate held
// by an earlier target (which keeps its name for the rest of the operation)
// or, in whole-name mode, by an entry on disk that no target bears (nothing
// of the operation can free it). Such a run of blocked numbers is kept as a
// hint per folder and candidate sequence; an object skips it unless its own
// name is one of the skipped candidates (the whole-name mode accepts its own
// name before anything else). So n objects given one name cost O(n log n)
// instead of O(n^2). Cost per object otherwise: O(log n) per candidate tried
// plus one rename per evacuation; no system call but the renames once the
// folder is listed.
#pragma once

#include <cstdint>
#include <string>

#include "run/name_candidates.h"
#include "run/name_index.h"
#include "run/run_environment.h"
#include "run/run_journal.h"

namespace dovetam {

enum class LoopEnd { Accepted, SystemError, Aborted };

struct LoopResult {
  LoopEnd end = LoopEnd::Accepted;
  std::u16string candidate;  // the accepted candidate
  bool tentative = false;    // an evacuation failed on the way
  bool outOfRange = false;   // system error: the numbers ran out (else: lookup failed)
};

class RenameOperation {
 public:
  RenameOperation(RunEnvironment& env, JournalKind kind, bool baseMode);

  RunEnvironment& env;
  JournalKind kind;
  bool baseMode;
  JournalWriter log;
  NameIndex index;

  // Object line of target i by its state.
  void WriteObjectLine(int32_t i);
  // folder & ObjOrigName when the state is not 0, else folder & ObjName.
  std::u16string EarlierPath(int32_t i) const;
  // Error entry, state entry, error count + 1.
  void ErrorEntry(int32_t i, std::u16string_view newName, std::u16string_view status);
  // Skip line "スキップ(中断)" and the error entry "中断".
  void SkipAborted(int32_t i);
  // Skip line with a system-error word and its error entry.
  void SystemError(int32_t i, std::u16string_view word);

  // The candidate loop for target i at position p.
  LoopResult Resolve(int32_t p, int32_t i, const CandidateSequence& seq);
  // The candidate loop for target i and, unless the accepted candidate is its
  // current name, the rename on disk, every step logged. `nameWord` names the
  // wanted name in system errors ("変更名", "復元名"); `startWord` marks the
  // start of the rename in the log ("変更開始", "復元開始"). false: the target
  // ended in an error or a skip, already logged and entered. true: r holds the
  // accepted candidate, which the target now bears on disk (ObjName unchanged).
  bool ResolveAndRename(int32_t p, int32_t i, const CandidateSequence& seq,
                        std::u16string_view nameWord, std::u16string_view startWord,
                        LoopResult& r);
  // Renames target i on disk to `name` (ObjName unchanged yet); on success
  // rewrites the folders inside a renamed folder. Returns the error number.
  int RenameOnDisk(int32_t i, const std::u16string& name);
  // ObjName(i) = name, keeping the indexes in step.
  void SetName(int32_t i, const std::u16string& name);
  // A name in `folder` that no entry bears and that is not exactly `avoid`;
  // "" when none can be found.
  std::u16string MakeTemporaryName(const std::u16string& folder, const std::u16string& name,
                                   const std::u16string& avoid);

 private:
  enum class EvacEnd { Done, Failed, Aborted };
  EvacEnd Evacuate(int32_t k);
};

// The result message of a run or restore: the counts of the journal, with
// `verb` "変更" or "復元"; the critical icon when any object failed.
void ShowOperationResult(RunEnvironment& env, std::u16string_view verb);

// Status word of a failed rename by its error number.
std::u16string_view RenameErrorStatus(int err);

}  // namespace dovetam
