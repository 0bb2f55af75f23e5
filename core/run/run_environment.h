// What a rename run, re-run or restore works on, and what it asks of the
// window that started it. The operations themselves (rename_run.h,
// restore_run.h) are plain C++: the window passes its tables, settings and
// services and a RunHost for the few steps that touch its controls, and a
// test passes a fake host, fake message boxes and real or fake file systems.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "core/settings/settings_values.h"
#include "core/objects/object_table.h"
#include "platform/capacities.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/message_boxes.h"
#include "core/rule/rule_context.h"
#include "core/run/run_journal.h"

namespace dovetam {

// The steps of an operation that belong to the window.
class RunHost {
 public:
  virtual ~RunHost() = default;
  // The hourglass pointer, from the confirmation on.
  virtual void ShowHourglass() = 0;
  // The operation ended before it changed anything: the pointer comes back.
  virtual void ShowNormalPointer() = 0;
  // The report text goes into the report window (not shown), which keeps it.
  virtual void ShowReportText(std::u16string text) = 0;
  // Rename run only: LastRule1, LastRule2, LastChkRule = the rule boxes.
  virtual void RememberRule() = 0;
  // New order-list headers, all items removed, RefreshOrderList; this also
  // puts the default pointer back.
  virtual void RebuildOrderList() = 0;
};

// Produces the new name of one object from its name, with context set as the
// rule engine reads it; on failure returns "" with RuleErrorKind 1 or 2 and
// RuleErrorText in context (the rule engine's GenerateNewName).
using NameGenerator = std::function<std::u16string(const std::u16string& name)>;

struct RunEnvironment {
  ObjectTable& objects;
  const Settings& settings;
  FileSystem& fs;
  // Whether the rename run may hand renames to a second thread: fs takes
  // calls from two threads at once (Services::renameThread).
  bool renameThread;
  MessageBoxes& boxes;
  Clock& clock;
  RunJournal& journal;  // journal.LogPath is the log file
  const std::u16string& reportPath;
  bool& reportSaved;
  int16_t& changeState;
  int16_t& listStale;
  RuleContext& context;     // written before every call of generate
  NameGenerator generate;   // the rule engine
  RunHost& host;
  // The limits its indexes and texts obey (allocationLimit, textLimit): past
  // one the operation stops as when memory runs out. No limits by default.
  Capacities caps{};
};

// What an operation did: whether it ran at all, and its counters; whether
// memory ran out, which stopped it.
struct OperationSummary {
  bool performed = false;
  int32_t done = 0;
  int32_t errors = 0;
  int32_t tentative = 0;
  bool memoryShort = false;
};

}  // namespace dovetam
