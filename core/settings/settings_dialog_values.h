// The values of the settings dialog as plain data, and how they move: the
// settings shown in the form, taken back from it, checked before they are
// applied or saved, and the built-in defaults. Each key moves between its
// stored text and its control's form field as its row of the key table
// (settings_keys.h) says; the dialog visits the keys in kFormOrder.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <variant>

#include "core/settings/settings.h"
#include "core/settings/settings_form.h"

namespace dovetam {

// The dialog's visiting order: the store order, except that the 17 rule
// symbols follow the index order of their boxes (so chr_col, chr_lt and
// chr_gt come before chr_dq1 and chr_dq2, and escapemode stands between
// chr_bar and chr_cap). It is the reading order of the four pages, so the
// dialog's controls take the focus in it too. Rows of the key table.
inline constexpr std::array<std::size_t, kSettingCount> kFormOrder = KeyOrder({
    u"defpath",    u"samplename",   u"chr_aster",    u"chr_q1",      u"chr_q2",
    u"chr_s1",     u"chr_s2",       u"chr_col",      u"chr_lt",      u"chr_gt",
    u"chr_dq1",    u"chr_dq2",      u"chr_yen",      u"chr_per",     u"chr_bra1",
    u"chr_bra2",   u"chr_com",      u"chr_bar",      u"escapemode",  u"chr_cap",
    u"revmode",    u"spacechr",     u"markchr1",     u"markchr2",    u"ptnchr1",
    u"ptnchr2",    u"mchmode",      u"ngstr",        u"ngcngmode",   u"ngplacemode",
    u"ngplacestr", u"ngdelmode",    u"spacemode",    u"savemode",    u"extramode",
    u"extranum",   u"extramixmode", u"firstnummode", u"bnamemode",   u"extramode2",
    u"logmode",    u"reportmode",   u"filedelmode",  u"repopenapp",
});

// The form field of key i's control (table order): a text box's text, a
// check box's state or an option group's selected index.
using FormRef = std::variant<std::u16string*, bool*, int*>;
FormRef FormFieldOf(SettingsForm& form, std::size_t i);

// The role names of the 17 symbol boxes, as the check's warnings name them.
const std::array<std::u16string_view, 17>& SymbolRoleNames();

// The text the store gets for key i (table order) from the form (the save
// conversions; an option group with none selected gives its fallback, 0 or 1).
std::u16string FormKeyText(const SettingsForm& form, std::size_t i);
// Puts an accepted text of key i into the form (the load conversions).
void SetFormKeyText(SettingsForm& form, std::size_t i, std::u16string_view text);

// CopySettingsToForm: the values in effect as the controls show them.
SettingsForm FormFromSettings(const Settings& s);
// SetFormDefaults: the built-in defaults as the controls show them.
SettingsForm DefaultForm();
// CopyFormToSettings: the controls into the values in effect. Only for a form
// that CheckForm accepted.
void FormToSettings(const SettingsForm& form, Settings& s);

// CheckFormValues without the message box: the warning for the first problem
// of the form, or the empty text when every value is acceptable.
std::u16string CheckForm(const SettingsForm& form);

}  // namespace dovetam
