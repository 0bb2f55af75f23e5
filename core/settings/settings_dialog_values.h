// The values of the settings dialog as plain data, and how they move: the 44
// settings shown in the form, taken back from it, checked before they are
// applied or saved, and the built-in defaults.
//
// SettingsForm mirrors the dialog's controls one field per control (an option
// group is the index of its selected button, -1 for none). The 44 keys are
// visited in FormKeys() order: the store order, except that the 17 rule
// symbols follow the index order of the symbol boxes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/settings/settings.h"

namespace dovetam {

struct SettingsForm {
  // Page 1 "全般"
  std::u16string txtGenFolder;
  std::u16string txtGenName;
  // Page 2 "変更規則"
  std::array<std::u16string, 17> txtRuleMark;
  bool chkRuleEscape = false;
  bool chkRuleReverse = false;
  std::u16string txtRuleSpace;
  std::u16string txtRuleMark1;
  std::u16string txtRuleMark2;
  std::u16string txtRulePat1;
  std::u16string txtRulePat2;
  bool chkRuleMatch = false;
  // Page 3 "生成名"
  std::u16string txtNameBanStr;
  bool chkNameBan1 = false;
  bool chkNameBan2 = false;
  std::u16string txtNameBanStr2;
  bool chkNameBan3 = false;
  int optNameSpace = -1;  // 0..2
  bool chkNameSpace = false;
  // Page 4 "変更処理"
  int optActFormat1 = -1;  // 0..5
  std::u16string txtActNum;
  bool chkActMix = false;
  bool chkActFirst = false;
  bool chkActBase = false;
  int optActFormat2 = -1;     // 0..2
  bool chkActLog = false;     // "ログを保存しない": checked means logmode False
  bool chkActReport = false;  // "レポートを保存しない": checked means reportmode False
  bool chkActDel = false;
  std::u16string txtActAppname;

  bool operator==(const SettingsForm&) const = default;
};

// How a key's text becomes a control value and back.
enum class FormClass {
  Text,           // the text unchanged
  Check,          // "True"/"true" checked
  InvertedCheck,  // "False"/"false" checked
  Match,          // mchmode: "2" checked, "1" unchecked
  OptionFrom0,    // spacemode: the button of that index
  OptionFrom1,    // extramode, extramode2: the button of index value - 1
  Number,         // extranum: decimal text without leading zeros
};

struct FormKey {
  std::size_t store;  // index in SettingKeys()
  FormClass cls;
};

// The 44 keys in the dialog's visiting order.
const std::array<FormKey, 44>& FormKeys();

// The role names of the 17 symbol boxes, as the check's warnings name them.
const std::array<std::u16string_view, 17>& SymbolRoleNames();

// The text the store gets for visited key i (the save conversions; an option
// group with none selected gives its fallback, 0 or 1).
std::u16string FormKeyText(const SettingsForm& form, std::size_t i);
// Puts an accepted text of visited key i into the form (the load conversions).
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
