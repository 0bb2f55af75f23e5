// Placeholder until the interpreter lands: the name comes back unchanged.
#include "rule/change_rule.h"

namespace dovetam {

struct RuleWorkspace {};

RuleEngine::RuleEngine(const Settings& settings, FileSystem& fs, Capacities caps)
    : settings_(settings), fs_(fs), caps_(caps), ws_(std::make_unique<RuleWorkspace>()) {}
RuleEngine::~RuleEngine() = default;
void RuleEngine::ResetTables() {}
std::u16string RuleEngine::GenerateNewName(const std::u16string& name) {
  context.RuleErrorKind = 0;
  context.RuleErrorText.clear();
  return name;
}

}  // namespace dovetam
