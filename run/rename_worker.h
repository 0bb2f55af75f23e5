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
// The two threads hand jobs over through a ring of kDepth slots and wait for
// each other by spinning for a short while, then by sleeping, so that a job
// costs no system call of its own.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <thread>

#include "platform/file_system.h"
#include "run/name_index.h"

namespace dovetam {

struct RenameJob {
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
  static constexpr uint32_t kDepth = 16;

  explicit RenameWorker(FileSystem& fs);
  // Lets the job under way end, starts no other one and joins the thread.
  ~RenameWorker();
  RenameWorker(const RenameWorker&) = delete;
  RenameWorker& operator=(const RenameWorker&) = delete;

  // Jobs given and not yet taken back by Oldest/Pop.
  uint32_t Pending() const { return given_.load(std::memory_order_relaxed) - taken_; }
  bool Full() const { return Pending() == kDepth; }
  // The slot for the next job (only when not Full); Give hands it over.
  RenameJob& Next() { return ring_[given_.load(std::memory_order_relaxed) % kDepth]; }
  void Give();
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
  void Wake();

  FileSystem& fs_;
  RenameJob ring_[kDepth];
  uint32_t taken_ = 0;                   // giver's own
  std::atomic<uint32_t> given_{0};       // written by the giver
  std::atomic<uint32_t> done_{0};        // written by the thread
  std::atomic<bool> halted_{false};      // set by the thread, cleared by Discard
  std::atomic<bool> stop_{false};
  std::atomic<uint32_t> wake_{0};        // changed to wake the sleeping thread
  std::atomic<bool> threadAsleep_{false};
  std::atomic<bool> giverAsleep_{false};
  std::thread thread_;
};

}  // namespace dovetam
