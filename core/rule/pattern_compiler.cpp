// Group pattern compiler (see pattern_compiler.h).
#include "core/rule/pattern_compiler.h"

#include <algorithm>
#include <climits>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "platform/table_growth.h"
#include "core/rule/escape_search.h"
#include "core/rule/pattern_messages.h"
#include "core/rule/pattern_work.h"
#include "core/rule/rule_messages.h"

namespace dovetam {
namespace {

constexpr int32_t kCountLimit = 100000000;  // counts stay below 10^8

bool IsClassLetter(char16_t c) {
  static constexpr std::u16string_view kLetters = u"nNaAuUlLqQxXsSeEmMhZzkK.pP";
  return kLetters.find(c) != std::u16string_view::npos;
}

// The ten per-alternative tables with rows 0..altCount; every one attempted.
bool RecreateAlternativeTables(RuleWorkspace& ws, int32_t altCount, std::size_t limit) {
  const std::size_t alts = static_cast<std::size_t>(altCount) + 1;
  const std::size_t cells = alts * (static_cast<std::size_t>(ws.ItemCapacity) + 1);
  bool ok = true;
  ok = TryRecreate(ws.PatItemText, cells, limit) && ok;
  ok = TryRecreate(ws.PatItemKind, cells, limit) && ok;
  ok = TryRecreate(ws.PatItemCount, alts, limit) && ok;
  ok = TryRecreate(ws.PatFixedLength, alts, limit) && ok;
  ok = TryRecreate(ws.PatClipFlags, alts, limit) && ok;
  ok = TryRecreate(ws.PatClipUpCount, alts, limit) && ok;
  ok = TryRecreate(ws.PatClipDownCount, alts, limit) && ok;
  ok = TryRecreate(ws.AltPos, alts, limit) && ok;
  ok = TryRecreate(ws.AltState, alts, limit) && ok;
  ok = TryRecreate(ws.AltMatch, alts * 3, limit) && ok;
  return ok;
}

// The item dimension by one step, rows laid out anew with their contents.
bool GrowItemDimension(RuleWorkspace& ws, const Capacities& caps) {
  const int64_t grown = static_cast<int64_t>(ws.ItemCapacity) + caps.patternStep;
  if (grown > INT32_MAX) return false;
  const std::size_t alts = static_cast<std::size_t>(ws.AltCapacity) + 1;
  const std::size_t oldRow = static_cast<std::size_t>(ws.ItemCapacity) + 1;
  const std::size_t newRow = static_cast<std::size_t>(grown) + 1;
  std::vector<std::u16string> text;
  std::vector<int32_t> kind;
  if (!TryRecreate(text, alts * newRow, caps.allocationLimit)) return false;
  if (!TryRecreate(kind, alts * newRow, caps.allocationLimit)) return false;
  for (std::size_t a = 0; a < alts; ++a) {
    for (std::size_t i = 0; i < oldRow; ++i) {
      text[a * newRow + i] = std::move(ws.PatItemText[a * oldRow + i]);
      kind[a * newRow + i] = ws.PatItemKind[a * oldRow + i];
    }
  }
  ws.PatItemText.swap(text);
  ws.PatItemKind.swap(kind);
  ws.ItemCapacity = static_cast<int32_t>(grown);
  return true;
}

class AlternativeCompiler {
 public:
  AlternativeCompiler(RuleCall& call, std::u16string_view group, UnescapedCursor& yens)
      : call_(call), ws_(call.ws), group_(group), yens_(yens) {}

  // Steps: reset, items and literal runs, mirror order, finish.
  void Compile(int32_t a, int32_t b, int32_t e) {
    a_ = a;
    ws_.PatItemCount[Alt()] = 0;
    ws_.PatFixedLength[Alt()] = 0;
    ws_.PatClipFlags[Alt()] = 0;
    ws_.PatClipUpCount[Alt()] = 0;
    ws_.PatClipDownCount[Alt()] = 0;
    int32_t p = b;
    for (;;) {
      int32_t y = yens_.Next(p);
      if (y == 0 || y >= e) y = e;
      if (y > p) {
        std::u16string t = RemoveEscapes(group_.substr(static_cast<std::size_t>(p - 1),
                                                       static_cast<std::size_t>(y - p)),
                                         call_.settings, call_.context);
        if (call_.failed()) return;
        if (!AppendLiteral(t)) return;
      }
      if (y == e) break;
      const int32_t k = ReadItem(y, e);
      if (k == 0) return;
      p = k + 1;
    }
    if (ws_.SearchReversed) {
      const int32_t n = ws_.PatItemCount[Alt()];
      for (int32_t k = 1; k <= n / 2; ++k) {
        std::swap(ws_.PatItemText[PatCell(ws_, a_, k)], ws_.PatItemText[PatCell(ws_, a_, n + 1 - k)]);
        std::swap(ws_.PatItemKind[PatCell(ws_, a_, k)], ws_.PatItemKind[PatCell(ws_, a_, n + 1 - k)]);
      }
    }
    if (ws_.PatFixedLength[Alt()] == 0) ws_.PatFixedLength[Alt()] = 1;
    ws_.AltState[Alt()] = ws_.PatItemCount[Alt()] >= 1 ? 0 : -1;
    ws_.AltMatch[AltMatchCell(a_, 1)] = -1;
    ws_.AltMatch[AltMatchCell(a_, 2)] = -1;
    const int64_t start = ws_.WindowMode == 1 ? ws_.WindowLow : ws_.WindowHigh - ws_.PatFixedLength[Alt()];
    ws_.AltPos[Alt()] = static_cast<int32_t>(std::max<int64_t>(start, INT32_MIN));
  }

 private:
  std::size_t Alt() const { return static_cast<std::size_t>(a_); }

  void Usage() { call_.Fail(PatternUsageMessage(call_.settings.ChrQ1, call_.settings.ChrQ2)); }

  // One more item in the row; false (memory message) when it cannot grow.
  bool AddItem(std::u16string text, int32_t kind) {
    const int32_t n = ws_.PatItemCount[Alt()] + 1;
    if (n > ws_.ItemCapacity) {
      const int64_t cells = (static_cast<int64_t>(ws_.AltCapacity) + 1) *
                            (static_cast<int64_t>(ws_.ItemCapacity) + call_.caps.patternStep + 1);
      if (!SpendPatternTables(call_, cells)) return false;
      if (!GrowItemDimension(ws_, call_.caps)) {
        call_.FailMemory();
        return false;
      }
    }
    ws_.PatItemCount[Alt()] = n;
    ws_.PatItemText[PatCell(ws_, a_, n)] = std::move(text);
    ws_.PatItemKind[PatCell(ws_, a_, n)] = kind;
    return true;
  }

  // Literal text joins the last item when that is a literal (also when t is
  // empty, so an empty clip leaves an empty literal item). Copying it spends
  // the name's work: "\C" items repeat the whole clip list.
  bool AppendLiteral(std::u16string_view t) {
    if (!SpendPatternWork(call_, static_cast<int64_t>(t.size()))) return false;
    const int32_t n = ws_.PatItemCount[Alt()];
    if (n == 0 || ws_.PatItemKind[PatCell(ws_, a_, n)] != kItemLiteral) {
      if (!AddItem(std::u16string(), kItemLiteral)) return false;
    }
    std::u16string& item = ws_.PatItemText[PatCell(ws_, a_, ws_.PatItemCount[Alt()])];
    if (ws_.SearchReversed) {
      std::u16string reversed(t.rbegin(), t.rend());
      item.insert(0, reversed);
    } else {
      item += t;
    }
    ws_.PatFixedLength[Alt()] += static_cast<int64_t>(t.size());
    return true;
  }

  // Reads the item whose chr_yen stands at y; returns the position of its
  // code letter, or 0 after a failure.
  int32_t ReadItem(int32_t y, int32_t e) {
    enum State { kStart, kSigned, kZeros, kDigits } state = kStart;
    bool sign = false;
    bool minus = false;
    bool zero = false;
    int32_t count = 0;
    for (int32_t k = y + 1; k < e; ++k) {
      const char16_t ch = group_[static_cast<std::size_t>(k - 1)];
      if (ch == u'+' || ch == u'-') {
        if (state != kStart) return Usage(), 0;
        sign = true;
        minus = ch == u'-';
        state = kSigned;
      } else if (ch == u'0') {
        if (state == kStart || state == kSigned) {
          zero = true;
          state = kZeros;
        } else if (state == kDigits) {
          count *= 10;
          if (count >= kCountLimit) return Digits(), 0;
        }
      } else if (ch >= u'1' && ch <= u'9') {
        if (state == kDigits) {
          count = count * 10 + (ch - u'0');
          if (count >= kCountLimit) return Digits(), 0;
        } else {
          count = ch - u'0';
          state = kDigits;
        }
      } else if (ch == u'c') {
        return ClipItem(state == kDigits ? count : 0, minus) ? k : 0;
      } else if (ch == u'C') {
        if (state != kStart) return Usage(), 0;
        std::u16string all;
        for (int32_t i = 1; i <= ws_.ClipCount; ++i) all += ws_.ClipItems[static_cast<std::size_t>(i)];
        return AppendLiteral(all) ? k : 0;
      } else if (IsClassLetter(ch)) {
        if (sign) return Usage(), 0;
        return ClassItem(ch, state == kDigits ? count : 0, zero) ? k : 0;
      } else if (ch == u' ' || ch == u'\u3000') {
        continue;
      } else {
        call_.Fail(PatternSymbolMessage(call_.settings.ChrQ1, call_.settings.ChrQ2,
                                        std::u16string_view(&group_[static_cast<std::size_t>(k - 1)], 1)));
        return 0;
      }
    }
    Usage();
    return 0;
  }

  void Digits() { call_.Fail(PatternDigitsMessage(call_.settings.ChrQ1, call_.settings.ChrQ2)); }

  // count > 0 after digits; zero when only zeros were written.
  bool ClassItem(char16_t letter, int32_t count, bool zero) {
    int32_t kind = kItemOneOrMore;
    int64_t fixed = 1;
    if (count > 0) {
      kind = count;
      fixed = count;
    } else if (zero) {
      kind = kItemZeroOrMore;
      fixed = 0;
    }
    if (!AddItem(std::u16string(1, letter), kind)) return false;
    ws_.PatFixedLength[Alt()] += fixed;
    return true;
  }

  bool ClipItem(int32_t count, bool minus) {
    const int32_t clips = ws_.ClipCount;
    auto item = [&](int32_t i) -> std::u16string_view {
      return ws_.ClipItems[static_cast<std::size_t>(i)];
    };
    if (count >= 1) {
      if (count > clips) return AppendLiteral(u"");
      return AppendLiteral(minus ? item(clips + 1 - count) : item(count));
    }
    if (minus) {
      const int32_t i = ws_.PatClipDown - ws_.PatClipDownCount[Alt()];
      if (i < 1) return AppendLiteral(u"");
      if (!AppendLiteral(item(i))) return false;
      ws_.PatClipDownCount[Alt()] += 1;
      ws_.PatClipFlags[Alt()] |= 2;
      return true;
    }
    const int32_t i = ws_.PatClipUp + ws_.PatClipUpCount[Alt()];
    if (i > clips) return AppendLiteral(u"");
    if (!AppendLiteral(item(i))) return false;
    ws_.PatClipUpCount[Alt()] += 1;
    ws_.PatClipFlags[Alt()] |= 1;
    return true;
  }

  RuleCall& call_;
  RuleWorkspace& ws_;
  std::u16string_view group_;
  UnescapedCursor& yens_;
  int32_t a_ = 0;
};

}  // namespace

void CompilePattern(RuleCall& call, int16_t side, int16_t mask) {
  RuleWorkspace& ws = call.ws;
  const std::u16string_view group = ws.SideGroupText[static_cast<std::size_t>(side)];
  const int32_t length = static_cast<int32_t>(group.size());
  // Every compile reads the whole group; a search recompiles once per
  // occurrence that took clip items.
  if (!SpendPatternWork(call, static_cast<int64_t>(length) + 1)) return;

  // 1. Count the alternatives.
  UnescapedCursor bars(group, call.settings.ChrBar, call.settings);
  int32_t altCount = 1;
  for (int32_t at = bars.Next(1); at != 0; at = bars.Next(at + 1)) ++altCount;
  ws.AltCount = altCount;

  // 2. Alternative tables with exactly as many rows as needed.
  if (altCount > ws.AltCapacity) {
    const int64_t cells = (static_cast<int64_t>(altCount) + 1) * (static_cast<int64_t>(ws.ItemCapacity) + 1);
    if (!SpendPatternTables(call, cells)) return;
    if (!RecreateAlternativeTables(ws, altCount, call.caps.allocationLimit)) {
      call.FailMemory();
      return;
    }
    ws.AltCapacity = altCount;
    mask = 0;
  }

  // 3. Walk the alternatives.
  UnescapedCursor yens(group, call.settings.ChrYen, call.settings);
  UnescapedCursor walk(group, call.settings.ChrBar, call.settings);
  AlternativeCompiler compiler(call, group, yens);
  int32_t b = 1;
  for (int32_t a = 1;; ++a) {
    int32_t e = walk.Next(b);
    if (e == 0) e = length + 1;
    if (mask == 0 || (mask & ws.PatClipFlags[static_cast<std::size_t>(a)]) != 0) {
      compiler.Compile(a, b, e);
      if (call.failed()) return;
    }
    if (e == length + 1) break;
    b = e + 1;
  }
}

}  // namespace dovetam
