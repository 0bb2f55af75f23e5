// The one collator of the program: ICU with Japanese rules at secondary
// strength, so that texts differing only in case or width compare equal.
#include "core/objects/name_collator.h"

#include <unicode/coll.h>
#include <unicode/locid.h>
#include <unicode/ucol.h>

#include <memory>
#include <vector>

namespace dovetam {
namespace {

// Created once, on first use (a function's static: made once whichever
// thread comes first); after its set-up it is only read, and ICU's compare
// and sort-key calls are const calls that may run on several threads at
// once, as the sort keys of a big table are made (index_sort.cpp). When ICU
// cannot give one (no data), names compare by code unit.
icu::Collator* Collator() {
  static std::unique_ptr<icu::Collator> collator = [] {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::Collator> c(icu::Collator::createInstance(icu::Locale("ja"), status));
    if (U_FAILURE(status)) return std::unique_ptr<icu::Collator>();
    c->setStrength(icu::Collator::SECONDARY);
    return c;
  }();
  return collator.get();
}

}  // namespace

int CompareNames(std::u16string_view a, std::u16string_view b) {
  icu::Collator* c = Collator();
  if (c == nullptr) return a < b ? -1 : (b < a ? 1 : 0);
  UErrorCode status = U_ZERO_ERROR;
  const UCollationResult r =
      c->compare(a.data(), static_cast<int32_t>(a.size()), b.data(), static_cast<int32_t>(b.size()), status);
  return r == UCOL_LESS ? -1 : (r == UCOL_GREATER ? 1 : 0);
}

std::string NameSortKey(std::u16string_view text) {
  icu::Collator* c = Collator();
  if (c == nullptr) {
    // Big-endian code units keep the code-unit order byte for byte.
    std::string key;
    key.reserve(text.size() * 2);
    for (char16_t u : text) {
      key.push_back(static_cast<char>(u >> 8));
      key.push_back(static_cast<char>(u & 0xFF));
    }
    return key;
  }
  // One buffer for all the keys of a sort.
  static thread_local std::vector<uint8_t> buffer;
  if (buffer.size() < text.size() * 4 + 16) buffer.resize(text.size() * 4 + 16);
  int32_t n = c->getSortKey(text.data(), static_cast<int32_t>(text.size()), buffer.data(),
                            static_cast<int32_t>(buffer.size()));
  if (n > static_cast<int32_t>(buffer.size())) {
    buffer.resize(static_cast<std::size_t>(n));
    n = c->getSortKey(text.data(), static_cast<int32_t>(text.size()), buffer.data(), n);
  }
  // The key ends in a 0 byte; leave it out so that std::string compares it.
  if (n > 0 && buffer[static_cast<std::size_t>(n) - 1] == 0) --n;
  return std::string(reinterpret_cast<const char*>(buffer.data()), static_cast<std::size_t>(n));
}

}  // namespace dovetam
