// The settings module: the 44 settings in effect, the 4 view settings, and
// their movement between memory and the per-user settings store.
//
// Every text read from the store passes the check kind of its key before it is
// put into effect, so a damaged or hand-edited store never puts an invalid
// symbol or number into effect: a bad key keeps its default, and one summary
// message says that some settings could not be read.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/message_boxes.h"
#include "platform/settings_store.h"

namespace dovetam {

inline constexpr std::u16string_view kSettingsAppName = u"Ombra-Vale Software\\Dovetam";

// The settings in effect, read by the engine, the run and the report window.
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

// One key of the store: where it lives, how its text is checked, its default.
struct SettingKey {
  std::u16string_view section;
  std::u16string_view key;
  int kind;  // check kind: 0, 1, 11..17
};

// The 44 keys in store order.
const std::array<SettingKey, 44>& SettingKeys();

// Text of the value in effect of key i (store order), as it is written.
std::u16string SettingText(const Settings& s, std::size_t i);
// Puts an accepted text of key i into effect (converted as its kind says).
void SetSettingText(Settings& s, std::size_t i, std::u16string_view text);
// The default text of key i.
std::u16string DefaultSettingText(std::size_t i);
// The digit walk of the start number (check kind 16 and the dialog's check):
// ASCII digits only, leading zeros not counted, at most 9 significant digits.
enum class DigitCheck { Ok, NonDigit, Empty, TooLong };
DigitCheck CheckStartNumberDigits(std::u16string_view text);

// Check kind verdict on a text.
bool PassesCheck(int kind, std::u16string_view text);

// One key's text as a save writes it.
struct SettingEntry {
  std::u16string_view section;
  std::u16string_view key;
  std::u16string text;
};

class SettingsModule {
 public:
  SettingsModule(SettingsStore& store, MessageBoxes& boxes) : store_(store), boxes_(boxes) {}

  Settings settings;
  ViewSettings view;
  std::u16string SettingsAppName{kSettingsAppName};
  bool SettingsDirty = false;
  int16_t SettingsApplied = 0;
  std::u16string ReportPath;
  bool ReportSaved = false;

  void SetDefaultSettings();
  void LoadSettings();
  bool ReadValidSetting(std::u16string_view section, std::u16string_view key, int kind,
                        std::u16string_view defaultValue, std::u16string& value);
  void SaveSettings();
  void LoadViewSettings();
  void SaveViewSettings();
  // The exit's save: the settings (when withSettings) and the display keys in
  // one replacement of the store; a failure shows the save message only when
  // the settings were saved.
  void SaveOnExit(bool withSettings);
  // Writes the texts under SettingsAppName in one batch, so the store is
  // replaced once with all of them. Returns the number of keys not written:
  // those the store refused, or every key when the batch could not be written.
  int WriteSettingTexts(const std::vector<SettingEntry>& entries);

  SettingsStore& store() { return store_; }

 private:
  void AppendSettingEntries(std::vector<SettingEntry>& entries) const;
  void AppendViewEntries(std::vector<SettingEntry>& entries) const;

  SettingsStore& store_;
  MessageBoxes& boxes_;
};

}  // namespace dovetam
