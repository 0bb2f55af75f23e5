// A rename run on real files: a temporary folder whose subfolder "w/" holds
// the targets and "p/" the log and the report, the real file system behind a
// failure-injecting wrapper (which takes calls from two threads, so the run
// hands its renames to its rename thread unless renameThread is cleared),
// scripted message boxes, a fixed clock, and a rule given as a table of new
// names (a name not in the table stays as it is). The host records what the
// window would have done.
//
// FileRun is the same without a fixture, for runs of many numbered files
// made by a test itself (or by a child process of it).
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/settings/settings.h"
#include "core/objects/object_table.h"
#include "platform/capacities.h"
#include "platform/dates.h"
#include "platform/file_system.h"
#include "platform/utf8_codec.h"
#include "core/rule/rule_context.h"
#include "core/run/rename_run.h"
#include "core/run/restore_run.h"
#include "core/run/run_environment.h"
#include "core/run/run_journal.h"
#include "testing/fake_message_boxes.h"
#include "testing/faulty_file_system.h"
#include "testing/fixed_clock.h"
#include "testing/temp_dir.h"

namespace dovetam::testing {

// An entry line of the report, as the report shows it: three fields in
// double quotes, each double quote inside doubled, separated by a blank and
// ended by CR LF.
inline std::u16string ReportEntryLine(std::u16string_view path, std::u16string_view newName,
                                      std::u16string_view status) {
  std::u16string line;
  for (const std::u16string_view field : {path, newName, status}) {
    if (!line.empty()) line += u' ';
    line += u'"';
    for (const char16_t c : field) {
      line += c;
      if (c == u'"') line += c;
    }
    line += u'"';
  }
  return line + u"\r\n";
}

// What a run, re-run or restore works on besides its files, its rule and its
// host: the tables and the journal, the flags the window keeps, scripted
// message boxes and a fixed clock. The run hands its renames to its rename
// thread unless renameThread is cleared.
struct RunState {
  bool renameThread = true;
  FakeMessageBoxes boxes;
  FixedClock clock{MakeDate(2026, 1, 2, 3, 4, 5)};
  Settings settings;
  ObjectTable objects;
  RunJournal journal;
  bool reportSaved = false;
  int16_t changeState = 0;
  int16_t listStale = 0;
  RuleContext context;
  Capacities caps{};  // the run's limits: none unless a test sets them

  // The environment of an operation on this state.
  RunEnvironment EnvWith(FileSystem& fs, const std::u16string& reportPath, NameGenerator generate,
                         RunHost& host) {
    return RunEnvironment{objects,     settings,   fs,          renameThread, boxes,
                          clock,       journal,    reportPath,  reportSaved,  changeState,
                          listStale,   context,    std::move(generate),       host,
                          caps};
  }
};

// Records the window's steps of an operation.
class RecordingHost : public RunHost {
 public:
  std::vector<std::string> steps;
  std::u16string reportText;
  void ShowHourglass() override { steps.push_back("hourglass"); }
  void ShowNormalPointer() override { steps.push_back("normal"); }
  void ShowReportText(std::u16string text) override {
    steps.push_back("report");
    reportText = std::move(text);
  }
  void RememberRule() override { steps.push_back("remember"); }
  void RebuildOrderList() override { steps.push_back("rebuild"); }
};

class RunTest : public TempDirTest, public RunState {
 protected:
  RunTest() {
    dir.MakeFolder(u"w");
    dir.MakeFolder(u"p");
    journal.LogPath = dir.PathOf(u"p/dovetam_rename.log");
    objects.Reset(10);
  }

  // Makes a file (or folder) under "w/" and appends it as a target.
  void AddTarget(const std::u16string& relative, bool isFolder = false) {
    if (isFolder) {
      dir.MakeFolder(u"w/" + relative);
    } else {
      dir.MakeFile(u"w/" + relative, "x");
    }
    AddTargetOnly(relative, isFolder);
  }
  // Appends a target without touching the disk.
  void AddTargetOnly(const std::u16string& relative, bool isFolder = false) {
    const std::size_t slash = relative.rfind(u'/');
    const std::u16string folder =
        W() + (slash == std::u16string::npos ? u"" : relative.substr(0, slash + 1));
    const std::u16string name = slash == std::u16string::npos ? relative : relative.substr(slash + 1);
    ASSERT_TRUE(objects.Append(folder, name, isFolder, 1.0, 1.0, Capacities::Small()));
  }
  // Sets the new name of `name`; an error kind makes the rule fail instead.
  void Rule(const std::u16string& name, const std::u16string& newName) { rule[name] = newName; }
  void RuleError(const std::u16string& name, int16_t kind, const std::u16string& text) {
    ruleErrors[name] = {kind, text};
  }

  std::u16string W() const { return dir.PathOf(u"w/"); }
  std::vector<std::u16string> Names(const std::u16string& sub = u"") const {
    std::u16string folder(u"w");
    if (!sub.empty()) folder.append(1, u'/').append(sub);
    return dir.Names(folder);
  }
  std::vector<int> States() const {
    std::vector<int> s;
    for (int32_t i = 1; i <= objects.ObjCount; ++i) s.push_back(objects.ObjState[i]);
    return s;
  }
  std::vector<std::u16string> TargetNames() const {
    std::vector<std::u16string> n;
    for (int32_t i = 1; i <= objects.ObjCount; ++i) n.push_back(objects.ObjName[i]);
    return n;
  }
  // The log file as text ("" when it does not exist).
  std::u16string LogFile() const {
    if (!dir.Exists(u"p/dovetam_rename.log")) return u"";
    return DecodeNative(dir.ReadFile(u"p/dovetam_rename.log"));
  }
  std::u16string ReportFile() const {
    if (!dir.Exists(u"p/dovetam_report.dat")) return u"";
    return DecodeNative(dir.ReadFile(u"p/dovetam_report.dat"));
  }
  // W() in a log or report text.
  std::u16string Header(std::u16string_view word) const { return std::u16string(kDate) + std::u16string(word) + u"\r\n"; }

  RunEnvironment Env() {
    return EnvWith(fs, reportPath, [this](const std::u16string& name) { return Generate(name); },
                   host);
  }
  // Runs with the confirmation answered Yes (and any queued answers after it).
  OperationSummary Run(int index = 1) {
    boxes.answers.push_front(MsgAnswer::Yes);
    RunEnvironment env = Env();
    return ExecuteRenameRun(env, index);
  }
  OperationSummary Restore() {
    boxes.answers.push_front(MsgAnswer::Yes);
    RunEnvironment env = Env();
    return RestoreNames(env);
  }

  std::u16string Generate(const std::u16string& name) {
    generated.push_back(name);
    context.RuleErrorKind = 0;
    context.RuleErrorText.clear();
    if (auto e = ruleErrors.find(name); e != ruleErrors.end()) {
      context.RuleErrorKind = e->second.first;
      context.RuleErrorText = e->second.second;
      return u"";
    }
    auto it = rule.find(name);
    return it == rule.end() ? name : it->second;
  }

  static constexpr std::u16string_view kDate = u"2026/01/02 03:04:05";

  std::unique_ptr<FileSystem> realFs = CreateSystemFileSystem();
  FaultyFileSystem fs{*realFs};
  std::u16string reportPath = dir.PathOf(u"p/dovetam_report.dat");
  RecordingHost host;
  std::map<std::u16string, std::u16string> rule;
  std::map<std::u16string, std::pair<int16_t, std::u16string>> ruleErrors;
  std::vector<std::u16string> generated;  // every name handed to the rule
};

// A host that only keeps the report text.
class ReportHost : public RunHost {
 public:
  void ShowHourglass() override {}
  void ShowNormalPointer() override {}
  void ShowReportText(std::u16string text) override { report = std::move(text); }
  void RememberRule() override {}
  void RebuildOrderList() override {}
  std::u16string report;
};

// `files` targets f0001, f0002, ... (four digits, more when there are more
// files) with the given dates, in the folder `where` ("w" unless a long path
// is wanted) of a temporary folder that also holds the log "log.txt" and the
// report "report.txt"; the confirmation of the run is answered Yes. The run
// hands its renames to its rename thread unless renameThread is cleared.
struct FileRun : RunState {
  explicit FileRun(int files, double date = 1.0, std::u16string folder = u"w")
      : width(Width(files)), where(std::move(folder)) {
    dir.MakeFolder(where);
    objects.Reset(files);
    journal.LogPath = dir.PathOf(u"log.txt");
    for (int k = 1; k <= files; ++k) {
      dir.MakeFile(where + u"/" + Name(k), "x");
      EXPECT_TRUE(objects.Append(Folder(), Name(k), false, date, date, Capacities::Large()));
    }
    boxes.QueueAnswer(MsgAnswer::Yes);
  }
  // The targets' folder (ending in "/") and the names in it.
  std::u16string Folder() const { return dir.PathOf(where + u"/"); }
  std::vector<std::u16string> Names() const { return dir.Names(where); }
  bool Exists(const std::u16string& name) const { return dir.Exists(where + u"/" + name); }
  // "f" and k in `digits` digits.
  static std::u16string Numbered(char16_t letter, int k, int digits) {
    std::u16string s(static_cast<std::size_t>(digits) + 1, u'0');
    s[0] = letter;
    for (int d = digits, v = k; d >= 1; --d, v /= 10) s[static_cast<std::size_t>(d)] = static_cast<char16_t>(u'0' + v % 10);
    return s;
  }
  std::u16string Name(int k, char16_t letter = u'f') const { return Numbered(letter, k, width); }
  OperationSummary Run(FileSystem& fs, NameGenerator generate) {
    RunEnvironment env = EnvWith(fs, reportPath, std::move(generate), host);
    return ExecuteRenameRun(env, 1);
  }

  static int Width(int files) {
    int digits = 4;
    for (int limit = 10000; files >= limit && digits < 9; limit *= 10) ++digits;
    return digits;
  }

  const int width;
  const std::u16string where;
  TempDir dir;
  const std::u16string reportPath = dir.PathOf(u"report.txt");
  ReportHost host;
};

}  // namespace dovetam::testing
