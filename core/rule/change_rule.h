// The rule engine: turns one name into a new name by the change rule.
//
// GenerateNewName applies rule1 to the whole name (oneRule set, or a name
// without "."), or rule1 to the part before the last "." and rule2 to the part
// after it; it trims blanks by the spacemode setting and refuses empty parts
// and empty names. On success it returns the new name with
// context.RuleErrorKind 0; on failure "" with RuleErrorKind 1 (an error in the
// rule) or 2 (an unusable generated name) and the message in RuleErrorText.
// It changes nothing on disk.
//
// Memory running out in it (an allocation, or a table of the workspace that
// cannot grow) is the rule error "メモリ不足のため、処理を実行できませんでした。"
// for the preview. In a run (MemoryShortStops::Operation) it is what it is
// anywhere else in the run: std::bad_alloc goes on to the run's edge, which
// stops the run (core/run/operation_frame.h).
#pragma once

#include <memory>
#include <string>

#include "core/settings/settings_values.h"
#include "platform/capacities.h"
#include "platform/file_system.h"
#include "core/rule/rule_context.h"

namespace dovetam {

struct ChangeRule {
  std::u16string rule1 = u"*";  // txtRule1
  std::u16string rule2 = u"*";  // txtRule2
  bool oneRule = false;         // chkRule: one rule for the whole name
};

struct RuleWorkspace;

class RuleEngine {
 public:
  RuleEngine(const Settings& settings, FileSystem& fs, Capacities caps);
  ~RuleEngine();

  RuleContext context;  // set by the caller before each call
  ChangeRule rule;      // the rule boxes and the scope

  // Re-creates the engine's tables at their initial capacities.
  void ResetTables();
  // What memory running out in a call becomes (see above).
  enum class MemoryShortStops { Rule, Operation };
  std::u16string GenerateNewName(const std::u16string& name,
                                 MemoryShortStops stops = MemoryShortStops::Rule);

  RuleWorkspace& workspace() { return *ws_; }
  const Settings& settings() const { return settings_; }
  FileSystem& fileSystem() { return fs_; }
  const Capacities& capacities() const { return caps_; }

 private:
  const Settings& settings_;
  FileSystem& fs_;
  Capacities caps_;
  std::unique_ptr<RuleWorkspace> ws_;
};

}  // namespace dovetam
