// Dumps for the pattern-core tests (see pattern_test_support.h).
#include "pattern_test_support.h"

#include "platform/utf8_codec.h"
#include "core/rule/pattern_compiler.h"
#include "core/rule/selection_services.h"

namespace dovetam::testing {

std::string Utf8(std::u16string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size()) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
    }
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

std::string DumpPattern(const RuleWorkspace& ws) {
  std::string out;
  for (int32_t a = 1; a <= ws.AltCount; ++a) {
    if (a > 1) out += " | ";
    const int32_t n = ws.PatItemCount[static_cast<std::size_t>(a)];
    if (n == 0) out += "(none)";
    for (int32_t i = 1; i <= n; ++i) {
      if (i > 1) out += " ";
      const int32_t kind = ws.PatItemKind[PatCell(ws, a, i)];
      const std::string text = Utf8(ws.PatItemText[PatCell(ws, a, i)]);
      if (kind == kItemLiteral) {
        out += "'" + text + "'";
      } else if (kind == kItemOneOrMore) {
        out += text + "+";
      } else if (kind == kItemZeroOrMore) {
        out += text + "*";
      } else {
        out += text + "{" + std::to_string(kind) + "}";
      }
    }
  }
  return out;
}

std::string RunSearch(Engine& e, const std::u16string& text, int32_t low, int32_t high) {
  e.ws.SideFound[1] = {0, 77, 88};
  int32_t count = -1;
  FindPatternMatches(e.call, text, low, high, 1, 0, count);
  if (e.call.failed()) return "error: " + Utf8(e.context.RuleErrorText);
  if (e.ws.SideCountKind[1] == 3) {
    std::string out;
    for (int32_t k = 1; k <= count; ++k) {
      out += '[';
      out += std::to_string(e.ws.NewRanges[static_cast<std::size_t>(2 * k - 1)]);
      out += ',';
      out += std::to_string(e.ws.NewRanges[static_cast<std::size_t>(2 * k)]);
      out += ')';
    }
    return out.empty() ? "none" : out;
  }
  if (e.ws.SideFound[1][1] > 0) {
    std::string out(1, '(');
    out += std::to_string(e.ws.SideFound[1][1]);
    out += ',';
    out += std::to_string(e.ws.SideFound[1][2]);
    return out + ")";
  }
  return "code " + std::to_string(e.ws.SideFound[1][1]);
}

}  // namespace dovetam::testing
