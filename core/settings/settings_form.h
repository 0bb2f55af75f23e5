// The settings dialog's controls as plain data: one field per value control,
// named as the control is. A text box holds its text, a check box whether it
// is checked, an option group the index of its selected button (-1 for
// none). Which key each field shows, and how, is the key table's business
// (settings_keys.h).
#pragma once

#include <array>
#include <string>

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

}  // namespace dovetam
