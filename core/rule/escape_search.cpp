// Escape-aware search and escape removal (see escape_search.h).
#include "core/rule/escape_search.h"

#include "core/rule/rule_messages.h"

namespace dovetam {
namespace {

// The escape symbol in effect, or 0 when escapes are off.
char16_t EscapeSymbol(const Settings& settings) {
  if (!settings.EscapeMode || settings.ChrCap.empty()) return 0;
  return settings.ChrCap[0];
}

// Length of the run of `cap` that ends just before the 0-based index i.
std::size_t EscapeRunBefore(std::u16string_view text, std::size_t i, char16_t cap) {
  std::size_t n = 0;
  while (i > n && text[i - n - 1] == cap) ++n;
  return n;
}

}  // namespace

int32_t InStrUnescaped(std::u16string_view text, std::u16string_view symbol, int32_t start,
                       const Settings& settings) {
  if (symbol.empty()) return 0;
  if (start < 1) start = 1;
  const char16_t cap = EscapeSymbol(settings);
  std::size_t from = static_cast<std::size_t>(start) - 1;
  while (from < text.size()) {
    std::size_t p = text.find(symbol, from);
    if (p == std::u16string_view::npos) return 0;
    if (cap == 0 || EscapeRunBefore(text, p, cap) % 2 == 0) return static_cast<int32_t>(p + 1);
    from = p + 1;
  }
  return 0;
}

int32_t InStrRevUnescaped(std::u16string_view text, std::u16string_view symbol, int32_t start,
                          const Settings& settings) {
  if (symbol.empty()) return 0;
  int64_t e = start == 0 ? static_cast<int64_t>(text.size()) : start;
  if (e > static_cast<int64_t>(text.size())) e = static_cast<int64_t>(text.size());
  const char16_t cap = EscapeSymbol(settings);
  while (e > 0) {
    if (e < static_cast<int64_t>(symbol.size())) return 0;
    std::size_t p = text.rfind(symbol, static_cast<std::size_t>(e) - symbol.size());
    if (p == std::u16string_view::npos) return 0;
    if (cap == 0) return static_cast<int32_t>(p + 1);
    std::size_t run = EscapeRunBefore(text, p, cap);
    if (run % 2 == 0) return static_cast<int32_t>(p + 1);
    e = static_cast<int64_t>(p - run);  // resume in front of the whole run
  }
  return 0;
}

bool AppendUnescaped(std::u16string& out, std::u16string_view text, const Settings& settings,
                     RuleContext& context) {
  const char16_t cap = EscapeSymbol(settings);
  if (cap == 0) {
    out += text;
    return true;
  }
  std::size_t i = 0;
  while (i < text.size()) {
    std::size_t p = text.find(cap, i);
    if (p == std::u16string_view::npos) {
      out += text.substr(i);
      return true;
    }
    if (p + 1 == text.size()) {
      context.RuleErrorKind = 1;
      context.RuleErrorText = EscapeEndMessage(settings.ChrCap);
      return false;
    }
    out += text.substr(i, p - i);
    out += text[p + 1];
    i = p + 2;
  }
  return true;
}

std::u16string RemoveEscapes(std::u16string_view text, const Settings& settings, RuleContext& context) {
  std::u16string out;
  if (!AppendUnescaped(out, text, settings, context)) return std::u16string();
  return out;
}

}  // namespace dovetam
