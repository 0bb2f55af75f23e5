// A hash table from names to values for the indexes of one operation: the
// names of a folder and the entries on disk, looked up several times per
// target. Keys are exact texts (the callers upper-case them first).
//
// The slots are small (a part of the key's hash and the place of its entry)
// so that the slots of a big folder stay few in pages and in cache: a lookup
// of a name that is not there reads one place in memory, one that is there
// reads its entry as well. Open addressing with linear probing, at most half
// the slots used; deleting shifts the following slots back instead of
// leaving markers, and the freed entry is the next one to be filled (a
// rename frees one name and adds another). Cost: O(1) expected per
// operation plus the length of the key; growing rehashes every key once,
// O(n) amortised over the insertions. A pointer to a value stays valid until
// the next insertion or deletion. Its slots never pass the limit that is set
// (SetLimit): growing past it fails as the allocation would (table_growth.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/table_growth.h"

namespace dovetam {

template <typename Value>
class NameTable {
 public:
  std::size_t size() const { return size_; }
  void SetLimit(std::size_t slots) { limit_ = slots; }
  bool empty() const { return size_ == 0; }

  // Room for n keys without growing.
  void Reserve(std::size_t n) {
    if (2 * n > slots_.size()) Rehash(SlotCountFor(n));
    entries_.reserve(n);
  }

  const Value* Find(std::u16string_view key) const {
    if (size_ == 0) return nullptr;
    const Slot s = slots_[Probe(key, Tag(key))];
    return s.entry == 0 ? nullptr : &entries_[s.entry - 1].value;
  }
  Value* Find(std::u16string_view key) {
    return const_cast<Value*>(std::as_const(*this).Find(key));
  }

  // The value of key, made with Value{} when missing; the flag tells
  // whether it was made.
  std::pair<Value*, bool> Emplace(std::u16string_view key) {
    if (2 * (size_ + 1) > slots_.size()) Rehash(SlotCountFor(size_ + 1));
    const uint32_t tag = Tag(key);
    const std::size_t i = Probe(key, tag);
    if (slots_[i].entry != 0) return {&entries_[slots_[i].entry - 1].value, false};
    uint32_t e;
    if (!free_.empty()) {
      e = free_.back();
      free_.pop_back();
    } else {
      e = static_cast<uint32_t>(entries_.size());
      entries_.emplace_back();
    }
    Entry& entry = entries_[e];
    entry.used = true;
    entry.key.assign(key);
    entry.value = Value{};
    slots_[i] = Slot{tag, e + 1};
    ++size_;
    return {&entry.value, true};
  }

  // Removes key; false when it was not there.
  bool Erase(std::u16string_view key) {
    if (size_ == 0) return false;
    const std::size_t i = Probe(key, Tag(key));
    if (slots_[i].entry == 0) return false;
    Entry& entry = entries_[slots_[i].entry - 1];
    entry.used = false;
    entry.key.clear();
    entry.value = Value{};
    free_.push_back(slots_[i].entry - 1);
    // Shift back every following slot of the probe run that may move into
    // the hole, so that no lookup stops early.
    std::size_t hole = i;
    for (std::size_t j = (i + 1) & Mask();; j = (j + 1) & Mask()) {
      const Slot s = slots_[j];
      if (s.entry == 0) break;
      const std::size_t home = s.tag & Mask();
      // s may fill the hole when its home is not in (hole, j] cyclically.
      const bool between = hole <= j ? (home > hole && home <= j) : (home > hole || home <= j);
      if (between) continue;
      slots_[hole] = s;
      hole = j;
    }
    slots_[hole] = Slot{};
    --size_;
    return true;
  }

  // fn(const std::u16string& key, Value& value) for every key, in no order.
  template <typename Fn>
  void ForEach(Fn&& fn) {
    for (Entry& e : entries_) {
      if (e.used) fn(static_cast<const std::u16string&>(e.key), e.value);
    }
  }
  template <typename Fn>
  void ForEach(Fn&& fn) const {
    for (const Entry& e : entries_) {
      if (e.used) fn(e.key, e.value);
    }
  }

 private:
  // The low half of the key's hash and the place of its entry plus one
  // (0: an empty slot).
  struct Slot {
    uint32_t tag = 0;
    uint32_t entry = 0;
  };
  struct Entry {
    std::u16string key;
    Value value{};
    bool used = false;
  };
  // The low half of the key's hash.
  static uint32_t Tag(std::u16string_view key) {
    return static_cast<uint32_t>(std::hash<std::u16string_view>{}(key));
  }
  static std::size_t SlotCountFor(std::size_t n) {
    std::size_t count = 16;
    while (count < 2 * n) count *= 2;
    return count;
  }
  std::size_t Mask() const { return slots_.size() - 1; }

  // The slot of key, or the empty slot where its probe run ends (there is
  // always one: at most half the slots are used, and there is at least one).
  std::size_t Probe(std::u16string_view key, uint32_t tag) const {
    for (std::size_t i = tag & Mask();; i = (i + 1) & Mask()) {
      const Slot s = slots_[i];
      if (s.entry == 0 || (s.tag == tag && entries_[s.entry - 1].key == key)) return i;
    }
  }

  void Rehash(std::size_t count) {
    AllowGrowth(count, limit_);
    std::vector<Slot> slots(count);
    slots_.swap(slots);
    for (const Slot& s : slots) {
      if (s.entry == 0) continue;
      std::size_t i = s.tag & Mask();
      while (slots_[i].entry != 0) i = (i + 1) & Mask();
      slots_[i] = s;
    }
  }

  std::vector<Slot> slots_;
  std::vector<Entry> entries_;
  std::vector<uint32_t> free_;  // entries not in use, the last freed last
  std::size_t size_ = 0;
  std::size_t limit_ = SIZE_MAX;
};

}  // namespace dovetam
