#include "core/rule/rule_page.h"

#include "platform/dates.h"

namespace dovetam {

std::u16string RemoveControlCharacters(const std::u16string& text) {
  std::u16string out;
  out.reserve(text.size());
  for (char16_t c : text)
    if (c >= 32 && c != 127) out += c;
  return out;
}

void SetSampleContext(RuleContext& ctx) {
  ctx.CurPos = 3;
  ctx.CurTotal = 10;
  ctx.CurModified = MakeDate(1990, 1, 2, 3, 4, 5);
  ctx.CurCreated = MakeDate(1991, 6, 7, 8, 9, 10);
  ctx.CurPath.clear();
  ctx.CurIsFolder = false;
}

std::u16string PreviewText(const std::u16string& newName, const RuleContext& ctx) {
  if (ctx.RuleErrorKind == 1) return u"(" + ctx.RuleErrorText + u")";
  if (ctx.RuleErrorKind != 0) return u"<" + ctx.RuleErrorText + u">";
  return newName;
}

}  // namespace dovetam
