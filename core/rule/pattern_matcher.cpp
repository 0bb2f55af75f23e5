// Backtracking matcher of one Alternative at one start (see pattern_matcher.h).
#include "core/rule/pattern_matcher.h"

#include <string>

#include "platform/table_growth.h"
#include "core/rule/char_classes.h"
#include "core/rule/pattern_compiler.h"
#include "core/rule/pattern_work.h"
#include "core/rule/rule_messages.h"

namespace dovetam {
namespace {

enum Status : uint8_t { kDead = 0, kViable = 1, kOpen = 2 };
constexpr uint8_t kFailedBit = 1;
constexpr int kStatusShift = 1;

uint64_t Key(int32_t item, int32_t position) {
  return (static_cast<uint64_t>(static_cast<uint32_t>(item)) << 32) | static_cast<uint32_t>(position);
}

struct OpenState {
  int32_t item;
  int32_t position;
  int32_t floor;  // StackCount when the state was entered; its subtree lies above
};

struct Entry {
  int32_t item;
  int32_t position;
};

class Matcher {
 public:
  Matcher(RuleCall& call, std::u16string_view text, int32_t alt, AltMemo& memo)
      : call_(call), ws_(call.ws), text_(text), alt_(alt), memo_(memo), high_(call.ws.WindowHigh),
        count_(call.ws.PatItemCount[static_cast<std::size_t>(alt)]) {}

  int32_t Run(int32_t s) {
    ws_.StackCount = 0;
    open_.clear();
    int32_t j = 1;
    int32_t p = s;
    for (;;) {
      if (!Spend(1)) return 0;
      bool moved = false;  // a class run left continuations: (j, p) is the next state
      if (!(p > s && Failed(j, p))) {
        open_.push_back({j, p, ws_.StackCount});
        for (;;) {
          if (j > count_) {
            if (p > s) return p;
            break;
          }
          const int32_t kind = Kind(j);
          if (kind == kItemLiteral || kind >= 1) {
            int32_t next = 0;
            if (!Step(j, p, next)) {
              if (call_.failed()) return 0;
              break;
            }
            p = next;
            ++j;
            continue;
          }
          const int32_t floor = ws_.StackCount;
          if (!PushRun(j, p) || !Order(floor)) return 0;
          if (ws_.StackCount > floor) {
            Pop(j, p);
            moved = true;
          }
          break;
        }
      }
      if (moved) continue;
      // Failure: every state whose subtree lies above the entry popped next
      // has failed as a whole.
      const int32_t c = ws_.StackCount;
      while (!open_.empty() && open_.back().floor >= c) {
        if (open_.back().position > s) MarkFailed(open_.back().item, open_.back().position);
        open_.pop_back();
      }
      if (c == 0) return 0;
      Pop(j, p);
    }
  }

 private:
  int32_t Kind(int32_t j) const { return ws_.PatItemKind[PatCell(ws_, alt_, j)]; }
  const std::u16string& ItemText(int32_t j) const { return ws_.PatItemText[PatCell(ws_, alt_, j)]; }
  char16_t Letter(int32_t j) const {
    const std::u16string& t = ItemText(j);
    return t.empty() ? u'\0' : t[0];
  }

  bool Failed(int32_t j, int32_t p) const {
    auto it = memo_.states.find(Key(j, p));
    return it != memo_.states.end() && (it->second & kFailedBit) != 0;
  }
  void MarkFailed(int32_t j, int32_t p) { memo_.states[Key(j, p)] |= kFailedBit; }

  bool Spend(int64_t units) { return SpendPatternWork(call_, units); }

  // One test of a character class; false also when the work runs out.
  bool Test(int32_t q, char16_t letter) { return Spend(1) && MatchCharClass(call_, text_, q, letter); }

  bool ClassAt(int32_t j, int32_t q) { return q < high_ && Test(q, Letter(j)); }

  // A literal or exactly-N item at p; next = the position after it.
  bool Step(int32_t j, int32_t p, int32_t& next) {
    const int32_t kind = Kind(j);
    if (kind == kItemLiteral) {
      const std::u16string& literal = ItemText(j);
      const int64_t end = static_cast<int64_t>(p) + static_cast<int64_t>(literal.size());
      if (end > high_ || !Spend(1 + static_cast<int64_t>(literal.size())) ||
          !MatchLiteralAt(call_, text_, p, literal)) {
        return false;
      }
      next = static_cast<int32_t>(end);
      return true;
    }
    for (int32_t k = 0; k < kind; ++k) {
      const int64_t q = static_cast<int64_t>(p) + k;
      if (q >= high_ || !Test(static_cast<int32_t>(q), Letter(j))) return false;
    }
    next = p + kind;
    return true;
  }

  bool GrowStack() {
    const int64_t grown = static_cast<int64_t>(ws_.StackCapacity) + call_.caps.rangeStep;
    const std::size_t elements = static_cast<std::size_t>(grown) + 1;
    if (grown > INT32_MAX || !TryResize(ws_.StackItem, elements, call_.caps.allocationLimit) ||
        !TryResize(ws_.StackPos, elements, call_.caps.allocationLimit)) {
      call_.FailMemory();
      return false;
    }
    ws_.StackCapacity = static_cast<int32_t>(grown);
    return true;
  }

  bool Push(int32_t j, int32_t p) {
    if (ws_.StackCount + 1 > ws_.StackCapacity && !GrowStack()) return false;
    ++ws_.StackCount;
    ws_.StackItem[static_cast<std::size_t>(ws_.StackCount)] = j;
    ws_.StackPos[static_cast<std::size_t>(ws_.StackCount)] = p;
    return true;
  }

  void Pop(int32_t& j, int32_t& p) {
    j = ws_.StackItem[static_cast<std::size_t>(ws_.StackCount)];
    p = ws_.StackPos[static_cast<std::size_t>(ws_.StackCount)];
    --ws_.StackCount;
  }

  // Every run length of the class item j from p, shortest first.
  bool PushRun(int32_t j, int32_t p) {
    if (Kind(j) == kItemOneOrMore) {
      for (int32_t k = p; k < high_; ++k) {
        if (!Test(k, Letter(j))) return !call_.failed();
        if (!Push(j + 1, k + 1)) return false;
      }
      return true;
    }
    for (int32_t k = p;; ++k) {
      if (!Push(j + 1, k)) return false;
      if (!ClassAt(j, k)) return !call_.failed();
    }
  }

  // Lookahead status of continuing with item m at q; remembered for every
  // item of the chain of skipped zero-or-more items.
  bool Lookahead(int32_t m, int32_t q, Status& status) {
    int32_t i = m;
    for (;; ++i) {
      if (!Spend(1)) return false;
      auto it = memo_.states.find(Key(i, q));
      if (it != memo_.states.end() && (it->second >> kStatusShift) != 0) {
        status = static_cast<Status>((it->second >> kStatusShift) - 1);
        break;
      }
      if (i > count_) {
        status = kOpen;
        break;
      }
      const int32_t kind = Kind(i);
      if (kind == kItemZeroOrMore) {
        if (ClassAt(i, q)) {
          status = kViable;
          break;
        }
        if (call_.failed()) return false;
        continue;
      }
      bool ok = false;
      if (kind == kItemOneOrMore) {
        ok = ClassAt(i, q);
      } else {
        int32_t next = 0;
        ok = Step(i, q, next);
      }
      if (call_.failed()) return false;
      status = ok ? kViable : kDead;
      break;
    }
    for (int32_t k = m; k <= i; ++k) {
      uint8_t& cell = memo_.states[Key(k, q)];
      cell = static_cast<uint8_t>((cell & kFailedBit) | ((status + 1) << kStatusShift));
    }
    return true;
  }

  // Orders the continuations pushed above floor: open ones in push order,
  // then the viable ones in visiting order (tried first from the top).
  bool Order(int32_t floor) {
    const int32_t top = ws_.StackCount;
    opens_.clear();
    viables_.clear();
    const bool longFirst = call_.settings.MchMode != 1;
    for (int32_t n = 0; n < top - floor; ++n) {
      const int32_t at = longFirst ? floor + 1 + n : top - n;
      const Entry entry{ws_.StackItem[static_cast<std::size_t>(at)], ws_.StackPos[static_cast<std::size_t>(at)]};
      Status status = kDead;
      if (!Lookahead(entry.item, entry.position, status)) return false;
      if (status == kViable) viables_.push_back(entry);
    }
    for (int32_t at = floor + 1; at <= top; ++at) {
      const Entry entry{ws_.StackItem[static_cast<std::size_t>(at)], ws_.StackPos[static_cast<std::size_t>(at)]};
      Status status = kDead;
      if (!Lookahead(entry.item, entry.position, status)) return false;  // remembered: no new tests
      if (status == kOpen) opens_.push_back(entry);
    }
    // The viable entries are copied above the run before the slots are
    // compacted, so the stack needs room for both for a moment.
    while (static_cast<int64_t>(top) + static_cast<int64_t>(viables_.size()) > ws_.StackCapacity) {
      if (!GrowStack()) return false;
    }
    ws_.StackCount = floor;
    for (const Entry& e : opens_) Push(e.item, e.position);
    for (const Entry& e : viables_) Push(e.item, e.position);
    return true;
  }

  RuleCall& call_;
  RuleWorkspace& ws_;
  std::u16string_view text_;
  int32_t alt_;
  AltMemo& memo_;
  int32_t high_;
  int32_t count_;
  std::vector<OpenState> open_;
  std::vector<Entry> opens_;
  std::vector<Entry> viables_;
};

}  // namespace

int32_t MatchAlternativeAt(RuleCall& call, std::u16string_view text, int32_t alt, int32_t s, AltMemo& memo) {
  Matcher matcher(call, text, alt, memo);
  return matcher.Run(s);
}

}  // namespace dovetam
