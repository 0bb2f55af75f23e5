// The settings in effect as plain values: the settings the engine, the run
// and the report window read (sections "general", "rule", "name", "process"),
// with their built-in defaults, and the 4 view settings (section "display").
// How each value is stored, checked and shown is the key table's business
// (settings_keys.h); nothing here reads or writes the store.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace dovetam {

inline constexpr std::u16string_view kSettingsAppName = u"Ombra-Vale Software\\Dovetam";

struct Settings {
  // general
  std::u16string DefPath = u"/";
  std::u16string SampleName = u"abc123_xyz0056(1).txt";
  // rule: the symbols of the rule language (one character each)
  std::u16string ChrAster = u"*";
  std::u16string ChrQ1 = u"?";
  std::u16string ChrQ2 = u"?";
  std::u16string ChrS1 = u"/";
  std::u16string ChrS2 = u"/";
  std::u16string ChrDq1 = u"\"";
  std::u16string ChrDq2 = u"\"";
  std::u16string ChrCol = u":";
  std::u16string ChrYen = u"\\";
  std::u16string ChrPer = u"%";
  std::u16string ChrLt = u"<";
  std::u16string ChrGt = u">";
  std::u16string ChrBra1 = u"{";
  std::u16string ChrBra2 = u"}";
  std::u16string ChrCom = u",";
  std::u16string ChrBar = u"|";
  bool EscapeMode = false;
  std::u16string ChrCap = u"^";
  bool RevMode = false;
  std::u16string SpaceChr = u" \u3000";
  std::u16string MarkChr1 = u" !\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~";
  std::u16string MarkChr2 =
      u"\u3000\uFF01\uFF02\uFF03\uFF04\uFF05\uFF06\uFF07\uFF08\uFF09\uFF0A\uFF0B\uFF0C\uFF0D"
      u"\uFF0E\uFF0F\uFF1A\uFF1B\uFF1C\uFF1D\uFF1E\uFF1F\uFF20\uFF3B\uFFE5\uFF3D\uFF3E\uFF3F"
      u"\uFF40\uFF5B\uFF5C\uFF5D\uFF5E";
  std::array<std::u16string, 3> PtnChr;  // 1 and 2 used
  int16_t MchMode = 1;
  // name
  std::u16string NgStr = u":\\/*?\"<>|";
  bool NgCngMode = false;
  bool NgPlaceMode = false;
  std::u16string NgPlaceStr = u"(err)";
  bool NgDelMode = false;
  int16_t SpaceMode = 2;
  bool SaveMode = true;
  // process
  int16_t ExtraMode = 1;
  int32_t ExtraNum = 2;
  bool ExtraMixMode = false;
  bool FirstNumMode = false;
  bool BNameMode = false;
  int16_t ExtraMode2 = 1;
  bool LogMode = true;
  bool ReportMode = true;
  bool FileDelMode = false;
  std::u16string RepOpenApp = u"xdg-open";
};

// Section "display".
struct ViewSettings {
  bool ViewModified = true;  // udate
  bool ViewCreated = false;  // cdate
  bool ViewHeader = true;    // header
  bool ViewMix = false;      // mix
};

// The view settings as one mask, as the view command hands them to the view
// dialog and gets them back (-1 there: closed without "決定"). No other bit
// is used.
inline constexpr int16_t kViewMaskModified = 1;  // the last-modified column shown
inline constexpr int16_t kViewMaskCreated = 2;   // the creation column shown
inline constexpr int16_t kViewMaskMix = 32;      // files and folders mixed in the name sort
inline constexpr int16_t kViewMaskHeader = 64;   // the column headers shown

inline int16_t ViewMaskOf(const ViewSettings& view) {
  return static_cast<int16_t>(
      (view.ViewModified ? kViewMaskModified : 0) | (view.ViewCreated ? kViewMaskCreated : 0) |
      (view.ViewMix ? kViewMaskMix : 0) | (view.ViewHeader ? kViewMaskHeader : 0));
}

// The four values from the bits of a mask of 0 or more.
inline ViewSettings ViewSettingsOf(int16_t mask) {
  ViewSettings view;
  view.ViewModified = (mask & kViewMaskModified) != 0;
  view.ViewCreated = (mask & kViewMaskCreated) != 0;
  view.ViewMix = (mask & kViewMaskMix) != 0;
  view.ViewHeader = (mask & kViewMaskHeader) != 0;
  return view;
}

}  // namespace dovetam
