// The opening and the closing of an operation: see operation_frame.h.
#include "core/run/operation_frame.h"

#include "core/common/decimal_text.h"

namespace dovetam {

namespace {

JournalWriter Writer(RunEnvironment& env) {
  return JournalWriter(env.journal,
                       JournalServices{env.fs, env.boxes, env.clock, env.caps.textLimit});
}

// One step of the closing; false when memory ran out in it (the step is
// left as far as it got).
template <typename Step>
bool MemoryAllows(Step&& step) {
  try {
    step();
    return true;
  } catch (const std::bad_alloc&) {
    return false;
  }
}

// The lines of the result message, with `verb` "変更" or "復元": L1 (the
// done count), L2 (the error count).
void ResultLines(const RunJournal& j, std::u16string_view verb, std::u16string& l1,
                 std::u16string& l2) {
  l1 = u" ";
  l1 += DecimalText(j.DoneCount);
  l1 += j.TentativeCount > 0 ? u" 個 の オブジェクト名を一応" : u" 個 の オブジェクト名を正常に";
  l1 += verb;
  l1 += u"しました。";
  l2 = u" ";
  l2 += DecimalText(j.ErrorCount);
  l2 += u" 個 の オブジェクト名を";
  l2 += verb;
  l2 += u"できませんでした。";
}

constexpr std::u16string_view kSeeReport = u"詳細は、レポートを参照してください。";

// The result message; the critical icon when any object failed.
void ShowResult(RunEnvironment& env, std::u16string_view verb) {
  const RunJournal& j = env.journal;
  std::u16string l1, l2;
  ResultLines(j, verb, l1, l2);
  const std::u16string l3(kSeeReport);
  if (j.ErrorCount > 0) {
    env.boxes.Show(l1 + u"\n" + l2 + u"\n\n" + l3, MsgIcon::Critical);
  } else if (j.TentativeCount > 0) {
    env.boxes.Show(l1 + u"\n\n" + l3, MsgIcon::Information);
  } else {
    env.boxes.Show(l1, MsgIcon::Information);
  }
}

// In place of the result message after memory ran out: what was done, and
// where to read more when a report was made.
void ShowMemoryStop(RunEnvironment& env, std::u16string_view verb, bool reported) {
  const RunJournal& j = env.journal;
  std::u16string l1, l2;
  ResultLines(j, verb, l1, l2);
  std::u16string text = u"メモリ不足のため、\n処理を最後まで実行できませんでした。\n\n" + l1;
  if (j.ErrorCount > 0) text += u"\n" + l2;
  if (reported) text += u"\n\n" + std::u16string(kSeeReport);
  env.boxes.Show(text, MsgIcon::Critical);
}

}  // namespace

bool OpenOperation(RunEnvironment& env, JournalKind kind, bool& begun) {
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
  begun = true;
  log.ReserveFor(o);
  return true;
}

OperationSummary StoppedBeforeStart(RunEnvironment& env) {
  Writer(env).DropLog();
  env.host.ShowNormalPointer();
  MemoryAllows([&] {
    env.boxes.Show(u"メモリ不足のため、処理を実行できませんでした。", MsgIcon::Critical);
  });
  OperationSummary s;
  s.memoryShort = true;
  return s;
}

OperationSummary CloseOperation(RunEnvironment& env, JournalKind kind, bool memoryShort) {
  const int32_t count = env.objects.ObjCount;
  JournalWriter log = Writer(env);
  if (const int32_t i = env.journal.RenameDue; memoryShort && i != 0) {
    // Stopped between the line that announces a rename and the rename: the
    // object's lines end as when the user chose to stop.
    MemoryAllows([&] {
      log.LogOutcomeLine(u"中断");
      log.LogSkipLine(u"スキップ(中断)");
      log.AddErrorEntries(env.objects, i, u"", u"中断");
    });
  }
  const std::size_t logged = env.journal.LogText.size();
  if (!MemoryAllows([&] { log.WriteFooter(kind); })) {
    memoryShort = true;
    if (env.journal.LogText.size() == logged) {
      MemoryAllows([&] { log.WriteFooterToFile(kind); });
    } else {
      MemoryAllows([&] { log.FlushLog(); });  // the footer is in the log text
    }
  }
  memoryShort |= !MemoryAllows([&] { log.CloseLog(); });
  const bool shown =
      MemoryAllows([&] { env.host.ShowReportText(log.BuildReport(kind, count)); });
  if (!shown) {
    // No report of an earlier operation may stay in the window.
    memoryShort = true;
    MemoryAllows([&] { env.host.ShowReportText(u"(レポートはありません。)"); });
  }
  bool saved = false;
  memoryShort |= !MemoryAllows([&] {
    saved = log.SaveReportFile(kind, count, env.settings.ReportMode, env.reportPath,
                               env.reportSaved);
  });
  if (kind == JournalKind::Run) {
    env.changeState = 3;
    memoryShort |= !MemoryAllows([&] { env.host.RememberRule(); });
  }
  env.listStale = 1;
  if (!MemoryAllows([&] { env.host.RebuildOrderList(); })) {
    memoryShort = true;
    env.host.ShowNormalPointer();
  }
  const std::u16string_view verb = kind == JournalKind::Restore ? u"復元" : u"変更";
  MemoryAllows([&] {
    if (memoryShort) {
      ShowMemoryStop(env, verb, shown || saved);
    } else {
      ShowResult(env, verb);
    }
  });
  const RunJournal& j = env.journal;
  return OperationSummary{true, j.DoneCount, j.ErrorCount, j.TentativeCount, memoryShort};
}

}  // namespace dovetam
