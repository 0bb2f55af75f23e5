// The rename thread: see rename_worker.h.
#include "run/rename_worker.h"

namespace dovetam {

namespace {

// About half a millisecond of spinning before a wait sleeps.
constexpr int kSpins = 1 << 13;

inline void Pause() {
#if defined(__x86_64__) || defined(__i386__)
  __builtin_ia32_pause();
#endif
}

}  // namespace

RenameWorker::RenameWorker(FileSystem& fs) : fs_(fs), thread_([this] { Run(); }) {}

RenameWorker::~RenameWorker() {
  stop_.store(true);
  Wake();
  thread_.join();
}

void RenameWorker::Wake() {
  wake_.fetch_add(1);
  wake_.notify_one();
}

void RenameWorker::Give() {
  given_.store(given_.load(std::memory_order_relaxed) + 1);
  if (threadAsleep_.load()) Wake();
}

RenameJob& RenameWorker::Oldest() {
  const auto ready = [&] { return done_.load(std::memory_order_acquire) != taken_; };
  for (int spins = 0; !ready(); ++spins) {
    if (spins < kSpins) {
      Pause();
      continue;
    }
    const uint32_t seen = done_.load();
    giverAsleep_.store(true);
    if (seen == taken_ && done_.load() == seen) done_.wait(seen);
    giverAsleep_.store(false);
    spins = 0;
  }
  return ring_[taken_ % kDepth];
}

void RenameWorker::Discard() {
  given_.store(taken_, std::memory_order_release);
  halted_.store(false);
  Wake();
}

void RenameWorker::Run() {
  uint32_t next = 0;  // the job to do; equals done_
  for (;;) {
    const auto ready = [&] {
      return !halted_.load(std::memory_order_acquire) &&
             given_.load(std::memory_order_acquire) != next;
    };
    for (int spins = 0; !ready(); ++spins) {
      if (stop_.load()) return;
      if (spins < kSpins) {
        Pause();
        continue;
      }
      const uint32_t w = wake_.load();
      threadAsleep_.store(true);
      if (!ready() && !stop_.load()) wake_.wait(w);
      threadAsleep_.store(false);
      spins = 0;
    }
    if (stop_.load()) return;
    RenameJob& job = ring_[next % kDepth];
    Execute(job);
    if (job.Failed()) halted_.store(true);
    done_.store(++next);
    if (giverAsleep_.load()) done_.notify_one();
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
