// Shared pieces of the pattern-core tests: one engine call in either build,
// side set-up as the selection-operand parser leaves it, and compact dumps of
// compiled patterns and search results so table rows stay readable.
#pragma once

#include <string>

#include "core/settings/settings.h"
#include "platform/capacities.h"
#include "core/rule/rule_call.h"
#include "core/rule/rule_workspace.h"
#include "rule_test_support.h"

namespace dovetam::testing {

struct Engine {
  explicit Engine(Capacities c = Capacities::Large()) : caps(c) { ResetWorkspace(ws, caps); }

  // Side `side` as the parser leaves "<sign><nth or =><letter>(group)<flags>":
  // countKind 1 N-th, 2 "=" (nth 1) or zeros (nth 0), 3 all.
  void SetSide(int side, std::u16string group, int16_t countKind = 3, int16_t sign = 1, int32_t nth = 0,
               int16_t prefixMode = 0, int16_t flags = 0) {
    const std::size_t s = static_cast<std::size_t>(side);
    ws.SideGroupKind[s] = 2;
    ws.SideGroupText[s] = std::move(group);
    ws.SideCountKind[s] = countKind;
    ws.SidePrefixSign[s] = sign;
    ws.SideNth[s] = nth;
    ws.SidePrefixMode[s] = prefixMode;
    ws.SideSuffixFlags[s] = flags;
  }

  void SetClips(std::initializer_list<std::u16string> items) {
    GrowClipListTo(ws, static_cast<int32_t>(items.size()), caps);
    int32_t k = 0;
    for (const auto& item : items) ws.ClipItems[static_cast<std::size_t>(++k)] = item;
    ws.ClipCount = k;
  }

  Settings settings;
  RuleContext context;
  RuleWorkspace ws;
  DateOnlyFileSystem fs;
  Capacities caps;
  RuleCall call{settings, context, ws, fs, caps};
};

// "'ab' n{3} 'cd' | n+ | n* | (none)" for the compiled alternatives.
std::string DumpPattern(const RuleWorkspace& ws);
// Search of side 1 over [low, high) of text: "[2,3)[4,6)" for all matches,
// "(4,6)" for one found range, "code -3" for a code, "error: <text>".
std::string RunSearch(Engine& e, const std::u16string& text, int32_t low, int32_t high);
std::string Utf8(std::u16string_view text);

}  // namespace dovetam::testing
