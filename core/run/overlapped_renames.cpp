// Renames on the rename thread and their undo: see overlapped_renames.h.
#include "core/run/overlapped_renames.h"

#include <new>
#include <system_error>

namespace dovetam {

OverlappedRenames::OverlappedRenames(TargetSteps& steps) : steps_(steps) {
  steps_.folders.SetBorrower(this);
}

OverlappedRenames::~OverlappedRenames() {
  if (worker_ && worker_->Pending() > 0) TakeBackUnmade();
  steps_.folders.SetBorrower(nullptr);
}

void OverlappedRenames::WaitReturned(uint32_t ticket) {
  if (worker_) worker_->WaitFinished(ticket);
}

void OverlappedRenames::TurnOn() { on_ = true; }

Settled OverlappedRenames::HandOverRename(int32_t p, int32_t i, const std::u16string& name,
                                          std::u16string_view startWord, bool tentative,
                                          bool& handed) {
  handed = false;
  ObjectTable& o = steps_.env.objects;
  if (!on_ || o.ObjIsFolder[i] || !steps_.index.Listed(o.ObjFolder[i])) return {};
  if (!worker_) {
    try {
      worker_ = std::make_unique<RenameWorker>();
    } catch (const std::system_error&) {
      on_ = false;  // no thread to be had: every rename is made here
      return {};
    }
  }
  RenameJob* job = nullptr;
  if (const Settled s = PlanJob(o.ObjFolder[i], o.ObjName[i], name, job); !s.GoOn()) return s;
  if (!job) return {};
  job->tentative = tentative;
  job->evacuation = false;
  TargetChange change = ChangeOf(o, i, name, tentative ? kObjTentativelyChanged : kObjChanged);
  PrepareJob(
      *job, p, i, [&] { steps_.log.AppendChangeLine(name, startWord); },
      [&] { steps_.Record(change, /*final=*/true, tentative); });
  GiveJob(*job);
  // Taken to succeed: everything after it sees the rename made.
  steps_.Put(change);
  handed = true;
  steps_.index.RenameDone(job->plan, kFsOk);
  steps_.index.TargetRenamed(i, change.name);
  return {};
}

Settled OverlappedRenames::HandOverEvacuation(int32_t k, int32_t p, const std::u16string& folder,
                                              const std::u16string& name,
                                              const std::u16string& evac,
                                              const std::u16string& wanted, bool& handed) {
  handed = false;
  if (!worker_ || steps_.env.journal.AbortRequested || steps_.env.objects.ObjIsFolder[k] ||
      !steps_.index.Listed(folder)) {
    return {};
  }
  // After the renames given before it, so that the renames of a folder stay
  // on one thread.
  RenameJob* job = nullptr;
  if (const Settled s = PlanJob(folder, name, evac, job); !s.GoOn()) return s;
  if (!job) return {};
  job->tentative = false;
  job->evacuation = true;
  job->wanted = wanted;
  TargetChange change = ChangeOf(steps_.env.objects, k, evac, kObjEvacuated);
  PrepareJob(
      *job, p, k, [&] { steps_.log.AppendEvacuationLine(folder, name, evac); },
      [&] { steps_.Record(change, /*final=*/false, false); });
  GiveJob(*job);
  // Taken to succeed: the caller goes on with target k under its new name.
  steps_.Put(change);
  handed = true;
  steps_.index.RenameDone(job->plan, kFsOk);
  steps_.index.TargetRenamed(k, change.name);
  return {};
}

Settled OverlappedRenames::PlanJob(const std::u16string& folder, const std::u16string& oldName,
                                   const std::u16string& newName, RenameJob*& job) {
  job = nullptr;
  if (worker_->Full()) {
    // A quarter of the ring at a time: the giver sleeps once per batch, and
    // the rest keeps the thread busy while the giver wakes up.
    worker_->WaitDone(RenameWorker::kDepth / 4);
    do {
      if (const Settled s = FinishOldest(); !s.GoOn()) return s;
    } while (worker_->Done() > 0);
  }
  RenameJob& next = worker_->Next();
  steps_.index.PlanRename(folder, oldName, newName, next.plan);
  if (!next.plan.quiet) return {};
  next.folder = folder;
  next.oldName = oldName;
  next.newName = newName;
  job = &next;
  return {};
}

template <typename Announce, typename Record>
void OverlappedRenames::PrepareJob(RenameJob& job, int32_t position, int32_t target,
                                   Announce&& announce, Record&& record) {
  const ObjectTable& o = steps_.env.objects;
  job.position = position;
  job.target = target;
  job.takenBack = false;
  job.before.origName = o.ObjOrigName[target];
  job.before.state = o.ObjState[target];
  const JournalMark start = steps_.log.Mark();
  try {
    announce();
    job.before.journal = steps_.log.Mark();
    record();
    // Here, where there is time to spare, the text up to the announcing
    // line is encoded (it stays empty when there is nothing to write); from
    // here on it counts as written. The record after it goes to the file
    // with the next announcing line.
    steps_.log.TakePendingUpTo(job.before.journal.logText, job.text, job.log);
  } catch (...) {
    steps_.log.BackTo(start);  // nothing of the job was given
    throw;
  }
}

void OverlappedRenames::GiveJob(RenameJob& job) {
  worker_->Give();
  steps_.folders.Lend(*job.plan.folder, worker_->LastTicket());
}

Settled OverlappedRenames::Settle() {
  settleDue_ = false;
  if (!worker_) return {};
  worker_->WaitDone(worker_->Pending());
  while (worker_->Pending() > 0) {
    if (const Settled s = FinishOldest(); !s.GoOn()) return s;
  }
  return {};
}

bool OverlappedRenames::MayReadDate(const std::u16string& upperName) {
  if (!worker_) return true;
  for (uint32_t k = 0; k < worker_->Pending(); ++k) {
    const NameIndex::RenamePlan& plan = worker_->PendingJob(k).plan;
    if (plan.upperOld == upperName || plan.upperNew == upperName) {
      settleDue_ = true;
      return false;
    }
  }
  return true;
}

void OverlappedRenames::TakeBack(RenameJob& job) {
  ObjectTable& o = steps_.env.objects;
  const int32_t i = job.target;
  o.ObjName[i] = job.oldName;
  o.ObjOrigName[i] = job.before.origName;
  o.ObjState[i] = job.before.state;
  job.takenBack = true;
  steps_.index.TargetRenamed(i, job.newName);
  steps_.index.RenameUndone(job.plan);
}

void OverlappedRenames::TakeBackUnmade() noexcept {
  // Every job is done once the thread has stopped at a failed one or has
  // done them all: the oldest not made (if any) is the failed one, and the
  // jobs after it were never started. They are put back newest first, by
  // swaps (the jobs are not needed again); the indexes die with the run.
  worker_->WaitDone(worker_->Pending());
  const uint32_t pending = worker_->Pending();
  uint32_t unmade = 0;
  while (unmade < pending && !worker_->PendingJob(unmade).Failed()) ++unmade;
  if (unmade == pending) return;
  ObjectTable& o = steps_.env.objects;
  for (uint32_t k = pending; k-- > unmade;) {
    RenameJob& job = worker_->PendingJob(k);
    if (job.takenBack) continue;
    const auto i = static_cast<std::size_t>(job.target);
    o.ObjName[i].swap(job.oldName);
    o.ObjOrigName[i].swap(job.before.origName);
    o.ObjState[i] = job.before.state;
    job.takenBack = true;
  }
  const RenameJob& failed = worker_->PendingJob(unmade);
  steps_.log.BackTo(failed.before.journal);
  // The log text ends with its announcing line, and its rename is not made.
  steps_.env.journal.RenameDue = o.OrderIndex[static_cast<std::size_t>(failed.position)];
  // Its text did not reach the log file: the log is given up, without the
  // question of a failed write (the run stops anyway).
  if (failed.writeError != kFsOk) steps_.log.DropLog();
}

Settled OverlappedRenames::FinishOldest() {
  const RenameJob& oldest = worker_->Oldest();
  // Memory ran out on the rename thread: here too, then (see the header).
  if (oldest.memoryShort) throw std::bad_alloc();
  if (!oldest.Failed()) {
    worker_->Pop();
    return {};
  }
  // The jobs after this one were never started. Back to the tables and the
  // journal as they stood when this rename was announced, and on as the
  // renames in turn would have gone from there.
  for (uint32_t k = worker_->Pending(); k-- > 0;) TakeBack(worker_->PendingJob(k));
  steps_.index.ClearHints();  // numbers found blocked since may have relied on them
  const RenameJob& job = worker_->PendingJob(0);
  steps_.log.BackTo(job.before.journal);
  const int32_t p = job.position;
  const int32_t i = job.target;
  const std::u16string name = job.newName;
  const int writeError = job.writeError;
  const int renameError = job.renameError;
  const NameIndex::RenamePlan plan = job.plan;
  const bool tentative = job.tentative;
  const bool evacuation = job.evacuation;
  if (evacuation) {
    failedEvac_ = FailedEvacuation{p, i, job.wanted, job.oldName, name, writeError, renameError,
                                   plan};
  }
  worker_->Pop();
  worker_->Discard();
  // The target of a failed evacuation does its candidate loop again, up to
  // that evacuation, whose failure it takes there.
  if (evacuation) return Settled{p};
  if (writeError != kFsOk) {
    // Its announcing line did not reach the log: the rename is made here,
    // after the question of the failed write.
    steps_.log.WriteFailed();
    TargetChange change = ChangeOf(steps_.env.objects, i, name,
                                   tentative ? kObjTentativelyChanged : kObjChanged);
    steps_.RenameAnnounced(change, tentative);
  } else {
    steps_.index.RenameDone(plan, renameError);
    const std::u16string_view status = RenameErrorStatus(renameError);
    steps_.log.LogOutcomeLine(status);
    steps_.ErrorEntry(i, name, status);
  }
  return Settled{p + 1};
}

bool OverlappedRenames::ResumesAt(int32_t p, std::u16string& wanted) {
  if (failedEvac_ && failedEvac_->position != p) failedEvac_.reset();
  if (!failedEvac_) return false;
  wanted = failedEvac_->wanted;
  return true;
}

std::optional<OverlappedRenames::FailedEvacuation> OverlappedRenames::TakeFailedEvacuation(
    int32_t p, int32_t k, const std::u16string& name, const std::u16string& evac) {
  std::optional<FailedEvacuation> failed;
  failed.swap(failedEvac_);
  if (failed && failed->position == p && failed->target == k && failed->name == name &&
      failed->evac == evac) {
    return failed;
  }
  return std::nullopt;
}

void OverlappedRenames::DatesRead(int32_t i, Date modified, Date created) {
  if (!on_) return;  // nothing is done twice
  if (datesRead_.empty()) {
    datesRead_.resize(static_cast<std::size_t>(steps_.env.objects.ObjCount) + 1);
  }
  datesRead_[static_cast<std::size_t>(i)] = {modified, created};
}

void OverlappedRenames::KnownDates(int32_t i, Date& modified, Date& created) const {
  if (datesRead_.empty()) return;
  const auto& [m, c] = datesRead_[static_cast<std::size_t>(i)];
  if (modified == 0) modified = m;
  if (created == 0) created = c;
}

void ForEachTarget(TargetSteps& steps, OverlappedRenames* overlapped,
                   const std::function<Settled(int32_t p, int32_t i)>& object) {
  const ObjectTable& o = steps.env.objects;
  for (int32_t p = 1;;) {
    Settled s;
    for (; p <= o.ObjCount && s.GoOn(); ++p) {
      const int32_t i = o.OrderIndex[p];
      if (steps.index.PositionOf(i) != p) continue;  // not a target index: nothing to do
      s = object(p, i);
    }
    if (s.GoOn() && overlapped) s = overlapped->Settle();
    if (s.GoOn()) return;
    p = s.restartAt;  // the targets after a failed rename again (its own after an evacuation)
  }
}

}  // namespace dovetam
