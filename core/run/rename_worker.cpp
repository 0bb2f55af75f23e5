// The rename thread: see rename_worker.h.
#include "core/run/rename_worker.h"

#include <algorithm>
#include "core/common/memory_short.h"

namespace dovetam {

namespace {

// Whether a count has got to `target` (counts go round past 2^32).
bool Reached(uint32_t count, uint32_t target) { return static_cast<int32_t>(count - target) >= 0; }

// Writes the job's text, then makes its rename: the error numbers of both.
// Memory running out here (only before the rename, see FileSystem::Rename)
// fails the job; the giver stops the run when it comes to it.
void Execute(RenameJob& job) noexcept {
  job.writeError = 0;
  job.renameError = 0;
  job.memoryShort = !MemoryAllows([&job] {
    if (!job.text.empty()) {
      job.writeError = job.log ? job.log->Write(job.text) : kFsIoError;
      if (job.writeError != kFsOk) return;
    }
    job.renameError = job.plan.handle->Rename(job.oldName, job.newName, job.plan.checkCase);
  });
}

}  // namespace

RenameWorker::RenameWorker() : thread_([this] { Run(); }) {}

RenameWorker::~RenameWorker() {
  {
    const std::lock_guard lock(mutex_);
    stop_ = true;
  }
  threadWake_.notify_one();
  thread_.join();
}

uint32_t RenameWorker::Done() {
  const std::lock_guard lock(mutex_);
  return done_ - taken_;
}

void RenameWorker::Give() {
  ++given_;
  const std::lock_guard lock(mutex_);
  queued_ = given_;
  // A batch is worth a wake; fewer jobs wait until the giver waits itself.
  if (threadAsleep_ && queued_ - done_ >= kWakeBatch) {
    threadAsleep_ = false;
    threadWake_.notify_one();
  }
}

void RenameWorker::WaitDone(uint32_t count) {
  const uint32_t target = taken_ + std::min(count, Pending());
  std::unique_lock lock(mutex_);
  const auto ready = [&] { return Reached(done_, target) || halted_; };
  if (ready()) return;
  // The thread may be asleep with fewer jobs than a batch: they are needed now.
  if (threadAsleep_) {
    threadAsleep_ = false;
    threadWake_.notify_one();
  }
  giverWants_ = target;
  while (!ready()) {
    giverAsleep_ = true;
    giverWake_.wait(lock);
  }
  giverAsleep_ = false;
}

RenameJob& RenameWorker::Oldest() {
  WaitDone(1);
  return ring_[taken_ % kDepth];
}

bool RenameWorker::Finished(uint32_t ticket) {
  if (!Reached(given_, ticket) || Reached(taken_, ticket)) return true;
  const std::lock_guard lock(mutex_);
  return Reached(done_, ticket) || halted_;
}

void RenameWorker::WaitFinished(uint32_t ticket) {
  if (!Finished(ticket)) WaitDone(ticket - taken_);
}

void RenameWorker::Discard() {
  given_ = taken_;
  const std::lock_guard lock(mutex_);
  queued_ = given_;
  halted_ = false;  // nothing is left for the thread: no wake
}

void RenameWorker::Run() {
  uint32_t next = 0;  // the job to do; equals done_
  std::unique_lock lock(mutex_);
  for (;;) {
    while (!stop_ && (halted_ || queued_ == next)) {
      threadAsleep_ = true;
      threadWake_.wait(lock);
    }
    threadAsleep_ = false;
    if (stop_) return;
    RenameJob& job = ring_[next % kDepth];
    lock.unlock();
    Execute(job);
    lock.lock();
    done_ = ++next;
    if (job.Failed()) halted_ = true;
    if (giverAsleep_ && (halted_ || Reached(done_, giverWants_))) {
      giverAsleep_ = false;
      giverWake_.notify_one();
    }
  }
}

}  // namespace dovetam
