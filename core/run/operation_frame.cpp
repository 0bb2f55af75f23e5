// The opening and the closing of an operation: see operation_frame.h.
#include "core/run/operation_frame.h"

#include "core/common/decimal_text.h"

namespace dovetam {

namespace {

JournalWriter Writer(RunEnvironment& env) {
  return JournalWriter(env.journal, JournalServices{env.fs, env.boxes, env.clock});
}

// The result message, with `verb` "変更" or "復元"; the critical icon when
// any object failed.
void ShowResult(RunEnvironment& env, std::u16string_view verb) {
  const RunJournal& j = env.journal;
  std::u16string l1(u" ");
  l1 += DecimalText(j.DoneCount);
  l1 += j.TentativeCount > 0 ? u" 個 の オブジェクト名を一応" : u" 個 の オブジェクト名を正常に";
  l1 += verb;
  l1 += u"しました。";
  std::u16string l2(u" ");
  l2 += DecimalText(j.ErrorCount);
  l2 += u" 個 の オブジェクト名を";
  l2 += verb;
  l2 += u"できませんでした。";
  const std::u16string l3 = u"詳細は、レポートを参照してください。";
  if (j.ErrorCount > 0) {
    env.boxes.Show(l1 + u"\n" + l2 + u"\n\n" + l3, MsgIcon::Critical);
  } else if (j.TentativeCount > 0) {
    env.boxes.Show(l1 + u"\n\n" + l3, MsgIcon::Information);
  } else {
    env.boxes.Show(l1, MsgIcon::Information);
  }
}

}  // namespace

bool OpenOperation(RunEnvironment& env, JournalKind kind) {
  env.host.ShowHourglass();
  JournalWriter log = Writer(env);
  if (!log.OpenLog(kind, env.settings.LogMode)) {
    env.host.ShowNormalPointer();
    return false;
  }
  ObjectTable& o = env.objects;
  if (kind == JournalKind::Run) {
    for (int32_t i = 1; i <= o.ObjCount; ++i) {
      o.ObjOrigName[i].clear();
      o.ObjState[i] = kObjUnchanged;
    }
  }
  log.BeginOperation(kind);
  log.ReserveFor(o);
  return true;
}

OperationSummary CloseOperation(RunEnvironment& env, JournalKind kind) {
  const int32_t count = env.objects.ObjCount;
  JournalWriter log = Writer(env);
  log.FinishLog(kind);
  env.host.ShowReportText(log.BuildReport(kind, count));
  log.SaveReportFile(kind, count, env.settings.ReportMode, env.reportPath, env.reportSaved);
  if (kind == JournalKind::Run) {
    env.changeState = 3;
    env.host.RememberRule();
  }
  env.listStale = 1;
  env.host.RebuildOrderList();
  ShowResult(env, kind == JournalKind::Restore ? u"復元" : u"変更");
  const RunJournal& j = env.journal;
  return OperationSummary{true, j.DoneCount, j.ErrorCount, j.TentativeCount};
}

}  // namespace dovetam
