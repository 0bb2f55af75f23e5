// Renames made on the rename thread (rename_worker.h) while the rename run
// goes on with the next targets, and how the run takes back what it did
// ahead when one of them fails.
//
// Once turned on, the final rename of a file target whose folder is listed,
// open and known by one text (whole-name mode), and the first evacuation of
// a file that the candidate loop of a target makes, go with the log text that
// announces them to the rename thread, when the rename is one system call
// (NameIndex::RenamePlan::quiet: the thread never needs a descriptor). The
// run takes each to succeed: its record (target_steps.h: the outcome line
// "正常終了", for a final rename its done entry and the counts) is written
// before the job is given, and the steps after it (the target's name and
// state, the indexes) are taken at once. A job is lent the open folder of
// its rename (OpenFolders::Borrower): that folder is closed only once the
// thread is over with the job. Each job keeps an undo record: the journal's
// mark after its announcing line (run_journal.h) and its target's earlier
// name and state. Everything else the run does to the disk, to the user or
// to its tables outside the journal first settles: it waits for every
// pending rename (Settle).
//
// When a pending rename or its write failed, the jobs after it were never
// started. Settling then takes back every pending job from the newest to the
// failed one (names, states, indexes), forgets the numbering hints, takes the
// journal back to the failed job's mark (every log line, report entry and
// count since) and returns where the run must start again, so that every
// caller stops what it does and the run goes on from there as the renames in
// turn would have gone. After a failed final rename its failure steps are
// taken here first, as the renames in turn would have taken them, and the
// run goes on after that target; after a failed evacuation the run does that
// target again from its candidate loop (ResumesAt), which meets the same
// evacuation and takes its failure from there (TakeFailedEvacuation). A
// failed write of the log is asked about, and the rename then made on the
// run's thread. The targets done again had changed nothing but what was
// taken back, and read
// nothing they will read again: the dates the rule read are kept
// (KnownDates), and a date of a name that a pending rename touches is read
// only after a settle (MayReadDate).
//
// Memory running out (std::bad_alloc) leaves the run with renames pending:
// leaving, it waits for each of them, keeps those that were made and takes
// back, without asking for memory, every one that failed or was never
// started, with the journal back to the failed one's mark, so that the
// tables hold what is on disk. A job that ran out of memory on the rename
// thread fails there, changing nothing, and is that failure on the run's
// thread once the run looks at it: the run stops as when memory runs out
// here. The names, the state and the indexes of a job's target are changed
// right after it is handed over, before anything that may fail.
//
// Tested by tests/core/run/overlapped_run_test.cpp: every case in turn and
// overlapped, with renames and log writes failing, must end alike.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/run/rename_worker.h"
#include "core/run/target_steps.h"

namespace dovetam {

// What settling leaves the caller to do: go on, or stop what it is doing and
// let the run start again at position restartAt.
struct [[nodiscard]] Settled {
  int32_t restartAt = 0;  // 0: go on
  bool GoOn() const { return restartAt == 0; }
};

class OverlappedRenames : private OpenFolders::Borrower {
 public:
  explicit OverlappedRenames(TargetSteps& steps);
  // Normally every rename is settled by then; when memory ran out, the
  // pending ones are waited for and those not made taken back.
  ~OverlappedRenames();
  OverlappedRenames(const OverlappedRenames&) = delete;
  OverlappedRenames& operator=(const OverlappedRenames&) = delete;

  // From now on renames may go to the rename thread.
  void TurnOn();
  bool On() const { return on_; }

  // The final rename of target i at position p to `name`, with its change
  // line (word `startWord`), handed to the rename thread when it can take
  // it (`handed`), its record taken.
  Settled HandOverRename(int32_t p, int32_t i, const std::u16string& name,
                         std::u16string_view startWord, bool tentative, bool& handed);
  // The rename of target k in `folder` from `name` to its evacuation name
  // `evac`, for the target at position p that wants `wanted`, with its
  // evacuation line, handed over when the thread can take it (`handed`;
  // its record and the evacuated target's name and state are taken).
  Settled HandOverEvacuation(int32_t k, int32_t p, const std::u16string& folder,
                             const std::u16string& name, const std::u16string& evac,
                             const std::u16string& wanted, bool& handed);

  // Waits for every pending rename and takes their results.
  Settled Settle();

  // For the date hook of the rule engine: false when a pending rename takes
  // or gives up `upperName`, so that its date is read only after a settle,
  // which is then due.
  bool MayReadDate(const std::u16string& upperName);
  bool SettleDue() const { return settleDue_; }

  // After a restart at position p for a failed evacuation: true, with the
  // generated name of that target (its object line is in the log already).
  bool ResumesAt(int32_t p, std::u16string& wanted);
  // What became of the failed evacuation of target k from `name` to `evac`
  // for the target at position p, when it is that one: the error of its
  // write, then of its rename.
  struct FailedEvacuation {
    int32_t position = 0, target = 0;
    std::u16string wanted, name, evac;
    int writeError = 0, renameError = 0;
    NameIndex::RenamePlan plan;
  };
  std::optional<FailedEvacuation> TakeFailedEvacuation(int32_t p, int32_t k,
                                                       const std::u16string& name,
                                                       const std::u16string& evac);

  // Dates of target i that the rule read through the path while renames
  // were pending (0: none), so that a target done again after a restart
  // does not read them a second time.
  void DatesRead(int32_t i, Date modified, Date created);
  void KnownDates(int32_t i, Date& modified, Date& created) const;

 private:
  // The next job slot with its plan made, or nullptr when the rename cannot
  // go to the rename thread (a full ring is emptied by a quarter first).
  Settled PlanJob(const std::u16string& folder, const std::u16string& oldName,
                  const std::u16string& newName, RenameJob*& job);
  // The job of the target at `position` renaming `target`: its undo
  // record (target's name and state, the journal after announce()), its
  // record written (record()) and the log text up to its announcing line
  // taken for the thread. Memory running out on the way leaves the journal
  // as it was.
  template <typename Announce, typename Record>
  void PrepareJob(RenameJob& job, int32_t position, int32_t target, Announce&& announce,
                  Record&& record);
  // Hands the job over, lending it its folder.
  void GiveJob(RenameJob& job);
  Settled FinishOldest();
  void TakeBack(RenameJob& job);
  // Leaving with renames pending: see the destructor. Needs no memory.
  void TakeBackUnmade() noexcept;
  // An open folder is closed only once the jobs lent it are over.
  void WaitReturned(uint32_t ticket) override;

  TargetSteps& steps_;
  bool on_ = false;
  bool settleDue_ = false;
  std::optional<FailedEvacuation> failedEvac_;
  std::vector<std::pair<Date, Date>> datesRead_;  // by target; empty until one is read
  std::unique_ptr<RenameWorker> worker_;
};

// The targets in the order of the run, each through `object`, and again from
// where a settle says: positions whose OrderIndex is no target index are
// passed over; the run ends once every rename is settled. `overlapped` is
// nullptr for an operation that hands no rename over.
void ForEachTarget(TargetSteps& steps, OverlappedRenames* overlapped,
                   const std::function<Settled(int32_t p, int32_t i)>& object);

}  // namespace dovetam
