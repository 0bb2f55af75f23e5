// Character classes and literal comparison (see char_classes.h).
#include "core/rule/char_classes.h"

#include <string>

#include "platform/text_case.h"
#include "core/rule/char_conversions.h"
#include "core/rule/cp932_table.h"

namespace dovetam {
namespace {

constexpr int16_t kFlagCase = 0x10;
constexpr int16_t kFlagWidth = 0x20;

bool In(char16_t c, char16_t lo, char16_t hi) { return c >= lo && c <= hi; }

bool Digit(char16_t c) { return In(c, u'0', u'9'); }
bool WideDigit(char16_t c) { return In(c, u'０', u'９'); }
bool Upper(char16_t c) { return In(c, u'A', u'Z'); }
bool WideUpper(char16_t c) { return In(c, u'Ａ', u'Ｚ'); }
bool Lower(char16_t c) { return In(c, u'a', u'z'); }
bool WideLower(char16_t c) { return In(c, u'ａ', u'ｚ'); }

int16_t Flags(const RuleCall& call) {
  return call.ws.SideSuffixFlags[static_cast<std::size_t>(call.ws.CurSide)];
}

// The set after the same steps as the character: upper case, full width.
bool Prepare(RuleCall& call, std::u16string_view set, std::u16string& out) {
  const int16_t flags = Flags(call);
  out = (flags & kFlagCase) ? UpperText(set) : std::u16string(set);
  if (flags & kFlagWidth) {
    out = ConvertToFullWidth(out, call.context);
    if (call.failed()) return false;
  }
  return true;
}

// c (empty or one unit) is in the prepared set.
bool InSet(RuleCall& call, const std::u16string& c, std::u16string_view set, bool& member) {
  std::u16string prepared;
  if (!Prepare(call, set, prepared)) return false;
  member = !c.empty() && prepared.find(c[0]) != std::u16string::npos;
  return true;
}

}  // namespace

bool MatchCharClass(RuleCall& call, std::u16string_view text, int32_t position, char16_t classLetter) {
  const int16_t flags = Flags(call);
  const bool caseFlag = (flags & kFlagCase) != 0;
  const bool width = (flags & kFlagWidth) != 0;
  std::u16string c;
  if (position >= 1 && static_cast<std::size_t>(position) <= text.size()) {
    c.assign(1, text[static_cast<std::size_t>(position - 1)]);
  }
  if (caseFlag && !c.empty()) c[0] = UpperChar(c[0]);
  if (width) {
    c = ConvertToFullWidth(c, call.context);
    if (call.failed()) return false;
  }
  const bool one = c.size() == 1;
  const char16_t ch = one ? c[0] : 0;
  const Settings& s = call.settings;
  bool member = false;
  switch (classLetter) {
    case u'n': return one && (width ? WideDigit(ch) : Digit(ch));
    case u'N': return one && (Digit(ch) || WideDigit(ch));
    case u'a': return one && (width ? (WideUpper(ch) || WideLower(ch)) : (Upper(ch) || Lower(ch)));
    case u'A': return one && (Upper(ch) || Lower(ch) || WideUpper(ch) || WideLower(ch));
    case u'u': return one && (width ? WideUpper(ch) : Upper(ch));
    case u'U': return one && (Upper(ch) || WideUpper(ch));
    case u'l':
      if (caseFlag) return one && (width ? WideUpper(ch) : Upper(ch));
      return one && (width ? WideLower(ch) : Lower(ch));
    case u'L':
      if (caseFlag) return one && (Upper(ch) || WideUpper(ch));
      return one && (Lower(ch) || WideLower(ch));
    case u'q':
      if (width) return one && (WideUpper(ch) || WideLower(ch) || WideDigit(ch));
      return one && (Upper(ch) || Lower(ch) || Digit(ch));
    case u'Q':
      return one && (Upper(ch) || Lower(ch) || Digit(ch) || WideUpper(ch) || WideLower(ch) || WideDigit(ch));
    case u'x': return !(one && ch == (width ? u'\u3000' : u' '));
    case u's': return one && ch == (width ? u'\u3000' : u' ');
    case u'X':
      if (!InSet(call, c, s.SpaceChr, member)) return false;
      return !member;
    case u'S':
      if (!InSet(call, c, s.SpaceChr, member)) return false;
      return member;
    case u'e':
      if (!InSet(call, c, s.MarkChr1, member)) return false;
      return !member;
    case u'E':
      if (!InSet(call, c, s.MarkChr1 + s.MarkChr2, member)) return false;
      return !member;
    case u'm':
      if (!InSet(call, c, s.MarkChr1, member)) return false;
      return member;
    case u'M':
      if (!InSet(call, c, s.MarkChr1 + s.MarkChr2, member)) return false;
      return member;
    case u'h': return width || Cp932TextByteLength(c) == 1;
    case u'z':
    case u'Z': return width || Cp932TextByteLength(c) > 1;
    case u'k': return one && IsHiraganaChar(ch);
    case u'K': return one && (IsKatakanaChar(ch) || IsHalfKanaChar(ch));
    case u'.': return true;
    case u'p':
      if (!InSet(call, c, s.PtnChr[1], member)) return false;
      return member;
    case u'P':
      if (!InSet(call, c, s.PtnChr[2], member)) return false;
      return member;
    default: return false;
  }
}

bool MatchLiteralAt(RuleCall& call, std::u16string_view text, int32_t position,
                    std::u16string_view literal) {
  const int16_t flags = Flags(call);
  if (position < 1) return false;
  const std::size_t from = static_cast<std::size_t>(position - 1);
  std::u16string_view t = from <= text.size() ? text.substr(from, literal.size()) : std::u16string_view();
  if ((flags & (kFlagCase | kFlagWidth)) == 0) return t == literal;
  std::u16string tt(t);
  std::u16string ll(literal);
  if (flags & kFlagCase) {
    tt = UpperText(tt);
    ll = UpperText(ll);
  }
  if (flags & kFlagWidth) {
    tt = ConvertToFullWidth(tt, call.context);
    if (call.failed()) return false;
    ll = ConvertToFullWidth(ll, call.context);
    if (call.failed()) return false;
  }
  return tt == ll;
}

}  // namespace dovetam
