// Index lists ?{...}?: keep ranges of the Selection by their index in it.
//
// Items are separated by chr_com; an item is an index n or a pair n:m (with
// chr_col), each written [sign][digits][letter]: "-" counts from the back,
// 0 or no digits is a missing index, and the letter (i, d, l, r) says what an
// index outside the Selection or a missing one stands for. The keep flags
// live in NewRanges (element i for range i). Cost: one pass over the list,
// plus the ranges each pair keeps; no growth.
#include <algorithm>

#include "core/rule/selection_messages.h"
#include "core/rule/selection_parts.h"

namespace dovetam {
namespace {

constexpr int64_t kDigitLimit = 100000000;

enum IndexCode { kInside, kBefore, kAfter, kDrop };

struct Item {
  int state = 0;  // 0 start, 1 sign of n, 2 digits of n, 3 letter of n, 4 after chr_col,
                  // 5 sign of m, 6 digits of m, 7 letter of m
  int nSign = 0, mSign = 0;  // 0 none, 1 "+", 2 "-"
  int64_t n = 0, m = 0;
  int nLetter = 0, mLetter = 0;  // 0 none, 1 i, 2 d, 3 l, 4 r
};

class IndexListRun {
 public:
  explicit IndexListRun(RuleCall& call) : call_(call), ws_(call.ws), count_(call.ws.SelCount) {}

  bool Run(std::u16string_view rule, int32_t braOpen, int32_t braClose) {
    const Settings& s = call_.settings;
    for (int32_t i = 1; i <= count_; ++i) ws_.NewRanges[static_cast<std::size_t>(i)] = 0;
    for (int32_t pos = braOpen; pos <= braClose; ++pos) {
      const char16_t c = rule[static_cast<std::size_t>(pos) - 1];
      if (!Step(c, s, pos == braOpen, pos == braClose)) return false;
    }
    int32_t k = 0;
    for (int32_t i = 1; i <= count_; ++i) {
      if (ws_.NewRanges[static_cast<std::size_t>(i)] != 1) continue;
      ++k;
      ws_.SelRanges[2 * k - 1] = ws_.SelRanges[2 * i - 1];
      ws_.SelRanges[2 * k] = ws_.SelRanges[2 * i];
    }
    ws_.SelCount = k;
    return true;
  }

 private:
  bool Usage() {
    call_.Fail(IndexListUsageMessage(call_.settings));
    return false;
  }
  bool Digits() {
    call_.Fail(IndexListDigitsMessage(call_.settings));
    return false;
  }

  static bool Is(char16_t c, const std::u16string& symbol) { return symbol.size() == 1 && c == symbol.front(); }

  bool Step(char16_t c, const Settings& s, bool opening, bool closing) {
    int& st = item_.state;
    if (c == u'+' || c == u'-') {
      const int sign = c == u'+' ? 1 : 2;
      if (st == 0) {
        item_.nSign = sign;
        st = 1;
      } else if (st == 4) {
        item_.mSign = sign;
        st = 5;
      } else {
        return Usage();
      }
      return true;
    }
    if (c >= u'0' && c <= u'9') {
      const int d = c - u'0';
      if (st == 0 || st == 1) {
        item_.n = d;
        st = 2;
      } else if (st == 2) {
        item_.n = item_.n * 10 + d;
      } else if (st == 4 || st == 5) {
        item_.m = d;
        st = 6;
      } else if (st == 6) {
        item_.m = item_.m * 10 + d;
      } else {
        return Usage();
      }
      if (item_.n >= kDigitLimit || item_.m >= kDigitLimit) return Digits();
      return true;
    }
    const std::u16string_view letters = u"idlr";
    const std::size_t letter = letters.find(c);
    if (letter != std::u16string_view::npos) {
      if (st <= 2) {
        item_.nLetter = static_cast<int>(letter) + 1;
        st = 3;
      } else if (st >= 4 && st <= 6) {
        item_.mLetter = static_cast<int>(letter) + 1;
        st = 7;
      } else {
        return Usage();
      }
      return true;
    }
    if (Is(c, s.ChrCol)) {
      if (st > 3) return Usage();
      st = 4;
      return true;
    }
    if (!Is(c, s.ChrBra1) && !Is(c, s.ChrCom) && !Is(c, s.ChrBra2)) {
      if (c == u' ' || c == u'\u3000') return true;
      return Usage();
    }
    if ((Is(c, s.ChrBra1) && !opening) || (Is(c, s.ChrBra2) && !closing)) return Usage();
    if (opening) {
      item_ = Item{};
      return true;
    }
    if (!Resolve()) return false;
    item_ = Item{};
    return true;
  }

  void KeepRange(int32_t from, int32_t to) {
    for (int32_t i = from; i <= to; ++i) ws_.NewRanges[static_cast<std::size_t>(i)] = 1;
  }

  bool Resolve() {
    if (item_.state <= 3) return ResolveSingle();
    return ResolvePair();
  }

  bool ResolveSingle() {
    const int64_t n = item_.n;
    if (item_.nSign != 0 && n == 0) return Usage();
    if (item_.nLetter == 3 || item_.nLetter == 4) return Usage();
    if (n > 0 && n <= count_) {
      const int32_t index = item_.nSign == 2 ? count_ + 1 - static_cast<int32_t>(n) : static_cast<int32_t>(n);
      KeepRange(index, index);
    } else if (item_.nLetter == 1) {
      KeepRange(1, count_);  // beyond the count or missing, with "i": every range
    }
    return true;
  }

  // One index of a pair: a range number, or where it stands outside.
  IndexCode Place(int64_t value, int sign, int letter, bool second, int32_t& index) const {
    if (value > 0 && value <= count_) {
      index = sign == 2 ? count_ + 1 - static_cast<int32_t>(value) : static_cast<int32_t>(value);
      return kInside;
    }
    const bool missing = value == 0;
    switch (letter) {
      case 1:
        return second ? kAfter : kBefore;
      case 2:
        return kDrop;
      case 3:
        return kBefore;
      case 4:
        return kAfter;
      default:
        if (missing) return second ? kAfter : kBefore;
        return sign == 2 ? kBefore : kAfter;
    }
  }

  bool ResolvePair() {
    if ((item_.nSign != 0 && item_.n == 0) || (item_.mSign != 0 && item_.m == 0)) return Usage();
    int32_t n = 0;
    int32_t m = 0;
    const IndexCode cn = Place(item_.n, item_.nSign, item_.nLetter, false, n);
    const IndexCode cm = Place(item_.m, item_.mSign, item_.mLetter, true, m);
    if (count_ == 0 || cn == kDrop || cm == kDrop) return true;
    if ((cn == kBefore && cm == kBefore) || (cn == kAfter && cm == kAfter)) return true;
    if (cn == kBefore) n = 0;
    if (cn == kAfter) n = count_ + 1;
    if (cm == kBefore) m = 0;
    if (cm == kAfter) m = count_ + 1;
    if (n > m) {
      if (!call_.settings.RevMode) return true;
      std::swap(n, m);
    }
    KeepRange(std::clamp(n, 1, count_), std::clamp(m, 1, count_));
    return true;
  }

  RuleCall& call_;
  RuleWorkspace& ws_;
  const int32_t count_;
  Item item_;
};

}  // namespace

bool RunIndexList(RuleCall& call, std::u16string_view rule, int32_t braOpen, int32_t braClose) {
  IndexListRun run(call);
  return run.Run(rule, braOpen, braClose);
}

}  // namespace dovetam
