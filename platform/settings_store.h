// The per-user settings store: texts addressed by application key, section
// and key. A missing key reads as the default passed with the read; a read or
// write that fails returns false.
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace dovetam {

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  virtual bool Read(std::u16string_view appKey, std::u16string_view section,
                    std::u16string_view key, std::u16string_view defaultValue,
                    std::u16string& value) = 0;
  virtual bool Write(std::u16string_view appKey, std::u16string_view section,
                     std::u16string_view key, std::u16string_view value) = 0;
};

// One INI file per application key below configHome: the key "A\B" is the file
// configHome/A/B.ini. Values are kept byte for byte (only "\\", "\n" and "\r"
// are escaped); every write replaces the file atomically.
std::unique_ptr<SettingsStore> CreateIniSettingsStore(std::string configHome);
// $XDG_CONFIG_HOME, or ~/.config.
std::string DefaultConfigHome();

}  // namespace dovetam
