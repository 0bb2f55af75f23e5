// The preview computes the rule on every key press, so one evaluation of the
// worst rule a user can type must stay far below what a person notices
// (tens of milliseconds). Each case is one GenerateNewName of the sample name.
//
//   long_literal:   a rule of 20,000 plain characters around "*"
//   many_codes:     500 and 5,000 date codes (\08D) in a row
//   max_padding:    the widest padding the engine builds (\1048576n)
//   sum_32_digits:  1,000 exact sums of 31-digit numbers (32-digit results)
//   ng_replace:     10,000 forbidden characters, each replaced by 100 characters
//   repeat_errors:  a rule of 20,000 unpaired "<"
#include <benchmark/benchmark.h>

#include <string>

#include "app/settings.h"
#include "platform/dates.h"
#include "platform/file_system.h"
#include "rule/change_rule.h"

namespace dovetam {
namespace {

std::u16string Repeat(std::u16string_view piece, int times) {
  std::u16string out;
  for (int i = 0; i < times; ++i) out += piece;
  return out;
}

void Preview(benchmark::State& state, const std::u16string& rule, Settings settings = {}) {
  std::unique_ptr<FileSystem> fs = CreateSystemFileSystem();
  RuleEngine engine(settings, *fs, Capacities::Large());
  engine.ResetTables();
  engine.rule = ChangeRule{rule, u"*", true};
  std::size_t length = 0;
  for (auto _ : state) {
    engine.context = RuleContext{};
    engine.context.CurPos = 3;
    engine.context.CurTotal = 10;
    engine.context.CurModified = MakeDate(1990, 1, 2, 3, 4, 5);
    engine.context.CurCreated = MakeDate(1991, 6, 7, 8, 9, 10);
    length += engine.GenerateNewName(settings.SampleName).size();
  }
  benchmark::DoNotOptimize(length);
  state.counters["out_chars"] = static_cast<double>(length) / static_cast<double>(state.iterations());
}

void BM_LongLiteral(benchmark::State& s) { Preview(s, Repeat(u"a", 10000) + u"*" + Repeat(u"b", 10000)); }
void BM_ManyCodes(benchmark::State& s) { Preview(s, Repeat(u"\\08D", static_cast<int>(s.range(0)))); }
void BM_MaxPadding(benchmark::State& s) { Preview(s, u"\\1048576n"); }
void BM_Sum32Digits(benchmark::State& s) {
  Preview(s, Repeat(u"\\(1234567890123456789012345678901+9876543210987654321098765432109)", 1000));
}
void BM_NgReplace(benchmark::State& s) {
  Settings settings;
  settings.NgPlaceMode = true;
  settings.NgPlaceStr = Repeat(u"x", 100);
  Preview(s, Repeat(u"|", 10000), settings);
}
void BM_RepeatErrors(benchmark::State& s) { Preview(s, Repeat(u"<", 20000)); }

BENCHMARK(BM_LongLiteral)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ManyCodes)->Arg(500)->Arg(5000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MaxPadding)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Sum32Digits)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NgReplace)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RepeatErrors)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace dovetam
