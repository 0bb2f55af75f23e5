// The 44 keys of the settings store: where each lives, its check kind, how
// its value in effect is written as text and how an accepted text is put into
// effect.
#include <variant>

#include "core/settings/settings.h"
#include "core/settings/decimal_text.h"

namespace dovetam {

namespace {

using Field = std::variant<std::u16string*, bool*, int16_t*, int32_t*>;

// The variable in effect of key i (store order).
Field FieldOf(Settings& s, std::size_t i) {
  switch (i) {
    case 0: return &s.DefPath;
    case 1: return &s.SampleName;
    case 2: return &s.ChrAster;
    case 3: return &s.ChrQ1;
    case 4: return &s.ChrQ2;
    case 5: return &s.ChrS1;
    case 6: return &s.ChrS2;
    case 7: return &s.ChrDq1;
    case 8: return &s.ChrDq2;
    case 9: return &s.ChrCol;
    case 10: return &s.ChrYen;
    case 11: return &s.ChrPer;
    case 12: return &s.ChrLt;
    case 13: return &s.ChrGt;
    case 14: return &s.ChrBra1;
    case 15: return &s.ChrBra2;
    case 16: return &s.ChrCom;
    case 17: return &s.ChrBar;
    case 18: return &s.EscapeMode;
    case 19: return &s.ChrCap;
    case 20: return &s.RevMode;
    case 21: return &s.SpaceChr;
    case 22: return &s.MarkChr1;
    case 23: return &s.MarkChr2;
    case 24: return &s.PtnChr[1];
    case 25: return &s.PtnChr[2];
    case 26: return &s.MchMode;
    case 27: return &s.NgStr;
    case 28: return &s.NgCngMode;
    case 29: return &s.NgPlaceMode;
    case 30: return &s.NgPlaceStr;
    case 31: return &s.NgDelMode;
    case 32: return &s.SpaceMode;
    case 33: return &s.SaveMode;
    case 34: return &s.ExtraMode;
    case 35: return &s.ExtraNum;
    case 36: return &s.ExtraMixMode;
    case 37: return &s.FirstNumMode;
    case 38: return &s.BNameMode;
    case 39: return &s.ExtraMode2;
    case 40: return &s.LogMode;
    case 41: return &s.ReportMode;
    case 42: return &s.FileDelMode;
    default: return &s.RepOpenApp;
  }
}

bool OneOf(std::u16string_view text, std::initializer_list<std::u16string_view> accepted) {
  for (std::u16string_view a : accepted) {
    if (text == a) return true;
  }
  return false;
}

// Kind 16: digits only; leading zeros do not count; at most 9 significant.
bool PassesDigitCheck(std::u16string_view text) {
  return CheckStartNumberDigits(text) == DigitCheck::Ok;
}

}  // namespace

const std::array<SettingKey, 44>& SettingKeys() {
  static const std::array<SettingKey, 44> keys = {{
      {u"general", u"defpath", 0},      {u"general", u"samplename", 0},
      {u"rule", u"chr_aster", 11},      {u"rule", u"chr_q1", 11},
      {u"rule", u"chr_q2", 11},         {u"rule", u"chr_s1", 11},
      {u"rule", u"chr_s2", 11},         {u"rule", u"chr_dq1", 11},
      {u"rule", u"chr_dq2", 11},        {u"rule", u"chr_col", 11},
      {u"rule", u"chr_yen", 11},        {u"rule", u"chr_per", 11},
      {u"rule", u"chr_lt", 11},         {u"rule", u"chr_gt", 11},
      {u"rule", u"chr_bra1", 11},       {u"rule", u"chr_bra2", 11},
      {u"rule", u"chr_com", 11},        {u"rule", u"chr_bar", 11},
      {u"rule", u"escapemode", 1},      {u"rule", u"chr_cap", 11},
      {u"rule", u"revmode", 1},         {u"rule", u"spacechr", 0},
      {u"rule", u"markchr1", 0},        {u"rule", u"markchr2", 0},
      {u"rule", u"ptnchr1", 0},         {u"rule", u"ptnchr2", 0},
      {u"rule", u"mchmode", 12},        {u"name", u"ngstr", 13},
      {u"name", u"ngcngmode", 1},       {u"name", u"ngplacemode", 1},
      {u"name", u"ngplacestr", 0},      {u"name", u"ngdelmode", 1},
      {u"name", u"spacemode", 14},      {u"name", u"savemode", 1},
      {u"process", u"extramode", 15},   {u"process", u"extranum", 16},
      {u"process", u"extramixmode", 1}, {u"process", u"firstnummode", 1},
      {u"process", u"bnamemode", 1},    {u"process", u"extramode2", 17},
      {u"process", u"logmode", 1},      {u"process", u"reportmode", 1},
      {u"process", u"filedelmode", 1},  {u"process", u"repopenapp", 0},
  }};
  return keys;
}

std::u16string SettingText(const Settings& s, std::size_t i) {
  const Field f = FieldOf(const_cast<Settings&>(s), i);
  if (auto p = std::get_if<std::u16string*>(&f)) return **p;
  if (auto p = std::get_if<bool*>(&f)) return **p ? u"True" : u"False";
  if (auto p = std::get_if<int16_t*>(&f)) return DecimalText(**p);
  return DecimalText(*std::get<int32_t*>(f));
}

void SetSettingText(Settings& s, std::size_t i, std::u16string_view text) {
  const Field f = FieldOf(s, i);
  if (auto p = std::get_if<std::u16string*>(&f)) {
    **p = std::u16string(text);
  } else if (auto p = std::get_if<bool*>(&f)) {
    **p = text == u"True" || text == u"true";
  } else if (auto p = std::get_if<int16_t*>(&f)) {
    **p = static_cast<int16_t>(DecimalValue(text));
  } else {
    *std::get<int32_t*>(f) = static_cast<int32_t>(DecimalValue(text));
  }
}

std::u16string DefaultSettingText(std::size_t i) {
  static const Settings defaults;
  return SettingText(defaults, i);
}

bool PassesCheck(int kind, std::u16string_view text) {
  switch (kind) {
    case 0: return true;
    case 1: return OneOf(text, {u"True", u"true", u"False", u"false"});
    case 11: return text.size() == 1;
    case 12: return OneOf(text, {u"1", u"2"});
    case 13:
      return text.find(u'\\') != std::u16string_view::npos &&
             text.find(u':') != std::u16string_view::npos;
    case 14: return OneOf(text, {u"0", u"1", u"2"});
    case 15: return OneOf(text, {u"1", u"2", u"3", u"4", u"5", u"6"});
    case 16: return PassesDigitCheck(text);
    case 17: return OneOf(text, {u"1", u"2", u"3"});
    default: return false;
  }
}

DigitCheck CheckStartNumberDigits(std::u16string_view text) {
  int state = 0;  // 0 nothing read, 1 only zeros, 2 a significant digit seen
  std::size_t significant = 0;
  for (char16_t c : text) {
    if (c == u'0') {
      if (state == 0)
        state = 1;
      else if (state == 2)
        ++significant;
    } else if (c >= u'1' && c <= u'9') {
      state = 2;
      ++significant;
    } else {
      return DigitCheck::NonDigit;
    }
  }
  if (state == 0) return DigitCheck::Empty;
  return significant > 9 ? DigitCheck::TooLong : DigitCheck::Ok;
}

}  // namespace dovetam
