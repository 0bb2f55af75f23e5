// The rename run and the re-run: see rename_run.h.
#include "core/run/rename_run.h"

#include "core/rule/rule_messages.h"
#include "core/run/candidate_loop.h"
#include "core/run/operation_frame.h"
#include "core/run/overlapped_renames.h"
#include "core/run/target_steps.h"
#include "platform/text_case.h"

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

// One rename run or re-run: its steps, its renames on the rename thread and
// its candidate loop, and the per-target procedure.
class RenameRun {
 public:
  RenameRun(RunEnvironment& env, JournalKind kind, bool baseMode)
      : steps_(env, kind, baseMode),
        overlapped_(steps_),
        loop_(steps_, &overlapped_, baseMode, /*restore=*/false) {
    // A date the rule reads is read in the target's open folder, and only
    // while no rename pending on the rename thread touches its entry: else
    // it is not read now (the rule fails as when a date cannot be read), a
    // settle is due, and the name is generated again after it (Generate).
    RuleContext& ctx = env.context;
    ctx.ReadDate = [this, &ctx](bool created, Date& date) {
      const std::u16string_view path = ctx.CurPath;
      const std::size_t slash = path.rfind(u'/') + 1;
      if (!overlapped_.MayReadDate(UpperText(path.substr(slash)))) return int{kFsIoError};
      return steps_.index.ReadDate(std::u16string(path.substr(0, slash)),
                                   std::u16string(path.substr(slash)), ctx.CurIsFolder, created,
                                   date);
    };
  }

  // With a file system that takes calls from two threads, renames go to the
  // rename thread.
  void Overlap() { overlapped_.TurnOn(); }

  void Run() {
    ForEachTarget(steps_, &overlapped_, [this](int32_t p, int32_t i) { return Object(p, i); });
  }

 private:
  // The generated name of target i at position p, with the rule context set
  // for it; the rule is evaluated again after a settle it asked for.
  Settled Generate(int32_t p, int32_t i, std::u16string& newName) {
    RunEnvironment& env = steps_.env;
    const ObjectTable& o = env.objects;
    RuleContext& ctx = env.context;
    for (;;) {
      ctx.CurPos = p;
      ctx.CurTotal = o.ObjCount;
      ctx.CurModified = o.ObjModified[i];
      ctx.CurCreated = o.ObjCreated[i];
      ctx.CurPath.assign(o.ObjFolder[i]).append(o.ObjName[i]);
      ctx.CurIsFolder = o.ObjIsFolder[i];
      const bool datesMissing = ctx.CurModified == 0 || ctx.CurCreated == 0;
      if (datesMissing) overlapped_.KnownDates(i, ctx.CurModified, ctx.CurCreated);
      newName = env.generate(o.ObjState[i] != kObjUnchanged ? o.ObjOrigName[i] : o.ObjName[i]);
      if (overlapped_.SettleDue()) {
        if (const Settled s = overlapped_.Settle(); !s.GoOn()) return s;
        continue;
      }
      if (datesMissing && (ctx.CurModified != o.ObjModified[i] || ctx.CurCreated != o.ObjCreated[i])) {
        overlapped_.DatesRead(i, ctx.CurModified, ctx.CurCreated);
      }
      return {};
    }
  }

  // The object line and the generated name of target i at position p;
  // false in `named` when the target ended there (logged and entered).
  Settled Name(int32_t p, int32_t i, std::u16string& newName, bool& named) {
    named = false;
    steps_.WriteObjectLine(i);
    if (steps_.env.journal.AbortRequested) {
      steps_.SkipAborted(i);
      return {};
    }
    if (!steps_.InChosenFolder(i)) return {};
    if (const Settled s = Generate(p, i, newName); !s.GoOn()) return s;
    const RuleContext& ctx = steps_.env.context;
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
      const std::u16string returned = ctx.RuleErrorKind != 0 ? newName : std::u16string();
      steps_.log.LogTargetLine(returned);
      steps_.log.LogOutcomeLine(status);
      steps_.ErrorEntry(i, returned, status);
      return {};
    }
    named = true;
    return {};
  }

  // One target at position p: steps 1 to 8 of the per-object processing.
  Settled Object(int32_t p, int32_t i) {
    std::u16string newName;
    if (!overlapped_.ResumesAt(p, newName)) {
      bool named = false;
      if (const Settled s = Name(p, i, newName, named); !s.GoOn() || !named) return s;
    }
    const Settings& s = steps_.env.settings;
    const int64_t first = s.FirstNumMode ? s.ExtraNum : int64_t{s.ExtraNum} - 1;
    const CandidateSequence seq(SplitNewName(newName, s.ExtraMixMode), s.ExtraMode, first,
                                s.FirstNumMode);
    LoopResult r;
    if (loop_.ResolveAndRename(p, i, seq, newName, u"変更名", u"変更開始", r) ==
        TargetEnd::Restart) {
      return r.settled;
    }
    return {};
  }

  TargetSteps steps_;
  OverlappedRenames overlapped_;  // after steps_: its thread ends before the indexes
  CandidateLoop loop_;
};

// The rule engine's date hook, taken off when the run ends.
struct DateHookRemover {
  RuleContext& ctx;
  ~DateHookRemover() { ctx.ReadDate = nullptr; }
};

}  // namespace

OperationSummary ExecuteRenameRun(RunEnvironment& env, int index) {
  if (Refused(env, index)) return {};
  const std::u16string_view question =
      index == 1 ? u"現在の設定で名前を変更しますか？" : u"名前を再変更しますか？";
  if (env.boxes.Show(question, MsgIcon::Question, MsgButtons::YesNo, MsgAnswer::No) !=
      MsgAnswer::Yes) {
    return {};
  }
  const JournalKind kind = index == 1 ? JournalKind::Run : JournalKind::ReRun;
  return RunOperation(env, kind, [&env, kind] {
    const bool baseMode = env.settings.BNameMode && !env.settings.ExtraMixMode;
    RenameRun run(env, kind, baseMode);
    const DateHookRemover hook{env.context};  // goes before the run it calls
    if (!baseMode && env.renameThread) run.Overlap();
    run.Run();
  });
}

}  // namespace dovetam
