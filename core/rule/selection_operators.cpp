// The selection operators (declared in selection_services.h): union (1),
// intersection (2), left minus right (3) and right minus left (4) of the
// register's left operand and the Selection, for the plain register and the
// "!" register alike. The differences first complement one list (the
// Selection for 3, into NewRanges; the register's list in place for 4), with
// the end pieces the modifier chooses (none: the non-empty ones, i: none,
// o: both, l: the left one, r: the right one); then one sweep over the two
// sorted boundary lists writes the result behind it in NewRanges and copies
// it into the register.
//
// At equal positions every end is taken before a start of the other list,
// and an empty range opens and closes before a non-empty range that starts
// there, so touching ranges stay apart and empty ranges survive only where
// the rule of the operator keeps them.
//
// Cost: linear in the two lists. Growth: SelRanges / NewRanges and the
// register grow to exactly the element written, within the allocation
// limit; on failure the rule fails with the memory message, the capacity
// stays, and the register (already complemented for 4) gets no result.
#include <algorithm>
#include <vector>

#include "core/rule/rule_messages.h"
#include "core/rule/selection_services.h"

namespace dovetam {
namespace {

struct Register {
  int16_t code;
  int16_t modifier;
  std::vector<int32_t>& ranges;
  int32_t& count;
  int32_t& capacity;
};

// Which list a sweep reads: the register, the Selection or NewRanges.
enum class List { kRegister, kSelection, kNew };

class OperatorRun {
 public:
  OperatorRun(RuleCall& call, Register reg, int32_t length) : call_(call), ws_(call.ws), reg_(reg), len_(length) {}

  void Run() {
    switch (reg_.code) {
      case 1:
      case 2:
        ws_.NewCount = 0;
        Sweep(List::kSelection, ws_.SelCount, reg_.code == 1);
        break;
      case 3: {
        int32_t n = 0;
        if (!ComplementSelection(n)) return;
        ws_.NewCount = n;
        Sweep(List::kNew, n, false);
        break;
      }
      case 4: {
        int32_t n = 0;
        if (!ComplementRegister(n)) return;
        reg_.count = n;
        ws_.NewCount = 0;
        Sweep(List::kSelection, ws_.SelCount, false);
        break;
      }
      default: break;
    }
  }

 private:
  std::vector<int32_t>& Array(List list) {
    if (list == List::kRegister) return reg_.ranges;
    return list == List::kSelection ? ws_.SelRanges : ws_.NewRanges;
  }

  bool MemoryShort() {
    call_.FailMemory();
    return false;
  }

  // Which end pieces the modifier takes for a list (s1 .. en).
  void EndPieces(int32_t s1, int32_t en, bool& left, bool& right) const {
    switch (reg_.modifier) {
      case 1: left = right = false; break;
      case 2: left = right = true; break;
      case 3: left = true; right = false; break;
      case 4: left = false; right = true; break;
      default:
        left = s1 != 1;
        right = en != len_ + 1;
    }
  }

  // The complement of n ranges of `source` into `target` (which may be the
  // same array). `grow` makes room for element 2n + 2 when the left end piece
  // is taken. Returns false after a memory failure.
  template <class Grow>
  bool Complement(List source, List target, int32_t n, int32_t& outCount, Grow grow) {
    if (n == 0) {
      if (reg_.modifier == 0 || reg_.modifier == 2) {
        if (!grow(2)) return MemoryShort();
        Array(target)[1] = 1;
        Array(target)[2] = len_ + 1;
        outCount = 1;
      } else {
        outCount = 0;
      }
      return true;
    }
    const std::size_t last = static_cast<std::size_t>(2 * n);
    bool left = false;
    bool right = false;
    EndPieces(Array(source)[1], Array(source)[last], left, right);
    if (left) {
      if (!grow(2 * n + 2)) return MemoryShort();
      std::vector<int32_t>& to = Array(target);
      const std::vector<int32_t>& from = Array(source);
      for (std::size_t k = last; k >= 1; --k) to[k + 1] = from[k];
      to[1] = 1;
      if (right) to[last + 2] = len_ + 1;
      outCount = right ? n + 1 : n;
    } else {
      std::vector<int32_t>& to = Array(target);
      const std::vector<int32_t>& from = Array(source);
      for (std::size_t k = 2; k <= last; ++k) to[k - 1] = from[k];
      if (right) to[last] = len_ + 1;
      outCount = right ? n : n - 1;
    }
    return true;
  }

  bool ComplementSelection(int32_t& n) {
    const int32_t count = std::min(ws_.SelCount, ws_.SelCapacity / 2);
    return Complement(List::kSelection, List::kNew, count, n,
                      [&](int32_t need) { return GrowSelectionTo(ws_, need, call_.caps); });
  }

  bool ComplementRegister(int32_t& n) {
    const int32_t count = std::min(reg_.count, reg_.capacity / 2);
    return Complement(List::kRegister, List::kRegister, count, n, [&](int32_t need) {
      return GrowRangeListTo(reg_.ranges, reg_.capacity, need, call_.caps);
    });
  }

  // One pass over the register's list (left) and `right` (right count
  // `rightCount`), by the union or the intersection rule; the result goes
  // behind the complement in NewRanges and then into the register.
  void Sweep(List right, int32_t rightCount, bool unionRule) {
    const int64_t leftLast = 2 * static_cast<int64_t>(std::min(reg_.count, reg_.capacity / 2));
    const int64_t rightLimit = right == List::kSelection ? ws_.SelCapacity : 2 * static_cast<int64_t>(ws_.NewCount);
    const int64_t rightLast = std::min<int64_t>(2 * static_cast<int64_t>(rightCount), rightLimit);
    const int64_t out = 2 * static_cast<int64_t>(ws_.NewCount);
    int64_t j = 1;
    int64_t k = 1;
    int64_t i = 0;
    for (;;) {
      const std::vector<int32_t>& l = Array(List::kRegister);
      const std::vector<int32_t>& r = Array(right);
      const int32_t a = j <= leftLast ? l[static_cast<std::size_t>(j)] : 0;
      const int32_t b = k <= rightLast ? r[static_cast<std::size_t>(k)] : 0;
      if (a == 0 && b == 0) break;
      bool takeLeft = false;
      bool takeRight = false;
      if (a == 0) {
        takeRight = true;
      } else if (b == 0) {
        takeLeft = true;
      } else if (a < b) {
        takeLeft = true;
      } else if (a > b) {
        takeRight = true;
      } else {
        const bool leftEnd = j % 2 == 0;
        const bool rightEnd = k % 2 == 0;
        if (leftEnd && rightEnd) {
          takeLeft = takeRight = true;
        } else if (leftEnd) {
          takeLeft = true;
        } else if (rightEnd) {
          takeRight = true;
        } else {
          const bool leftEmpty = a == l[static_cast<std::size_t>(j + 1)];
          const bool rightEmpty = b == r[static_cast<std::size_t>(k + 1)];
          if (leftEmpty == rightEmpty) {
            takeLeft = takeRight = true;
          } else {
            takeLeft = leftEmpty;
            takeRight = rightEmpty;
          }
        }
      }
      const int32_t v = takeLeft ? a : b;
      if (takeLeft) ++j;
      if (takeRight) ++k;
      const bool leftInside = j % 2 == 0;
      const bool rightInside = k % 2 == 0;
      const bool resultInside = i % 2 == 1;
      const bool write = unionRule
                             ? (resultInside ? (!leftInside && !rightInside) : (leftInside || rightInside))
                             : (resultInside ? (!leftInside || !rightInside) : (leftInside && rightInside));
      if (!write) continue;
      ++i;
      if (out + i > INT32_MAX) return void(MemoryShort());
      if (ws_.SelCapacity < out + i && !GrowSelectionTo(ws_, static_cast<int32_t>(out + i), call_.caps)) {
        return void(MemoryShort());
      }
      ws_.NewRanges[static_cast<std::size_t>(out + i)] = v;
    }
    if (reg_.capacity < i && !GrowRangeListTo(reg_.ranges, reg_.capacity, static_cast<int32_t>(i), call_.caps)) {
      return void(MemoryShort());
    }
    for (int64_t e = 1; e <= i; ++e) {
      reg_.ranges[static_cast<std::size_t>(e)] = ws_.NewRanges[static_cast<std::size_t>(out + e)];
    }
    reg_.count = static_cast<int32_t>(i / 2);
  }

  RuleCall& call_;
  RuleWorkspace& ws_;
  Register reg_;
  int32_t len_;
};

}  // namespace

void ApplySelectionOperator(RuleCall& call, int32_t operandLength) {
  RuleWorkspace& ws = call.ws;
  OperatorRun(call, Register{ws.OpCode, ws.OpModifier, ws.OpRanges, ws.OpCount, ws.OpCapacity}, operandLength)
      .Run();
}

void ApplySelectionOperatorSameLength(RuleCall& call, int32_t operandLength) {
  RuleWorkspace& ws = call.ws;
  OperatorRun(call, Register{ws.Op2Code, ws.Op2Modifier, ws.Op2Ranges, ws.Op2Count, ws.Op2Capacity},
              operandLength)
      .Run();
}

}  // namespace dovetam
