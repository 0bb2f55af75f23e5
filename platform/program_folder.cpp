// The folder of the running program file, from /proc/self/exe.
#include "platform/program_folder.h"

#include <unistd.h>

#include <vector>

#include "platform/utf8_codec.h"

namespace dovetam {

std::u16string ProgramFolder() {
  std::vector<char> buf(4096);
  for (;;) {
    // The system refuses a path longer than it gives whole (ENAMETOOLONG):
    // the folder is then unknown.
    const ssize_t n = readlink("/proc/self/exe", buf.data(), buf.size());
    if (n < 0) return {};
    if (static_cast<std::size_t>(n) < buf.size()) {
      const std::string path(buf.data(), static_cast<std::size_t>(n));
      const std::size_t slash = path.rfind('/');
      if (path.empty() || path.front() != '/' || slash == std::string::npos) return {};
      return DecodeNative(path.substr(0, slash + 1));
    }
    buf.resize(buf.size() * 2);
  }
}

}  // namespace dovetam
