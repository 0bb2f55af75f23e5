// The longest name of a file or folder this system allows: NAME_MAX bytes
// (255 on Linux, about 85 Japanese characters), counted as the name is
// written to disk (utf8_codec.h: a byte of a name that is not UTF-8 is one
// byte again).
#pragma once

#include <climits>
#include <cstddef>
#include <string_view>

#include "platform/utf8_codec.h"

namespace dovetam {

inline constexpr std::size_t kNameMaxBytes = NAME_MAX;

inline bool FitsNameLength(std::u16string_view name) {
  return NativeSize(name) <= kNameMaxBytes;
}

}  // namespace dovetam
