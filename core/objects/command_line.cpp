// Command-line splitting (see command_line.h).
#include "core/objects/command_line.h"

namespace dovetam {

std::vector<std::u16string> SplitCommandLine(std::u16string_view text) {
  std::vector<std::u16string> paths;
  const std::size_t n = text.size();
  std::size_t p = 0;  // 0-based position
  for (;;) {
    while (p < n && text[p] == u' ') ++p;
    if (p >= n) break;
    std::u16string path;
    bool last = false;
    if (text[p] == u'"') {
      ++p;
      for (;;) {
        if (p >= n) break;
        const std::size_t q = text.find(u'"', p);
        if (q == std::u16string_view::npos) {
          path.append(text.substr(p));
          p = n;
          last = true;
          break;
        }
        if (q + 1 == n) {
          path.append(text.substr(p, q - p));
          p = n;
          last = true;
          break;
        }
        const char16_t next = text[q + 1];
        if (next == u' ') {
          path.append(text.substr(p, q - p));
          p = q + 2;
          break;
        }
        if (next == u'"') {
          path.append(text.substr(p, q - p));
          path.push_back(u'"');
          p = q + 2;
          continue;
        }
        // Any other character: the quote and that character stay.
        path.append(text.substr(p, q + 2 - p));
        p = q + 2;
      }
    } else {
      const std::size_t q = text.find(u' ', p);
      if (q == std::u16string_view::npos) {
        path.assign(text.substr(p));
        p = n;
        last = true;
      } else {
        path.assign(text.substr(p, q - p));
        p = q + 1;
      }
    }
    paths.push_back(std::move(path));
    if (last) break;
  }
  return paths;
}

}  // namespace dovetam
