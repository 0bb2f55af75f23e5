// Candidate loop, evacuation and the shared per-object steps: see
// candidate_loop.h.
#include "core/run/candidate_loop.h"
#include "core/settings/decimal_text.h"

#include <algorithm>
#include <system_error>

#include "platform/text_case.h"

namespace dovetam {

std::u16string_view RenameErrorStatus(int err) {
  switch (err) {
    case kFsNotFound: return u"エラー(オブジェクトが存在しません。)";
    case kFsAlreadyExists: return u"エラー(同名のオブジェクトが既に存在します。)";
    default: return u"エラー";
  }
}

RenameOperation::RenameOperation(RunEnvironment& e, JournalKind k, bool base)
    : env(e),
      kind(k),
      baseMode(base),
      log(e.journal, JournalServices{e.fs, e.boxes, e.clock}),
      index(e.objects, e.fs, base) {}

void RenameOperation::WriteObjectLine(int32_t i) { log.LogObjectLine(env.objects, i); }

std::u16string RenameOperation::EarlierPath(int32_t i) const {
  const ObjectTable& o = env.objects;
  return o.ObjFolder[i] + (o.ObjState[i] != kObjUnchanged ? o.ObjOrigName[i] : o.ObjName[i]);
}

void RenameOperation::ErrorEntry(int32_t i, std::u16string_view newName,
                                 std::u16string_view status) {
  Settle();
  log.AddReportEntry(kReportError, EarlierPath(i), newName, status);
  log.AddObjectStateEntry(env.objects, i);
  ++env.journal.ErrorCount;
}

void RenameOperation::SkipAborted(int32_t i) {
  log.LogSkipLine(u"スキップ(中断)");
  ErrorEntry(i, u"", u"中断");
}

void RenameOperation::SystemError(int32_t i, std::u16string_view word) {
  log.LogSkipLine(word);
  ErrorEntry(i, u"", word);
}

void RenameOperation::SetName(int32_t i, const std::u16string& name) {
  const std::u16string old = std::move(env.objects.ObjName[i]);
  env.objects.ObjName[i] = name;
  index.TargetRenamed(i, old);
}

void ShowOperationResult(RunEnvironment& env, std::u16string_view verb) {
  const RunJournal& j = env.journal;
  const std::u16string v(verb);
  const std::u16string l1 =
      u" " + DecimalText(j.DoneCount) +
      (j.TentativeCount > 0 ? u" 個 の オブジェクト名を一応" + v + u"しました。"
                            : u" 個 の オブジェクト名を正常に" + v + u"しました。");
  const std::u16string l2 =
      u" " + DecimalText(j.ErrorCount) + u" 個 の オブジェクト名を" + v + u"できませんでした。";
  const std::u16string l3 = u"詳細は、レポートを参照してください。";
  if (j.ErrorCount > 0) {
    env.boxes.Show(l1 + u"\n" + l2 + u"\n\n" + l3, MsgIcon::Critical);
  } else if (j.TentativeCount > 0) {
    env.boxes.Show(l1 + u"\n\n" + l3, MsgIcon::Information);
  } else {
    env.boxes.Show(l1, MsgIcon::Information);
  }
}

bool RenameOperation::ResolveAndRename(int32_t p, int32_t i, const CandidateSequence& seq,
                                       std::u16string_view nameWord,
                                       std::u16string_view startWord, LoopResult& r) {
  r = Resolve(p, i, seq);
  if (r.end == LoopEnd::SystemError) {
    const std::u16string word(nameWord);
    SystemError(i, r.outOfRange ? u"システムエラー(" + word + u"の添字が範囲を超えました。)"
                                : u"システムエラー(" + word + u"を取得できませんでした。)");
    return false;
  }
  if (r.end == LoopEnd::Aborted) {
    SkipAborted(i);
    return false;
  }
  const std::u16string& candidate = r.candidate;
  if (candidate == env.objects.ObjName[i]) {
    log.LogTargetLine(candidate);
    log.LogOutcomeLine(u"スキップ(同名)");
    return true;
  }
  if (HandOver(p, i, candidate, startWord, r.tentative)) {
    r.handedOver = true;
    return true;
  }
  Settle();
  log.LogChangeLine(candidate, startWord);
  return RenameAnnounced(i, candidate);
}

bool RenameOperation::RenameAnnounced(int32_t i, const std::u16string& name) {
  if (env.journal.AbortRequested) {
    log.LogOutcomeLine(u"中断");
    SkipAborted(i);
    return false;
  }
  if (const int err = RenameOnDisk(i, name); err != kFsOk) {
    const std::u16string_view status = RenameErrorStatus(err);
    log.LogOutcomeLine(status);
    ErrorEntry(i, name, status);
    return false;
  }
  log.LogOutcomeLine(u"正常終了");
  return true;
}

void RenameOperation::OverlapRenames(FinishStep finish) { finish_ = std::move(finish); }

bool RenameOperation::HandOver(int32_t p, int32_t i, const std::u16string& name,
                               std::u16string_view startWord, bool tentative) {
  ObjectTable& o = env.objects;
  if (!finish_ || o.ObjIsFolder[i] || !index.Listed(o.ObjFolder[i])) return false;
  if (!worker_) {
    try {
      worker_ = std::make_unique<RenameWorker>(env.fs);
    } catch (const std::system_error&) {
      finish_ = nullptr;  // no thread to be had: every rename is made here
      return false;
    }
  }
  RenameJob* planned = PlanJob(o.ObjFolder[i], o.ObjName[i], name);
  if (!planned) return false;
  RenameJob& job = *planned;
  RunJournal& j = env.journal;
  job.tentative = tentative;
  job.evacuation = false;
  job.before = {o.ObjOrigName[i], o.ObjState[i], j.DoneCount, j.TentativeCount,
                j.ReportDoneList.size()};
  log.AppendChangeLine(name, startWord);
  GiveJob(job, p, i);
  job.outcomeMark = j.LogText.size();
  // Taken to succeed: everything after it sees the rename made.
  log.LogOutcomeLine(u"正常終了");
  index.RenameDone(job.plan, kFsOk);
  finish_(i, job.newName, tentative);
  return true;
}

RenameJob* RenameOperation::PlanJob(const std::u16string& folder, const std::u16string& oldName,
                                    const std::u16string& newName) {
  if (worker_->Full()) {
    // A quarter of the ring at a time: the giver sleeps once per batch, and
    // the rest keeps the thread busy while the giver wakes up.
    worker_->WaitDone(RenameWorker::kDepth / 4);
    do FinishOldest();
    while (worker_->Done() > 0);
  }
  RenameJob& job = worker_->Next();
  index.PlanRename(folder, oldName, newName, job.plan);
  if (!job.plan.quiet) return nullptr;
  job.folder = folder;
  job.oldName = oldName;
  job.newName = newName;
  return &job;
}

void RenameOperation::GiveJob(RenameJob& job, int32_t position, int32_t target) {
  job.position = position;
  job.target = target;
  std::u16string_view text;  // stays empty when there is nothing to write
  log.TakePending(text, job.log);
  TextFile::Encode(text, job.text);  // here, where there is time to spare
  worker_->Give();
}

void RenameOperation::Settle() {
  if (!worker_) return;
  worker_->WaitDone(worker_->Pending());
  while (worker_->Pending() > 0) FinishOldest();
}

void RenameOperation::Guard(const std::u16string& upperName) {
  if (!worker_) return;
  for (uint32_t k = 0; k < worker_->Pending(); ++k) {
    const NameIndex::RenamePlan& plan = worker_->PendingJob(k).plan;
    if (plan.upperOld == upperName || plan.upperNew == upperName) {
      Settle();
      return;
    }
  }
}

void RenameOperation::TakeBack(const RenameJob& job) {
  ObjectTable& o = env.objects;
  RunJournal& j = env.journal;
  const int32_t i = job.target;
  o.ObjName[i] = job.oldName;
  index.TargetRenamed(i, job.newName);
  index.RenameUndone(job.plan);
  o.ObjOrigName[i] = job.before.origName;
  o.ObjState[i] = job.before.state;
  j.DoneCount = job.before.done;
  j.TentativeCount = job.before.tentative;
  j.ReportDoneList.resize(job.before.doneList);
}

void RenameOperation::FinishOldest() {
  if (!worker_->Oldest().Failed()) {
    worker_->Pop();
    return;
  }
  // The jobs after this one were never started. Back to the tables and the
  // log as they stood when this rename was announced, and on as the renames
  // in turn would have gone from there.
  for (uint32_t k = worker_->Pending(); k-- > 0;) TakeBack(worker_->PendingJob(k));
  index.ClearHints();  // numbers found blocked since may have relied on them
  const RenameJob& job = worker_->PendingJob(0);
  const int32_t p = job.position;
  const int32_t i = job.target;
  const std::u16string name = job.newName;
  const int writeError = job.writeError;
  const int renameError = job.renameError;
  const NameIndex::RenamePlan plan = job.plan;
  const bool tentative = job.tentative;
  RunJournal& j = env.journal;
  j.LogText.resize(job.outcomeMark);
  j.LogFlushed = std::min(j.LogFlushed, j.LogText.size());
  const bool evacuation = job.evacuation;
  if (evacuation) {
    failedEvac_ = FailedEvacuation{p, i, job.wanted, job.oldName, name, writeError, renameError,
                                   plan};
  }
  worker_->Pop();
  worker_->Discard();
  // The target of a failed evacuation does its candidate loop again, up to
  // that evacuation, whose failure it takes there.
  if (evacuation) throw Restart{p, true};
  bool renamed = false;
  if (writeError != kFsOk) {
    log.WriteFailed();
    renamed = RenameAnnounced(i, name);
  } else {
    index.RenameDone(plan, renameError);
    const std::u16string_view status = RenameErrorStatus(renameError);
    log.LogOutcomeLine(status);
    ErrorEntry(i, name, status);
  }
  if (renamed) finish_(i, name, tentative);
  throw Restart{p};
}

int RenameOperation::RenameOnDisk(int32_t i, const std::u16string& name) {
  ObjectTable& o = env.objects;
  if (!o.ObjIsFolder[i]) return index.Rename(o.ObjFolder[i], o.ObjName[i], name);
  // The rewrite of the folders inside may touch ObjFolder texts: work on copies.
  const std::u16string folder = o.ObjFolder[i];
  const std::u16string old = o.ObjName[i];
  if (const int err = index.Rename(folder, old, name); err != kFsOk) return err;
  index.FolderRenamed(folder, old, name);  // UpdatePathsUnderFolder
  return kFsOk;
}

std::u16string RenameOperation::MakeTemporaryName(const std::u16string& folder,
                                                  const std::u16string& name,
                                                  const std::u16string& avoid) {
  for (int64_t n = 1; n < kNumberLimit; ++n) {
    std::u16string t = EvacuationName(name, env.settings.ExtraMode2, n);
    if (t == avoid) continue;
    if (!index.Listed(folder)) Settle();  // the folder is read first
    bool exists = false;
    if (index.Exists(folder, t, exists) != kFsOk) return {};
    if (!exists) return t;
  }
  return {};
}

void RenameOperation::DatesRead(int32_t i, Date modified, Date created) {
  if (!finish_) return;  // nothing is done twice
  if (datesRead_.empty()) datesRead_.resize(static_cast<std::size_t>(env.objects.ObjCount) + 1);
  datesRead_[static_cast<std::size_t>(i)] = {modified, created};
}

void RenameOperation::KnownDates(int32_t i, Date& modified, Date& created) const {
  if (datesRead_.empty()) return;
  const auto& [m, c] = datesRead_[static_cast<std::size_t>(i)];
  if (modified == 0) modified = m;
  if (created == 0) created = c;
}

bool RenameOperation::ResumesAt(int32_t p, std::u16string& name) {
  if (failedEvac_ && failedEvac_->position != p) failedEvac_.reset();
  if (!failedEvac_) return false;
  name = failedEvac_->wanted;
  return true;
}

RenameOperation::EvacEnd RenameOperation::Evacuate(int32_t k, int32_t p, bool ahead) {
  ObjectTable& o = env.objects;
  const std::u16string folder = o.ObjFolder[k];
  const std::u16string name = o.ObjName[k];
  if (o.ObjIsFolder[k] || !index.Listed(folder)) Settle();
  const std::u16string evac = o.ObjState[k] != kObjUnchanged
                                  ? MakeTemporaryName(folder, o.ObjOrigName[k], name)
                                  : MakeTemporaryName(folder, name, u"");
  if (evac.empty()) return EvacEnd::Failed;
  bool aborted = false;
  const int err = EvacuationRename(k, p, folder, name, evac, ahead, aborted);
  if (aborted) {
    log.LogOutcomeLine(u"中断");
    return EvacEnd::Aborted;
  }
  if (err != kFsOk) {
    log.LogOutcomeLine(u"エラー");
    return env.journal.AbortRequested ? EvacEnd::Aborted : EvacEnd::Failed;
  }
  log.LogOutcomeLine(u"正常終了");
  if (o.ObjState[k] == kObjUnchanged) o.ObjOrigName[k] = name;
  SetName(k, evac);
  o.ObjState[k] = kObjEvacuated;
  return env.journal.AbortRequested ? EvacEnd::Aborted : EvacEnd::Done;
}

int RenameOperation::EvacuationRename(int32_t k, int32_t p, const std::u16string& folder,
                                      const std::u16string& name, const std::u16string& evac,
                                      bool ahead, bool& aborted) {
  aborted = false;
  ObjectTable& o = env.objects;
  RunJournal& j = env.journal;
  std::optional<FailedEvacuation> failed;
  failed.swap(failedEvac_);
  if (failed && failed->position == p && failed->target == k && failed->name == name &&
      failed->evac == evac) {
    // Done again after the rename thread failed it: the line that announces
    // it is in the log text; what became of its write and rename is known.
    if (failed->writeError == kFsOk) {
      index.RenameDone(failed->plan, failed->renameError);
      return failed->renameError;
    }
    log.WriteFailed();
  } else if (RenameJob* job = ahead && !j.AbortRequested && worker_ && !o.ObjIsFolder[k] &&
                                      index.Listed(folder)
                                  ? PlanJob(folder, name, evac)
                                  : nullptr) {
    // On the rename thread, after the renames given before it, so that the
    // renames of a folder stay on one thread. Taken to succeed: the caller
    // goes on with the evacuated target under its new name.
    job->tentative = false;
    job->evacuation = true;
    job->wanted = wanted;
    job->before = {o.ObjOrigName[k], o.ObjState[k], j.DoneCount, j.TentativeCount,
                   j.ReportDoneList.size()};
    log.AppendEvacuationLine(folder, name, evac);
    GiveJob(*job, p, k);
    job->outcomeMark = j.LogText.size();
    index.RenameDone(job->plan, kFsOk);
    return kFsOk;
  } else {
    Settle();
    log.LogEvacuationLine(folder, name, evac);
  }
  if (j.AbortRequested) {
    aborted = true;
    return kFsOk;
  }
  return RenameOnDisk(k, evac);
}

LoopResult RenameOperation::Resolve(int32_t p, int32_t i, const CandidateSequence& seq) {
  ObjectTable& o = env.objects;
  LoopResult r;
  const std::u16string upperOwn = UpperText(o.ObjName[i]);
  int64_t m = seq.first();
  // Skip the numbers earlier objects found blocked for good, unless the
  // object's own name is among them (whole-name mode takes it at once).
  if (const auto hint = index.Hint(o.ObjFolder[i], seq.Key()); hint && *hint > m) {
    if (!baseMode) {
      if (const auto own = seq.NumberOf(upperOwn); own && *own < *hint) {
        r.candidate = seq.Name(*own);
        return r;
      }
    }
    m = *hint;
  }
  bool contiguous = true;  // every number since seq.first() was blocked for good
  std::u16string candidate = seq.Name(m);
  int32_t from = 1;        // resume position of the base-name holder search
  bool firstEvacuation = true;
  for (;;) {
    const std::u16string& folder = o.ObjFolder[i];
    const std::u16string upper = UpperText(candidate);
    bool blockedForGood = false;
    int32_t q;
    std::u16string upperBase;
    if (!baseMode) {
      if (upper == upperOwn) break;  // the object bears this name already
      q = index.FirstHolder(folder, upper, p);
    } else {
      upperBase = UpperText(seq.Base(m));
      q = index.FirstBaseHolder(folder, upperBase, from, p);
    }
    if (q > p) {
      const EvacEnd e = Evacuate(o.OrderIndex[q], p, firstEvacuation);
      firstEvacuation = false;
      if (e == EvacEnd::Aborted) {
        r.end = LoopEnd::Aborted;
        return r;
      }
      if (e == EvacEnd::Done) {
        if (!baseMode) break;
        from = q + 1;  // look for the next later holder of this base
        continue;
      }
      r.tentative = true;
      contiguous = false;
    } else if (q > 0) {
      blockedForGood = true;  // an earlier target keeps this name
    } else if (!baseMode) {
      if (!index.Listed(folder)) Settle();  // the folder is read first
      bool exists = false;
      if (index.Exists(folder, candidate, exists) != kFsOk) {
        r.end = LoopEnd::SystemError;
        return r;
      }
      if (!exists) break;
      blockedForGood = true;  // an entry on disk that no target bears
    } else {
      bool collides = false;
      if (index.BaseCollides(folder, upperBase, p, collides) != kFsOk) {
        r.end = LoopEnd::SystemError;
        return r;
      }
      if (!collides) break;
      contiguous = false;  // later targets may still have to be evacuated
    }
    // Next number.
    if (m + 1 >= kNumberLimit) {
      r.end = LoopEnd::SystemError;
      r.outOfRange = true;
      return r;
    }
    if (blockedForGood && contiguous) {
      index.SetHint(folder, seq.Key(), std::max(m + 1, index.Hint(folder, seq.Key()).value_or(m + 1)));
    }
    ++m;
    candidate = seq.Name(m);
    from = 1;
  }
  r.candidate = std::move(candidate);
  return r;
}

}  // namespace dovetam
