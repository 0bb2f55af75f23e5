// Choosing the final name of a target: the candidate loop that turns a
// wanted name into a free name by numbering and by evacuating later targets
// that hold it, the evacuation itself with MakeTemporaryName, and then the
// target's own rename (same name, handed to the rename thread, or made
// here). Used by the rename run and the restore.
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
//
// Every step that may settle the rename thread's results returns what the
// settle said (overlapped_renames.h); a restart ends the target at once.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/run/name_candidates.h"
#include "core/run/overlapped_renames.h"
#include "core/run/target_steps.h"

namespace dovetam {

enum class LoopEnd { Accepted, SystemError, Aborted, Restart };

struct LoopResult {
  LoopEnd end = LoopEnd::Accepted;
  std::u16string candidate;  // the accepted candidate
  bool tentative = false;    // an evacuation failed on the way
  bool outOfRange = false;   // system error: the numbers ran out (else: lookup failed)
  int error = 0;             // system error of a lookup: its error number
  Settled settled;           // Restart: where the run starts again
};

// How the target's candidate loop and rename ended.
enum class TargetEnd {
  Failed,   // an error or a skip, logged and entered
  Renamed,  // it bears the candidate, on disk and in the table, and its
            // record is written (its rename may be on the rename thread)
  Restart,  // a settle found a failure: the run starts again
};

class CandidateLoop {
 public:
  // `restore`: the final name of a target makes it unchanged again (its name
  // before the run) or tentatively restored, instead of changed.
  // `overlapped`: the rename thread's part, nullptr when renames are made
  // here only.
  CandidateLoop(TargetSteps& steps, OverlappedRenames* overlapped, bool baseMode, bool restore);

  // The candidate loop for target i at position p, for the generated name
  // `wanted` (what a target done again after a restart starts from).
  LoopResult Resolve(int32_t p, int32_t i, const CandidateSequence& seq,
                     const std::u16string& wanted);
  // The candidate loop for target i and, unless the accepted candidate is its
  // current name, the rename on disk, every step logged. `nameWord` names the
  // wanted name in system errors ("変更名", "復元名"); `startWord` marks the
  // start of the rename in the log ("変更開始", "復元開始"). r holds the
  // accepted candidate (and the restart position). Whatever the end, the
  // table holds the target's name and state as they are on disk, and the
  // record what was done.
  TargetEnd ResolveAndRename(int32_t p, int32_t i, const CandidateSequence& seq,
                             const std::u16string& wanted, std::u16string_view nameWord,
                             std::u16string_view startWord, LoopResult& r);

 private:
  // A name in `folder` that no entry bears and that is not exactly `avoid`;
  // "" when none can be found. Asks the disk only with no rename pending on
  // the rename thread, or with the folder listed.
  std::u16string MakeTemporaryName(const std::u16string& folder, const std::u16string& name,
                                   const std::u16string& avoid);
  enum class EvacEnd { Done, Failed, Aborted, Restart };
  // Moves later target k aside for the target at position p; `ahead`: the
  // rename may go to the rename thread, taken to succeed.
  EvacEnd Evacuate(int32_t k, int32_t p, bool ahead, const std::u16string& wanted,
                   Settled& settled);
  // The rename of an evacuation, with its announcing line and its record (on
  // the rename thread when `ahead` and it can take it). aborted: the log
  // failed and the user chose to stop before the rename.
  Settled EvacuationRename(int32_t k, int32_t p, const std::u16string& folder,
                           const std::u16string& name, const std::u16string& evac,
                           const std::u16string& wanted, bool ahead, int& err, bool& aborted);

  // What target i becomes with its final name `candidate`.
  TargetChange FinalChange(int32_t i, const std::u16string& candidate, bool tentative) const;
  // Waits for the renames pending on the rename thread (overlapped_renames.h).
  Settled Settle() { return overlapped_ ? overlapped_->Settle() : Settled{}; }

  TargetSteps& steps_;
  OverlappedRenames* overlapped_;
  bool baseMode_;
  bool restore_;
};

}  // namespace dovetam
