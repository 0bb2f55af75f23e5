// A second thread for the system calls of a rename run: each job writes the
// log text that announces a rename, then makes that rename, so the thread of
// the run can go on with the next target while they take place.
//
// Jobs are carried out one by one in the order given. A job whose write or
// rename fails stops the thread before the next one: the jobs after it are
// never started, their text never reaches the log, and the giver decides
// what becomes of them (Discard). So whatever the thread has done, the log
// holds the announcing line of every rename made, as if the calls had been
// made in turn by the giver.
//
// Handing over. The jobs live in a ring of kDepth slots. `given_` counts the
// jobs given (only the giver writes it) and `done_` the jobs done (only the
// thread writes it). The giver fills a slot, then stores given_; the thread
// loads given_, then reads the slot, does the job, writes its results and
// stores done_; the giver loads done_ before it reads the results or reuses
// the slot. Every access to these counters is sequentially consistent, which
// includes the release and acquire pairs that make each slot's contents
// visible to the side that reads them next.
//
// Waiting. A side with nothing to do first looks again for a short while
// (kSpinPauses pause instructions: about 3 µs here, 22 ns a pause), then
// sleeps in std::atomic::wait (whose own few looks and yields before the
// futex are bounded too). A sleeper reads the value it will wait on, then
// announces itself in a flag and looks once more; the other side stores its
// counter and then loads the flag. All four operations are sequentially
// consistent, so they have one total order in which either the sleeper's
// look comes after the store and sees it, or the flag's store comes before
// the load and the other side sees the sleeper and wakes it. The wake is a
// change of the value the sleeper waits on (`wake_` for the thread,
// `giverWake_` for the giver) followed by notify_one, so a notify that comes
// before the sleeper is in its wait is never lost. The value is read before
// the flag is set: a wake that takes the flag then always changes it after
// that read, and the wait ends at once. (Read after the flag, it could
// already hold that wake; a thread that then finds nothing to do, as after
// a failed job, would sleep with its flag taken, and no later job would
// wake it.) Neither waits on a count of jobs: a wait on done_ would end with
// every job the thread does, and the giver would look, yield and wait again
// for each one instead of sleeping through a quarter of the ring. Two sides
// can thus never both sleep with a job pending, on any processor the memory
// model describes.
//
// Waking is rare: the giver wakes a sleeping thread only once kWakeBatch
// jobs are waiting for it, or when it is about to wait for the thread
// itself; it waits for a full ring until a quarter of it is done (the rest
// keeps the thread busy while the giver wakes up), and the thread wakes it
// only when what it waits for is there. The waker takes the sleeper's flag
// (an exchange), so each sleep gets one wake. So a run pays a futex call
// for a batch of jobs, not for each one, and neither side burns the
// processor while the other works.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <thread>

#include "platform/file_system.h"
#include "core/run/name_index.h"

namespace dovetam {

// The size of a processor's cache line, which two threads should not both
// write to.
inline constexpr std::size_t kCacheLine = 64;

struct alignas(kCacheLine) RenameJob {  // a slot never shares a cache line with the next
  // Filled by the giver.
  std::string text;          // log text to write first, encoded ("": none)
  TextFile* log = nullptr;   // where; nullptr with text: the write fails (75)
  std::u16string folder, oldName, newName;
  NameIndex::RenamePlan plan;  // handle and scanForCase of the call
  // Kept for the giver: what to do once the job is done.
  int32_t position = 0;
  int32_t target = 0;
  bool tentative = false;
  bool evacuation = false;       // moves `target` aside for the target at `position`,
  std::u16string wanted;         // which wants this name
  std::size_t outcomeMark = 0;  // log text before the outcome line
  struct Before {                // what the finishing steps changed
    std::u16string origName;
    uint8_t state = 0;
    int32_t done = 0, tentative = 0;
    std::size_t doneList = 0;
  } before;
  // Filled by the thread: error numbers (0: done; a failed write leaves the
  // rename undone).
  int writeError = 0;
  int renameError = 0;
  bool Failed() const { return writeError != 0 || renameError != 0; }
};

class RenameWorker {
 public:
  static constexpr uint32_t kDepth = 128;
  static constexpr uint32_t kWakeBatch = 32;
  static constexpr int kSpinPauses = 128;

  // Starts the thread; throws std::system_error when it cannot be had.
  explicit RenameWorker(FileSystem& fs);
  // Lets the job under way end, starts no other one and joins the thread.
  ~RenameWorker();
  RenameWorker(const RenameWorker&) = delete;
  RenameWorker& operator=(const RenameWorker&) = delete;

  // Jobs given and not yet taken back by Pop.
  uint32_t Pending() const { return given_.load(std::memory_order_relaxed) - taken_; }
  bool Full() const { return Pending() == kDepth; }
  // Pending jobs that are done.
  uint32_t Done() const { return done_.load() - taken_; }
  // The slot for the next job (only when not Full); Give hands it over.
  RenameJob& Next() { return ring_[given_.load(std::memory_order_relaxed) % kDepth]; }
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
  // The i-th pending job from the oldest (i < Pending()).
  const RenameJob& PendingJob(uint32_t i) const { return ring_[(taken_ + i) % kDepth]; }

 private:
  void Run();
  void Execute(RenameJob& job);
  void WakeThread();
  void WakeThreadIfAsleep();

  // What each side writes for every job lies in a cache line of its own, so
  // that a job moves each line between the two processors once, not with
  // every access of the other side; the flags of sleeping and stopping,
  // rarely written, lie in a third.
  FileSystem& fs_;
  RenameJob ring_[kDepth];
  alignas(kCacheLine) uint32_t taken_ = 0;    // the giver's own
  std::atomic<uint32_t> given_{0};       // written by the giver
  alignas(kCacheLine) std::atomic<uint32_t> done_{0};  // written by the thread
  std::atomic<bool> halted_{false};      // set by the thread, cleared by Discard
  alignas(kCacheLine) std::atomic<bool> stop_{false};
  std::atomic<uint32_t> wake_{0};        // changed to wake the sleeping thread
  std::atomic<bool> threadAsleep_{false};
  std::atomic<bool> giverAsleep_{false};
  std::atomic<uint32_t> giverWants_{0};  // the done_ the sleeping giver waits for
  std::atomic<uint32_t> giverWake_{0};   // changed to wake the sleeping giver
  alignas(kCacheLine) std::thread thread_;
};

}  // namespace dovetam
