// Small helpers shared by every part of the program.
#pragma once

#include <string>
#include <utility>

namespace dovetam {

// Flag 2: make the path end in "/" (an empty path becomes "/").
// Flag 1: upper-case a Windows drive prefix ("c:" -> "C:", everything up to
// the last ":"); a path that starts with "/" is left as it is, because ":" is
// an ordinary character in Linux names.
std::u16string NormalizePath(std::u16string path, int flags);

// Exchanges two values of any type.
template <class T>
void SwapVariants(T& a, T& b) {
  using std::swap;
  swap(a, b);
}

}  // namespace dovetam
