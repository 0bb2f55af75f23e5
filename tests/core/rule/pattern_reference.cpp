// The reference matcher (see pattern_reference.h).
#include "pattern_reference.h"

#include <algorithm>

#include "core/rule/char_classes.h"
#include "core/rule/pattern_compiler.h"

namespace dovetam::testing {
namespace {

struct Ref {
  Engine& e;
  std::u16string_view text;
  int32_t alt;
  int32_t s;
  int32_t high;

  int32_t Kind(int32_t j) const { return e.ws.PatItemKind[PatCell(e.ws, alt, j)]; }
  const std::u16string& Item(int32_t j) const { return e.ws.PatItemText[PatCell(e.ws, alt, j)]; }
  int32_t Count() const { return e.ws.PatItemCount[static_cast<std::size_t>(alt)]; }
  bool Class(int32_t j, int32_t q) { return q < high && MatchCharClass(e.call, text, q, Item(j)[0]); }

  // Literal or exactly-N item j at q: the position after it, or -1.
  int32_t Fixed(int32_t j, int32_t q) {
    if (Kind(j) == kItemLiteral) {
      const int32_t end = q + static_cast<int32_t>(Item(j).size());
      return end <= high && MatchLiteralAt(e.call, text, q, Item(j)) ? end : -1;
    }
    for (int32_t k = 0; k < Kind(j); ++k) {
      if (!Class(j, q + k)) return -1;
    }
    return q + Kind(j);
  }

  // 0 dead, 1 the next item matches at q, 2 the rest may all be empty.
  int Status(int32_t m, int32_t q) {
    for (; m <= Count(); ++m) {
      if (Kind(m) == kItemZeroOrMore) {
        if (Class(m, q)) return 1;
        continue;
      }
      if (Kind(m) == kItemOneOrMore) return Class(m, q) ? 1 : 0;
      return Fixed(m, q) >= 0 ? 1 : 0;
    }
    return 2;
  }

  int32_t Try(int32_t j, int32_t p) {
    if (j > Count()) return p > s ? p : 0;
    const int32_t kind = Kind(j);
    if (kind == kItemLiteral || kind >= 1) {
      const int32_t next = Fixed(j, p);
      return next < 0 ? 0 : Try(j + 1, next);
    }
    int32_t run = 0;
    while (Class(j, p + run)) ++run;
    std::vector<int32_t> viable;
    std::vector<int32_t> open;
    for (int32_t len = kind == kItemOneOrMore ? 1 : 0; len <= run; ++len) {
      const int st = Status(j + 1, p + len);
      if (st == 1) viable.push_back(p + len);
      if (st == 2) open.push_back(p + len);
    }
    if (e.settings.MchMode != 1) std::reverse(viable.begin(), viable.end());
    std::reverse(open.begin(), open.end());
    for (int32_t q : viable) {
      if (int32_t end = Try(j + 1, q)) return end;
    }
    for (int32_t q : open) {
      if (int32_t end = Try(j + 1, q)) return end;
    }
    return 0;
  }
};

}  // namespace

int32_t ReferenceMatchAt(Engine& e, std::u16string_view text, int32_t alt, int32_t s, int32_t high) {
  Ref ref{e, text, alt, s, high};
  return ref.Try(1, s);
}

std::vector<std::pair<int32_t, int32_t>> ReferenceAll(Engine& e, const std::u16string& text, int32_t low,
                                                      int32_t high, bool forward) {
  const int32_t len = static_cast<int32_t>(text.size());
  const std::u16string search = forward ? text : std::u16string(text.rbegin(), text.rend());
  const int32_t lo = forward ? low : len + 2 - high;
  const int32_t hi = forward ? high : len + 2 - low;
  e.ws.CurSide = 1;
  e.ws.SearchReversed = !forward;
  e.ws.WindowMode = 1;
  e.ws.WindowLow = lo;
  e.ws.WindowHigh = hi;
  e.ws.PatClipUp = 1;
  e.ws.PatClipDown = e.ws.ClipCount;
  CompilePattern(e.call, 1, 0);
  std::vector<std::pair<int32_t, int32_t>> out;
  for (int32_t from = lo;;) {
    int32_t bestStart = 0;
    int32_t bestEnd = 0;
    for (int32_t a = 1; a <= e.ws.AltCount; ++a) {
      for (int32_t s = from; s < hi && (bestStart == 0 || s < bestStart); ++s) {
        if (int32_t end = ReferenceMatchAt(e, search, a, s, hi)) {
          bestStart = s;
          bestEnd = end;
          break;
        }
      }
    }
    if (bestStart == 0) return out;
    if (forward) {
      out.emplace_back(bestStart, bestEnd);
    } else {
      out.emplace_back(len + 2 - bestEnd, len + 2 - bestStart);
    }
    from = bestEnd;
  }
}

}  // namespace dovetam::testing
