// Escape-aware search for the one-character symbols of the rule language.
//
// With the setting escapemode on, a symbol preceded by an odd run of chr_cap
// characters (counted back over the whole text, not only from the start of
// the search) is escaped: the searches skip it and RemoveEscapes turns each
// chr_cap into "take the next character literally". With escapemode off
// every occurrence counts and RemoveEscapes changes nothing.
//
// Positions are 1-based UTF-16 units; 0 means "not found". Comparison is by
// code unit. An empty symbol is never found. Cost: one forward or backward
// scan plus the escape runs met; RemoveEscapes is linear.
#pragma once

#include <climits>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/settings/settings_values.h"
#include "core/rule/rule_context.h"

namespace dovetam {

// First unescaped occurrence of symbol at or after start (start >= 1).
int32_t InStrUnescaped(std::u16string_view text, std::u16string_view symbol, int32_t start,
                       const Settings& settings);
// Last unescaped occurrence within the first `start` units (0: the whole text).
int32_t InStrRevUnescaped(std::u16string_view text, std::u16string_view symbol, int32_t start,
                          const Settings& settings);
// The next unescaped occurrence of one symbol for a scan that moves forward
// through one text. A found position stays the answer until the scan passes
// it (escapes depend only on the text before an occurrence), so a scan costs
// one pass per symbol instead of one search per step.
class UnescapedCursor {
 public:
  UnescapedCursor(std::u16string_view text, std::u16string_view symbol, const Settings& settings)
      : text_(text), symbol_(symbol), settings_(settings) {}
  // As InStrUnescaped(text, symbol, start).
  int32_t Next(int32_t start) {
    if (start < from_ || (found_ != 0 && found_ < start)) {
      found_ = InStrUnescaped(text_, symbol_, start, settings_);
      from_ = start;
    }
    return found_;
  }

 private:
  std::u16string_view text_;
  std::u16string_view symbol_;
  const Settings& settings_;
  int32_t from_ = INT32_MAX;  // start of the search that found found_
  int32_t found_ = 0;
};

// The text with its escape symbols removed. A chr_cap that ends the text (an
// odd run at the end) is a rule error: RuleErrorKind 1, the message, and "".
std::u16string RemoveEscapes(std::u16string_view text, const Settings& settings, RuleContext& context);
// The same, appending to out; false on the error (out then unspecified).
bool AppendUnescaped(std::u16string& out, std::u16string_view text, const Settings& settings,
                     RuleContext& context);

}  // namespace dovetam
