// The opening and the closing of an operation: see operation_frame.h.
#include "core/run/operation_frame.h"

#include "core/common/decimal_text.h"
#include "core/common/memory_short.h"

namespace dovetam {

namespace {

JournalWriter Writer(RunEnvironment& env) {
  return JournalWriter(env.journal,
                       JournalServices{env.fs, env.boxes, env.clock, env.caps.textLimit});
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

// What ran short in the closing of an operation whose targets were all
// done: each step's note, in the order of the steps.
struct ClosingShort {
  bool report = false;  // the report text did not fit: not shown
  bool saved = false;   // the report file could not be written for it
  bool lists = false;   // the rule boxes or the order list could not be taken
  bool Any() const { return report || saved || lists; }
};

// The result message; the critical icon when any object failed. A closing
// that ran short adds what it could not do.
void ShowResult(RunEnvironment& env, std::u16string_view verb, const ClosingShort& closing) {
  const RunJournal& j = env.journal;
  std::u16string l1, l2;
  ResultLines(j, verb, l1, l2);
  std::u16string text = l1;
  if (j.ErrorCount > 0) text += u"\n" + l2;
  if (j.ErrorCount > 0 || j.TentativeCount > 0) text += u"\n\n" + std::u16string(kSeeReport);
  if (closing.Any()) {
    text += u"\n";
    for (const auto& [ran, what] : {std::pair{closing.report, MemoryShort::ReportNotShown},
                                    std::pair{closing.saved, MemoryShort::ReportNotSaved},
                                    std::pair{closing.lists, MemoryShort::ListsNotShown}}) {
      if (ran) text += u"\n" + std::u16string(MemoryShortText(what));
    }
  }
  const MsgIcon icon = j.ErrorCount > 0    ? MsgIcon::Critical
                       : closing.Any()     ? MsgIcon::Exclamation
                                           : MsgIcon::Information;
  env.boxes.Show(text, icon);
}

// In place of the result message after memory stopped the targets: what was
// done, and where to read more when a report was made.
void ShowMemoryStop(RunEnvironment& env, std::u16string_view verb, bool reported) {
  const RunJournal& j = env.journal;
  std::u16string l1, l2;
  ResultLines(j, verb, l1, l2);
  std::u16string text(MemoryShortText(MemoryShort::NotFinished));
  text += u"\n\n" + l1;
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
    env.boxes.Show(MemoryShortText(MemoryShort::NotDone), MsgIcon::Critical);
  });
  OperationSummary s;
  s.memoryShort = true;
  return s;
}

OperationSummary CloseOperation(RunEnvironment& env, JournalKind kind, bool memoryShort) {
  const int32_t count = env.objects.ObjCount;
  JournalWriter log = Writer(env);
  // Each step is taken also when one before it ran short.
  if (const int32_t i = env.journal.RenameDue; memoryShort && i != 0) {
    // Stopped between the line that announces a rename and the rename: the
    // object's lines end as when the user chose to stop.
    MemoryAllows([&] { log.LogRenameStopped(); });
    MemoryAllows([&] { log.AddErrorEntries(env.objects, i, u"", u"中断"); });
  }
  // The footer: in the log text, or straight to the file when it has no
  // room; the log file holds every line either way.
  const std::size_t logged = env.journal.LogText.size();
  if (!MemoryAllows([&] { log.WriteFooter(kind); })) {
    if (env.journal.LogText.size() == logged) {
      MemoryAllows([&] { log.WriteFooterToFile(kind); });
    } else {
      MemoryAllows([&] { log.FlushLog(); });  // the footer is in the log text
    }
  }
  MemoryAllows([&] { log.CloseLog(); });
  ClosingShort closing;
  closing.report = !MemoryAllows([&] { env.host.ShowReportText(log.BuildReport(kind, count)); });
  if (closing.report) {
    // No report of an earlier operation may stay in the window.
    MemoryAllows([&] { env.host.ShowReportText(u"(レポートはありません。)"); });
  }
  bool saved = false;
  closing.saved = !MemoryAllows([&] {
    saved = log.SaveReportFile(kind, count, env.settings.ReportMode, env.reportPath,
                               env.reportSaved);
  });
  if (kind == JournalKind::Run) {
    env.changeState = 3;
    closing.lists = !MemoryAllows([&] { env.host.RememberRule(); });
  }
  env.listStale = 1;
  if (!MemoryAllows([&] { env.host.RebuildOrderList(); })) {
    closing.lists = true;
    env.host.ShowNormalPointer();
  }
  const std::u16string_view verb = kind == JournalKind::Restore ? u"復元" : u"変更";
  MemoryAllows([&] {
    if (memoryShort) {
      ShowMemoryStop(env, verb, !closing.report || saved);
    } else {
      ShowResult(env, verb, closing);
    }
  });
  const RunJournal& j = env.journal;
  return OperationSummary{true, j.DoneCount, j.ErrorCount, j.TentativeCount,
                          memoryShort || closing.Any()};
}

}  // namespace dovetam
