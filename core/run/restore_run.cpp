// The restore: see restore_run.h.
#include "core/run/restore_run.h"

#include "core/run/candidate_loop.h"
#include "core/run/operation_frame.h"
#include "core/run/target_steps.h"

namespace dovetam {

namespace {

Settled RestoreObject(TargetSteps& steps, CandidateLoop& loop, int32_t p, int32_t i) {
  RunEnvironment& env = steps.env;
  ObjectTable& o = env.objects;
  steps.WriteObjectLine(i);
  if (env.journal.AbortRequested) {
    steps.SkipAborted(i);
    return {};
  }
  if (!steps.InChosenFolder(i)) return {};
  if (o.ObjState[i] == kObjUnchanged) {
    steps.log.LogSkipLine(u"スキップ(正常復元済)");
    steps.log.AddReportEntry(kReportDone, o.ObjFolder[i], o.ObjName[i], u"", u"正常復元");
    ++env.journal.DoneCount;
    return {};
  }
  const Settings& s = env.settings;
  const int64_t first = s.FirstNumMode ? s.ExtraNum : int64_t{s.ExtraNum} - 1;
  const CandidateSequence seq(SplitNewName(o.ObjOrigName[i], s.ExtraMixMode), s.ExtraMode,
                              first, /*firstNumbered=*/false);
  // The target ends bearing its name before the run again (state 0) or a
  // numbered one (state 1), its done entry written with the rename.
  LoopResult r;
  const std::u16string wanted = o.ObjOrigName[i];
  if (loop.ResolveAndRename(p, i, seq, wanted, u"復元名", u"復元開始", r) == TargetEnd::Restart) {
    return r.settled;
  }
  return {};
}

}  // namespace

OperationSummary RestoreNames(RunEnvironment& env) {
  if ((env.changeState & 2) == 0) {
    env.boxes.Show(u"元に戻せません。", MsgIcon::Exclamation);
    return {};
  }
  if (env.boxes.Show(u"変更した名前を元に戻しますか？", MsgIcon::Question, MsgButtons::YesNo,
                     MsgAnswer::No) != MsgAnswer::Yes) {
    return {};
  }
  return RunOperation(env, JournalKind::Restore, [&env] {
    // Every rename is made here, in turn: the restore hands none over.
    TargetSteps steps(env, JournalKind::Restore, /*baseMode=*/false);
    CandidateLoop loop(steps, /*overlapped=*/nullptr, /*baseMode=*/false, /*restore=*/true);
    ForEachTarget(steps, /*overlapped=*/nullptr,
                  [&](int32_t p, int32_t i) { return RestoreObject(steps, loop, p, i); });
  });
}

}  // namespace dovetam
