// The rename run and the re-run: see rename_run.h.
#include "core/run/rename_run.h"
#include "core/settings/decimal_text.h"

#include "platform/text_case.h"
#include "core/rule/rule_messages.h"
#include "core/run/candidate_loop.h"

namespace dovetam {

namespace {

bool Refused(RunEnvironment& env, int index) {
  if (index == 1 && env.changeState != 0) {
    env.boxes.Show(
        u"二重に名前変更を行うことはできません。\n\n"
        u"オブジェクトを選択しなおすか、変更規則を変えてから、\n操作を行ってください。",
        MsgIcon::Exclamation);
    return true;
  }
  if (index == 1 && env.objects.ObjCount == 0) {
    env.boxes.Show(u"オブジェクトを選択してください。", MsgIcon::Exclamation);
    return true;
  }
  if (index != 1 && (env.changeState & 1) == 0) {
    env.boxes.Show(u"名前を再変更できません。", MsgIcon::Exclamation);
    return true;
  }
  return false;
}

// The steps after the rename of target i to `name`.
void FinishRenamed(RenameOperation& op, int32_t i, const std::u16string& name, bool tentative) {
  RunEnvironment& env = op.env;
  ObjectTable& o = env.objects;
  if (o.ObjState[i] == kObjUnchanged) o.ObjOrigName[i] = o.ObjName[i];
  op.SetName(i, name);
  o.ObjState[i] = tentative ? kObjTentativelyChanged : kObjChanged;
  op.log.AddReportEntry(kReportDone, o.ObjFolder[i], o.ObjOrigName[i], o.ObjName[i],
                        tentative ? u"仮変更" : u"正常変更");
  ++env.journal.DoneCount;
  if (tentative) ++env.journal.TentativeCount;
}

// The object line and the generated name of target i at position p; false
// when the target ended there (logged and entered).
bool GenerateName(RenameOperation& op, int32_t p, int32_t i, std::u16string& newName) {
  RunEnvironment& env = op.env;
  ObjectTable& o = env.objects;
  op.WriteObjectLine(i);
  if (env.journal.AbortRequested) {
    op.SkipAborted(i);
    return false;
  }
  RuleContext& ctx = env.context;
  ctx.CurPos = p;
  ctx.CurTotal = o.ObjCount;
  ctx.CurModified = o.ObjModified[i];
  ctx.CurCreated = o.ObjCreated[i];
  ctx.CurPath.assign(o.ObjFolder[i]).append(o.ObjName[i]);
  ctx.CurIsFolder = o.ObjIsFolder[i];
  const bool datesMissing = ctx.CurModified == 0 || ctx.CurCreated == 0;
  if (datesMissing) op.KnownDates(i, ctx.CurModified, ctx.CurCreated);
  newName = env.generate(o.ObjState[i] != kObjUnchanged ? o.ObjOrigName[i] : o.ObjName[i]);
  if (datesMissing && (ctx.CurModified != o.ObjModified[i] || ctx.CurCreated != o.ObjCreated[i])) {
    op.DatesRead(i, ctx.CurModified, ctx.CurCreated);
  }
  int16_t errorKind = ctx.RuleErrorKind;
  std::u16string errorText = ctx.RuleErrorText;
  if (errorKind == 0 && !IsUsableName(newName)) {
    // The rule engine refuses such names itself; a name that slips through
    // must still never reach the disk.
    errorKind = 2;
    errorText = newName.empty() ? EmptyNameMessage() : UnusableNameMessage(newName);
  }
  if (errorKind != 0) {
    const std::u16string status =
        (errorKind == 1 ? u"変更規則エラー(" : u"生成名エラー(") + errorText + u")";
    op.log.LogTargetLine(ctx.RuleErrorKind != 0 ? newName : std::u16string());
    op.log.LogOutcomeLine(status);
    op.ErrorEntry(i, ctx.RuleErrorKind != 0 ? newName : std::u16string(), status);
    return false;
  }
  return true;
}

// One target at position p: steps 1 to 8 of the per-object processing.
void RunObject(RenameOperation& op, int32_t p, int32_t i) {
  std::u16string newName;
  if (!op.ResumesAt(p, newName) && !GenerateName(op, p, i, newName)) return;
  const Settings& s = op.env.settings;
  const int64_t first = s.FirstNumMode ? s.ExtraNum : int64_t{s.ExtraNum} - 1;
  const CandidateSequence seq(SplitNewName(newName, s.ExtraMixMode), s.ExtraMode, first,
                              s.FirstNumMode);
  op.wanted = std::move(newName);
  LoopResult r;
  if (!op.ResolveAndRename(p, i, seq, u"変更名", u"変更開始", r) || r.handedOver) return;
  op.Settle();
  FinishRenamed(op, i, r.candidate, r.tentative);
}

}  // namespace

OperationSummary ExecuteRenameRun(RunEnvironment& env, int index) {
  OperationSummary summary;
  if (Refused(env, index)) return summary;
  const std::u16string_view question =
      index == 1 ? u"現在の設定で名前を変更しますか？" : u"名前を再変更しますか？";
  if (env.boxes.Show(question, MsgIcon::Question, MsgButtons::YesNo, MsgAnswer::No) !=
      MsgAnswer::Yes) {
    return summary;
  }
  env.host.ShowHourglass();
  const JournalKind kind = index == 1 ? JournalKind::Run : JournalKind::ReRun;
  ObjectTable& o = env.objects;
  {
    JournalWriter opener(env.journal, JournalServices{env.fs, env.boxes, env.clock});
    if (!opener.OpenLog(kind, env.settings.LogMode)) {
      env.host.ShowNormalPointer();
      return summary;
    }
  }
  if (index == 1) {
    for (int32_t i = 1; i <= o.ObjCount; ++i) {
      o.ObjOrigName[i].clear();
      o.ObjState[i] = kObjUnchanged;
    }
  }
  const bool baseMode = env.settings.BNameMode && !env.settings.ExtraMixMode;
  RenameOperation op(env, kind, baseMode);
  op.log.BeginOperation(kind);
  op.log.ReserveFor(o);
  struct DateReadHook {
    RuleContext& ctx;
    ~DateReadHook() { ctx.BeforeDateRead = nullptr; }
  } hook{env.context};
  if (!baseMode && env.fs.SafeFromTwoThreads()) {
    op.OverlapRenames([&op](int32_t i, const std::u16string& name, bool tentative) {
      FinishRenamed(op, i, name, tentative);
    });
    // A date the listing did not give is read by the rule engine through the
    // path: not while the entry takes part in a pending rename.
    hook.ctx.BeforeDateRead = [&op, &ctx = hook.ctx] {
      const std::u16string_view path = ctx.CurPath;
      op.Guard(UpperText(path.substr(path.rfind(u'/') + 1)));
    };
  }
  for (int32_t from = 1;;) {
    try {
      for (int32_t p = from; p <= o.ObjCount; ++p) {
        const int32_t i = o.OrderIndex[p];
        if (op.index.PositionOf(i) != p) continue;  // not a target index: nothing to do
        RunObject(op, p, i);
      }
      op.Settle();
      break;
    } catch (const RenameOperation::Restart& restart) {
      // The targets after the failed rename, again; after a failed
      // evacuation, its target too.
      from = restart.again ? restart.position : restart.position + 1;
    }
  }
  op.log.FinishLog(kind);
  env.host.ShowReportText(op.log.BuildReport(kind, o.ObjCount));
  op.log.SaveReportFile(kind, o.ObjCount, env.settings.ReportMode, env.reportPath,
                        env.reportSaved);
  if (index == 1) {
    env.changeState = 3;
    env.host.RememberRule();
  }
  env.listStale = 1;
  env.host.RebuildOrderList();
  ShowOperationResult(env, u"変更");
  summary.performed = true;
  summary.done = env.journal.DoneCount;
  summary.errors = env.journal.ErrorCount;
  summary.tentative = env.journal.TentativeCount;
  return summary;
}

}  // namespace dovetam
