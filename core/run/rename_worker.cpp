// The rename thread: see rename_worker.h.
#include "core/run/rename_worker.h"

#include <algorithm>

namespace dovetam {

namespace {

inline void Pause() {
#if defined(__x86_64__) || defined(__i386__)
  __builtin_ia32_pause();
#elif defined(__aarch64__) || defined(__arm__)
  __asm__ __volatile__("yield");
#endif
}

// Looks whether `ready` holds, up to kSpinPauses times with a pause between.
template <typename Ready>
bool Spin(const Ready& ready) {
  for (int k = 0; k < RenameWorker::kSpinPauses; ++k) {
    if (ready()) return true;
    Pause();
  }
  return ready();
}

// Whether a count has got to `target` (counts go round past 2^32).
bool Reached(uint32_t count, uint32_t target) { return static_cast<int32_t>(count - target) >= 0; }

}  // namespace

RenameWorker::RenameWorker(FileSystem& fs) : fs_(fs), thread_([this] { Run(); }) {}

RenameWorker::~RenameWorker() {
  stop_.store(true);
  WakeThread();
  thread_.join();
}

void RenameWorker::WakeThread() {
  wake_.fetch_add(1);
  wake_.notify_one();
}

void RenameWorker::Give() {
  const uint32_t given = given_.load(std::memory_order_relaxed) + 1;
  given_.store(given);
  // A batch is worth a wake; fewer jobs wait until the giver waits itself.
  if (threadAsleep_.load() && given - done_.load(std::memory_order_relaxed) >= kWakeBatch) {
    WakeThreadIfAsleep();
  }
}

void RenameWorker::WakeThreadIfAsleep() {
  // Taking the flag makes this the one wake of that sleep.
  if (threadAsleep_.load() && threadAsleep_.exchange(false)) WakeThread();
}

void RenameWorker::WaitDone(uint32_t count) {
  const uint32_t target = taken_ + std::min(count, Pending());
  const auto ready = [&] { return Reached(done_.load(), target) || halted_.load(); };
  if (ready()) return;
  // The thread may be asleep with fewer jobs than a batch: they are needed now.
  WakeThreadIfAsleep();
  if (Spin(ready)) return;
  giverWants_.store(target);
  for (;;) {
    const uint32_t seen = giverWake_.load();  // before the flag: see the header
    giverAsleep_.store(true);
    if (ready()) break;
    giverWake_.wait(seen);
  }
  giverAsleep_.store(false);
}

RenameJob& RenameWorker::Oldest() {
  WaitDone(1);
  return ring_[taken_ % kDepth];
}

void RenameWorker::Discard() {
  // Nothing is left for the thread: no wake.
  given_.store(taken_);
  halted_.store(false);
}

void RenameWorker::Run() {
  uint32_t next = 0;  // the job to do; equals done_
  const auto ready = [&] { return stop_.load() || (!halted_.load() && given_.load() != next); };
  for (;;) {
    if (!Spin(ready)) {
      for (;;) {
        const uint32_t seen = wake_.load();  // before the flag: see the header
        threadAsleep_.store(true);
        if (ready()) break;
        wake_.wait(seen);
      }
      threadAsleep_.store(false);
    }
    if (stop_.load()) return;
    RenameJob& job = ring_[next % kDepth];
    Execute(job);
    const bool failed = job.Failed();
    if (failed) halted_.store(true);  // before done_, whose change wakes the giver
    done_.store(++next);
    if (giverAsleep_.load() && (failed || Reached(next, giverWants_.load())) &&
        giverAsleep_.exchange(false)) {
      giverWake_.fetch_add(1);
      giverWake_.notify_one();
    }
  }
}

void RenameWorker::Execute(RenameJob& job) {
  job.writeError = 0;
  job.renameError = 0;
  if (!job.text.empty()) {
    job.writeError = job.log ? job.log->WriteEncoded(job.text) : kFsIoError;
    if (job.writeError != 0) return;
  }
  job.renameError =
      fs_.RenameInFolder(job.plan.handle, job.folder, job.oldName, job.newName,
                        job.plan.scanForCase);
}

}  // namespace dovetam
