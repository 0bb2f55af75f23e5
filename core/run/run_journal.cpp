// The log and report writer: the exact texts of every log line, the report
// entries and report blocks, and the questions and messages of the log and
// report files. Cost: linear in the text written; one write of the log per
// rename.
#include "core/run/run_journal.h"

#include "core/common/decimal_text.h"
#include "core/common/memory_short.h"

#include <algorithm>

#include "platform/dates.h"
#include "platform/table_growth.h"
#include "platform/utf8_codec.h"

namespace dovetam {

namespace {

// One line or entry appended in place to a text of the journal, whole or not
// at all: unless Done() is reached, the text is cut back to where the line
// began (a shorter text needs no memory). Done() holds the text to the text
// limit, which fails as the allocation would.
class WholeLine {
 public:
  WholeLine(std::u16string& text, std::size_t limit)
      : text_(text), start_(text.size()), limit_(limit) {}
  ~WholeLine() {
    if (!done_) text_.resize(start_);
  }
  WholeLine(const WholeLine&) = delete;
  WholeLine& operator=(const WholeLine&) = delete;
  std::u16string& operator*() { return text_; }
  void Done() {
    AllowGrowth(text_.size(), limit_);
    done_ = true;
  }

 private:
  std::u16string& text_;
  const std::size_t start_;
  const std::size_t limit_;
  bool done_ = false;
};

// Appends a value of a report field, every double quote in it doubled.
void AppendDoubled(std::u16string& out, std::u16string_view value) {
  for (std::size_t quote; (quote = value.find(u'"')) != std::u16string_view::npos;) {
    out.append(value.substr(0, quote + 1));
    out += u'"';
    value.remove_prefix(quote + 1);
  }
  out.append(value);
}

// The report entry line of a path given as folder and name.
void AppendEntryLine(std::u16string& out, std::u16string_view folder, std::u16string_view name,
                     std::u16string_view newName, std::u16string_view status) {
  out += u'"';
  AppendDoubled(out, folder);
  AppendDoubled(out, name);
  out += u"\" \"";
  AppendDoubled(out, newName);
  out += u"\" \"";
  AppendDoubled(out, status);
  out += u'"';
  out += kCrLf;
}

bool IsControl(char16_t c) { return c < 0x20 || c == 0x7F; }

// A byte of a name that is not UTF-8 (utf8_codec.h).
bool IsOddByte(char16_t c) { return c >= 0xDC80 && c <= 0xDCFF; }

// Whether a log field is written quoted: it holds a control character, or a
// byte that written as it is would leave the log not UTF-8.
bool NeedsQuoting(std::u16string_view text) {
  return std::any_of(text.begin(), text.end(),
                     [](char16_t c) { return IsControl(c) || IsOddByte(c); });
}

void AppendHex(std::u16string& out, unsigned byte) {
  constexpr std::u16string_view kDigits = u"0123456789ABCDEF";
  out += u"\\x";
  out += kDigits[(byte >> 4) & 15];
  out += kDigits[byte & 15];
}

// The whole field in $'...': \n, \r and \t by name, the other control
// characters and the bytes of a name that is not UTF-8 as \xHH (the byte on
// disk), a backslash as \\ and a single quote as \'.
void AppendShellEscaped(std::u16string& out, std::u16string_view field) {
  out += u"$'";
  for (char16_t c : field) {
    switch (c) {
      case u'\n': out += u"\\n"; break;
      case u'\r': out += u"\\r"; break;
      case u'\t': out += u"\\t"; break;
      case u'\\': out += u"\\\\"; break;
      case u'\'': out += u"\\'"; break;
      default:
        if (IsControl(c))
          AppendHex(out, c);
        else if (IsOddByte(c))
          AppendHex(out, c - 0xDC00);
        else
          out += c;
    }
  }
  out += u'\'';
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

void AppendLogField(std::u16string& out, std::u16string_view field) {
  if (NeedsQuoting(field)) {
    AppendShellEscaped(out, field);
  } else {
    out += field;
  }
}

void AppendLogField(std::u16string& out, std::u16string_view part1, std::u16string_view part2) {
  if (NeedsQuoting(part1) || NeedsQuoting(part2)) {
    AppendShellEscaped(out, std::u16string(part1) + std::u16string(part2));
  } else {
    out += part1;
    out += part2;
  }
}

JournalMark JournalWriter::Mark() const {
  return {j_.LogText.size(),  j_.ReportDoneList.size(), j_.ReportErrorList.size(),
          j_.ReportStateList.size(), j_.DoneCount,   j_.ErrorCount,
          j_.TentativeCount};
}

void JournalWriter::BackTo(const JournalMark& mark) {
  j_.LogText.resize(mark.logText);
  j_.LogFlushed = std::min(j_.LogFlushed, mark.logText);
  j_.ReportDoneList.resize(mark.doneList);
  j_.ReportErrorList.resize(mark.errorList);
  j_.ReportStateList.resize(mark.stateList);
  j_.DoneCount = mark.done;
  j_.ErrorCount = mark.errors;
  j_.TentativeCount = mark.tentative;
}

void JournalWriter::WriteLog(std::u16string_view text) {
  WholeLine line(j_.LogText, svc_.textLimit);
  *line += text;
  line.Done();
}

void JournalWriter::FlushLog() {
  TextFile* file = nullptr;
  if (!TakePending(bytes_, file)) return;
  if ((file ? file->Write(bytes_) : kFsIoError) != kFsOk) WriteFailed();
}

bool JournalWriter::TakePending(std::string& bytes, TextFile*& file) {
  return TakePendingUpTo(j_.LogText.size(), bytes, file);
}

bool JournalWriter::TakePendingUpTo(std::size_t end, std::string& bytes, TextFile*& file) {
  bytes.clear();
  end = std::min(end, j_.LogText.size());
  if (!j_.LogEnabled || j_.LogFlushed >= end) return false;
  EncodeNativeLossyInto(std::u16string_view(j_.LogText).substr(j_.LogFlushed, end - j_.LogFlushed),
                        bytes);
  file = j_.LogStream.get();
  j_.LogFlushed = end;
  return true;
}

void JournalWriter::WriteFailed() {
  // Given up before the question, which may not be asked for want of memory.
  DropLog();
  std::u16string text = u"ログ(" + j_.LogPath + u")への書き込みに失敗しました。\n";
  text += u"ログを使用せずに続行しますか？";
  if (svc_.boxes.Show(text, MsgIcon::Critical, MsgButtons::YesNo, MsgAnswer::No) !=
      MsgAnswer::Yes) {
    j_.AbortRequested = true;
  }
}

void JournalWriter::DropLog() {
  if (j_.LogStream) j_.LogStream->Close();  // errors ignored: the log is given up
  j_.LogStream.reset();
  j_.LogEnabled = false;
}

void JournalWriter::AppendChangeLine(std::u16string_view candidate, std::u16string_view word) {
  WholeLine line(j_.LogText, svc_.textLimit);
  *line += u"\t-> ";
  AppendLogField(*line, candidate);
  *line += u' ';
  *line += word;
  *line += kCrLf;
  line.Done();
}

void JournalWriter::LogObjectLine(const ObjectTable& objects, int32_t index) {
  WholeLine line(j_.LogText, svc_.textLimit);
  std::u16string& log = *line;
  const uint8_t state = objects.ObjState[index];
  if (state == kObjUnchanged) {
    AppendLogField(log, objects.ObjFolder[index], objects.ObjName[index]);
    log += u" :";
  } else {
    AppendLogField(log, objects.ObjFolder[index], objects.ObjOrigName[index]);
    log += u" (";
    log += StateName(state);
    log += u' ';
    AppendLogField(log, objects.ObjName[index]);
    log += u") :";
  }
  log += kCrLf;
  line.Done();
}

void JournalWriter::LogTargetLine(std::u16string_view name) {
  WholeLine line(j_.LogText, svc_.textLimit);
  *line += u"\t-> ";
  AppendLogField(*line, name);
  *line += kCrLf;
  line.Done();
}

// An announcing line stays in the log text only once it was handed to the
// file (or the file failed): one that memory kept from the file announces
// nothing.
void JournalWriter::LogChangeLine(std::u16string_view candidate, std::u16string_view word,
                                  int32_t target) {
  WholeLine announced(j_.LogText, svc_.textLimit);
  AppendChangeLine(candidate, word);
  FlushLog();
  announced.Done();
  j_.RenameDue = target;
}

void JournalWriter::LogEvacuationLine(std::u16string_view folder, std::u16string_view name,
                                      std::u16string_view evacuation, int32_t target) {
  WholeLine announced(j_.LogText, svc_.textLimit);
  AppendEvacuationLine(folder, name, evacuation);
  FlushLog();
  announced.Done();
  j_.RenameDue = target;
}

void JournalWriter::AppendEvacuationLine(std::u16string_view folder, std::u16string_view name,
                                         std::u16string_view evacuation) {
  WholeLine line(j_.LogText, svc_.textLimit);
  *line += u'\t';
  AppendLogField(*line, folder, name);
  *line += u" -> ";
  AppendLogField(*line, evacuation);
  *line += u" 退避開始";
  *line += kCrLf;
  line.Done();
}

void JournalWriter::LogOutcomeLine(std::u16string_view word) {
  AppendOutcomeLine(word);
  j_.RenameDue = 0;
}

void JournalWriter::AppendOutcomeLine(std::u16string_view word) {
  WholeLine line(j_.LogText, svc_.textLimit);
  *line += u"\t\t";
  AppendLogField(*line, word);
  *line += kCrLf;
  line.Done();
}

void JournalWriter::LogSkipLine(std::u16string_view word) {
  WholeLine line(j_.LogText, svc_.textLimit);
  *line += u'\t';
  AppendLogField(*line, word);
  *line += kCrLf;
  line.Done();
}

std::u16string* JournalWriter::ReportList(int16_t kind) {
  switch (kind) {
    case kReportDone: return &j_.ReportDoneList;
    case kReportError: return &j_.ReportErrorList;
    case kReportState: return &j_.ReportStateList;
    default: return nullptr;
  }
}

void JournalWriter::AddReportEntry(int16_t kind, std::u16string_view path,
                                   std::u16string_view newName, std::u16string_view status) {
  AddReportEntry(kind, path, u"", newName, status);
}

void JournalWriter::AddReportEntry(int16_t kind, std::u16string_view folder,
                                   std::u16string_view name, std::u16string_view newName,
                                   std::u16string_view status) {
  std::u16string* list = ReportList(kind);
  if (!list) return;
  WholeLine entry(*list, svc_.textLimit);
  AppendEntryLine(*entry, folder, name, newName, status);
  entry.Done();
}

void JournalWriter::AddErrorEntries(const ObjectTable& objects, int32_t index,
                                    std::u16string_view newName, std::u16string_view status) {
  const bool unchanged = objects.ObjState[index] == kObjUnchanged;
  AddReportEntry(kReportError, objects.ObjFolder[index],
                 unchanged ? objects.ObjName[index] : objects.ObjOrigName[index], newName, status);
  AddObjectStateEntry(objects, index);
  ++j_.ErrorCount;
}

void JournalWriter::AddObjectStateEntry(const ObjectTable& objects, int32_t index) {
  const uint8_t state = objects.ObjState[index];
  const std::u16string& folder = objects.ObjFolder[index];
  if (state == kObjUnchanged) {
    AddReportEntry(kReportState, folder, objects.ObjName[index], u"", StateName(state));
  } else if (state <= kObjEvacuated) {
    AddReportEntry(kReportState, folder, objects.ObjOrigName[index], objects.ObjName[index],
                   StateName(state));
  }
}

bool JournalWriter::OpenLog(JournalKind kind, bool logMode) {
  j_.LogFlushed = j_.LogText.size();
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
  j_.RenameDue = 0;
  j_.DoneCount = j_.ErrorCount = j_.TentativeCount = 0;
  j_.LogText.clear();
  j_.LogFlushed = 0;
  j_.ReportDoneList.clear();
  j_.ReportErrorList.clear();
  j_.ReportStateList.clear();
  {
    WholeLine line(j_.LogText, svc_.textLimit);
    *line += FormatDate(svc_.clock.Now());
    *line += StartWord(kind);
    *line += kCrLf;
    line.Done();
  }
  // The header alone: a log that cannot be written at all is noticed before
  // the first object.
  FlushLog();
}

void JournalWriter::ReserveFor(const ObjectTable& objects) {
  // Per target: the object line (path), the line of the new name and the
  // outcome line, with their words and marks about 40 characters; the done
  // entry (path, new name, status), about 16. The new name is taken to be
  // as long as the current one.
  std::size_t texts = 0;
  for (int32_t i = 1; i <= objects.ObjCount; ++i) {
    texts += objects.ObjFolder[i].size() + 2 * objects.ObjName[i].size();
  }
  // Only a hint: without the room the texts grow step by step, and fail
  // only where memory really runs out.
  const std::size_t n = static_cast<std::size_t>(std::max(objects.ObjCount, 0));
  ReserveHint(j_.LogText, j_.LogText.size() + texts + 48 * n, svc_.textLimit);
  ReserveHint(j_.ReportDoneList, texts + 24 * n, svc_.textLimit);
}

void JournalWriter::FinishLog(JournalKind kind) {
  WriteFooter(kind);
  CloseLog();
}

void JournalWriter::WriteFooter(JournalKind kind) {
  {
    WholeLine line(j_.LogText, svc_.textLimit);
    *line += FormatDate(svc_.clock.Now());
    *line += EndWord(kind);
    *line += kCrLf;
    *line += kCrLf;
    line.Done();
  }
  FlushLog();
}

void JournalWriter::WriteToFileAlone(std::u16string_view text) {
  FlushLog();
  if (!j_.LogEnabled) return;
  EncodeNativeLossyInto(text, bytes_);
  if ((j_.LogStream ? j_.LogStream->Write(bytes_) : kFsIoError) != kFsOk) WriteFailed();
}

void JournalWriter::WriteFooterToFile(JournalKind kind) {
  std::u16string footer = FormatDate(svc_.clock.Now());
  footer += EndWord(kind);
  footer += kCrLf;
  footer += kCrLf;
  WriteToFileAlone(footer);
}

void JournalWriter::LogRenameStopped() {
  constexpr std::u16string_view kLines = u"\t\t中断\r\n\tスキップ(中断)\r\n";
  if (!MemoryAllows([&] { WriteLog(kLines); })) WriteToFileAlone(kLines);
  j_.RenameDue = 0;
}

void JournalWriter::CloseLog() {
  if (!j_.LogEnabled) return;
  const int err = j_.LogStream ? j_.LogStream->Close() : kFsOk;
  j_.LogStream.reset();
  j_.LogEnabled = false;
  if (err != kFsOk) {
    svc_.boxes.Show(u"ログ(" + j_.LogPath + u")を閉じることができませんでした。",
                    MsgIcon::Critical);
  }
}

template <typename Append>
void JournalWriter::ReportPieces(JournalKind kind, int32_t objCount, Append&& append) const {
  const std::u16string_view doneLabel =
      kind == JournalKind::Restore ? u"正常に復元されたオブジェクト" : u"正常に変更されたオブジェクト";
  append(kCrLf);
  append(u"オブジェクト総数 = ");
  append(DecimalText(objCount));
  append(kCrLf);
  append(doneLabel);
  append(u" = ");
  append(DecimalText(j_.DoneCount));
  append(kCrLf);
  append(u"エラーが発生したオブジェクト = ");
  append(DecimalText(j_.ErrorCount));
  append(kCrLf);
  if (j_.DoneCount > 0) {
    append(u"\r\n[");
    append(doneLabel);
    append(u"]\r\n\r\n");
    append(j_.ReportDoneList);
  }
  if (j_.ErrorCount > 0) {
    append(u"\r\n[エラーが発生したオブジェクト]\r\n\r\n");
    append(j_.ReportErrorList);
    append(u"\r\n[エラーが発生したオブジェクトの状態]\r\n\r\n");
    append(j_.ReportStateList);
  }
  append(u"\r\n[ログ]\r\n\r\n");
  append(j_.LogText);
}

std::u16string JournalWriter::BuildReport(JournalKind kind, int32_t objCount) const {
  std::size_t size = 0;
  ReportPieces(kind, objCount, [&size](std::u16string_view piece) { size += piece.size(); });
  AllowGrowth(size, svc_.textLimit);
  std::u16string r;
  r.reserve(size);
  ReportPieces(kind, objCount, [&r](std::u16string_view piece) { r += piece; });
  return r;
}

namespace {

// Hands text to a file in writes of about a mebibyte, never splitting a
// surrogate pair; after a failed write it writes nothing more.
class PieceWriter {
 public:
  explicit PieceWriter(TextFile& file) : file_(file) {}
  void Add(std::u16string_view text) {
    while (!text.empty() && err_ == kFsOk) {
      std::size_t n = std::min(kPiece - buffer_.size(), text.size());
      if (n < text.size() && n > 0 && text[n - 1] >= 0xD800 && text[n - 1] <= 0xDBFF) --n;
      if (buffer_.empty() && n == kPiece) {
        // A whole piece of a long list goes to the file straight from it.
        Write(text.substr(0, n));
      } else {
        buffer_ += text.substr(0, n);
      }
      text.remove_prefix(n);
      if (!text.empty()) Flush();
    }
  }
  int Finish() {
    Flush();
    return err_;
  }

 private:
  static constexpr std::size_t kPiece = std::size_t{1} << 19;
  void Write(std::u16string_view text) {
    EncodeNativeLossyInto(text, bytes_);
    err_ = file_.Write(bytes_);
  }
  void Flush() {
    if (err_ == kFsOk && !buffer_.empty()) Write(buffer_);
    buffer_.clear();
  }
  TextFile& file_;
  std::u16string buffer_;
  std::string bytes_;
  int err_ = kFsOk;
};

}  // namespace

bool JournalWriter::SaveReportFile(JournalKind kind, int32_t objCount, bool reportMode,
                                   const std::u16string& reportPath, bool& reportSaved) {
  j_.ReportFileOpen = reportMode;
  if (!j_.ReportFileOpen) return false;
  std::unique_ptr<TextFile> file;
  if (svc_.fs.CreateTextFile(reportPath, file) != kFsOk || !file) {
    svc_.boxes.Show(u"レポート用のファイル(" + reportPath + u")を開くことができませんでした。",
                    MsgIcon::Critical);
    j_.ReportFileOpen = false;
    return false;
  }
  // Created: saved, whatever becomes of the writing (memory running out in
  // it included).
  reportSaved = true;
  // Written from the journal itself, as BuildReport assembles it.
  PieceWriter writer(*file);
  ReportPieces(kind, objCount, [&writer](std::u16string_view piece) { writer.Add(piece); });
  const int err = writer.Finish();
  if (err != kFsOk) {
    svc_.boxes.Show(u"レポート用のファイル(" + reportPath + u")にレポートを保存できませんでした。",
                    MsgIcon::Critical);
  }
  const int closeErr = file->Close();
  if (closeErr != kFsOk) {
    svc_.boxes.Show(u"レポート用のファイル(" + reportPath + u")を閉じることができませんでした。",
                    MsgIcon::Critical);
  }
  return err == kFsOk && closeErr == kFsOk;
}

}  // namespace dovetam
