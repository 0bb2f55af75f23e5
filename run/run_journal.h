// The record of one rename run, re-run or restore: the log file and its
// in-memory copy, the three report lists, and the writer procedures around
// them (WriteLog, AddReportEntry, AddObjectStateEntry, and the sequences that
// open the log, finish it and publish the report).
//
// Log text handed to WriteLog is collected and reaches the file at the next
// FlushLog, in one write. The operations flush before every rename a line
// announces and at every point where they test AbortRequested, so the file
// always holds every line that announces a rename done so far, and a failing
// write is noticed exactly where the operation would stop. A write failure
// asks whether to go on without the log; the log is closed and disabled
// either way, and No sets AbortRequested.
//
// Texts are UTF-16 in memory; the files are UTF-8 (TextFile). Line breaks in
// the log and the report are CR LF, as the formats want; message boxes get
// "\n".
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "objects/object_table.h"
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
  // Log text not yet handed to the file (only while LogEnabled).
  std::u16string PendingLog;
};

// The word of a state in log and report ("元名", "仮復元名", ...); empty for
// a value outside 0..4.
std::u16string_view StateName(uint8_t state);

// The services the writer needs: file system (log and report files), message
// boxes (its questions and failures) and the clock (header and footer dates).
struct JournalServices {
  FileSystem& fs;
  MessageBoxes& boxes;
  Clock& clock;
};

class JournalWriter {
 public:
  JournalWriter(RunJournal& journal, JournalServices services)
      : j_(journal), svc_(services) {}

  RunJournal& journal() { return j_; }

  // Appends log text (to LogText, and to the file at the next flush).
  void WriteLog(std::u16string_view text);
  // Hands the collected text to the file. A failure asks whether to go on
  // without the log (No sets AbortRequested) and disables the log.
  void FlushLog();
  // WriteLog and FlushLog: a line after which the operation tests
  // AbortRequested, or one that announces a rename.
  void WriteLogNow(std::u16string_view text) {
    WriteLog(text);
    FlushLog();
  }

  void AddReportEntry(int16_t kind, std::u16string_view path, std::u16string_view newName,
                      std::u16string_view status);
  void AddObjectStateEntry(const ObjectTable& objects, int32_t index);

  // Opening the log: creates it (rename run) or appends to it (re-run,
  // restore) when logMode is on; when that fails asks whether to go on.
  // Returns false when the user answered No (nothing was changed).
  bool OpenLog(JournalKind kind, bool logMode);
  // Resets the operation's counters and lists and writes the header line.
  void BeginOperation(JournalKind kind);
  // The footer line, then closing the log file.
  void FinishLog(JournalKind kind);
  // The report text of the operation (format of the report window and file).
  std::u16string BuildReport(JournalKind kind, int32_t objCount) const;
  // Writes the report file when reportMode is on; sets reportSaved once the
  // file was created. Failures show one message each.
  void SaveReportFile(const std::u16string& report, bool reportMode,
                      const std::u16string& reportPath, bool& reportSaved);

 private:
  RunJournal& j_;
  JournalServices svc_;
};

// Entry line of the report: three double-quoted fields (quotes inside
// doubled), separated by a blank, ended by CR LF.
std::u16string ReportEntryLine(std::u16string_view path, std::u16string_view newName,
                               std::u16string_view status);

}  // namespace dovetam
