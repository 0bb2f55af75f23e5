// What the rule page shows, apart from the window: the filter of the rule
// boxes, the sample context of the preview, and the preview's result text.
#pragma once

#include <string>

#include "core/rule/rule_context.h"

namespace dovetam {

// Takes out every character of code 0 to 31 and 127 (pasted tabs, line breaks).
std::u16string RemoveControlCharacters(const std::u16string& text);

// The sample object of the preview: object 3 of 10, last modified
// 1990/1/2 3:4:5, created 1991/6/7 8:9:10, no path, a file.
void SetSampleContext(RuleContext& ctx);

// The new name, or the error: "(text)" for a rule error, "<text>" for a
// generated-name error. Shown as it is: the labels show "&" itself.
std::u16string PreviewText(const std::u16string& newName, const RuleContext& ctx);

}  // namespace dovetam
