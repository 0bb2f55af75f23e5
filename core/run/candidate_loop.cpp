// The candidate loop, evacuation and the target's rename: see
// candidate_loop.h.
#include "core/run/candidate_loop.h"

#include <algorithm>

#include "platform/text_case.h"

namespace dovetam {

CandidateLoop::CandidateLoop(TargetSteps& steps, OverlappedRenames* overlapped, bool baseMode,
                             bool restore)
    : steps_(steps), overlapped_(overlapped), baseMode_(baseMode), restore_(restore) {}

TargetChange CandidateLoop::FinalChange(int32_t i, const std::u16string& candidate,
                                        bool tentative) const {
  const ObjectTable& o = steps_.env.objects;
  uint8_t state = tentative ? kObjTentativelyChanged : kObjChanged;
  if (restore_) state = candidate == o.ObjOrigName[i] ? kObjUnchanged : kObjTentativelyRestored;
  return ChangeOf(o, i, candidate, state);
}

TargetEnd CandidateLoop::ResolveAndRename(int32_t p, int32_t i, const CandidateSequence& seq,
                                          const std::u16string& wanted,
                                          std::u16string_view nameWord,
                                          std::u16string_view startWord, LoopResult& r) {
  r = Resolve(p, i, seq, wanted);
  switch (r.end) {
    case LoopEnd::Restart: return TargetEnd::Restart;
    case LoopEnd::SystemError:
      steps_.SystemError(i, r.outOfRange ? u"システムエラー(" + std::u16string(nameWord) +
                                               u"の添字が範囲を超えました。)"
                                         : LookupErrorStatus(nameWord, r.error));
      return TargetEnd::Failed;
    case LoopEnd::Aborted:
      steps_.SkipAborted(i);
      return TargetEnd::Failed;
    case LoopEnd::Accepted: break;
  }
  const std::u16string& candidate = r.candidate;
  if (candidate == steps_.env.objects.ObjName[i]) {
    TargetChange same = FinalChange(i, candidate, r.tentative);
    steps_.log.LogTargetLine(candidate);
    steps_.log.LogOutcomeLine(u"スキップ(同名)");
    // Set once every rename before it is settled: a restart before it would
    // find the target as it was.
    r.settled = Settle();
    if (!r.settled.GoOn()) return TargetEnd::Restart;
    steps_.DoneEntry(same, r.tentative);
    steps_.Keep(same);
    return TargetEnd::Renamed;
  }
  if (overlapped_) {
    bool handed = false;
    r.settled = overlapped_->HandOverRename(p, i, candidate, startWord, r.tentative, handed);
    if (!r.settled.GoOn()) return TargetEnd::Restart;
    if (handed) return TargetEnd::Renamed;
  }
  r.settled = Settle();
  if (!r.settled.GoOn()) return TargetEnd::Restart;
  TargetChange change = FinalChange(i, candidate, r.tentative);
  steps_.log.LogChangeLine(candidate, startWord, i);
  return steps_.RenameAnnounced(change, r.tentative) ? TargetEnd::Renamed : TargetEnd::Failed;
}

std::u16string CandidateLoop::MakeTemporaryName(const std::u16string& folder,
                                                const std::u16string& name,
                                                const std::u16string& avoid) {
  for (int64_t n = 1; n < kNumberLimit; ++n) {
    std::u16string t = EvacuationName(name, steps_.env.settings.ExtraMode2, n);
    if (t == avoid) continue;
    bool exists = false;
    if (steps_.index.Exists(folder, t, exists) != kFsOk) return {};
    if (!exists) return t;
  }
  return {};
}

CandidateLoop::EvacEnd CandidateLoop::Evacuate(int32_t k, int32_t p, bool ahead,
                                               const std::u16string& wanted, Settled& settled) {
  ObjectTable& o = steps_.env.objects;
  const std::u16string folder = o.ObjFolder[k];
  const std::u16string name = o.ObjName[k];
  if (o.ObjIsFolder[k] || !steps_.index.Listed(folder)) {
    settled = Settle();  // the folder is read first
    if (!settled.GoOn()) return EvacEnd::Restart;
  }
  const std::u16string evac = o.ObjState[k] != kObjUnchanged
                                  ? MakeTemporaryName(folder, o.ObjOrigName[k], name)
                                  : MakeTemporaryName(folder, name, u"");
  if (evac.empty()) return EvacEnd::Failed;
  int err = kFsOk;
  bool aborted = false;
  settled = EvacuationRename(k, p, folder, name, evac, wanted, ahead, err, aborted);
  if (!settled.GoOn()) return EvacEnd::Restart;
  if (aborted) {
    steps_.log.LogOutcomeLine(u"中断");
    return EvacEnd::Aborted;
  }
  if (err != kFsOk) {
    // "エラー", or what ran short.
    steps_.log.LogOutcomeLine(err == kFsTooManyFiles ? RenameErrorStatus(err) : u"エラー");
    return steps_.env.journal.AbortRequested ? EvacEnd::Aborted : EvacEnd::Failed;
  }
  // Target k bears its evacuation name and state 4 already, and its outcome
  // line is written (set with the rename).
  return steps_.env.journal.AbortRequested ? EvacEnd::Aborted : EvacEnd::Done;
}

Settled CandidateLoop::EvacuationRename(int32_t k, int32_t p, const std::u16string& folder,
                                        const std::u16string& name, const std::u16string& evac,
                                        const std::u16string& wanted, bool ahead, int& err,
                                        bool& aborted) {
  err = kFsOk;
  aborted = false;
  const auto failed =
      overlapped_ ? overlapped_->TakeFailedEvacuation(p, k, name, evac) : std::nullopt;
  if (failed) {
    // Done again after the rename thread failed it: the line that announces
    // it is in the log text; what became of its write and rename is known.
    if (failed->writeError == kFsOk) {
      steps_.index.RenameDone(failed->plan, failed->renameError);
      err = failed->renameError;
      return {};
    }
    steps_.log.WriteFailed();
  } else {
    bool handed = false;
    if (ahead && overlapped_) {
      const Settled s = overlapped_->HandOverEvacuation(k, p, folder, name, evac, wanted, handed);
      if (!s.GoOn()) return s;
    }
    // Taken to succeed: the caller goes on with the evacuated target under
    // its new name.
    if (handed) return {};
    if (const Settled s = Settle(); !s.GoOn()) return s;
    steps_.log.LogEvacuationLine(folder, name, evac, steps_.env.objects.OrderIndex[p]);
  }
  if (steps_.env.journal.AbortRequested) {
    aborted = true;
    return {};
  }
  TargetChange change = ChangeOf(steps_.env.objects, k, evac, kObjEvacuated);
  err = steps_.RenameOnDisk(change, /*final=*/false, /*tentative=*/false);
  return {};
}

LoopResult CandidateLoop::Resolve(int32_t p, int32_t i, const CandidateSequence& seq,
                                  const std::u16string& wanted) {
  ObjectTable& o = steps_.env.objects;
  NameIndex& index = steps_.index;
  LoopResult r;
  const std::u16string upperOwn = UpperText(o.ObjName[i]);
  int64_t m = seq.first();
  // Skip the numbers earlier objects found blocked for good, unless the
  // object's own name is among them (whole-name mode takes it at once).
  if (const auto hint = index.Hint(o.ObjFolder[i], seq.Key()); hint && *hint > m) {
    if (!baseMode_) {
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
    if (!baseMode_) {
      if (upper == upperOwn) break;  // the object bears this name already
      q = index.FirstHolder(folder, upper, p);
    } else {
      upperBase = UpperText(seq.Base(m));
      q = index.FirstBaseHolder(folder, upperBase, from, p);
    }
    if (q > p) {
      const EvacEnd e = Evacuate(o.OrderIndex[q], p, firstEvacuation, wanted, r.settled);
      firstEvacuation = false;
      if (e == EvacEnd::Restart) {
        r.end = LoopEnd::Restart;
        return r;
      }
      if (e == EvacEnd::Aborted) {
        r.end = LoopEnd::Aborted;
        return r;
      }
      if (e == EvacEnd::Done) {
        if (!baseMode_) break;
        from = q + 1;  // look for the next later holder of this base
        continue;
      }
      r.tentative = true;
      contiguous = false;
    } else if (q > 0) {
      blockedForGood = true;  // an earlier target keeps this name
    } else if (!baseMode_) {
      if (!index.Listed(folder)) {
        r.settled = Settle();  // the folder is read first
        if (!r.settled.GoOn()) {
          r.end = LoopEnd::Restart;
          return r;
        }
      }
      bool exists = false;
      if (const int err = index.Exists(folder, candidate, exists); err != kFsOk) {
        r.end = LoopEnd::SystemError;
        r.error = err;
        return r;
      }
      if (!exists) break;
      blockedForGood = true;  // an entry on disk that no target bears
    } else {
      bool collides = false;
      if (const int err = index.BaseCollides(folder, upperBase, p, collides); err != kFsOk) {
        r.end = LoopEnd::SystemError;
        r.error = err;
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
      index.SetHint(folder, seq.Key(),
                    std::max(m + 1, index.Hint(folder, seq.Key()).value_or(m + 1)));
    }
    ++m;
    candidate = seq.Name(m);
    from = 1;
  }
  r.candidate = std::move(candidate);
  return r;
}

}  // namespace dovetam
