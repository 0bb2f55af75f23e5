// A set of offsets into a text, each standing for the key the text holds at
// that place, found by the key's hash: an index over a text that keeps no key
// of its own. The caller hashes and compares the keys: `same(offset)` tells
// whether the key at offset is the one sought.
//
// It is made for a number of offsets known beforehand and never grows: open
// addressing with linear probing over 4-byte slots, at most three quarters
// full, so it costs at most 5.4 bytes per offset it has room for. Each slot
// holds its offset and, in the bits the offset does not need, bits of the
// key's hash, so most slots passed over are told apart without reading the
// text (as many bits as the largest offset leaves: 8 for offsets into 8 MiB).
// Adding and finding cost one hash and, on average, a few slots read.
#pragma once

#include <bit>
#include <cstdint>
#include <vector>

namespace dovetam {

class OffsetTable {
 public:
  static constexpr std::uint32_t kNone = UINT32_MAX;

  // Empties the table and makes room for `most` offsets, each below `limit`
  // (at most kNone - 1).
  void Reserve(std::size_t most, std::uint32_t limit) {
    offsetBits_ = std::bit_width(limit);
    slots_.assign(most + most / 3 + 1, 0);  // always one slot left empty
  }

  // The bits of hash that a slot keeps beside an offset below limit. Keys
  // whose tags are equal are told apart only by `same` (tests choose keys
  // that collide with it).
  static std::uint32_t TagOf(std::uint64_t hash, std::uint32_t limit) {
    return static_cast<std::uint32_t>(hash) & ~MaskOf(std::bit_width(limit));
  }

  // The offset held for the key that `same` accepts, or kNone.
  template <typename Same>
  std::uint32_t Find(std::uint64_t hash, Same same) const {
    if (slots_.empty()) return kNone;
    const std::uint32_t tag = Tag(hash);
    for (std::size_t i = Home(hash);; i = Next(i)) {
      const std::uint32_t held = slots_[i];
      if (held == 0) return kNone;
      if ((held & ~OffsetMask()) == tag && same(OffsetOf(held))) return OffsetOf(held);
    }
  }

  // Adds offset for its key unless an offset for the same key is held
  // already (the first one added stays); returns the offset held. At most
  // `most` offsets are added.
  template <typename Same>
  std::uint32_t AddFirst(std::uint64_t hash, std::uint32_t offset, Same same) {
    const std::uint32_t tag = Tag(hash);
    for (std::size_t i = Home(hash);; i = Next(i)) {
      const std::uint32_t held = slots_[i];
      if (held == 0) {
        slots_[i] = tag | (offset + 1);
        return offset;
      }
      if ((held & ~OffsetMask()) == tag && same(OffsetOf(held))) return OffsetOf(held);
    }
  }

 private:
  static std::uint32_t MaskOf(int offsetBits) {
    return static_cast<std::uint32_t>((std::uint64_t{1} << offsetBits) - 1);
  }
  std::uint32_t OffsetMask() const { return MaskOf(offsetBits_); }
  std::uint32_t OffsetOf(std::uint32_t held) const { return (held & OffsetMask()) - 1; }
  // The high half of the hash chooses the slot, the low half gives the tag.
  std::size_t Home(std::uint64_t hash) const {
    return static_cast<std::size_t>(((hash >> 32) * slots_.size()) >> 32);
  }
  std::uint32_t Tag(std::uint64_t hash) const {
    return static_cast<std::uint32_t>(hash) & ~OffsetMask();
  }
  std::size_t Next(std::size_t i) const { return i + 1 == slots_.size() ? 0 : i + 1; }

  std::vector<std::uint32_t> slots_;  // tag bits | offset + 1; 0 for an empty slot
  int offsetBits_ = 32;
};

}  // namespace dovetam
