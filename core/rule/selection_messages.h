// The error texts of the selection sections. Each quotes the rule forms with
// the configured symbols (chr_q1, chr_q2, chr_col, chr_bra1, chr_bra2) passed
// in here; "～" (U+FF5E) stands for a section's contents.
#pragma once

#include <string>
#include <string_view>

#include "core/settings/settings_values.h"

namespace dovetam {

// "?～?" holds three or more chr_col.
std::u16string SelectionColonsMessage(const Settings& s);
// "?～::～?" with a middle text other than "" or "r".
std::u16string SelectionUnknownMiddleMessage(const Settings& s, std::u16string_view middle);
// "?～:～?" with "(～)" on both sides.
std::u16string SelectionBothAllMessage(const Settings& s);
// "?～::～?" (or ":r:") with a "(～)" side.
std::u16string SelectionExtensionAllMessage(const Settings& s);
// "?K?" needs a mark saved by "?M?" (second = false) or "?M!?" (true).
std::u16string SelectionMissingMarkMessage(const Settings& s, std::u16string_view keyword, bool second);
// "?K?" used on an operand whose length changed since the "!" register or M!.
std::u16string SelectionLengthMessage(const Settings& s, std::u16string_view keyword);
// "?=?" or "?=!?" with no operator pending.
std::u16string SelectionNoOperatorMessage(const Settings& s, std::u16string_view keyword);
// Index lists "?{～}?": wrong use, too many digits.
std::u16string IndexListUsageMessage(const Settings& s);
std::u16string IndexListDigitsMessage(const Settings& s);
// Sides: brackets not paired (both forms named).
std::u16string SideBracketMessage(const Settings& s);
// Sides: `form` is the quoted part between chr_q1 and chr_q2: "(～)", "[～]" or "～".
std::u16string SideUsageMessage(const Settings& s, std::u16string_view form);
std::u16string SideDigitsMessage(const Settings& s, std::u16string_view form);
std::u16string SideCharMessage(const Settings& s, std::u16string_view form, std::u16string_view character);

}  // namespace dovetam
