// The forbidden-character end phase (see forbidden_chars.h).
//
// Each pass replaces the occurrences of one character left to right and goes
// on after the text it put in, which is a plain replace-all done in one sweep.
#include "core/rule/forbidden_chars.h"

#include <algorithm>

#include "core/rule/char_conversions.h"
#include "core/rule/rule_messages.h"

namespace dovetam {
namespace {

// Replaces every ch of t by `with`; the number replaced.
std::size_t ReplaceAll(std::u16string& t, char16_t ch, std::u16string_view with) {
  const std::size_t count = static_cast<std::size_t>(std::count(t.begin(), t.end(), ch));
  if (count == 0) return 0;
  std::u16string out;
  out.reserve(t.size() - count + count * with.size());
  for (char16_t c : t) {
    if (c == ch) {
      out += with;
    } else {
      out += c;
    }
  }
  t.swap(out);
  return count;
}

}  // namespace

std::u16string ApplyForbiddenChars(RuleCall& call, std::u16string t) {
  const Settings& s = call.settings;
  const std::u16string& ng = s.NgStr;
  bool passClean = false;
  if (s.NgCngMode) {
    passClean = true;
    for (char16_t ch : ng) {
      if (ReplaceAll(t, ch, ToWideText(std::u16string_view(&ch, 1))) > 0) passClean = false;
    }
  }
  if (!passClean && s.NgPlaceMode) {
    passClean = true;
    const std::u16string& place = s.NgPlaceStr;
    for (char16_t ch : ng) {
      const std::size_t count = static_cast<std::size_t>(std::count(t.begin(), t.end(), ch));
      if (count == 0) continue;
      if (t.size() - count + count * place.size() > kMaxForbiddenPhaseText) {
        call.FailMemory();
        return std::u16string();
      }
      ReplaceAll(t, ch, place);
      passClean = false;
    }
  }
  if (!passClean && s.NgDelMode) {
    passClean = true;
    for (char16_t ch : ng) {
      if (ReplaceAll(t, ch, std::u16string_view()) > 0) passClean = false;
    }
  }
  if (!passClean) {
    for (char16_t ch : ng) {
      if (t.find(ch) != std::u16string::npos) {
        call.Fail(ForbiddenCharMessage(t, std::u16string_view(&ch, 1)), 2);
        return std::u16string();
      }
    }
  }
  return t;
}

}  // namespace dovetam
