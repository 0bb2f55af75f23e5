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
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/run/name_candidates.h"
#include "core/run/name_index.h"
#include "core/run/rename_worker.h"
#include "core/run/run_environment.h"
#include "core/run/run_journal.h"

namespace dovetam {

enum class LoopEnd { Accepted, SystemError, Aborted };

struct LoopResult {
  LoopEnd end = LoopEnd::Accepted;
  std::u16string candidate;  // the accepted candidate
  bool tentative = false;    // an evacuation failed on the way
  bool outOfRange = false;   // system error: the numbers ran out (else: lookup failed)
  bool handedOver = false;   // the rename went to the rename thread (see OverlapRenames)
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

  // Overlapped renames. Once turned on, the final rename of a file target
  // whose folder is listed and known by one text (whole-name mode) goes, with
  // the log text that announces it, to a second thread (rename_worker.h),
  // and the operation goes on with the next targets while it takes place,
  // taking it to succeed: its outcome line "正常終了" and the steps after it
  // (`finish`: ObjName, state, report entry, counters; the indexes) are taken
  // at once, with what they changed kept. So does the first evacuation of a
  // file that the candidate loop of a target makes (its outcome line, the
  // evacuated target's name and state). Everything else the operation does
  // to its tables, the disk or the user first waits for every pending rename
  // (Settle). When a pending rename or its write failed, the jobs after it
  // were never started: Settle takes back the steps of it and of every job
  // after it, forgets the numbering hints, cuts the log text back to that
  // rename's announcing line and throws Restart. A final rename's failure
  // steps are taken first, as the renames in turn would have taken them, and
  // the caller goes on after that target's position; after an evacuation the
  // caller does that target again from its candidate loop (ResumesAt), which
  // meets the same evacuation and takes its failure from there. The targets
  // done again had so far changed nothing but what was taken back.
  using FinishStep = std::function<void(int32_t i, const std::u16string& name, bool tentative)>;
  struct Restart {
    int32_t position;    // of the target whose rename or evacuation failed
    bool again = false;  // that target is done again from its candidate loop
  };
  void OverlapRenames(FinishStep finish);
  void Settle();
  // Settles when a pending rename gives up or takes `upperName` (before the
  // path of an entry of that name is read).
  void Guard(const std::u16string& upperName);
  // The generated name of the target in the candidate loop, kept for a
  // Restart::again.
  std::u16string wanted;
  // After a Restart::again at position p: true, with the generated name of
  // that target (its object line is in the log already).
  bool ResumesAt(int32_t p, std::u16string& name);
  // Dates of target i that the rule read through the path while renames
  // were pending (0: none), so that a target done again after a Restart
  // does not read them a second time.
  void DatesRead(int32_t i, Date modified, Date created);
  void KnownDates(int32_t i, Date& modified, Date& created) const;

 private:
  enum class EvacEnd { Done, Failed, Aborted };
  // Moves later target k aside for the target at position p; `ahead`: the
  // rename may go to the rename thread, taken to succeed.
  EvacEnd Evacuate(int32_t k, int32_t p, bool ahead);
  // The steps after the announcing line of a rename to `name` made here.
  bool RenameAnnounced(int32_t i, const std::u16string& name);
  // Gives the rename of target i to the rename thread when it can take it.
  bool HandOver(int32_t p, int32_t i, const std::u16string& name, std::u16string_view startWord,
                bool tentative);
  // The next job slot with its plan made, or nullptr when the rename cannot
  // go to the rename thread; GiveJob hands it over with the log text not
  // yet in the file.
  RenameJob* PlanJob(const std::u16string& folder, const std::u16string& oldName,
                     const std::u16string& newName);
  void GiveJob(RenameJob& job, int32_t position, int32_t target);
  void FinishOldest();
  void TakeBack(const RenameJob& job);
  // The rename of an evacuation, with its announcing line (on the rename
  // thread when `ahead` and it can take it). aborted: the log failed and the
  // user chose to stop before the rename.
  int EvacuationRename(int32_t k, int32_t p, const std::u16string& folder,
                       const std::u16string& name, const std::u16string& evac, bool ahead,
                       bool& aborted);

  // An evacuation taken to succeed that failed: what the thread saw, taken
  // by the same evacuation when its target is done again.
  struct FailedEvacuation {
    int32_t position = 0, target = 0;
    std::u16string wanted, name, evac;
    int writeError = 0, renameError = 0;
    NameIndex::RenamePlan plan;
  };
  std::optional<FailedEvacuation> failedEvac_;
  std::vector<std::pair<Date, Date>> datesRead_;  // by target; empty until one is read
  FinishStep finish_;
  std::unique_ptr<RenameWorker> worker_;  // after `index`: ends before it
};

// The result message of a run or restore: the counts of the journal, with
// `verb` "変更" or "復元"; the critical icon when any object failed.
void ShowOperationResult(RunEnvironment& env, std::u16string_view verb);

// Status word of a failed rename by its error number.
std::u16string_view RenameErrorStatus(int err);

}  // namespace dovetam
