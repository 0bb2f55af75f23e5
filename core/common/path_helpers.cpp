#include "core/common/path_helpers.h"

#include "platform/text_case.h"

namespace dovetam {

std::u16string NormalizePath(std::u16string path, int flags) {
  if (flags & 2) {
    if (path.empty() || path.back() != u'/') path += u'/';
  }
  if ((flags & 1) && !path.empty() && path.front() != u'/') {
    const auto pos = path.rfind(u':');
    if (pos != std::u16string::npos) {
      path = UpperText(std::u16string_view(path).substr(0, pos + 1)) + path.substr(pos + 1);
    }
  }
  return path;
}

}  // namespace dovetam
