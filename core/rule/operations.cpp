// RunOperation: hands an operation section's symbol, already found in the
// table of its form, to the family of operations that carries it out
// (position edits, clip list, text marks, conversions). A symbol that no
// family knows is refused with the message for a symbol that does not exist.
// Tested by tests/core/rule/operation_rules_test.cpp.
#include "core/rule/operations.h"

#include "core/rule/rule_messages.h"
#include "core/rule/sections.h"

namespace dovetam {
namespace {

bool IsConversion(std::u16string_view symbol) {
  static constexpr std::u16string_view kSymbols[] = {u"u", u"l", u"z", u"h", u"Z",
                                                     u"H", u"k", u"K", u"r", u"R"};
  for (std::u16string_view s : kSymbols) {
    if (s == symbol) return true;
  }
  return false;
}

}  // namespace

bool RunOperation(RuleCall& call, std::u16string_view symbol, int form, std::u16string_view argument) {
  const Settings& s = call.settings;
  if (!symbol.empty()) {
    const char16_t first = symbol.front();
    if (form == 2 && (first == u'i' || first == u'I' || first == u'p')) {
      return RunPositionEdit(call, symbol, argument);
    }
    if (form == 1) {
      if (symbol == u"e" || symbol == u"d") return RunPositionEdit(call, symbol, argument);
      if (first == u'M' || first == u'm') return RunMarkOperation(call, symbol);
      if (IsConversion(symbol)) return RunConversionOperation(call, symbol);
      switch (first) {
        case u'c': case u'C': case u'x': case u'X': case u'v': case u'V': case u'b': case u'B':
          return RunClipOperation(call, symbol);
        default:
          break;
      }
    }
  }
  call.Fail(OperationUnknownMessage(s.ChrS1, s.ChrS2, s.ChrCol, form == 2, symbol));
  return false;
}

}  // namespace dovetam
