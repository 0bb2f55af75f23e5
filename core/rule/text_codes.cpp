// One code of a text piece: grammar, value, fitting to the width.
//
// A code is chr_yen, then in this order: [zero flag "0"] [width] [i or d]
// [l or r] [chr_per] [sign] [count] [u or e] and one final letter (n c C Y M
// A H I S D T U E), or chr_yen [zero] [width] [flags] [chr_per] and an exact
// sum "(...)". Blanks " " and "　" inside a code are skipped. The parser is a
// state machine over states 0..7 (the sum has its own, below). Cost: linear
// in the code; the value is at most kMaxCodeWidth units wider than its text.
#include <algorithm>

#include "core/rule/date_codes.h"
#include "core/rule/exact_sum.h"
#include "core/rule/rule_messages.h"
#include "core/rule/text_codes.h"
#include "core/rule/text_expansion.h"

namespace dovetam {
namespace {

constexpr int32_t kDigitLimit = 100000000;

enum ValueKind { kNumberKind, kDateTextKind, kTextKind };

struct CodeFields {
  int state = 0;
  bool zero = false;
  int32_t width = 0;
  bool percent = false;
  char16_t cut = 0;    // 'i' pad and cut, 'd' cut only
  char16_t align = 0;  // 'l', 'r'
  char16_t sign = 0;   // '+', '-'
  bool hasCount = false;
  int32_t count = 0;
  char16_t source = 0;  // 'u', 'e'
};

bool IsBlank(char16_t c) { return c == u' ' || c == u'\u3000'; }
bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool IsSymbol(char16_t c, const std::u16string& symbol) { return symbol.size() == 1 && c == symbol[0]; }
bool IsDateLetter(char16_t c) {
  return c == u'Y' || c == u'M' || c == u'A' || c == u'H' || c == u'I' || c == u'S' || c == u'D' ||
         c == u'T' || c == u'U' || c == u'E';
}
// Characters that some state of the grammar knows (a misplaced one is a
// format error, any other an invalid character).
bool IsKnownCodeChar(char16_t c, const Settings& s) {
  if (IsDigit(c) || IsSymbol(c, s.ChrPer) || IsDateLetter(c)) return true;
  switch (c) {
    case u'i': case u'd': case u'l': case u'r': case u'+': case u'-':
    case u'u': case u'e': case u'(': case u'n': case u'c': case u'C':
      return true;
    default:
      return false;
  }
}

bool FailFormat(RuleCall& call) {
  call.Fail(CodeFormatMessage(call.settings.ChrYen));
  return false;
}
bool FailDigits(RuleCall& call) {
  call.Fail(CodeDigitsMessage(call.settings.ChrYen));
  return false;
}
bool FailChar(RuleCall& call, char16_t c) {
  call.Fail(CodeCharMessage(call.settings.ChrYen, std::u16string_view(&c, 1)));
  return false;
}

// Fits a value to the code's width (see the rules in the comments below) and
// appends it. False after the "memory short" error for an absurd width.
bool AppendFitted(RuleCall& call, ExpansionPass& pass, const CodeFields& code, std::u16string value,
                  ValueKind kind) {
  const std::size_t w = static_cast<std::size_t>(code.width);
  const std::size_t len = value.size();
  if (w == 0) {
    pass.out += value;
    return true;
  }
  if (len >= w || code.cut == u'd') {
    if (w < len && code.cut != 0) {
      const bool keepLeft = kind == kTextKind ? code.align != u'r' : code.align == u'l';
      if (keepLeft) {
        value.resize(w);
      } else if (kind == kNumberKind && value[0] == u'-') {
        // A negative number keeps its sign and the last w - 1 characters.
        std::u16string cut(1, u'-');
        cut.append(value, len - (w - 1));
        value = std::move(cut);
      } else {
        value = value.substr(len - w);
      }
    }
    pass.out += value;
    return true;
  }
  if (code.width > kMaxCodeWidth) {
    call.FailMemory();
    return false;
  }
  const char16_t pad = kind != kTextKind && code.zero ? u'0' : u' ';
  const bool padInFront = kind == kTextKind ? code.align == u'r' : code.align != u'l';
  if (kind == kNumberKind && code.zero && padInFront && len > 0 && value[0] == u'-') {
    // "-" and the last w - 1 characters of (w - 2 zeros and the digits).
    std::u16string digits(w >= 2 ? w - 2 : 0, u'0');
    digits.append(value, 1);
    pass.out += u'-';
    pass.out.append(digits, digits.size() - (w - 1));
    return true;
  }
  if (padInFront) pass.out.append(w - len, pad);
  pass.out += value;
  if (!padInFront) pass.out.append(w - len, pad);
  return true;
}

std::u16string NumberText(int64_t v) {
  std::string s = std::to_string(v);
  return std::u16string(s.begin(), s.end());
}

const std::u16string& ClipItemAt(const RuleWorkspace& ws, int64_t index) {
  static const std::u16string kNone;
  if (index < 1 || index > ws.ClipCount || index >= static_cast<int64_t>(ws.ClipItems.size())) return kNone;
  return ws.ClipItems[static_cast<std::size_t>(index)];
}

std::u16string AllClipItems(const RuleWorkspace& ws) {
  std::u16string joined;
  for (int32_t k = 1; k <= ws.ClipCount && k < static_cast<int32_t>(ws.ClipItems.size()); ++k) {
    joined += ws.ClipItems[static_cast<std::size_t>(k)];
  }
  return joined;
}

// One term of a sum, collected until its end.
struct SumTerm {
  char16_t termSign = 0;
  char16_t indexSign = 0;
  std::u16string digits;  // without leading zeros
  bool sawDigits = false;
  char16_t letter = 0;  // 0 digits or empty, 'n', 'c', 'C'
};

bool AddTerm(RuleCall& call, ExpansionPass& pass, DecimalAccumulator& acc, const SumTerm& t) {
  const bool subtract = t.termSign == u'-';
  const RuleContext& ctx = call.context;
  switch (t.letter) {
    case 0:
      if (t.indexSign != 0) return FailFormat(call);
      return AddToDecimalAccumulator(call, acc, t.digits, subtract ? kSumSubDigits : kSumAddDigits);
    case u'n': {
      int64_t v = t.indexSign == u'-' ? static_cast<int64_t>(ctx.CurTotal) - ctx.CurPos + 1 : ctx.CurPos;
      return AddToDecimalAccumulator(call, acc, v, subtract ? kSumSubSigned : kSumAddSigned);
    }
    case u'c': {
      std::u16string item;
      if (t.sawDigits) {
        if (t.digits.size() > 8) return FailDigits(call);
        int64_t k = 0;
        for (char16_t d : t.digits) k = k * 10 + (d - u'0');
        if (k >= 1 && k <= call.ws.ClipCount) {
          item = ClipItemAt(call.ws, t.indexSign == u'-' ? call.ws.ClipCount + 1 - k : k);
        }
      } else {
        TakeSequentialClip(call, t.indexSign == u'-', pass, item);
      }
      return AddToDecimalAccumulator(call, acc, item, subtract ? kSumSubSigned : kSumAddSigned);
    }
    default:  // 'C'
      return AddToDecimalAccumulator(call, acc, AllClipItems(call.ws), subtract ? kSumSubSigned : kSumAddSigned);
  }
}

// Parses the sum after "(" at the 1-based position pos. Returns the position
// after ")" or 0 after a failure.
int32_t ParseSum(RuleCall& call, std::u16string_view text, int32_t pos, ExpansionPass& pass,
                 DecimalAccumulator& acc) {
  enum { kStart, kOneSign, kTwoSigns, kDigits, kDone } st = kStart;
  SumTerm term;
  const int32_t len = static_cast<int32_t>(text.size());
  for (; pos <= len; ++pos) {
    const char16_t c = text[static_cast<std::size_t>(pos) - 1];
    if (IsBlank(c)) continue;
    if (c == u'+' || c == u'-') {
      if (st == kStart) {
        term.termSign = c;
        st = kOneSign;
      } else if (st == kOneSign) {
        term.indexSign = c;
        st = kTwoSigns;
      } else if (st == kTwoSigns) {
        return FailFormat(call), 0;
      } else {
        if (!AddTerm(call, pass, acc, term)) return 0;
        term = SumTerm{};
        term.termSign = c;
        st = kOneSign;
      }
    } else if (IsDigit(c)) {
      if (st == kDone) return FailFormat(call), 0;
      term.sawDigits = true;
      if (!(term.digits.empty() && c == u'0')) term.digits += c;
      st = kDigits;
    } else if (c == u'n' || c == u'c' || c == u'C') {
      if (st == kDone) return FailFormat(call), 0;
      if (st == kDigits && c != u'c') return FailFormat(call), 0;
      if (c == u'C' && term.indexSign != 0) return FailFormat(call), 0;
      term.letter = c;
      st = kDone;
    } else if (c == u')') {
      if (st == kOneSign || st == kTwoSigns) return FailFormat(call), 0;
      if (!AddTerm(call, pass, acc, term)) return 0;
      return pos + 1;
    } else if (IsKnownCodeChar(c, call.settings)) {
      return FailFormat(call), 0;
    } else {
      return FailChar(call, c), 0;
    }
  }
  return FailFormat(call), 0;  // not closed before the end of the text
}

// Values of the final letters.
bool AppendPosition(RuleCall& call, ExpansionPass& pass, const CodeFields& code) {
  if (code.width == 0 && (code.zero || code.cut || code.align)) return FailFormat(call);
  const RuleContext& ctx = call.context;
  int64_t v = code.sign == u'-' ? static_cast<int64_t>(ctx.CurTotal) - ctx.CurPos + 1 : ctx.CurPos;
  return AppendFitted(call, pass, code, NumberText(v), kNumberKind);
}

bool AppendClip(RuleCall& call, ExpansionPass& pass, CodeFields code, char16_t letter) {
  if (code.zero) return FailFormat(call);
  if (letter == u'C' && (code.sign != 0 || code.hasCount)) return FailFormat(call);
  int64_t index = 0;
  if (letter == u'c') {
    if (code.hasCount) {
      index = code.count;
    } else if (code.state == 2) {  // "\" and digits only: the digits are the index
      index = code.width;
      code.width = 0;
    }
  }
  if ((code.cut || code.align) && code.width == 0) return FailFormat(call);
  const RuleWorkspace& ws = call.ws;
  std::u16string value;
  if (letter == u'C') {
    value = AllClipItems(ws);
  } else if (index > 0) {
    if (index > ws.ClipCount) return true;  // nothing, not even padding
    value = ClipItemAt(ws, code.sign == u'-' ? ws.ClipCount + 1 - index : index);
  } else if (!TakeSequentialClip(call, code.sign == u'-', pass, value)) {
    return true;  // no item left: nothing
  }
  return AppendFitted(call, pass, code, std::move(value), kTextKind);
}

bool AppendDate(RuleCall& call, ExpansionPass& pass, CodeFields code, char16_t letter) {
  // A lone number is a count: \2Y is the year Mod 100, \2%Y the year in 2 places.
  if (!code.zero && code.width > 0 && !code.cut && !code.align && !code.percent && !code.hasCount) {
    code.hasCount = true;
    code.count = code.width;
    code.width = 0;
  }
  if (code.sign != 0) return FailFormat(call);
  if (code.width == 0 && (code.zero || code.cut || code.align)) return FailFormat(call);
  const int32_t count = code.hasCount ? code.count : 0;
  const int kind = code.source == u'e' ? kDateCreated : kDateModified;
  DateCodeValue v;
  switch (letter) {
    case u'D': {
      if (count != 0 && count != 6 && count != 8) return FailFormat(call);
      if (!GetObjectDateCode(call, kind, count == 8 ? 7 : 8, v)) return false;
      return AppendFitted(call, pass, code, std::move(v.text), kDateTextKind);
    }
    case u'T': {
      if (count != 0 && count != 6 && count != 4) return FailFormat(call);
      if (!GetObjectDateCode(call, kind, count == 4 ? 10 : 9, v)) return false;
      return AppendFitted(call, pass, code, std::move(v.text), kDateTextKind);
    }
    case u'U':
    case u'E': {
      if (code.source != 0) return FailFormat(call);
      const int dateCode = (count == 0 || count == 6 || count == 64 || count == 66) ? 8
                           : (count == 8 || count == 84 || count == 86)            ? 7
                                                                                   : 0;
      if (dateCode == 0) return FailFormat(call);
      const int timeCode = (count == 64 || count == 84) ? 10 : (count == 66 || count == 86) ? 9 : 0;
      const int which = letter == u'U' ? kDateModified : kDateCreated;
      if (!GetObjectDateCode(call, which, dateCode, v)) return false;
      std::u16string text = std::move(v.text);
      if (timeCode != 0) {
        if (!GetObjectDateCode(call, which, timeCode, v)) return false;
        text += v.text;
      }
      return AppendFitted(call, pass, code, std::move(text), kDateTextKind);
    }
    default: {
      const int part = letter == u'Y' ? 1 : letter == u'M' ? 2 : letter == u'A' ? 3
                     : letter == u'H' ? 4 : letter == u'I' ? 5 : 6;
      if (!GetObjectDateCode(call, kind, part, v)) return false;
      int64_t n = v.number;
      if (count >= 1 && count <= 8) {
        int64_t mod = 1;
        for (int k = 0; k < count; ++k) mod *= 10;
        n %= mod;
      }
      return AppendFitted(call, pass, code, NumberText(n), kNumberKind);
    }
  }
}

}  // namespace

bool TakeSequentialClip(RuleCall& call, bool backward, ExpansionPass& pass, std::u16string& item) {
  RuleWorkspace& ws = call.ws;
  int32_t& cursor = backward ? ws.ClipBack : ws.ClipFront;
  const int32_t cur = cursor;
  if (cur < 1 || cur > ws.ClipCount || cur >= static_cast<int32_t>(ws.ClipItems.size())) return false;
  item = ws.ClipItems[static_cast<std::size_t>(cur)];
  cursor = backward ? cur - 1 : cur + 1;
  const bool remaining = backward ? cur - 1 >= 1 : cur + 1 <= ws.ClipCount;
  const int16_t bit = backward ? 2 : 1;
  if (!pass.inside) {
    ws.ClipPending |= bit;
  } else if (remaining) {
    ws.ClipPending |= bit;
    pass.repeatCutState = 1;
  } else if (pass.repeatCutState == 0 || pass.repeatCutState == 2 || pass.repeatCutState == 3) {
    pass.repeatCutState = -1;
  } else if (pass.repeatCutState == 1) {
    ws.ClipPending = static_cast<int16_t>(ws.ClipPending & ~bit);
    if (ws.ClipPending == 0) pass.repeatCutState = -1;
  }
  return true;
}

int32_t ExpandOneCode(RuleCall& call, std::u16string_view text, int32_t yenPos, ExpansionPass& pass) {
  const Settings& s = call.settings;
  CodeFields code;
  const int32_t len = static_cast<int32_t>(text.size());
  int32_t pos = yenPos + static_cast<int32_t>(s.ChrYen.size());
  for (; pos <= len; ++pos) {
    const char16_t c = text[static_cast<std::size_t>(pos) - 1];
    const int st = code.state;
    bool ok = true;
    if (IsBlank(c)) continue;
    if (IsDigit(c)) {
      const int32_t d = c - u'0';
      if (c == u'0' && st == 0) {
        code.zero = true;
        code.state = 1;
      } else if (c == u'0' && st == 1) {
        // further zeros of the flag are ignored
      } else if (st <= 1) {
        code.width = d;
        code.state = 2;
      } else if (st == 2) {
        code.width = code.width * 10 + d;
        if (code.width >= kDigitLimit) return FailDigits(call), 0;
      } else if (st >= 3 && st <= 5) {
        code.hasCount = true;
        code.count = d;
        code.state = 6;
      } else if (st == 6) {
        code.count = code.count * 10 + d;
        if (code.count >= kDigitLimit) return FailDigits(call), 0;
      } else {
        ok = false;
      }
    } else if (IsSymbol(c, s.ChrPer)) {
      ok = st <= 3;
      code.percent = true;
      code.state = 4;
    } else if (c == u'i' || c == u'd') {
      ok = st <= 3 && (code.cut == 0 || code.cut == c);
      code.cut = c;
      code.state = 3;
    } else if (c == u'l' || c == u'r') {
      ok = st <= 3 && (code.align == 0 || code.align == c);
      code.align = c;
      code.state = 3;
    } else if (c == u'+' || c == u'-') {
      ok = st <= 4;
      code.sign = c;
      code.state = 5;
    } else if (c == u'u' || c == u'e') {
      ok = st <= 7 && (code.source == 0 || code.source == c);
      code.source = c;
      code.state = 7;
    } else if (c == u'(') {
      if (st > 4) return FailFormat(call), 0;
      DecimalAccumulator acc;
      const int32_t after = ParseSum(call, text, pos + 1, pass, acc);
      if (after == 0 || call.failed()) return 0;
      if (code.width == 0 && (code.zero || code.cut || code.align)) return FailFormat(call), 0;
      if (!AppendFitted(call, pass, code, FormatDecimalAccumulator(acc), kNumberKind)) return 0;
      if (pass.repeatCutState == -1) {
        pass.repeatCutState = 2;
        pass.cutLength = pass.out.size();
      }
      return after;
    } else if (c == u'n' || c == u'c' || c == u'C' || IsDateLetter(c)) {
      const int lastState = c == u'n' ? 5 : (c == u'c' || c == u'C') ? 6 : 7;
      if (st > lastState) return FailFormat(call), 0;
      bool done = c == u'n'   ? AppendPosition(call, pass, code)
                  : (c == u'c' || c == u'C') ? AppendClip(call, pass, code, c)
                                             : AppendDate(call, pass, code, c);
      if (!done || call.failed()) return 0;
      if (pass.repeatCutState == -1) {
        pass.repeatCutState = 2;
        pass.cutLength = pass.out.size();
      }
      return pos + 1;
    } else {
      return FailChar(call, c), 0;
    }
    if (!ok) return FailFormat(call), 0;
  }
  return FailFormat(call), 0;  // the text ended before the final letter
}

}  // namespace dovetam
