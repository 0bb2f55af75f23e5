// FindPatternMatches: the occurrences of a side's group pattern within one
// window [low, high) of the operand (declared in selection_services.h).
//
// The side's sign chooses the direction (+ forward, - backward on the
// reversed text), the l / r suffix flags force scanning from the left / the
// right. Each pass searches every Alternative that holds no occurrence at or
// after WindowLow, from its last candidate start on (pattern_matcher.h), and
// takes the occurrence with the smallest start (ties: the lower-numbered
// Alternative); the next pass starts at its end, so occurrences never
// overlap. A taken occurrence whose Alternative consumed clip items moves the
// clip cursors and recompiles the Alternatives that read them.
//
// Results: SideCountKind 1 the N-th occurrence (counted from the far end by
// collecting them all when the scan runs the other way), 2 the occurrence
// equal to the window ("=") or anchored at its start / end (zeros), 3 every
// occurrence in NewRanges slots base + 1, ... In text coordinates. Missing
// occurrences leave the code of the prefix letter (i -2, l -3, r -4, else 0).
//
// Cost: each pass is bounded by the matcher's memo (pattern_matcher.h); the
// passes are at most one per occurrence. An Alternative longer than the
// window (its fixed length, a 64-bit sum of counts, may exceed any name) is
// not tried at all. The reversed text, every pass, every Alternative it visits
// and every start it tries spend the name's work (pattern_work.h), so no
// rule keeps one name busy for long. NewRanges grows by
// Capacities::rangeStep; a failed growth is the memory error.
#include <string>
#include <vector>

#include "core/rule/pattern_compiler.h"
#include "core/rule/pattern_matcher.h"
#include "core/rule/pattern_work.h"
#include "core/rule/rule_messages.h"
#include "core/rule/selection_services.h"

namespace dovetam {
namespace {

class PatternSearch {
 public:
  PatternSearch(RuleCall& call, std::u16string_view text, int16_t side, int32_t base)
      : call_(call), ws_(call.ws), side_(static_cast<std::size_t>(side)), sideNo_(side), base_(base),
        length_(static_cast<int32_t>(text.size())), text_(text) {
    forward_ = (ws_.SidePrefixSign[side_] == 1 && (ws_.SideSuffixFlags[side_] & 2) == 0) ||
               (ws_.SidePrefixSign[side_] == 2 && (ws_.SideSuffixFlags[side_] & 1) != 0);
    far_ = ws_.SidePrefixSign[side_] != (forward_ ? 1 : 2);
  }

  int32_t Run(int32_t low, int32_t high) {
    if (!forward_) {
      if (!SpendPatternWork(call_, length_)) return 0;
      reversed_.assign(text_.rbegin(), text_.rend());
      text_ = reversed_;
    }
    ws_.SearchReversed = !forward_;
    callLow_ = forward_ ? low : length_ + 2 - high;
    callHigh_ = forward_ ? high : length_ + 2 - low;
    ws_.WindowMode = 1;
    ws_.WindowLow = callLow_;
    ws_.WindowHigh = callHigh_;
    ws_.PatClipUp = 1;
    ws_.PatClipDown = ws_.ClipCount;
    Compile(0);
    if (call_.failed()) return 0;

    const int16_t kind = ws_.SideCountKind[side_];
    const int32_t nth = ws_.SideNth[side_];
    int32_t found = 0;
    for (;;) {
      if (!Pass()) return 0;
      int32_t taken = 0;    // the occurrence used
      int32_t advance = 0;  // the alternative whose end starts the next pass
      const int32_t earliest = Earliest();
      if (kind == 2) {
        for (int32_t a = 1; a <= ws_.AltCount && taken == 0; ++a) {
          if (ws_.AltState[Alt(a)] == 1 && Passes(a, nth)) taken = a;
        }
        if (taken != 0) {
          SetFound(taken);
          return 0;
        }
        if (!far_ || earliest == 0) break;
        advance = earliest;
      } else {
        if (earliest == 0) break;
        taken = advance = earliest;
        ++found;
        if (kind == 1 && !far_) {
          if (found == nth) {
            SetFound(taken);
            return 0;
          }
        } else if (!Store(found, taken)) {
          return 0;
        }
      }
      if (!Advance(advance)) return 0;
    }

    if (kind == 3) return found;
    if (kind == 1 && far_ && found >= nth && nth >= 1) {
      const std::size_t slot = static_cast<std::size_t>(base_ + found - nth + 1);
      ws_.SideFound[side_][1] = ws_.NewRanges[2 * slot - 1];
      ws_.SideFound[side_][2] = ws_.NewRanges[2 * slot];
      return 0;
    }
    ws_.SideFound[side_][1] = NotFoundCode(ws_.SidePrefixMode[side_]);
    return 0;
  }

 private:
  static std::size_t Alt(int32_t a) { return static_cast<std::size_t>(a); }
  int32_t MatchStart(int32_t a) const { return ws_.AltMatch[AltMatchCell(a, 1)]; }
  int32_t MatchEnd(int32_t a) const { return ws_.AltMatch[AltMatchCell(a, 2)]; }

  static int32_t NotFoundCode(int16_t mode) {
    switch (mode) {
      case 1: return -2;
      case 3: return -3;
      case 4: return -4;
      default: return 0;
    }
  }

  // Compiles, forgetting what the matcher learnt about every Alternative
  // whose items are compiled anew.
  void Compile(int16_t mask) {
    const int32_t before = static_cast<int32_t>(memos_.size()) - 1;
    for (int32_t a = 1; a <= before; ++a) {
      if (mask == 0 || (mask & ws_.PatClipFlags[Alt(a)]) != 0) memos_[Alt(a)].Clear();
    }
    CompilePattern(call_, sideNo_, mask);
    if (!call_.failed() && static_cast<int32_t>(memos_.size()) < ws_.AltCount + 1) {
      memos_.resize(static_cast<std::size_t>(ws_.AltCount) + 1);
    }
  }

  // One pass: every Alternative without an occurrence at or after WindowLow
  // looks for its next one.
  bool Pass() {
    if (!SpendPatternWork(call_, ws_.AltCount)) return false;
    for (int32_t h = 1; h <= ws_.AltCount; ++h) {
      const int16_t state = ws_.AltState[Alt(h)];
      if (!(state == 0 || (state == 1 && MatchStart(h) < ws_.WindowLow))) continue;
      ws_.AltState[Alt(h)] = -1;
      if (ws_.AltPos[Alt(h)] < ws_.WindowLow) ws_.AltPos[Alt(h)] = ws_.WindowLow;
      while (ws_.AltPos[Alt(h)] + ws_.PatFixedLength[Alt(h)] <= ws_.WindowHigh) {
        if (!SpendPatternWork(call_, 1)) return false;
        const int32_t s = ws_.AltPos[Alt(h)];
        const int32_t end = MatchAlternativeAt(call_, text_, h, s, memos_[Alt(h)]);
        if (call_.failed()) return false;
        if (end > s) {
          ws_.AltMatch[AltMatchCell(h, 1)] = s;
          ws_.AltMatch[AltMatchCell(h, 2)] = end;
          ws_.AltState[Alt(h)] = 1;
          break;
        }
        ws_.AltPos[Alt(h)] = s + 1;
      }
    }
    return true;
  }

  // The Alternative holding the occurrence with the smallest start, 0 none.
  int32_t Earliest() const {
    int32_t best = 0;
    for (int32_t a = 1; a <= ws_.AltCount; ++a) {
      if (ws_.AltState[Alt(a)] == 1 && (best == 0 || MatchStart(a) < MatchStart(best))) best = a;
    }
    return best;
  }

  // "=": the whole window of the call; zeros: anchored at its start (or, with
  // far counting, at its end).
  bool Passes(int32_t a, int32_t nth) const {
    if (nth != 0) return MatchStart(a) == callLow_ && MatchEnd(a) == callHigh_;
    return far_ ? MatchEnd(a) == callHigh_ : MatchStart(a) == callLow_;
  }

  void TextRange(int32_t a, int32_t& start, int32_t& end) const {
    if (forward_) {
      start = MatchStart(a);
      end = MatchEnd(a);
    } else {
      start = length_ + 2 - MatchEnd(a);
      end = length_ + 2 - MatchStart(a);
    }
  }

  void SetFound(int32_t a) { TextRange(a, ws_.SideFound[side_][1], ws_.SideFound[side_][2]); }

  bool Store(int32_t found, int32_t a) {
    const int64_t slot = static_cast<int64_t>(base_) + found;
    while (2 * slot > ws_.SelCapacity) {
      if (!GrowSelectionByStep(ws_, call_.caps)) {
        call_.FailMemory();
        return false;
      }
    }
    TextRange(a, ws_.NewRanges[static_cast<std::size_t>(2 * slot - 1)],
              ws_.NewRanges[static_cast<std::size_t>(2 * slot)]);
    return true;
  }

  // The next pass starts at the end of Alternative a's occurrence; clip
  // cursors move past the clip items it consumed.
  bool Advance(int32_t a) {
    ws_.WindowLow = MatchEnd(a);
    const int16_t flags = ws_.PatClipFlags[Alt(a)];
    if (flags >= 1) {
      if (flags & 1) ws_.PatClipUp += ws_.PatClipUpCount[Alt(a)];
      if (flags & 2) ws_.PatClipDown -= ws_.PatClipDownCount[Alt(a)];
      Compile(flags);
      if (call_.failed()) return false;
    }
    return true;
  }

  RuleCall& call_;
  RuleWorkspace& ws_;
  std::size_t side_;
  int16_t sideNo_;
  int32_t base_;
  int32_t length_;
  std::u16string_view text_;  // the search text: the operand, or reversed_
  bool forward_ = true;
  bool far_ = false;
  std::u16string reversed_;
  int32_t callLow_ = 0;
  int32_t callHigh_ = 0;
  std::vector<AltMemo> memos_;
};

}  // namespace

void FindPatternMatches(RuleCall& call, std::u16string_view operand, int32_t low, int32_t high,
                        int16_t side, int32_t matchBase, int32_t& matchCount) {
  matchCount = 0;
  call.ws.CurSide = side;
  if (call.ws.SideGroupKind[static_cast<std::size_t>(side)] != 2) return;
  PatternSearch search(call, operand, side, matchBase);
  const int32_t count = search.Run(low, high);
  matchCount = call.failed() ? 0 : count;
}

}  // namespace dovetam
