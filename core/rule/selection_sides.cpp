// ParseSelectionOperand: one side of a pattern selection, written prefix,
// group, suffix (see selection_sides.h), into the side's workspace fields.
//
// The group is the text between the first unescaped "(" or "[" and the last
// unescaped ")" or "]"; the earlier opener and the later closer decide the
// kind, and both must be of one kind. The prefix (which match) and the suffix
// (search flags, then the offset) are read by small state machines; blanks
// (U+0020, U+3000) are skipped anywhere in them. Numbers stay below 10^8.
#include "core/rule/selection_sides.h"

#include <string>

#include "core/rule/escape_search.h"
#include "core/rule/selection_messages.h"

namespace dovetam {
namespace {

constexpr int64_t kDigitLimit = 100000000;

bool IsBlank(char16_t c) { return c == u' ' || c == u'\u3000'; }

class SideParser {
 public:
  SideParser(RuleCall& call, std::u16string_view text, int16_t side)
      : call_(call), ws_(call.ws), text_(text), side_(static_cast<std::size_t>(side)) {}

  void Run() {
    const Settings& s = call_.settings;
    const int32_t len = static_cast<int32_t>(text_.size());
    const int32_t round = InStrUnescaped(text_, u"(", 1, s);
    const int32_t square = InStrUnescaped(text_, u"[", 1, s);
    int32_t open = len + 1;
    int openKind = 0;
    if (round > 0 && round < open) {
      open = round;
      openKind = 1;
    }
    if (square > 0 && square < open) {
      open = square;
      openKind = 2;
    }
    const int32_t roundClose = InStrRevUnescaped(text_, u")", 0, s);
    const int32_t squareClose = InStrRevUnescaped(text_, u"]", 0, s);
    int32_t close = 0;
    int closeKind = 0;
    if (roundClose > 0 && roundClose > close) {
      close = roundClose;
      closeKind = 1;
    }
    if (squareClose > 0 && squareClose > close) {
      close = squareClose;
      closeKind = 2;
    }
    if (openKind != closeKind || (openKind != 0 && open >= close)) {
      call_.Fail(SideBracketMessage(s));
      return;
    }
    if (openKind == 0) {
      form_ = u"～";
      ws_.SideGroupKind[side_] = 1;
      Suffix(1, len, false);
      return;
    }
    form_ = openKind == 1 ? u"(～)" : u"[～]";
    if (!Prefix(open - 1)) return;
    ws_.SideGroupKind[side_] = 2;
    ws_.SideGroupText[side_].assign(text_.substr(static_cast<std::size_t>(open), static_cast<std::size_t>(close - open - 1)));
    Suffix(close + 1, len, true);
  }

 private:
  char16_t At(int32_t pos) const { return text_[static_cast<std::size_t>(pos) - 1]; }

  bool Usage() {
    call_.Fail(SideUsageMessage(call_.settings, form_));
    return false;
  }
  bool Digits() {
    call_.Fail(SideDigitsMessage(call_.settings, form_));
    return false;
  }
  bool BadChar(char16_t c) {
    call_.Fail(SideCharMessage(call_.settings, form_, std::u16string_view(&c, 1)));
    return false;
  }

  // Positions 1 .. last: which match the side takes.
  bool Prefix(int32_t last) {
    int state = 0;  // 0 start, 1 after "=", 2 after a sign, 3 leading zeros, 4 digits, 5 letter
    bool eq = false;
    bool zero = false;
    int64_t n = 0;
    int16_t sign = 0;
    int16_t letter = 0;
    for (int32_t pos = 1; pos <= last; ++pos) {
      const char16_t c = At(pos);
      if (IsBlank(c)) continue;
      if (c == u'=') {
        if (state != 0) return Usage();
        eq = true;
        state = 1;
      } else if (c == u'+' || c == u'-') {
        if (state > 1) return Usage();
        sign = c == u'+' ? 1 : 2;
        state = 2;
      } else if (c == u'0') {
        if (state <= 2) {
          zero = true;
          state = 3;
        } else if (state == 4) {
          n *= 10;
          if (n >= kDigitLimit) return Digits();
        } else if (state != 3) {
          return Usage();
        }
      } else if (c >= u'1' && c <= u'9') {
        if (state <= 3) {
          n = c - u'0';
          state = 4;
        } else if (state == 4) {
          n = n * 10 + (c - u'0');
          if (n >= kDigitLimit) return Digits();
        } else {
          return Usage();
        }
      } else if (c == u'i' || c == u'd' || c == u'l' || c == u'r') {
        if (state > 4) return Usage();
        letter = static_cast<int16_t>(std::u16string_view(u"idlr").find(c) + 1);
        state = 5;
      } else {
        return BadChar(c);
      }
    }
    ws_.SidePrefixSign[side_] = sign == 0 ? 1 : sign;
    if (n > 0) {
      if (eq) return Usage();
      ws_.SideCountKind[side_] = 1;
      ws_.SideNth[side_] = static_cast<int32_t>(n);
    } else if (eq && zero) {
      return Usage();
    } else if (eq) {
      ws_.SideCountKind[side_] = 2;
      ws_.SideNth[side_] = 1;
    } else if (zero) {
      ws_.SideCountKind[side_] = 2;
      ws_.SideNth[side_] = 0;
    } else {
      ws_.SideCountKind[side_] = 3;
      ws_.SideNth[side_] = 0;
    }
    ws_.SidePrefixMode[side_] = letter;
    return true;
  }

  // Positions first .. last: the search flags, then the offset.
  bool Suffix(int32_t first, int32_t last, bool group) {
    int state = 0;  // 0 start, 1 after a sign, 2 leading zeros, 3 digits, 4 letter
    int16_t flags = 0;
    bool zero = false;
    int64_t n = 0;
    int16_t sign = 0;
    int16_t letter = 0;
    for (int32_t pos = first; pos <= last; ++pos) {
      const char16_t c = At(pos);
      if (IsBlank(c)) continue;
      if (c == u'+' || c == u'-') {
        if (state != 0) return Usage();
        sign = c == u'+' ? 1 : 2;
        state = 1;
      } else if (c == u'0') {
        if (state <= 1) {
          zero = true;
          state = 2;
        } else if (state == 3) {
          n *= 10;
          if (n >= kDigitLimit) return Digits();
        } else if (state != 2) {
          return Usage();
        }
      } else if (c >= u'1' && c <= u'9') {
        if (state <= 2) {
          n = c - u'0';
          state = 3;
        } else if (state == 3) {
          n = n * 10 + (c - u'0');
          if (n >= kDigitLimit) return Digits();
        } else {
          return Usage();
        }
      } else if ((c == u'l' || c == u'r') && group && state == 0) {
        flags |= c == u'l' ? 1 : 2;
        if ((flags & 3) == 3) return Usage();
      } else if (c == u'i' || c == u'd' || c == u'l' || c == u'r') {
        if (state > 3) return Usage();
        letter = static_cast<int16_t>(std::u16string_view(u"idlr").find(c) + 1);
        state = 4;
      } else if (c == u'u' || c == u'z') {
        if (!group || state != 0) return Usage();
        flags |= c == u'u' ? 16 : 32;
      } else {
        return BadChar(c);
      }
    }
    if (group && sign == 0 && (zero || n > 0 || letter > 0)) return Usage();
    if (sign > 0 && !zero && n == 0 && letter == 0) return Usage();
    ws_.SideSuffixFlags[side_] = flags;
    ws_.SideOffsetSign[side_] = sign == 0 ? 1 : sign;
    if (n > 0) {
      ws_.SideOffsetKind[side_] = zero ? 3 : 2;
      ws_.SideOffset[side_] = static_cast<int32_t>(n);
    } else {
      ws_.SideOffsetKind[side_] = 1;
    }
    ws_.SideOffsetMode[side_] = letter;
    return true;
  }

  RuleCall& call_;
  RuleWorkspace& ws_;
  std::u16string_view text_;
  std::size_t side_;
  std::u16string_view form_ = u"(～)";
};

}  // namespace

void ParseSelectionOperand(RuleCall& call, std::u16string_view sideText, int16_t side) {
  SideParser(call, sideText, side).Run();
}

}  // namespace dovetam
