// A settings store in memory for tests, with failures to inject: every read
// or every write, or those of chosen keys (section + key). Reads and writes
// are logged in order.
#pragma once

#include <map>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/settings_store.h"

namespace dovetam::testing {

class MemorySettingsStore : public SettingsStore {
 public:
  using Address = std::tuple<std::u16string, std::u16string, std::u16string>;  // app, section, key
  using SectionKey = std::pair<std::u16string, std::u16string>;

  // The application key the helpers below use.
  std::u16string app = u"Ombra-Vale Software\\Dovetam";

  std::map<Address, std::u16string> values;
  bool failAllReads = false;
  bool failAllWrites = false;
  std::set<SectionKey> failReads;    // {section, key}
  std::set<SectionKey> failWrites;   // {section, key}
  std::vector<SectionKey> readLog;   // every Read, failed ones too
  std::vector<SectionKey> writeLog;  // every Write, failed ones too

  void Set(std::u16string_view section, std::u16string_view key, std::u16string_view value) {
    values[{app, std::u16string(section), std::u16string(key)}] = std::u16string(value);
  }
  bool Has(std::u16string_view section, std::u16string_view key) const {
    return values.count({app, std::u16string(section), std::u16string(key)}) != 0;
  }
  // The stored text, "" when missing.
  std::u16string Get(std::u16string_view section, std::u16string_view key) const {
    auto it = values.find({app, std::u16string(section), std::u16string(key)});
    return it == values.end() ? std::u16string() : it->second;
  }
  void FailRead(std::u16string_view section, std::u16string_view key) {
    failReads.insert({std::u16string(section), std::u16string(key)});
  }
  void FailWrite(std::u16string_view section, std::u16string_view key) {
    failWrites.insert({std::u16string(section), std::u16string(key)});
  }

  bool Read(std::u16string_view appKey, std::u16string_view section, std::u16string_view key,
            std::u16string_view defaultValue, std::u16string& value) override {
    SectionKey sk{std::u16string(section), std::u16string(key)};
    readLog.push_back(sk);
    if (failAllReads || failReads.count(sk) != 0) return false;
    auto it = values.find({std::u16string(appKey), sk.first, sk.second});
    value = it == values.end() ? std::u16string(defaultValue) : it->second;
    return true;
  }

  bool Write(std::u16string_view appKey, std::u16string_view section, std::u16string_view key,
             std::u16string_view value) override {
    SectionKey sk{std::u16string(section), std::u16string(key)};
    writeLog.push_back(sk);
    if (failAllWrites || failWrites.count(sk) != 0) return false;
    values[{std::u16string(appKey), sk.first, sk.second}] = std::u16string(value);
    return true;
  }
};

}  // namespace dovetam::testing
