// The record of one rename run, re-run or restore: the log file and its
// in-memory copy, the three report lists, and the writer procedures around
// them (WriteLog, AddReportEntry, AddObjectStateEntry, and the sequences that
// open the log, finish it and publish the report).
//
// Log text is appended to LogText, the one copy of the operation's log, and
// its part not yet in the file reaches the file at the next FlushLog, in one
// write. The header line is written at once; after it the log is handed to
// the file only by the lines that announce a rename (evacuation and change
// lines), together with everything collected before them, just before that
// rename, and at the end. So each rename costs one write, the file always
// holds every line that announces a rename done so far, and everything is in
// the file before every question about it. A write failure asks whether to
// go on without the log; the log is closed and disabled either way, and No
// sets AbortRequested, which the operation sees right after the announcing
// line that failed.
//
// Every line is appended in place, field by field, without a string of its
// own, and whole or not at all: when memory runs out on the way (or a text
// would pass the text limit that stands in for it, capacities.h) the text
// is cut back to where the line began and std::bad_alloc goes on to the
// edge of the operation (operation_frame.h), so the log text and the report
// lists always end with whole lines and entries. A field (a path, a name, a
// status text) that holds a control character (U+0000..U+001F, U+007F) or a
// byte of a name that is not UTF-8 is written in the $'...' quoting of
// `ls --quoting-style=shell-escape`, so that every log line stays one line
// and the log stays UTF-8; other fields are written as they are. The report
// keeps every name as it is (its bytes on disk).
//
// Texts are UTF-16 in memory; the files are UTF-8 (utf8_codec.h). Line
// breaks in the log and the report are CR LF, as the formats want; message
// boxes get "\n".
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "core/objects/object_table.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/message_boxes.h"

namespace dovetam {

inline constexpr std::u16string_view kCrLf = u"\r\n";

// Which of the three operations a journal block belongs to.
enum class JournalKind { Run, ReRun, Restore };

// Entry kinds of AddReportEntry.
enum ReportEntryKind : int16_t { kReportDone = 1, kReportError = 2, kReportState = 3 };

struct RunJournal {
  std::u16string LogPath;
  std::unique_ptr<TextFile> LogStream;  // the open log during an operation
  std::u16string LogText;               // everything passed to WriteLog
  bool LogEnabled = false;
  bool AbortRequested = false;
  std::u16string ReportDoneList;
  std::u16string ReportErrorList;
  std::u16string ReportStateList;
  bool ReportFileOpen = false;
  // Counters of the operation in progress (feed the report's summary).
  int32_t DoneCount = 0;
  int32_t ErrorCount = 0;
  int32_t TentativeCount = 0;
  // LogText up to here is in the file (only meaningful while LogEnabled).
  std::size_t LogFlushed = 0;
  // The target whose lines end with a line announcing a rename (its own, or
  // the evacuation of a holder) that is not made yet; 0: none. An operation
  // that stops for want of memory there ends that target's lines with
  // "中断" (operation_frame.h).
  int32_t RenameDue = 0;
};

// How far the record of an operation has got: the length of the log text and
// of the three report lists, and the counters. An operation that took steps
// ahead (overlapped_renames.h) goes back to such a mark when one of them
// turns out to have failed.
struct JournalMark {
  std::size_t logText = 0;
  std::size_t doneList = 0, errorList = 0, stateList = 0;
  int32_t done = 0, errors = 0, tentative = 0;
};

// Appends a log field: as it is, or, when it holds a control character
// (U+0000 to U+001F, U+007F) or a byte of a name that is not UTF-8
// (U+DC80..U+DCFF), quoted as a whole in the $'...' form of the shell that
// `ls` shows such names in, so that every log line stays one line of UTF-8
// and the shell gives the exact bytes back: \n, \r and \t by name, other
// control characters and the bytes of a name that is not UTF-8 as \xHH, a
// backslash as \\ and a single quote as \'.
void AppendLogField(std::u16string& out, std::u16string_view field);
// The same for a field given in parts (a folder and a name): quoted as a
// whole when any part holds a control character.
void AppendLogField(std::u16string& out, std::u16string_view part1, std::u16string_view part2);

// The word of a state in log and report ("元名", "仮復元名", ...); empty for
// a value outside 0..4.
std::u16string_view StateName(uint8_t state);

// The services the writer needs: file system (log and report files), message
// boxes (its questions and failures) and the clock (header and footer dates);
// and the longest text it may keep (Capacities::textLimit).
struct JournalServices {
  FileSystem& fs;
  MessageBoxes& boxes;
  Clock& clock;
  std::size_t textLimit = SIZE_MAX;
};

class JournalWriter {
 public:
  JournalWriter(RunJournal& journal, JournalServices services)
      : j_(journal), svc_(services) {}

  RunJournal& journal() { return j_; }

  JournalMark Mark() const;
  // Back to a mark taken earlier in this operation: what was added since is
  // dropped, from the file's part too when it was not written yet.
  void BackTo(const JournalMark& mark);

  // Appends log text as it is (to LogText, and to the file at the next
  // flush). The lines of the formats are written by the Log...Line methods.
  void WriteLog(std::u16string_view text);
  // Hands the collected text to the file. A failure asks whether to go on
  // without the log (No sets AbortRequested) and disables the log.
  void FlushLog();
  // The two halves of FlushLog, for a caller that has the text written
  // elsewhere: TakePending gives the text not yet in the file, encoded, and
  // the file (nullptr: the log cannot be written) and counts the text as
  // handed over; false (bytes empty) when there is nothing to write.
  // WriteFailed is what a failed write leads to.
  bool TakePending(std::string& bytes, TextFile*& file);
  // TakePending of the text up to `end` only (a length of the log text);
  // the rest stays to be written. Counted as handed over only once encoded.
  bool TakePendingUpTo(std::size_t end, std::string& bytes, TextFile*& file);
  void WriteFailed();
  // The log closed and given up without a question: a write failed while
  // the operation stops anyway.
  void DropLog();

  // The log lines of an object. The object line by the target's state.
  void LogObjectLine(const ObjectTable& objects, int32_t index);
  // TAB "-> " name: the first of the rule-error and the same-name lines.
  void LogTargetLine(std::u16string_view name);
  // TAB "-> " candidate " " word ("変更開始", "復元開始"); announces a rename,
  // so it reaches the file at once with everything before it. `target` is
  // the object whose lines these are (RenameDue until the rename is made).
  void LogChangeLine(std::u16string_view candidate, std::u16string_view word, int32_t target);
  // The same line without handing it to the file.
  void AppendChangeLine(std::u16string_view candidate, std::u16string_view word);
  // TAB folder & name " -> " evacuation name " 退避開始"; announces a rename,
  // so it reaches the file at once with everything before it (RenameDue as
  // for LogChangeLine).
  void LogEvacuationLine(std::u16string_view folder, std::u16string_view name,
                         std::u16string_view evacuation, int32_t target);
  void AppendEvacuationLine(std::u16string_view folder, std::u16string_view name,
                            std::u16string_view evacuation);
  // TAB TAB word: the outcome of a rename, an evacuation or a target line
  // (no rename is due after it).
  void LogOutcomeLine(std::u16string_view word);
  // The same line, written ahead of the rename it tells of (the rename
  // stays due).
  void AppendOutcomeLine(std::u16string_view word);
  // TAB word: a skip line (also a system-error line).
  void LogSkipLine(std::u16string_view word);

  void AddReportEntry(int16_t kind, std::u16string_view path, std::u16string_view newName,
                      std::u16string_view status);
  // The same with the path given as folder and name.
  void AddReportEntry(int16_t kind, std::u16string_view folder, std::u16string_view name,
                      std::u16string_view newName, std::u16string_view status);
  void AddObjectStateEntry(const ObjectTable& objects, int32_t index);
  // The entries of a failed object: its error entry (folder & its name
  // before the run, or its current name in state 0), its state entry, and
  // the error count + 1.
  void AddErrorEntries(const ObjectTable& objects, int32_t index, std::u16string_view newName,
                       std::u16string_view status);

  // Opening the log: creates it (rename run) or appends to it (re-run,
  // restore) when logMode is on; when that fails asks whether to go on.
  // Returns false when the user answered No (nothing was changed).
  bool OpenLog(JournalKind kind, bool logMode);
  // Resets the operation's counters and lists and writes the header line.
  void BeginOperation(JournalKind kind);
  // Room in the log text and in the list of done entries for the lines of
  // an operation over every target of `objects`, so that they do not grow
  // by copying themselves over and over. Call after BeginOperation.
  void ReserveFor(const ObjectTable& objects);
  // The footer line, then closing the log file (CloseLog).
  void FinishLog(JournalKind kind);
  // The footer line alone, handed to the file with what is still to write.
  void WriteFooter(JournalKind kind);
  // When the footer does not fit in the log text: what is still to write,
  // then the footer, straight to the file (the log text keeps none).
  void WriteFooterToFile(JournalKind kind);
  // The lines that end the object of a rename announced and kept from being
  // made by a stop for want of memory (RenameDue): the outcome line "中断"
  // and the skip line "スキップ(中断)", in the log text, or straight to the
  // file (with what is still to write) when the log text has no room.
  void LogRenameStopped();
  // Closes the log file when it is open; a failure shows its message.
  void CloseLog();
  // The report text of the operation (format of the report window and file),
  // one text: it fails as memory does past the text limit.
  std::u16string BuildReport(JournalKind kind, int32_t objCount) const;
  // Writes the report file when reportMode is on: the text of BuildReport,
  // handed to the file in pieces straight from the journal, so that no
  // other copy of it is needed (it is written also when the whole text does
  // not fit in memory). Sets reportSaved once the file was created.
  // Failures show one message each. True when the file holds the report.
  bool SaveReportFile(JournalKind kind, int32_t objCount, bool reportMode,
                      const std::u16string& reportPath, bool& reportSaved);

 private:
  // The list of an entry kind; nullptr for any other kind.
  std::u16string* ReportList(int16_t kind);
  // What is still to write, then `text`, to the file alone.
  void WriteToFileAlone(std::u16string_view text);
  // Hands the pieces of the report text, in order, to append(u16string_view).
  template <typename Append>
  void ReportPieces(JournalKind kind, int32_t objCount, Append&& append) const;

  RunJournal& j_;
  JournalServices svc_;
  std::string bytes_;  // the encoded text of the last write
};

}  // namespace dovetam
