// The per-user settings store: texts addressed by application key, section
// and key. A missing key reads as the default passed with the read; a read or
// write that fails returns false.
#pragma once

#include <cstddef>
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

  // A batch holds the reads and writes of one load or one save under appKey
  // (use SettingsBatch). Inside it the store is read at most once and every
  // Read is answered from that reading; a Write only checks and collects its
  // text, and EndBatch(true) writes everything collected at once, all or
  // nothing, returning false when that failed. EndBatch(false) drops the
  // writes. Batches do not nest; calls under another application key, and all
  // calls outside a batch, stand alone.
  virtual void BeginBatch(std::u16string_view appKey) = 0;
  virtual bool EndBatch(bool commit) = 0;
};

// One batch for the length of a scope; it ends without writing unless it was
// committed.
class SettingsBatch {
 public:
  SettingsBatch(SettingsStore& store, std::u16string_view appKey) : store_(store) {
    store_.BeginBatch(appKey);
  }
  ~SettingsBatch() {
    if (open_) store_.EndBatch(false);
  }
  SettingsBatch(const SettingsBatch&) = delete;
  SettingsBatch& operator=(const SettingsBatch&) = delete;

  bool Commit() {
    open_ = false;
    return store_.EndBatch(true);
  }

 private:
  SettingsStore& store_;
  bool open_ = true;
};

class SettingsFileCalls;

// The largest settings file read or written. The program itself writes at
// most 44 texts of a dialog's line edits (32767 UTF-16 units, at most 3 bytes
// each in UTF-8: about 4.3 MB) plus the short display keys; anything larger
// is not a settings file, and reading it would stall the start.
inline constexpr std::size_t kSettingsFileLimit = std::size_t{8} << 20;

// One INI file per application key below configHome: the key "A\B" is the file
// configHome/A/B.ini. Values are kept byte for byte (only "\\", "\n" and "\r"
// are escaped). The file is opened without blocking and must be a regular
// file (a link to one is followed) of at most kSettingsFileLimit bytes;
// anything else cannot be read or written. Every save replaces the file
// atomically. calls: the system calls to use (tests count them); null for
// the system's own.
std::unique_ptr<SettingsStore> CreateIniSettingsStore(std::string configHome,
                                                      SettingsFileCalls* calls = nullptr);
// $XDG_CONFIG_HOME, or ~/.config.
std::string DefaultConfigHome();

}  // namespace dovetam
