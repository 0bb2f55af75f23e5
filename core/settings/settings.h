// The settings module: the settings in effect, the 4 view settings, and
// their movement between memory and the per-user settings store, key by key
// as the key table (settings_keys.h) lists them.
//
// Every text read from the store passes the check kind of its key before it is
// put into effect, so a damaged or hand-edited store never puts an invalid
// symbol or number into effect: a bad key keeps its default, and one summary
// message says that some settings could not be read.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/settings/settings_keys.h"
#include "core/settings/settings_values.h"
#include "platform/message_boxes.h"
#include "platform/settings_store.h"

namespace dovetam {

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
  bool ReadValidSetting(std::u16string_view section, std::u16string_view key, Check check,
                        std::u16string_view defaultValue, std::u16string& value);
  // The values in effect in one replacement of the store; one message when a
  // key could not be written. The exit saves with it when asked to.
  void SaveSettings();
  void LoadViewSettings();
  // The 4 display keys, failures silent: saved by every exit that goes on.
  void SaveViewSettings();
  // Writes the texts under SettingsAppName in one batch, so the store is
  // replaced once with all of them. Returns the number of keys not written:
  // those the store refused, or every key when the batch could not be written.
  int WriteSettingTexts(const std::vector<SettingEntry>& entries);

  SettingsStore& store() { return store_; }

 private:
  SettingsStore& store_;
  MessageBoxes& boxes_;
};

}  // namespace dovetam
