// A second thread for the system calls of a rename run: each job writes the
// log text that announces a rename, then makes that rename, so the thread of
// the run can go on with the next target while they take place.
//
// Jobs are carried out one by one in the order given. A job whose write or
// rename fails, or that runs out of memory (before its rename: nothing of
// it is done then), stops the thread before the next one: the jobs after it are
// never started, their text never reaches the log, and the giver decides
// what becomes of them (Discard). So whatever the thread has done, the log
// holds the announcing line of every rename made, as if the calls had been
// made in turn by the giver.
//
// Handing over. The jobs live in a ring of kDepth slots. One mutex guards
// what both sides read: the count of jobs given, the count of jobs done and
// the flags. The giver fills a slot, then counts it given under the mutex;
// the thread reads a slot only after it saw it counted, does the job, writes
// its results, then counts it done under the mutex; the giver reads the
// results or reuses the slot only after it saw that count. So a slot belongs
// to one side at a time, and the mutex hands it over.
//
// Waiting. A side with nothing to do sleeps on a condition variable of its
// own, with the predicate it waits for; the other side changes what that
// predicate reads under the mutex, so a wake is never lost. Waking is rare:
// the giver wakes a sleeping thread only once kWakeBatch jobs wait for it,
// or when it is about to wait for the thread itself; it waits for a full
// ring until a quarter of it is done (the rest keeps the thread busy while
// the giver wakes up), and the thread wakes the giver only when what it
// waits for is there. A waker takes the sleeper's flag, so each sleep gets
// one wake. So a run pays a wake for a batch of jobs, not for each one, and
// neither side uses the processor while the other works.
//
// Tested by tests/core/run/rename_worker_test.cpp (every pace of the two
// sides, failing jobs) and, inside runs, by overlapped_run_test.cpp.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

#include "core/run/name_index.h"
#include "core/run/run_journal.h"
#include "platform/file_system.h"

namespace dovetam {

struct RenameJob {
  // Filled by the giver.
  std::string text;          // log text to write first, UTF-8 ("": none)
  TextFile* log = nullptr;   // where; nullptr with text: the write fails (75)
  std::u16string folder, oldName, newName;
  NameIndex::RenamePlan plan;  // the open folder and the letter-case check
  // Kept for the giver: what to do once the job is done.
  int32_t position = 0;
  int32_t target = 0;
  bool tentative = false;
  bool evacuation = false;   // moves `target` aside for the target at `position`,
  std::u16string wanted;     // which wants this name
  // What the run had before it took this job to succeed (see
  // overlapped_renames.h).
  struct Before {
    JournalMark journal;     // the log text up to the line after the announcing one
    std::u16string origName;
    uint8_t state = 0;
  } before;
  // Set by the giver once it put the target back as it was before the job.
  bool takenBack = false;
  // Filled by the thread: error numbers (0: done; a failed write leaves the
  // rename undone), and whether memory ran out before the rename.
  int writeError = 0;
  int renameError = 0;
  bool memoryShort = false;
  bool Failed() const { return writeError != 0 || renameError != 0 || memoryShort; }
};

class RenameWorker {
 public:
  static constexpr uint32_t kDepth = 128;
  static constexpr uint32_t kWakeBatch = 32;

  // Starts the thread; throws std::system_error when it cannot be had.
  RenameWorker();
  // Lets the job under way end, starts no other one and joins the thread.
  ~RenameWorker();
  RenameWorker(const RenameWorker&) = delete;
  RenameWorker& operator=(const RenameWorker&) = delete;

  // Jobs given and not yet taken back by Pop.
  uint32_t Pending() const { return given_ - taken_; }
  bool Full() const { return Pending() == kDepth; }
  // Pending jobs that are done.
  uint32_t Done();
  // The slot for the next job (only when not Full); Give hands it over.
  RenameJob& Next() { return ring_[given_ % kDepth]; }
  void Give();
  // Waits until at least `count` pending jobs are done (all of them when
  // fewer are pending), or until a failed one stopped the thread.
  void WaitDone(uint32_t count);
  // Waits until the oldest pending job is done and returns it; Pop then
  // takes it back.
  RenameJob& Oldest();
  void Pop() { ++taken_; }
  // After the oldest job failed and was taken back: drops the jobs given
  // after it, which were never started, and lets the thread go on.
  void Discard();
  // The i-th pending job from the oldest (i < Pending()); the giver changes
  // only a job that is done, or that the thread will never start.
  const RenameJob& PendingJob(uint32_t i) const { return ring_[(taken_ + i) % kDepth]; }
  RenameJob& PendingJob(uint32_t i) { return ring_[(taken_ + i) % kDepth]; }

  // Each job given has a ticket, the count of jobs given up to it (counts go
  // round; after Discard the tickets of the dropped jobs are given again).
  uint32_t LastTicket() const { return given_; }
  // Whether the job of `ticket` is over for the thread: done, taken back,
  // dropped, or never to be started (the thread stopped before it).
  bool Finished(uint32_t ticket);
  void WaitFinished(uint32_t ticket);

 private:
  void Run();

  RenameJob ring_[kDepth];
  // The giver's own counts.
  uint32_t given_ = 0;
  uint32_t taken_ = 0;
  // Under mutex_.
  std::mutex mutex_;
  uint32_t queued_ = 0;   // jobs given, as the thread sees them
  uint32_t done_ = 0;     // jobs done
  bool halted_ = false;   // a job failed; cleared by Discard
  bool stop_ = false;
  bool threadAsleep_ = false;
  bool giverAsleep_ = false;
  uint32_t giverWants_ = 0;  // the done_ the sleeping giver waits for
  std::condition_variable threadWake_;
  std::condition_variable giverWake_;
  std::thread thread_;  // last: starts once everything above is made
};

}  // namespace dovetam
