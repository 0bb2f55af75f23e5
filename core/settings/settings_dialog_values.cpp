// The settings dialog's values: the pairing of the 44 keys with the form's
// fields, their conversions in both directions, the defaults and the checks.
// Showing a value in effect goes through its stored text, so the dialog shows
// exactly what a save followed by a load would show.
#include "core/settings/settings_dialog_values.h"
#include "core/settings/decimal_text.h"

#include <variant>

namespace dovetam {

namespace {

using Field = std::variant<std::u16string*, bool*, int*>;

// Key names in visiting order, with the class of each.
struct VisitRow {
  std::u16string_view key;
  FormClass cls;
};
constexpr VisitRow kVisitRows[44] = {
    {u"defpath", FormClass::Text},          {u"samplename", FormClass::Text},
    {u"chr_aster", FormClass::Text},        {u"chr_q1", FormClass::Text},
    {u"chr_q2", FormClass::Text},           {u"chr_s1", FormClass::Text},
    {u"chr_s2", FormClass::Text},           {u"chr_col", FormClass::Text},
    {u"chr_lt", FormClass::Text},           {u"chr_gt", FormClass::Text},
    {u"chr_dq1", FormClass::Text},          {u"chr_dq2", FormClass::Text},
    {u"chr_yen", FormClass::Text},          {u"chr_per", FormClass::Text},
    {u"chr_bra1", FormClass::Text},         {u"chr_bra2", FormClass::Text},
    {u"chr_com", FormClass::Text},          {u"chr_bar", FormClass::Text},
    {u"escapemode", FormClass::Check},      {u"chr_cap", FormClass::Text},
    {u"revmode", FormClass::Check},         {u"spacechr", FormClass::Text},
    {u"markchr1", FormClass::Text},         {u"markchr2", FormClass::Text},
    {u"ptnchr1", FormClass::Text},          {u"ptnchr2", FormClass::Text},
    {u"mchmode", FormClass::Match},         {u"ngstr", FormClass::Text},
    {u"ngcngmode", FormClass::Check},       {u"ngplacemode", FormClass::Check},
    {u"ngplacestr", FormClass::Text},       {u"ngdelmode", FormClass::Check},
    {u"spacemode", FormClass::OptionFrom0}, {u"savemode", FormClass::Check},
    {u"extramode", FormClass::OptionFrom1}, {u"extranum", FormClass::Number},
    {u"extramixmode", FormClass::Check},    {u"firstnummode", FormClass::Check},
    {u"bnamemode", FormClass::Check},       {u"extramode2", FormClass::OptionFrom1},
    {u"logmode", FormClass::InvertedCheck}, {u"reportmode", FormClass::InvertedCheck},
    {u"filedelmode", FormClass::Check},     {u"repopenapp", FormClass::Text},
};

// The form field of visited key i.
Field FieldOf(SettingsForm& f, std::size_t i) {
  if (i >= 2 && i <= 17) return &f.txtRuleMark[i - 2];
  switch (i) {
    case 0: return &f.txtGenFolder;
    case 1: return &f.txtGenName;
    case 18: return &f.chkRuleEscape;
    case 19: return &f.txtRuleMark[16];
    case 20: return &f.chkRuleReverse;
    case 21: return &f.txtRuleSpace;
    case 22: return &f.txtRuleMark1;
    case 23: return &f.txtRuleMark2;
    case 24: return &f.txtRulePat1;
    case 25: return &f.txtRulePat2;
    case 26: return &f.chkRuleMatch;
    case 27: return &f.txtNameBanStr;
    case 28: return &f.chkNameBan1;
    case 29: return &f.chkNameBan2;
    case 30: return &f.txtNameBanStr2;
    case 31: return &f.chkNameBan3;
    case 32: return &f.optNameSpace;
    case 33: return &f.chkNameSpace;
    case 34: return &f.optActFormat1;
    case 35: return &f.txtActNum;
    case 36: return &f.chkActMix;
    case 37: return &f.chkActFirst;
    case 38: return &f.chkActBase;
    case 39: return &f.optActFormat2;
    case 40: return &f.chkActLog;
    case 41: return &f.chkActReport;
    case 42: return &f.chkActDel;
    default: return &f.txtActAppname;
  }
}

bool ReadsTrue(std::u16string_view text) { return text == u"True" || text == u"true"; }

constexpr std::u16string_view kSymbolPrefix = u"変更規則の";
constexpr std::u16string_view kSymbolEmpty = u"が指定されていません。";
constexpr std::u16string_view kSymbolLong = u"が1文字を越えています。";
constexpr std::u16string_view kBanStrMissing =
    u"生成名の禁則文字には、\nパス記号\"\\\"とドライブ記号\":\"を含める必要があります。";
constexpr std::u16string_view kNumNonDigit = u"変更処理の開始数に非数字が含まれています。";
constexpr std::u16string_view kNumEmpty = u"変更処理の開始数が指定されていません。";
constexpr std::u16string_view kNumTooLong = u"変更処理の開始数の桁数が多すぎます。";

// The start number's message; the empty text when it passes.
std::u16string_view CheckStartNumber(std::u16string_view text) {
  switch (CheckStartNumberDigits(text)) {
    case DigitCheck::NonDigit: return kNumNonDigit;
    case DigitCheck::Empty: return kNumEmpty;
    case DigitCheck::TooLong: return kNumTooLong;
    case DigitCheck::Ok: break;
  }
  return {};
}

}  // namespace

const std::array<FormKey, 44>& FormKeys() {
  static const std::array<FormKey, 44> keys = [] {
    std::array<FormKey, 44> out{};
    const auto& store = SettingKeys();
    for (std::size_t i = 0; i < out.size(); ++i) {
      std::size_t s = 0;
      while (store[s].key != kVisitRows[i].key) ++s;
      out[i] = {s, kVisitRows[i].cls};
    }
    return out;
  }();
  return keys;
}

const std::array<std::u16string_view, 17>& SymbolRoleNames() {
  static constexpr std::array<std::u16string_view, 17> names = {
      u"元の名前",
      u"選択記号(1)",
      u"選択記号(2)",
      u"操作記号(1)",
      u"操作記号(2)",
      u"記号内の区切り記号",
      u"コピー文字列の繰返し記号(1)",
      u"コピー文字列の繰返し記号(2)",
      u"選択・操作の範囲記号(1)",
      u"選択・操作の範囲記号(2)",
      u"特殊記号",
      u"桁の区切り記号",
      u"順序選択記号(1)",
      u"順序選択記号(2)",
      u"順序選択の区切り記号",
      u"検索文字列の区切り記号",
      u"エスケープ記号",
  };
  return names;
}

std::u16string FormKeyText(const SettingsForm& form, std::size_t i) {
  const Field f = FieldOf(const_cast<SettingsForm&>(form), i);
  switch (FormKeys()[i].cls) {
    case FormClass::Text: return *std::get<std::u16string*>(f);
    case FormClass::Check: return *std::get<bool*>(f) ? u"True" : u"False";
    case FormClass::InvertedCheck: return *std::get<bool*>(f) ? u"False" : u"True";
    case FormClass::Match: return *std::get<bool*>(f) ? u"2" : u"1";
    case FormClass::OptionFrom0: {
      const int index = *std::get<int*>(f);
      return DecimalText(index < 0 ? 0 : index);
    }
    case FormClass::OptionFrom1: {
      const int index = *std::get<int*>(f);
      return DecimalText(index < 0 ? 1 : index + 1);
    }
    case FormClass::Number: return DecimalText(DecimalValue(*std::get<std::u16string*>(f)));
  }
  return {};
}

void SetFormKeyText(SettingsForm& form, std::size_t i, std::u16string_view text) {
  const Field f = FieldOf(form, i);
  switch (FormKeys()[i].cls) {
    case FormClass::Text: *std::get<std::u16string*>(f) = std::u16string(text); break;
    case FormClass::Check: *std::get<bool*>(f) = ReadsTrue(text); break;
    case FormClass::InvertedCheck: *std::get<bool*>(f) = !ReadsTrue(text); break;
    case FormClass::Match: *std::get<bool*>(f) = DecimalValue(text) == 2; break;
    case FormClass::OptionFrom0: *std::get<int*>(f) = static_cast<int>(DecimalValue(text)); break;
    case FormClass::OptionFrom1:
      *std::get<int*>(f) = static_cast<int>(DecimalValue(text)) - 1;
      break;
    case FormClass::Number: *std::get<std::u16string*>(f) = DecimalText(DecimalValue(text)); break;
  }
}

SettingsForm FormFromSettings(const Settings& s) {
  SettingsForm form;
  const auto& keys = FormKeys();
  for (std::size_t i = 0; i < keys.size(); ++i)
    SetFormKeyText(form, i, SettingText(s, keys[i].store));
  return form;
}

SettingsForm DefaultForm() { return FormFromSettings(Settings{}); }

void FormToSettings(const SettingsForm& form, Settings& s) {
  const auto& keys = FormKeys();
  for (std::size_t i = 0; i < keys.size(); ++i)
    SetSettingText(s, keys[i].store, FormKeyText(form, i));
}

std::u16string CheckForm(const SettingsForm& form) {
  const auto& roles = SymbolRoleNames();
  for (std::size_t index = 0; index < form.txtRuleMark.size(); ++index) {
    const std::size_t length = form.txtRuleMark[index].size();
    if (length == 1) continue;
    std::u16string warning(kSymbolPrefix);
    warning += roles[index];
    warning += length == 0 ? kSymbolEmpty : kSymbolLong;
    return warning;
  }
  if (!PassesCheck(13, form.txtNameBanStr)) return std::u16string(kBanStrMissing);
  return std::u16string(CheckStartNumber(form.txtActNum));
}

}  // namespace dovetam
