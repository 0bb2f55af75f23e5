// What every stage of the rule engine works with during one GenerateNewName:
// the settings in effect, the object's context (inputs and the error report),
// the workspace, the file system (for dates not yet read) and the build's
// capacities. The engine runs on one thread and is not re-entrant.
//
// Failure convention: a stage that fails sets RuleErrorKind and RuleErrorText
// through Fail (FailMemory when memory ran short, also a table that could not
// grow) and returns an empty text, 0 or false; every caller tests failed()
// right after the call and abandons the rule.
#pragma once

#include <cstdint>
#include <string>

#include "core/settings/settings_values.h"
#include "platform/capacities.h"
#include "platform/file_system.h"
#include "core/rule/rule_context.h"
#include "core/rule/rule_messages.h"
#include "core/rule/rule_workspace.h"

namespace dovetam {

struct RuleCall {
  const Settings& settings;
  RuleContext& context;
  RuleWorkspace& ws;
  FileSystem& fs;
  const Capacities& caps;
  // Work spent by the pattern searches of this name so far; they stop the
  // rule when it passes its limit (core/rule/pattern_work.h).
  int64_t patternWork = 0;

  // Memory ran short in this call (FailMemory): the door of the engine
  // decides what that becomes (change_rule.h).
  bool memoryShort = false;

  bool failed() const { return context.RuleErrorKind != 0; }
  void Fail(std::u16string text, int16_t kind = 1) {
    context.RuleErrorKind = kind;
    context.RuleErrorText = std::move(text);
  }
  // The rule error of memory running out ("メモリ不足のため、処理を実行できま
  // せんでした。").
  void FailMemory() {
    memoryShort = true;
    Fail(MemoryMessage());
  }
};

}  // namespace dovetam
