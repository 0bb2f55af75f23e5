// The restore: see restore_run.h.
#include "core/run/restore_run.h"
#include "core/settings/decimal_text.h"

#include "core/run/candidate_loop.h"

namespace dovetam {

namespace {

void RestoreObject(RenameOperation& op, int32_t p, int32_t i) {
  RunEnvironment& env = op.env;
  ObjectTable& o = env.objects;
  op.WriteObjectLine(i);
  if (env.journal.AbortRequested) {
    op.SkipAborted(i);
    return;
  }
  if (o.ObjState[i] == kObjUnchanged) {
    op.log.LogSkipLine(u"スキップ(正常復元済)");
    op.log.AddReportEntry(kReportDone, o.ObjFolder[i], o.ObjName[i], u"", u"正常復元");
    ++env.journal.DoneCount;
    return;
  }
  const Settings& s = env.settings;
  const int64_t first = s.FirstNumMode ? s.ExtraNum : int64_t{s.ExtraNum} - 1;
  const CandidateSequence seq(SplitNewName(o.ObjOrigName[i], s.ExtraMixMode), s.ExtraMode,
                              first, /*firstNumbered=*/false);
  LoopResult r;
  if (!op.ResolveAndRename(p, i, seq, u"復元名", u"復元開始", r)) return;
  const std::u16string& candidate = r.candidate;
  op.SetName(i, candidate);
  if (candidate == o.ObjOrigName[i]) {
    o.ObjOrigName[i].clear();
    o.ObjState[i] = kObjUnchanged;
    op.log.AddReportEntry(kReportDone, o.ObjFolder[i], o.ObjName[i], u"", u"正常復元");
  } else {
    o.ObjState[i] = kObjTentativelyRestored;
    op.log.AddReportEntry(kReportDone, o.ObjFolder[i], o.ObjOrigName[i], o.ObjName[i],
                          u"仮復元");
    ++env.journal.TentativeCount;
  }
  ++env.journal.DoneCount;
}

}  // namespace

OperationSummary RestoreNames(RunEnvironment& env) {
  OperationSummary summary;
  if ((env.changeState & 2) == 0) {
    env.boxes.Show(u"元に戻せません。", MsgIcon::Exclamation);
    return summary;
  }
  if (env.boxes.Show(u"変更した名前を元に戻しますか？", MsgIcon::Question, MsgButtons::YesNo,
                     MsgAnswer::No) != MsgAnswer::Yes) {
    return summary;
  }
  env.host.ShowHourglass();
  {
    JournalWriter opener(env.journal, JournalServices{env.fs, env.boxes, env.clock});
    if (!opener.OpenLog(JournalKind::Restore, env.settings.LogMode)) {
      env.host.ShowNormalPointer();
      return summary;
    }
  }
  ObjectTable& o = env.objects;
  RenameOperation op(env, JournalKind::Restore, /*baseMode=*/false);
  op.log.BeginOperation(JournalKind::Restore);
  op.log.ReserveFor(o);
  for (int32_t p = 1; p <= o.ObjCount; ++p) {
    const int32_t i = o.OrderIndex[p];
    if (op.index.PositionOf(i) != p) continue;  // not a target index: nothing to do
    RestoreObject(op, p, i);
  }
  op.log.FinishLog(JournalKind::Restore);
  env.host.ShowReportText(op.log.BuildReport(JournalKind::Restore, o.ObjCount));
  op.log.SaveReportFile(JournalKind::Restore, o.ObjCount, env.settings.ReportMode,
                        env.reportPath, env.reportSaved);
  env.listStale = 1;
  env.host.RebuildOrderList();
  ShowOperationResult(env, u"復元");
  summary.performed = true;
  summary.done = env.journal.DoneCount;
  summary.errors = env.journal.ErrorCount;
  summary.tentative = env.journal.TentativeCount;
  return summary;
}

}  // namespace dovetam
