// A settings store in memory for tests, with failures to inject: every read
// or every write, or those of chosen keys (section + key), or the commit of
// every batch. Reads, writes and batches are logged in order.
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
  bool failCommits = false;          // EndBatch(true) writes nothing and fails
  std::set<SectionKey> failReads;    // {section, key}
  std::set<SectionKey> failWrites;   // {section, key}
  std::vector<SectionKey> readLog;   // every Read, failed ones too
  std::vector<SectionKey> writeLog;  // every Write, failed ones too
  // Per batch: the reads and writes made in it, and whether it was committed.
  struct Batch {
    std::u16string appKey;
    std::size_t reads = 0;
    std::size_t writes = 0;
    bool committed = false;
  };
  std::vector<Batch> batches;
  std::size_t callsOutsideBatches = 0;  // reads and writes made outside any batch

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
    Count(appKey, &Batch::reads);
    if (failAllReads || failReads.count(sk) != 0) return false;
    const Address a{std::u16string(appKey), sk.first, sk.second};
    const std::u16string* found = nullptr;
    if (auto p = pending_.find(a); InBatch(appKey) && p != pending_.end()) found = &p->second;
    if (auto v = values.find(a); found == nullptr && v != values.end()) found = &v->second;
    value = found != nullptr ? *found : std::u16string(defaultValue);
    return true;
  }

  bool Write(std::u16string_view appKey, std::u16string_view section, std::u16string_view key,
             std::u16string_view value) override {
    SectionKey sk{std::u16string(section), std::u16string(key)};
    writeLog.push_back(sk);
    Count(appKey, &Batch::writes);
    if (failAllWrites || failWrites.count(sk) != 0) return false;
    (InBatch(appKey) ? pending_ : values)[{std::u16string(appKey), sk.first, sk.second}] =
        std::u16string(value);
    return true;
  }

  void BeginBatch(std::u16string_view appKey) override {
    batches.push_back({std::u16string(appKey)});
    open_ = true;
    pending_.clear();
  }

  bool EndBatch(bool commit) override {
    open_ = false;
    if (!commit) {
      pending_.clear();
      return true;
    }
    batches.back().committed = true;
    if (!failCommits) {
      for (auto& [a, v] : pending_) values[a] = v;
    }
    pending_.clear();
    return !failCommits;
  }

 private:
  bool InBatch(std::u16string_view appKey) const {
    return open_ && batches.back().appKey == appKey;
  }
  void Count(std::u16string_view appKey, std::size_t Batch::*field) {
    if (InBatch(appKey))
      ++(batches.back().*field);
    else
      ++callsOutsideBatches;
  }

  bool open_ = false;
  std::map<Address, std::u16string> pending_;
};

}  // namespace dovetam::testing
