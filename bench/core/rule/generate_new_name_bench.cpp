// GenerateNewName over 100,000 names for typical rules.
//
//   copy:        "*"                 one rule, the name unchanged
//   numbered:    "*_\03n" and "*"   two rules, a zero-padded position code
//   date:        "\D_*"              one rule, a date code from the context
//   sum:         "\(n+100)-*"        one rule, an exact sum
//
// Each iteration renames the whole batch with the context set per name, as
// the rename run does; items/s is names per second. The goal is well over a
// million names a second for the simple rules on one core.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "core/settings/settings.h"
#include "platform/dates.h"
#include "platform/file_system.h"
#include "core/rule/change_rule.h"

namespace dovetam {
namespace {

constexpr int kNames = 100000;

std::vector<std::u16string> MakeNames() {
  std::vector<std::u16string> names;
  names.reserve(kNames);
  for (int i = 0; i < kNames; ++i) {
    std::string n = "IMG_" + std::to_string(20230000 + i) + "_photo.jpg";
    names.emplace_back(n.begin(), n.end());
  }
  return names;
}

void RunRule(benchmark::State& state, const char16_t* rule1, const char16_t* rule2, bool oneRule) {
  static const std::vector<std::u16string> names = MakeNames();
  Settings settings;
  std::unique_ptr<FileSystem> fs = CreateSystemFileSystem();
  RuleEngine engine(settings, *fs, Capacities::Large());
  engine.rule = ChangeRule{rule1, rule2, oneRule};
  const Date modified = MakeDate(2023, 4, 5, 6, 7, 8);
  std::size_t totalLength = 0;
  for (auto _ : state) {
    for (int i = 0; i < kNames; ++i) {
      engine.context.CurPos = i + 1;
      engine.context.CurTotal = kNames;
      engine.context.CurModified = modified;
      engine.context.CurCreated = modified;
      std::u16string out = engine.GenerateNewName(names[static_cast<std::size_t>(i)]);
      totalLength += out.size();
      if (engine.context.RuleErrorKind != 0) {
        state.SkipWithError("rule failed");
        return;
      }
    }
  }
  benchmark::DoNotOptimize(totalLength);
  state.SetItemsProcessed(state.iterations() * kNames);
}

void BM_Copy(benchmark::State& state) { RunRule(state, u"*", u"*", true); }
void BM_NumberedTwoRules(benchmark::State& state) { RunRule(state, u"*_\\03n", u"*", false); }
void BM_DateCode(benchmark::State& state) { RunRule(state, u"\\D_*", u"*", true); }
void BM_ExactSum(benchmark::State& state) { RunRule(state, u"\\(n+100)-*", u"*", true); }

BENCHMARK(BM_Copy)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NumberedTwoRules)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DateCode)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExactSum)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace dovetam
