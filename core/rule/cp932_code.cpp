// Lookups in the generated code page 932 table (see cp932_table.h).
#include <algorithm>

#include "core/rule/cp932_table.h"

namespace dovetam {

int Cp932Code(char16_t c) {
  if (c < 0x80) return c;
  const Cp932Pair* end = kCp932Pairs + kCp932PairCount;
  const Cp932Pair* it =
      std::lower_bound(kCp932Pairs, end, c, [](const Cp932Pair& p, char16_t u) { return p.unit < u; });
  if (it == end || it->unit != c) return -1;
  return it->code;
}

int Cp932ByteLength(char16_t c) { return Cp932Code(c) > 0xFF ? 2 : 1; }

int64_t Cp932TextByteLength(std::u16string_view text) {
  int64_t n = 0;
  for (char16_t c : text) n += Cp932ByteLength(c);
  return n;
}

}  // namespace dovetam
