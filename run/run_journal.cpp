// The log and report writer: the exact texts of the header, footer, report
// entries and report blocks, and the questions and messages of the log and
// report files. Cost: linear in the text written.
#include "run/run_journal.h"
#include "app/decimal_text.h"

#include "platform/dates.h"

namespace dovetam {

namespace {

std::u16string Quoted(std::u16string_view value) {
  std::u16string out;
  out.reserve(value.size() + 2);
  out += u'"';
  for (char16_t c : value) {
    out += c;
    if (c == u'"') out += u'"';
  }
  out += u'"';
  return out;
}

std::u16string_view StartWord(JournalKind kind) {
  switch (kind) {
    case JournalKind::Run: return u" 名前変更開始";
    case JournalKind::ReRun: return u" 名前再変更開始";
    case JournalKind::Restore: return u" 名前復元開始";
  }
  return {};
}

std::u16string_view EndWord(JournalKind kind) {
  switch (kind) {
    case JournalKind::Run: return u" 名前変更終了";
    case JournalKind::ReRun: return u" 名前再変更終了";
    case JournalKind::Restore: return u" 名前復元終了";
  }
  return {};
}

}  // namespace

std::u16string_view StateName(uint8_t state) {
  switch (state) {
    case 0: return u"元名";
    case 1: return u"仮復元名";
    case 2: return u"変更名";
    case 3: return u"仮変更名";
    case 4: return u"退避名";
  }
  return {};
}

std::u16string ReportEntryLine(std::u16string_view path, std::u16string_view newName,
                               std::u16string_view status) {
  std::u16string line = Quoted(path);
  line += u' ';
  line += Quoted(newName);
  line += u' ';
  line += Quoted(status);
  line += kCrLf;
  return line;
}

void JournalWriter::WriteLog(std::u16string_view text) {
  j_.LogText += text;
  if (j_.LogEnabled) j_.PendingLog += text;
}

void JournalWriter::FlushLog() {
  if (!j_.LogEnabled || j_.PendingLog.empty()) return;
  const int err = j_.LogStream ? j_.LogStream->Write(j_.PendingLog) : kFsIoError;
  j_.PendingLog.clear();
  if (err == kFsOk) return;
  std::u16string text = u"ログ(" + j_.LogPath + u")への書き込みに失敗しました。\n";
  text += u"ログを使用せずに続行しますか？";
  if (svc_.boxes.Show(text, MsgIcon::Critical, MsgButtons::YesNo, MsgAnswer::No) !=
      MsgAnswer::Yes) {
    j_.AbortRequested = true;
  }
  if (j_.LogStream) j_.LogStream->Close();  // errors ignored: the log is given up
  j_.LogStream.reset();
  j_.LogEnabled = false;
}

void JournalWriter::AddReportEntry(int16_t kind, std::u16string_view path,
                                   std::u16string_view newName, std::u16string_view status) {
  switch (kind) {
    case kReportDone: j_.ReportDoneList += ReportEntryLine(path, newName, status); break;
    case kReportError: j_.ReportErrorList += ReportEntryLine(path, newName, status); break;
    case kReportState: j_.ReportStateList += ReportEntryLine(path, newName, status); break;
    default: break;
  }
}

void JournalWriter::AddObjectStateEntry(const ObjectTable& objects, int32_t index) {
  const uint8_t state = objects.ObjState[index];
  const std::u16string& folder = objects.ObjFolder[index];
  if (state == kObjUnchanged) {
    AddReportEntry(kReportState, folder + objects.ObjName[index], u"", StateName(state));
  } else if (state <= kObjEvacuated) {
    AddReportEntry(kReportState, folder + objects.ObjOrigName[index], objects.ObjName[index],
                   StateName(state));
  }
}

bool JournalWriter::OpenLog(JournalKind kind, bool logMode) {
  j_.PendingLog.clear();
  j_.LogStream.reset();
  if (!logMode) {
    j_.LogEnabled = false;
    return true;
  }
  std::unique_ptr<TextFile> stream;
  const int err = kind == JournalKind::Run ? svc_.fs.CreateTextFile(j_.LogPath, stream)
                                           : svc_.fs.AppendTextFile(j_.LogPath, stream);
  j_.LogEnabled = err == kFsOk && stream != nullptr;
  if (j_.LogEnabled) {
    j_.LogStream = std::move(stream);
    return true;
  }
  std::u16string text = u"ログファイル(" + j_.LogPath;
  text += kind == JournalKind::Run ? u")を作成できませんでした。\n" : u")を開けませんでした。\n";
  text += u"続行しますか？";
  return svc_.boxes.Show(text, MsgIcon::Critical, MsgButtons::YesNo, MsgAnswer::No) ==
         MsgAnswer::Yes;
}

void JournalWriter::BeginOperation(JournalKind kind) {
  j_.AbortRequested = false;
  j_.DoneCount = j_.ErrorCount = j_.TentativeCount = 0;
  j_.LogText.clear();
  j_.ReportDoneList.clear();
  j_.ReportErrorList.clear();
  j_.ReportStateList.clear();
  std::u16string header = FormatDate(svc_.clock.Now());
  header += StartWord(kind);
  header += kCrLf;
  WriteLog(header);
}

void JournalWriter::FinishLog(JournalKind kind) {
  std::u16string footer = FormatDate(svc_.clock.Now());
  footer += EndWord(kind);
  footer += kCrLf;
  footer += kCrLf;
  WriteLogNow(footer);
  if (!j_.LogEnabled) return;
  const int err = j_.LogStream ? j_.LogStream->Close() : kFsOk;
  j_.LogStream.reset();
  j_.LogEnabled = false;
  if (err != kFsOk) {
    svc_.boxes.Show(u"ログ(" + j_.LogPath + u")を閉じることができませんでした。",
                    MsgIcon::Critical);
  }
}

std::u16string JournalWriter::BuildReport(JournalKind kind, int32_t objCount) const {
  const std::u16string_view doneLabel =
      kind == JournalKind::Restore ? u"正常に復元されたオブジェクト" : u"正常に変更されたオブジェクト";
  std::u16string r;
  r.reserve(j_.LogText.size() + j_.ReportDoneList.size() + j_.ReportErrorList.size() +
            j_.ReportStateList.size() + 256);
  r += kCrLf;
  r += u"オブジェクト総数 = " + DecimalText(objCount);
  r += kCrLf;
  r += doneLabel;
  r += u" = " + DecimalText(j_.DoneCount);
  r += kCrLf;
  r += u"エラーが発生したオブジェクト = " + DecimalText(j_.ErrorCount);
  r += kCrLf;
  if (j_.DoneCount > 0) {
    r += kCrLf;
    r += u'[';
    r += doneLabel;
    r += u']';
    r += kCrLf;
    r += kCrLf;
    r += j_.ReportDoneList;
  }
  if (j_.ErrorCount > 0) {
    r += kCrLf;
    r += u"[エラーが発生したオブジェクト]";
    r += kCrLf;
    r += kCrLf;
    r += j_.ReportErrorList;
    r += kCrLf;
    r += u"[エラーが発生したオブジェクトの状態]";
    r += kCrLf;
    r += kCrLf;
    r += j_.ReportStateList;
  }
  r += kCrLf;
  r += u"[ログ]";
  r += kCrLf;
  r += kCrLf;
  r += j_.LogText;
  return r;
}

void JournalWriter::SaveReportFile(const std::u16string& report, bool reportMode,
                                   const std::u16string& reportPath, bool& reportSaved) {
  j_.ReportFileOpen = reportMode;
  if (!j_.ReportFileOpen) return;
  std::unique_ptr<TextFile> file;
  if (svc_.fs.CreateTextFile(reportPath, file) != kFsOk || !file) {
    svc_.boxes.Show(u"レポート用のファイル(" + reportPath + u")を開くことができませんでした。",
                    MsgIcon::Critical);
    j_.ReportFileOpen = false;
    return;
  }
  if (file->Write(report) != kFsOk) {
    svc_.boxes.Show(u"レポート用のファイル(" + reportPath + u")にレポートを保存できませんでした。",
                    MsgIcon::Critical);
  }
  reportSaved = true;
  if (file->Close() != kFsOk) {
    svc_.boxes.Show(u"レポート用のファイル(" + reportPath + u")を閉じることができませんでした。",
                    MsgIcon::Critical);
  }
}

}  // namespace dovetam
