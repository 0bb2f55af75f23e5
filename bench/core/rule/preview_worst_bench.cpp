// The preview computes the rule on every key press, so one evaluation of the
// worst rule a user can type must stay far below what a person notices
// (tens of milliseconds). Each case is one GenerateNewName of the sample name.
//
//   long_literal:   a rule of 20,000 plain characters around "*"
//   many_codes:     500 and 5,000 date codes (\08D) in a row
//   max_padding:    the widest padding the engine builds (\01048576n)
//   sum_32_digits:  1,000 exact sums of 31-digit numbers (32-digit results)
//   ng_replace:     10,000 forbidden characters ":", each replaced by 100
//                   characters
//   repeat_errors:  a rule of 20,000 unpaired "<" (ends in a rule error)
//   huge_counts:    a pattern group of 21, 22 and 44 items "\99999999." (their
//                   lengths add up to 2.1, 2.2 and 4.4 billion): as fast as a
//                   group that can never match, and the same name
//   work_limit:     rules that run into the pattern work limit: stacked
//                   runs over a 100,000-character operand; a group of 2,000
//                   Alternatives and 4,000 items (its tables grow to
//                   Alternatives x items). The longest one evaluation can
//                   take, each checked to end with the "too complex" error
// Every case checks what it built (the length of the name, or the error), so
// that none times a shorter road than the one it names.
#include <benchmark/benchmark.h>

#include <string>

#include "core/settings/settings.h"
#include "platform/dates.h"
#include "platform/file_system.h"
#include "core/rule/change_rule.h"

namespace dovetam {
namespace {

std::u16string Repeat(std::u16string_view piece, int times) {
  std::u16string out;
  for (int i = 0; i < times; ++i) out += piece;
  return out;
}

// `chars`: the length of the name every evaluation must build (0: the rule
// ends in an error), so that a case never times a shorter road.
void Preview(benchmark::State& state, const std::u16string& rule, std::size_t chars,
             Settings settings = {}) {
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
    const std::size_t built = engine.GenerateNewName(settings.SampleName).size();
    if (built != chars || (chars == 0) != (engine.context.RuleErrorKind != 0)) {
      state.SkipWithError("the rule did not build the name the case is about");
      return;
    }
    length += built;
  }
  benchmark::DoNotOptimize(length);
  state.counters["out_chars"] = static_cast<double>(length) / static_cast<double>(state.iterations());
}

// Each evaluation must give `expected` (a name; or, when empty, no name and
// the rule error `error`), else the case is reported as failed.
void PreviewExpecting(benchmark::State& state, const std::u16string& rule, const std::u16string& expected,
                      const std::u16string& error = u"") {
  const Settings settings;
  std::unique_ptr<FileSystem> fs = CreateSystemFileSystem();
  RuleEngine engine(settings, *fs, Capacities::Large());
  engine.rule = ChangeRule{rule, u"*", true};
  for (auto _ : state) {
    engine.context = RuleContext{};
    engine.context.CurPos = 3;
    engine.context.CurTotal = 10;
    const std::u16string name = engine.GenerateNewName(settings.SampleName);
    if (name != expected || engine.context.RuleErrorText != error) {
      state.SkipWithError("unexpected result");
      return;
    }
  }
}

std::u16string HugeCounts(int items) { return u"?(" + Repeat(u"\\99999999.", items) + u")?/p:_/"; }

void BM_HugeCounts(benchmark::State& s) {
  // The same rule with a group that never matches gives the expected name.
  const Settings settings;
  std::unique_ptr<FileSystem> fs = CreateSystemFileSystem();
  RuleEngine reference(settings, *fs, Capacities::Large());
  reference.rule = ChangeRule{u"?(\\0.\\99999999.)?/p:_/", u"*", true};
  reference.context.CurPos = 3;
  reference.context.CurTotal = 10;
  const std::u16string expected = reference.GenerateNewName(settings.SampleName);
  PreviewExpecting(s, HugeCounts(static_cast<int>(s.range(0))), expected);
}

void BM_WorkLimit(benchmark::State& s) {
  const std::u16string rule = s.range(0) == 0
                                 ? u"\"\\100000%n\"?(" + Repeat(u"\\.", 8) + u"x)?/u/"
                                 : u"?(" + Repeat(u"q|", 2000) + Repeat(u"a\\n", 2000) + u")?/u/";
  PreviewExpecting(s, rule, u"",
                   u"パターンによる検索が複雑すぎるため、処理を実行できませんでした。");
}

void BM_LongLiteral(benchmark::State& s) {
  Preview(s, Repeat(u"a", 10000) + u"*" + Repeat(u"b", 10000), 20000 + Settings{}.SampleName.size());
}
void BM_ManyCodes(benchmark::State& s) {
  const int codes = static_cast<int>(s.range(0));
  Preview(s, Repeat(u"\\08D", codes), 8 * static_cast<std::size_t>(codes));
}
// Zero padding: padding with blanks would be trimmed off the name again.
void BM_MaxPadding(benchmark::State& s) { Preview(s, u"\\01048576n", 1048576); }
void BM_Sum32Digits(benchmark::State& s) {
  Preview(s, Repeat(u"\\(1234567890123456789012345678901+9876543210987654321098765432109)", 1000),
          32 * 1000);
}
void BM_NgReplace(benchmark::State& s) {
  Settings settings;
  settings.NgPlaceMode = true;
  settings.NgPlaceStr = Repeat(u"x", 100);
  Preview(s, Repeat(u":", 10000), 100 * 10000, settings);
}
void BM_RepeatErrors(benchmark::State& s) { Preview(s, Repeat(u"<", 20000), 0); }

BENCHMARK(BM_LongLiteral)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ManyCodes)->Arg(500)->Arg(5000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MaxPadding)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Sum32Digits)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NgReplace)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RepeatErrors)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HugeCounts)->Arg(21)->Arg(22)->Arg(44)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WorkLimit)->ArgName("tables")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace dovetam
